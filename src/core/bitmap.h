// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A plain in-memory bitmap, 8-bit with a palette or 24-bit, and the file codecs the
// storyboard sheets and built-in pictures use (our own PCX and BMP readers and writers).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_format.h"
#include "core/result.h"

namespace qv {

// Image file format codes as the imaging layer reports them.
enum ImageFormatCode : int { kFormatUnknown = 0, kFormatPcx = 1, kFormatBmp = 6 };

struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;           // 8 (palette indices) or 24 (red, green, blue)
    std::vector<uint8_t> pixels;    // rows top to bottom, no padding: width or 3 x width bytes per row
    Palette256 palette;             // the colours of an 8-bit bitmap
    int formatCode = kFormatUnknown;  // the file format it was read from

    int bytesPerPixel() const { return bitsPerPixel == 24 ? 3 : 1; }
    size_t stride() const { return static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel()); }
    uint8_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * stride(); }
    const uint8_t* row(int y) const { return pixels.data() + static_cast<size_t>(y) * stride(); }
    bool empty() const { return width <= 0 || height <= 0; }

    // A bitmap of the given size and depth, filled with zeros.
    static Bitmap create(int width, int height, int bitsPerPixel);
};

}  // namespace qv
