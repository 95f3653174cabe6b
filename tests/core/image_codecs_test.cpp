// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The BMP and PCX codecs, the PCX run-length coding and the PCX picture the storyboard
// and background code load: round trips, the files' exact layout, hand-built files that
// other programs write, and refusals with their messages.
#include <gtest/gtest.h>

#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "core/file_io.h"
#include "core/pcx_codec.h"
#include "core/pcx_picture.h"
#include "core/strings.h"
#include "support/temp_dir.h"

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

// A 3 x 2 PCX with 4 bytes per line (one padding byte) and its window at (10, 20), coded by
// hand, with or without the palette block (entry i = (i, i / 2, 255 - i)).
Bytes smallPcx(bool withPalette)
{
    Bytes f = pcxHeader(3, 2, 8, 1, 4);
    putLE16(&f[4], 10);
    putLE16(&f[6], 20);
    putLE16(&f[8], 12);
    putLE16(&f[10], 21);
    f.insert(f.end(), {5, 6, 0xC1, 0xC8, 0, 0xC4, 7});  // 5 6 200 | 0, then 7 7 7 | 7
    if (withPalette) {
        f.push_back(12);
        for (int i = 0; i < 256; ++i) f.insert(f.end(), {uint8_t(i), uint8_t(i / 2), uint8_t(255 - i)});
    }
    return f;
}

// A BMP with a 40-byte information header. `rows` are the stored rows, padding included, in file order.
Bytes bmpFile(int32_t width, int32_t height, int bits, uint32_t compression, const std::vector<PaletteEntry>& palette,
              uint32_t colorsUsed, const Bytes& rows)
{
    Bytes f{'B', 'M'};
    ByteWriter w(f);
    const uint32_t offset = uint32_t(14 + 40 + 4 * palette.size());
    for (uint32_t v : {uint32_t(offset + rows.size()), 0u, offset, 40u, uint32_t(width), uint32_t(height)}) w.u32(v);
    w.u16(1);
    w.u16(uint16_t(bits));
    for (uint32_t v : {compression, uint32_t(rows.size()), 0u, 0u, colorsUsed, 0u}) w.u32(v);
    for (const PaletteEntry& e : palette) w.u32(uint32_t(e.blue | e.green << 8 | e.red << 16));
    w.bytes(rows.data(), rows.size());
    return f;
}

using ImageFileTest = test::ScratchTest;

}  // namespace

TEST(ImageCodecs, RoundTripOddWidthsAtBothDepthsInBothFormats)
{
    for (int format : {kFormatBmp, kFormatPcx})
        for (int bits : {8, 24})
            for (int width : {1, 2, 3, 5, 64, 131}) {
                SCOPED_TRACE(testing::Message() << "format " << format << ", " << bits << " bits, width " << width);
                const Bitmap src = patterned(width, 5, bits);
                Bytes file;
                ASSERT_TRUE(encodeImage(src, format, bits, file));
                if (format == kFormatBmp) {
                    const size_t stride = (size_t(width) * size_t(bits / 8) + 3) / 4 * 4;
                    EXPECT_EQ(file.size(), 14 + 40 + (bits == 8 ? 1024 : 0) + stride * 5);
                    EXPECT_EQ(getLE32(&file[2]), file.size());
                    EXPECT_EQ(getLE32(&file[46]), bits == 8 ? 256u : 0u);  // colours used: all, however few are
                }
                Bitmap back;
                const Status st = decodeImage(file.data(), file.size(), back);
                ASSERT_TRUE(st) << st.message;
                EXPECT_EQ(back.width, width);
                EXPECT_EQ(back.bitsPerPixel, bits);
                EXPECT_EQ(back.formatCode, format);
                EXPECT_EQ(back.pixels, src.pixels);
                if (bits == 8) {
                    EXPECT_EQ(back.palette, src.palette);
                }
            }
}

