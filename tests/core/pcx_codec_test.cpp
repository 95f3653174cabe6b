// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "core/bitmap.h"
#include "core/file_io.h"
#include "core/pcx_codec.h"
#include "core/strings.h"

using namespace qv;

namespace {

// A bitmap whose pixels cover every byte value, runs longer than 63 and bytes >= 0xC0.
Bitmap patterned(int width, int height, int bits)
{
    Bitmap b = Bitmap::create(width, height, bits);
    for (size_t i = 0; i < b.pixels.size(); ++i) b.pixels[i] = (i / 70) % 3 == 0 ? 0xC7 : uint8_t(i * 31 + i / 7);
    for (int i = 0; i < 256; ++i) b.palette[size_t(i)] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(255 - i), uint8_t(i ^ 0x5A));
    return b;
}

// A PCX header for hand-built files.
Bytes pcxHeader(int width, int height, int bits, int planes, int bytesPerLine)
{
    Bytes h(kPcxHeaderSize, 0);
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = uint8_t(bits);
    putLE16(&h[8], uint16_t(width - 1));
    putLE16(&h[10], uint16_t(height - 1));
    h[65] = uint8_t(planes);
    putLE16(&h[66], uint16_t(bytesPerLine));
    return h;
}

std::string tempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("qv_pcx_") + std::to_string(::getpid()) + name)).string();
}

}  // namespace

TEST(PcxRle, CodesRunsAndHighBytesAndDecodesThemBack)
{
    Bytes in(130, 7);  // one run longer than 63 must be split
    in.push_back(0xC0);  // a single byte with the top bits set needs a count
    in.push_back(1);
    Bytes coded;
    encodePcxRle(in.data(), in.size(), coded);
    EXPECT_EQ(coded, (Bytes{0xFF, 7, 0xFF, 7, 0xC4, 7, 0xC1, 0xC0, 1}));
    Bytes back(in.size());
    size_t pos = 0;
    ASSERT_TRUE(decodePcxRle(coded.data(), coded.size(), pos, back.data(), back.size()));
    EXPECT_EQ(back, in);
    EXPECT_EQ(pos, coded.size());
}

TEST(PcxRle, RefusesRunsPastTheLineAndDataThatEnds)
{
    const Bytes overrun{0xC5, 9};  // 5 bytes into a 4-byte line
    uint8_t line[4];
    size_t pos = 0;
    bool tooLong = false;
    EXPECT_FALSE(decodePcxRle(overrun.data(), overrun.size(), pos, line, 4, &tooLong));
    EXPECT_TRUE(tooLong);
    const Bytes cut{1, 2, 0xC3};  // the run's value byte is missing
    pos = 0;
    EXPECT_FALSE(decodePcxRle(cut.data(), cut.size(), pos, line, 4, &tooLong));
    EXPECT_FALSE(tooLong);
    EXPECT_EQ(pos, cut.size());
    const Bytes zeroRun{0xC0, 5, 1, 2, 3, 4};  // an empty run adds nothing
    pos = 0;
    EXPECT_TRUE(decodePcxRle(zeroRun.data(), zeroRun.size(), pos, line, 4));
    EXPECT_EQ(line[0], 1);
    EXPECT_EQ(line[3], 4);
}

TEST(PcxCodec, RoundTripsOddWidthsAtBothDepths)
{
    for (int bits : {8, 24}) {
        for (int width : {1, 3, 64, 131}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            const Bitmap src = patterned(width, 5, bits);
            Bytes file;
            ASSERT_TRUE(encodePcx(src, file));
            Bitmap back;
            const Status st = decodePcx(file, back);
            ASSERT_TRUE(st) << st.message;
            EXPECT_EQ(back.width, width);
            EXPECT_EQ(back.height, 5);
            EXPECT_EQ(back.bitsPerPixel, bits);
            EXPECT_EQ(back.formatCode, kFormatPcx);
            EXPECT_EQ(back.pixels, src.pixels);
            if (bits == 8) {
                EXPECT_EQ(back.palette, src.palette);
            }
        }
    }
}

TEST(PcxCodec, WritesTheStandardHeaderAndPaletteBlock)
{
    Bytes file;
    ASSERT_TRUE(encodePcx(patterned(5, 2, 8), file));
    EXPECT_EQ(file[0], 10);
    EXPECT_EQ(file[1], 5);
    EXPECT_EQ(file[2], 1);
    EXPECT_EQ(file[3], 8);
    EXPECT_EQ(getLE16(&file[8]), 4);
    EXPECT_EQ(getLE16(&file[10]), 1);
    EXPECT_EQ(getLE16(&file[12]), 72);
    EXPECT_EQ(file[65], 1);
    EXPECT_EQ(getLE16(&file[66]), 6);  // even bytes per line
    EXPECT_EQ(getLE16(&file[68]), 1);
    ASSERT_GE(file.size(), kPcxHeaderSize + kPcxPaletteBlockSize);
    EXPECT_EQ(file[file.size() - 769], 12);
    EXPECT_EQ(file[file.size() - 768 + 3 * 2], 2);  // red of colour 2

    ASSERT_TRUE(encodePcx(patterned(5, 2, 24), file));
    EXPECT_EQ(file[65], 3);
    // Three planes of 6 bytes a line, each coded on its own: no palette block follows.
    size_t pos = kPcxHeaderSize;
    uint8_t plane[6];
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(decodePcxRle(file.data(), file.size(), pos, plane, 6));
    EXPECT_EQ(pos, file.size());
}

