// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "storyboard/qsb_view.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/settings.h"
#include "core/palette_files.h"
#include "core/storyboard_document.h"
#include "core/strings.h"
#include "platform/ui/dialog_x.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/std_commands.h"
#include "platform/ui/utils.h"
#include "storyboard/qsb_doc.h"

namespace qv {

namespace {

QString S(const char* text)
{
    return QString::fromUtf8(text);
}

// The palette message of the sheet cutting is shown in a plain box, the others with the
// stop icon.
unsigned cutMessageIcon(const std::string& message)
{
    const std::string paletteText = std::string(str::IDS_CANNOT_LOAD_PALETTE_FILE).substr(std::strlen("'%s'"));
    return message.size() >= paletteText.size() &&
                   message.compare(message.size() - paletteText.size(), paletteText.size(), paletteText) == 0
               ? MB_OK
               : MB_ICONSTOP;
}

// The information dialog: a read-only text with tab stops, and OK.
void showInformation(QWidget* parent, const QString& title, const QString& text)
{
    CDialogX dlg(QStringLiteral("Dlg QsbInfo"), parent);
    dlg.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dlg);
    auto* edit = new QPlainTextEdit(&dlg);
    edit->setReadOnly(true);
    edit->setTabStopDistance(QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('x')) * 8);
    edit->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    edit->setMinimumSize(420, 260);
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dlg);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    layout->addWidget(buttons);
    dlg.exec();
}

}  // namespace

bool openAfterExportSetting()
{
    if (CEditorApp* app = theApp()) return app->openAfterExport();
    return settings::readSetting(settings::kExpOpen) != 0;
}

bool askBeforeOpeningSetting()
{
    if (CEditorApp* app = theApp()) return app->askOnExport();
    return settings::readSetting(settings::kExpAsk) != 0;
}

CQsbView::CQsbView(QWidget* parent) : CAnimationView(parent) {}

CQsbView::~CQsbView() = default;

CQsbDoc* CQsbView::GetQsbDocument() const
{
    return qobject_cast<CQsbDoc*>(GetDocument());
}

bool CQsbView::LoadAnimation(const QString& path, bool)
{
    UnloadAnimation();
    CQsbDoc* doc = GetQsbDocument();
    // Failures without a message of their own get the format message.
    auto fail = [&] {
        UnloadAnimation();
        CAnimationView::ReportLoadFailure(path);
        return false;
    };
    if (path.isEmpty() || !doc || doc->sheet().empty() || !CreateDevice()) return fail();
    try {
        StoryboardFrames cut;
        const Status st = cutStoryboardSheet(path.toStdString(), doc->info(), doc->sheet(), cut);
        if (!st) {
            AfxMessageBox(st.message, cutMessageIcon(st.message));
            return false;
        }
        record_ = cut.info;
        basePalette_ = cut.palette;
        displayPalette_ = basePalette_;
        UpdateColorKey();
        const int w = record_.frameWidth;
        const int h = record_.frameHeight;
        if (!BuildFrames(std::move(cut.frames), w, h)) return fail();
        leaderHead_ = record_.leaderHead != 0;
        header_ = makeEncodedFlcHeader(storyboardFlcParams(record_, leaderHead_, false, 0));
        loadedPath_ = path;
        if (leaderHead_) {
            // A leader head plays without background.
            fillColor_ = 0;
            ResizeViewWindow(w + 2, h + 4);
        } else {
            RestoreBackground();
            ResizeViewWindow(242, 244);
        }
        SetAnimationProperties(record_.directionCount, record_.framesPerDirection, record_.speed, w, h,
                               record_.leftOffset, record_.topOffset);
        return true;
    } catch (const std::exception&) {
        UnloadAnimation();
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CQsbView::LoadAnimation"}), MB_ICONSTOP);
        return false;
    }
}

