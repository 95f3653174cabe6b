// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/file_io.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "support/storyboard_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

// The storyboard builder's default grid.
constexpr int kW = 6, kH = 4, kF = 3, kD = 2;

Palette256 greyPalette()
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i), uint8_t(i));
    p[255] = PaletteEntry::fromRgb(255, 0, 255);
    return p;
}

// Picture k of the test storyboard: every pixel different, so a misplaced cell shows.
std::vector<uint8_t> cellPicture(int k)
{
    std::vector<uint8_t> pic(size_t(kW) * kH);
    for (size_t i = 0; i < pic.size(); ++i) pic[i] = static_cast<uint8_t>(10 + k * 16 + int(i));
    return pic;
}

StoryboardGeometry geometry(int imageType = kFormatPcx)
{
    return StoryboardGeometry::grid(kW, kH, kF, kD, 120, 7, 9, imageType, kPaletteAct, false);
}

class StoryboardFiles : public test::ScratchTest {
protected:
    // A sheet holding cellPicture(k) in cell k and its description, without palette files.
    void writeStoryboard(const std::string& name, int format = kFormatPcx, int speed = 120)
    {
        test::StoryboardFixture s;
        s.imageType = format;
        s.speed = speed;
        s.leftOffset = 7;
        s.topOffset = 9;
        s.palette = greyPalette();
        s.picture = [](int d, int n) { return cellPicture(d * kF + n); };
        s.paletteFiles = false;
        ASSERT_TRUE(test::writeStoryboard(path(name + ".qsb"), s));
    }
    // Writes `qsb` with geometry `g` and returns the message of reading it for an FLC.
    std::string readAfterDescribing(const std::string& qsb, const StoryboardGeometry& g)
    {
        EXPECT_TRUE(writeStoryboardDescription(path(qsb), g));
        return read(qsb).message;
    }
    Status read(const std::string& qsb)
    {
        StoryboardInfo info;
        Bitmap sheet;
        return StoryboardToFlc(path(qsb), info, sheet);
    }
};

}  // namespace

TEST(StoryboardRecord, SeventyNineBytesAtTheirOffsetsAndTheFilesItNames)
{
    StoryboardInfo info;
    StoryboardGeometry g = geometry();
    g.sheetWidth = 0x1234;
    g.speed = 0xABCD;
    g.leaderHead = 5;
    g.paletteType = kPaletteJasc;
    ASSERT_TRUE(makeStoryboardInfo("/some/dir/Warrior.pcx", g, info));
    uint8_t b[kStoryboardInfoSize];
    std::memset(b, 0xEE, sizeof b);
    info.serialize(b);
    // The name and zeros to byte 64; sheet width and height, cell width and height, frames
    // per direction, directions, speed, offsets, image type, palette type, leader head (any
    // non-zero flag is stored as 1).
    Bytes expected(kStoryboardInfoSize, 0);
    std::memcpy(expected.data(), "Warrior", 7);
    const Bytes fields = {0x34, 0x12, 11, 0, kW, kH, kF, kD, 0xCD, 0xAB, 7, 9, 1, 2, 1};
    std::copy(fields.begin(), fields.end(), expected.begin() + 64);
    EXPECT_EQ(Bytes(b, b + sizeof b), expected);

    // 63 characters fit; 64 do not.
    EXPECT_TRUE(makeStoryboardInfo(std::string(63, 'a') + ".pcx", g, info));
    EXPECT_EQ(info.name(), std::string(63, 'a'));
    const std::string tooLong = "/d/" + std::string(64, 'a') + ".pcx";
    EXPECT_EQ(makeStoryboardInfo(tooLong, g, info).message, formatMessage(str::IDS_QSB_NAME_TOO_LONG, {tooLong}));

    // The usual names (Unit.pcx, Unit.act, Unit_Default.act, Unit.pal) are met by every
    // storyboard test; these are the unusual ones. A description file moved to another
    // name still finds its sheet through the base name, but its palettes through its own.
    EXPECT_EQ(storyboardSheetPath("/d/Copy.qsb", info), "/d/" + std::string(63, 'a') + ".pcx");
    EXPECT_EQ(storyboardPalettePath("/d/Copy.qsb", 3), "/d/Copy.");
    EXPECT_EQ(quantisationPalettePath("/d/Copy."), "/d/C_Defaultopy.");
}

TEST(StoryboardSheet, BlankSheetHasTheGridAndCellsInPlace)
{
    Palette256 pal = greyPalette();
    pal[0] = PaletteEntry::fromRgb(1, 1, 1);
    pal[17] = PaletteEntry::fromRgb(0, 0, 0);  // the entry nearest to black draws the grid
    const int sw = sheetWidthFor(kW, kF), sh = sheetHeightFor(kH, kD);
    Bitmap sheet;
    ASSERT_TRUE(CreateStoryboard(sw, sh, kW, kH, kD, kF, 8, pal, sheet));
    EXPECT_EQ(std::make_pair(sheet.width, sheet.height), std::make_pair(22, 11));
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) {
            const bool line = x % (kW + 1) == 0 || y % (kH + 1) == 0;
            ASSERT_EQ(getPixelValue(sheet, x, y), line ? 17u : 255u) << x << "," << y;
        }

    for (int k = 0; k < kD * kF; ++k) copyCellIn(sheet, kW, kH, k / kF, k % kF, cellPicture(k).data());
    // Cell (1, 2) starts at (1 + 2 * 7, 1 + 1 * 5); the grid is untouched.
    EXPECT_EQ(getPixelValue(sheet, 15, 6), cellPicture(5)[0]);
    EXPECT_EQ(getPixelValue(sheet, 20, 9), cellPicture(5)[23]);
    EXPECT_EQ(getPixelValue(sheet, 21, 6), 17u);
    std::vector<uint8_t> cell(kW * kH);
    // A cell partly outside the sheet keeps the outside pixels transparent.
    copyCellOut(sheet, kW, kH, 2, 3, cell.data());
    EXPECT_EQ(cell, std::vector<uint8_t>(kW * kH, 255));

    // The fill is entry 255's colour: an earlier entry of the same colour takes it, as the
    // all-black palette of a new storyboard without a palette file shows.
    Palette256 repeated = pal;
    repeated[40] = repeated[255];
    ASSERT_TRUE(CreateStoryboard(sw, sh, kW, kH, kD, kF, 8, repeated, sheet));
    EXPECT_EQ(getPixelValue(sheet, 1, 1), 40u);

    EXPECT_EQ(CreateStoryboard(sw, sh, kW, kH, 0, kF, 8, pal, sheet).message,
              "Some of the parameter(s) is/are not valid.");
}

