// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Registers the commands of the Options dialog and the About box.
#include <new>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/feature_commands.h"
#include "app/main_frame.h"
#include "core/strings.h"
#include "dialogs/about_dlg.h"
#include "dialogs/options_dlg.h"
#include "platform/ui/services.h"

namespace qv {

void RegisterOptionsAndAboutCommands()
{
    CEditorApp::RegisterCommand(ID_OPTIONS, [] {
        try {
            CMainFrame* frame = CEditorApp::instance() ? CEditorApp::instance()->mainWindow() : nullptr;
            if (!frame) return;
            // The dialog shows the bars as they are now.
            frame->SaveSettings();
            COptionsDlg dlg(frame);
            dlg.DoModal();
        } catch (...) {
            AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CMainFrame::OnOptions"}), MB_ICONERROR);
        }
    });
    CEditorApp::RegisterCommand(ID_APP_ABOUT, [] {
        try {
            CEditorApp* app = CEditorApp::instance();
            CAboutDlg dlg(app ? app->mainWindow() : nullptr);
            dlg.DoModal();
        } catch (const std::bad_alloc&) {
            AfxMessageBox(formatMessage(str::IDS_NOT_ENOUGH_MEMORY, {"CEditorApp::OnAppAbout"}), MB_ICONERROR);
        } catch (...) {
            AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CEditorApp::OnAppAbout"}), MB_ICONERROR);
        }
    });
}

}  // namespace qv
