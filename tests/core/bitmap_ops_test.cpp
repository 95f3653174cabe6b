// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/quantize.h"
#include "core/strings.h"

using namespace qv;

namespace {

Bitmap rgbBitmap(int width, int height, std::initializer_list<uint32_t> colours)
{
    Bitmap b = Bitmap::create(width, height, 24);
    int i = 0;
    for (uint32_t c : colours) setPixelValue(b, i % width, i / width, c), ++i;
    return b;
}

// The pixels' colours, rows top to bottom.
std::vector<uint32_t> coloursOf(const Bitmap& b)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) out.push_back(getPixelColor(b, x, y));
    return out;
}

}  // namespace

TEST(BitmapOps, CopiesBetweenDepthsAndClipsToBothBitmaps)
{
    Bitmap indexed = Bitmap::create(3, 2, 8);
    indexed.pixels = {0, 1, 2, 2, 1, 0};
    indexed.palette[1] = PaletteEntry::fromRgb(200, 0, 0);
    indexed.palette[2] = PaletteEntry::fromRgb(0, 0, 200);

    Bitmap rgb = Bitmap::create(4, 4, 24);
    fillBitmap(rgb, 0x00FF00);
    copyRect(indexed, Rect{-1, 0, 3, 5}, rgb, 2, 3);  // clipped to 2 x 1 at (3, 3) from (0, 0)
    copyRect(indexed, Rect{0, 0, 3, 2}, rgb, 0, 0);
    const uint32_t g = 0x00FF00;
    EXPECT_EQ(coloursOf(rgb), (std::vector<uint32_t>{0, 0xC80000, 0xC8, g, 0xC8, 0xC80000, 0, g, g, g, g, g, g, g, g, 0}));

    // Colours back into indices: nearest colour of the target's palette.
    Bitmap target = Bitmap::create(3, 2, 8);
    target.palette = indexed.palette;
    setPixelValue(rgb, 2, 1, 0x1000F0);
    copyRect(rgb, Rect{0, 0, 3, 2}, target, 0, 0);
    EXPECT_EQ(target.pixels, (Bytes{0, 1, 2, 2, 1, 2}));

    // Indices into indices are copied as they are, whatever the palettes.
    Bitmap other = Bitmap::create(2, 2, 8);  // a black palette: mapping colours would give zeros
    copyRect(indexed, Rect{1, 0, 2, 2}, other, 0, 0);
    EXPECT_EQ(other.pixels, (Bytes{1, 2, 1, 0}));

    const Bitmap region = copyRegion(indexed, Rect{2, -5, 10, 10});
    EXPECT_EQ(region.width, 1);
    EXPECT_EQ(region.pixels, (Bytes{2, 0}));
}

TEST(BitmapOps, KeyedCombineFillResizeTrimAndFlip)
{
    Bitmap src = Bitmap::create(3, 1, 8);
    src.pixels = {255, 4, 255};
    Bitmap dst = Bitmap::create(3, 1, 8);
    fillBitmap(dst, 9);
    combineRect(src, Rect{0, 0, 3, 1}, dst, 0, 0, CombineMode::Keyed, 255);
    EXPECT_EQ(dst.pixels, (Bytes{9, 4, 9}));
    combineRect(src, Rect{0, 0, 3, 1}, dst, 0, 0, CombineMode::Copy);
    EXPECT_EQ(dst.pixels, (Bytes{255, 4, 255}));
    fillRect(dst, Rect{2, -3, 100, 100}, 1);
    EXPECT_EQ(dst.pixels, (Bytes{255, 4, 1}));

    // Nearest resizing keeps the indices and picks source pixels by integer scale.
    Bitmap b = Bitmap::create(3, 2, 8);
    b.pixels = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(resizeBitmap(b, 6, 4));
    EXPECT_EQ(b.pixels, (Bytes{1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 4, 4, 5, 5, 6, 6}));
    ASSERT_TRUE(resizeBitmap(b, 4, 1));  // x * 6 / 4 = 0, 1, 3, 4
    EXPECT_EQ(b.pixels, (Bytes{1, 1, 2, 3}));
    EXPECT_FALSE(resizeBitmap(b, 0, 3));
    Bitmap ramp = rgbBitmap(2, 1, {0x000000, 0xFFFFFF});
    ASSERT_TRUE(resizeBitmap(ramp, 4, 1, ResizeMode::Bilinear));
    EXPECT_EQ(getPixelValue(ramp, 1, 0), 0x404040u);  // a quarter of the way
    EXPECT_EQ(getPixelValue(ramp, 3, 0), 0xFFFFFFu);

    Bitmap pic = rgbBitmap(3, 2, {1, 2, 3, 4, 5, 6});
    Bitmap flipped = pic;
    flipHorizontal(flipped);
    EXPECT_EQ(coloursOf(flipped), (std::vector<uint32_t>{3, 2, 1, 6, 5, 4}));
    flipVertical(flipped);
    EXPECT_EQ(coloursOf(flipped), (std::vector<uint32_t>{6, 5, 4, 3, 2, 1}));
    EXPECT_FALSE(trimBitmap(pic, Rect{2, 0, 2, 1}));  // reaches outside
    EXPECT_FALSE(trimBitmap(pic, Rect{0, 0, 0, 1}));
    ASSERT_TRUE(trimBitmap(pic, Rect{1, 1, 2, 1}));
    EXPECT_EQ(pic.width, 2);
    EXPECT_EQ(coloursOf(pic), (std::vector<uint32_t>{5, 6}));
}

