// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "core/flc_decode.h"
#include "core/flc_reader.h"
#include "core/strings.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

FlcFrameStore read(const Bytes& file, bool expectOk = true)
{
    FlcFrameStore s;
    EXPECT_EQ(expectOk, readFlcFrames(file.data(), file.size(), s));
    return s;
}

Picture filled(int w, int h, uint8_t v) { return Picture(size_t(w) * h, v); }

Bytes ramp(int n, int first = 0)
{
    Bytes out;
    for (int i = 0; i < n; ++i) out.push_back(uint8_t(first + i));
    return out;
}

}  // namespace

TEST(FlcHeader, RoundTripsEveryFieldAtItsOffset)
{
    uint8_t bytes[128];
    for (int i = 0; i < 128; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    const FlcHeader h = FlcHeader::parse(bytes);
    uint8_t back[128];
    h.serialize(back);
    EXPECT_EQ(0, std::memcmp(bytes, back, 128));  // the encoder's file test pins the offsets
    // Messages fill in paths and numbers in order.
    EXPECT_EQ(formatMessage("%d of %s, 100%%", {3, "x"}), "3 of x, 100%");
}

// Each payload is decoded into a picture with guard bytes on both sides: the whole data is
// consumed, the picture is as expected and nothing outside it is written, however hostile
// the counts and skips.
TEST(FlcDecode, ByteRunAndDeltaPayloads)
{
    const auto byteRun = decodeByteRun;
    const auto delta = decodeDeltaFlc;
    struct Case {
        const char* what;
        size_t (*decode)(const uint8_t*, size_t, uint8_t*, int, int);
        int width, height;
        uint8_t fill;
        Bytes data, expected;
    };
    Bytes alternatingWords;
    for (int x = 0; x < 256; ++x) alternatingWords.push_back(x % 2 ? 0xCD : 0xAB);
    std::vector<Case> cases = {
        // Line 1's run of 6 goes on into line 2, whose packets continue from there.
        {"byte run: runs, literals, a run across lines", byteRun, 4, 3, 9,
         {0, 2, 7, 0xFE, 1, 2, /*line 1*/ 0, 6, 5, /*line 2*/ 0, 0, 8, 0xFF, 3, 2, 4},
         {7, 7, 1, 2, 5, 5, 5, 5, 5, 5, 3, 4}},
        {"byte run: -128 is a literal of 128", byteRun, 128, 1, 0, concatBytes({{1, 0x80}, ramp(128, 1)}),
         ramp(128, 1)},
        {"byte run: a literal of 128 on 10 pixels", byteRun, 5, 2, 0, concatBytes({{0, 3, 4, 0x80}, Bytes(128, 6)}),
         {4, 4, 4, 6, 6, 6, 6, 6, 6, 6}},
        {"byte run: runs of 127 on 10 pixels", byteRun, 5, 2, 0, {0, 127, 4, 0, 127, 5}, Bytes(10, 4)},
        {"byte run: a literal longer than the data", byteRun, 8, 1, 0, {0, 0xF8, 1, 2, 3}, {1, 2, 3, 0, 0, 0, 0, 0}},
        {"byte run: counts of 0 consume their value", byteRun, 2, 1, 9, {0, 0, 1, 0, 2, 2, 3}, {3, 3}},
        // Skip two lines; skip 2 columns, one literal word, a word repeated once; a word twice.
        {"delta: line skips, literal and repeated words", delta, 8, 4, 1,
         concatBytes({le16Words({2, 0xFFFE, 2}), {2, 1, 0x11, 0x22, 0, 0xFF, 0x33, 0x44}, le16Words({1}),
                      {0, 0xFE, 0x55, 0x66}}),
         concatBytes({Bytes(16, 1), {1, 1, 0x11, 0x22, 0x33, 0x44, 1, 1}, {0x55, 0x66, 0x55, 0x66, 1, 1, 1, 1}})},
        {"delta: -128 repeats a word 128 times, 0 writes nothing", delta, 256, 1, 1,
         concatBytes({le16Words({1, 2}), {0, 0x80, 0xAB, 0xCD, 0, 0, 0x77, 0x77}}), alternatingWords},
        {"delta: a skip of 200 lines, then a line past the picture", delta, 6, 3, 0,
         concatBytes({le16Words({2, -200, 1}), {0, 3, 1, 1, 1, 1, 1, 1}, le16Words({0x80FF, 1}), {250, 0x81, 2, 2}}),
         Bytes(18, 0)},
        {"delta: packets past the last line's end", delta, 6, 2, 0,
         concatBytes({le16Words({1, 0xFFFF, 2}), {4, 0x80, 7, 7, 255, 5}, ramp(10, 1)}),
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7}},
        {"delta: more lines than data", delta, 4, 4, 0, concatBytes({le16Words({0xFFFF, 1}), {0, 5, 1, 2}}),
         concatBytes({{1, 2}, Bytes(14, 0)})},
    };
    // The last-pixel word sets the last pixel of its line for every width: line 0 nothing,
    // line 1 only 0x12 (top bits 10), line 2 0x34 (top bits 01) and one packet of 9, 9.
    for (int width : {7, 8, 1, 239}) {
        Bytes expected(size_t(width) * 3, 0);
        expected[size_t(width) * 2 - 1] = 0x12;
        expected[size_t(width) * 3 - 1] = 0x34;
        std::fill_n(expected.begin() + width * 2, std::min(width, 2), 9);
        cases.push_back({"delta: last-pixel words", delta, width, 3, 0,
                         concatBytes({le16Words({3, 0, 0x8012, 0, 0x4034, 1}), {0, 1, 9, 9}}), expected});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what << ", width " << c.width);
        const size_t guard = 64, area = size_t(c.width) * c.height;
        Bytes buf(guard, 0xEE);
        buf.resize(guard + area, c.fill);
        buf.resize(guard * 2 + area, 0xEE);
        EXPECT_EQ(c.decode(c.data.data(), c.data.size(), buf.data() + guard, c.width, c.height), c.data.size());
        EXPECT_EQ(Bytes(buf.begin() + guard, buf.begin() + long(guard + area)), c.expected);
        EXPECT_EQ(Bytes(buf.begin(), buf.begin() + guard), Bytes(guard, 0xEE));
        EXPECT_EQ(Bytes(buf.end() - guard, buf.end()), Bytes(guard, 0xEE));
    }
}

