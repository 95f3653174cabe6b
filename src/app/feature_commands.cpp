// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/feature_commands.h"

namespace qv {

void RegisterFeatureCommands()
{
    RegisterStoryboardCommands();
    RegisterWizardCommands();
    RegisterPaletteToolCommands();
    RegisterBulkOpenCommands();
    RegisterSoundCommands();
    RegisterInfoAndExportCommands();
    RegisterOptionsAndAboutCommands();
    RegisterAnimationExportCommands();
}

}  // namespace qv
