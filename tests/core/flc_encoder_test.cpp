// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/file_io.h"
#include "core/flc_decode.h"
#include "core/flc_encoder.h"
#include "core/flc_reader.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

using Pictures = std::vector<std::vector<uint8_t>>;

Bytes deltaOf(const Bytes& before, const Bytes& after, int w, int h)
{
    Bytes out(flcWorkBufferSize(w, h), 0xEE);
    out.resize(encodeDeltaFlc(before.data(), after.data(), w, h, out.data()));
    return out;
}

Bytes byteRunOf(const Bytes& pic, int w, int h)
{
    Bytes out(flcWorkBufferSize(w, h), 0xEE);
    out.resize(encodeByteRun(pic.data(), w, h, out.data()));
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes repeated(size_t n, uint8_t v) { return Bytes(n, v); }

Bytes alternating(size_t n, uint8_t a, uint8_t b)
{
    Bytes out(n);
    for (size_t i = 0; i < n; ++i) out[i] = (i % 2) ? b : a;
    return out;
}

// The frames of an encoded file as the reader's layout has them.
struct ChunkAt {
    uint16_t type;
    uint32_t size;
    size_t payload;  // offset of the payload in the file
};
struct FrameAt {
    uint32_t size;
    uint16_t chunkCount;
    std::vector<ChunkAt> chunks;
};

std::vector<FrameAt> walk(const Bytes& file)
{
    std::vector<FrameAt> frames;
    size_t pos = kFlcHeaderSize;
    while (pos + 16 <= file.size()) {
        FrameAt f{getLE32(&file[pos]), getLE16(&file[pos + 6]), {}};
        EXPECT_EQ(getLE16(&file[pos + 4]), kFrameType);
        size_t c = pos + 16;
        for (int i = 0; i < f.chunkCount; ++i) {
            ChunkAt ch{getLE16(&file[c + 4]), getLE32(&file[c]), c + 6};
            f.chunks.push_back(ch);
            c += ch.size;
        }
        EXPECT_EQ(c, pos + f.size) << "chunks fill their frame exactly";
        frames.push_back(f);
        pos += f.size;
    }
    EXPECT_EQ(pos, file.size());
    return frames;
}

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
    EXPECT_EQ(byteRunOf(repeated(255, 9), 255, 1), (Bytes{0xCD, 127, 9, 127, 9, 0xFF, 9}));
    // Alternating colours: literals of 127, 127 and 1.
    const Bytes alt = alternating(255, 1, 2);
    const Bytes expectAlt = concat({{0xCD, 0x81}, Bytes(alt.begin(), alt.begin() + 127), {0x81},
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
    EXPECT_EQ(file, concat({expect, key, colours, delta}));
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
    FlcHeader h = FlcHeader::parse(file.data());
    EXPECT_EQ(h.size, file.size());
    EXPECT_EQ(h.frames, 24);
    EXPECT_EQ(h.speed, 50u);
    EXPECT_EQ(h.animationTime, 75u * 3);
    EXPECT_EQ(h.directionMask, 0xFFu);
    std::vector<FrameAt> frames = walk(file);
    ASSERT_EQ(frames.size(), 8u * 4);
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        const FrameAt& f = frames[i];
        if (i % 4 == 0) {
            ASSERT_EQ(f.chunkCount, i == 0 ? 2 : 1);
            EXPECT_EQ(f.chunks[0].type, kChunkByteRun);
            if (i == 0) {
                EXPECT_EQ(f.chunks[1].type, kChunkColor256);
                EXPECT_EQ(f.chunks[1].size, 778u);
                EXPECT_EQ(f.size, f.chunks[0].size - 6 + 800);
            }
        } else {
            ASSERT_EQ(f.chunkCount, 1);
            EXPECT_EQ(f.chunks[0].type, kChunkDeltaFlc);
            EXPECT_EQ(f.size, f.chunks[0].size + 16);
            // The two bytes after the encoded data are zeros.
            EXPECT_EQ(file[f.chunks[0].payload + f.chunks[0].size - 7], 0);
            EXPECT_EQ(file[f.chunks[0].payload + f.chunks[0].size - 8], 0);
        }
    }

    FlcEncodeParams four = unitParams(10, 6, 6, 4);
    ASSERT_TRUE(encodeFlc(four, pics, pal, file));
    EXPECT_EQ(FlcHeader::parse(file.data()).directionMask, 1u);

    FlcEncodeParams leader = unitParams(10, 6, 12, 2);
    leader.leaderHead = true;
    ASSERT_TRUE(encodeFlc(leader, pics, pal, file));
    EXPECT_EQ(Bytes(file.begin() + 26, file.begin() + 30), (Bytes{0x8A, 0x02, 0, 0}));
    EXPECT_EQ(Bytes(file.begin() + 88, file.begin() + 128), Bytes(40, 0));
    EXPECT_EQ(getLE32(&file[80]), 128u);
    frames = walk(file);
    ASSERT_EQ(frames.size(), 2u * 13);
    for (size_t i : {size_t(0), size_t(13)}) {
        ASSERT_EQ(frames[i].chunkCount, 2);
        EXPECT_EQ(frames[i].chunks[0].type, kChunkColor256);
        EXPECT_EQ(frames[i].chunks[1].type, kChunkByteRun);
    }
}

TEST(FlcEncodeFile, RefusesPicturesThatDoNotMatch)
{
    Bytes file;
    const Palette256 pal;
    const Status none = encodeFlc(unitParams(4, 2, 1, 1), {}, pal, file);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.message,
              "The frames cannot be written as an FLC animation: they do not make 1 directions of 1 frames of 4 x 2 pixels.");
    EXPECT_FALSE(encodeFlc(unitParams(4, 2, 1, 1), {Bytes(7)}, pal, file));
    EXPECT_FALSE(encodeFlc(unitParams(4, 2, 2, 1), {Bytes(8)}, pal, file));
    EXPECT_FALSE(encodeFlc(unitParams(256, 1, 1, 1), {Bytes(256)}, pal, file));
    EXPECT_FALSE(encodeFlc(unitParams(0, 1, 1, 1), {Bytes()}, pal, file));
    EXPECT_TRUE(encodeFlc(unitParams(240, 240, 1, 1), {Bytes(240 * 240)}, pal, file));
    // The reader refuses frames over 240 pixels, so the encoder does not make them.
    const Status wide = encodeFlc(unitParams(241, 10, 1, 1), {Bytes(2410)}, pal, file);
    EXPECT_EQ(wide.message, formatMessage(str::IDS_FLC_FRAME_TOO_LARGE, {241, 10}));
}

