// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli new-storyboard`: an empty gridded storyboard as the New Storyboard command
// makes it, with the new-storyboard wizard's defaults for every setting not given.
#include "cli/cli_common.h"
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
    "--smoke builtin or --smoke PALETTE sets the sheet's colours 224..255.";

int runNewStoryboard(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kHelp));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("The sheet to write, SHEET.pcx or SHEET.bmp (Default.pcx)."),
                      QStringLiteral("SHEET")});
    parser.addOption({QStringLiteral("leader-head"), QStringLiteral("Make a leader-head storyboard.")});
    parser.addOption({QStringLiteral("frame"), QStringLiteral("The frame size, 1..240 each."), QStringLiteral("WxH")});
    parser.addOption({QStringLiteral("offset"), QStringLiteral("Left and top offsets, 0..239."),
                      QStringLiteral("LEFT,TOP")});
    parser.addOption({QStringLiteral("frames-per-direction"), QStringLiteral("Columns of the sheet, 1..255 (15)."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("directions"), QStringLiteral("Rows of the sheet, 1..8."), QStringLiteral("D")});
    parser.addOption({QStringLiteral("civ"), QStringLiteral("Civilization colours 0..63 of a unit: 0 none, 1..32."),
                      QStringLiteral("N")});
    addCivSourceOption(parser);
    parser.addOption({QStringLiteral("palette"), QStringLiteral("Take the palette from this palette file."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("delay"), QStringLiteral("Frame delay in ms (125)."), QStringLiteral("MS")});
    parser.addOption({QStringLiteral("depth"), QStringLiteral("Sheet depth: 8 (default) or 24 bits."),
                      QStringLiteral("BITS")});
    parser.addOption({QStringLiteral("palette-type"),
                      QStringLiteral("Palette files to write: act (default), riff or jasc."),
                      QStringLiteral("TYPE")});
    parser.addOption({QStringLiteral("smoke"),
                      QStringLiteral("Smoke and shadow colours 224..255: keep (default), builtin, or a palette file."),
                      QStringLiteral("SOURCE")});
    parser.addOption({QStringLiteral("no-palette-file"),
                      QStringLiteral("Write no palette file (an existing one of the name is deleted).")});
    parser.addOption({QStringLiteral("no-default-palette"), QStringLiteral("Write no NAME_Default palette.")});
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;

    const QString command = args.value(0);
    auto usage = [&](const std::string& message) { return usageError(command, QString::fromUtf8(message.c_str())); };
    auto isSet = [&](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
    auto value = [&](const char* name) { return parser.value(QString::fromLatin1(name)); };

    if (!parser.positionalArguments().isEmpty()) return usage(str::IDS_SB_CLI_NEW_STORYBOARD_USAGE);
    NewStoryboardSettings s = newWizardDefaults(isSet("leader-head"));
    // Without -o the wizard's name "Default" is used, in the current folder, as a PCX.
    const QString target = isSet("output") ? value("output") : QString::fromStdString(s.baseFileName + ".pcx");
    if (!parseSheetTarget(target, s.outputDirectory, s.baseFileName, s.imageFormat))
        return usage(str::IDS_SB_CLI_BAD_SHEET_PATH);
    s.targetPath = storyboardTargetPath(s.outputDirectory, s.baseFileName, s.imageFormat);

    std::vector<int> offset;
    if (isSet("frame") && !parseSize(value("frame"), 1, kMaxFrameSide, s.frameWidth, s.frameHeight))
        return usage(formatMessage(str::IDS_SB_CLI_BAD_FRAME, {kMaxFrameSide}));
    if (isSet("offset")) {
        if (!parseIntList(value("offset"), 2, 0, kUnitArea - 1, offset))
            return usage(formatMessage(str::IDS_SB_CLI_BAD_OFFSET, {kUnitArea - 1}));
        s.leftOffset = offset[0];
        s.topOffset = offset[1];
    }
    if (isSet("frames-per-direction") &&
        !parseBoundedInt(value("frames-per-direction"), 1, kMaxStoryboardCount, s.framesPerDirection))
        return usage(str::IDS_SB_CLI_BAD_FRAMES_PER_DIRECTION);
    if (isSet("directions") && !parseBoundedInt(value("directions"), 1, kDirectionCount, s.directionCount))
        return usage(str::IDS_SB_CLI_BAD_DIRECTIONS);
    if (isSet("civ") && !parseBoundedInt(value("civ"), 0, kCivSchemeCount, s.civPalette))
        return usage(str::IDS_SB_CLI_BAD_CIV);
    if (isSet("palette")) {
        s.usePaletteFile = true;
        s.paletteFilePath = absoluteLocalPath(value("palette"));
    }
    if (isSet("delay") && !parseBoundedInt(value("delay"), 0, 65535, s.frameDelay))
        return usage(str::IDS_SB_CLI_BAD_DELAY);
    if (isSet("depth") && !parseDepth(value("depth"), s.colorDepth)) return usage(str::IDS_SB_CLI_BAD_DEPTH);
    if (isSet("palette-type") && !parsePaletteType(value("palette-type"), s.paletteFileType))
        return usage(str::IDS_SB_CLI_BAD_PALETTE_TYPE);
    if (isSet("smoke") && !parseSmoke(value("smoke"), s.smokeType, s.smokePalettePath))
        return usage(str::IDS_SB_CLI_BAD_SMOKE);
    s.makePaletteFile = !isSet("no-palette-file");
    s.writeDefaultPalette = !isSet("no-default-palette");

    std::vector<std::string> notices;
    const Status done = NewStoryboard(s, civSourcesFromOption(parser), &notices);
    printNotices(notices);
    if (!done) return refuse(done.message);
    return kExitOk;
}

const CommandRegistrar reg("new-storyboard", "new-storyboard [-o SHEET.pcx|SHEET.bmp] [OPTIONS]",
                           "Create an empty storyboard", &runNewStoryboard);

}  // namespace
}  // namespace qv::cli
