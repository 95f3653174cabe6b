// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "flc/flc_view.h"

#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <exception>
#include <filesystem>
#include <new>
#include <system_error>

#include "app/command_ids.h"
#include "core/file_io.h"
#include "core/flc_patcher.h"
#include "core/flc_reader.h"
#include "core/strings.h"
#include "dialogs/file_flc_dlg.h"
#include "dialogs/flc_info_dlg.h"
#include "flc/flc_doc.h"
#include "flc/flc_preload.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/utils.h"
#include "platform/ui/win_app.h"

namespace qv {

namespace {

// A file whose read-only attribute is set (no write permission for anyone) is refused
// as a copy target even where the user's rights would let a write through.
bool isReadOnlyFile(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(fs::path(path), ec);
    if (ec || !fs::exists(st)) return false;
    const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (st.permissions() & writable) == fs::perms::none;
}

// Copies `from` over `to` in one step: `to` is either the old file or the whole new one.
bool copyFileOver(const std::string& from, const std::string& to)
{
    if (isReadOnlyFile(to)) return false;
    Bytes bytes;
    if (!readWholeFile(from, bytes)) return false;
    return writeFileAtomic(to, bytes);
}

void removeFile(const QString& path)
{
    if (!path.isEmpty()) QFile::remove(path);
}

}  // namespace

CFlcView::CFlcView(QWidget* parent) : CAnimationView(parent) {}

CFlcView::~CFlcView() { CFlcView::UnloadAnimation(); }

CFlcDoc* CFlcView::GetFlcDocument() const { return qobject_cast<CFlcDoc*>(GetDocument()); }

void CFlcView::UnloadAnimation()
{
    CAnimationView::UnloadAnimation();
    paletteChunkPositions_.clear();
    frameRecords_.clear();
}

bool CFlcView::LoadAnimation(const QString& path, bool)
{
    UnloadAnimation();
    if (path.isEmpty()) return false;
    if (!CreateDevice()) return false;
    try {
        FlcLoadResult result;
        Status preloaded;
        if (takePreloadedAnimation(path, preloaded, result)) {
            if (!preloaded) return false;
        } else if (!loadFlcAnimation(path.toStdString(), result)) {
            return false;
        }
        FlcFrameStore& store = result.store;

        header_ = store.header;
        basePalette_ = store.basePalette;
        displayPalette_ = basePalette_;
        UpdateColorKey();
        if (!BuildFrames(std::move(store.frames), header_.width, header_.height)) return false;
        frameRecords_ = std::move(store.records);
        paletteChunkPositions_ = std::move(store.paletteChunkPositions);

        if (store.missingFrames > 0) {
            // A damaged or cut file: the frames read are shown; the status bar keeps the
            // note after the message is gone.
            const std::string note = formatMessage(
                str::IDS_STATUS_FRAMES_NOT_READ,
                {QFileInfo(path).fileName().toStdString(), int(store.missingFrames), int(result.expectedFrames)});
            if (CWinApp* app = CWinApp::instance())
                if (CNewMDIFrameWnd* frame = app->mainFrame())
                    frame->statusBar()->showMessage(QString::fromStdString(note));
        }
        if (!result.warning.empty()) AfxMessageBox(result.warning, MB_OK);
        loadedPath_ = path;

        if (result.leaderHead) {
            // A plain FLC: one direction, no background picture, drawn over black.
            fillColor_ = 0;
            leaderHead_ = true;
            ResizeViewWindow(header_.width + 2, header_.height + 4);
        } else {
            RestoreBackground();
            leaderHead_ = false;
            if (!alphaBlend_) fillColor_ = toFillColor(defaultColor_);
            ResizeViewWindow(242, 244);
        }
        SetAnimationProperties(static_cast<uint8_t>(header_.directions), header_.framesPerDirection, header_.speed,
                               header_.width, header_.height, header_.leftOffset, header_.topOffset);
        return true;
    } catch (const std::bad_alloc&) {
        AfxMessageBox(formatMessage(str::IDS_NOT_ENOUGH_MEMORY, {"CFlcView::LoadAnimation"}), MB_ICONERROR);
        UnloadAnimation();
        return false;
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CFlcView::LoadAnimation"}), MB_ICONERROR);
        UnloadAnimation();
        return false;
    }
}

void CFlcView::RefreshAnimation()
{
    if (playback_.loaded()) OnInitialUpdate();
}

void CFlcView::ShowFileInfo()
{
    if (!playback_.loaded()) return;
    try {
        CFlcInfoDlg dlg(loadedPath_, header_, frameRecords_, this);
        dlg.exec();
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CFlcView::OnInfo"}), MB_ICONERROR);
    }
}

bool CFlcView::SaveFLC(const QString& target)
{
    if (paletteChunkPositions_.empty()) return false;
    QString tmp;
    try {
        tmp = uGetTempFileName(QStringLiteral("flc"));
        if (tmp.isEmpty()) return false;
        Bytes original;
        if (!readWholeFile(loadedPath_.toStdString(), original, kMaxFlcFileSize)) {
            removeFile(tmp);
            return false;
        }

        // A unit animation played at the custom delay keeps that delay as its speed.
        header_ = headerForSave(header_, leaderHead_, playback_.delayMode() == kDelayCustom, playback_.customDelay(),
                                playback_.framesPerDirection());
        Bytes patched;
        // The file's own palette: a civilization scheme chosen for the display is a preview.
        if (patchFlcBytes(original.data(), original.size(), header_, basePalette_, paletteChunkPositions_, patched) !=
            FlcPatchError::None) {
            removeFile(tmp);
            return false;
        }
        if (!writeFileAtomic(tmp.toStdString(), patched)) {
            removeFile(tmp);
            return false;
        }
        if (!copyFileOver(tmp.toStdString(), target.toStdString())) {
            AfxMessageBox(formatMessage(str::IDS_CANNOT_COPY_FROM_TO, {tmp.toStdString(), target.toStdString()}),
                          MB_ICONERROR);
            removeFile(tmp);
            return false;
        }
        removeFile(tmp);
        loadedPath_ = target;
        return true;
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CFlcView::SaveFLC"}), MB_ICONERROR);
        removeFile(tmp);
        return false;
    }
}

bool CFlcView::SaveAnimation()
{
    CDocument* doc = GetDocument();
    if (!playback_.loaded() || !doc) return false;
    // The document writes through SaveFLC and confirms its path.
    return doc->DoFileSave();
}

bool CFlcView::SaveAnimationAs()
{
    CDocument* doc = GetDocument();
    if (!playback_.loaded() || !doc) return false;
    CFileFlcDlg dlg(false, QStringLiteral("flc"), doc->GetTitle(),
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES |
                         OFN_ENABLESIZING | OFN_ENABLETEMPLATE,
                     QString::fromUtf8(str::IDS_FLC_SAVE_FILTER), this);
    dlg.title = QString::fromUtf8(str::IDS_FLC_SAVE_AS_TITLE);
    const QString lastOpened = GetProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend"));
    if (fileExists(doc->GetPathName().toStdString()))
        dlg.initialPath = doc->GetPathName();
    else if (!lastOpened.isEmpty() && fileExists(lastOpened.toStdString()))
        dlg.initialPath = lastOpened;
    if (dlg.DoModal() != IDOK) return false;
    const QString path = dlg.GetPathName();
    if (path.isEmpty() || !SaveFLC(path)) return false;
    doc->SetPathName(path, true);
    WriteProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend"), path);
    doc->SetModifiedFlag(false);
    return true;
}

void CFlcView::ChangeOffset()
{
    if (!playback_.loaded() || leaderHead_) return;
    if (!RunOffsetDialog()) return;
    const uint16_t left = static_cast<uint16_t>(leftOffset_ & 0xFF);
    const uint16_t top = static_cast<uint16_t>(topOffset_ & 0xFF);
    if (left == header_.leftOffset && top == header_.topOffset) return;
    header_.leftOffset = left;
    header_.topOffset = top;
    SetDocumentModified();
}

bool CFlcView::OnCommand(int id)
{
    switch (id) {
        case ID_FILE_SAVE: SaveAnimation(); return true;
        case ID_FILE_SAVE_AS: SaveAnimationAs(); return true;
        case ID_CHANGE_OFFSET: ChangeOffset(); return true;
        default: return CAnimationView::OnCommand(id);
    }
}

bool CFlcView::OnUpdateCommand(int id, CCmdUI& ui)
{
    switch (id) {
        case ID_FILE_SAVE:
        case ID_FILE_SAVE_AS: ui.Enable(playback_.loaded()); return true;
        // A leader head has no unit area to move its frame in.
        case ID_CHANGE_OFFSET: ui.Enable(playback_.loaded() && !leaderHead_); return true;
        default: return CAnimationView::OnUpdateCommand(id, ui);
    }
}

}  // namespace qv
