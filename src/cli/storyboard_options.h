// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The option parsing that the storyboard-making commands (to-storyboard, new-storyboard,
// import) share: sizes, offsets, palette types, depths, smoke colours, civilization
// and the sheet path.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "cli/command_options.h"
#include "core/civ_palettes.h"
#include "core/result.h"

namespace qv::cli {

// A whole number from `low` to `high`.
bool parseBoundedInt(const QString& text, int low, int high, int& out);
// "A<sep>B" with both parts from `low` to `high`; for sizes the separator is 'x' or 'X'.
bool parseSize(const QString& text, int low, int high, int& width, int& height);
bool parseIntList(const QString& text, int count, int low, int high, std::vector<int>& out);
// "act", "riff", "jasc" as palette type codes 0, 1, 2.
bool parsePaletteType(const QString& text, int& type);
// "8" or "24" as the wizards' colour depth (0 for 8 bits, 1 for 24).
bool parseDepth(const QString& text, int& colorDepth);
// "keep" (0), "builtin" (1) or a palette file (2, with its path).
bool parseSmoke(const QString& text, int& smokeType, std::string& smokePath);

// The sheet named by -o: its folder, its base name and its format (0 PCX, 1 BMP) from a
// ".pcx" or ".bmp" extension in any case. False for any other extension.
bool parseSheetTarget(const QString& text, std::string& outputDirectory, std::string& baseFileName, int& imageFormat);

// Prints messages the program showed along the way (warnings, reasons) to standard error.
void printNotices(const std::vector<std::string>& notices);

// --no-palette-file and --no-default-palette, which both storyboard-making commands take,
// and what they ask for: whether to write NAME.act (or .pal) and NAME_Default.
void addPaletteFileSwitches(CommandOptions& o);
template <class Settings>
void readPaletteFileSwitches(const CommandOptions& o, Settings& s);

// Writes a storyboard at `targetPath` through `write`: the folder is made first when it
// is missing (and removed again when the storyboard is not written), the notices are
// printed, and a failure is refused with its message, or `emptyMessage` when it has none.
int writeStoryboardAt(const std::string& targetPath, const std::function<Status(std::vector<std::string>*)>& write,
                      const std::string& emptyMessage = {});

template <class Settings>
void readPaletteFileSwitches(const CommandOptions& o, Settings& s)
{
    s.makePaletteFile = !o.isSet("no-palette-file");
    s.writeDefaultPalette = !o.isSet("no-default-palette");
}

}  // namespace qv::cli
