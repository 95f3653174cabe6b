// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Each subsystem whose commands are handled outside the views and the application
// object registers them here (through CEditorApp::RegisterCommand). A command that has
// no handler stays disabled in the menus, the toolbar and the panels.
#pragma once

namespace qv {

// Called once by CEditorApp::InitInstance after the document templates are registered.
void RegisterFeatureCommands();

// One registration function per subsystem, each in its own folder.
void RegisterStoryboardCommands();     // src/storyboard/storyboard_commands.cpp
void RegisterWizardCommands();         // src/storyboard/wizard_commands.cpp
void RegisterPaletteToolCommands();    // src/palette/palette_commands.cpp
void RegisterBulkOpenCommands();       // src/app/bulk_open_commands.cpp
void RegisterSoundCommands();          // src/view/sound_commands.cpp
void RegisterInfoAndExportCommands();  // src/dialogs/export_commands.cpp
void RegisterOptionsAndAboutCommands();  // src/dialogs/options_about_commands.cpp
void RegisterAnimationExportCommands();  // src/dialogs/anim_export_commands.cpp

}  // namespace qv
