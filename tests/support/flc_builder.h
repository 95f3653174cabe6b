// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A small FLC writer for tests, benchmarks and sample files: frames made of arbitrary
// chunks with raw size fields, non-frame blocks and palette chunks. Nothing here checks
// what it writes, so it can also make broken files.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_format.h"

namespace qv::test {

// A picture of palette indices, rows top to bottom.
using Picture = std::vector<uint8_t>;

// Payloads (what follows the 6-byte chunk header) as the program's encoder writes them;
// their bytes are checked against hand-worked ones by the encoder's own tests.
Bytes byteRunPayload(const Picture& pic, int width, int height);
// Changes from `prev` to `cur`, with the two trailing zero bytes.
Bytes deltaPayload(const Picture& prev, const Picture& cur, int width, int height);
// One packet of skip 0 and count 0 (all 256 colours), as the game writes it: 772 bytes.
Bytes palettePayload(const Palette256& pal);
struct PalettePacket {
    uint8_t skip = 0;
    uint8_t count = 0;  // 0 means 256
    std::vector<PaletteEntry> colours;
};
Bytes palettePacketsPayload(const std::vector<PalettePacket>& packets);

struct Chunk {
    uint16_t type = 0;
    Bytes payload;
    std::optional<uint32_t> sizeField;  // the size written; default 6 + payload (+ pad)
    bool padToEven = false;             // add a zero byte when 6 + payload is odd

    static Chunk raw(uint16_t type, Bytes payload) { return Chunk{type, std::move(payload), {}, false}; }
    static Chunk color256(const Palette256& pal) { return raw(kChunkColor256, palettePayload(pal)); }
    static Chunk byteRun(const Picture& pic, int w, int h) { return raw(kChunkByteRun, byteRunPayload(pic, w, h)); }
    static Chunk delta(const Picture& prev, const Picture& cur, int w, int h)
    {
        return raw(kChunkDeltaFlc, deltaPayload(prev, cur, w, h));
    }
    static Chunk black() { return raw(kChunkBlack, {}); }
    static Chunk copy(const Picture& pic) { return raw(kChunkFliCopy, pic); }

    Chunk& withSize(uint32_t s) { sizeField = s; return *this; }
    Chunk& padded() { padToEven = true; return *this; }
    // The bytes this chunk occupies in the file.
    size_t length() const { return kChunkHeaderSize + payload.size() + (padToEven ? (payload.size() & 1u) : 0); }
};

struct Frame {
    Frame() = default;
    Frame(std::vector<Chunk> c) : chunks(std::move(c)) {}
    std::vector<Chunk> chunks;
    Bytes trailing;  // bytes after the chunks, inside the frame
};

class FlcBuilder {
public:
    FlcBuilder(int width, int height);

    // The header written first. Its size field is set to the file length; width and
    // height come from the constructor.
    FlcHeader header;

    FlcBuilder& frame(Frame f);
    FlcBuilder& frame(std::vector<Chunk> chunks) { return frame(Frame(std::move(chunks))); }
    // A top-level block of another type than a frame (a prefix block, for instance).
    FlcBuilder& block(uint16_t type, Bytes body);

    // Where the next frame or block will start.
    size_t position() const { return kFlcHeaderSize + body_.size(); }
    Bytes build() const;

private:
    Bytes body_;
};

// A deterministic test picture: direction d (1-based), picture n, indices below `colours`.
// Moves a little from one picture to the next so that deltas have work to do.
Picture testPicture(int width, int height, int direction, int n, int colours = 64);
// A palette with distinct colours: entry i = (i, 255 - i, i * 7).
Palette256 testPalette();

// Describes an animation laid out the way the game writes it: per direction block one
// key frame ("BYTE_RUN", plus the palette chunk) and F frames of one "DELTA_FLC" chunk each
// (buildAnimation uses the program's header and chunk encoders).
struct AnimationShape {
    int width = 24;
    int height = 16;
    int directions = 8;
    int framesPerDirection = 4;
    uint32_t speed = 100;
    bool leaderHead = false;  // extension left zero; every key frame carries the palette first
    Palette256 palette = testPalette();
    std::function<Picture(int direction, int n)> picture;  // default: testPicture
};

// A figure of about 110 x 170 pixels on the transparent colour of a 240 x 240 picture that
// moves, swings and turns from frame to frame, like a walking unit (with a shadow edge).
Picture walkingUnitPicture(int direction, int n);
// A unit the size the game uses: 8 directions of 15 pictures of 240 x 240, walkingUnitPicture.
AnimationShape fullSizeUnit();

// The pictures an animation of `anim` holds, in playback order.
std::vector<Picture> animationPictures(const AnimationShape& anim);
// The FLC file of `anim`.
Bytes buildAnimation(const AnimationShape& anim);
// Writes the FLC file of `anim` to `path`; false when it cannot be written.
bool writeAnimation(const std::string& path, const AnimationShape& anim);

// The parts one after another.
Bytes concatBytes(std::initializer_list<Bytes> parts);
// Little-endian 16-bit words, for hand-made chunk payloads.
Bytes le16Words(std::initializer_list<int> words);

}  // namespace qv::test
