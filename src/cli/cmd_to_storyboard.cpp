// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli to-storyboard`: an FLC animation exported to a storyboard as the FLC
// view's Export to Storyboard does, with the export wizard's initial values for every
// setting not given.
#include <cstdio>

#include "cli/cli_common.h"
#include "cli/storyboard_options.h"
#include "core/flc_reader.h"
#include "core/storyboard_convert.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Exports an FLC animation to a storyboard: every frame is drawn into its cell of a new\n"
    "PCX or BMP sheet (one row per direction, a one-pixel grid around the cells), and the\n"
    "palette file (NAME.act or NAME.pal), the quantisation palette (NAME_Default.act or .pal)\n"
    "and the description (NAME.qsb) are written beside it. Each frame keeps its palette\n"
    "indices exactly.\n"
    "\n"
    "Settings not given take the export wizard's initial values: the file's frame size,\n"
    "offsets, frames per direction and delay, an Adobe Color Table, the animation's own\n"
    "colours, smoke kept, an 8-bit sheet, both palette files written.\n"
    "\n"
    "A cell larger than the frame gets the picture centred (or scaled with --resize); --trim\n"
    "crops the cell to a rectangle (right and bottom exclusive) and adds its left and top\n"
    "edges to the offsets. With --civ N the palette file carries civilization N's colours in\n"
    "entries 0..63; --view-civ N exports as the view does while it shows civilization N (its\n"
    "colours on the sheet, and the palette file's unless --civ says otherwise). --smoke\n"
    "builtin or --smoke PALETTE replaces the sheet's colours 224..255 of a unit.";

