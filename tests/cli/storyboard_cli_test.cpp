// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// quorvane-cli to-storyboard, to-flc, new-storyboard and import end to end. The files
// themselves equal the wizards' and dialogs' (GUI tests compare them); these tests check
// the options, the names of the files written and the messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "cli/cli_run.h"
#include "core/bitmap.h"
#include "core/civ_palettes.h"
#include "core/palette_files.h"
#include "core/strings.h"
#include "support/storyboard_builder.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;

namespace {

class StoryboardCli : public qv::test::CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        fs::create_directories(dir_ / "out");
        // A folder of schemes holding only civilization 4's.
        put("schemes/ntp03.pcx", bytes(QV_DATA_DIR "/ntp03.pcx"));

        test::AnimationShape anim;
        anim.width = 20;
        anim.height = 14;
        put("Unit.flc", test::buildAnimation(anim));
    }
};

}  // namespace

TEST_F(StoryboardCli, ToStoryboardOptionsNamesAndUsageErrors)
{
    // Without -o the storyboard goes beside the animation, under its name.
    CliRun r = run("to-storyboard " + q("Unit.flc"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readQsb("Unit.qsb").name(), "Unit");

    // The sheet's extension is written in lower case, as the wizard names it.
    r = run("to-storyboard " + q("Unit.flc") + " -o " + q("out/U.BMP") + " --civ 4 --civ-source " + q("schemes") +
            " --smoke builtin --palette-type jasc --frame 24x16 --trim 1,2,23,15 --frames-per-direction 6"
            " --offset 10,20 --delay 40 --depth 24 --no-default-palette");
    ASSERT_EQ(r.status, 0) << r.err;
    const StoryboardInfo i = readQsb("out/U.qsb");
    EXPECT_EQ(std::make_tuple(i.frameWidth, i.frameHeight, i.leftOffset, i.topOffset, i.framesPerDirection, i.speed),
              std::make_tuple(22, 13, 11, 22, 6, 40));
    EXPECT_TRUE(fileExists(path("out/U.pal")));
    EXPECT_FALSE(fileExists(path("out/U_Default.pal")));
    ImageFileInfo fi;
    ASSERT_TRUE(readImageFileInfo(path("out/U.bmp"), fi));
    EXPECT_EQ(fi.bitsPerPixel, 24);

    const std::string pcx = "to-storyboard " + q("Unit.flc") + " -o " + q("out/V.pcx");
    for (const std::string& bad :
         {"to-storyboard " + q("Unit.flc") + " -o " + q("out/V.png"), pcx + " --trim 0,0,21,14", pcx + " --depth 16",
          pcx + " --frame 300x20", pcx + " --frames-per-direction 256"})
        EXPECT_EQ(run(bad).status, 2) << bad;
    EXPECT_FALSE(fileExists(path("out/V.pcx")));
}

TEST_F(StoryboardCli, NewStoryboardDefaultsOptionsAndRefusals)
{
    // Without -o the wizard's "Default" storyboard is made in the current folder.
    ASSERT_EQ(qv::test::runCli("new-storyboard", dir_ / "out", true).status, 0);
    EXPECT_EQ(readQsb("out/Default.qsb").frameWidth, 50);
    EXPECT_TRUE(fileExists(path("out/Default.pcx")));

    CliRun r =
        run("new-storyboard -o " + q("out/Unit.pcx") + " --civ 4 --civ-source " + q("schemes") +
            " --frame 30x20 --directions 4 --frames-per-direction 3 --offset 5,6 --delay 99 --palette-type riff");
    ASSERT_EQ(r.status, 0) << r.err;
    const StoryboardInfo i = readQsb("out/Unit.qsb");
    EXPECT_EQ(std::make_tuple(i.sheetWidth, i.sheetHeight, i.leftOffset, i.topOffset, i.speed, i.paletteType),
              std::make_tuple(3 * 31 + 1, 4 * 21 + 1, 5, 6, 99, int(kPaletteRiff)));
    Palette256 pal, scheme;
    ASSERT_TRUE(ImportPaletteFromFile(path("out/Unit.pal"), pal));
    ASSERT_TRUE(copyCivPalette(path("schemes/ntp03.pcx"), scheme));
    EXPECT_EQ(pal, scheme);

    const std::string x = "new-storyboard -o " + q("out/X.pcx");
    const std::pair<std::string, std::string> refused[] = {
        {" --palette " + q("none.act"),
         toPlainLineBreaks(formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {path("none.act")}))},
        {" --civ 2 --civ-source " + q("nowhere"), toPlainLineBreaks(str::IDS_CIV_PAL_NO_FOLDER) + "\n" +
                                                      toPlainLineBreaks(str::IDS_STORYBOARD_CANNOT_APPLY_PALETTE)},
        // A sheet is at most 32767 pixels wide: 135 frames of 240 pixels, not 136.
        {" --frame 240x10 --frames-per-direction 136",
         formatMessage(str::IDS_STORYBOARD_SHEET_TOO_WIDE, {240, 135, 136})},
    };
    for (const auto& [args, message] : refused) {
        r = run(x + args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.err, message + "\n");
    }
    EXPECT_EQ(run(x + " --directions 9").status, 2);
    EXPECT_FALSE(fileExists(path("out/X.pcx")));
}

