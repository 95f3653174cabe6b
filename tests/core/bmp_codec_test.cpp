// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "core/strings.h"

using namespace qv;

namespace {

// A BMP with a 40-byte information header, built byte by byte. `rows` are the stored rows,
// padding included, in file order.
Bytes bmpFile(int32_t width, int32_t height, int bits, uint32_t compression, const std::vector<PaletteEntry>& palette,
              uint32_t colorsUsed, const Bytes& rows)
{
    Bytes f;
    ByteWriter w(f);
    const uint32_t offset = uint32_t(14 + 40 + 4 * palette.size());
    w.u8('B');
    w.u8('M');
    w.u32(uint32_t(offset + rows.size()));
    w.u32(0);
    w.u32(offset);
    w.u32(40);
    w.u32(uint32_t(width));
    w.u32(uint32_t(height));
    w.u16(1);
    w.u16(uint16_t(bits));
    w.u32(compression);
    w.u32(uint32_t(rows.size()));
    w.u32(0);
    w.u32(0);
    w.u32(colorsUsed);
    w.u32(0);
    for (const PaletteEntry& e : palette) {
        w.u8(e.blue);
        w.u8(e.green);
        w.u8(e.red);
        w.u8(0);
    }
    w.bytes(rows.data(), rows.size());
    return f;
}

}  // namespace

TEST(BmpCodec, RoundTripsOddWidthsAtBothDepths)
{
    for (int bits : {8, 24}) {
        for (int width : {1, 2, 3, 5, 17}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            Bitmap src = Bitmap::create(width, 3, bits);
            for (size_t i = 0; i < src.pixels.size(); ++i) src.pixels[i] = uint8_t(i * 13 + 1);
            for (int i = 0; i < 256; ++i) src.palette[size_t(i)] = PaletteEntry::fromRgb(uint8_t(i), 3, uint8_t(255 - i));
            Bytes file;
            ASSERT_TRUE(encodeBmp(src, file));
            const size_t stride = (size_t(width) * size_t(bits / 8) + 3) / 4 * 4;
            EXPECT_EQ(file.size(), 14 + 40 + (bits == 8 ? 1024 : 0) + stride * 3);
            EXPECT_EQ(getLE32(&file[2]), file.size());
            Bitmap back;
            ASSERT_TRUE(decodeBmp(file, back));
            EXPECT_EQ(back.width, width);
            EXPECT_EQ(back.height, 3);
            EXPECT_EQ(back.formatCode, kFormatBmp);
            EXPECT_EQ(back.pixels, src.pixels);
            if (bits == 8) {
                EXPECT_EQ(back.palette, src.palette);
            }
        }
    }
}

TEST(BmpCodec, FewColoursAreStillWrittenAsEightBitsWithAFullPalette)
{
    Bitmap src = Bitmap::create(4, 2, 8);
    src.pixels = {0, 1, 2, 1, 2, 1, 0, 0};
    src.palette[1] = PaletteEntry::fromRgb(255, 0, 0);
    src.palette[2] = PaletteEntry::fromRgb(0, 0, 255);
    src.colorCount = 3;
    Bytes file;
    ASSERT_TRUE(encodeBmp(src, file));
    EXPECT_EQ(getLE16(&file[28]), 8);       // bits per pixel
    EXPECT_EQ(getLE32(&file[46]), 256u);     // colours used
    EXPECT_EQ(getLE32(&file[10]), 14u + 40 + 1024);
    EXPECT_EQ(file[54 + 4 * 1 + 2], 255);   // colour 1 stored blue, green, red
    // Bottom-up: the first stored row is the picture's last.
    EXPECT_EQ(file[54 + 1024], 2);
}

TEST(BmpCodec, ReadsTopDownRowsAndShortPalettes)
{
    // 24-bit, 2 x 2, top-down: rows stored top first, each padded to 8 bytes.
    const Bytes rows{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    Bitmap bmp;
    ASSERT_TRUE(decodeBmp(bmpFile(2, -2, 24, 0, {}, 0, rows), bmp));
    EXPECT_EQ(bmp.pixels, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));

    // 8-bit with a 2-colour palette: the other 254 entries are black.
    const std::vector<PaletteEntry> pal{PaletteEntry::fromRgb(10, 20, 30), PaletteEntry::fromRgb(40, 50, 60)};
    ASSERT_TRUE(decodeBmp(bmpFile(3, 1, 8, 0, pal, 2, Bytes{1, 0, 1, 0}), bmp));
    EXPECT_EQ(bmp.colorCount, 2);
    EXPECT_EQ(bmp.palette[1], pal[1]);
    EXPECT_EQ(bmp.palette[2], PaletteEntry{});
    EXPECT_EQ(bmp.pixels, (Bytes{1, 0, 1}));

    // The last row may come without its padding.
    ASSERT_TRUE(decodeBmp(bmpFile(3, 2, 8, 0, pal, 2, Bytes{0, 1, 0, 0, 1, 1, 1}), bmp));
    EXPECT_EQ(bmp.pixels, (Bytes{1, 1, 1, 0, 1, 0}));
}

TEST(BmpCodec, RefusesWhatItCannotRead)
{
    Bitmap bmp;
    const Bytes fourBit = bmpFile(2, 2, 4, 0, std::vector<PaletteEntry>(16), 16, Bytes(8, 0));
    EXPECT_EQ(decodeBmp(fourBit, bmp).message, formatMessage(str::IDS_IMG_BMP_UNSUPPORTED, {4, 0}));
    ImageFileInfo info;
    ASSERT_TRUE(readImageInfo(fourBit.data(), fourBit.size(), info));  // but reports its depth
    EXPECT_EQ(info.bitsPerPixel, 4);
    EXPECT_EQ(info.formatCode, kFormatBmp);

    EXPECT_EQ(decodeBmp(bmpFile(2, 2, 8, 1, std::vector<PaletteEntry>(256), 0, Bytes(8, 0)), bmp).message,
              formatMessage(str::IDS_IMG_BMP_UNSUPPORTED, {8, 1}));
    EXPECT_EQ(decodeBmp(bmpFile(2, 2, 8, 0, std::vector<PaletteEntry>(4), 300, Bytes(8, 0)), bmp).message,
              str::IDS_IMG_BAD_BMP_HEADER);
    EXPECT_EQ(decodeBmp(bmpFile(2, 2, 8, 0, std::vector<PaletteEntry>(4), 4, Bytes(5, 0)), bmp).message,
              str::IDS_IMG_TRUNCATED);
    EXPECT_EQ(decodeBmp(bmpFile(2, 2, 8, 0, std::vector<PaletteEntry>(4), 200, Bytes(8, 0)), bmp).message,
              str::IDS_IMG_TRUNCATED);  // the palette runs off the end
    EXPECT_EQ(decodeBmp(bmpFile(0, 2, 24, 0, {}, 0, Bytes(8, 0)), bmp).message, str::IDS_IMG_BAD_BMP_HEADER);
    Bytes huge = bmpFile(2, 2, 24, 0, {}, 0, Bytes(16, 0));
    putLE32(&huge[10], 0xFFFFFFF0u);  // pixels said to start far past the end
    EXPECT_EQ(decodeBmp(huge, bmp).message, str::IDS_IMG_TRUNCATED);
    putLE32(&huge[22], 0x80000000u);  // the most negative height
    EXPECT_FALSE(decodeBmp(huge, bmp));
    const Bytes notBmp{'B', 'A', 0, 0};
    EXPECT_EQ(decodeImage(notBmp.data(), notBmp.size(), bmp).message, str::IDS_IMG_UNKNOWN_FORMAT);
}
