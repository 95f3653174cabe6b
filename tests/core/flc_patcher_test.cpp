// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The in-place save of an FLC file: header and palette triples rewritten, every other
// byte (all frame data) unchanged, broken inputs refused or clipped without growing.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/flc_patcher.h"
#include "core/flc_reader.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

// Differs from testPalette() in every entry.
Palette256 shiftedPalette()
{
    Palette256 p = testPalette();
    std::reverse(p.entries.begin(), p.entries.end());
    return p;
}

// A COLOR_256 chunk: its 6-byte header (size 6 + payload, type 4) and the payload.
Bytes paletteChunk(const Bytes& payload)
{
    return concatBytes({le16Words({int(kChunkHeaderSize + payload.size()), 0, kChunkColor256}), payload});
}

TEST(FlcPatcher, WritesHeaderAndPaletteAndLeavesEveryFrameByte)
{
    AnimationShape anim;
    anim.directions = 8;
    anim.framesPerDirection = 3;
    const Bytes original = buildAnimation(anim);
    FlcFrameStore before;
    ASSERT_TRUE(readFlcFrames(original.data(), original.size(), before));

    FlcHeader header = before.header;
    header.leftOffset = 100;
    header.topOffset = 102;
    const Palette256 edited = shiftedPalette();
    Bytes patched;
    ASSERT_EQ(patchFlcBytes(original.data(), original.size(), header, edited, before.paletteChunkPositions, patched),
              FlcPatchError::None);
    ASSERT_EQ(patched.size(), original.size());

    // Only the header and the 768 triple bytes of each palette chunk may differ.
    Bytes restored = patched;
    std::copy_n(original.begin(), kFlcHeaderSize, restored.begin());
    for (uint32_t pos : before.paletteChunkPositions)
        std::copy_n(original.begin() + pos + 4, 768, restored.begin() + pos + 4);
    EXPECT_EQ(restored, original);

    FlcFrameStore after;
    ASSERT_TRUE(readFlcFrames(patched.data(), patched.size(), after));
    EXPECT_EQ(after.basePalette, edited);
    EXPECT_EQ(after.header.leftOffset, 100);
    EXPECT_EQ(after.header.topOffset, 102);
}

TEST(FlcPatcher, RewritesOnlyTheEntriesEachPacketNames)
{
    const Palette256 edited = shiftedPalette();
    // Packets for entries 0..15, 20..27 and 250..259: those past 255 exist in no palette
    // and keep their bytes; skip and count bytes stay as they are.
    std::vector<PalettePacket> packets = {{0, 16, {}}, {4, 8, {}}, {222, 10, {}}};
    for (auto& p : packets) p.colours.assign(p.count, PaletteEntry::fromRgb(1, 2, 3));
    Bytes data = paletteChunk(palettePacketsPayload(packets));
    int entry = 0;
    for (auto& p : packets) {
        entry += p.skip;
        for (int k = 0; k < p.count && entry < 256; ++k) p.colours[size_t(k)] = edited[entry++];
    }
    ASSERT_TRUE(rewritePaletteChunk(data.data(), data.size(), kChunkHeaderSize, edited));
    EXPECT_EQ(data, paletteChunk(palettePacketsPayload(packets)));
}

TEST(FlcPatcher, RefusesOrClipsBrokenInputWithoutGrowing)
{
    const FlcHeader header;
    const Palette256 pal = shiftedPalette();
    Bytes out{1, 2, 3};
    const Bytes file = buildAnimation(AnimationShape{});

    EXPECT_EQ(patchFlcBytes(file.data(), file.size(), header, pal, {}, out), FlcPatchError::NoPaletteChunk);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(patchFlcBytes(file.data(), 100, header, pal, {200}, out), FlcPatchError::TooShort);
    EXPECT_EQ(patchFlcBytes(file.data(), file.size(), header, pal, {static_cast<uint32_t>(file.size() + 1)}, out),
              FlcPatchError::BadPosition);
    EXPECT_TRUE(out.empty());

    // A chunk cut off in the middle of its sixth triple: whole triples are written, no more.
    Bytes cut = paletteChunk(palettePayload(testPalette()));
    cut.resize(kChunkHeaderSize + 4 + 3 * 5 + 2);
    Bytes expected = paletteChunk(palettePayload(pal));
    expected.resize(cut.size() - 2);
    expected.insert(expected.end(), cut.end() - 2, cut.end());
    ASSERT_TRUE(rewritePaletteChunk(cut.data(), cut.size(), kChunkHeaderSize, pal));
    EXPECT_EQ(cut, expected);
    // Random bytes at random positions are the patcher fuzz target's work.
}

TEST(FlcPatcher, CustomDelayReachesTheHeaderOfUnitAnimationsOnly)
{
    FlcHeader h;
    h.speed = 70;
    h.animationTime = 700;
    for (const auto& [leaderHead, customDelay] : {std::pair{false, true}, {false, false}, {true, true}}) {
        const FlcHeader saved = headerForSave(h, leaderHead, customDelay, 120, 10);
        const bool takesTheDelay = customDelay && !leaderHead;
        EXPECT_EQ((std::vector<uint32_t>{saved.speed, saved.animationTime}),
                  (std::vector<uint32_t>{takesTheDelay ? 120u : 70u, takesTheDelay ? 1200u : 700u}))
            << leaderHead << customDelay;
    }
}

}  // namespace
