// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli to-storyboard`: an FLC animation exported to a storyboard as the FLC
// view's Export to Storyboard does, with the export wizard's initial values for every
// setting not given.
#include <cstdio>

#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "cli/storyboard_options.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
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
    "builtin or --smoke PALETTE replaces the sheet's colours 224..255 of a unit.\n"
    "\n"
    "A sheet is at most 32767 pixels wide and high: (cell width + 1) x frames per direction\n"
    "+ 1 must stay within that (at most 135 frames of 240 pixels). A missing output folder\n"
    "is created. The files are written as one unit: if any of them cannot be written, every\n"
    "file of an existing storyboard of that name is left as it was.";

int runToStoryboard(const QStringList& args)
{
    CommandOptions o(kHelp);
    o.addPositional("FILE", QStringLiteral("The FLC animation."));
    o.add("output",
          QStringLiteral("The sheet to write, SHEET.pcx or SHEET.bmp (default: FILE's folder and name, .pcx)."),
          "SHEET");
    o.add("palette-type", QStringLiteral("Palette files to write: act (default), riff or jasc."), "TYPE");
    o.add("civ",
          QStringLiteral("Civilization colours of the palette file: 0 the animation's own (default), 1..32 a scheme."),
          "N");
    o.add("view-civ",
          QStringLiteral("The civilization the FLC view shows while exporting: its colours 0..63 are on the sheet "
                         "(default 0, the animation's own)."),
          "N");
    o.addCivSource();
    o.add("frame", QStringLiteral("The cell size, 1..240 each (default: the frame size)."), "WxH");
    o.add("resize", QStringLiteral("Scale the pictures to the cell size."));
    o.add("frames-per-direction",
          QStringLiteral("Columns of the sheet, 1..255 (default: the file's), and at most 32766 / (cell width + 1): "
                         "a sheet is at most 32767 pixels wide."),
          "N");
    o.add("offset", QStringLiteral("Left and top offsets, 0..240 (default: the file's)."), "LEFT,TOP");
    o.add("delay", QStringLiteral("Frame delay in ms (default: the file's)."), "MS");
    o.add("trim", QStringLiteral("Crop each cell to this rectangle."), "LEFT,TOP,RIGHT,BOTTOM");
    o.add("smoke", QStringLiteral("Smoke and shadow colours 224..255: keep (default), builtin, or a palette file."),
          "SOURCE");
    o.add("depth", QStringLiteral("Sheet depth: 8 (default) or 24 bits."), "BITS");
    addPaletteFileSwitches(o);
    addBatchOptions(o, "Sheets of a batch: pcx (default) or bmp.");
    int status = kExitOk;
    if (!o.parse(args, status)) return status;

    const QStringList positional = o.positional();
    const bool batch = isBatch(o);
    if (positional.size() != 1 && !batch) return o.usage(str::IDS_SB_CLI_TO_STORYBOARD_USAGE);
    // Without -o the sheet goes beside the animation under its name, as a PCX.
    const bool outputGiven = o.isSet("output");
    std::string outputDirectory, baseFileName;
    int imageFormat = 0;
    if (!batch && outputGiven && !parseSheetTarget(o.value("output"), outputDirectory, baseFileName, imageFormat))
        return o.usage(str::IDS_SB_CLI_BAD_SHEET_PATH);

    // Check every option before the animation is read.
    int paletteType = 0, civ = 0, frameW = 0, frameH = 0, framesPerDirection = 0, delay = 0, colorDepth = 0;
    int smokeType = 0;
    std::string smokePath;
    std::vector<int> offset, trim;
    if (o.isSet("palette-type") && !parsePaletteType(o.value("palette-type"), paletteType))
        return o.usage(str::IDS_SB_CLI_BAD_PALETTE_TYPE);
    if (o.isSet("civ") && !parseBoundedInt(o.value("civ"), 0, kCivSchemeCount, civ))
        return o.usage(str::IDS_RENDER_BAD_CIV);
    int viewCiv = 0;
    if (o.isSet("view-civ") && !parseBoundedInt(o.value("view-civ"), 0, kCivSchemeCount, viewCiv))
        return o.usage(str::IDS_SB_CLI_BAD_VIEW_CIV);
    if (o.isSet("frame") && !parseSize(o.value("frame"), 1, kMaxFrameSide, frameW, frameH))
        return o.usage(formatMessage(str::IDS_SB_CLI_BAD_FRAME, {kMaxFrameSide}));
    if (o.isSet("frames-per-direction") &&
        !parseBoundedInt(o.value("frames-per-direction"), 1, kMaxStoryboardCount, framesPerDirection))
        return o.usage(str::IDS_SB_CLI_BAD_FRAMES_PER_DIRECTION);
    if (o.isSet("offset") && !parseIntList(o.value("offset"), 2, 0, kUnitArea, offset))
        return o.usage(formatMessage(str::IDS_SB_CLI_BAD_OFFSET, {kUnitArea}));
    if (o.isSet("delay") && !parseBoundedInt(o.value("delay"), 0, 65535, delay))
        return o.usage(str::IDS_SB_CLI_BAD_DELAY);
    if (o.isSet("trim") && !parseIntList(o.value("trim"), 4, 0, kMaxFrameSide, trim))
        return o.usage(str::IDS_SB_CLI_BAD_TRIM);
    if (o.isSet("smoke") && !parseSmoke(o.value("smoke"), smokeType, smokePath))
        return o.usage(str::IDS_SB_CLI_BAD_SMOKE);
    if (o.isSet("depth") && !parseDepth(o.value("depth"), colorDepth)) return o.usage(str::IDS_SB_CLI_BAD_DEPTH);

    // Everything the conversions read, taken from the options once: in a batch they run
    // on several threads at once and share it read-only.
    const CivPaletteSources civSources = o.civSources();
    const bool civGiven = o.isSet("civ"), frameGiven = o.isSet("frame"), resize = o.isSet("resize");
    const bool framesGiven = o.isSet("frames-per-direction"), offsetGiven = o.isSet("offset");
    const bool delayGiven = o.isSet("delay"), trimGiven = o.isSet("trim");
    const bool writeDefaultPalette = !o.isSet("no-default-palette");

    // One animation to one storyboard: the sheet in `sheetDirectory` named `sheetBaseName`, or
    // beside the animation when no sheet is given.
    auto exportOne = [&](const std::string& input, bool sheetGiven, const std::string& sheetDirectory,
                         const std::string& sheetBaseName, int sheetFormat) -> int {
        // Load the animation as the FLC view does.
        FlcLoadResult loaded;
        if (const int status = loadAnimationOrRefuse(input, loaded); status != kExitOk) return status;

        ExportSource source = exportSourceFrom(loaded);
        if (viewCiv != 0 && !loaded.leaderHead) {
            if (const Status shown = showCivilization(source, viewCiv, civSources); !shown)
                return refuse(shown.message.empty() ? std::string(str::IDS_CANNOT_GET_CIV_PALETTE) : shown.message);
        }
        ExportStoryboardSettings s = exportWizardDefaults(input, source);
        if (sheetGiven) {
            s.outputDirectory = sheetDirectory;
            s.baseFileName = sheetBaseName;
            s.imageFormat = sheetFormat;
            s.targetPath = storyboardTargetPath(sheetDirectory, sheetBaseName, sheetFormat);
        }
        s.paletteFileType = paletteType;
        s.civPalette = civGiven ? civ : source.shownCivilization;
        if (frameGiven) {
            s.frameWidth = frameW;
            s.frameHeight = frameH;
            s.trimRight = frameW;
            s.trimBottom = frameH;
        }
        s.resizeImage = resize;
        if (framesGiven) s.framesPerDirection = framesPerDirection;
        if (offsetGiven) {
            s.leftOffset = offset[0];
            s.topOffset = offset[1];
        }
        if (delayGiven) s.frameDelay = delay;
        if (trimGiven) {
            // The rectangle must lie inside the cell and hold at least one pixel.
            if (trim[0] >= trim[2] || trim[1] >= trim[3] || trim[2] > s.frameWidth || trim[3] > s.frameHeight)
                return o.usage(str::IDS_SB_CLI_BAD_TRIM);
            s.trimEnabled = true;
            s.trimLeft = trim[0];
            s.trimTop = trim[1];
            s.trimRight = trim[2];
            s.trimBottom = trim[3];
        }
        s.smokeType = smokeType;
        s.smokePalettePath = smokePath;
        s.colorDepth = colorDepth;
        readPaletteFileSwitches(o, s);

        return writeStoryboardAt(
            s.targetPath,
            [&](std::vector<std::string>* notices) { return FlcToStoryboard(source, s, civSources, notices); },
            str::IDS_CANNOT_GET_CIV_PALETTE);
    };
    if (!batch)
        return exportOne(absoluteLocalPath(positional.first()), outputGiven, outputDirectory, baseFileName,
                         imageFormat);

    // A batch: NAME.pcx (or .bmp), its palette files and NAME.qsb per animation.
    warmUpBuiltinData(civSources, {civ, viewCiv});
    BatchJob job;
    job.inputExtensions = {"flc"};
    job.formats = {"pcx", "bmp"};
    job.outputExtensions = job.formats;
    job.singleUsage = str::IDS_SB_CLI_TO_STORYBOARD_USAGE;
    job.outputBesideInput = true;
    job.outputs = [&](const std::string& stem, const std::string& format, const std::string&) {
        const std::string sheet = stem + "." + format;
        std::vector<std::string> files{sheet, qsbPathFor(sheet)};
        files.push_back(exportedPalettePath(sheet, paletteType));
        if (writeDefaultPalette) files.push_back(exportedPalettePath(sheet, paletteType, "_Default"));
        return files;
    };
    job.convert = [&](const std::string& input, const std::string& sheet) {
        std::string directory, name;
        int format = 0;
        parseSheetTarget(fromLocal(sheet), directory, name, format);
        return exportOne(input, true, directory, name, format);
    };
    return runBatch(o, job);
}

const CommandRegistrar reg("to-storyboard",
                           "to-storyboard FILE.flc [-o SHEET.pcx|SHEET.bmp] [OPTIONS]",
                           "Export an FLC animation to a storyboard", &runToStoryboard);

}  // namespace
}  // namespace qv::cli
