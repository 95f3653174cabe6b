// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pcx_picture.h"

#include <algorithm>
#include <cstring>

#include "core/bitmap.h"
#include "core/file_io.h"
#include "core/pcx_codec.h"

namespace qv {

bool PcxPicture::load(const std::string& path)
{
    release();
    if (path.empty()) return false;
    Bytes data;
    if (!fileExists(path) || !readWholeFile(path, data)) return false;
    return loadFromMemory(data);
}

bool PcxPicture::loadFromMemory(const uint8_t* data, size_t size)
{
    release();
    if (size < kPcxHeaderSize) return false;
    fileBytes_.assign(data, data + size);
    std::memcpy(header_.data(), data, header_.size());

    const uint8_t* h = header_.data();
    const int width = int(int16_t(getLE16(h + 8))) - int(int16_t(getLE16(h + 4))) + 1;
    const int height = int(int16_t(getLE16(h + 10))) - int(int16_t(getLE16(h + 6))) + 1;
    const int planes = h[65];
    const int bytesPerLine = int16_t(getLE16(h + 66));
    // Only what the callers can use: one plane of at most 8 bits, lines at least as long
    // as the picture is wide, so nothing is read from outside the decoded line.
    if (width <= 0 || height <= 0 || planes != 1 || h[3] > 8 || bytesPerLine < width || !imageSizeAllowed(width, height)) {
        release();
        return false;
    }

    std::vector<uint8_t> line(static_cast<size_t>(bytesPerLine) + 1);
    std::vector<uint8_t> pixels;
    pixels.reserve(std::min(fileBytes_.size() * 4, static_cast<size_t>(width) * static_cast<size_t>(height)));
    size_t pos = kPcxHeaderSize;
    for (int y = 0; y < height; ++y) {
        if (!decodePcxRle(fileBytes_.data(), fileBytes_.size(), pos, line.data(), static_cast<size_t>(bytesPerLine))) {
            release();
            return false;
        }
        pixels.insert(pixels.end(), line.begin(), line.begin() + width);
    }
    width_ = width;
    height_ = height;
    pixels_ = std::move(pixels);

    bitmapInfo_.assign(kBitmapInfoSize, 0);
    uint8_t* bi = bitmapInfo_.data();
    putLE32(bi, 40);
    putLE32(bi + 4, static_cast<uint32_t>(width));
    putLE32(bi + 8, static_cast<uint32_t>(height));
    putLE16(bi + 12, 1);
    putLE16(bi + 14, 8);

    if (size >= kPcxPaletteBlockSize && data[size - kPcxPaletteBlockSize] == kPcxPaletteMarker) {
        const uint8_t* p = data + size - kPcxPaletteBlockSize + 1;
        for (size_t i = 0; i < 256; ++i) {
            uint8_t* c = bi + 40 + 4 * i;
            c[0] = p[3 * i + 2];
            c[1] = p[3 * i + 1];
            c[2] = p[3 * i];
            palette_[i].blue = c[0];
            palette_[i].green = c[1];
            palette_[i].red = c[2];
        }
    }
    return true;
}

void PcxPicture::release()
{
    fileBytes_ = Bytes();
    pixels_ = std::vector<uint8_t>();
    bitmapInfo_ = std::vector<uint8_t>();
    header_.fill(0);
    palette_ = Palette256{};
    width_ = 0;
    height_ = 0;
}

bool PcxPicture::copyTo32(uint8_t* surface, size_t pitch) const
{
    if (!loaded() || !surface) return false;
    for (int y = 0; y < height_; ++y) {
        const uint8_t* src = pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
        uint8_t* dst = surface + static_cast<size_t>(y) * pitch;
        for (int x = 0; x < width_; ++x) {
            const PaletteEntry& e = palette_[src[x]];
            dst[4 * x] = e.blue;
            dst[4 * x + 1] = e.green;
            dst[4 * x + 2] = e.red;
            dst[4 * x + 3] = 255;
        }
    }
    return true;
}

}  // namespace qv
