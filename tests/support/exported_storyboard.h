// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Storyboards for tests, made by the same core conversion `quorvane-cli to-storyboard`
// runs: an animation of the FLC builder written as an FLC file, loaded, and exported
// with the wizard's defaults in the chosen sheet format, depth and palette type
// (defined in storyboard_builder.cpp beside the other storyboard writers).
#pragma once

#include <filesystem>
#include <string>

#include "support/flc_builder.h"

namespace qv::test {

struct ExportedStoryboardFixture {
    AnimationShape anim;
    int imageFormat = 0;  // 0 PCX, 1 BMP
    int colorDepth = 0;   // 0 8-bit sheet, 1 24-bit
    int paletteType = 0;  // 0 Adobe Color Table, 1 RIFF, 2 Jasc
};

// Writes `name`.flc and the storyboard made from it (`name`.qsb with its sheet and
// palette files) into `dir`; returns the description's path, or "" on failure.
std::string writeExportedStoryboard(const std::filesystem::path& dir, const std::string& name, const ExportedStoryboardFixture& shape);

}  // namespace qv::test
