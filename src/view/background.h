// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the animation views share about backgrounds for the whole run: the current custom
// colour that the colour picker starts from (the active view's custom colour, or the one
// picked last), and the folders the built-in data files (Sea.pcx, Land.pcx and the
// Palettes folder of civilization schemes) are looked for and unpacked in.
#pragma once

#include <QStringList>
#include <cstdint>

namespace qv {

// The application's current custom colour (0x00BBGGRR). Setting it also paints the
// main window's toolbar swatch under "Select background color".
uint32_t CurrentCustomColor();
void SetCurrentCustomColor(uint32_t colorRef);

// Where the views find and unpack built-in data files: by default the program's folder,
// then the per-user data folder. Tests point them elsewhere; an empty list restores the
// default.
QStringList viewDataFolders();
void setViewDataFolders(const QStringList& folders);

}  // namespace qv
