// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Inputs the fuzz targets (fuzz/) found faults with, kept as they were found (or cut down
// to the bytes that matter), each with the promise it broke.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/bmp_codec.h"
#include "core/flc_patcher.h"
#include "core/flc_reader.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "support/flc_builder.h"

using namespace qv;

// The largest single request to operator new while `g_watchAllocations` is set, so a test can
// tell that a reader refused a file before allocating what its header asked for.
namespace {
bool g_watchAllocations = false;
size_t g_largestAllocation = 0;
}  // namespace

void* operator new(size_t size)
{
    if (g_watchAllocations && size > g_largestAllocation) g_largestAllocation = size;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

// A description whose 64 name bytes hold no terminator (and whose other fields are all
// 0xBF) named 64 characters, so writing it back lost one and the sheet's name changed.
TEST(FuzzRegressions, StoryboardNameWithoutTerminatorStaysTheSameThroughWriting)
{
    std::vector<uint8_t> record = {'s', 'e', 'e'};
    record.resize(kStoryboardInfoSize, 0xBF);

    StoryboardInfo info;
    ASSERT_TRUE(StoryboardInfo::parse(record.data(), record.size(), info));
    EXPECT_EQ(kMaxStoryboardNameLength, info.name().size());
    EXPECT_EQ("see", info.name().substr(0, 3));

    uint8_t written[kStoryboardInfoSize];
    info.serialize(written);
    StoryboardInfo back;
    ASSERT_TRUE(StoryboardInfo::parse(written, sizeof written, back));
    EXPECT_EQ(info.name(), back.name());
    EXPECT_EQ(0, written[kMaxStoryboardNameLength]);
    EXPECT_EQ(0xBFBF, back.sheetWidth);
    EXPECT_EQ(0xBF, back.leaderHead);
}

// A 54-byte BMP whose header asks for 13824 x 10240 pixels at 24 bits: the reader allocated
// (and cleared) 425 MB before finding that the pixels were not there. Its pixels would now
// exceed the size limit, so it is refused as too large before anything else.
TEST(FuzzRegressions, ShortBmpIsRefusedBeforeItsPictureIsAllocated)
{
    const std::vector<uint8_t> file = {
        0x42, 0x4d, 0xfe, 0x00, 0x00, 0x36, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x28, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0xfe, 0xfe,
        0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x09, 0x05, 0x00, 0x00, 0x01, 0x00,
        0x18, 0x23, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    Bitmap bmp;
    g_watchAllocations = true;
    const Status st = decodeBmp(file, bmp);
    g_watchAllocations = false;
    EXPECT_EQ(str::IDS_IMG_TOO_LARGE, st.message);
    EXPECT_LT(g_largestAllocation, size_t{1} << 20);
}

// A palette chunk whose size field is damaged (0x8000030A) and whose packet count (0xFEFF)
// runs on past its frame. The loader stops reading packets at the frame's end; the save
// went on writing colours over the frames after it, so the saved file lost its pictures.
TEST(FuzzRegressions, SavingADamagedPaletteChunkLeavesTheFollowingFramesAlone)
{
    using namespace qv::test;
    const int w = 8, h = 6;
    const Picture a = testPicture(w, h, 1, 0), b = testPicture(w, h, 1, 1);
    FlcBuilder file(w, h);
    file.header.frames = 2;
    file.frame({Chunk::raw(kChunkColor256, {0xFF, 0xFE, 0, 1, 10, 20, 30, 0, 1, 40, 50, 60}).withSize(0x8000030Au)});
    const size_t following = file.position();
    file.frame({Chunk::byteRun(a, w, h)});
    file.frame({Chunk::delta(a, b, w, h)});
    const Bytes bytes = file.build();

    FlcLoadResult loaded;
    ASSERT_TRUE(loadFlcAnimation("damaged.flc", bytes.data(), bytes.size(), loaded).ok);
    ASSERT_EQ(1u, loaded.store.paletteChunkPositions.size());
    ASSERT_EQ(1u, loaded.store.frames.size());

    Bytes saved;
    ASSERT_EQ(FlcPatchError::None, patchFlcBytes(bytes.data(), bytes.size(), loaded.store.header, testPalette(),
                                                 loaded.store.paletteChunkPositions, saved));
    ASSERT_EQ(bytes.size(), saved.size());
    EXPECT_TRUE(std::equal(bytes.begin() + static_cast<std::ptrdiff_t>(following), bytes.end(),
                           saved.begin() + static_cast<std::ptrdiff_t>(following)));
    FlcLoadResult again;
    ASSERT_TRUE(loadFlcAnimation("damaged.flc", saved.data(), saved.size(), again).ok);
    EXPECT_EQ(loaded.store.frames, again.store.frames);
}
