// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/bitmap.h"
#include "core/civ_palettes.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/storyboard_convert.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "cli/cli_run.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;
using qv::test::quote;

namespace {


Palette256 schemePalette(int civ)
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(civ * 3), uint8_t(i ^ civ));
    return p;
}

class StoryboardCli : public qv::test::CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        fs::create_directories(dir_ / "out");
        fs::create_directories(dir_ / "schemes");
        Bitmap scheme = Bitmap::create(1, 1, 8);
        scheme.palette = schemePalette(4);
        ASSERT_TRUE(writeImageFile(path("schemes/" + civPaletteFileName(3)), scheme, kFormatPcx, 8));

        // A unit of 8 directions whose pictures use every index, light and shadow included.
        spec_.width = 20;
        spec_.height = 14;
        spec_.framesPerDirection = 5;
        spec_.speed = 75;
        spec_.picture = [this](int d, int n) {
            test::Picture p(size_t(spec_.width) * spec_.height);
            for (size_t i = 0; i < p.size(); ++i) p[i] = uint8_t((i * 11 + size_t(d) * 29 + size_t(n) * 3) & 0xFF);
            return p;
        };
        ASSERT_TRUE(writeFileAtomic(path("Unit.flc"), test::buildAnimation(spec_)));
    }
    FlcLoadResult loadFlc(const std::string& name)
    {
        FlcLoadResult r;
        EXPECT_TRUE(loadFlcAnimation(path(name), r)) << name;
        return r;
    }
    StoryboardInfo info(const std::string& name)
    {
        StoryboardInfo i;
        EXPECT_TRUE(ReadQSB(path(name), i)) << name;
        return i;
    }
    Bytes bytes(const std::string& name)
    {
        Bytes b;
        EXPECT_TRUE(readWholeFile(path(name), b)) << name;
        return b;
    }

    test::AnimationSpec spec_;
};

}  // namespace

TEST_F(StoryboardCli, ToStoryboardThenToFlcGivesBackThePicturesAndPalette)
{
    const FlcLoadResult original = loadFlc("Unit.flc");
    for (const char* sheet : {"out/Unit.pcx", "out/Unit.bmp"}) {
        CliRun r = run("to-storyboard " + quote(path("Unit.flc")) + " -o " + quote(path(sheet)));
        ASSERT_EQ(r.status, 0) << r.err;
        r = run("to-flc " + quote(path("out/Unit.qsb")) + " -o " + quote(path("back.flc")));
        ASSERT_EQ(r.status, 0) << r.err;
        const FlcLoadResult back = loadFlc("back.flc");
        EXPECT_EQ(back.store.frames, original.store.frames) << sheet;
        EXPECT_EQ(back.store.basePalette, original.store.basePalette) << sheet;
        EXPECT_EQ(back.store.header.speed, 75u);
        EXPECT_EQ(back.store.header.directions, 8);
        EXPECT_EQ(back.store.header.framesPerDirection, 5);
    }
}

TEST_F(StoryboardCli, ToStoryboardUsesTheExportWizardsInitialValues)
{
    CliRun r = run("to-storyboard " + quote(path("Unit.flc")) + " -o " + quote(path("out/Walk.PCX")));
    ASSERT_EQ(r.status, 0) << r.err;
    // The sheet is named as the wizard names it, in lower case.
    ASSERT_TRUE(fileExists(path("out/Walk.pcx")));

    // The same files as the conversion gives with the wizard's initial values.
    FlcLoadResult loaded = loadFlc("Unit.flc");
    const ExportSource source = exportSourceFrom(loaded);
    ExportStoryboardSettings s = exportWizardDefaults(path("Unit.flc"), source);
    s.targetPath = path("Model.pcx");
    ASSERT_TRUE(FlcToStoryboard(source, s, CivPaletteSources{}));
    EXPECT_EQ(bytes("out/Walk.pcx"), bytes("Model.pcx"));
    EXPECT_EQ(bytes("out/Walk.act"), bytes("Model.act"));
    EXPECT_EQ(bytes("out/Walk_Default.act"), bytes("Model_Default.act"));
    Bytes a = bytes("out/Walk.qsb"), b = bytes("Model.qsb");
    ASSERT_EQ(a.size(), 79u);
    EXPECT_EQ(Bytes(a.begin() + 64, a.end()), Bytes(b.begin() + 64, b.end()));

    // Without -o the storyboard goes beside the animation, under its name.
    r = run("to-storyboard " + quote(path("Unit.flc")));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(bytes("Unit.pcx"), bytes("Model.pcx"));
    EXPECT_EQ(bytes("Unit_Default.act"), bytes("Model_Default.act"));
    EXPECT_EQ(info("Unit.qsb").name(), "Unit");
}

