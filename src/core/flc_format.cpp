// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flc_format.h"

#include <algorithm>
#include <cstddef>
#include <cstring>


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

namespace {

struct HeaderField {
    size_t offset;
    size_t size;
};

#define QV_HEADER_FIELD(name) HeaderField{offsetof(FlcHeader, name), sizeof(FlcHeader::name)}

// The header's numbers, each stored little-endian at its own place in the struct (the
// struct is packed, so its layout is the file's); the two reserved byte blocks are kept
// as they are.
constexpr HeaderField kHeaderNumbers[] = {
    QV_HEADER_FIELD(size),          QV_HEADER_FIELD(magic),          QV_HEADER_FIELD(frames),
    QV_HEADER_FIELD(width),         QV_HEADER_FIELD(height),         QV_HEADER_FIELD(depth),
    QV_HEADER_FIELD(flags),         QV_HEADER_FIELD(speed),          QV_HEADER_FIELD(reserved1),
    QV_HEADER_FIELD(created),       QV_HEADER_FIELD(creator),        QV_HEADER_FIELD(updated),
    QV_HEADER_FIELD(updater),       QV_HEADER_FIELD(aspectX),        QV_HEADER_FIELD(aspectY),
    QV_HEADER_FIELD(extFlags),      QV_HEADER_FIELD(keyFrames),      QV_HEADER_FIELD(totalFrames),
    QV_HEADER_FIELD(reqMemory),     QV_HEADER_FIELD(maxRegions),     QV_HEADER_FIELD(transpNum),
    QV_HEADER_FIELD(oFrame1),       QV_HEADER_FIELD(oFrame2),        QV_HEADER_FIELD(extWord1),
    QV_HEADER_FIELD(extWord2),      QV_HEADER_FIELD(directions),     QV_HEADER_FIELD(framesPerDirection),
    QV_HEADER_FIELD(leftOffset),    QV_HEADER_FIELD(topOffset),      QV_HEADER_FIELD(originalWidth),
    QV_HEADER_FIELD(originalHeight), QV_HEADER_FIELD(animationTime), QV_HEADER_FIELD(directionMask),
};

#undef QV_HEADER_FIELD

constexpr size_t numberBytes()
{
    size_t n = 0;
    for (const HeaderField& f : kHeaderNumbers) n += f.size;
    return n;
}
static_assert(numberBytes() + sizeof(FlcHeader::reserved2) + sizeof(FlcHeader::reserved3) == kFlcHeaderSize,
              "every byte of the header is a listed number or a reserved block");

bool hostIsLittleEndian()
{
    const uint16_t one = 1;
    uint8_t first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

// Copies the header's 128 bytes from `from` to `to`, turning each number between
// little-endian and the host's order (the same reversal either way, none on a
// little-endian host).
void copyHeaderBytes(const uint8_t* from, uint8_t* to)
{
    std::memcpy(to, from, kFlcHeaderSize);
    if (hostIsLittleEndian()) return;
    for (const HeaderField& f : kHeaderNumbers) std::reverse(to + f.offset, to + f.offset + f.size);
}

}  // namespace

FlcHeader FlcHeader::parse(const uint8_t* b)
{
    FlcHeader h;
    copyHeaderBytes(b, reinterpret_cast<uint8_t*>(&h));
    return h;
}

void FlcHeader::serialize(uint8_t* b) const { copyHeaderBytes(reinterpret_cast<const uint8_t*>(this), b); }

}  // namespace qv
