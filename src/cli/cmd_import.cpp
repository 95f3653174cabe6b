// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli import`: a picture drawn in the storyboard grid made into a storyboard, as
// the Import to Storyboard dialog does. The dialog's questions are answered Yes by --yes;
// without it the first question is printed and nothing is written.
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "cli/storyboard_options.h"
#include "core/file_io.h"
#include "core/flc_format.h"
#include "core/import_storyboard.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Imports a PCX or BMP picture whose frames are drawn in the storyboard grid (cells of\n"
    "the --frame size with one-pixel lines between and around them) into a new storyboard:\n"
    "a sheet with a fresh grid (DEST.pcx or DEST.bmp), the palette file, the quantisation\n"
    "palette (DEST_Default) and the description DEST.qsb.\n"
    "\n"
    "The grid takes every full cell of the picture: one row per direction. Two to seven rows\n"
    "become one direction and more than eight become eight, after a question; one 200 x 240\n"
    "cell asks whether to make a leader head. --yes answers every question Yes; without it\n"
    "the question is printed and the command ends with status 1, writing nothing.\n"
    "\n"
    "The palette is the picture's own 256 colours (a true-colour picture is reduced to an\n"
    "optimised palette of 256 colours first) or that of --palette FILE.\n"
    "Defaults are the dialog's: frames of 50 x 50, offsets 95, 80 (an offset is kept at most\n"
    "240 minus the frame size; --center centres the frame in the unit area), a delay of\n"
    "125 ms, an Adobe Color Table, a PCX sheet of 8 bits.";

int runImport(const QStringList& args)
{
    CommandOptions o(kHelp);
    o.addPositional("IMAGE", QStringLiteral("The PCX or BMP picture."));
    o.add("output", QStringLiteral("The storyboard to write, DEST.qsb."), "DEST");
    o.add("frame", QStringLiteral("The frame size of the picture's cells (50x50), at most 240x240."), "WxH");
    o.add("offset", QStringLiteral("Left and top offsets (95,80)."), "LEFT,TOP");
    o.add("center", QStringLiteral("Centre the frame in the 240 x 240 unit area."));
    o.add("delay", QStringLiteral("Frame delay in ms (125)."), "MS");
    o.add("palette", QStringLiteral("Take the palette from this palette file."), "FILE");
    o.add("palette-type", QStringLiteral("Palette files to write: act (default), riff or jasc."), "TYPE");
    o.add("sheet", QStringLiteral("Sheet format: pcx (default) or bmp."), "TYPE");
    o.add("depth", QStringLiteral("Sheet depth: 8 (default) or 24 bits."), "BITS");
    o.add("yes", QStringLiteral("Answer every question Yes."));
    int status = kExitOk;
    if (!o.parse(args, status)) return status;

    const QStringList positional = o.positional();
    if (positional.size() != 1 || o.value("output").isEmpty()) return o.usage(str::IDS_SB_CLI_IMPORT_USAGE);
    ImportStoryboardSettings s;
    s.destinationPath = o.path("output");
    if (!equalsNoCase(fileExtension(s.destinationPath), "qsb")) return o.usage(str::IDS_SB_CLI_BAD_QSB_PATH);
    if (o.isSet("frame") && !parseSize(o.value("frame"), 0, kMaxFrameSide, s.frameWidth, s.frameHeight))
        return o.usage(str::IDS_SB_CLI_BAD_IMPORT_FRAME);
    if (o.isSet("offset") && o.isSet("center")) return o.usage(str::IDS_SB_CLI_OFFSET_AND_CENTER);
    if (o.isSet("offset")) {
        std::vector<int> offset;
        if (!parseIntList(o.value("offset"), 2, 0, 255, offset))
            return o.usage(formatMessage(str::IDS_SB_CLI_BAD_OFFSET, {255}));
        // As the dialog's offset fields do, an offset stays within the unit area.
        s.leftOffset = limitImportOffset(offset[0], s.frameWidth);
        s.topOffset = limitImportOffset(offset[1], s.frameHeight);
    }
    if (o.isSet("center")) {
        s.leftOffset = centredImportOffset(s.frameWidth);
        s.topOffset = centredImportOffset(s.frameHeight);
    }
    if (o.isSet("delay") && !parseBoundedInt(o.value("delay"), 0, 65535, s.delay))
        return o.usage(str::IDS_SB_CLI_BAD_DELAY);
    if (o.isSet("palette")) {
        s.paletteFromFile = true;
        s.palettePath = o.path("palette");
    }
    if (o.isSet("palette-type") && !parsePaletteType(o.value("palette-type"), s.paletteType))
        return o.usage(str::IDS_SB_CLI_BAD_PALETTE_TYPE);
    if (o.isSet("sheet")) {
        const QString t = o.value("sheet").toLower();
        if (t == QLatin1String("pcx")) s.imageFormat = 0;
        else if (t == QLatin1String("bmp")) s.imageFormat = 1;
        else return o.usage(str::IDS_SB_CLI_BAD_SHEET_TYPE);
    }
    if (o.isSet("depth") && !parseDepth(o.value("depth"), s.colorDepth)) return o.usage(str::IDS_SB_CLI_BAD_DEPTH);
    Bitmap source;
    const Status loaded = loadImportSource(absoluteLocalPath(positional.first()), source);
    if (!loaded) return refuse(loaded.message);

    const bool yes = o.isSet("yes");
    std::string unanswered;
    const ImportQuestion ask = [&](const std::string& question) {
        if (yes) return ImportAnswer::Yes;
        unanswered = question;
        return ImportAnswer::Stop;
    };
    OutputFolder folder;
    if (const int made = folder.ensureFor(s.destinationPath); made != kExitOk) return made;
    const Status done = ImportToQSB(source, s, ask);
    if (!unanswered.empty()) return refuse(unanswered);
    if (!done) return refuse(done.message);
    folder.keep();
    return kExitOk;
}

const CommandRegistrar reg("import",
                           "import IMAGE -o DEST.qsb [--frame WxH] [OPTIONS]",
                           "Import a picture drawn in the storyboard grid", &runImport);

}  // namespace
}  // namespace qv::cli
