// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the in-place save of an FLC file: the file is loaded as the view loads it, its
// header and palette edited, and the patch applied at the palette positions the loader
// recorded, then once more at a position taken from the input itself. A patch never
// changes the file's length and writes nothing but the header and colour triples.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/flc_patcher.h"
#include "core/flc_reader.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::FlcLoadResult loaded;
    std::vector<uint32_t> positions;
    qv::FlcHeader header;
    bool leaderHead = false;
    if (qv::loadFlcAnimation("fuzz.flc", data, size, loaded)) {
        positions = loaded.store.paletteChunkPositions;
        header = loaded.store.header;
        leaderHead = loaded.leaderHead;
    } else if (size >= qv::kFlcHeaderSize) {
        header = qv::FlcHeader::parse(data);
    }

    // An edit as the palette tools and the offset dialog make them.
    qv::Palette256 palette;
    for (int i = 0; i < 256; ++i)
        palette[i] = qv::PaletteEntry::fromRgb(static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i ^ 0x5A),
                                               static_cast<uint8_t>(i * 3));
    header.leftOffset = static_cast<uint16_t>(header.leftOffset + 1);
    const qv::FlcHeader saved = qv::headerForSave(header, leaderHead, true, 70, header.framesPerDirection);

    qv::Bytes out;
    const qv::FlcPatchError err = qv::patchFlcBytes(data, size, saved, palette, positions, out);
    if (err == qv::FlcPatchError::None) {
        require(out.size() == size);
        uint8_t head[qv::kFlcHeaderSize];
        saved.serialize(head);
        require(std::memcmp(out.data(), head, sizeof head) == 0);
        // Nothing changes before the first palette chunk's packets, past the header.
        uint32_t first = UINT32_MAX;
        for (uint32_t p : positions) first = std::min(first, p);
        for (size_t i = qv::kFlcHeaderSize; i < size && i < first; ++i) require(out[i] == data[i]);
        // The patched file still loads.
        qv::FlcLoadResult again;
        require(static_cast<bool>(qv::loadFlcAnimation("fuzz.flc", out.data(), out.size(), again)));
    } else {
        require(out.empty());
    }

    // A recorded position the bytes do not agree with.
    if (size >= 4) {
        const uint32_t p = qv::getLE32(data) % static_cast<uint32_t>(size + 8);
        qv::Bytes copy(data, data + size);
        const bool ok = qv::rewritePaletteChunk(copy.data(), copy.size(), p, palette);
        require(ok == (p <= size));
        require(copy.size() == size);
    }
    return 0;
}
