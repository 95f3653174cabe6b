// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/file_wav_dlg.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSoundEffect>
#include <QUrl>
#include <QVBoxLayout>

#include "core/strings.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

const QString kSection = QStringLiteral("Dlg Wav");

class QtWavPlayer : public IWavPreviewPlayer {
public:
    void play(const QString& path, bool loop) override
    {
        stop();
        effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl::fromLocalFile(path));
        effect_->setLoopCount(loop ? QSoundEffect::Infinite : 1);
        effect_->play();  // a file that cannot be played stays silent
    }
    void stop() override
    {
        if (effect_) effect_->stop();
        effect_.reset();
    }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

ServiceSlot<IWavPreviewPlayer, QtWavPlayer> g_player;

}  // namespace

IWavPreviewPlayer& wavPreviewPlayer() { return g_player.get(); }

void setWavPreviewPlayer(IWavPreviewPlayer* player) { g_player.set(player); }

CFileWavDlg::CFileWavDlg(const QString& filter, QWidget* parent)
    : CPreviewFileDlg(kSection, true, {}, {},
                      OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING |
                          OFN_ENABLETEMPLATE,
                      filter, parent)
{
    nonStop_ = GetProfileInt(kSection, QStringLiteral("Wav NonStop"), 0) != 0;
    filterIndex = GetProfileInt(kSection, QStringLiteral("Filter"), 1);
}

CFileWavDlg::~CFileWavDlg() { wavPreviewPlayer().stop(); }

QWidget* CFileWavDlg::CreateCustomArea(QWidget* parent)
{
    QVBoxLayout* layout = nullptr;
    QWidget* panel = makePreviewPanel(parent, layout);
    nonStopCheck_ = new QCheckBox(QString::fromUtf8(str::IDS_FDLG_NON_STOP), panel);
    nonStopCheck_->setObjectName(QStringLiteral("nonStop"));
    nonStopCheck_->setChecked(nonStop_);
    play_ = new QPushButton(QString::fromUtf8(str::IDS_FDLG_PLAY), panel);
    play_->setObjectName(QStringLiteral("play"));
    stop_ = new QPushButton(QString::fromUtf8(str::IDS_FDLG_STOP), panel);
    stop_->setObjectName(QStringLiteral("stop"));
    auto* row = new QHBoxLayout;
    row->addWidget(play_);
    row->addWidget(stop_);
    layout->addWidget(nonStopCheck_);
    layout->addLayout(row);
    layout->addStretch(1);
    enableButtons(buttons_);
    QObject::connect(nonStopCheck_, &QCheckBox::toggled, panel, [this](bool on) { setNonStop(on); });
    QObject::connect(play_, &QPushButton::clicked, panel, [this] { Play(); });
    QObject::connect(stop_, &QPushButton::clicked, panel, [this] { Stop(); });
    return panel;
}

void CFileWavDlg::enableButtons(bool on)
{
    buttons_ = on;
    if (play_) play_->setEnabled(on);
    if (stop_) stop_->setEnabled(on);
}

void CFileWavDlg::OnFileNameChange(const QString& path)
{
    Stop();
    const QFileInfo fi(path);
    if (fi.isFile() && fi.suffix().compare(QLatin1String("wav"), Qt::CaseInsensitive) == 0) {
        wav_ = path;
        enableButtons(true);
        if (preview_) Play();
    } else {
        if (fi.isFile()) wav_.clear();
        enableButtons(false);
    }
}

void CFileWavDlg::OnFolderChange(const QString&)
{
    enableButtons(false);
    Stop();
}

void CFileWavDlg::previewChanged(bool)
{
    if (preview_)
        Play();
    else
        Stop();
    enableButtons(preview_ && !wav_.isEmpty());
}

void CFileWavDlg::setNonStop(bool on)
{
    nonStop_ = on;
    if (nonStopCheck_ && nonStopCheck_->isChecked() != on) nonStopCheck_->setChecked(on);
    if (!preview_)
        Stop();
    else
        Play();
}

void CFileWavDlg::Play()
{
    Stop();
    if (!wav_.isEmpty()) wavPreviewPlayer().play(wav_, nonStop_);
}

void CFileWavDlg::Stop() { wavPreviewPlayer().stop(); }

void CFileWavDlg::OnDialogEnd(bool)
{
    savePreviewChoice();
    WriteProfileInt(kSection, QStringLiteral("Wav NonStop"), nonStop_ ? 1 : 0);
    WriteProfileInt(kSection, QStringLiteral("Filter"), filterIndex);
    Stop();
}

}  // namespace qv
