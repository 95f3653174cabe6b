// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reading an FLC file into memory: every animation frame's 8-bit picture in playback
// order, the frame records, the palette chunk positions and the base palette.
// The file is read once into a buffer, then parsed there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_format.h"
#include "core/frame_pixels.h"
#include "core/result.h"

namespace qv {

// One decoded picture (FramePixels): width x height palette indices, rows top to bottom.

// Everything the reader collects from one file.
struct FlcFrameStore {
    FlcHeader header;                         // as read (see completeFlcHeader for the in-memory completion)
    std::vector<FramePixels> frames;          // animation frames in playback order (key frames removed)
    std::vector<FlcFrameInfo> records;        // one per frame that produced a picture, key frames included
    std::vector<uint32_t> paletteChunkPositions;  // offset just after each "COLOR_256" chunk header
    Palette256 basePalette;                   // colours from the "COLOR_256" chunks
    bool unusual = false;                     // only key frames were found and kept as the animation
    // Animation frames the header promised that could not be read: the file ended, or a
    // damaged frame stopped the reading. 0 for a whole file.
    uint16_t missingFrames = 0;
};

// Decodes the frames that follow the 128-byte header. `data` is the whole file.
// False when no frame produced a picture or the header's size is refused
// (width or height 0 or above 240); the frames read before a damaged frame stay.
bool readFlcFrames(const uint8_t* data, size_t size, FlcFrameStore& out);

// The open check of an FLC document: extension "flc" in any case and 0xAF12 at offset 4.
// On failure the message is "'%s'\r\nInvalid or unsupported document format.".
Status checkFlcFile(const std::string& path);

// Largest file the loader accepts, in bytes.
constexpr uint64_t kMaxFlcFileSize = 256ull * 1024 * 1024;
// Most memory the decoded pictures and frame records of one file may take; a file that
// would need more (no real animation comes near) is read up to that point.
constexpr uint64_t kMaxFlcDecodedBytes = 512ull * 1024 * 1024;

// Outcome of loading an animation the way the FLC view does.
struct FlcLoadResult {
    FlcFrameStore store;     // header already completed (completeFlcHeader) and speed 0 read as 10
    bool leaderHead = false; // the file had no game extension (frames per direction was 0)
    // When store.unusual is set or frames are missing, the warning to show:
    // "'%s'\r\nThis file has unusual Dominara FLC document format.\r\nDocument was opend but will not correctly works."
    // followed, for missing frames, by a line saying how many of how many could not be read.
    std::string warning;
    // How many animation frames the file should have (the frames read plus the missing).
    uint32_t expectedFrames = 0;
};

// Reads and decodes a file (after the open check). On failure the message is
// "'%s'\r\nInvalid or unsupported document format.".
Status loadFlcAnimation(const std::string& path, FlcLoadResult& out);
// The same over bytes already in memory; `path` only fills the messages.
Status loadFlcAnimation(const std::string& path, const uint8_t* data, size_t size, FlcLoadResult& out);

// The in-memory completion of a loaded header: a speed of 0 becomes 10; a header whose
// frames per direction is 0 becomes one direction of `frameCount` frames, animation time
// speed x frameCount, original size 240 x 240, offsets 0. Returns true for such a
// leader-head header.
bool completeFlcHeader(FlcHeader& header, uint16_t frameCount);

}  // namespace qv
