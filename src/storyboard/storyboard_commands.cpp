// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Registers the commands of the storyboard documents that the main frame handles: Import
// to Storyboard. (Save, Save As, Change Offset, Info and Export to FLC of a storyboard are
// commands of its view.)
#include <exception>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/feature_commands.h"
#include "app/main_frame.h"
#include "core/strings.h"
#include "platform/ui/services.h"
#include "storyboard/import_to_qsb.h"

namespace qv {

void RegisterStoryboardCommands()
{
    CEditorApp::RegisterCommand(ID_IMPORT_TO_STORYBOARD, [] {
        try {
            CEditorApp* app = theApp();
            RunImportToStoryboard(app ? app->mainWindow() : nullptr);
        } catch (const std::exception&) {
            AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CImportToQSB::ImportToQSB"}), MB_ICONSTOP);
        }
    });
}

}  // namespace qv
