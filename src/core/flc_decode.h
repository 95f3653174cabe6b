// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Decoders of the FLC chunk payloads. Each works on the payload that follows the 6-byte
// chunk header, reads nothing past `size` bytes and writes nothing outside the picture of
// width x height bytes (runs, skips and line numbers that reach past it are clipped).
// Each returns the number of payload bytes it read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/flc_format.h"

namespace qv {

// "BYTE_RUN": the whole picture, run-length coded line by line. The output position is
// not reset at the start of a line, so a run past the end of a line goes on with the next.
size_t decodeByteRun(const uint8_t* data, size_t size, uint8_t* picture, int width, int height);

// "DELTA_FLC": word-oriented changes against the picture already there, with line skips
// and the last-pixel word that sets pixel width - 1 of its line.
size_t decodeDeltaFlc(const uint8_t* data, size_t size, uint8_t* picture, int width, int height);

// "COLOR_256": palette packets into `palette`. A packet count of 0 sets all 256 entries
// from entry 0. The returned count does not include the pad byte that makes the whole
// chunk even; paletteChunkLength() adds it.
size_t decodeColor256(const uint8_t* data, size_t size, Palette256& palette);

// The length of a palette chunk whose payload decodeColor256 read `payloadRead` bytes of:
// the 6-byte header, the payload and, when that sum is odd, one pad byte.
inline size_t paletteChunkLength(size_t payloadRead)
{
    const size_t n = kChunkHeaderSize + payloadRead;
    return n + (n & 1u);
}

// "FLI_COPY": width x height bytes straight into the picture (fewer when the data ends).
size_t decodeFliCopy(const uint8_t* data, size_t size, uint8_t* picture, int width, int height);

}  // namespace qv
