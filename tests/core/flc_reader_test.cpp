// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/flc_decode.h"
#include "core/flc_reader.h"
#include "core/strings.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

// A picture with guard bytes on both sides, to catch writes outside it.
struct Guarded {
    static constexpr size_t kGuard = 64;
    Guarded(int w, int h, uint8_t fill = 0) : width(w), height(h), buf(kGuard * 2 + size_t(w) * h, 0xEE)
    {
        std::fill(pic(), pic() + size_t(w) * h, fill);
    }
    uint8_t* pic() { return buf.data() + kGuard; }
    uint8_t at(int x, int y) { return pic()[size_t(y) * width + x]; }
    bool guardsIntact() const
    {
        for (size_t i = 0; i < kGuard; ++i)
            if (buf[i] != 0xEE || buf[buf.size() - 1 - i] != 0xEE) return false;
        return true;
    }
    int width, height;
    Bytes buf;
};

Bytes le16s(std::initializer_list<int> words)
{
    Bytes b;
    for (int w : words) ByteWriter(b).u16(static_cast<uint16_t>(w));
    return b;
}

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

FlcFrameStore read(const Bytes& file, bool expectOk = true)
{
    FlcFrameStore s;
    EXPECT_EQ(expectOk, readFlcFrames(file.data(), file.size(), s));
    return s;
}

Picture filled(int w, int h, uint8_t v) { return Picture(size_t(w) * h, v); }

}  // namespace

// ---- Decoders over hand-made payloads ----

TEST(FlcDecode, ByteRunRunsLiteralsAndLineCrossing)
{
    Guarded g(4, 3, 9);
    // Line 0: run of 2 x 7, literal 2 bytes. Line 1: a run of 6 that goes on into line 2,
    // whose first packet then fills only its remaining 2 pixels... the output position runs on.
    const Bytes data = {0, 2, 7, 0xFE, 1, 2, /*line1*/ 0, 6, 5, /*line2*/ 0, 0, 8, 0xFF, 3, 2, 4};
    const size_t read = decodeByteRun(data.data(), data.size(), g.pic(), 4, 3);
    EXPECT_EQ(data.size(), read);
    const Bytes expect = {7, 7, 1, 2, 5, 5, 5, 5, 5, 5, 3, 4};
    EXPECT_EQ(expect, Bytes(g.pic(), g.pic() + 12));
    EXPECT_TRUE(g.guardsIntact());
}

TEST(FlcDecode, ByteRunMinus128CopiesA128ByteLiteral)
{
    Guarded g(128, 1);
    Bytes data = {1, 0x80};
    for (int i = 0; i < 128; ++i) data.push_back(static_cast<uint8_t>(i + 1));
    EXPECT_EQ(data.size(), decodeByteRun(data.data(), data.size(), g.pic(), 128, 1));
    for (int i = 0; i < 128; ++i) ASSERT_EQ(i + 1, g.at(i, 0));
}

TEST(FlcDecode, ByteRunClipsHostileRunsAndStopsAtTheDataEnd)
{
    // A literal of 128 and a run of 127 on a 10-pixel picture: nothing past it is written.
    Guarded g(5, 2);
    Bytes data = {0, 3, 4, 0x80};
    for (int i = 0; i < 128; ++i) data.push_back(6);
    EXPECT_EQ(data.size(), decodeByteRun(data.data(), data.size(), g.pic(), 5, 2));
    EXPECT_TRUE(g.guardsIntact());
    EXPECT_EQ(Bytes({4, 4, 4, 6, 6, 6, 6, 6, 6, 6}), Bytes(g.pic(), g.pic() + 10));
    Guarded r(5, 2);
    const Bytes run = {0, 127, 4, 0, 127, 5};
    EXPECT_EQ(run.size(), decodeByteRun(run.data(), run.size(), r.pic(), 5, 2));
    EXPECT_TRUE(r.guardsIntact());
    EXPECT_EQ(4, r.at(4, 1));

    // A literal that claims more bytes than there are reads only what is there.
    Guarded t(8, 1);
    const Bytes cut = {0, 0xF8, 1, 2, 3};
    EXPECT_EQ(cut.size(), decodeByteRun(cut.data(), cut.size(), t.pic(), 8, 1));
    EXPECT_EQ(3, t.at(2, 0));
    EXPECT_EQ(0, t.at(3, 0));
    // Counts of 0 write nothing but still consume their value byte.
    Guarded z(2, 1, 9);
    const Bytes zeros = {0, 0, 1, 0, 2, 2, 3};
    EXPECT_EQ(zeros.size(), decodeByteRun(zeros.data(), zeros.size(), z.pic(), 2, 1));
    EXPECT_EQ(3, z.at(0, 0));
}

