// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Storyboards on disk for tests: the sheet with its pictures in their cells, the palette
// file, the quantisation palette and the description, each written on its own (not as
// the writers under test write them), and a byte-for-byte record of a folder.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "core/bitmap.h"
#include "support/flc_builder.h"

namespace qv::test {

struct StoryboardFixture {
    int width = 6;
    int height = 4;
    int framesPerDirection = 3;
    int directions = 2;
    int depth = 8;  // the sheet's bits per pixel: 8 or 24
    int imageType = kFormatPcx;
    int paletteType = 0;  // Adobe Color Table
    int speed = 100;
    int leftOffset = 0, topOffset = 0;
    // A record that claims other counts than the sheet holds (0: the real ones).
    int claimedDirections = 0;
    Palette256 palette = testPalette();
    std::function<Picture(int direction, int n)> picture;  // default: testPicture (0-based d)
    bool paletteFiles = true;  // write the palette and the quantisation palette files
};

// The pictures of `layout`, frame d x F + j being picture j of direction d.
std::vector<Picture> storyboardPictures(const StoryboardFixture& layout);
// Writes the storyboard whose description is `qsbPath`; false when any file fails.
bool writeStoryboard(const std::string& qsbPath, const StoryboardFixture& layout);

// Every file of a folder (not its subfolders) by name, with its bytes.
std::map<std::string, Bytes> folderSnapshot(const std::filesystem::path& dir);

// A description file's whole record in one line, to compare every field at once ("" when
// it cannot be read): "Unit: sheet 25x9, cells 5x3, 2 x 4, speed 120, offset 7,9, image 1,
// palette 0, leader 0" (directions x frames per direction).
std::string storyboardSummary(const std::string& qsbPath);

}  // namespace qv::test
