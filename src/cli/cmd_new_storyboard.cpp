// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli new-storyboard`: an empty gridded storyboard as the New Storyboard command
// makes it, with the new-storyboard wizard's defaults for every setting not given.
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "cli/storyboard_options.h"
#include "core/storyboard_convert.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Creates an empty storyboard: a PCX or BMP sheet with the grid of cells (one row per\n"
    "direction) in black over the colour of palette entry 255, the palette file (NAME.act\n"
    "or NAME.pal), the quantisation palette (NAME_Default.act or .pal) and the description\n"
    "(NAME.qsb).\n"
    "\n"
    "Defaults are the new-storyboard wizard's: a unit of 8 directions of 15 frames of\n"
    "50 x 50 pixels at offsets 95, 80 with a delay of 125 ms; a leader head (--leader-head)\n"
    "of one direction of 200 x 240 pixels at offsets 0, 0. The palette is black unless\n"
    "--palette gives one; a unit then takes civilization --civ's colours 0..63 (0: none).\n"
    "--smoke builtin or --smoke PALETTE sets the sheet's colours 224..255.\n"
    "\n"
    "A sheet is at most 32767 pixels wide and high: (frame width + 1) x frames per direction\n"
    "+ 1 must stay within that (at most 135 frames of 240 pixels). A missing output folder\n"
    "is created. The files are written as one unit: if any of them cannot be written, every\n"
    "file of an existing storyboard of that name is left as it was.";

int runNewStoryboard(const QStringList& args)
{
    CommandOptions o(kHelp);
    o.add("output", QStringLiteral("The sheet to write, SHEET.pcx or SHEET.bmp (Default.pcx)."), "SHEET");
    o.add("leader-head", QStringLiteral("Make a leader-head storyboard."));
    o.add("frame", QStringLiteral("The frame size, 1..240 each."), "WxH");
    o.add("offset", QStringLiteral("Left and top offsets, 0..239."), "LEFT,TOP");
    o.add("frames-per-direction",
          QStringLiteral("Columns of the sheet, 1..255 (15), and at most 32766 / (frame width + 1): "
                         "a sheet is at most 32767 pixels wide."),
          "N");
    o.add("directions", QStringLiteral("Rows of the sheet, 1..8."), "D");
    o.add("civ", QStringLiteral("Civilization colours 0..63 of a unit: 0 none, 1..32."), "N");
    o.addCivSource();
    o.add("palette", QStringLiteral("Take the palette from this palette file."), "FILE");
    o.add("delay", QStringLiteral("Frame delay in ms (125)."), "MS");
    o.add("depth", QStringLiteral("Sheet depth: 8 (default) or 24 bits."), "BITS");
    o.add("palette-type", QStringLiteral("Palette files to write: act (default), riff or jasc."), "TYPE");
    o.add("smoke", QStringLiteral("Smoke and shadow colours 224..255: keep (default), builtin, or a palette file."),
          "SOURCE");
    addPaletteFileSwitches(o);
    int status = kExitOk;
    if (!o.parse(args, status)) return status;

    if (!o.positional().isEmpty()) return o.usage(str::IDS_SB_CLI_NEW_STORYBOARD_USAGE);
    NewStoryboardSettings s = newWizardDefaults(o.isSet("leader-head"));
    // Without -o the wizard's name "Default" is used, in the current folder, as a PCX.
    const QString target = o.isSet("output") ? o.value("output") : QString::fromStdString(s.baseFileName + ".pcx");
    if (!parseSheetTarget(target, s.outputDirectory, s.baseFileName, s.imageFormat))
        return o.usage(str::IDS_SB_CLI_BAD_SHEET_PATH);
    s.targetPath = storyboardTargetPath(s.outputDirectory, s.baseFileName, s.imageFormat);

    std::vector<int> offset;
    if (o.isSet("frame") && !parseSize(o.value("frame"), 1, kMaxFrameSide, s.frameWidth, s.frameHeight))
        return o.usage(formatMessage(str::IDS_SB_CLI_BAD_FRAME, {kMaxFrameSide}));
    if (o.isSet("offset")) {
        if (!parseIntList(o.value("offset"), 2, 0, kUnitArea - 1, offset))
            return o.usage(formatMessage(str::IDS_SB_CLI_BAD_OFFSET, {kUnitArea - 1}));
        s.leftOffset = offset[0];
        s.topOffset = offset[1];
    }
    if (o.isSet("frames-per-direction") &&
        !parseBoundedInt(o.value("frames-per-direction"), 1, kMaxStoryboardCount, s.framesPerDirection))
        return o.usage(str::IDS_SB_CLI_BAD_FRAMES_PER_DIRECTION);
    if (o.isSet("directions") && !parseBoundedInt(o.value("directions"), 1, kDirectionCount, s.directionCount))
        return o.usage(str::IDS_SB_CLI_BAD_DIRECTIONS);
    if (o.isSet("civ") && !parseBoundedInt(o.value("civ"), 0, kCivSchemeCount, s.civPalette))
        return o.usage(str::IDS_SB_CLI_BAD_CIV);
    if (o.isSet("palette")) {
        s.usePaletteFile = true;
        s.paletteFilePath = o.path("palette");
    }
    if (o.isSet("delay") && !parseBoundedInt(o.value("delay"), 0, 65535, s.frameDelay))
        return o.usage(str::IDS_SB_CLI_BAD_DELAY);
    if (o.isSet("depth") && !parseDepth(o.value("depth"), s.colorDepth)) return o.usage(str::IDS_SB_CLI_BAD_DEPTH);
    if (o.isSet("palette-type") && !parsePaletteType(o.value("palette-type"), s.paletteFileType))
        return o.usage(str::IDS_SB_CLI_BAD_PALETTE_TYPE);
    if (o.isSet("smoke") && !parseSmoke(o.value("smoke"), s.smokeType, s.smokePalettePath))
        return o.usage(str::IDS_SB_CLI_BAD_SMOKE);
    readPaletteFileSwitches(o, s);

    return writeStoryboardAt(s.targetPath,
                             [&](std::vector<std::string>* notices) { return NewStoryboard(s, o.civSources(), notices); });
}

const CommandRegistrar reg("new-storyboard", "new-storyboard [-o SHEET.pcx|SHEET.bmp] [OPTIONS]",
                           "Create an empty storyboard", &runNewStoryboard);

}  // namespace
}  // namespace qv::cli