TEST(FlcDecode, PalettePackets)
{
    EXPECT_EQ(14u, paletteChunkLength(2 + 2 + 3));  // one colour: 13 bytes and a pad byte

    // Packets (skip 0, count 16), (skip 4, count 8) set 0..15 and 20..27; colours that would
    // land past entry 255 are read but dropped.
    PalettePacket a{0, 16, {}}, b{4, 8, {}}, far{222, 10, {}};
    for (int i = 0; i < 16; ++i) a.colours.push_back(PaletteEntry::fromRgb(1, 2, uint8_t(i)));
    for (int i = 0; i < 8; ++i) b.colours.push_back(PaletteEntry::fromRgb(3, 4, uint8_t(i)));
    far.colours.assign(10, PaletteEntry::fromRgb(9, 9, 9));
    const Bytes three = palettePacketsPayload({a, b, far});
    Palette256 p;
    EXPECT_EQ(three.size(), decodeColor256(three.data(), three.size(), p));
    Palette256 expected;
    for (int i = 0; i < 16; ++i) expected[i] = a.colours[size_t(i)];
    for (int i = 0; i < 8; ++i) expected[20 + i] = b.colours[size_t(i)];
    for (int i = 250; i < 256; ++i) expected[i] = far.colours[0];
    EXPECT_EQ(expected, p);
}

TEST(FlcReader, UnitFileKeepsDirectionsTimesFramesAndSetsKeyFramesAside)
{
    AnimationShape anim;
    anim.width = 23;  // odd: exercises the last-pixel word
    anim.height = 11;
    anim.framesPerDirection = 5;
    const Bytes file = buildAnimation(anim);
    const FlcFrameStore s = read(file);
    EXPECT_EQ(animationPictures(anim), s.frames);
    EXPECT_FALSE(s.unusual);
    EXPECT_EQ(testPalette(), s.basePalette);
    // One record per frame, key frames included, numbered in order and tiling the file.
    ASSERT_EQ(size_t(8 * 6), s.records.size());
    uint32_t pos = kFlcHeaderSize;
    for (size_t i = 0; i < s.records.size(); ++i) {
        EXPECT_EQ(i, s.records[i].number);
        EXPECT_EQ(pos, s.records[i].position);
        pos += s.records[i].size;
    }
    EXPECT_EQ(file.size(), pos);
    // The palette's colours start after the chunk header and the packet words.
    EXPECT_EQ(std::vector<uint32_t>{s.records[0].chunks[1].position + 6}, s.paletteChunkPositions);
}

TEST(FlcReader, RefusesSizesOutsideOneTo240AndShortFiles)
{
    AnimationShape anim;
    anim.width = anim.height = 240;
    anim.directions = anim.framesPerDirection = 1;
    const Bytes good = buildAnimation(anim);
    FlcFrameStore s;
    for (int field : {8, 10})
        for (int side : {0, 241, 240}) {
            Bytes file = good;
            putLE16(file.data() + field, static_cast<uint16_t>(side));
            EXPECT_EQ(side == 240, readFlcFrames(file.data(), file.size(), s)) << field << ": " << side;
        }
    const Bytes tiny(100, 0);
    EXPECT_FALSE(readFlcFrames(tiny.data(), tiny.size(), s));
    FlcLoadResult loaded;
    EXPECT_EQ(loadFlcAnimation("/nonexistent/a.flc", loaded).message,
              formatMessage(str::IDS_INVALID_FORMAT, {"/nonexistent/a.flc"}));
}

