// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Inputs the fuzz targets (fuzz/) found faults with, kept as they were found (or cut down
// to the bytes that matter), each with the promise it broke.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/storyboard.h"

using namespace qv;

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
