// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// `quorvane-cli version`: the build's version line, the same the About box shows.
#include <cstdio>

#include "cli/cli_common.h"
#include "core/version.h"

namespace qv::cli {
namespace {

int runVersion(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Prints the version of quorvane-cli."));
    int status = kExitOk;
    if (!parseOrFail(parser, args, status)) return status;
    std::printf("%s\n", versionText().c_str());
    return kExitOk;
}

const CommandRegistrar reg("version", "version", "Print the version", &runVersion);

}  // namespace
}  // namespace qv::cli