void CQsbView::RefreshAnimation()
{
    CQsbDoc* doc = GetQsbDocument();
    if (!doc || doc->GetPathName().isEmpty()) return;
    const QString path = doc->GetPathName();
    if (!doc->ReadStoryboard(path)) {
        AfxMessageBox(formatMessage(str::IDS_QSB_RELOAD_FAILED, {path.toStdString()}), MB_ICONSTOP);
        doc->OnCloseDocument();
        return;
    }
    OnInitialUpdate();
}

bool CQsbView::SaveTo(const QString& qsbPath, const QString& sheetSource)
{
    StoryboardInfo rec = record_;
    // A unit played at a delay of the user's keeps that delay as its speed.
    if (!leaderHead_ && playback_.delayMode() == kDelayCustom)
        rec.speed = static_cast<uint16_t>(std::min<uint32_t>(playback_.customDelay(), 0xFFFF));
    try {
        // The palette file, the description and (Save As) the sheet, written as one unit.
        const Status st = SaveStoryboard(qsbPath.toStdString(), rec, displayPalette_, sheetSource.toStdString());
        if (!st) {
            const bool palette = st.message == str::IDS_QSB_CANNOT_WRITE_PALETTE;
            AfxMessageBox(st.message, palette ? MB_OK : MB_ICONSTOP);
            return false;
        }
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CFlcImage::WriteQSB"}), MB_ICONSTOP);
        return false;
    }
    const std::string name = baseNameOf(qsbPath.toStdString());
    std::memset(rec.baseName, 0, sizeof rec.baseName);
    std::memcpy(rec.baseName, name.data(), std::min(name.size(), kMaxStoryboardNameLength));
    record_ = rec;
    return true;
}

bool CQsbView::SaveAnimation()
{
    CQsbDoc* doc = GetQsbDocument();
    if (!playback_.loaded() || !doc) return false;
    const QString path = doc->GetPathName();
    if (!SaveTo(path, QString())) return false;
    doc->AcceptDiskState();
    return doc->DoSave(path);
}

bool CQsbView::SaveAnimationAs()
{
    CQsbDoc* doc = GetQsbDocument();
    if (!playback_.loaded() || !doc) return false;
    CFileDialogX dlg(
        false, QStringLiteral("qsb"), doc->GetTitle(),
        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING,
        S(str::IDS_QSB_SAVE_FILTER), this);
    dlg.title = S(str::IDS_FLC_SAVE_AS_TITLE);
    const QString lastOpened = GetProfileString(settings::kOptions, settings::kLastOpend);
    if (QFileInfo(doc->GetPathName()).absoluteDir().exists())
        dlg.initialPath = doc->GetPathName();
    else if (uIsFileExist(lastOpened))
        dlg.initialPath = lastOpened;
    if (dlg.DoModal() != IDOK) return false;
    QString path = dlg.GetPathName();
    if (path.isEmpty()) return false;
    path = QString::fromStdString(qsbPathFor(path.toStdString()));
    const QString sheet = QString::fromStdString(storyboardSheetPath(doc->GetPathName().toStdString(), record_));
    if (!SaveTo(path, sheet)) return false;
    doc->SetInfo(record_);
    doc->SetPathName(path, true);
    loadedPath_ = path;
    WriteProfileString(settings::kOptions, settings::kLastOpend, path);
    doc->SetModifiedFlag(false);
    doc->AcceptDiskState();
    return true;
}

void CQsbView::ChangeOffset()
{
    if (!playback_.loaded() || leaderHead_) return;
    if (!RunOffsetDialog()) return;
    record_.leftOffset = static_cast<uint8_t>(leftOffset_ & 0xFF);
    record_.topOffset = static_cast<uint8_t>(topOffset_ & 0xFF);
}

QString CQsbView::InfoText() const
{
    const StoryboardInfo& r = record_;
    const std::string qsb = QFileInfo(loadedPath_).fileName().toStdString();
    return QString::fromStdString(formatMessage(
        str::IDS_QSB_INFO,
        {qsb, r.name(), r.imageType == kFormatPcx ? str::IDS_SHEET_TYPE_PCX : str::IDS_SHEET_TYPE_BMP,
         paletteTypeName(r.paletteType), r.totalFrames(), int(r.frameWidth), int(r.frameHeight), int(r.speed),
         int(r.directionCount), int(r.framesPerDirection), int(r.leftOffset), int(r.topOffset)}));
}

