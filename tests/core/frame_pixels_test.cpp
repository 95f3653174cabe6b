// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/frame_pixels.h"

#include <gtest/gtest.h>

#include <new>

#include "core/flc_reader.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

// Pictures carved from shared blocks (heap blocks of a few pictures, and one mapped block
// of more than a huge page) stay apart, and copies and moves behave like owned arrays.
TEST(FramePixels, PicturesOfSharedBlocksStayApartAndCopiesAreTheirOwn)
{
    for (const auto& [size, expected, count] : {std::tuple<size_t, size_t, size_t>{1000, 3, 7}, {57600, 40, 41}}) {
        FrameAllocator allocator(size, expected);
        std::vector<FramePixels> pictures;
        for (size_t i = 0; i < count; ++i) {
            pictures.push_back(allocator.next());
            ASSERT_EQ(pictures.back().size(), size);
            std::fill(pictures.back().begin(), pictures.back().end(), uint8_t(i + 1));
        }
        for (size_t i = 0; i < count; ++i)
            ASSERT_TRUE(std::all_of(pictures[i].begin(), pictures[i].end(), [&](uint8_t b) { return b == i + 1; }))
                << i;

        FramePixels copy = pictures[0];
        copy[0] = 0xEE;
        EXPECT_EQ(pictures[0][0], 1);
        copy = pictures[1];
        EXPECT_EQ(copy, pictures[1]);
        const uint8_t* where = pictures[2].data();
        FramePixels moved = std::move(pictures[2]);
        EXPECT_EQ(moved.data(), where);
        EXPECT_TRUE(pictures[2].empty());
        pictures.clear();  // the blocks outlive the allocator and the other pictures
        EXPECT_EQ(moved[size - 1], 3);
    }
}

// A full-size unit reads byte for byte through the block storage; when its memory cannot
// be had, the load throws std::bad_alloc, which every caller reports as out of memory.
TEST(FramePixels, FullSizeUnitReadsExactlyAndAFailedAllocationThrows)
{
    AnimationShape anim = fullSizeUnit();
    anim.directions = 3;  // 45 pictures: one block of more than a huge page
    const Bytes file = buildAnimation(anim);
    FlcLoadResult loaded;
    ASSERT_TRUE(loadFlcAnimation("unit.flc", file.data(), file.size(), loaded));
    EXPECT_TRUE(loaded.store.frames == animationPictures(anim));  // no printout of 45 pictures on failure

    setFrameAllocationFaultHook([](size_t bytes) { return bytes > 1000000; });
    EXPECT_THROW(loadFlcAnimation("unit.flc", file.data(), file.size(), loaded), std::bad_alloc);
    setFrameAllocationFaultHook(nullptr);
}
