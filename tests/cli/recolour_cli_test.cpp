// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_run.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/palette_ops.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;
using qv::test::quote;

namespace {

class RecolourCli : public qv::test::CliTest {
protected:
    CliRun run(const std::string& args) { return CliTest::run("recolour " + args); }
};

}  // namespace

TEST_F(RecolourCli, ChangesOnlyThePaletteBytesOfAnAnimation)
{
    test::AnimationSpec anim;
    anim.framesPerDirection = 3;
    const Bytes original = test::buildAnimation(anim);
    ASSERT_TRUE(writeFileAtomic(path("unit.flc"), original));
    Palette256 source;
    for (int i = 0; i < 256; ++i) source[size_t(i)] = PaletteEntry::fromRgb(1, 2, uint8_t(i));
    ASSERT_TRUE(ExportPaletteToFile(path("src.act"), source, kPaletteAct));

    const CliRun r = run(quote(path("unit.flc")) + " -o " + quote(path("out.flc")) +
                         " --replace 3=#102030 --range 0:100:4 --source " + quote(path("src.act")) +
                         " --move 10:12:5 --shift-right 1 --shift-left 2");
    ASSERT_EQ(r.status, 0) << r.err;

    // The rules worked out by hand, in the order given (testPalette's red is the index).
    const Palette256 in = test::testPalette();
    Palette256 expect = in;
    expect[3] = PaletteEntry::fromRgb(0x10, 0x20, 0x30);
    for (int k = 0; k < 4; ++k) expect[size_t(100 + k)] = source[size_t(k)];
    for (int k = 12; k <= 16; ++k) expect[size_t(k)] = in[size_t(k - 2)];
    for (int k = 10; k <= 14; ++k) expect[size_t(k)] = kToolRed;
    const Palette256 moved = expect;
    for (int k = 1; k < 256; ++k) expect[size_t(k)] = moved[size_t(k - 1)];  // right shift 1
    expect[0] = kToolRed;
    const Palette256 shifted = expect;
    for (int k = 0; k < 254; ++k) expect[size_t(k)] = shifted[size_t(k + 2)];  // left shift 2
    expect[254] = expect[255] = kToolRed;
    EXPECT_EQ(expect[2].rgb(), 0x102030u);      // entry 3 after the two shifts
    EXPECT_EQ(expect[14].rgb(), in[13].rgb());  // old 13 moved to 15, then 16, then 14

    Bytes out;
    ASSERT_TRUE(readWholeFile(path("out.flc"), out));
    ASSERT_EQ(out.size(), original.size());
    FlcLoadResult before, after;
    ASSERT_TRUE(loadFlcAnimation(path("unit.flc"), before));
    ASSERT_TRUE(loadFlcAnimation(path("out.flc"), after));
    EXPECT_EQ(after.store.basePalette, expect);
    EXPECT_EQ(after.store.frames, before.store.frames);
    // Outside the colour triples of the palette chunks every byte is as it was.
    std::vector<bool> colourByte(out.size(), false);
    for (uint32_t pos : before.store.paletteChunkPositions)
        for (size_t i = pos + 4; i < pos + 4 + 768; ++i) colourByte[i] = true;
    for (size_t i = 0; i < out.size(); ++i) {
        if (colourByte[i]) continue;
        ASSERT_EQ(out[i], original[i]) << "byte " << i;
    }
}

TEST_F(RecolourCli, AdjustsAPaletteFileWithinTheIndicesGiven)
{
    const Palette256 in = test::testPalette();
    ASSERT_TRUE(ExportPaletteToFile(path("p.act"), in, kPaletteAct));
    const CliRun r = run(quote(path("p.act")) + " -o " + quote(path("o.pal")) + " --indices 0-63 --brightness -1000");
    ASSERT_EQ(r.status, 0) << r.err;
    Palette256 got;
    Bytes head;
    ASSERT_TRUE(readWholeFile(path("o.pal"), head));
    EXPECT_EQ(std::string(head.begin(), head.begin() + 8), "JASC-PAL");
    ASSERT_TRUE(ImportPaletteFromFile(path("o.pal"), got));
    EXPECT_EQ(got[63].rgb(), 0u);
    EXPECT_EQ(got[64], in[64]);
}

TEST_F(RecolourCli, RefusesBadNumbersAndFilesWritingNothing)
{
    ASSERT_TRUE(ExportPaletteToFile(path("p.act"), test::testPalette(), kPaletteAct));
    ASSERT_TRUE(writeFileAtomic(path("short.act"), Bytes(700, 0)));
    const std::string p = quote(path("p.act")) + " -o " + quote(path("o.act"));
    const std::pair<std::string, int> cases[] = {
        {p + " --brightness 1001", 2},
        {p + " --hue -361", 2},
        {p + " --replace 256=#000000", 2},
        {p + " --replace 3=red", 2},
        {p + " --range 250:10:7 --source " + quote(path("p.act")), 2},
        {p + " --range 0:0:1", 2},
        {p + " --move 10:200:56", 2},
        {p + " --shift-left 256", 2},
        {p + " --indices 9-3 --hue 10", 2},
        {p + " --palette " + quote(path("none.bmp")), 1},
        {quote(path("short.act")) + " -o " + quote(path("o.act")), 1},
        {quote(path("p.act")) + " -o " + quote(path("o.txt")), 2},
        {quote(path("p.txt")) + " -o " + quote(path("o.act")), 1},
    };
    for (const auto& [args, status] : cases) {
        SCOPED_TRACE(args);
        const CliRun r = run(args);
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_FALSE(r.err.empty());
        EXPECT_FALSE(fs::exists(path("o.act")));
    }
}
