// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The FLC layout with Dominara's header extension: the 128-byte header, palettes,
// directions and the per-frame records the loader keeps for the information report.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

constexpr uint16_t kFlcMagic = 0xAF12;
constexpr uint16_t kFrameType = 0xF1FA;
constexpr size_t kFlcHeaderSize = 128;
constexpr size_t kFrameHeaderSize = 16;
constexpr size_t kChunkHeaderSize = 6;
constexpr int kMaxFrameSide = 240;     // frames are at most 240 x 240
constexpr int kUnitArea = 240;         // the game's unit area
constexpr int kMaxChunksPerFrame = 5;  // chunks read and recorded per frame
constexpr uint32_t kPaletteChunkSize = 778;

// Chunk types as stored in the file.
enum FlcChunkType : uint16_t {
    kChunkColor256 = 4,
    kChunkDeltaFlc = 7,
    kChunkBlack = 13,
    kChunkByteRun = 15,
    kChunkFliCopy = 16,
};

// Chunk kinds as the loader records them.
enum class FlcChunkKind : uint32_t {
    DeltaFlc = 1,
    ByteRun = 2,
    Color256 = 4,
    Black = 8,
    FliCopy = 16,
    Unknown = 32,
};

// "DELTA_FLC", "BYTE_RUN", ... — the names the program shows for chunk kinds.
const char* chunkKindName(FlcChunkKind kind);

// The 128-byte header: the standard 88 bytes and the game's 40-byte extension.
// Held as the same 128 bytes without padding; parse() and serialize() convert to and
// from little-endian bytes so the layout does not depend on the host.
#pragma pack(push, 1)
struct FlcHeader {
    uint32_t size = 0;
    uint16_t magic = kFlcMagic;
    uint16_t frames = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t depth = 8;
    uint16_t flags = 0;
    uint32_t speed = 0;
    uint16_t reserved1 = 0;
    uint32_t created = 0;
    uint32_t creator = 0;
    uint32_t updated = 0;
    uint32_t updater = 0;
    uint16_t aspectX = 0;
    uint16_t aspectY = 0;
    uint16_t extFlags = 0;
    uint16_t keyFrames = 0;
    uint16_t totalFrames = 0;
    uint32_t reqMemory = 0;
    uint16_t maxRegions = 0;
    uint16_t transpNum = 0;
    uint8_t reserved2[24] = {};
    uint32_t oFrame1 = 0;
    uint32_t oFrame2 = 0;
    // The game's extension (offsets 88..127).
    uint32_t extWord1 = 0;
    uint32_t extWord2 = 0;
    uint16_t directions = 0;
    uint16_t framesPerDirection = 0;
    uint16_t leftOffset = 0;
    uint16_t topOffset = 0;
    uint16_t originalWidth = 0;
    uint16_t originalHeight = 0;
    uint32_t animationTime = 0;
    uint32_t directionMask = 0;
    uint8_t reserved3[12] = {};

    // Reads the header from 128 little-endian bytes.
    static FlcHeader parse(const uint8_t* bytes);
    // Writes the header as 128 little-endian bytes.
    void serialize(uint8_t* out) const;
};
#pragma pack(pop)
static_assert(sizeof(FlcHeader) == kFlcHeaderSize, "FlcHeader must be exactly 128 bytes");
static_assert(offsetof(FlcHeader, extWord1) == 88, "extension starts at 88");
static_assert(offsetof(FlcHeader, directionMask) == 112, "direction mask at 112");

// One palette entry as held in memory: blue, green, red, and a byte nothing reads.
struct PaletteEntry {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    bool operator==(const PaletteEntry& o) const { return blue == o.blue && green == o.green && red == o.red; }
    bool operator!=(const PaletteEntry& o) const { return !(*this == o); }
    // The colour as 0x00RRGGBB (drawing surfaces, fill colours).
    uint32_t rgb() const { return (uint32_t(red) << 16) | (uint32_t(green) << 8) | blue; }
    // The colour as a Windows colour value 0x00BBGGRR (dialogs, settings).
    uint32_t colorRef() const { return (uint32_t(blue) << 16) | (uint32_t(green) << 8) | red; }
    static PaletteEntry fromRgb(uint8_t r, uint8_t g, uint8_t b) { return PaletteEntry{b, g, r, 0}; }
};
static_assert(sizeof(PaletteEntry) == 4, "palette entries are four bytes");

// 256 colours. Index 255 is transparency, 224..239 light, 240..254 shadow,
// 0..63 the civilization colours.
struct Palette256 {
    std::array<PaletteEntry, 256> entries{};
    PaletteEntry& operator[](size_t i) { return entries[i]; }
    const PaletteEntry& operator[](size_t i) const { return entries[i]; }
    bool operator==(const Palette256& o) const { return entries == o.entries; }
    bool operator!=(const Palette256& o) const { return !(*this == o); }
};

constexpr int kTransparentIndex = 255;
constexpr int kLightFirst = 224, kLightLast = 239;
constexpr int kShadowFirst = 240, kShadowLast = 254;
constexpr int kCivFirst = 0, kCivLast = 63;

// The facing of a unit. Blocks in the file come in the order SW..W (1..8).
enum class Direction : int { All = 0, SW = 1, S = 2, SE = 3, E = 4, NE = 5, N = 6, NW = 7, W = 8 };
constexpr int kDirectionCount = 8;
const char* directionName(Direction d);  // "All", "SW", ...

// Where one chunk lies in the file, as recorded while reading.
struct FlcChunkInfo {
    FlcChunkKind kind = FlcChunkKind::Unknown;
    uint32_t position = 0;  // file offset of the chunk header
    uint32_t size = 0;      // the size field (778 for every palette chunk)
};

// Where one frame lies in the file, with its first five chunks.
struct FlcFrameInfo {
    uint16_t number = 0;
    uint32_t position = 0;
    uint32_t size = 0;
    std::array<FlcChunkInfo, kMaxChunksPerFrame> chunks{};
    uint16_t chunkCount = 0;
};

}  // namespace qv