TEST(BitmapOps, MapsToTheNearestColoursAndMakesGreyAndBlackAndWhiteCopies)
{
    Palette256 far;  // all black apart from:
    far[9] = PaletteEntry::fromRgb(90, 0, 0);
    far[10] = PaletteEntry::fromRgb(85, 5, 5);
    // Squared distances, not summed differences: 10 is 75 away, 9 is 81.
    EXPECT_EQ(nearestPaletteIndex(far, 256, 80, 0, 0), 10);
    EXPECT_EQ(nearestPaletteIndex(far, 10, 80, 0, 0), 9);  // only the first ten entries count

    Palette256 pal;
    pal[0] = PaletteEntry::fromRgb(255, 255, 255);
    pal[1] = PaletteEntry::fromRgb(255, 0, 0);
    const Bitmap src = rgbBitmap(3, 1, {0xF00000, 0xFFFFFF, 0x202020});
    const Bitmap mapped = mapToPalette(src, pal);
    EXPECT_EQ(mapped.pixels, (Bytes{1, 0, 2}));  // dark grey: the first of the black entries, a tie
    EXPECT_EQ(expandTo24(mapped).pixels, (Bytes{255, 0, 0, 255, 255, 255, 0, 0, 0}));

    const Bitmap grey = toGrayscale(src);
    EXPECT_EQ(grey.pixels, (Bytes{72, 255, 32}));  // (299 * 240 + 500) / 1000 = 72
    EXPECT_EQ(grey.palette[72], PaletteEntry::fromRgb(72, 72, 72));
    const Bitmap bw = toBlackAndWhite(src);
    EXPECT_EQ(bw.pixels, (Bytes{0, 1, 0}));
    EXPECT_EQ(bw.palette[1], PaletteEntry::fromRgb(255, 255, 255));
}

// Beyond the limit libimagequant reduces; quorvane-cli anim's GIF of many colours checks
// its result against the original frames.
TEST(Quantize, FewColoursKeepTheirExactValuesAlsoWhenSavedAtEightBits)
{
    Bitmap src = Bitmap::create(40, 10, 24);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x) setPixelValue(src, x, y, uint32_t(((x * 7 + y) % 200) * 0x010203));
    Bitmap out;
    ASSERT_TRUE(reduceTo8Bit(src, out));
    EXPECT_EQ(out.colorCount, 200);
    EXPECT_EQ(out.palette[1].rgb(), 7u * 0x010203);  // in the order first met
    EXPECT_EQ(coloursOf(out), coloursOf(src));

    // Saved at 8 bits the colours are reduced the same way.
    Bytes file;
    ASSERT_TRUE(encodeImage(src, kFormatBmp, 8, file));
    Bitmap back;
    ASSERT_TRUE(decodeImage(file.data(), file.size(), back));
    ASSERT_EQ(back.bitsPerPixel, 8);
    EXPECT_EQ(coloursOf(back), coloursOf(src));
    EXPECT_EQ(encodeImage(src, 3, 8, file).message, formatMessage(str::IDS_IMG_BAD_FORMAT_CODE, {3}));

    Bitmap indexed = Bitmap::create(2, 1, 8);  // an 8-bit picture is taken as it is
    indexed.pixels = {3, 4};
    ASSERT_TRUE(reduceTo8Bit(indexed, out));
    EXPECT_EQ(out.pixels, indexed.pixels);
    EXPECT_FALSE(reduceTo8Bit(Bitmap{}, out));
}

TEST(ColourAdjust, RangesEndsAndIdentityOnColoursAndBitmaps)
{
    for (uint32_t c : {0x000000u, 0xFFFFFFu, 0x804020u, 0x7F7F7Fu}) {
        for (auto adjust : {adjustIntensity, adjustContrast, adjustHue, adjustSaturation}) EXPECT_EQ(adjust(c, 0), c);
        EXPECT_EQ(adjustIntensity(c, 1000), 0xFFFFFFu);
        EXPECT_EQ(adjustContrast(c, -1000), 0x808080u);
    }
    EXPECT_EQ(adjustIntensity(0x804020, 100), 0x9A5A3Au);  // +26 each (255 x 0.1 = 25.5, rounded up)
    EXPECT_EQ(adjustContrast(0x804020, 1000), 0xFF0000u);   // threshold at 128
    EXPECT_EQ(adjustContrast(0x804020, 500), 0x800000u);    // factor 2: 128, 0, 0 after clamping
    EXPECT_EQ(adjustContrast(0x904070, -500), 0x886078u);   // halfway to 128
    EXPECT_EQ(adjustHue(0xFF0000, 120), 0x00FF00u);
    EXPECT_EQ(adjustHue(0x808080, 90), 0x808080u);  // greys have no hue
    EXPECT_EQ(adjustSaturation(0xFF0000, -1000), 0x808080u);
    EXPECT_EQ(adjustSaturation(0xBF4040, 1000), 0xFF0000u);  // lightness exactly 0.5
    EXPECT_EQ(adjustSaturation(0x555555, 1000), 0x555555u);

    // 8-bit bitmaps change their palette, not their indices.
    Bitmap indexed = Bitmap::create(2, 1, 8);
    indexed.pixels = {1, 2};
    indexed.palette[1] = PaletteEntry::fromRgb(255, 0, 0);
    changeHue(indexed, 120);
    EXPECT_EQ(indexed.pixels, (Bytes{1, 2}));
    EXPECT_EQ(indexed.palette[1], PaletteEntry::fromRgb(0, 255, 0));
    Bitmap strip = rgbBitmap(2, 1, {0x102030, 0xF0E0D0});
    changeIntensity(strip, -1000);
    EXPECT_EQ(coloursOf(strip), std::vector<uint32_t>(2, 0));
}
