// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/file_io.h"
#include "core/import_storyboard.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "cli/cli_run.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;
using qv::test::CliRun;
using qv::test::quote;

namespace {

class ImportCli : public qv::test::CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        fs::create_directories(dir_ / "out");
        // Four rows of 50 x 50 cells in a 240 x 240 picture of 256 colours.
        Bitmap picture = Bitmap::create(240, 240, 8);
        for (int i = 0; i < 256; ++i) picture.palette[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i / 2), 9);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 240; ++x) picture.row(y)[x] = uint8_t(x + y);
        ASSERT_TRUE(writeImageFile(path("grid.pcx"), picture, kFormatPcx, 8));
        picture_ = picture;
    }
    Bitmap picture_;
};

}  // namespace

TEST_F(ImportCli, QuestionsNeedYes)
{
    // Without --frame the cells are the dialog's 50 x 50.
    const std::string args = "import " + quote(path("grid.pcx")) + " -o " + quote(path("out/Imp.qsb"));
    CliRun r = run(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(str::IDS_IMPORT_ASK_ONE_DIRECTION) + "\n");
    EXPECT_TRUE(fs::is_empty(dir_ / "out"));

    r = run(args + " --yes --center --delay 60 --sheet bmp --palette-type jasc");
    ASSERT_EQ(r.status, 0) << r.err;
    StoryboardInfo i;
    ASSERT_TRUE(ReadQSB(path("out/Imp.qsb"), i));
    EXPECT_EQ(i.directionCount, 1);
    EXPECT_EQ(i.framesPerDirection, 4);
    EXPECT_EQ(i.leftOffset, 95);
    EXPECT_EQ(i.topOffset, 95);
    EXPECT_EQ(i.speed, 60);
    EXPECT_EQ(i.imageType, kFormatBmp);
    EXPECT_TRUE(fileExists(path("out/Imp.bmp")));
    EXPECT_TRUE(fileExists(path("out/Imp.pal")));
    EXPECT_TRUE(fileExists(path("out/Imp_Default.pal")));

    // The command writes what the import writes.
    ImportStoryboardSettings s;
    s.destinationPath = path("Model.qsb");
    s.frameWidth = s.frameHeight = 50;
    s.leftOffset = s.topOffset = 95;
    s.delay = 60;
    s.imageFormat = 1;
    s.paletteType = 2;
    ASSERT_TRUE(ImportToQSB(picture_, s, [](const std::string&) { return ImportAnswer::Yes; }));
    Bytes a, b;
    ASSERT_TRUE(readWholeFile(path("out/Imp.bmp"), a));
    ASSERT_TRUE(readWholeFile(path("Model.bmp"), b));
    EXPECT_EQ(a, b);
}

TEST_F(ImportCli, OffsetsStayInTheUnitAreaAndRefusalsUseTheProgramsMessages)
{
    CliRun r = run("import " + quote(path("grid.pcx")) + " -o " + quote(path("out/A.qsb")) +
                   " --frame 96x72 --offset 200,10 --yes");
    ASSERT_EQ(r.status, 0) << r.err;
    StoryboardInfo i;
    ASSERT_TRUE(ReadQSB(path("out/A.qsb"), i));
    EXPECT_EQ(i.leftOffset, 144);  // at most 240 - 96
    EXPECT_EQ(i.topOffset, 10);
    EXPECT_EQ(i.framesPerDirection, 2);
    EXPECT_EQ(i.directionCount, 1);

    r = run("import " + quote(path("grid.pcx")) + " -o " + quote(path("out/B.qsb")) + " --frame 0x50");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string(str::IDS_IMPORT_WRONG_WIDTH) + "\n");
    r = run("import " + quote(path("grid.pcx")) + " -o " + quote(path("out/B.qsb")) + " --frame 239x50");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string(str::IDS_IMPORT_IMAGE_TOO_NARROW) + "\n");
    r = run("import " + quote(path("missing.bmp")) + " -o " + quote(path("out/B.qsb")) + " --frame 10x10");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, toPlainLineBreaks(formatMessage(str::IDS_CANNOT_LOAD_IMAGE, {path("missing.bmp")})) + "\n");
    // A 16384 x 16384 24-bit picture is refused before its pixels are allocated.
    Bytes huge;
    ASSERT_TRUE(readWholeFile(path("grid.pcx"), huge));
    huge[65] = 3;
    putLE16(huge.data() + 8, 16383);
    putLE16(huge.data() + 10, 16383);
    putLE16(huge.data() + 66, 16384);
    ASSERT_TRUE(writeFileAtomic(path("huge.pcx"), huge));
    r = run("import " + quote(path("huge.pcx")) + " -o " + quote(path("out/B.qsb")) + " --frame 10x10");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string(str::IDS_IMG_TOO_LARGE) + "\n");
    EXPECT_EQ(run("import " + quote(path("grid.pcx")) + " -o " + quote(path("out/B.pcx")) + " --frame 10x10").status, 2);
    EXPECT_EQ(run("import " + quote(path("grid.pcx"))).status, 2);
    // An FLC frame is at most 240 x 240, so no storyboard of larger frames is made.
    EXPECT_EQ(run("import " + quote(path("grid.pcx")) + " -o " + quote(path("out/B.qsb")) + " --frame 241x241").status,
              2);
    EXPECT_EQ(run("import " + quote(path("grid.pcx")) + " -o " + quote(path("out/B.qsb")) +
                  " --frame 10x10 --center --offset 1,1")
                  .status,
              2);
    EXPECT_FALSE(fileExists(path("out/B.qsb")));
}