TEST(FlcReader, ChunkSizeFieldsTheGameAndOtherWritersLeave)
{
    const int w = 5, h = 3;
    const Picture a = testPicture(w, h, 1, 0), b = testPicture(w, h, 1, 3), c = testPicture(w, h, 2, 1);
    const Palette256 pal = testPalette();

    // Garbage in the palette chunk's size field, as the game sometimes leaves it.
    FlcBuilder garbage(w, h);
    garbage.header.frames = 2;
    garbage.frame({Chunk::color256(pal).withSize(0xCDCDCDCD), Chunk::byteRun(a, w, h)});
    garbage.frame({Chunk::delta(a, b, w, h)});
    garbage.frame({Chunk::delta(b, c, w, h)});
    FlcFrameStore s = read(garbage.build());
    EXPECT_EQ((std::vector<Picture>{b, c}), s.frames);
    EXPECT_EQ(pal, s.basePalette);
    EXPECT_EQ(778u, s.records[0].chunks[0].size);
    EXPECT_EQ(128u + 16 + 778, s.records[0].chunks[1].position);

    // Chunks padded to an even length, and a short palette (15 colours) before the picture.
    PalettePacket few{0, 15, std::vector<PaletteEntry>(pal.entries.begin(), pal.entries.begin() + 15)};
    FlcBuilder padded(w, h);
    padded.header.frames = 2;
    const Chunk shortPal = Chunk::raw(kChunkColor256, palettePacketsPayload({few})).padded();
    padded.frame({shortPal, Chunk::byteRun(a, w, h).padded()});
    padded.frame({Chunk::delta(a, b, w, h).padded(), Chunk::delta(b, c, w, h).padded()});
    padded.frame({Chunk::black().padded()});
    s = read(padded.build());
    EXPECT_EQ((std::vector<Picture>{c, filled(w, h, 0)}), s.frames);
    EXPECT_EQ(pal[14], s.basePalette[14]);
    EXPECT_EQ(PaletteEntry{}, s.basePalette[15]);

    // Implausible sizes on picture chunks: the next chunk follows what the decoder read.
    // On any other chunk they end the frame's chunks.
    FlcBuilder wrong(w, h);
    wrong.header.frames = 2;
    wrong.frame({Chunk::byteRun(a, w, h).withSize(3), Chunk::color256(pal).withSize(1u << 31)});
    wrong.frame({Chunk::delta(a, b, w, h).withSize(0xFFFFFFFF), Chunk::raw(99, {1, 2, 3}).withSize(2),
                 Chunk::black()});
    s = read(wrong.build());
    EXPECT_EQ(std::vector<Picture>{b}, s.frames);  // the unknown chunk lowered the count to 1
    EXPECT_EQ(pal, s.basePalette);
    EXPECT_EQ(2, s.records[1].chunkCount);
    EXPECT_EQ(FlcChunkKind::Unknown, s.records[1].chunks[1].kind);
}

TEST(FlcReader, ChunkAndBlockCountingRules)
{
    const int w = 4, h = 2;
    const Picture a = filled(w, h, 1), b = filled(w, h, 2), c = filled(w, h, 3);
    // A prefix block and an unknown chunk each lower the count; an empty frame and a frame
    // with only a palette produce nothing and count for nothing.
    FlcBuilder fb(w, h);
    fb.header.frames = 5;
    fb.header.framesPerDirection = 10;
    fb.block(0xF100, {1, 2, 3, 4});
    fb.frame({Chunk::byteRun(a, w, h)});                   // key frame
    fb.frame(Frame{});                                     // no chunks
    fb.frame({Chunk::color256(testPalette())});            // palette only
    fb.frame({Chunk::raw(0x1234, {9, 9, 9}), Chunk::copy(b)});
    fb.frame({Chunk::copy(c)});
    fb.frame({Chunk::black()});                            // the third frame kept
    fb.frame({Chunk::copy(a)});                            // not reached: the count is now 3
    FlcFrameStore s = read(fb.build());
    EXPECT_EQ((std::vector<Picture>{b, c, filled(w, h, 0)}), s.frames);
    EXPECT_EQ(4u, s.records.size());
    EXPECT_EQ(1u, s.paletteChunkPositions.size());
    EXPECT_EQ(FlcChunkKind::Unknown, s.records[1].chunks[0].kind);
    EXPECT_EQ(9u, s.records[1].chunks[0].size);

    // Only five chunks of a frame are read; its size field, not its chunks, gives the next.
    FlcBuilder many(3, 3);
    many.header.frames = 2;
    many.header.framesPerDirection = 3;
    Frame six;
    for (int i = 0; i < 5; ++i) six.chunks.push_back(Chunk::copy(filled(3, 3, uint8_t(10 + i))));
    six.chunks.push_back(Chunk::black());  // the sixth: never applied
    six.trailing = {0xAA, 0xBB, 0xCC};     // junk after the chunks, inside the frame
    many.frame({Chunk::black()});          // only "BYTE_RUN" makes a key frame
    many.frame(six);
    s = read(many.build());
    ASSERT_EQ(2u, s.frames.size());
    EXPECT_EQ(filled(3, 3, 14), s.frames[1]);
    EXPECT_EQ(5, s.records[1].chunkCount);
}

