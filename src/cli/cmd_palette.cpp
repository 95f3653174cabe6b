// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli palette`: converts a palette file between the Adobe Color Table, RIFF and
// Jasc formats, reading and writing exactly as the palette import and export do.

#include "cli/cli_common.h"
#include "core/palette_files.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

const char* const kHelp =
    "Reads a palette file (.act Adobe Color Table, or .pal Jasc or RIFF palette, told apart by\n"
    "their first bytes) and writes it in the format --type names:\n"
    "  act   Adobe Color Table, 768 bytes\n"
    "  riff  Microsoft RIFF palette, 1048 bytes\n"
    "  jasc  Jasc palette, text\n"
    "The last four characters of OUT are dropped when it has an extension, and \".act\" (act)\n"
    "or \".pal\" (riff, jasc) is appended, as the storyboard conversions name their palettes.";

int runPalette(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kHelp));
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The palette file to read."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("The palette file to write (its extension is replaced by the format's)."),
                      QStringLiteral("OUT")});
    parser.addOption({QStringLiteral("type"), QStringLiteral("The format to write: act, riff or jasc."),
                      QStringLiteral("TYPE")});
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;

    const QString command = args.value(0);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || parser.value(QStringLiteral("output")).isEmpty())
        return usageError(command, QString::fromUtf8(str::IDS_PALETTE_CLI_NEEDS_FILES));
    const QString typeName = parser.value(QStringLiteral("type")).toLower();
    int type = -1;
    if (typeName == QLatin1String("act")) type = kPaletteAct;
    else if (typeName == QLatin1String("riff")) type = kPaletteRiff;
    else if (typeName == QLatin1String("jasc")) type = kPaletteJasc;
    else return usageError(command, QString::fromUtf8(str::IDS_PALETTE_CLI_BAD_TYPE));

    // Paths are made absolute, as the program's file dialogs give them; messages show them so.
    const std::string input = absoluteLocalPath(positional.first());
    const std::string output = absoluteLocalPath(parser.value(QStringLiteral("output")));
    Palette256 palette;
    if (!ImportPaletteFromFile(input, palette))
        return refuse(formatMessage(str::IDS_CANNOT_IMPORT_PALETTE, {input}));
    if (!ExportPaletteToFile(output, palette, type))
        return refuse(formatMessage(str::IDS_CANNOT_EXPORT_PALETTE, {output}));
    return kExitOk;
}

const CommandRegistrar reg("palette", "palette IN -o OUT --type act|riff|jasc",
                           "Convert a palette file to another format", &runPalette);

}  // namespace
}  // namespace qv::cli
