// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Registers the commands of the frame and area export (each enabled while the active
// view has an animation loaded) and puts the animation dialog with preview behind Open.
// Info is the views' own command.
#include "app/feature_commands.h"

#include <memory>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "core/strings.h"
#include "dialogs/file_flc_dlg.h"
#include "flc/flc_image.h"
#include "platform/ui/mdi_frame.h"
#include "view/animation_view.h"

namespace qv {

namespace {

bool animationLoaded()
{
    CAnimationView* view = CAnimationView::active();
    return view && view->isLoaded();
}

}  // namespace

void RegisterInfoAndExportCommands()
{
    CEditorApp::RegisterCommand(ID_COPY_TO_CLIPBOARD, [] { CFlcImage().CopyToClipboard(); }, animationLoaded);
    CEditorApp::RegisterCommand(ID_COPY_TO_FILE, [] { CFlcImage().CopyToFile(); }, animationLoaded);
    CEditorApp::RegisterCommand(
        ID_SAVE_FRAME,
        [] {
            if (CAnimationView* view = CAnimationView::active()) CFlcImage().SaveFrameToFile(*view);
        },
        animationLoaded);

    CEditorDocManager::openDialogFactory() = []() -> std::unique_ptr<CFileDialogX> {
        QWidget* owner = CWinApp::instance() ? CWinApp::instance()->mainFrame() : nullptr;
        auto dlg = std::make_unique<CFileFlcDlg>(
            true, QString(), QString(), OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
            QString::fromUtf8(str::IDS_OPEN_FILTER), owner);
        dlg->title = QString::fromUtf8(str::IDS_OPEN_FILE_TITLE);
        return dlg;
    };
}

}  // namespace qv
