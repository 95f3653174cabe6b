// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// PcxPicture: the small whole-file reader of 8-bit one-plane PCX pictures that the
// background pictures and the civilization colour schemes are loaded with. It keeps the
// file's bytes and header, the decoded pixels (top row first), the 256 colours of the
// palette block, and a device-independent bitmap header with those colours.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_format.h"

namespace qv {

class PcxPicture {
public:
    // Size of the bitmap information block: a 40-byte bitmap header, 256 colours of four
    // bytes (blue, green, red, 0) and 4 spare bytes.
    static constexpr size_t kBitmapInfoSize = 40 + 256 * 4 + 4;

    // Reads and decodes the whole file. False (and the picture released) when the path is
    // empty, the file cannot be read, the header is shorter than 128 bytes or describes an
    // empty picture, the picture has more than one plane or more than 8 bits per pixel, its
    // bytes per line are fewer than its width, or a line does not decode to exactly its
    // bytes per line (runs reaching past the line or past the end of the data). Without the
    // marker 12 at 769 bytes before the end the colours stay black and the load succeeds.
    bool load(const std::string& path);
    // The same over bytes already in memory (the file bytes become a copy of them).
    bool loadFromMemory(const uint8_t* data, size_t size);
    bool loadFromMemory(const Bytes& data) { return loadFromMemory(data.data(), data.size()); }

    // Frees the pixels, the file bytes and the bitmap information.
    void release();

    bool loaded() const { return !pixels_.empty(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return header_[3]; }
    int planes() const { return header_[65]; }
    int bytesPerLine() const { return static_cast<int16_t>(getLE16(header_.data() + 66)); }
    const std::vector<uint8_t>& pixels() const { return pixels_; }  // width x height indices, top row first
    const Palette256& palette() const { return palette_; }
    const std::array<uint8_t, 128>& header() const { return header_; }
    const Bytes& fileBytes() const { return fileBytes_; }
    const std::vector<uint8_t>& bitmapInfo() const { return bitmapInfo_; }

    // Writes the picture into a 32-bit surface: each pixel as the blue, green and red of its
    // colour followed by 255, rows `pitch` bytes apart. The surface must hold width x 4
    // bytes a row and height rows. False when nothing is loaded.
    bool copyTo32(uint8_t* surface, size_t pitch) const;

private:
    Bytes fileBytes_;
    std::array<uint8_t, 128> header_{};
    std::vector<uint8_t> pixels_;
    std::vector<uint8_t> bitmapInfo_;
    Palette256 palette_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace qv
