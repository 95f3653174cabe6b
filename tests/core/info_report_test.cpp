// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/flc_reader.h"
#include "core/info_report.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

TEST(InfoReport, LeaderHeadReportShowsTheCompletedHeaderAndEveryRecord)
{
    // A 2 x 2 leader head at speed 0: key frame (palette, byte run of 12 bytes), one delta.
    const Picture pic(4, 7);
    FlcBuilder b(2, 2);
    b.header.frames = 1;
    b.frame({Chunk::color256(testPalette()), Chunk::byteRun(pic, 2, 2)});
    b.frame({Chunk::delta(pic, pic, 2, 2)});
    const Bytes file = b.build();

    FlcLoadResult r;
    ASSERT_TRUE(loadFlcAnimation("/data/units/Head.flc", file.data(), file.size(), r));
    const std::string expected =
        "Information about \"/data/units/Head.flc\" file.\r\n"
        "\r\n"
        "\r\n"
        "*** General Information. ***\r\n"
        "\r\n"
        "File name - Head.flc\r\n"
        "File size (bytes) - 960\r\n"
        "Total frames - 1\r\n"
        "Width (pixels) - 2\r\n"
        "Height (pixels) - 2\r\n"
        "Speed (mc) - 10\r\n"
        "Total directions - 1\r\n"
        "Frames per direction - 1\r\n"
        "Animation time - 10\r\n"
        "Original widt (pixels) - 240\r\n"
        "Original height (pixels) - 240\r\n"
        "Left offset (pixels) - 0\r\n"
        "Top offset (pixels) - 0\r\n"
        "\r\n"
        "\r\n"
        "*** Extended Information. ***\r\n"
        "\r\n"
        "Frame 0 contains 2 chunk(s). Pos: 128, Size: 806\r\n"
        "\tChunk 0 is type COLOR_256. Pos: 144, Size: 778\r\n"
        "\tChunk 1 is type BYTE_RUN. Pos: 922, Size: 12\r\n"
        "\r\n"
        "Frame 1 contains 1 chunk(s). Pos: 934, Size: 26\r\n"
        "\tChunk 0 is type DELTA_FLC. Pos: 950, Size: 10\r\n";
    EXPECT_EQ(expected, flcInfoReport("/data/units/Head.flc", r.store.header, r.store.records));
}

TEST(InfoReport, KindNamesFieldWidthsAndOwnFrameNumbers)
{
    FlcHeader h;
    h.size = 0xFFFFFFF0u;  // 32-bit header fields print unsigned
    h.frames = 65535;      // 16-bit ones too
    FlcFrameInfo a;
    a.number = 7;  // the report prints the record's own number
    a.position = 300;
    a.size = 50;
    const FlcChunkKind kinds[] = {FlcChunkKind::Black, FlcChunkKind::FliCopy, FlcChunkKind::Unknown,
                                  FlcChunkKind::DeltaFlc, FlcChunkKind::ByteRun};
    for (int j = 0; j < 5; ++j) a.chunks[size_t(j)] = FlcChunkInfo{kinds[j], uint32_t(316 + j), 6};
    a.chunkCount = 5;
    a.chunks[3].size = 0xCDCDCDCD;  // "%d" of a garbage size, as the report always printed it
    const std::string text = flcInfoReport("plain.flc", h, {a});

    const char* record = "\r\nFrame 7 contains 5 chunk(s). Pos: 300, Size: 50\r\n"
                         "\tChunk 0 is type BLACK. Pos: 316, Size: 6\r\n"
                         "\tChunk 1 is type FLI_COPY. Pos: 317, Size: 6\r\n"
                         "\tChunk 2 is type unknown. Pos: 318, Size: 6\r\n"
                         "\tChunk 3 is type DELTA_FLC. Pos: 319, Size: -842150451\r\n"
                         "\tChunk 4 is type BYTE_RUN. Pos: 320, Size: 6\r\n";
    for (const char* part : {"\r\nFile size (bytes) - 4294967280\r\n", "\r\nTotal frames - 65535\r\n", record})
        EXPECT_NE(std::string::npos, text.find(part)) << part;
}
