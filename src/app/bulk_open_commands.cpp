// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Registers the commands of Open INI and Open Multi: the document manager's operations.
#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "app/feature_commands.h"

namespace qv {

void RegisterBulkOpenCommands()
{
    CEditorApp::RegisterCommand(ID_OPEN_INI, [] {
        if (CEditorApp* app = theApp())
            if (CEditorDocManager* docs = app->editorDocManager()) docs->OpenIni();
    });
    CEditorApp::RegisterCommand(ID_OPEN_MULTI, [] {
        if (CEditorApp* app = theApp())
            if (CEditorDocManager* docs = app->editorDocManager()) docs->OpenMulti();
    });
}

}  // namespace qv
