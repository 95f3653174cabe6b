// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Saving an FLC file in place: a copy of the loaded file's bytes gets the edited header
// and the display palette's colours written over the colour triples of every palette
// chunk. No byte moves and nothing else changes: frames are never re-encoded. Works on
// memory only, so it can be fed any bytes (the file steps live in the FLC view).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_format.h"

namespace qv {

// Why a patch was refused. None of these is shown to the user: a failed save of this
// kind just reports failure, as the original program did.
enum class FlcPatchError {
    None,
    NoPaletteChunk,   // no palette chunk position was recorded when loading
    TooShort,         // the bytes cannot hold the 128-byte header
    BadPosition,      // a recorded position lies past the end of the bytes
};

// Returns the patched copy of `data` in `out`: `header` serialized over the first 128
// bytes, then, at each recorded position (the offset just after a palette chunk's
// 6-byte header, where its packet count stands), the chunk's packets rewritten with
// `palette`. On failure `out` is left empty.
FlcPatchError patchFlcBytes(const uint8_t* data, size_t size, const FlcHeader& header, const Palette256& palette,
                            const std::vector<uint32_t>& paletteChunkPositions, Bytes& out);

// Rewrites the colour triples of the palette packets at `position` in place: the packet
// count, then per packet a skip and a count byte (count 0: all 256 colours from entry 0),
// each triple taking the red, green and blue of its palette entry. Triples of entries
// past 255 are left as they are. Nothing is written past the chunk (its size field, when
// sane) nor past `size`. Returns false when `position` is past the end.
bool rewritePaletteChunk(uint8_t* data, size_t size, size_t position, const Palette256& palette);

// The header a save writes: for a unit animation played with the custom delay, the
// speed becomes that delay and the animation time frames per direction x the delay;
// otherwise the header is written as it is held.
FlcHeader headerForSave(FlcHeader header, bool leaderHead, bool customDelayMode, uint32_t customDelay,
                        uint16_t framesPerDirection);

}  // namespace qv
