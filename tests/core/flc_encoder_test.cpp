// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "core/flc_decode.h"
#include "core/flc_encoder.h"
#include "core/flc_reader.h"
#include "core/strings.h"
#include "support/flc_builder.h"

using namespace qv;

namespace {

using Pictures = std::vector<std::vector<uint8_t>>;

// The builder's payloads are the encoder's own output.
const auto deltaOf = test::deltaPayload;
const auto byteRunOf = test::byteRunPayload;

Pictures randomPictures(std::mt19937& rng, int w, int h, int count, int colours)
{
    Pictures out;
    std::uniform_int_distribution<int> colour(0, colours - 1);
    std::uniform_int_distribution<int> change(0, 3);
    Bytes pic(size_t(w) * h);
    for (auto& p : pic) p = static_cast<uint8_t>(colour(rng));
    for (int n = 0; n < count; ++n) {
        // Each picture changes some rows a little from the one before, so the deltas see
        // unchanged rows, unchanged runs and scattered single pixels.
        for (int y = 0; y < h; ++y) {
            if (change(rng) == 0) continue;
            for (int x = 0; x < w; ++x)
                if (change(rng) == 0) pic[size_t(y) * w + x] = static_cast<uint8_t>(colour(rng));
        }
        out.push_back(pic);
    }
    return out;
}

FlcEncodeParams unitParams(int w, int h, int F, int D)
{
    FlcEncodeParams p;
    p.width = w;
    p.height = h;
    p.framesPerDirection = F;
    p.directions = D;
    p.speed = 75;
    p.delay = 75;
    p.leftOffset = 3;
    p.topOffset = 200;
    return p;
}

}  // namespace

// ---- The chunk encoders against hand-worked bytes ----

TEST(FlcEncodeByteRun, RunsLiteralsAndTheRowByte)
{
    // A 255-pixel run: two runs of 127 and a literal of one for the last pixel.
    EXPECT_EQ(byteRunOf(Bytes(255, 9), 255, 1), (Bytes{0xCD, 127, 9, 127, 9, 0xFF, 9}));
    // Alternating colours: literals of 127, 127 and 1.
    Bytes alt(255, 1);
    for (size_t i = 1; i < alt.size(); i += 2) alt[i] = 2;
    const Bytes expectAlt = test::concatBytes({{0xCD, 0x81}, Bytes(alt.begin(), alt.begin() + 127), {0x81},
                                    Bytes(alt.begin() + 127, alt.begin() + 254), {0xFF, alt[254]}});
    EXPECT_EQ(byteRunOf(alt, 255, 1), expectAlt);
    // A literal stops where a run starts; packets never cross a row; every row gets 0xCD.
    const Bytes pic = {1, 2, 3, 3, 3, 4, /*row 1*/ 5, 5, 6, 7, 7, 8};
    EXPECT_EQ(byteRunOf(pic, 6, 2),
              (Bytes{0xCD, 0xFE, 1, 2, 3, 3, 0xFF, 4, 0xCD, 2, 5, 0xFF, 6, 2, 7, 0xFF, 8}));
    // One pixel wide.
    EXPECT_EQ(byteRunOf({4, 4}, 1, 2), (Bytes{0xCD, 0xFF, 4, 0xCD, 0xFF, 4}));
}

TEST(FlcEncodeDelta, SkipsRunsAndLiterals)
{
    const int w = 8;
    const Bytes zero(3 * w, 0);
    // Row 1 only: a pending skip word, then a run of two pairs ending at an unchanged pixel.
    Bytes pic = zero;
    for (int x = 1; x <= 4; ++x) pic[w + x] = 5;
    EXPECT_EQ(deltaOf(zero, pic, w, 3), (Bytes{1, 0, 0xFF, 0xFF, 1, 0, 1, 0xFE, 5, 5, 0, 0}));

    // A literal that ends where a pair repeats; the repeat starts the next packet (skip 0).
    pic = {1, 2, 3, 4, 3, 4, 9, 9};
    EXPECT_EQ(deltaOf(Bytes(w, 0), pic, w, 1),
              (Bytes{1, 0, 2, 0, 0, 2, 1, 2, 3, 4, 0, 2, 3, 4, 9, 9, 0, 0}));

    // A run that ends at a different pair; a one-pair packet ending at an unchanged pixel.
    pic = {7, 7, 7, 7, 8, 8, 0, 0};
    EXPECT_EQ(deltaOf(Bytes(w, 0), pic, w, 1), (Bytes{1, 0, 2, 0, 0, 0xFE, 7, 7, 0, 1, 8, 8, 0, 0}));

    // A pair carries an unchanged second pixel; column skips count from the packet's end.
    pic = {0, 6, 0, 0, 0, 0, 2, 0};
    EXPECT_EQ(deltaOf(Bytes(w, 0), pic, w, 1), (Bytes{1, 0, 2, 0, 1, 1, 6, 0, 3, 1, 2, 0, 0, 0}));

    // Identical pictures: a line count of 0 and the two trailing bytes.
    EXPECT_EQ(deltaOf(pic, pic, w, 1), (Bytes{0, 0, 0, 0}));
}

