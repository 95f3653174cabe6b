// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Importing a picture whose frames are already drawn in the storyboard grid (cells of
// w x h with one-pixel lines between and around them) into a complete storyboard: a new
// sheet with a fresh grid, the palette files and the description.
#pragma once

#include <functional>
#include <string>

#include "core/bitmap.h"
#include "core/result.h"

namespace qv {

// What the import dialog collects besides the source picture. The defaults are the
// dialog's own.
struct ImportStoryboardSettings {
    std::string destinationPath;  // the .qsb file to create
    bool paletteFromFile = false; // otherwise the palette comes from the picture
    std::string palettePath;
    int paletteType = 0;          // palette files to write: 0 Adobe, 1 RIFF, 2 Jasc
    int imageFormat = 0;          // sheet: 0 PCX, anything else BMP
    int colorDepth = 0;           // sheet: 0 8 bits, anything else 24 bits
    int frameWidth = 50;
    int frameHeight = 50;
    int leftOffset = 95;
    int topOffset = 80;
    int delay = 125;
};

// Loads a source picture as the dialog's browse does: fewer than 8 bits per pixel is
// refused with "Color depth must be not less 8 bits.", a file that is neither PCX nor BMP
// with "An invalid image file format.", a picture that cannot be decoded with
// "'%s'\r\nCannot load image file.".
Status loadImportSource(const std::string& path, Bitmap& out);

// The dialog's offset rules: an offset is kept at most 240 minus the frame's size (never
// below 0), and centring puts the frame in the middle of the 240 x 240 unit area.
int limitImportOffset(int offset, int frameSize);
int centredImportOffset(int frameSize);

// The cells a picture of the given size holds: the largest n with (w + 1) n + 1 no larger
// than the picture, across (columns) and down (rows).
int importGridCount(int pictureSize, int frameSize);

// The answer to one of the import's Yes/No questions. Stop ends the import at once with
// nothing written, whatever the question (a caller that cannot ask uses it).
enum class ImportAnswer { Yes, No, Stop };
using ImportQuestion = std::function<ImportAnswer(const std::string& question)>;

// ImportToQSB: checks the frame size against the picture, counts the grid, asks about the
// directions (2..7 become 1, more than 8 become 8) and, for one 200 x 240 cell, whether
// to make a leader head; takes the palette from the file or from the picture (reduced to
// an optimised 256 colours; any other count is refused); then writes the palette file,
// the sheet, the quantisation palette and the description as one unit (StoryboardFileSet:
// on any failure every old file is left as it was). Frames over 240 x 240 are refused.
// A direction question answered No, or any question answered Stop, ends the import with
// an empty message and nothing written.
Status ImportToQSB(const Bitmap& source, const ImportStoryboardSettings& settings, const ImportQuestion& ask);

}  // namespace qv