TEST_F(StoryboardCli, ToFlcEncodesTheStoryboardOrRefusesWritingNothing)
{
    test::StoryboardFixture layout;
    layout.directions = 8;
    layout.speed = 80;
    layout.leftOffset = 100;
    layout.topOffset = 120;
    layout.imageType = kFormatBmp;
    layout.paletteType = kPaletteJasc;
    ASSERT_TRUE(test::writeStoryboard(path("Sb.qsb"), layout));
    // A custom delay changes the header's delay only; a missing output folder is created.
    CliRun r = run("to-flc " + q("Sb.qsb") + " -o " + q("new/folder/out.flc") + " --delay 250");
    ASSERT_EQ(r.status, 0) << r.err;
    const FlcLoadResult loaded = loadFlc("new/folder/out.flc");
    const FlcHeader& h = loaded.store.header;
    EXPECT_EQ(std::make_tuple(h.speed, h.animationTime, h.leftOffset, h.topOffset, h.directions, h.directionMask),
              std::make_tuple(250u, 80u * 3, 100, 120, 8, 0xFFu));
    EXPECT_EQ(loaded.store.frames, test::storyboardPictures(layout));
    EXPECT_EQ(loaded.store.basePalette, layout.palette);

    r = run("to-flc " + q("Nothing.qsb") + " -o " + q("out.flc"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot read QSB file.\nInvalid or unsupported document format.\n");
    r = run("to-flc " + q("Sb.qsb") + " -o " + q("Sb.qsb/sub/out.flc"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + path("Sb.qsb/sub") + "'\nCannot create the folder.\n");
    for (const std::string& args :
         {"to-flc " + q("Sb.qsb"), std::string("to-flc -o x.flc"), "to-flc " + q("Sb.qsb") + " -o x.flc --delay fast"})
        EXPECT_EQ(run(args).status, 2) << args;

    // Relative paths appear absolute in the messages, as the file dialogs give them.
    r = runHere("to-flc Sb.qsb -o Sb.bmp/out.flc");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + path("Sb.bmp/out.flc") + "'\nCannot copy temporary file to the specified target path.\n");
    fs::remove(path("Sb.bmp"));
    r = runHere("to-flc Sb.qsb -o out.flc");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'" + path("Sb.bmp") + "'\nImage file isn't exist.\n");
    EXPECT_FALSE(fs::exists(path("out.flc")));

    // Nothing is written that the program would refuse to read: here more directions than
    // the sheet holds.
    test::StoryboardFixture claims;
    claims.directions = 1;
    claims.claimedDirections = 255;
    ASSERT_TRUE(test::writeStoryboard(path("Bad.qsb"), claims));
    r = run("to-flc " + q("Bad.qsb") + " -o " + q("bad.flc"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(checkStoryboardForFlc(path("Bad.qsb"), readQsb("Bad.qsb")).message) + "\n");
    EXPECT_FALSE(fs::exists(path("bad.flc")));
}

TEST_F(StoryboardCli, ImportNeedsYesKeepsOffsetsInTheUnitAreaAndRefusesWritingNothing)
{
    // Four rows of 50 x 50 cells in 240 x 240 pixels of 256 colours.
    Bitmap picture = Bitmap::create(240, 240, 8);
    for (int i = 0; i < 256; ++i) picture.palette[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i / 2), 9);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 240; ++x) picture.row(y)[x] = uint8_t(x + y);
    ASSERT_TRUE(writeImageFile(path("grid.pcx"), picture, kFormatPcx, 8));
    // A 16384 x 16384 24-bit picture is refused before its pixels are allocated.
    Bytes huge = bytes("grid.pcx");
    huge[65] = 3;
    putLE16(huge.data() + 8, 16383);
    putLE16(huge.data() + 10, 16383);
    putLE16(huge.data() + 66, 16384);
    put("huge.pcx", huge);
    // Without --frame the cells are the dialog's 50 x 50.
    const std::string grid = "import " + q("grid.pcx") + " -o " + q("out/Imp.qsb");
    const std::tuple<std::string, int, std::string> cases[] = {
        // arguments, status, message for status 1
        {grid, 1, toPlainLineBreaks(str::IDS_IMPORT_ASK_ONE_DIRECTION)},
        {grid + " --frame 0x50", 1, str::IDS_IMPORT_WRONG_WIDTH},
        {grid + " --frame 239x50", 1, str::IDS_IMPORT_IMAGE_TOO_NARROW},
        {"import " + q("missing.bmp") + " -o " + q("out/B.qsb") + " --frame 10x10", 1,
         toPlainLineBreaks(formatMessage(str::IDS_CANNOT_LOAD_IMAGE, {path("missing.bmp")}))},
        {"import " + q("huge.pcx") + " -o " + q("out/B.qsb") + " --frame 10x10", 1, str::IDS_IMG_TOO_LARGE},
        {"import " + q("grid.pcx") + " -o " + q("out/B.pcx") + " --frame 10x10", 2, ""},
        {"import " + q("grid.pcx"), 2, ""},
        // An FLC frame is at most 240 x 240, so no storyboard of larger frames is made.
        {grid + " --frame 241x241", 2, ""},
        {grid + " --frame 10x10 --center --offset 1,1", 2, ""},
    };
    for (const auto& [args, status, message] : cases) {
        SCOPED_TRACE(args);
        const CliRun r = run(args);
        EXPECT_EQ(r.status, status);
        if (status == 1) {
            EXPECT_EQ(r.err, message + "\n");
        }
    }
    EXPECT_TRUE(fs::is_empty(dir_ / "out"));

    CliRun r = run(grid + " --yes --center --delay 60 --sheet bmp --palette-type jasc");
    ASSERT_EQ(r.status, 0) << r.err;
    StoryboardInfo i = readQsb("out/Imp.qsb");
    EXPECT_EQ(std::make_tuple(i.directionCount, i.framesPerDirection, i.leftOffset, i.topOffset, i.speed, i.imageType),
              std::make_tuple(1, 4, 95, 95, 60, int(kFormatBmp)));
    EXPECT_TRUE(fileExists(path("out/Imp_Default.pal")));
    // Offsets stay in the unit area: at most 240 - 96.
    r = run("import " + q("grid.pcx") + " -o " + q("out/A.qsb") + " --frame 96x72 --offset 200,10 --yes");
    ASSERT_EQ(r.status, 0) << r.err;
    i = readQsb("out/A.qsb");
    EXPECT_EQ(std::make_tuple(i.leftOffset, i.topOffset), std::make_tuple(144, 10));
}
