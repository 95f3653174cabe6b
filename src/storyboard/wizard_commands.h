// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Export to Storyboard (FLC view) and New Storyboard (main frame): each runs its wizard,
// hands the settings to the conversion quorvane-cli runs too, and reports the result.
#pragma once

#include <memory>

#include "storyboard/storyboard_wizard.h"

class QWidget;

namespace qv {

class CFlcView;

// What the export takes from a loaded FLC view: its frame size, directions, offsets, the
// delay it plays at, its palettes and the civilization it shows, and a copy of its frames.
std::shared_ptr<ExportSourceData> exportSourceOf(const CFlcView& view);

// The civilization schemes' places from the current settings.
CivPaletteSources currentCivPaletteSources();

// Export to Storyboard: the wizard, then FlcToStoryboard, then the success message or the
// new storyboard opened (by "Options"/"ExpOpen" and "ExpAsk"). True when written.
bool ExportToStoryboard(CFlcView& view);
// New Storyboard: the wizard, then NewStoryboard and its success message. True when written.
bool CreateNewStoryboard(QWidget* parent);

}  // namespace qv