TEST(FlcEncodeDelta, TheLastColumnGoesInTheLastPixelWord)
{
    // Odd width: only the last pixel changed gives a line of no packets.
    EXPECT_EQ(deltaOf(Bytes(5, 0), Bytes{0, 0, 0, 0, 9}, 5, 1), (Bytes{1, 0, 0x09, 0x80, 0, 0, 0, 0}));
    // Odd width, all changed: the packet stops before the last column.
    EXPECT_EQ(deltaOf(Bytes(5, 0), Bytes{1, 2, 3, 4, 5}, 5, 1),
              (Bytes{1, 0, 0x05, 0x80, 1, 0, 0, 2, 1, 2, 3, 4, 0, 0}));
    // Even width, a packet starting at an odd column; the skip word comes first.
    EXPECT_EQ(deltaOf(Bytes(8, 0), Bytes{0, 0, 0, 0, 0, 1, 2, 3}, 4, 2),
              (Bytes{1, 0, 0xFF, 0xFF, 0x03, 0x80, 1, 0, 1, 1, 1, 2, 0, 0}));
    // One pixel wide: every changed row is a last-pixel word.
    EXPECT_EQ(deltaOf(Bytes{0, 0, 0}, Bytes{0, 7, 0}, 1, 3), (Bytes{1, 0, 0xFF, 0xFF, 0x07, 0x80, 0, 0, 0, 0}));
}

TEST(FlcEncodeDelta, RandomPicturesDecodeBackExactly)
{
    std::mt19937 rng(1234);
    for (int w : {1, 2, 3, 7, 8, 64, 127, 240, 255}) {
        for (int colours : {2, 4, 256}) {
            const int h = 5;
            const Pictures pics = randomPictures(rng, w, h, 6, colours);
            Bytes work(flcWorkBufferSize(w, h));
            for (size_t n = 1; n < pics.size(); ++n) {
                SCOPED_TRACE(testing::Message() << "w=" << w << " colours=" << colours << " n=" << n);
                const size_t s = encodeDeltaFlc(pics[n - 1].data(), pics[n].data(), w, h, work.data());
                ASSERT_LE(s, work.size());
                Bytes decoded = pics[n - 1];
                EXPECT_EQ(decodeDeltaFlc(work.data(), s - 2, decoded.data(), w, h), s - 2);
                EXPECT_EQ(decoded, pics[n]);

                const size_t r = encodeByteRun(pics[n].data(), w, h, work.data());
                ASSERT_LE(r, work.size());
                Bytes full(size_t(w) * h, 0);
                EXPECT_EQ(decodeByteRun(work.data(), r, full.data(), w, h), r);
                EXPECT_EQ(full, pics[n]);
            }
        }
    }
    // The worst cases stay inside the work buffer: every pixel changed to a new value
    // on every row, against noise.
    for (int w : {1, 2, 3, 254, 255}) {
        const int h = 255;
        Bytes a(size_t(w) * h), b(size_t(w) * h);
        for (size_t i = 0; i < a.size(); ++i) {
            a[i] = static_cast<uint8_t>(i % 3);
            b[i] = static_cast<uint8_t>((i % 3) + 1 + (i % 7 == 0));
        }
        Bytes work(flcWorkBufferSize(w, h));
        EXPECT_LE(encodeDeltaFlc(a.data(), b.data(), w, h, work.data()), work.size());
        EXPECT_LE(encodeByteRun(b.data(), w, h, work.data()), work.size());
    }
}

// ---- Whole files ----