TEST(BmpCodec, ReadsTopDownRowsShortPalettesAndAnUnpaddedLastRowAndRefusesTheRest)
{
    // 24-bit, 2 x 2, top-down: rows stored top first, each padded to 8 bytes.
    const Bytes rows{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    Bitmap bmp;
    ASSERT_TRUE(decodeBmp(bmpFile(2, -2, 24, 0, {}, 0, rows), bmp));
    EXPECT_EQ(bmp.pixels, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
    // 8-bit with a 2-colour palette: the other 254 entries are black.
    const std::vector<PaletteEntry> pal{PaletteEntry::fromRgb(10, 20, 30), PaletteEntry::fromRgb(40, 50, 60)};
    ASSERT_TRUE(decodeBmp(bmpFile(3, 2, 8, 0, pal, 2, Bytes{0, 1, 0, 0, 1, 1, 1}), bmp));
    EXPECT_EQ(bmp.colorCount, 2);
    EXPECT_EQ(bmp.palette[1], pal[1]);
    EXPECT_EQ(bmp.palette[2], PaletteEntry{});
    EXPECT_EQ(bmp.pixels, (Bytes{1, 1, 1, 0, 1, 0}));
    // The old 12-byte header: 16-bit sizes and 256 palette entries of 3 bytes (blue, green, red).
    Bytes os2{'B', 'M'};
    ByteWriter w(os2);
    for (uint32_t v : {uint32_t(14 + 12 + 768 + 8), 0u, uint32_t(14 + 12 + 768), 12u}) w.u32(v);
    for (uint16_t v : {2, 2, 1, 8}) w.u16(v);
    for (int i = 0; i < 256; ++i) w.bytes(Bytes{uint8_t(i), uint8_t(i + 1), uint8_t(i + 2)}.data(), 3);
    w.bytes(Bytes{7, 8, 0, 0, 9, 10, 0, 0}.data(), 8);
    ASSERT_TRUE(decodeBmp(os2, bmp));
    EXPECT_EQ(bmp.palette[200], PaletteEntry::fromRgb(202, 201, 200));
    EXPECT_EQ(bmp.pixels, (Bytes{9, 10, 7, 8}));

    // Refusals, each with its message.
    const std::vector<PaletteEntry> four(4);
    const Bytes fourBit = bmpFile(2, 2, 4, 0, std::vector<PaletteEntry>(16), 16, Bytes(8, 0));
    Bytes huge = bmpFile(2, 2, 24, 0, {}, 0, Bytes(16, 0));
    putLE32(&huge[10], 0xFFFFFFF0u);  // pixels said to start far past the end
    const std::pair<Bytes, std::string> cases[] = {
        {fourBit, formatMessage(str::IDS_IMG_BMP_UNSUPPORTED, {4, 0})},
        {bmpFile(2, 2, 8, 1, std::vector<PaletteEntry>(256), 0, Bytes(8, 0)),
         formatMessage(str::IDS_IMG_BMP_UNSUPPORTED, {8, 1})},
        {bmpFile(2, 2, 8, 0, four, 300, Bytes(8, 0)), str::IDS_IMG_BAD_BMP_HEADER},
        {bmpFile(2, 2, 8, 0, four, 4, Bytes(5, 0)), str::IDS_IMG_TRUNCATED},
        {bmpFile(2, 2, 8, 0, four, 200, Bytes(8, 0)), str::IDS_IMG_TRUNCATED},  // the palette runs off the end
        {bmpFile(0, 2, 24, 0, {}, 0, Bytes(8, 0)), str::IDS_IMG_BAD_BMP_HEADER},
        {huge, str::IDS_IMG_TRUNCATED},
        {Bytes{'B', 'A', 0, 0}, str::IDS_IMG_UNKNOWN_FORMAT},
    };
    for (const auto& [file, message] : cases) EXPECT_EQ(decodeImage(file.data(), file.size(), bmp).message, message);
    putLE32(&huge[22], 0x80000000u);  // the most negative height
    EXPECT_FALSE(decodeBmp(huge, bmp));
}

TEST(PcxCodec, WritesSplitRunsTheStandardHeaderAndPaletteBlock)
{
    Bytes in(130, 7);  // one run longer than 63 must be split
    in.push_back(0xC0);  // a single byte with the top bits set needs a count
    in.push_back(1);
    Bytes file;
    encodePcxRle(in.data(), in.size(), file);
    EXPECT_EQ(file, (Bytes{0xFF, 7, 0xFF, 7, 0xC4, 7, 0xC1, 0xC0, 1}));  // decoded by the round trips

    ASSERT_TRUE(encodePcx(patterned(5, 2, 8), file));
    // Version 5, RLE, 8 bits, window 0..4 x 0..1, 72 dpi; one plane, 6 (even) bytes per line, colour.
    EXPECT_EQ((Bytes(file.begin(), file.begin() + 14)), (Bytes{10, 5, 1, 8, 0, 0, 0, 0, 4, 0, 1, 0, 72, 0}));
    EXPECT_EQ((Bytes(file.begin() + 65, file.begin() + 70)), (Bytes{1, 6, 0, 1, 0}));
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

TEST(PcxCodec, ReadsHandCodedFilesAndRefusesMalformedOnesWithAMessage)
{
    Bytes planes = pcxHeader(2, 1, 8, 3, 2);
    // An empty run that adds nothing, red plane 10 20, then one run of 4 covering the green
    // plane and the blue one.
    planes.insert(planes.end(), {0xC0, 5, 10, 20, 0xC4, 99});
    Bitmap bmp;
    ASSERT_TRUE(decodePcx(planes, bmp));
    EXPECT_EQ(bmp.pixels, (Bytes{10, 99, 99, 20, 99, 99}));
    Bytes noPalette = pcxHeader(2, 2, 8, 1, 2);  // an 8-bit file without the palette block is black
    noPalette.insert(noPalette.end(), {1, 2, 3, 4});
    ASSERT_TRUE(decodePcx(noPalette, bmp));
    EXPECT_EQ(bmp.palette, Palette256{});

    Bytes f = pcxHeader(4, 2, 8, 1, 4);
    f.insert(f.end(), {0xC4, 1});
    EXPECT_EQ(decodePcx(f, bmp).message, str::IDS_IMG_TRUNCATED);  // the second line is missing
    f.insert(f.end(), {0xC5, 1});
    EXPECT_EQ(decodePcx(f, bmp).message, formatMessage(str::IDS_IMG_PCX_BAD_LINE, {2, 4}));
    const Bytes fourBit = pcxHeader(4, 2, 1, 4, 1);
    EXPECT_EQ(decodePcx(fourBit, bmp).message, formatMessage(str::IDS_IMG_PCX_UNSUPPORTED, {1, 4}));
    EXPECT_EQ(decodePcx(pcxHeader(4, 2, 8, 1, 3), bmp).message, str::IDS_IMG_BAD_PCX_HEADER);  // lines too short
    Bytes empty = pcxHeader(1, 1, 8, 1, 2);
    putLE16(&empty[4], 5);  // minimum x beyond maximum x
    EXPECT_FALSE(decodePcx(empty, bmp));
    EXPECT_FALSE(decodePcx(Bytes(100, 10), bmp));  // shorter than a header
}

TEST_F(ImageFileTest, AFailedPcxSaveLeavesTheFileAndMissingFilesAreNamed)
{
    const std::string file = path("a.pcx");
    const Bitmap src = patterned(24, 24, 8);
    ASSERT_TRUE(writePcxFile(file, src, 8));
    Bytes before, after;
    ASSERT_TRUE(readWholeFile(file, before));
    EXPECT_EQ(writePcxFile(file, src, 4).message, formatMessage(str::IDS_IMG_BAD_DEPTH, {4}));
    EXPECT_EQ(writePcxFile(file, Bitmap{}, 8).message, str::IDS_IMG_EMPTY);
    ASSERT_TRUE(readWholeFile(file, after));
    EXPECT_EQ(before, after);
    Bitmap back;
    EXPECT_EQ(readPcxFile(path("none.pcx"), back).message, formatMessage(str::IDS_IMG_CANNOT_OPEN, {path("none.pcx")}));
    PcxPicture pic;
    EXPECT_FALSE(pic.load(path("none.pcx")));
    EXPECT_FALSE(pic.load(""));
}

TEST(PcxPicture, LoadsPixelsAndPaletteAndRefusesBadLinesPlanesDepthsAndTruncation)
{
    PcxPicture pic;
    ASSERT_TRUE(pic.loadFromMemory(smallPcx(true)));
    EXPECT_EQ(pic.width(), 3);
    EXPECT_EQ(pic.height(), 2);
    EXPECT_EQ(pic.pixels(), (Bytes{5, 6, 200, 7, 7, 7}));
    EXPECT_EQ(pic.palette()[200], PaletteEntry::fromRgb(200, 100, 55));
    const Bytes& bi = pic.bitmapInfo();
    EXPECT_EQ((Bytes(bi.begin(), bi.begin() + 20)), (Bytes{40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0}));

    // Into a surface with a wider pitch: blue, green, red, 255; the gap stays untouched.
    Bytes surface(2 * 16, 0xEE);
    ASSERT_TRUE(pic.copyTo32(surface.data(), 16));
    EXPECT_EQ((Bytes(surface.begin() + 8, surface.begin() + 16)), (Bytes{55, 100, 200, 255, 0xEE, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(surface[16], 248);  // colour 7's blue

    // Without the palette marker, or in a file shorter than the block, the colours are black.
    Bytes noMarker = smallPcx(true);
    noMarker[noMarker.size() - 769] = 11;
    for (const Bytes& f : {noMarker, smallPcx(false)}) {
        ASSERT_TRUE(pic.loadFromMemory(f));
        EXPECT_EQ(pic.palette(), Palette256{});
    }

    // Byte offset and value of each change: a run of 3 into the 2 remaining bytes of a line,
    // runs that no longer add up to a line, three planes, 16 bits, fewer bytes per line than pixels.
    const std::pair<size_t, uint8_t> changes[] = {{kPcxHeaderSize + 2, 0xC3}, {66, 5}, {65, 3}, {3, 16}, {66, 2}};
    for (const auto& [at, value] : changes) {
        Bytes f = smallPcx(true);
        f[at] = value;
        EXPECT_FALSE(pic.loadFromMemory(f)) << at;
        EXPECT_FALSE(pic.loaded());
    }
    const Bytes full = smallPcx(false);
    for (size_t cut = 0; cut < full.size(); ++cut) {
        EXPECT_FALSE(pic.loadFromMemory(full.data(), cut)) << cut;
    }
}
