// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// quorvane-cli palette (format conversion) and recolour (palette rules on a palette file
// or an animation). The palette operations themselves are checked by the core's tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>

#include "cli/cli_run.h"
#include "core/palette_files.h"
#include "core/palette_ops.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;

namespace {

class PaletteCli : public qv::test::CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        for (int type : {kPaletteAct, kPaletteRiff, kPaletteJasc})
            ASSERT_TRUE(ExportPaletteToFile(path(kNames[type]), test::testPalette(), type));
    }
    static constexpr const char* kNames[] = {"p.act", "p_riff.pal", "p_jasc.pal"};
};

}  // namespace

TEST_F(PaletteCli, PaletteConvertsBetweenFormatsAndNamesAbsolutePathsInRefusals)
{
    // Every format read and written; the extension typed is replaced by the format's own.
    const char* types[] = {"riff", "jasc", "act"};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(kNames[k]);
        const CliRun r = run("palette " + q(kNames[k]) + " -o " + q("out.txt") + " --type " + types[k]);
        ASSERT_EQ(r.status, 0) << r.err;
        Bytes expect;
        ASSERT_TRUE(serializePalette(test::testPalette(), (k + 1) % 3, expect));
        EXPECT_EQ(bytes(k == 2 ? "out.act" : "out.pal"), expect);
    }

    put("bad.act", Bytes(772, 1));
    // Relative paths appear absolute in the messages, as the file dialogs give them.
    const std::tuple<const char*, const char*, const char*> refused[] = {
        // arguments, file named, message
        {"palette bad.act -o o.act --type act", "bad.act",
         "Could not import the color table because it's not a valid file."},
        {"palette p.act -o missing/o.txt --type riff", "missing/o.txt", "Cannot export palette to the file."},
    };
    for (const auto& [args, file, message] : refused) {
        const CliRun r = runHere(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.err, "'" + path(file) + "'\n" + message + "\n") << args;
    }
    EXPECT_FALSE(fs::exists(path("o.act")));
    for (const char* args : {" -o x --type gif", " -o x", " --type act"})
        EXPECT_EQ(run("palette " + q("p.act") + args).status, 2) << args;
}

TEST_F(PaletteCli, RecolourAppliesTheRulesInOrderChangingOnlyThePaletteBytesOfAnAnimation)
{
    test::AnimationShape anim;
    anim.framesPerDirection = 3;
    const Bytes original = test::buildAnimation(anim);
    put("unit.flc", original);
    Palette256 source;
    for (int i = 0; i < 256; ++i) source[size_t(i)] = PaletteEntry::fromRgb(1, 2, uint8_t(i));
    ASSERT_TRUE(ExportPaletteToFile(path("src.act"), source, kPaletteAct));

    const CliRun r =
        run("recolour " + q("unit.flc") + " -o " + q("out.flc") + " --replace 3=#102030 --range 0:100:4 --source " +
            q("src.act") + " --move 10:12:5 --shift-right 1 --shift-left 2");
    ASSERT_EQ(r.status, 0) << r.err;
    Palette256 expect = test::testPalette();
    expect[3] = PaletteEntry::fromRgb(0x10, 0x20, 0x30);
    replaceRange(expect, source, 0, 100, 4);
    moveColors(expect, 10, 12, 5);
    shiftRight(expect, 1);
    shiftLeft(expect, 2);

    const Bytes out = bytes("out.flc");
    ASSERT_EQ(out.size(), original.size());
    EXPECT_EQ(loadFlc("out.flc").store.basePalette, expect);
    // Outside the colour triples of the palette chunks every byte is as it was.
    Bytes outsideColours = out;
    for (uint32_t pos : loadFlc("unit.flc").store.paletteChunkPositions)
        std::copy_n(original.begin() + pos + 4, 768, outsideColours.begin() + pos + 4);
    EXPECT_TRUE(outsideColours == original);
}

TEST_F(PaletteCli, RecolourAdjustsAPaletteFileWithinTheIndicesOrRefusesWritingNothing)
{
    const CliRun r = run("recolour " + q("p.act") + " -o " + q("o.pal") + " --indices 0-63 --brightness -1000");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(text("o.pal").substr(0, 8), "JASC-PAL");
    Palette256 got;
    ASSERT_TRUE(ImportPaletteFromFile(path("o.pal"), got));
    EXPECT_EQ(got[63].rgb(), 0u);
    EXPECT_EQ(got[64], test::testPalette()[64]);

    put("short.act", Bytes(700, 0));
    const std::string p = "recolour " + q("p.act") + " -o " + q("o.act");
    const std::pair<std::string, int> cases[] = {
        {p + " --brightness 1001", 2},
        {p + " --hue -361", 2},
        {p + " --replace 3=red", 2},
        {p + " --range 250:10:7 --source " + q("p.act"), 2},
        {p + " --range 0:0:1", 2},
        {p + " --move 10:200:56", 2},
        {p + " --shift-left 256", 2},
        {p + " --indices 9-3 --hue 10", 2},
        {p + " --palette " + q("none.bmp"), 1},
        {"recolour " + q("short.act") + " -o " + q("o.act"), 1},
        {"recolour " + q("p.act") + " -o " + q("o.txt"), 2},
        {"recolour " + q("p.txt") + " -o " + q("o.act"), 1},
    };
    for (const auto& [args, status] : cases) {
        SCOPED_TRACE(args);
        const CliRun refused = run(args);
        EXPECT_EQ(refused.status, status) << refused.err;
        EXPECT_FALSE(refused.err.empty());
        EXPECT_FALSE(fs::exists(path("o.act")));
    }
}