int runToStoryboard(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kHelp));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The FLC animation."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("The sheet to write, SHEET.pcx or SHEET.bmp (default: FILE's folder and name, "
                                     ".pcx)."),
                      QStringLiteral("SHEET")});
    parser.addOption({QStringLiteral("palette-type"),
                      QStringLiteral("Palette files to write: act (default), riff or jasc."),
                      QStringLiteral("TYPE")});
    parser.addOption({QStringLiteral("civ"),
                      QStringLiteral("Civilization colours of the palette file: 0 the animation's own (default), "
                                     "1..32 a scheme."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("view-civ"),
                      QStringLiteral("The civilization the FLC view shows while exporting: its colours 0..63 are "
                                     "on the sheet (default 0, the animation's own)."),
                      QStringLiteral("N")});
    addCivSourceOption(parser);
    parser.addOption({QStringLiteral("frame"), QStringLiteral("The cell size, 1..240 each (default: the frame size)."),
                      QStringLiteral("WxH")});
    parser.addOption({QStringLiteral("resize"), QStringLiteral("Scale the pictures to the cell size.")});
    parser.addOption({QStringLiteral("frames-per-direction"),
                      QStringLiteral("Columns of the sheet, 1..255 (default: the file's)."), QStringLiteral("N")});
    parser.addOption({QStringLiteral("offset"), QStringLiteral("Left and top offsets, 0..240 (default: the file's)."),
                      QStringLiteral("LEFT,TOP")});
    parser.addOption({QStringLiteral("delay"), QStringLiteral("Frame delay in ms (default: the file's)."),
                      QStringLiteral("MS")});
    parser.addOption({QStringLiteral("trim"), QStringLiteral("Crop each cell to this rectangle."),
                      QStringLiteral("LEFT,TOP,RIGHT,BOTTOM")});
    parser.addOption({QStringLiteral("smoke"),
                      QStringLiteral("Smoke and shadow colours 224..255: keep (default), builtin, or a palette file."),
                      QStringLiteral("SOURCE")});
    parser.addOption({QStringLiteral("depth"), QStringLiteral("Sheet depth: 8 (default) or 24 bits."),
                      QStringLiteral("BITS")});
    parser.addOption({QStringLiteral("no-palette-file"),
                      QStringLiteral("Write no palette file (an existing one of the name is deleted).")});
    parser.addOption({QStringLiteral("no-default-palette"), QStringLiteral("Write no NAME_Default palette.")});
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;

    const QString command = args.value(0);
    auto usage = [&](const std::string& message) { return usageError(command, QString::fromUtf8(message.c_str())); };
    auto isSet = [&](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
    auto value = [&](const char* name) { return parser.value(QString::fromLatin1(name)); };

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) return usage(str::IDS_SB_CLI_TO_STORYBOARD_USAGE);
    // Without -o the sheet goes beside the animation under its name, as a PCX.
    const bool outputGiven = isSet("output");
    std::string outputDirectory, baseFileName;
    int imageFormat = 0;
    if (outputGiven && !parseSheetTarget(value("output"), outputDirectory, baseFileName, imageFormat))
        return usage(str::IDS_SB_CLI_BAD_SHEET_PATH);

    // Check every option before the animation is read.
    int paletteType = 0, civ = 0, frameW = 0, frameH = 0, framesPerDirection = 0, delay = 0, colorDepth = 0;
    int smokeType = 0;
    std::string smokePath;
    std::vector<int> offset, trim;
    if (isSet("palette-type") && !parsePaletteType(value("palette-type"), paletteType))
        return usage(str::IDS_SB_CLI_BAD_PALETTE_TYPE);
    if (isSet("civ") && !parseBoundedInt(value("civ"), 0, kCivSchemeCount, civ)) return usage(str::IDS_RENDER_BAD_CIV);
    int viewCiv = 0;
    if (isSet("view-civ") && !parseBoundedInt(value("view-civ"), 0, kCivSchemeCount, viewCiv))
        return usage(str::IDS_SB_CLI_BAD_VIEW_CIV);
    if (isSet("frame") && !parseSize(value("frame"), 1, kMaxFrameSide, frameW, frameH))
        return usage(formatMessage(str::IDS_SB_CLI_BAD_FRAME, {kMaxFrameSide}));
    if (isSet("frames-per-direction") &&
        !parseBoundedInt(value("frames-per-direction"), 1, kMaxStoryboardCount, framesPerDirection))
        return usage(str::IDS_SB_CLI_BAD_FRAMES_PER_DIRECTION);
    if (isSet("offset") && !parseIntList(value("offset"), 2, 0, kUnitArea, offset))
        return usage(formatMessage(str::IDS_SB_CLI_BAD_OFFSET, {kUnitArea}));
    if (isSet("delay") && !parseBoundedInt(value("delay"), 0, 65535, delay)) return usage(str::IDS_SB_CLI_BAD_DELAY);
    if (isSet("trim") && !parseIntList(value("trim"), 4, 0, kMaxFrameSide, trim)) return usage(str::IDS_SB_CLI_BAD_TRIM);
    if (isSet("smoke") && !parseSmoke(value("smoke"), smokeType, smokePath)) return usage(str::IDS_SB_CLI_BAD_SMOKE);
    if (isSet("depth") && !parseDepth(value("depth"), colorDepth)) return usage(str::IDS_SB_CLI_BAD_DEPTH);

    // Load the animation as the FLC view does.
    const std::string input = absoluteLocalPath(positional.first());
    FlcLoadResult loaded;
    if (const int status = loadAnimationOrRefuse(input, loaded); status != kExitOk) return status;

    ExportSource source = exportSourceFrom(loaded);
    const CivPaletteSources civSources = civSourcesFromOption(parser);
    if (viewCiv != 0 && !loaded.leaderHead) {
        if (const Status shown = showCivilization(source, viewCiv, civSources); !shown)
            return refuse(shown.message.empty() ? std::string(str::IDS_CANNOT_GET_CIV_PALETTE) : shown.message);
    }
    ExportStoryboardSettings s = exportWizardDefaults(input, source);
    if (outputGiven) {
        s.outputDirectory = outputDirectory;
        s.baseFileName = baseFileName;
        s.imageFormat = imageFormat;
        s.targetPath = storyboardTargetPath(outputDirectory, baseFileName, imageFormat);
    }
    s.paletteFileType = paletteType;
    s.civPalette = isSet("civ") ? civ : source.shownCivilization;
    if (isSet("frame")) {
        s.frameWidth = frameW;
        s.frameHeight = frameH;
        s.trimRight = frameW;
        s.trimBottom = frameH;
    }
    s.resizeImage = isSet("resize");
    if (isSet("frames-per-direction")) s.framesPerDirection = framesPerDirection;
    if (isSet("offset")) {
        s.leftOffset = offset[0];
        s.topOffset = offset[1];
    }
    if (isSet("delay")) s.frameDelay = delay;
    if (isSet("trim")) {
        // The rectangle must lie inside the cell and hold at least one pixel.
        if (trim[0] >= trim[2] || trim[1] >= trim[3] || trim[2] > s.frameWidth || trim[3] > s.frameHeight)
            return usage(str::IDS_SB_CLI_BAD_TRIM);
        s.trimEnabled = true;
        s.trimLeft = trim[0];
        s.trimTop = trim[1];
        s.trimRight = trim[2];
        s.trimBottom = trim[3];
    }
    s.smokeType = smokeType;
    s.smokePalettePath = smokePath;
    s.colorDepth = colorDepth;
    s.makePaletteFile = !isSet("no-palette-file");
    s.writeDefaultPalette = !isSet("no-default-palette");

    std::vector<std::string> notices;
    const Status done = FlcToStoryboard(source, s, civSources, &notices);
    printNotices(notices);
    if (!done) return refuse(done.message.empty() ? std::string(str::IDS_CANNOT_GET_CIV_PALETTE) : done.message);
    return kExitOk;
}

const CommandRegistrar reg("to-storyboard",
                           "to-storyboard FILE.flc [-o SHEET.pcx|SHEET.bmp] [OPTIONS]",
                           "Export an FLC animation to a storyboard", &runToStoryboard);

}  // namespace
}  // namespace qv::cli
