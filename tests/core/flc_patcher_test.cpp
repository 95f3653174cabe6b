// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The in-place save of an FLC file: header and palette triples rewritten, every other
// byte (all frame data) unchanged, broken inputs refused or clipped without growing.
#include <gtest/gtest.h>

#include <random>

#include "core/flc_patcher.h"
#include "core/flc_reader.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

Palette256 shiftedPalette()
{
    Palette256 p;
    for (int i = 0; i < 256; ++i)
        p[i] = PaletteEntry::fromRgb(static_cast<uint8_t>(i ^ 0x5A), static_cast<uint8_t>(3 * i + 1),
                                     static_cast<uint8_t>(200 - i));
    return p;
}

TEST(FlcPatcher, WritesHeaderAndPaletteAndLeavesEveryFrameByte)
{
    AnimationSpec anim;
    anim.directions = 8;
    anim.framesPerDirection = 3;
    const Bytes original = buildAnimation(anim);
    FlcFrameStore before;
    ASSERT_TRUE(readFlcFrames(original.data(), original.size(), before));
    ASSERT_FALSE(before.paletteChunkPositions.empty());

    FlcHeader header = before.header;
    header.leftOffset = 100;
    header.topOffset = 102;
    const Palette256 edited = shiftedPalette();
    Bytes patched;
    ASSERT_EQ(patchFlcBytes(original.data(), original.size(), header, edited, before.paletteChunkPositions, patched),
              FlcPatchError::None);
    ASSERT_EQ(patched.size(), original.size());

    // Only the header and the 768 triple bytes of each palette chunk may differ.
    std::vector<bool> mayChange(original.size(), false);
    for (size_t i = 0; i < kFlcHeaderSize; ++i) mayChange[i] = true;
    for (uint32_t pos : before.paletteChunkPositions)
        for (size_t i = pos + 4; i < pos + 4 + 768; ++i) mayChange[i] = true;
    for (size_t i = 0; i < original.size(); ++i) {
        if (!mayChange[i]) {
            ASSERT_EQ(patched[i], original[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(getLE16(patched.data() + 100), 100);
    EXPECT_EQ(getLE16(patched.data() + 102), 102);

    FlcFrameStore after;
    ASSERT_TRUE(readFlcFrames(patched.data(), patched.size(), after));
    EXPECT_EQ(after.basePalette, edited);
    EXPECT_EQ(after.frames, before.frames);
    EXPECT_EQ(after.header.leftOffset, 100);

    // Patching again with the same values changes nothing.
    Bytes again;
    patchFlcBytes(patched.data(), patched.size(), header, edited, after.paletteChunkPositions, again);
    EXPECT_EQ(again, patched);
}

TEST(FlcPatcher, RewritesOnlyTheEntriesEachPacketNames)
{
    std::vector<PalettePacket> packets(3);
    packets[0].skip = 0;
    packets[0].count = 16;
    packets[0].colours.assign(16, PaletteEntry::fromRgb(1, 2, 3));
    packets[1].skip = 4;
    packets[1].count = 8;
    packets[1].colours.assign(8, PaletteEntry::fromRgb(4, 5, 6));
    // Entries 250..259: those past 255 exist in no palette and keep their bytes.
    packets[2].skip = 222;
    packets[2].count = 10;
    packets[2].colours.assign(10, PaletteEntry::fromRgb(7, 8, 9));
    const Bytes payload = palettePacketsPayload(packets);

    Bytes chunk(kChunkHeaderSize);
    putLE32(chunk.data(), static_cast<uint32_t>(kChunkHeaderSize + payload.size()));
    putLE16(chunk.data() + 4, kChunkColor256);
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    Bytes data = chunk;
    const Palette256 edited = shiftedPalette();
    ASSERT_TRUE(rewritePaletteChunk(data.data(), data.size(), kChunkHeaderSize, edited));

    const uint8_t* p = data.data() + kChunkHeaderSize + 2;
    auto expectTriples = [&](int firstEntry, int count) {
        p += 2;  // skip and count bytes unchanged
        for (int k = 0; k < count; ++k, p += 3) {
            const PaletteEntry& e = edited[firstEntry + k];
            EXPECT_EQ(p[0], e.red);
            EXPECT_EQ(p[1], e.green);
            EXPECT_EQ(p[2], e.blue);
        }
    };
    expectTriples(0, 16);
    expectTriples(20, 8);
    expectTriples(250, 6);
    const size_t tail = static_cast<size_t>(p - data.data());
    for (size_t i = tail; i < tail + 12; ++i) EXPECT_EQ(data[i], chunk[i]);
    for (size_t i = 0; i < kChunkHeaderSize + 2; ++i) EXPECT_EQ(data[i], chunk[i]);
}

TEST(FlcPatcher, RefusesOrClipsBrokenInputWithoutGrowing)
{
    const FlcHeader header;
    const Palette256 pal = shiftedPalette();
    Bytes out{1, 2, 3};
    const Bytes file = buildAnimation(AnimationSpec{});

    EXPECT_EQ(patchFlcBytes(file.data(), file.size(), header, pal, {}, out), FlcPatchError::NoPaletteChunk);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(patchFlcBytes(file.data(), 100, header, pal, {200}, out), FlcPatchError::TooShort);
    EXPECT_EQ(patchFlcBytes(file.data(), file.size(), header, pal, {static_cast<uint32_t>(file.size() + 1)}, out),
              FlcPatchError::BadPosition);
    EXPECT_TRUE(out.empty());

    // A chunk cut off in the middle of a triple: whole triples are written, no more.
    Bytes cut(kChunkHeaderSize);
    putLE32(cut.data(), 778);
    putLE16(cut.data() + 4, kChunkColor256);
    const Bytes payload = palettePayload(testPalette());
    cut.insert(cut.end(), payload.begin(), payload.begin() + 4 + 3 * 5 + 2);
    const Bytes before = cut;
    ASSERT_TRUE(rewritePaletteChunk(cut.data(), cut.size(), kChunkHeaderSize, pal));
    EXPECT_EQ(cut.size(), before.size());
    EXPECT_EQ(cut[kChunkHeaderSize + 4 + 3 * 4], pal[4].red);
    EXPECT_EQ(cut[cut.size() - 2], before[before.size() - 2]);
    EXPECT_EQ(cut[cut.size() - 1], before[before.size() - 1]);

    // Random bytes at random positions: never out of bounds, never a size change.
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        Bytes junk(128 + rng() % 600);
        for (auto& b : junk) b = static_cast<uint8_t>(rng());
        std::vector<uint32_t> positions(1 + rng() % 3);
        for (auto& pos : positions) pos = static_cast<uint32_t>(rng() % (junk.size() + 1));
        Bytes patched;
        if (patchFlcBytes(junk.data(), junk.size(), header, pal, positions, patched) == FlcPatchError::None) {
            ASSERT_EQ(patched.size(), junk.size());
        }
    }
}

TEST(FlcPatcher, CustomDelayReachesTheHeaderOfUnitAnimationsOnly)
{
    FlcHeader h;
    h.speed = 70;
    h.animationTime = 700;
    const FlcHeader custom = headerForSave(h, false, true, 120, 10);
    EXPECT_EQ(custom.speed, 120u);
    EXPECT_EQ(custom.animationTime, 1200u);
    const FlcHeader own = headerForSave(h, false, false, 120, 10);
    EXPECT_EQ(own.speed, 70u);
    EXPECT_EQ(own.animationTime, 700u);
    const FlcHeader leader = headerForSave(h, true, true, 120, 10);
    EXPECT_EQ(leader.speed, 70u);
    EXPECT_EQ(leader.animationTime, 700u);
}

}  // namespace
