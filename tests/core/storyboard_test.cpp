// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/file_io.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

constexpr int kW = 5, kH = 3, kF = 4, kD = 2;

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

StoryboardGeometry geometry()
{
    StoryboardGeometry g;
    g.sheetWidth = sheetWidthFor(kW, kF);
    g.sheetHeight = sheetHeightFor(kH, kD);
    g.frameWidth = kW;
    g.frameHeight = kH;
    g.framesPerDirection = kF;
    g.directions = kD;
    g.speed = 120;
    g.leftOffset = 7;
    g.topOffset = 9;
    g.imageType = kFormatPcx;
    g.paletteType = kPaletteAct;
    return g;
}

class StoryboardFiles : public qv::test::ScratchTest {
protected:

    // An 8-bit gridded sheet holding cellPicture(k) in every cell, with its description.
    Bitmap writeStoryboard(const std::string& name, const StoryboardGeometry& g, int format = kFormatPcx)
    {
        Bitmap sheet;
        EXPECT_TRUE(CreateStoryboard(g.sheetWidth, g.sheetHeight, kW, kH, kD, kF, 8, greyPalette(), sheet));
        for (int k = 0; k < kD * kF; ++k) copyCellIn(sheet, kW, kH, k / kF, k % kF, cellPicture(k).data());
        StoryboardGeometry gg = g;
        gg.imageType = format;
        EXPECT_TRUE(writeImageFile(path(name + sheetExtension(format)), sheet, format, 8));
        EXPECT_TRUE(writeStoryboardDescription(path(name + ".qsb"), gg));
        return sheet;
    }

    Status read(const std::string& qsb)
    {
        StoryboardInfo info;
        Bitmap sheet;
        return StoryboardToFlc(path(qsb), info, sheet);
    }
};

}  // namespace

TEST(StoryboardRecord, SeventyNineBytesAtTheirOffsets)
{
    StoryboardInfo info;
    StoryboardGeometry g = geometry();
    g.sheetWidth = 0x1234;
    g.speed = 0xABCD;
    g.leaderHead = 5;
    g.paletteType = kPaletteJasc;
    ASSERT_TRUE(makeStoryboardInfo("/some/dir/Warrior.pcx", g, info));
    EXPECT_EQ(info.name(), "Warrior");
    uint8_t b[kStoryboardInfoSize];
    std::memset(b, 0xEE, sizeof b);
    info.serialize(b);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 8), std::string("Warrior\0", 8));
    for (int i = 8; i < 64; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(getLE16(b + 64), 0x1234);
    EXPECT_EQ(getLE16(b + 66), sheetHeightFor(kH, kD));
    EXPECT_EQ(b[68], kW);
    EXPECT_EQ(b[69], kH);
    EXPECT_EQ(b[70], kF);
    EXPECT_EQ(b[71], kD);
    EXPECT_EQ(getLE16(b + 72), 0xABCD);
    EXPECT_EQ(b[74], 7);
    EXPECT_EQ(b[75], 9);
    EXPECT_EQ(b[76], 1);
    EXPECT_EQ(b[77], 2);
    EXPECT_EQ(b[78], 1);  // any non-zero flag is stored as 1

    StoryboardInfo back;
    ASSERT_TRUE(StoryboardInfo::parse(b, sizeof b, back));
    uint8_t again[kStoryboardInfoSize];
    back.serialize(again);
    EXPECT_EQ(0, std::memcmp(b, again, sizeof b));
    EXPECT_FALSE(StoryboardInfo::parse(b, 78, back));

    // 63 characters fit; 64 do not.
    EXPECT_TRUE(makeStoryboardInfo(std::string(63, 'a') + ".pcx", g, info));
    EXPECT_EQ(info.name(), std::string(63, 'a'));
    const std::string tooLong = "/d/" + std::string(64, 'a') + ".pcx";
    const Status st = makeStoryboardInfo(tooLong, g, info);
    EXPECT_FALSE(st);
    EXPECT_EQ(st.message, formatMessage(str::IDS_QSB_NAME_TOO_LONG, {tooLong}));
}

