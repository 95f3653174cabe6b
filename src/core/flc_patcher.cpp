// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flc_patcher.h"

#include <algorithm>

namespace qv {

namespace {

// The end of the top-level block (frame) that holds `position`, found the way the loader
// walks them from the header on; `size` when no well-formed block holds it.
size_t blockEndAround(const uint8_t* data, size_t size, size_t position)
{
    size_t pos = kFlcHeaderSize;
    while (pos <= size && size - pos >= kFrameHeaderSize) {
        const uint32_t blockSize = getLE32(data + pos);
        if (blockSize < kFrameHeaderSize || blockSize > size - pos) break;
        if (position < pos + blockSize) return pos + blockSize;
        pos += blockSize;
    }
    return size;
}

}  // namespace

bool rewritePaletteChunk(uint8_t* data, size_t size, size_t position, const Palette256& palette)
{
    if (position > size) return false;
    // The packets never reach past their own chunk when its size field is sane, nor past
    // the frame that holds it: the loader reads them within the same limits, so a damaged
    // size field cannot make a save overwrite the frames that follow.
    size_t limit = blockEndAround(data, size, position);
    if (position >= kChunkHeaderSize) {
        const size_t chunkStart = position - kChunkHeaderSize;
        const uint32_t chunkSize = getLE32(data + chunkStart);
        if (chunkSize >= kChunkHeaderSize && chunkSize <= limit - chunkStart) limit = chunkStart + chunkSize;
    }
    size_t at = position;
    if (limit - at < 2) return true;
    unsigned packets = getLE16(data + at);
    at += 2;
    size_t index = 0;
    for (; packets > 0; --packets) {
        if (limit - at < 2) break;
        index += data[at];
        const unsigned count = data[at + 1];
        at += 2;
        const size_t firstEntry = count == 0 ? 0 : index;
        const size_t colours = count == 0 ? 256 : count;
        for (size_t k = 0; k < colours; ++k) {
            if (limit - at < 3) return true;
            if (firstEntry + k < 256) {
                const PaletteEntry& e = palette[firstEntry + k];
                data[at] = e.red;
                data[at + 1] = e.green;
                data[at + 2] = e.blue;
            }
            at += 3;
        }
        if (count != 0) index += count;
    }
    return true;
}

FlcPatchError patchFlcBytes(const uint8_t* data, size_t size, const FlcHeader& header, const Palette256& palette,
                            const std::vector<uint32_t>& paletteChunkPositions, Bytes& out)
{
    out.clear();
    if (paletteChunkPositions.empty()) return FlcPatchError::NoPaletteChunk;
    if (size < kFlcHeaderSize) return FlcPatchError::TooShort;
    Bytes patched(data, data + size);
    header.serialize(patched.data());
    for (uint32_t position : paletteChunkPositions) {
        if (!rewritePaletteChunk(patched.data(), patched.size(), position, palette)) return FlcPatchError::BadPosition;
    }
    out.swap(patched);
    return FlcPatchError::None;
}

FlcHeader headerForSave(FlcHeader header, bool leaderHead, bool customDelayMode, uint32_t customDelay,
                        uint16_t framesPerDirection)
{
    if (!leaderHead && customDelayMode) {
        header.speed = customDelay;
        header.animationTime = static_cast<uint32_t>(framesPerDirection) * customDelay;
    }
    return header;
}

}  // namespace qv
