// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "core/flc_format.h"
#include "core/strings.h"

using namespace qv;

TEST(FlcHeader, RoundTripsEveryFieldAtItsOffset)
{
    uint8_t bytes[128];
    for (int i = 0; i < 128; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    const FlcHeader h = FlcHeader::parse(bytes);
    uint8_t back[128];
    h.serialize(back);
    EXPECT_EQ(0, std::memcmp(bytes, back, 128));
    // The header is packed: its fields are read into values before the comparisons, which
    // take references (a reference to a misaligned field is undefined behaviour).
    const uint16_t directions = h.directions;
    const uint32_t animationTime = h.animationTime, created = h.created;
    EXPECT_EQ(directions, static_cast<uint16_t>(bytes[96] | (bytes[97] << 8)));
    EXPECT_EQ(animationTime, static_cast<uint32_t>(bytes[108] | (bytes[109] << 8) | (bytes[110] << 16) |
                                                   (uint32_t(bytes[111]) << 24)));
    EXPECT_EQ(created, static_cast<uint32_t>(bytes[22] | (bytes[23] << 8) | (bytes[24] << 16) |
                                             (uint32_t(bytes[25]) << 24)));
}

TEST(Strings, FormatsPathsAndNumbersInOrder)
{
    EXPECT_EQ(formatMessage(str::IDS_INVALID_FORMAT, {"/tmp/a.flc"}),
              "'/tmp/a.flc'\r\nInvalid or unsupported document format.");
    EXPECT_EQ(formatMessage("%d of %s, 100%%", {3, "x"}), "3 of x, 100%");
    EXPECT_EQ(toPlainLineBreaks("a\r\nb\nc"), "a\nb\nc");
}
