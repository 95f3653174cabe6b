// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli import`: a picture drawn in the storyboard grid made into a storyboard, as
// the Import to Storyboard dialog does. The dialog's questions are answered Yes by --yes;
// without it the first question is printed and nothing is written.
#include "cli/cli_common.h"
#include "cli/storyboard_options.h"
#include "core/file_io.h"
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
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kHelp));
    parser.addPositionalArgument(QStringLiteral("IMAGE"), QStringLiteral("The PCX or BMP picture."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("The storyboard to write, DEST.qsb."), QStringLiteral("DEST")});
    parser.addOption({QStringLiteral("frame"), QStringLiteral("The frame size of the picture's cells (50x50)."),
                      QStringLiteral("WxH")});
    parser.addOption({QStringLiteral("offset"), QStringLiteral("Left and top offsets (95,80)."),
                      QStringLiteral("LEFT,TOP")});
    parser.addOption({QStringLiteral("center"), QStringLiteral("Centre the frame in the 240 x 240 unit area.")});
    parser.addOption({QStringLiteral("delay"), QStringLiteral("Frame delay in ms (125)."), QStringLiteral("MS")});
    parser.addOption({QStringLiteral("palette"), QStringLiteral("Take the palette from this palette file."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("palette-type"),
                      QStringLiteral("Palette files to write: act (default), riff or jasc."),
                      QStringLiteral("TYPE")});
    parser.addOption({QStringLiteral("sheet"), QStringLiteral("Sheet format: pcx (default) or bmp."),
                      QStringLiteral("TYPE")});
    parser.addOption({QStringLiteral("depth"), QStringLiteral("Sheet depth: 8 (default) or 24 bits."),
                      QStringLiteral("BITS")});
    parser.addOption({QStringLiteral("yes"), QStringLiteral("Answer every question Yes.")});
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;

    const QString command = args.value(0);
    auto usage = [&](const std::string& message) { return usageError(command, QString::fromUtf8(message.c_str())); };
    auto isSet = [&](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
    auto value = [&](const char* name) { return parser.value(QString::fromLatin1(name)); };

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || value("output").isEmpty()) return usage(str::IDS_SB_CLI_IMPORT_USAGE);
    ImportStoryboardSettings s;
    s.destinationPath = absoluteLocalPath(value("output"));
    if (!equalsNoCase(fileExtension(s.destinationPath), "qsb")) return usage(str::IDS_SB_CLI_BAD_QSB_PATH);
    if (isSet("frame") && !parseSize(value("frame"), 0, 255, s.frameWidth, s.frameHeight))
        return usage(str::IDS_SB_CLI_BAD_IMPORT_FRAME);
    if (isSet("offset") && isSet("center")) return usage(str::IDS_SB_CLI_OFFSET_AND_CENTER);
    if (isSet("offset")) {
        std::vector<int> offset;
        if (!parseIntList(value("offset"), 2, 0, 255, offset))
            return usage(formatMessage(str::IDS_SB_CLI_BAD_OFFSET, {255}));
        // As the dialog's offset fields do, an offset stays within the unit area.
        s.leftOffset = limitImportOffset(offset[0], s.frameWidth);
        s.topOffset = limitImportOffset(offset[1], s.frameHeight);
    }
    if (isSet("center")) {
        s.leftOffset = centredImportOffset(s.frameWidth);
        s.topOffset = centredImportOffset(s.frameHeight);
    }
    if (isSet("delay") && !parseBoundedInt(value("delay"), 0, 65535, s.delay)) return usage(str::IDS_SB_CLI_BAD_DELAY);
    if (isSet("palette")) {
        s.paletteFromFile = true;
        s.palettePath = absoluteLocalPath(value("palette"));
    }
    if (isSet("palette-type") && !parsePaletteType(value("palette-type"), s.paletteType))
        return usage(str::IDS_SB_CLI_BAD_PALETTE_TYPE);
    if (isSet("sheet")) {
        const QString t = value("sheet").toLower();
        if (t == QLatin1String("pcx")) s.imageFormat = 0;
        else if (t == QLatin1String("bmp")) s.imageFormat = 1;
        else return usage(str::IDS_SB_CLI_BAD_SHEET_TYPE);
    }
    if (isSet("depth") && !parseDepth(value("depth"), s.colorDepth)) return usage(str::IDS_SB_CLI_BAD_DEPTH);

    Bitmap source;
    const Status loaded = loadImportSource(absoluteLocalPath(positional.first()), source);
    if (!loaded) return refuse(loaded.message);

    const bool yes = isSet("yes");
    std::string unanswered;
    const ImportQuestion ask = [&](const std::string& question) {
        if (yes) return ImportAnswer::Yes;
        unanswered = question;
        return ImportAnswer::Stop;
    };
    const Status done = ImportToQSB(source, s, ask);
    if (!unanswered.empty()) return refuse(unanswered);
    if (!done) return refuse(done.message);
    return kExitOk;
}

const CommandRegistrar reg("import",
                           "import IMAGE -o DEST.qsb [--frame WxH] [OPTIONS]",
                           "Import a picture drawn in the storyboard grid", &runImport);

}  // namespace
}  // namespace qv::cli
