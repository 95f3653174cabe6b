// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/bitmap.h"
#include "core/file_io.h"
#include "core/pcx_codec.h"
#include "core/pcx_picture.h"

using namespace qv;

namespace {

// A 3 x 2 picture with 4 bytes per line (one padding byte), coded by hand, with or
// without the palette block.
Bytes smallPcx(bool withPalette)
{
    Bytes f(kPcxHeaderSize, 0);
    f[0] = 10;
    f[1] = 5;
    f[2] = 1;
    f[3] = 8;
    putLE16(&f[4], 10);  // the window need not start at 0
    putLE16(&f[6], 20);
    putLE16(&f[8], 12);
    putLE16(&f[10], 21);
    f[65] = 1;
    putLE16(&f[66], 4);
    for (uint8_t b : {5, 6, 0xC1, 0xC8, 0}) f.push_back(b);  // 5 6 200 | 0
    for (uint8_t b : {0xC4, 7}) f.push_back(b);              // 7 7 7 | 7
    if (withPalette) {
        f.push_back(12);
        for (int i = 0; i < 256; ++i) {
            f.push_back(uint8_t(i));
            f.push_back(uint8_t(i / 2));
            f.push_back(uint8_t(255 - i));
        }
    }
    return f;
}

}  // namespace

TEST(PcxPicture, LoadsPixelsPaletteAndBitmapInfo)
{
    PcxPicture pic;
    ASSERT_TRUE(pic.loadFromMemory(smallPcx(true)));
    EXPECT_EQ(pic.width(), 3);
    EXPECT_EQ(pic.height(), 2);
    EXPECT_EQ(pic.planes(), 1);
    EXPECT_EQ(pic.bitsPerPixel(), 8);
    EXPECT_EQ(pic.pixels(), (Bytes{5, 6, 200, 7, 7, 7}));
    EXPECT_EQ(pic.palette()[200], PaletteEntry::fromRgb(200, 100, 55));
    const Bytes& bi = pic.bitmapInfo();
    ASSERT_EQ(bi.size(), PcxPicture::kBitmapInfoSize);
    EXPECT_EQ(getLE32(&bi[0]), 40u);
    EXPECT_EQ(getLE32(&bi[4]), 3u);
    EXPECT_EQ(getLE32(&bi[8]), 2u);
    EXPECT_EQ(getLE16(&bi[12]), 1);
    EXPECT_EQ(getLE16(&bi[14]), 8);
    EXPECT_EQ(getLE32(&bi[16]), 0u);
    EXPECT_EQ(bi[40 + 4 * 200], 55);  // blue, green, red, 0
    EXPECT_EQ(bi[40 + 4 * 200 + 2], 200);
    EXPECT_EQ(bi[40 + 4 * 200 + 3], 0);
    EXPECT_EQ(pic.fileBytes(), smallPcx(true));

    // Into a surface with a wider pitch: blue, green, red, 255; the gap stays untouched.
    Bytes surface(2 * 16, 0xEE);
    ASSERT_TRUE(pic.copyTo32(surface.data(), 16));
    EXPECT_EQ((Bytes(surface.begin() + 8, surface.begin() + 16)), (Bytes{55, 100, 200, 255, 0xEE, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(surface[16], 248);  // colour 7's blue

    pic.release();
    EXPECT_FALSE(pic.loaded());
    EXPECT_TRUE(pic.pixels().empty());
    EXPECT_FALSE(pic.copyTo32(surface.data(), 16));
}

TEST(PcxPicture, MissingPaletteMarkerGivesBlackColours)
{
    PcxPicture pic;
    Bytes f = smallPcx(true);
    f[f.size() - 769] = 11;
    ASSERT_TRUE(pic.loadFromMemory(f));
    EXPECT_EQ(pic.palette(), Palette256{});
    ASSERT_TRUE(pic.loadFromMemory(smallPcx(false)));  // a file shorter than the block
    EXPECT_EQ(pic.palette(), Palette256{});
}

TEST(PcxPicture, RefusesBadLinesPlanesDepthsAndTruncation)
{
    PcxPicture pic;
    Bytes overrun = smallPcx(false);
    overrun[kPcxHeaderSize + 2] = 0xC3;  // 5 6 then a run of 3 into 2 remaining bytes
    EXPECT_FALSE(pic.loadFromMemory(overrun));
    EXPECT_FALSE(pic.loaded());

    Bytes shortLine = smallPcx(false);
    putLE16(&shortLine[66], 5);  // the runs no longer add up to a line
    EXPECT_FALSE(pic.loadFromMemory(shortLine));

    Bytes planes = smallPcx(true);
    planes[65] = 3;
    EXPECT_FALSE(pic.loadFromMemory(planes));
    Bytes deep = smallPcx(true);
    deep[3] = 16;
    EXPECT_FALSE(pic.loadFromMemory(deep));
    Bytes narrow = smallPcx(true);
    putLE16(&narrow[66], 2);  // fewer bytes per line than pixels
    EXPECT_FALSE(pic.loadFromMemory(narrow));

    const Bytes full = smallPcx(false);
    for (size_t cut = 0; cut < full.size(); ++cut) {
        EXPECT_FALSE(pic.loadFromMemory(full.data(), cut)) << cut;
    }
}

TEST(PcxPicture, LoadsFromAFileAndFailsOnBadPaths)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("qv_pic_" + std::to_string(::getpid()) + ".pcx")).string();
    Bitmap bmp = Bitmap::create(240, 240, 8);
    for (size_t i = 0; i < bmp.pixels.size(); ++i) bmp.pixels[i] = uint8_t(i % 251);
    bmp.palette[250] = PaletteEntry::fromRgb(1, 2, 3);
    ASSERT_TRUE(writePcxFile(path, bmp, 8));
    PcxPicture pic;
    ASSERT_TRUE(pic.load(path));
    EXPECT_EQ(pic.pixels(), bmp.pixels);
    EXPECT_EQ(pic.palette(), bmp.palette);
    std::filesystem::remove(path);
    EXPECT_FALSE(pic.load(path));
    EXPECT_FALSE(pic.load(""));
}
