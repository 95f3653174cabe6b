// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/file_io.h"
#include "core/palette_files.h"
#include "cli/cli_run.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;
using qv::test::quote;

namespace {

using PaletteCli = qv::test::CliTest;

Palette256 colours()
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry::fromRgb(uint8_t(i * 3), uint8_t(i), uint8_t(~i));
    return p;
}

}  // namespace

TEST_F(PaletteCli, ConvertsBetweenEveryPairOfFormats)
{
    const char* names[] = {"act", "riff", "jasc"};
    ASSERT_TRUE(ExportPaletteToFile(path("src.act"), colours(), kPaletteAct));
    ASSERT_TRUE(ExportPaletteToFile(path("src_riff.pal"), colours(), kPaletteRiff));
    ASSERT_TRUE(ExportPaletteToFile(path("src_jasc.pal"), colours(), kPaletteJasc));
    const std::string inputs[] = {path("src.act"), path("src_riff.pal"), path("src_jasc.pal")};
    for (const std::string& in : inputs) {
        for (int type = 0; type < 3; ++type) {
            SCOPED_TRACE(in + " -> " + names[type]);
            // The extension typed is replaced by the format's own.
            const CliRun r = run("palette " + quote(in) + " -o " + quote(path("out.txt")) + " --type " + names[type]);
            ASSERT_EQ(r.status, 0) << r.err;
            Bytes got, expect;
            ASSERT_TRUE(readWholeFile(path(type == 0 ? "out.act" : "out.pal"), got));
            ASSERT_TRUE(serializePalette(colours(), type, expect));
            EXPECT_EQ(got, expect);
        }
    }
}

TEST_F(PaletteCli, RefusalsAndUsageErrors)
{
    ASSERT_TRUE(writeFileAtomic(path("bad.act"), Bytes(772, 1)));
    CliRun r = run("palette " + quote(path("bad.act")) + " -o " + quote(path("o.act")) + " --type act");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + path("bad.act") + "'\nCould not import the color table because it's not a valid file.\n");
    EXPECT_FALSE(fs::exists(path("o.act")));

    ASSERT_TRUE(ExportPaletteToFile(path("good.act"), colours(), kPaletteAct));
    const std::string target = path("missing/o.pal");
    r = run("palette " + quote(path("good.act")) + " -o " + quote(target) + " --type jasc");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + target + "'\nCannot export palette to the file.\n");

    EXPECT_EQ(run("palette " + quote(path("good.act")) + " -o x --type gif").status, 2);
    EXPECT_EQ(run("palette " + quote(path("good.act")) + " -o x").status, 2);
    EXPECT_EQ(run("palette " + quote(path("good.act")) + " --type act").status, 2);

    // Relative paths appear absolute in the messages, as the file dialogs give them.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    const std::string here = fs::current_path().string();
    const CliRun badIn = run("palette bad.act -o o.act --type act");
    const CliRun badOut = run("palette good.act -o missing/o.txt --type riff");
    fs::current_path(cwd);
    EXPECT_EQ(badIn.status, 1);
    EXPECT_EQ(badIn.err, "'" + here + "/bad.act'\nCould not import the color table because it's not a valid file.\n");
    EXPECT_EQ(badOut.status, 1);
    EXPECT_EQ(badOut.err, "'" + here + "/missing/o.txt'\nCannot export palette to the file.\n");
}