TEST(FlcDecode, DeltaPacketsSkipWordsAndRepeats)
{
    Guarded g(8, 4, 1);
    const Bytes data = cat({le16s({2, 0xFFFE /*skip two lines*/, 2 /*packets*/}),
                            {2, 1, 0x11, 0x22 /*skip 2, one word*/, 0, 0xFF, 0x33, 0x44 /*repeat once*/},
                            le16s({1}), {0, 0xFE, 0x55, 0x66}});
    EXPECT_EQ(data.size(), decodeDeltaFlc(data.data(), data.size(), g.pic(), 8, 4));
    EXPECT_EQ(Bytes({1, 1, 1, 1, 1, 1, 1, 1}), Bytes(g.pic(), g.pic() + 8));
    EXPECT_EQ(Bytes({1, 1, 0x11, 0x22, 0x33, 0x44, 1, 1}), Bytes(g.pic() + 16, g.pic() + 24));
    EXPECT_EQ(Bytes({0x55, 0x66, 0x55, 0x66, 1, 1, 1, 1}), Bytes(g.pic() + 24, g.pic() + 32));

    // -128 repeats its word 128 times; a count of 0 reads its word and writes nothing.
    Guarded r(256, 1, 1);
    const Bytes rep = cat({le16s({1, 2}), {0, 0x80, 0xAB, 0xCD, 0, 0, 0x77, 0x77}});
    EXPECT_EQ(rep.size(), decodeDeltaFlc(rep.data(), rep.size(), r.pic(), 256, 1));
    for (int x = 0; x < 256; ++x) ASSERT_EQ(x % 2 ? 0xCD : 0xAB, r.at(x, 0)) << x;
}

TEST(FlcDecode, DeltaLastPixelWordSetsTheLastPixelOfItsLineForEveryWidth)
{
    for (int width : {7, 8, 1, 239}) {
        Guarded g(width, 3, 0);
        // Line 0: nothing; line 1: last pixel 0x12 (top bits 10), no packets;
        // line 2: last pixel 0x34 (top bits 01) and one packet.
        const Bytes data = cat({le16s({3, 0, 0x8012, 0, 0x4034, 1}), {0, 1, 9, 9}});
        EXPECT_EQ(data.size(), decodeDeltaFlc(data.data(), data.size(), g.pic(), width, 3)) << width;
        EXPECT_EQ(0x12, g.at(width - 1, 1)) << width;
        EXPECT_EQ(width == 1 ? 9 : 0x34, g.at(width - 1, 2)) << width;
        EXPECT_EQ(0, g.at(width - 1, 0)) << width;
        if (width > 1) {
            EXPECT_EQ(0, g.at(0, 1)) << width;
        }
        EXPECT_TRUE(g.guardsIntact()) << width;
    }
}

