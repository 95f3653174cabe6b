// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The FLC encoder: turns the frames of a storyboard into a game FLC file. Every
// direction becomes one key frame ("BYTE_RUN", the direction's first picture complete)
// and one "DELTA_FLC" frame per picture, the first of them going from the direction's
// last picture back to its first, so the game can loop a direction seamlessly.
// The whole file is built in memory and written in one piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_format.h"
#include "core/result.h"

namespace qv {

// What the encoder needs besides the pictures and the palette.
struct FlcEncodeParams {
    int width = 0;               // picture width, 1..255
    int height = 0;              // picture height, 1..255
    int framesPerDirection = 0;  // F, >= 1
    int directions = 0;          // D, >= 1
    uint32_t speed = 0;          // the storyboard's speed; animation time = speed x F
    uint32_t delay = 0;          // the header's delay: the speed, or the delay the view plays at
    uint16_t leftOffset = 0;
    uint16_t topOffset = 0;
    bool leaderHead = false;     // no game extension, a palette in every key frame
};

// Bytes of data of a "COLOR_256" chunk as the encoder writes it: one packet of 256 colours.
constexpr size_t kPaletteChunkDataSize = 772;

// The work buffer an export allocates once: room for the palette chunk's data and for
// the worst case of either picture encoder on one picture of width x height.
size_t flcWorkBufferSize(int width, int height);

// Encodes one complete picture as "BYTE_RUN" data into `out` (at least
// flcWorkBufferSize(width, height) bytes); returns the number of bytes written.
size_t encodeByteRun(const uint8_t* picture, int width, int height, uint8_t* out);

// Encodes the change from `before` to `after` as "DELTA_FLC" data into `out` (at least
// flcWorkBufferSize(width, height) bytes). Returns the data size as it goes into the
// chunk header: the encoded bytes plus two trailing zero bytes, which are written too.
size_t encodeDeltaFlc(const uint8_t* before, const uint8_t* after, int width, int height, uint8_t* out);

// Writes the 772 bytes of "COLOR_256" data for `palette` into `out`.
void encodePaletteChunkData(const Palette256& palette, uint8_t* out);

// The 128-byte header the encoder writes (size still 0).
FlcHeader makeEncodedFlcHeader(const FlcEncodeParams& params);

// Builds the whole FLC file in memory. `frames` holds D x F pictures, frame d x F + j
// being picture j of direction d, each width x height bytes. Fails without a message
// when there is nothing to encode or the pictures do not match the parameters. Nothing
// the reader would refuse is made: frames wider or higher than 240 pixels, and files
// larger than the reader takes, are refused with a message.
Status encodeFlc(const FlcEncodeParams& params, const std::vector<std::vector<uint8_t>>& frames,
                 const Palette256& palette, Bytes& out);

// Encodes and writes the file to `path` in one piece. When the target cannot be
// written: "'%s'\r\nCannot copy temporary file to the specified target path." and
// nothing is written.
Status writeFlcFile(const std::string& path, const FlcEncodeParams& params,
                    const std::vector<std::vector<uint8_t>>& frames, const Palette256& palette);

}  // namespace qv
