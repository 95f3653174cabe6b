// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Animated GIF (giflib) and WebP (libwebp's animation encoder) from composed frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_io.h"

namespace qv {

// One composed frame: width x height pixels 0xAARRGGBB (alpha 0 transparent, 255 opaque),
// and how long it shows, in milliseconds.
struct TimedFrame {
    std::vector<uint32_t> pixels;
    int durationMs = 0;
};

struct AnimSequence {
    int width = 0;
    int height = 0;
    int loopCount = 0;  // 0: for ever
    std::vector<TimedFrame> frames;
};

// GIF delays are whole centiseconds: frame k gets the difference of the rounded times at
// which it starts and ends, so the rounding never accumulates (the whole lasts the
// sequence's total within 5 ms).
std::vector<int> gifDelaysCs(const std::vector<TimedFrame>& frames);

// GIF has one transparent index and no partial alpha: a pixel is transparent when its alpha
// is below 128. The frames share one exact palette when all of them use at most 255 colours
// together; otherwise each frame gets its own (exact up to 255 colours, libimagequant's
// beyond). Returns false with `error` set on failure.
bool encodeGif(const AnimSequence& seq, Bytes& out, std::string& error);

// Lossless WebP when `quality` is negative, lossy of that quality (0..100) otherwise.
bool encodeWebp(const AnimSequence& seq, int quality, Bytes& out, std::string& error);

}  // namespace qv