TEST_F(StoryboardCli, ToStoryboardOptions)
{
    CliRun r = run("to-storyboard " + quote(path("Unit.flc")) + " -o " + quote(path("out/U.bmp")) +
                   " --civ 4 --civ-source " + quote(path("schemes")) +
                   " --smoke builtin --palette-type jasc --frame 24x16 --trim 1,2,23,15 --frames-per-direction 6"
                   " --offset 10,20 --delay 40 --depth 24 --no-default-palette");
    ASSERT_EQ(r.status, 0) << r.err;
    const StoryboardInfo i = info("out/U.qsb");
    EXPECT_EQ(i.frameWidth, 22);
    EXPECT_EQ(i.frameHeight, 13);
    EXPECT_EQ(i.leftOffset, 11);
    EXPECT_EQ(i.topOffset, 22);
    EXPECT_EQ(i.framesPerDirection, 6);
    EXPECT_EQ(i.speed, 40);
    EXPECT_EQ(i.imageType, kFormatBmp);
    EXPECT_EQ(i.paletteType, kPaletteJasc);
    EXPECT_EQ(i.sheetWidth, 6 * 23 + 1);
    Palette256 pal, expected = loadFlc("Unit.flc").store.basePalette;
    for (int k = 0; k < 64; ++k) expected[k] = schemePalette(4)[k];
    ASSERT_TRUE(ImportPaletteFromFile(path("out/U.pal"), pal));
    EXPECT_EQ(pal, expected);
    EXPECT_FALSE(fileExists(path("out/U_Default.pal")));
    ImageFileInfo fi;
    ASSERT_TRUE(readImageFileInfo(path("out/U.bmp"), fi));
    EXPECT_EQ(fi.bitsPerPixel, 24);

    // A scheme that is not there: the lookup's message, status 1.
    r = run("to-storyboard " + quote(path("Unit.flc")) + " -o " + quote(path("out/V.pcx")) + " --civ 9 --civ-source " +
            quote(path("schemes")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(str::IDS_CIV_PAL_NO_FOLDER) + "\n");
    EXPECT_FALSE(fileExists(path("out/V.pcx")));
}

TEST_F(StoryboardCli, ToStoryboardRefusalsAndUsageErrors)
{
    const std::string flc = quote(path("Unit.flc"));
    for (const std::string& bad : {std::string(" -o ") + quote(path("out/U.png")), " -o " + quote(path("out/U.pcx")) +
                                       " --trim 0,0,21,14", " -o " + quote(path("out/U.pcx")) + " --depth 16",
                                   " -o " + quote(path("out/U.pcx")) + " --frame 300x20",
                                   " -o " + quote(path("out/U.pcx")) + " --frames-per-direction 256"}) {
        CliRun r = run("to-storyboard " + flc + bad);
        EXPECT_EQ(r.status, 2) << bad;
    }
    ASSERT_TRUE(writeFileAtomic(path("Broken.flc"), Bytes(200, 0)));
    CliRun r = run("to-storyboard " + quote(path("Broken.flc")) + " -o " + quote(path("out/B.pcx")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(formatMessage(str::IDS_INVALID_FORMAT, {path("Broken.flc")})) + "\n");
    EXPECT_TRUE(fs::is_empty(dir_ / "out"));
}

TEST_F(StoryboardCli, NewStoryboardDefaultsAndRefusals)
{
    CliRun r = run("new-storyboard -o " + quote(path("out/Head.bmp")) + " --leader-head --smoke builtin");
    ASSERT_EQ(r.status, 0) << r.err;
    StoryboardInfo i = info("out/Head.qsb");
    EXPECT_EQ(i.frameWidth, 200);
    EXPECT_EQ(i.frameHeight, 240);
    EXPECT_EQ(i.directionCount, 1);
    EXPECT_EQ(i.framesPerDirection, 15);
    EXPECT_EQ(i.leftOffset, 0);
    EXPECT_EQ(i.speed, 125);
    EXPECT_EQ(i.leaderHead, 1);
    EXPECT_EQ(i.imageType, kFormatBmp);

    // Without -o the wizard's "Default" storyboard is made in the current folder.
    const std::string inOut = "cd " + quote(path("out")) + " && " + quote(QV_CLI_PATH) + " new-storyboard";
    ASSERT_EQ(std::system(inOut.c_str()), 0);
    i = info("out/Default.qsb");
    EXPECT_EQ(i.name(), "Default");
    EXPECT_EQ(i.frameWidth, 50);
    EXPECT_EQ(i.directionCount, 8);
    EXPECT_EQ(i.imageType, kFormatPcx);
    EXPECT_TRUE(fileExists(path("out/Default.pcx")));

    r = run("new-storyboard -o " + quote(path("out/Unit.pcx")) + " --civ 4 --civ-source " + quote(path("schemes")) +
            " --frame 30x20 --directions 4 --frames-per-direction 3 --offset 5,6 --delay 99 --palette-type riff");
    ASSERT_EQ(r.status, 0) << r.err;
    i = info("out/Unit.qsb");
    EXPECT_EQ(i.sheetWidth, 3 * 31 + 1);
    EXPECT_EQ(i.sheetHeight, 4 * 21 + 1);
    EXPECT_EQ(i.leftOffset, 5);
    EXPECT_EQ(i.topOffset, 6);
    EXPECT_EQ(i.speed, 99);
    EXPECT_EQ(i.paletteType, kPaletteRiff);
    Palette256 pal;
    ASSERT_TRUE(ImportPaletteFromFile(path("out/Unit.pal"), pal));
    EXPECT_EQ(pal, schemePalette(4));

    r = run("new-storyboard -o " + quote(path("out/X.pcx")) + " --palette " + quote(path("none.act")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {path("none.act")})) + "\n");
    r = run("new-storyboard -o " + quote(path("out/X.pcx")) + " --civ 2 --civ-source " + quote(path("schemes")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(str::IDS_CIV_PAL_NO_FOLDER) + "\n" +
                         toPlainLineBreaks(str::IDS_STORYBOARD_CANNOT_APPLY_PALETTE) + "\n");
    EXPECT_EQ(run("new-storyboard -o " + quote(path("out/X.pcx")) + " --directions 9").status, 2);
    // A sheet is at most 32767 pixels wide: 135 frames of 240 pixels, not 136.
    r = run("new-storyboard -o " + quote(path("out/X.pcx")) + " --frame 240x10 --frames-per-direction 136");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, formatMessage(str::IDS_STORYBOARD_SHEET_TOO_WIDE, {240, 135, 136}) + "\n");
    EXPECT_FALSE(fileExists(path("out/X.pcx")));
}