TEST(FlcReader, KeyFramesAloneAreKeptAndFlaggedUnusual)
{
    const int w = 6, h = 4;
    // A unit file whose blocks hold only their key frames.
    FlcBuilder fb(w, h);
    fb.header.frames = 8;
    fb.header.framesPerDirection = 1;
    fb.header.directions = 2;
    const Picture a = testPicture(w, h, 1, 0), b = testPicture(w, h, 2, 0);
    fb.frame({Chunk::byteRun(a, w, h), Chunk::color256(testPalette())});
    fb.frame({Chunk::byteRun(a, w, h)});  // p = 1: an animation frame, not a key
    fb.frame({Chunk::byteRun(b, w, h)});  // p = 0 again: key
    FlcFrameStore s = read(fb.build());
    EXPECT_FALSE(s.unusual);
    EXPECT_EQ(1u, s.frames.size());
    EXPECT_EQ(3u, s.records.size());

    // A leader head with only key frames: kept as the animation, reported unusual (the
    // CLI's tests check the warning).
    FlcBuilder lh(w, h);
    lh.header.frames = 1;
    lh.frame({Chunk::color256(testPalette()), Chunk::byteRun(a, w, h)});
    lh.frame({Chunk::byteRun(b, w, h)});
    s = read(lh.build());
    EXPECT_TRUE(s.unusual);
    EXPECT_EQ((std::vector<Picture>{a, b}), s.frames);
}

TEST(FlcReader, DamagedAndTruncatedFilesKeepTheFramesBefore)
{
    AnimationShape anim;
    anim.directions = 2;
    anim.framesPerDirection = 3;
    const Bytes file = buildAnimation(anim);
    const FlcFrameStore whole = read(file);
    const uint32_t lastStart = whole.records.back().position;
    const std::vector<FramePixels> before(whole.frames.begin(), whole.frames.begin() + 5);

    // Cut inside the last frame, or right after its header; a frame size below 16.
    for (size_t cut : {size_t(lastStart) + 20, size_t(lastStart) + 16, size_t(lastStart) + 3})
        EXPECT_EQ(before, read(Bytes(file.begin(), file.begin() + long(cut))).frames) << cut;
    Bytes bad = file;
    putLE32(bad.data() + lastStart, 15);
    EXPECT_EQ(before, read(bad).frames);
    // Nothing before the damage: the load fails (the CLI's tests check the message).
    putLE32(bad.data() + 128, 0xFFFFFF00);
    read(bad, false);
}

TEST(FlcReader, LeaderHeadHeaderIsCompletedOnLoad)
{
    AnimationShape anim;
    anim.leaderHead = true;
    anim.directions = 1;
    anim.framesPerDirection = 30;
    anim.speed = 0;
    const Bytes file = buildAnimation(anim);
    FlcLoadResult r;
    ASSERT_TRUE(loadFlcAnimation("lh.flc", file.data(), file.size(), r));
    EXPECT_TRUE(r.leaderHead);
    EXPECT_EQ(animationPictures(anim), r.store.frames);
    const FlcHeader& h = r.store.header;
    // Speed, directions, frames per direction, animation time, original width and height.
    EXPECT_EQ((std::vector<uint32_t>{h.speed, h.directions, h.framesPerDirection, h.animationTime, h.originalWidth,
                                     h.originalHeight}),
              (std::vector<uint32_t>{10, 1, 30, 300, 240, 240}));

    // A unit header is left as it is, apart from a speed of 0.
    FlcHeader unit;
    unit.framesPerDirection = 4;
    unit.directions = 8;
    unit.leftOffset = 7;
    EXPECT_FALSE(completeFlcHeader(unit, 32));
    EXPECT_EQ((std::vector<uint32_t>{unit.speed, unit.framesPerDirection, unit.leftOffset}),
              (std::vector<uint32_t>{10, 4, 7}));
}