TEST(StoryboardNaming, SheetByBaseNamePalettesByOwnName)
{
    EXPECT_EQ(qsbPathFor("/d/Warrior.pcx"), "/d/Warrior.qsb");
    StoryboardInfo info;
    std::memcpy(info.baseName, "Warrior", 7);
    info.imageType = kFormatPcx;
    // A description file moved to another name still finds its sheet through the base name.
    EXPECT_EQ(storyboardSheetPath("/d/Copy.qsb", info), "/d/Warrior.pcx");
    info.imageType = 6;
    EXPECT_EQ(storyboardSheetPath("/d/Copy.qsb", info), "/d/Warrior.bmp");
    info.imageType = 9;  // anything but 1 is a BMP sheet
    EXPECT_EQ(storyboardSheetPath("Copy.qsb", info), "Warrior.bmp");
    // ... but its palettes through its own name.
    EXPECT_EQ(storyboardPalettePath("/d/Copy.qsb", kPaletteAct), "/d/Copy.act");
    EXPECT_EQ(storyboardPalettePath("/d/Copy.qsb", kPaletteRiff), "/d/Copy.pal");
    EXPECT_EQ(storyboardPalettePath("/d/Copy.qsb", kPaletteJasc), "/d/Copy.pal");
    EXPECT_EQ(storyboardPalettePath("/d/Copy.qsb", 3), "/d/Copy.");
    EXPECT_EQ(quantisationPalettePath("/d/Warrior.act"), "/d/Warrior_Default.act");
    EXPECT_EQ(quantisationPalettePath("/d/Copy."), "/d/C_Defaultopy.");
}

TEST(StoryboardSheet, BlankSheetHasTheGridAndCellsInPlace)
{
    Palette256 pal = greyPalette();
    pal[0] = PaletteEntry::fromRgb(1, 1, 1);
    pal[17] = PaletteEntry::fromRgb(0, 0, 0);  // the entry nearest to black draws the grid
    const int sw = sheetWidthFor(kW, kF), sh = sheetHeightFor(kH, kD);
    EXPECT_EQ(sw, 25);
    EXPECT_EQ(sh, 9);
    Bitmap sheet;
    ASSERT_TRUE(CreateStoryboard(sw, sh, kW, kH, kD, kF, 8, pal, sheet));
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) {
            const bool line = x % (kW + 1) == 0 || y % (kH + 1) == 0;
            ASSERT_EQ(getPixelValue(sheet, x, y), line ? 17u : 255u) << x << "," << y;
        }
    EXPECT_EQ(sheet.palette, pal);

    for (int k = 0; k < kD * kF; ++k) copyCellIn(sheet, kW, kH, k / kF, k % kF, cellPicture(k).data());
    // Cell (1, 2) starts at (1 + 2 * 6, 1 + 1 * 4).
    EXPECT_EQ(getPixelValue(sheet, 13, 5), cellPicture(6)[0]);
    EXPECT_EQ(getPixelValue(sheet, 17, 7), cellPicture(6)[14]);
    EXPECT_EQ(getPixelValue(sheet, 18, 5), 17u);  // the grid is untouched
    std::vector<uint8_t> cell(kW * kH);
    copyCellOut(sheet, kW, kH, 1, 2, cell.data());
    EXPECT_EQ(cell, cellPicture(6));
    // A cell partly outside the sheet keeps the outside pixels transparent.
    copyCellOut(sheet, kW, kH, 2, 3, cell.data());
    EXPECT_EQ(cell, std::vector<uint8_t>(kW * kH, 255));

    // The fill is entry 255's colour: an earlier entry of the same colour takes it, as the
    // all-black palette of a new storyboard without a palette file shows.
    Palette256 repeated = pal;
    repeated[40] = repeated[255];
    ASSERT_TRUE(CreateStoryboard(sw, sh, kW, kH, kD, kF, 8, repeated, sheet));
    EXPECT_EQ(getPixelValue(sheet, 1, 1), 40u);
    EXPECT_EQ(getPixelValue(sheet, 0, 0), 17u);
    ASSERT_TRUE(CreateStoryboard(sw, sh, kW, kH, kD, kF, 8, Palette256{}, sheet));
    EXPECT_EQ(getPixelValue(sheet, 1, 1), 0u);

    Bitmap rgb;
    ASSERT_TRUE(CreateStoryboard(sw, sh, kW, kH, kD, kF, 24, pal, rgb));
    EXPECT_EQ(getPixelValue(rgb, 1, 1), 0xFF00FFu);
    EXPECT_EQ(getPixelValue(rgb, 6, 2), 0u);

    for (int zero = 0; zero < 6; ++zero) {
        int a[6] = {sw, sh, kW, kH, kD, kF};
        a[zero] = 0;
        const Status st = CreateStoryboard(a[0], a[1], a[2], a[3], a[4], a[5], 8, pal, sheet);
        EXPECT_FALSE(st);
        EXPECT_EQ(st.message, "Some of the parameter(s) is/are not valid.");
    }
}

