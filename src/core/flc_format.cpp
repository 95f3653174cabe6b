// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flc_format.h"

#include <cstring>

#include "core/byte_io.h"

namespace qv {

const char* chunkKindName(FlcChunkKind kind)
{
    switch (kind) {
    case FlcChunkKind::DeltaFlc: return "DELTA_FLC";
    case FlcChunkKind::ByteRun: return "BYTE_RUN";
    case FlcChunkKind::Color256: return "COLOR_256";
    case FlcChunkKind::Black: return "BLACK";
    case FlcChunkKind::FliCopy: return "FLI_COPY";
    case FlcChunkKind::Unknown: break;
    }
    return "unknown";
}

const char* directionName(Direction d)
{
    static const char* const names[] = {"All", "SW", "S", "SE", "E", "NE", "N", "NW", "W"};
    const int i = static_cast<int>(d);
    return (i >= 0 && i <= 8) ? names[i] : "All";
}

FlcHeader FlcHeader::parse(const uint8_t* b)
{
    FlcHeader h;
    h.size = getLE32(b + 0);
    h.magic = getLE16(b + 4);
    h.frames = getLE16(b + 6);
    h.width = getLE16(b + 8);
    h.height = getLE16(b + 10);
    h.depth = getLE16(b + 12);
    h.flags = getLE16(b + 14);
    h.speed = getLE32(b + 16);
    h.reserved1 = getLE16(b + 20);
    h.created = getLE32(b + 22);
    h.creator = getLE32(b + 26);
    h.updated = getLE32(b + 30);
    h.updater = getLE32(b + 34);
    h.aspectX = getLE16(b + 38);
    h.aspectY = getLE16(b + 40);
    h.extFlags = getLE16(b + 42);
    h.keyFrames = getLE16(b + 44);
    h.totalFrames = getLE16(b + 46);
    h.reqMemory = getLE32(b + 48);
    h.maxRegions = getLE16(b + 52);
    h.transpNum = getLE16(b + 54);
    std::memcpy(h.reserved2, b + 56, 24);
    h.oFrame1 = getLE32(b + 80);
    h.oFrame2 = getLE32(b + 84);
    h.extWord1 = getLE32(b + 88);
    h.extWord2 = getLE32(b + 92);
    h.directions = getLE16(b + 96);
    h.framesPerDirection = getLE16(b + 98);
    h.leftOffset = getLE16(b + 100);
    h.topOffset = getLE16(b + 102);
    h.originalWidth = getLE16(b + 104);
    h.originalHeight = getLE16(b + 106);
    h.animationTime = getLE32(b + 108);
    h.directionMask = getLE32(b + 112);
    std::memcpy(h.reserved3, b + 116, 12);
    return h;
}

void FlcHeader::serialize(uint8_t* b) const
{
    putLE32(b + 0, size);
    putLE16(b + 4, magic);
    putLE16(b + 6, frames);
    putLE16(b + 8, width);
    putLE16(b + 10, height);
    putLE16(b + 12, depth);
    putLE16(b + 14, flags);
    putLE32(b + 16, speed);
    putLE16(b + 20, reserved1);
    putLE32(b + 22, created);
    putLE32(b + 26, creator);
    putLE32(b + 30, updated);
    putLE32(b + 34, updater);
    putLE16(b + 38, aspectX);
    putLE16(b + 40, aspectY);
    putLE16(b + 42, extFlags);
    putLE16(b + 44, keyFrames);
    putLE16(b + 46, totalFrames);
    putLE32(b + 48, reqMemory);
    putLE16(b + 52, maxRegions);
    putLE16(b + 54, transpNum);
    std::memcpy(b + 56, reserved2, 24);
    putLE32(b + 80, oFrame1);
    putLE32(b + 84, oFrame2);
    putLE32(b + 88, extWord1);
    putLE32(b + 92, extWord2);
    putLE16(b + 96, directions);
    putLE16(b + 98, framesPerDirection);
    putLE16(b + 100, leftOffset);
    putLE16(b + 102, topOffset);
    putLE16(b + 104, originalWidth);
    putLE16(b + 106, originalHeight);
    putLE32(b + 108, animationTime);
    putLE32(b + 112, directionMask);
    std::memcpy(b + 116, reserved3, 12);
}

}  // namespace qv
