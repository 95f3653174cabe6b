// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Runs the real quorvane-cli (its path is QV_CLI_PATH) through the shell and collects its
// exit status and standard error, for the end-to-end tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/byte_io.h"
#include "core/file_io.h"
#include "support/temp_dir.h"

namespace qv::test {

struct CliRun {
    int status = -1;
    std::string err;
    std::string out;
};

// Quotes one argument for the shell.
inline std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs `quorvane-cli ARGS` (ARGS already quoted as needed); standard output and
// standard error go through files in `dir`.
// Its output goes through files in `dir`; with `inside` it runs there, else here.
inline CliRun runCli(const std::string& args, const std::filesystem::path& dir, bool inside = false)
{
    const std::string errFile = (dir / "stderr.txt").string(), outFile = (dir / "stdout.txt").string();
    const std::string cmd = (inside ? "cd " + quote(dir.string()) + " && " : std::string()) + quote(QV_CLI_PATH) + " " +
                            args + " >" + quote(outFile) + " 2>" + quote(errFile);
    const int raw = std::system(cmd.c_str());
    CliRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    for (auto [file, text] : {std::pair{errFile, &r.err}, std::pair{outFile, &r.out}}) {
        Bytes bytes;
        readWholeFile(file, bytes);
        std::error_code ec;
        std::filesystem::remove(file, ec);
        text->assign(bytes.begin(), bytes.end());
    }
    return r;
}

// A test fixture that runs the tool in a scratch folder of its own.
class CliTest : public ScratchTest {
protected:
    CliRun run(const std::string& args) { return runCli(args, dir_); }
};

}  // namespace qv::test