TEST(FlcEncodeFile, OneDirectionOfOneFrameByteForByte)
{
    Palette256 pal;
    for (int i = 0; i < 256; ++i) pal[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i + 1), uint8_t(i + 2));
    FlcEncodeParams p = unitParams(4, 2, 1, 1);
    Bytes file;
    ASSERT_TRUE(encodeFlc(p, {{1, 1, 1, 1, 2, 3, 4, 5}}, pal, file));

    Bytes expect(128, 0);
    putLE32(&expect[0], 128 + 809 + 26);
    putLE16(&expect[4], 0xAF12);
    putLE16(&expect[6], 1);
    putLE16(&expect[8], 4);
    putLE16(&expect[10], 2);
    putLE16(&expect[12], 8);
    putLE32(&expect[16], 75);
    expect[26] = 0xF2, expect[27] = 0xF2, expect[28] = 0xF1, expect[29] = 0xF1;
    putLE32(&expect[80], 128);
    putLE32(&expect[88], 28);
    putLE16(&expect[96], 1);
    putLE16(&expect[98], 1);
    putLE16(&expect[100], 3);
    putLE16(&expect[102], 200);
    putLE16(&expect[104], 240);
    putLE16(&expect[106], 240);
    putLE32(&expect[108], 75);
    putLE32(&expect[112], 1);
    // Key frame: BYTE_RUN, then the palette.
    const Bytes key = {0x29, 0x03, 0, 0, 0xFA, 0xF1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                       15, 0, 0, 0, 15, 0, 0xCD, 4, 1, 0xCD, 0xFC, 2, 3, 4, 5,
                       0x0A, 0x03, 0, 0, 4, 0, 1, 0, 0, 0};
    Bytes colours;
    for (int i = 0; i < 256; ++i) colours.insert(colours.end(), {uint8_t(i), uint8_t(i + 1), uint8_t(i + 2)});
    // The wrap-around delta of a single picture changes nothing.
    const Bytes delta = {26, 0, 0, 0, 0xFA, 0xF1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 7, 0, 0, 0, 0, 0};
    EXPECT_EQ(file, test::concatBytes({expect, key, colours, delta}));
}

TEST(FlcEncodeFile, HeaderAndChunkPlacesForUnitsAndLeaderHeads)
{
    std::mt19937 rng(7);
    const Pictures pics = randomPictures(rng, 10, 6, 8 * 3, 16);
    const Palette256 pal = test::testPalette();
    FlcEncodeParams unit = unitParams(10, 6, 3, 8);
    unit.delay = 50;  // the view plays at a custom delay
    Bytes file;
    ASSERT_TRUE(encodeFlc(unit, pics, pal, file));
    const FlcHeader h = FlcHeader::parse(file.data());
    // Size, frames, speed, animation time, direction mask.
    EXPECT_EQ((std::vector<uint32_t>{h.size, h.frames, h.speed, h.animationTime, h.directionMask}),
              (std::vector<uint32_t>{uint32_t(file.size()), 24, 50, 75 * 3, 0xFF}));
    // Each direction: a key frame (BYTE_RUN, the first one with the palette after it), then
    // one DELTA_FLC frame per picture; later key frames hold BYTE_RUN only.
    FlcFrameStore s;
    ASSERT_TRUE(readFlcFrames(file.data(), file.size(), s));
    ASSERT_EQ(s.records.size(), 8u * 4);
    EXPECT_EQ(s.records[4].chunkCount, 1);
    EXPECT_EQ(s.records[4].chunks[0].kind, FlcChunkKind::ByteRun);
    EXPECT_EQ(s.records[4].size, 16 + s.records[4].chunks[0].size);

    ASSERT_TRUE(encodeFlc(unitParams(10, 6, 6, 4), pics, pal, file));
    EXPECT_EQ(FlcHeader::parse(file.data()).directionMask, 1u);

    FlcEncodeParams leader = unitParams(10, 6, 12, 2);
    leader.leaderHead = true;
    ASSERT_TRUE(encodeFlc(leader, pics, pal, file));
    EXPECT_EQ(Bytes(file.begin() + 26, file.begin() + 30), (Bytes{0x8A, 0x02, 0, 0}));
    EXPECT_EQ(Bytes(file.begin() + 88, file.begin() + 128), Bytes(40, 0));
    ASSERT_TRUE(readFlcFrames(file.data(), file.size(), s));
    ASSERT_EQ(s.records.size(), 2u * 13);
    for (size_t i : {size_t(0), size_t(13)}) {
        ASSERT_EQ(s.records[i].chunkCount, 2);
        EXPECT_EQ(s.records[i].chunks[0].kind, FlcChunkKind::Color256);
        EXPECT_EQ(s.records[i].chunks[1].kind, FlcChunkKind::ByteRun);
    }
}

TEST(FlcEncodeFile, RefusesPicturesThatDoNotMatch)
{
    Bytes file;
    const Palette256 pal;
    const Status none = encodeFlc(unitParams(4, 2, 1, 1), {}, pal, file);
    EXPECT_EQ(none.message,
              "The frames cannot be written as an FLC animation: they do not make 1 directions of 1 frames of 4 x 2 pixels.");
    EXPECT_FALSE(encodeFlc(unitParams(4, 2, 1, 1), {Bytes(7)}, pal, file));
    EXPECT_FALSE(encodeFlc(unitParams(256, 1, 1, 1), {Bytes(256)}, pal, file));
    EXPECT_TRUE(encodeFlc(unitParams(240, 240, 1, 1), {Bytes(240 * 240)}, pal, file));
    // The reader refuses frames over 240 pixels, so the encoder does not make them.
    const Status wide = encodeFlc(unitParams(241, 10, 1, 1), {Bytes(2410)}, pal, file);
    EXPECT_EQ(wide.message, formatMessage(str::IDS_FLC_FRAME_TOO_LARGE, {241, 10}));
}
