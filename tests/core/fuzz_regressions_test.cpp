// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Inputs the fuzz targets (fuzz/) found faults with, kept as they were found (or cut down
// to the bytes that matter), each with the promise it broke.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/bmp_codec.h"
#include "core/storyboard.h"
#include "core/strings.h"

using namespace qv;

// The largest single request to operator new while `g_watchAllocations` is set, so a test can
// tell that a reader refused a file before allocating what its header asked for.
namespace {
bool g_watchAllocations = false;
size_t g_largestAllocation = 0;

struct AllocationWatch {
    AllocationWatch()
    {
        g_largestAllocation = 0;
        g_watchAllocations = true;
    }
    ~AllocationWatch() { g_watchAllocations = false; }
    size_t largest() const { return g_largestAllocation; }
};
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
// (and cleared) 425 MB before finding that the pixels were not there.
TEST(FuzzRegressions, ShortBmpIsRefusedBeforeItsPictureIsAllocated)
{
    const std::vector<uint8_t> file = {
        0x42, 0x4d, 0xfe, 0x00, 0x00, 0x36, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x28, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0xfe, 0xfe,
        0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x09, 0x05, 0x00, 0x00, 0x01, 0x00,
        0x18, 0x23, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    Bitmap bmp;
    AllocationWatch watch;
    const Status st = decodeBmp(file, bmp);
    EXPECT_FALSE(st.ok);
    EXPECT_EQ(str::IDS_IMG_TRUNCATED, st.message);
    EXPECT_LT(watch.largest(), size_t{1} << 20);
}