TEST_F(StoryboardFiles, ChecksComeInOrderWithTheirMessages)
{
    const StoryboardGeometry g = geometry();
    writeStoryboard("Good", g);
    EXPECT_TRUE(read("Good.qsb"));

    // The description: 78 or 80 bytes.
    Bytes qsb;
    ASSERT_TRUE(readWholeFile(path("Good.qsb"), qsb));
    for (size_t n : {size_t(78), size_t(80)}) {
        Bytes b = qsb;
        b.resize(n);
        ASSERT_TRUE(writeFileAtomic(path("Bad.qsb"), b));
        EXPECT_EQ(read("Bad.qsb").message, "Cannot read QSB file.\r\nInvalid or unsupported document format.");
    }
    EXPECT_EQ(read("None.qsb").message, "Cannot read QSB file.\r\nInvalid or unsupported document format.");

    // A missing sheet is reported before zero sizes.
    StoryboardGeometry zero = g;
    zero.frameHeight = 0;
    ASSERT_TRUE(writeStoryboardDescription(path("Lost.qsb"), zero));
    EXPECT_EQ(read("Lost.qsb").message, "'" + path("Lost.pcx") + "'\nImage file isn't exist.");
    fs::copy_file(path("Good.pcx"), path("Lost.pcx"));
    EXPECT_EQ(read("Lost.qsb").message, "'" + path("Lost.qsb") + "'\nStoryboard contain invalid image sizes.");

    // A BMP sheet named in a record whose image type is PCX is looked for as .pcx.
    writeStoryboard("Bmp", g, kFormatBmp);
    EXPECT_TRUE(read("Bmp.qsb"));
    StoryboardGeometry pcxType = g;
    ASSERT_TRUE(writeStoryboardDescription(path("Bmp.qsb"), pcxType));
    EXPECT_EQ(read("Bmp.qsb").message, "'" + path("Bmp.pcx") + "'\nImage file isn't exist.");

    // A PCX picture under the BMP name: wrong format.
    StoryboardGeometry bmpType = g;
    bmpType.imageType = kFormatBmp;
    fs::copy_file(path("Good.pcx"), path("Fake.bmp"));
    ASSERT_TRUE(writeStoryboardDescription(path("Fake.qsb"), bmpType));
    EXPECT_EQ(read("Fake.qsb").message, "'" + path("Fake.bmp") + "'\nImage has a wrong file format.");

    // One extra column: wrong sizes, even with the cells intact.
    Bitmap wide;
    ASSERT_TRUE(readImageFile(path("Good.pcx"), wide));
    ASSERT_TRUE(resizeBitmap(wide, wide.width + 1, wide.height));
    ASSERT_TRUE(writeImageFile(path("Wide.pcx"), wide, kFormatPcx, 8));
    ASSERT_TRUE(writeStoryboardDescription(path("Wide.qsb"), g));
    EXPECT_EQ(read("Wide.qsb").message, "'" + path("Wide.pcx") +
                                            "'\nImage has wrong sizes.\nNeeded: Width - 25, Height - 9.\nActual: "
                                            "Width - 26, Height - 9.");

    // A 4-bit sheet: wrong depth, before its format is looked at.
    Bytes bmp;
    ASSERT_TRUE(readWholeFile(path("Bmp.bmp"), bmp));
    Bytes fourBit = bmp;
    putLE16(&fourBit[28], 4);
    ASSERT_TRUE(writeFileAtomic(path("Four.pcx"), fourBit));
    ASSERT_TRUE(writeStoryboardDescription(path("Four.qsb"), g));
    EXPECT_EQ(read("Four.qsb").message, "'" + path("Four.pcx") +
                                            "'\nImage has invalid color depth.\nNeeded - 24 or 8 bits per "
                                            "pixel.\nActual - 4 bits per pixel.");

    // A sheet whose pixels are cut short cannot be loaded.
    Bytes cut = bmp;
    cut.resize(cut.size() - 40);
    ASSERT_TRUE(writeFileAtomic(path("Cut.bmp"), cut));
    ASSERT_TRUE(writeStoryboardDescription(path("Cut.qsb"), bmpType));
    EXPECT_EQ(read("Cut.qsb").message, "'" + path("Cut.bmp") + "'\r\nCannot load image file.");
}

