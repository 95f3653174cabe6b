// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The animation view's sound: choosing a WAV or AMB file, reading AMB files, and playing
// the sound list through the sound player.
#include <QDir>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <new>

#include "core/file_io.h"
#include "core/sound_files.h"
#include "core/strings.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"
#include "platform/ui/win_app.h"
#include "view/animation_view.h"
#include "view/information_dlg.h"
#include "view/sound_player.h"

namespace qv {

namespace {

const QString kDlgWav = QStringLiteral("Dlg Wav");
const QString kFilter = QStringLiteral("Filter");
const QString kLastOpend = QStringLiteral("Last Opend");

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The length of the WAV file at `path` in milliseconds; false when its header is refused.
bool wavDuration(const QString& path, uint64_t& ms, std::string& message)
{
    Bytes bytes;
    WavInfo info;
    const std::string p = path.toStdString();
    if (!readWholeFile(localPath(path), bytes, kMaxWavFileSize)) {
        message = formatMessage(str::IDS_WAV_NOT_VALID, {p});
        return false;
    }
    const Status st = readWavInfo(p, bytes.data(), bytes.size(), info);
    message = st.message;
    ms = info.durationMs();
    return st.ok;
}

void reportFailure(const char* function)
{
    AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {function}), MB_ICONERROR);
}

}  // namespace

bool CAnimationView::isSoundAllowed() const { return playback_.loaded() && !leaderHead_; }

bool CAnimationView::canPlaySound() const { return soundPlayer().hasOutput(); }

bool CAnimationView::ReadAmb(const QString& path, QStringList& list, bool quiet)
{
    list.clear();
    if (!uIsFileExist(path) || uGetFileExt(path).compare(QLatin1String("amb"), Qt::CaseInsensitive) != 0) return false;
    Bytes bytes;
    std::vector<std::string> names;
    Status st;
    if (!readWholeFile(localPath(path), bytes, kMaxAmbFileSize))
        st = Status::failure(formatMessage(str::IDS_AMB_NOT_VALID, {path.toStdString()}));
    else
        st = readAmbWavNames(path.toStdString(), bytes.data(), bytes.size(), names);
    if (!st) {
        if (!quiet) AfxMessageBox(st.message, MB_ICONSTOP);
        return false;
    }
    QString folder = GetFolder(path);
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QDir::separator())) folder += QLatin1Char('/');
    for (const std::string& name : names) list << folder + QString::fromLocal8Bit(name.c_str()) + QStringLiteral(".wav");
    return !list.isEmpty();
}

void CAnimationView::chooseSoundFile()
{
    try {
        QWidget* owner = CWinApp::instance() ? CWinApp::instance()->mainFrame() : nullptr;
        CFileDialogX dlg(true, QString(), QString(), OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                         QString::fromUtf8(str::IDS_SOUND_FILTER), owner);
        dlg.title = QString::fromUtf8(str::IDS_SOUND_SELECT_TITLE);
        dlg.filterIndex = GetProfileInt(kDlgWav, kFilter, 1);
        const QString last = GetProfileString(kDlgWav, kLastOpend);
        if (uIsFileExist(last)) dlg.initialPath = last;
        if (dlg.DoModal() != IDOK) return;
        const QString path = dlg.GetPathName();
        WriteProfileString(kDlgWav, kLastOpend, path);
        WriteProfileInt(kDlgWav, kFilter, dlg.filterIndex);
        SetSoundFile(path);
    } catch (const std::bad_alloc&) {
        reportFailure("CAnimationView::OnSoundFile");
    } catch (const std::exception&) {
        reportFailure("CAnimationView::OnSoundFile");
    }
}

bool CAnimationView::SetSoundFile(const QString& path)
{
    const bool amb = uGetFileExt(path).compare(QLatin1String("amb"), Qt::CaseInsensitive) == 0;
    if (!amb) {
        uint64_t ms = 0;
        std::string message;
        if (!wavDuration(path, ms, message)) {
            AfxMessageBox(message, MB_ICONSTOP);
            return false;
        }
    }
    stopSound();
    soundFile_ = path;
    soundList_.clear();
    if (!amb) {
        soundList_ << path;
    } else if (ReadAmb(path, soundList_, false)) {
        QString entries;
        for (const QString& wav : soundList_) entries += wav + QStringLiteral("\r\n");
        CInformationDlg info(QString::fromUtf8(str::IDS_AMB_CHECK_TITLE), CInformationDlg::kInformation,
                             QString::fromUtf8(str::IDS_AMB_VALID),
                             uFormatString(str::IDS_AMB_CONTENT, {path.toStdString(), entries.toStdString()}),
                             CWinApp::instance() ? CWinApp::instance()->mainFrame() : nullptr);
        info.exec();
    }
    notifyControlChanged(kSound);
    RequestRedraw();
    return true;
}

void CAnimationView::clearSoundFile()
{
    soundFile_.clear();
    stopSound();
    notifyControlChanged(kSound);
    RequestRedraw();
}

void CAnimationView::playSound()
{
    stopSound();
    if (soundFile_.isEmpty() || soundList_.isEmpty()) return;
    ISoundPlayer& player = soundPlayer();
    if (!player.hasOutput()) return;  // "Pl&ay" is disabled and says why
    if (soundList_.size() == 1) {
        const IControlPanels* panels = controlPanels();
        player.play(soundList_.front(), panels && panels->isAutoplayChecked());
        return;
    }
    // Several files: one after the other, each when the one before has ended.
    soundSequence_ = soundList_;
    playingList_ = true;
    notifyControlChanged(kSound);
    SoundSequenceStep();
}

void CAnimationView::SoundSequenceStep()
{
    while (!soundSequence_.isEmpty()) {
        const QString next = soundSequence_.takeFirst();
        uint64_t ms = 0;
        std::string message;
        // A file that cannot be played is skipped without a message, as the system does.
        if (!wavDuration(next, ms, message)) continue;
        soundPlayer().play(next, false);
        if (!soundTimer_) {
            soundTimer_ = std::make_unique<QTimer>();
            soundTimer_->setSingleShot(true);
            QObject::connect(soundTimer_.get(), &QTimer::timeout, this, [this] { SoundSequenceStep(); });
        }
        soundTimer_->start(static_cast<int>(std::min<uint64_t>(ms, 24ull * 3600 * 1000)));
        return;
    }
    if (playingList_) {
        playingList_ = false;
        notifyControlChanged(kSound);
    }
}

void CAnimationView::stopSound()
{
    soundPlayer().stop();
    if (soundTimer_) soundTimer_->stop();
    soundSequence_.clear();
    if (playingList_) {
        playingList_ = false;
        notifyControlChanged(kSound);
    }
}

}  // namespace qv
