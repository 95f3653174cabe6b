// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli info FILE [-o REPORT]`: the information report of an FLC file, as the
// Info dialog's Save writes it, on standard output or into REPORT.
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/cli_common.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/info_report.h"
#include "core/strings.h"

namespace qv::cli {
namespace {

int runInfo(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the information report of an FLC file: its header values (completed as the "
                       "program completes a file without the game's extension) and every frame and chunk "
                       "with its file position and size. Lines end in CR LF."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The FLC file."));
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("Write the report to REPORT instead of standard output."),
                      QStringLiteral("REPORT")});
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;

    const QString command = args.value(0);
    const QStringList positional = parser.positionalArguments();
    const bool toFile = parser.isSet(QStringLiteral("output"));
    if (positional.size() != 1 || positional.first().isEmpty() ||
        (toFile && parser.value(QStringLiteral("output")).isEmpty()))
        return usageError(command, QString::fromUtf8(str::IDS_CLI_FLC_INFO_NEEDS_FILE));

    const std::string path = absoluteLocalPath(positional.first());
    FlcLoadResult loaded;
    if (const int status = loadAnimationOrRefuse(path, loaded); status != kExitOk) return status;

    const std::string report = flcInfoReport(path, loaded.store.header, loaded.store.records);
    if (toFile) {
        const std::string out = toLocal(parser.value(QStringLiteral("output")));
        if (!writeFileAtomic(out, reinterpret_cast<const uint8_t*>(report.data()), report.size()))
            return refuse(formatMessage(str::IDS_CLI_FLC_CANNOT_WRITE, {absoluteLocalPath(fromLocal(out))}));
        return kExitOk;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // the report's CR LF as they are
#endif
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    return kExitOk;
}

const CommandRegistrar reg("info", "info FILE [-o REPORT]", "Write the information report of an FLC file", &runInfo);

}  // namespace
}  // namespace qv::cli
