// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the FLC reader: the whole load as the view does it (frames, records, palette,
// header completion) and the information report over what it recorded. Besides memory
// errors it checks the promises the rest of the program relies on.
#include <cstddef>
#include <cstdint>

#include "core/flc_reader.h"
#include "core/info_report.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::FlcLoadResult result;
    const qv::Status status = qv::loadFlcAnimation("fuzz.flc", data, size, result);
    if (!status) {
        require(!status.message.empty());
        require(result.store.frames.empty());
        return 0;
    }

    const qv::FlcFrameStore& store = result.store;
    const size_t w = store.header.width;
    const size_t h = store.header.height;
    require(w >= 1 && w <= qv::kMaxFrameSide && h >= 1 && h <= qv::kMaxFrameSide);
    require(!store.frames.empty());
    require(store.records.size() >= store.frames.size());
    // A warning exactly when only key frames were kept or frames could not be read.
    require((store.unusual || store.missingFrames > 0) == !result.warning.empty());
    require(!(store.unusual && store.missingFrames > 0));
    for (const qv::FramePixels& frame : store.frames) require(frame.size() == w * h);

    for (size_t i = 0; i < store.records.size(); ++i) {
        const qv::FlcFrameInfo& record = store.records[i];
        require(record.number == static_cast<uint16_t>(i));
        require(record.position >= qv::kFlcHeaderSize && record.position < size);
        require(record.chunkCount >= 1 && record.chunkCount <= qv::kMaxChunksPerFrame);
        for (int c = 0; c < record.chunkCount; ++c) require(record.chunks[c].position < size);
    }
    for (uint32_t p : store.paletteChunkPositions) require(p <= size);

    // A completed header always has a direction and a frame count to play.
    require(store.header.speed != 0);
    if (result.leaderHead) require(store.header.directions == 1);

    const std::string report = qv::flcInfoReport("fuzz.flc", store.header, store.records);
    require(!report.empty());
    return 0;
}