TEST(FlcEncodeFile, ReaderGetsBackThePicturesAndPalette)
{
    // A file made by the test writer, read, encoded again and read back.
    test::AnimationSpec anim;
    anim.width = 37;
    anim.height = 21;
    anim.directions = 8;
    anim.framesPerDirection = 5;
    const Bytes original = test::buildAnimation(anim);
    FlcLoadResult first;
    ASSERT_TRUE(loadFlcAnimation("a.flc", original.data(), original.size(), first));
    const FlcHeader& h = first.store.header;

    FlcEncodeParams p = unitParams(h.width, h.height, h.framesPerDirection, h.directions);
    Bytes encoded;
    ASSERT_TRUE(encodeFlc(p, toByteVectors(first.store.frames), first.store.basePalette, encoded));
    FlcLoadResult second;
    ASSERT_TRUE(loadFlcAnimation("b.flc", encoded.data(), encoded.size(), second));
    EXPECT_FALSE(second.store.unusual);
    EXPECT_FALSE(second.leaderHead);
    EXPECT_EQ(second.store.frames, first.store.frames);
    EXPECT_EQ(second.store.frames, test::animationPictures(anim));
    EXPECT_EQ(second.store.basePalette, anim.palette);
    EXPECT_EQ(second.store.records.size(), 8u * 6);

    // Random pictures of an odd width, as a leader head.
    std::mt19937 rng(99);
    const Pictures pics = randomPictures(rng, 33, 17, 9, 256);
    FlcEncodeParams lh = unitParams(33, 17, 9, 1);
    lh.leaderHead = true;
    ASSERT_TRUE(encodeFlc(lh, pics, anim.palette, encoded));
    FlcLoadResult third;
    ASSERT_TRUE(loadFlcAnimation("c.flc", encoded.data(), encoded.size(), third));
    EXPECT_TRUE(third.leaderHead);
    EXPECT_EQ(third.store.frames, pics);
}

TEST(FlcEncodeFile, WritesInOnePieceOrNotAtAll)
{
    const fs::path dir = qv::test::scratchPath("qv_flc_encoder_write");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const Palette256 pal = test::testPalette();
    const std::string target = (dir / "out.flc").string();
    ASSERT_TRUE(writeFlcFile(target, unitParams(4, 2, 1, 1), {Bytes(8, 3)}, pal));
    Bytes onDisk, inMemory;
    ASSERT_TRUE(readWholeFile(target, onDisk));
    ASSERT_TRUE(encodeFlc(unitParams(4, 2, 1, 1), {Bytes(8, 3)}, pal, inMemory));
    EXPECT_EQ(onDisk, inMemory);

    const std::string bad = (dir / "missing" / "out.flc").string();
    const Status st = writeFlcFile(bad, unitParams(4, 2, 1, 1), {Bytes(8, 3)}, pal);
    EXPECT_FALSE(st);
    EXPECT_EQ(st.message, "'" + bad + "'\r\nCannot copy temporary file to the specified target path.");
    EXPECT_FALSE(fs::exists(dir / "missing"));
    fs::remove_all(dir);
}
