// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Making storyboards: an FLC animation exported to a storyboard (every frame drawn into
// its cell of a new sheet, with the palette files and the description), and a new empty
// storyboard of a chosen geometry. The settings records are what the two wizards hand
// over; the helpers below give their initial values.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/bitmap.h"
#include "core/civ_palettes.h"
#include "core/flc_format.h"
#include "core/flc_reader.h"
#include "core/result.h"
#include "core/storyboard.h"

namespace qv {

// What the export takes from the animation view it is run on.
struct ExportSource {
    int width = 0;               // the animation's frame size (W0 x H0)
    int height = 0;
    int directions = 0;          // D: rows of the sheet
    int framesPerDirection = 0;  // F0: frames of one direction in the animation
    int leftOffset = 0;
    int topOffset = 0;
    uint32_t delay = 0;          // the delay the view plays at
    bool leaderHead = false;
    const std::vector<FramePixels>* frames = nullptr;  // the stored palette indices, playback order
    Palette256 basePalette;      // the animation's own colours
    Palette256 workingPalette;   // the colours on display (with a civilization's scheme)
    int shownCivilization = 0;   // the civilization the view shows, 0 for its own colours
};

// The view of a freshly loaded animation: its own colours on display, its own delay.
ExportSource exportSourceFrom(const FlcLoadResult& loaded);

// The view showing civilization `civ` (0: its own colours): the working palette becomes
// what the view displays for it. False, with the lookup's message, when the scheme cannot
// be had (the source is then unchanged).
Status showCivilization(ExportSource& source, int civ, const CivPaletteSources& sources);

// Settings of the export wizard.
struct ExportStoryboardSettings {
    std::string targetPath;       // outputDirectory + baseFileName + ".pcx" or ".bmp"
    std::string outputDirectory;  // ends with a separator (or is empty)
    std::string baseFileName;
    int imageFormat = 0;          // 0 PCX, anything else BMP
    int paletteFileType = 0;      // 0 Adobe Color Table, 1 RIFF, 2 Jasc
    int frameWidth = 0;           // the cell wanted
    int frameHeight = 0;
    int leftOffset = 0;
    int topOffset = 0;
    bool resizeImage = false;     // scale the picture to the cell instead of placing it
    int framesPerDirection = 0;   // columns of the sheet
    int civPalette = 0;           // 0 the animation's own colours, 1..32 a civilization
    std::string paletteName;      // how the civilization choice is shown
    int frameDelay = 0;
    bool makePaletteFile = true;  // otherwise an existing palette file of the name is deleted
    int smokeType = 0;            // 0 keep, 1 built-in colours, 2 from smokePalettePath
    std::string smokePalettePath;
    bool trimEnabled = false;
    int trimLeft = 0;             // crop rectangle inside the cell; right and bottom exclusive
    int trimRight = 0;
    int trimTop = 0;
    int trimBottom = 0;
    bool writeDefaultPalette = true;
    int colorDepth = 0;           // 0 an 8-bit sheet, anything else 24-bit
};

// Settings of the new-storyboard wizard.
struct NewStoryboardSettings {
    std::string targetPath;
    std::string outputDirectory;
    std::string baseFileName = "Default";
    int imageFormat = 0;
    int paletteFileType = 0;
    bool leaderHead = false;
    int frameWidth = 50;
    int frameHeight = 50;
    int leftOffset = 95;
    int topOffset = 80;
    int framesPerDirection = 15;
    int directionCount = 8;
    int civPalette = 0;
    std::string paletteName;
    int frameDelay = 125;
    int colorDepth = 0;
    bool makePaletteFile = true;
    int smokeType = 0;
    std::string smokePalettePath;
    bool writeDefaultPalette = true;
    bool usePaletteFile = false;  // take the palette from paletteFilePath
    std::string paletteFilePath;
};

// The export wizard's initial values for an animation read from `flcPath`: its name and
// folder, frame size, frames per direction, offsets and delay, the civilization shown,
// trimming off over the whole cell, PCX, an Adobe Color Table, 8 bits, smoke kept, both
// palette files written.
ExportStoryboardSettings exportWizardDefaults(const std::string& flcPath, const ExportSource& source);

// The new wizard's initial geometry: a leader head is 200 x 240 at offsets 0, 0 with one
// direction; a unit 50 x 50 at 95, 80 with 8 directions and civilization 0.
NewStoryboardSettings newWizardDefaults(bool leaderHead);

// outputDirectory + baseFileName + ".pcx" (imageFormat 0) or ".bmp".
std::string storyboardTargetPath(const std::string& outputDirectory, const std::string& baseFileName,
                                 int imageFormat);

// Frames per direction and directions are kept in one byte of the description.
constexpr int kMaxStoryboardCount = 255;

// A storyboard made in memory: the sheet (8 bits, with the sheet palette), its
// description, and the colours of the palette file and of the quantisation palette.
struct StoryboardSheet {
    Bitmap sheet;
    StoryboardGeometry geometry;
    Palette256 mainPalette;   // what NAME.act / NAME.pal holds
    Palette256 sheetPalette;  // the sheet's own colours, also NAME_Default
};

// The sheets FlcToStoryboard and NewStoryboard write, made without writing anything
// unless `testPath` is given (the sheet file is then created first as a test, so an
// unwritable target fails before any work). `cancel`, when given and set, stops the
// export between two frames with an empty failure. Both are safe to run on a worker
// thread: they read only their arguments and the scheme and palette files.
Status buildExportSheet(const ExportSource& source, const ExportStoryboardSettings& settings,
                        const CivPaletteSources& sources, StoryboardSheet& out,
                        std::vector<std::string>* notices = nullptr, const std::string& testPath = {},
                        const std::atomic<bool>* cancel = nullptr);
Status buildNewSheet(const NewStoryboardSettings& settings, const CivPaletteSources& sources, StoryboardSheet& out,
                     std::vector<std::string>* notices = nullptr, const std::string& testPath = {});

// FlcToStoryboard: draws every frame of `source` into a new sheet and writes the sheet,
// the palette files and the description next to settings.targetPath, as one unit
// (StoryboardFileSet: on any failure every old file is left as it was). A grid whose
// sheet would be over 32767 pixels wide or high is refused before anything is written. Each frame's stored
// palette indices go into its cell unchanged. Civilization schemes are looked up in
// `sources`. Messages shown along the way that do not stop the export (a smoke palette
// file that cannot be read) are added to `notices` when it is given.
Status FlcToStoryboard(const ExportSource& source, const ExportStoryboardSettings& settings,
                       const CivPaletteSources& sources, std::vector<std::string>* notices = nullptr);

// NewStoryboard: an empty gridded sheet with its palette files and description, written
// as one unit like FlcToStoryboard's. When the
// civilization lookup fails, the lookup's own reason goes to `notices` before the
// failure "Cannot apply palette changes.".
Status NewStoryboard(const NewStoryboardSettings& settings, const CivPaletteSources& sources,
                     std::vector<std::string>* notices = nullptr);

}  // namespace qv