void CQsbView::ShowFileInfo()
{
    if (!playback_.loaded()) return;
    showInformation(this, S(str::IDS_QSB_INFO_TITLE), InfoText());
}

bool CQsbView::StoryboardToFlc(const QString& target)
{
    if (!playback_.loaded() || frames_.empty()) return false;
    try {
        // Never write what the reader would refuse: frames over 240 pixels, or a grid that
        // does not fit the sheet.
        const std::string qsbPath = GetDocument() ? GetDocument()->GetPathName().toStdString() : std::string();
        if (const Status fits = checkStoryboardForFlc(qsbPath, record_); !fits) {
            AfxMessageBox(fits.message, MB_ICONSTOP);
            return false;
        }
        std::vector<std::vector<uint8_t>> pictures;
        pictures.reserve(frames_.size());
        for (const AnimFrame& f : frames_) pictures.push_back(f.pixels.toVector());
        const Status st =
            StoryboardFramesToFlc(target.toStdString(), record_, leaderHead_, playback_.delayMode() == kDelayCustom,
                                  playback_.customDelay(), pictures, displayPalette_);
        if (!st) {
            if (!st.message.empty()) AfxMessageBox(st.message, MB_ICONSTOP);
            return false;
        }
        return true;
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CQsbView::StoryboardToFlc"}), MB_ICONSTOP);
        return false;
    }
}

void CQsbView::ExportToFlc()
{
    CDocument* doc = GetDocument();
    if (!playback_.loaded() || !doc) return;
    const QString name = QFileInfo(doc->GetPathName()).completeBaseName();
    CFileDialogX dlg(
        false, QStringLiteral("flc"), name,
        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING,
        S(str::IDS_FLC_SAVE_FILTER), this);
    dlg.title = S(str::IDS_EXPORT_FLC_TITLE);
    const QString lastOpened = GetProfileString(settings::kOptions, settings::kLastOpend);
    if (uIsFileExist(lastOpened)) dlg.initialPath = lastOpened;
    if (dlg.DoModal() != IDOK) return;
    const QString target = dlg.GetPathName();
    if (target.isEmpty() || !StoryboardToFlc(target)) return;
    WriteProfileString(settings::kOptions, settings::kLastOpend, target);
    const std::string qsb = doc->GetPathName().toStdString();
    if (!openAfterExportSetting()) {
        AfxMessageBox(formatMessage(str::IDS_EXPORT_FLC_DONE, {qsb, target.toStdString()}), MB_ICONINFORMATION);
        return;
    }
    if (askBeforeOpeningSetting() &&
        AfxMessageBox(formatMessage(str::IDS_EXPORT_FLC_ASK_OPEN, {qsb, target.toStdString()}),
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (CWinApp* app = CWinApp::instance()) app->OpenDocumentFile(target);
}

bool CQsbView::OnCommand(int id)
{
    switch (id) {
        case ID_FILE_SAVE:
            SaveAnimation();
            return true;
        case ID_FILE_SAVE_AS:
            SaveAnimationAs();
            return true;
        case ID_CHANGE_OFFSET:
            ChangeOffset();
            return true;
        case ID_EXPORT_TO_FLC:
            ExportToFlc();
            return true;
        default:
            return CAnimationView::OnCommand(id);
    }
}

bool CQsbView::OnUpdateCommand(int id, CCmdUI& ui)
{
    switch (id) {
        case ID_FILE_SAVE:
        case ID_FILE_SAVE_AS:
        case ID_CHANGE_OFFSET:
        case ID_EXPORT_TO_FLC:
            ui.Enable(playback_.loaded());
            return true;
        default:
            return CAnimationView::OnUpdateCommand(id, ui);
    }
}

}  // namespace qv