TEST(PcxCodec, ReadsPlanesAsRedGreenBlueWithRunsAcrossPlanes)
{
    Bytes f = pcxHeader(2, 1, 8, 3, 2);
    // Red plane 10 20, then one run of 4 covering the green plane and the blue one.
    for (uint8_t b : {10, 20, 0xC4, 99}) f.push_back(b);
    Bitmap bmp;
    ASSERT_TRUE(decodePcx(f, bmp));
    EXPECT_EQ(bmp.pixels, (Bytes{10, 99, 99, 20, 99, 99}));
}

TEST(PcxCodec, EightBitWithoutPaletteBlockIsBlack)
{
    Bytes f = pcxHeader(2, 2, 8, 1, 2);
    for (uint8_t b : {1, 2, 3, 4}) f.push_back(b);
    Bitmap bmp;
    ASSERT_TRUE(decodePcx(f, bmp));
    EXPECT_EQ(bmp.palette, Palette256{});
    EXPECT_EQ(bmp.pixels, (Bytes{1, 2, 3, 4}));
}

TEST(PcxCodec, RefusesMalformedFilesWithAMessage)
{
    Bitmap bmp;
    Bytes f = pcxHeader(4, 2, 8, 1, 4);
    f.push_back(0xC4);
    f.push_back(1);
    EXPECT_EQ(decodePcx(f, bmp).message, str::IDS_IMG_TRUNCATED);  // the second line is missing

    f.push_back(0xC5);
    f.push_back(1);
    EXPECT_EQ(decodePcx(f, bmp).message, formatMessage(str::IDS_IMG_PCX_BAD_LINE, {2, 4}));

    Bytes fourBit = pcxHeader(4, 2, 1, 4, 1);
    EXPECT_EQ(decodePcx(fourBit, bmp).message, formatMessage(str::IDS_IMG_PCX_UNSUPPORTED, {1, 4}));
    ImageFileInfo info;
    ASSERT_TRUE(readPcxInfo(fourBit.data(), fourBit.size(), info));  // the depth can still be asked
    EXPECT_EQ(info.bitsPerPixel, 4);
    EXPECT_EQ(info.formatCode, kFormatPcx);

    EXPECT_EQ(decodePcx(pcxHeader(4, 2, 8, 1, 3), bmp).message, str::IDS_IMG_BAD_PCX_HEADER);  // lines too short
    Bytes notPcx = pcxHeader(4, 2, 8, 1, 4);
    notPcx[0] = 11;
    EXPECT_EQ(decodePcx(notPcx, bmp).message, str::IDS_IMG_BAD_PCX_HEADER);
    Bytes empty = pcxHeader(1, 1, 8, 1, 2);
    putLE16(&empty[4], 5);  // minimum x beyond maximum x
    EXPECT_FALSE(decodePcx(empty, bmp));
    EXPECT_FALSE(decodePcx(Bytes(100, 10), bmp));  // shorter than a header
}

TEST(PcxCodec, FilesGoThroughTheGenericReaderAndWriter)
{
    const std::string path = tempPath("a.pcx");
    const Bitmap src = patterned(9, 4, 8);
    ASSERT_TRUE(writePcxFile(path, src, 24));  // an 8-bit bitmap written with its colours
    ImageFileInfo info;
    ASSERT_TRUE(readImageFileInfo(path, info));
    EXPECT_EQ(info.width, 9);
    EXPECT_EQ(info.height, 4);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_EQ(info.formatCode, kFormatPcx);
    Bitmap back;
    ASSERT_TRUE(readImageFile(path, back));
    ASSERT_EQ(back.bitsPerPixel, 24);
    const PaletteEntry& e = src.palette[src.pixels[10]];
    EXPECT_EQ(back.pixels[30], e.red);
    EXPECT_EQ(back.pixels[31], e.green);
    EXPECT_EQ(back.pixels[32], e.blue);

    // A save that cannot be done leaves the file as it was.
    Bytes before;
    ASSERT_TRUE(readWholeFile(path, before));
    EXPECT_EQ(writePcxFile(path, src, 4).message, formatMessage(str::IDS_IMG_BAD_DEPTH, {4}));
    EXPECT_EQ(writePcxFile(path, Bitmap{}, 8).message, str::IDS_IMG_EMPTY);
    Bytes after;
    ASSERT_TRUE(readWholeFile(path, after));
    EXPECT_EQ(before, after);
    std::filesystem::remove(path);
    EXPECT_EQ(readPcxFile(path, back).message, formatMessage(str::IDS_IMG_CANNOT_OPEN, {path}));
}
