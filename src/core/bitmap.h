// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A plain in-memory bitmap, 8-bit with a palette or 24-bit, and the generic entry points
// of our picture-file codecs (PCX in core/pcx_codec.h, BMP in core/bmp_codec.h): reading
// a file's information or pixels whatever of the two formats it is, and writing one.
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

// The largest picture the codecs and operations accept, checked before any pixel buffer is
// allocated: a side of at most 32767 pixels and a pixel buffer of at most 256 MiB (2^28
// pixels at 8 bits, a third of that at 24 bits), so sizes always fit an int and a picture
// and its working copies fit the memory of an ordinary machine.
constexpr int kMaxImageSide = 32767;
constexpr int64_t kMaxImageBytes = int64_t(1) << 28;
constexpr int64_t kMaxImagePixels = kMaxImageBytes;  // at 8 bits per pixel
bool imageSizeAllowed(int64_t width, int64_t height, int bitsPerPixel = 8);

struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;           // 8 (palette indices) or 24 (red, green, blue)
    std::vector<uint8_t> pixels;    // rows top to bottom, no padding: width or 3 x width bytes per row
    Palette256 palette;             // the colours of an 8-bit bitmap
    int formatCode = kFormatUnknown;  // the file format it was read from
    // How many palette entries are meaningful: the palette size a BMP file declared, the
    // number of colours a reduction produced, 256 otherwise. Entries past it are black.
    int colorCount = 256;

    int bytesPerPixel() const { return bitsPerPixel == 24 ? 3 : 1; }
    size_t stride() const { return static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel()); }
    uint8_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * stride(); }
    const uint8_t* row(int y) const { return pixels.data() + static_cast<size_t>(y) * stride(); }
    bool empty() const { return width <= 0 || height <= 0; }
    // True when the pixel buffer matches the size and depth (what every operation assumes).
    bool valid() const
    {
        return width >= 0 && height >= 0 && (bitsPerPixel == 8 || bitsPerPixel == 24) &&
               pixels.size() == stride() * static_cast<size_t>(height);
    }

    // A bitmap of the given size and depth, every byte `fill` (zeros unless given).
    static Bitmap create(int width, int height, int bitsPerPixel, uint8_t fill = 0);
};

// What a picture file says about itself without decoding it.
struct ImageFileInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // bits per pixel over all planes (a 4-plane 1-bit PCX reports 4)
    int formatCode = kFormatUnknown;
};

// The format of a picture in memory, judged by its first bytes: a PCX starts with the
// byte 10, a BMP with "BM". kFormatUnknown otherwise.
int detectImageFormat(const uint8_t* data, size_t size);

// Reads the size, depth and format of a PCX or BMP picture. Succeeds for any depth the
// header declares (so callers can refuse a 4-bit picture with their own message); the
// pixels need not be decodable.
Status readImageInfo(const uint8_t* data, size_t size, ImageFileInfo& info);
Status readImageFileInfo(const std::string& path, ImageFileInfo& info);

// Decodes a PCX or BMP picture (picked by content) into `out`, at its own depth.
Status decodeImage(const uint8_t* data, size_t size, Bitmap& out);
Status readImageFile(const std::string& path, Bitmap& out);

// Reads the whole file at `path` and parses its bytes with `parse` (a decoder or a reader
// of the size and depth); a file that cannot be read fails with its path.
Status parseImageFile(const std::string& path, Status (*parse)(const uint8_t*, size_t, Bitmap&), Bitmap& out);
Status parseImageFile(const std::string& path, Status (*parse)(const uint8_t*, size_t, ImageFileInfo&),
                      ImageFileInfo& info);

// Encodes a bitmap as PCX (formatCode 1) or BMP (6) at 8 or 24 bits per pixel and writes it
// to `path` in one piece (the target stays as it was when anything fails). An 8-bit bitmap
// written at 24 bits takes its palette colours; a 24-bit bitmap written at 8 bits is first
// reduced to an optimised palette (core/quantize.h).
Status encodeImage(const Bitmap& bmp, int formatCode, int bitsPerPixel, Bytes& out);
Status writeImageFile(const std::string& path, const Bitmap& bmp, int formatCode, int bitsPerPixel);

}  // namespace qv