TEST_F(StoryboardFiles, CutsFramesWithPaletteFallbacks)
{
    StoryboardGeometry g = geometry();
    g.speed = 0;
    writeStoryboard("Unit", g);

    // No palette file: the 8-bit sheet's own colours; speed 0 reads as 10.
    StoryboardFrames frames;
    ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), frames));
    ASSERT_EQ(frames.frames.size(), size_t(kD * kF));
    for (int k = 0; k < kD * kF; ++k) EXPECT_EQ(frames.frames[k], cellPicture(k)) << k;
    EXPECT_EQ(frames.palette, greyPalette());
    EXPECT_EQ(frames.keyColour, PaletteEntry::fromRgb(255, 0, 255));
    EXPECT_EQ(frames.info.speed, 10);
    EXPECT_EQ(frames.info.leftOffset, 7);

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
    ASSERT_TRUE(writeStoryboardDescription(path("True.qsb"), g));
    Status st = loadStoryboard(path("True.qsb"), frames);
    EXPECT_EQ(st.message, "'" + path("True_Default.act") + "'\r\nCannot load palette file.");

    // With only the quantisation palette, it is both the palette and the colour map:
    // colours of the sheet come back as their nearest entries.
    Palette256 quant = greyPalette();
    for (int i = 0; i < 255; ++i) quant[i] = PaletteEntry::fromRgb(uint8_t(255 - i), uint8_t(255 - i), uint8_t(255 - i));
    ASSERT_TRUE(ExportPaletteToFile(path("True.act"), quant, kPaletteAct, "_Default"));
    ASSERT_TRUE(loadStoryboard(path("True.qsb"), frames));
    EXPECT_EQ(frames.palette, quant);
    for (int k = 0; k < kD * kF; ++k) {
        std::vector<uint8_t> expect = cellPicture(k);
        for (auto& v : expect) v = static_cast<uint8_t>(255 - v);
        EXPECT_EQ(frames.frames[k], expect) << k;
    }

    // A palette type of 3 names no palette file; an 8-bit sheet falls back to its colours.
    StoryboardGeometry odd = g;
    odd.paletteType = 3;
    ASSERT_TRUE(writeStoryboardDescription(path("Unit.qsb"), odd));
    ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), frames));
    EXPECT_EQ(frames.palette, greyPalette());
}