TEST_F(StoryboardFiles, ChecksComeInOrderWithTheirMessages)
{
    writeStoryboard("Good");

    // A description of other than 79 bytes.
    Bytes qsb;
    ASSERT_TRUE(readWholeFile(path("Good.qsb"), qsb));
    qsb.push_back(0);
    ASSERT_TRUE(writeFileAtomic(path("Bad.qsb"), qsb));
    EXPECT_EQ(read("Bad.qsb").message, "Cannot read QSB file.\r\nInvalid or unsupported document format.");

    // A missing sheet is reported before zero sizes.
    StoryboardGeometry zero = geometry();
    zero.frameHeight = 0;
    EXPECT_EQ(readAfterDescribing("Lost.qsb", zero), "'" + path("Lost.pcx") + "'\nImage file isn't exist.");
    fs::copy_file(path("Good.pcx"), path("Lost.pcx"));
    EXPECT_EQ(read("Lost.qsb").message, "'" + path("Lost.qsb") + "'\nStoryboard contain invalid image sizes.");

    writeStoryboard("Bmp", kFormatBmp);
    // A PCX picture under the BMP name: wrong format.
    fs::copy_file(path("Good.pcx"), path("Fake.bmp"));
    EXPECT_EQ(readAfterDescribing("Fake.qsb", geometry(kFormatBmp)),
              "'" + path("Fake.bmp") + "'\nImage has a wrong file format.");

    // A sheet one pixel wider than its record says: wrong sizes, even with the cells intact.
    StoryboardGeometry narrow = geometry();
    narrow.sheetWidth -= 1;
    EXPECT_EQ(readAfterDescribing("Good.qsb", narrow),
              "'" + path("Good.pcx") +
                  "'\nImage has wrong sizes.\nNeeded: Width - 21, Height - 11.\nActual: Width - 22, Height - 11.");

    // A 4-bit sheet: wrong depth, before its format is looked at.
    Bytes bmp;
    ASSERT_TRUE(readWholeFile(path("Bmp.bmp"), bmp));
    Bytes fourBit = bmp;
    putLE16(&fourBit[28], 4);
    ASSERT_TRUE(writeFileAtomic(path("Four.pcx"), fourBit));
    EXPECT_EQ(readAfterDescribing("Four.qsb", geometry()),
              "'" + path("Four.pcx") +
                  "'\nImage has invalid color depth.\nNeeded - 24 or 8 bits per pixel.\nActual - 4 bits per pixel.");

    // A sheet whose pixels are cut short cannot be loaded.
    bmp.resize(bmp.size() - 40);
    ASSERT_TRUE(writeFileAtomic(path("Cut.bmp"), bmp));
    EXPECT_EQ(readAfterDescribing("Cut.qsb", geometry(kFormatBmp)),
              "'" + path("Cut.bmp") + "'\r\nCannot load image file.");
}

TEST_F(StoryboardFiles, CutsFramesWithPaletteFallbacks)
{
    writeStoryboard("Unit", kFormatPcx, 0);
    std::vector<std::vector<uint8_t>> pictures;
    for (int k = 0; k < kD * kF; ++k) pictures.push_back(cellPicture(k));

    // No palette file: the 8-bit sheet's own colours; speed 0 reads as 10.
    StoryboardFrames frames;
    ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), frames));
    EXPECT_EQ(frames.frames, pictures);
    EXPECT_EQ(frames.palette, greyPalette());
    EXPECT_EQ(frames.info.speed, 10);

    // The palette file wins when it is there.
    Palette256 own = greyPalette();
    own[12] = PaletteEntry::fromRgb(200, 100, 50);
    ASSERT_TRUE(ExportPaletteToFile(path("Unit.act"), own, kPaletteAct));
    ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), frames));
    EXPECT_EQ(frames.palette, own);

    // A 24-bit sheet needs a palette: without both files it fails with the quantisation path.
    Bitmap sheet;
    ASSERT_TRUE(readImageFile(path("Unit.pcx"), sheet));
    ASSERT_TRUE(writeImageFile(path("True.pcx"), sheet, kFormatPcx, 24));
    ASSERT_TRUE(writeStoryboardDescription(path("True.qsb"), geometry()));
    EXPECT_EQ(loadStoryboard(path("True.qsb"), frames).message,
              "'" + path("True_Default.act") + "'\r\nCannot load palette file.");
}