TEST(FlcDecode, DeltaClipsHostileSkipsLinesAndRuns)
{
    Guarded g(6, 3);
    // Skip 200 lines, then a line with packets: nothing is written.
    Bytes data = cat({le16s({2, static_cast<uint16_t>(-200), 1}), {0, 3, 1, 1, 1, 1, 1, 1}});
    // Then a last-pixel word and a packet count 1 on a line past the picture.
    data = cat({data, le16s({0x80FF, 1}), {250, 0x81, 2, 2}});
    EXPECT_EQ(data.size(), decodeDeltaFlc(data.data(), data.size(), g.pic(), 6, 3));
    EXPECT_TRUE(g.guardsIntact());
    for (int i = 0; i < 18; ++i) EXPECT_EQ(0, g.pic()[i]);

    // Packets on the last line that run past its end are clipped at the picture's end.
    Guarded e(6, 2);
    const Bytes last = cat({le16s({1, 0xFFFF, 2}), {4, 0x80, 7, 7, 255, 5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    EXPECT_EQ(last.size(), decodeDeltaFlc(last.data(), last.size(), e.pic(), 6, 2));
    EXPECT_TRUE(e.guardsIntact());
    EXPECT_EQ(7, e.at(4, 1));
    EXPECT_EQ(7, e.at(5, 1));

    // A line count far larger than the data: reading stops at the data's end.
    Guarded t(4, 4);
    const Bytes cut = cat({le16s({0xFFFF, 1}), {0, 5, 1, 2}});
    EXPECT_EQ(cut.size(), decodeDeltaFlc(cut.data(), cut.size(), t.pic(), 4, 4));
    EXPECT_TRUE(t.guardsIntact());
}

TEST(FlcDecode, PalettePackets)
{
    Palette256 all;
    const Bytes full = palettePayload(testPalette());
    EXPECT_EQ(772u, decodeColor256(full.data(), full.size(), all));
    EXPECT_EQ(testPalette(), all);
    EXPECT_EQ(778u, paletteChunkLength(772));
    EXPECT_EQ(14u, paletteChunkLength(2 + 2 + 3));  // one colour: 13 bytes and a pad byte

    // Two packets (skip 0, count 16) and (skip 4, count 8) set 0..15 and 20..27.
    PalettePacket a{0, 16, {}}, b{4, 8, {}};
    for (int i = 0; i < 16; ++i) a.colours.push_back(PaletteEntry::fromRgb(1, 2, uint8_t(i)));
    for (int i = 0; i < 8; ++i) b.colours.push_back(PaletteEntry::fromRgb(3, 4, uint8_t(i)));
    const Bytes two = palettePacketsPayload({a, b});
    Palette256 p;
    EXPECT_EQ(two.size(), decodeColor256(two.data(), two.size(), p));
    for (int i = 0; i < 256; ++i) {
        if (i < 16) EXPECT_EQ(PaletteEntry::fromRgb(1, 2, uint8_t(i)), p[i]);
        else if (i >= 20 && i < 28) EXPECT_EQ(PaletteEntry::fromRgb(3, 4, uint8_t(i - 20)), p[i]);
        else EXPECT_EQ(PaletteEntry{}, p[i]) << i;
    }

    // Colours that would land past entry 255 are read but dropped.
    PalettePacket far{250, 10, std::vector<PaletteEntry>(10, PaletteEntry::fromRgb(9, 9, 9))};
    const Bytes over = palettePacketsPayload({far});
    Palette256 q;
    EXPECT_EQ(over.size(), decodeColor256(over.data(), over.size(), q));
    EXPECT_EQ(PaletteEntry::fromRgb(9, 9, 9), q[255]);
}

// ---- Reading whole files ----

TEST(FlcReader, UnitFileKeepsDirectionsTimesFramesAndSetsKeyFramesAside)
{
    for (int dirs : {8, 4}) {
        AnimationSpec anim;
        anim.width = 23;  // odd: exercises the last-pixel word
        anim.height = 11;
        anim.directions = dirs;
        anim.framesPerDirection = 5;
        const Bytes file = buildAnimation(anim);
        const FlcFrameStore s = read(file);
        const auto pics = animationPictures(anim);
        ASSERT_EQ(pics.size(), s.frames.size());
        for (size_t i = 0; i < pics.size(); ++i) ASSERT_EQ(pics[i], s.frames[i]) << "frame " << i;
        EXPECT_FALSE(s.unusual);
        EXPECT_EQ(testPalette(), s.basePalette);
        // One record per frame, key frames included, numbered in order and tiling the file.
        ASSERT_EQ(size_t(dirs * 6), s.records.size());
        uint32_t pos = kFlcHeaderSize;
        for (size_t i = 0; i < s.records.size(); ++i) {
            EXPECT_EQ(i, s.records[i].number);
            EXPECT_EQ(pos, s.records[i].position);
            pos += s.records[i].size;
        }
        EXPECT_EQ(file.size(), pos);
        // The first key frame: BYTE_RUN then COLOR_256; later ones BYTE_RUN only.
        const FlcFrameInfo& k0 = s.records[0];
        ASSERT_EQ(2, k0.chunkCount);
        EXPECT_EQ(FlcChunkKind::ByteRun, k0.chunks[0].kind);
        EXPECT_EQ(FlcChunkKind::Color256, k0.chunks[1].kind);
        EXPECT_EQ(778u, k0.chunks[1].size);
        EXPECT_EQ(k0.position + 16, k0.chunks[0].position);
        ASSERT_EQ(1u, s.paletteChunkPositions.size());
        EXPECT_EQ(k0.chunks[1].position + 6, s.paletteChunkPositions[0]);
        EXPECT_EQ(FlcChunkKind::DeltaFlc, s.records[1].chunks[0].kind);
        EXPECT_EQ(1, s.records[6].chunkCount);
        EXPECT_EQ(FlcChunkKind::ByteRun, s.records[6].chunks[0].kind);
    }
}

TEST(FlcReader, RefusesSizesOutsideOneTo240)
{
    for (int side : {0, 241, 240}) {
        AnimationSpec anim;
        anim.width = 240;
        anim.height = 8;
        anim.directions = 1;
        anim.framesPerDirection = 1;
        Bytes file = buildAnimation(anim);
        putLE16(file.data() + 8, static_cast<uint16_t>(side));
        FlcFrameStore s;
        EXPECT_EQ(side == 240, readFlcFrames(file.data(), file.size(), s)) << side;
        putLE16(file.data() + 8, 240);
        putLE16(file.data() + 10, static_cast<uint16_t>(side));
        EXPECT_FALSE(side != 240 && readFlcFrames(file.data(), file.size(), s)) << side;
    }
    FlcFrameStore s;
    const Bytes tiny(100, 0);
    EXPECT_FALSE(readFlcFrames(tiny.data(), tiny.size(), s));
}

TEST(FlcReader, ChunkSizeFieldsTheGameAndOtherWritersLeave)
{
    const int w = 5, h = 3;
    const Picture a = testPicture(w, h, 1, 0), b = testPicture(w, h, 1, 3), c = testPicture(w, h, 2, 1);
    const Palette256 pal = testPalette();

    // Garbage in the palette chunk's size field, as the game sometimes leaves it.
    {
        FlcBuilder fb(w, h);
        fb.header.frames = 2;
        fb.frame({Chunk::color256(pal).withSize(0xCDCDCDCD), Chunk::byteRun(a, w, h)});
        fb.frame({Chunk::delta(a, b, w, h)});
        fb.frame({Chunk::delta(b, c, w, h)});
        const FlcFrameStore s = read(fb.build());
        ASSERT_EQ(2u, s.frames.size());
        EXPECT_EQ(b, s.frames[0]);
        EXPECT_EQ(c, s.frames[1]);
        EXPECT_EQ(pal, s.basePalette);
        EXPECT_EQ(778u, s.records[0].chunks[0].size);
        EXPECT_EQ(128u + 16 + 778, s.records[0].chunks[1].position);
    }
    // Chunks padded to an even length, and a short palette (15 colours) before the picture.
    {
        PalettePacket few{0, 15, std::vector<PaletteEntry>(pal.entries.begin(), pal.entries.begin() + 15)};
        FlcBuilder fb(w, h);
        fb.header.frames = 2;
        const Chunk shortPal = Chunk::raw(kChunkColor256, palettePacketsPayload({few})).padded();
        ASSERT_EQ(56u, shortPal.length());  // 55 and a pad byte
        fb.frame({shortPal, Chunk::byteRun(a, w, h).padded()});
        fb.frame({Chunk::delta(a, b, w, h).padded(), Chunk::delta(b, c, w, h).padded()});
        fb.frame({Chunk::black().padded()});
        const FlcFrameStore s = read(fb.build());
        ASSERT_EQ(2u, s.frames.size());
        EXPECT_EQ(c, s.frames[0]);
        EXPECT_EQ(filled(w, h, 0), s.frames[1]);
        EXPECT_EQ(pal[14], s.basePalette[14]);
        EXPECT_EQ(PaletteEntry{}, s.basePalette[15]);
    }
    // Implausible sizes on picture chunks: the next chunk follows what the decoder read.
    // On any other chunk they end the frame's chunks.
    {
        FlcBuilder fb(w, h);
        fb.header.frames = 2;
        fb.frame({Chunk::byteRun(a, w, h).withSize(3), Chunk::color256(pal).withSize(1u << 31)});
        fb.frame({Chunk::delta(a, b, w, h).withSize(0xFFFFFFFF), Chunk::raw(99, {1, 2, 3}).withSize(2),
                  Chunk::black()});
        const FlcFrameStore s = read(fb.build());
        ASSERT_EQ(1u, s.frames.size());  // the unknown chunk lowered the count to 1
        EXPECT_EQ(b, s.frames[0]);
        EXPECT_EQ(pal, s.basePalette);
        EXPECT_EQ(2, s.records[1].chunkCount);
        EXPECT_EQ(FlcChunkKind::Unknown, s.records[1].chunks[1].kind);
    }
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
    const FlcFrameStore s = read(fb.build());
    ASSERT_EQ(3u, s.frames.size());
    EXPECT_EQ(b, s.frames[0]);
    EXPECT_EQ(c, s.frames[1]);
    EXPECT_EQ(filled(w, h, 0), s.frames[2]);
    EXPECT_EQ(4u, s.records.size());
    EXPECT_EQ(1u, s.paletteChunkPositions.size());
    EXPECT_EQ(FlcChunkKind::Unknown, s.records[1].chunks[0].kind);
    EXPECT_EQ(9u, s.records[1].chunks[0].size);
}

TEST(FlcReader, OnlyFiveChunksAreReadAndTheFrameSizeGivesTheNextFrame)
{
    const int w = 3, h = 3;
    FlcBuilder fb(w, h);
    fb.header.frames = 2;
    fb.header.framesPerDirection = 3;
    Frame six;
    for (int i = 0; i < 5; ++i) six.chunks.push_back(Chunk::copy(filled(w, h, uint8_t(10 + i))));
    six.chunks.push_back(Chunk::black());  // the sixth: never applied
    six.trailing = {0xAA, 0xBB, 0xCC};     // junk after the chunks, inside the frame
    fb.frame({Chunk::black()});            // only "BYTE_RUN" makes a key frame
    fb.frame(six);
    const FlcFrameStore s = read(fb.build());
    ASSERT_EQ(2u, s.frames.size());
    EXPECT_EQ(filled(w, h, 14), s.frames[1]);
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
    ASSERT_EQ(1u, s.frames.size());
    EXPECT_EQ(3u, s.records.size());

    // A leader head with one full frame: kept as the animation, reported unusual.
    FlcBuilder lh(w, h);
    lh.header.frames = 1;
    lh.frame({Chunk::color256(testPalette()), Chunk::byteRun(a, w, h)});
    lh.frame({Chunk::byteRun(b, w, h)});
    s = read(lh.build());
    EXPECT_TRUE(s.unusual);
    ASSERT_EQ(2u, s.frames.size());
    EXPECT_EQ(a, s.frames[0]);
    EXPECT_EQ(b, s.frames[1]);

    FlcLoadResult r;
    const Bytes file = lh.build();
    ASSERT_TRUE(loadFlcAnimation("/x/lh.flc", file.data(), file.size(), r));
    EXPECT_EQ("'/x/lh.flc'\r\nThis file has unusual Dominara FLC document format.\r\n"
              "Document was opend but will not correctly works.",
              r.warning);
}

TEST(FlcReader, DamagedAndTruncatedFilesKeepTheFramesBefore)
{
    AnimationSpec anim;
    anim.directions = 2;
    anim.framesPerDirection = 3;
    const Bytes file = buildAnimation(anim);
    const FlcFrameStore whole = read(file);
    const uint32_t lastStart = whole.records.back().position;

    // Cut inside the last frame, or right after its header.
    for (size_t cut : {size_t(lastStart) + 20, size_t(lastStart) + 16, size_t(lastStart) + 3}) {
        const Bytes part(file.begin(), file.begin() + long(cut));
        const FlcFrameStore s = read(part);
        ASSERT_EQ(5u, s.frames.size()) << cut;
        for (size_t i = 0; i < 5; ++i) EXPECT_EQ(whole.frames[i], s.frames[i]);
    }
    // A frame size below 16 ends the reading as well.
    Bytes bad = file;
    putLE32(bad.data() + lastStart, 15);
    EXPECT_EQ(5u, read(bad).frames.size());
    // Nothing before the damage: the load fails with the program's message.
    Bytes none = file;
    putLE32(none.data() + 128, 0xFFFFFF00);
    read(none, false);
    FlcLoadResult r;
    const Status st = loadFlcAnimation("a.flc", none.data(), none.size(), r);
    EXPECT_FALSE(st.ok);
    EXPECT_EQ("'a.flc'\r\nInvalid or unsupported document format.", st.message);
}

TEST(FlcReader, LeaderHeadHeaderIsCompletedOnLoad)
{
    AnimationSpec anim;
    anim.leaderHead = true;
    anim.directions = 1;
    anim.framesPerDirection = 30;
    anim.speed = 0;
    anim.width = 20;
    anim.height = 10;
    Bytes file = buildAnimation(anim);
    FlcLoadResult r;
    ASSERT_TRUE(loadFlcAnimation("lh.flc", file.data(), file.size(), r));
    EXPECT_TRUE(r.leaderHead);
    EXPECT_FALSE(r.store.unusual);
    EXPECT_EQ(30u, r.store.frames.size());
    const FlcHeader& h = r.store.header;
    EXPECT_EQ(10u, h.speed);
    EXPECT_EQ(1, h.directions);
    EXPECT_EQ(30, h.framesPerDirection);
    EXPECT_EQ(300u, h.animationTime);
    EXPECT_EQ(240, h.originalWidth);
    EXPECT_EQ(240, h.originalHeight);
    EXPECT_EQ(1u, r.store.paletteChunkPositions.size());

    // A unit header is left as it is, apart from a speed of 0.
    FlcHeader unit;
    unit.framesPerDirection = 4;
    unit.directions = 8;
    unit.leftOffset = 7;
    EXPECT_FALSE(completeFlcHeader(unit, 32));
    EXPECT_EQ(10u, unit.speed);
    EXPECT_EQ(4, unit.framesPerDirection);
    EXPECT_EQ(7, unit.leftOffset);
}

TEST(FlcReader, OpenCheckWantsTheExtensionAndTheMagic)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("qv_reader_check_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    auto write = [&](const std::string& name, const Bytes& b) {
        std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), long(b.size()));
        return (dir / name).string();
    };
    AnimationSpec anim;
    anim.directions = 1;
    const Bytes good = buildAnimation(anim);
    Bytes noMagic = good;
    noMagic[4] = 0x11;

    EXPECT_TRUE(checkFlcFile(write("a.flc", good)).ok);
    EXPECT_TRUE(checkFlcFile(write("b.FLC", good)).ok);
    EXPECT_TRUE(checkFlcFile(write("c.Flc", good)).ok);
    const std::string other = write("d.fli", good);
    const Status s = checkFlcFile(other);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ("'" + other + "'\r\nInvalid or unsupported document format.", s.message);
    EXPECT_FALSE(checkFlcFile(write("e.flc", noMagic)).ok);
    EXPECT_FALSE(checkFlcFile(write("f.flc", Bytes(good.begin(), good.begin() + 5))).ok);
    EXPECT_FALSE(checkFlcFile((dir / "missing.flc").string()).ok);
    fs::create_directories(dir / "folder.flc");
    EXPECT_FALSE(checkFlcFile((dir / "folder.flc").string()).ok);

    FlcLoadResult r;
    EXPECT_TRUE(loadFlcAnimation((dir / "a.flc").string(), r).ok);
    EXPECT_EQ(4u, r.store.frames.size());
    EXPECT_FALSE(loadFlcAnimation((dir / "missing.flc").string(), r).ok);
    fs::remove_all(dir);
}
