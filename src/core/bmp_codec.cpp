// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bmp_codec.h"

#include <cstring>

#include "core/strings.h"

namespace qv {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;  // OS/2 1.x header: 16-bit sizes, 3-byte palette entries
constexpr uint32_t kBiRgb = 0;            // uncompressed
// Resolution we record in written headers: 2835 pixels per metre, that is 72 dots per inch,
// the same as our PCX files.
constexpr int32_t kWritePelsPerMetre = 2835;

struct BmpHeader {
    uint32_t pixelOffset = 0;
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;  // negative: rows stored top-down
    int bits = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
};

size_t rowStride(int64_t width, int bits) { return static_cast<size_t>((width * bits + 31) / 32 * 4); }

Status parseHeader(const uint8_t* data, size_t size, BmpHeader& h)
{
    if (size < kBmpFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
        return Status::failure(str::IDS_IMG_BAD_BMP_HEADER);
    h.pixelOffset = getLE32(data + 10);
    h.headerSize = getLE32(data + 14);
    if (h.headerSize != kCoreHeaderSize && h.headerSize < kBmpInfoHeaderSize)
        return Status::failure(str::IDS_IMG_BAD_BMP_HEADER);
    if (size < kBmpFileHeaderSize + h.headerSize) return Status::failure(str::IDS_IMG_TRUNCATED);
    const uint8_t* p = data + kBmpFileHeaderSize;
    if (h.headerSize == kCoreHeaderSize) {
        h.width = getLE16(p + 4);
        h.height = getLE16(p + 6);
        h.bits = getLE16(p + 10);
    } else {
        h.width = static_cast<int32_t>(getLE32(p + 4));
        h.height = static_cast<int32_t>(getLE32(p + 8));
        h.bits = getLE16(p + 14);
        h.compression = getLE32(p + 16);
        h.colorsUsed = getLE32(p + 32);
    }
    if (h.width <= 0 || h.height == 0) return Status::failure(str::IDS_IMG_BAD_BMP_HEADER);
    return Status::success();
}

}  // namespace

Status readBmpInfo(const uint8_t* data, size_t size, ImageFileInfo& info)
{
    info = ImageFileInfo{};
    BmpHeader h;
    Status st = parseHeader(data, size, h);
    if (!st) return st;
    const int64_t height = h.height < 0 ? -h.height : h.height;
    if (!imageSizeAllowed(h.width, height)) return Status::failure(str::IDS_IMG_TOO_LARGE);
    info.width = static_cast<int>(h.width);
    info.height = static_cast<int>(height);
    info.bitsPerPixel = h.bits;
    info.formatCode = kFormatBmp;
    return Status::success();
}

Status decodeBmp(const uint8_t* data, size_t size, Bitmap& out)
{
    BmpHeader h;
    Status st = parseHeader(data, size, h);
    if (!st) return st;
    if ((h.bits != 8 && h.bits != 24) || h.compression != kBiRgb)
        return Status::failure(formatMessage(str::IDS_IMG_BMP_UNSUPPORTED, {h.bits, static_cast<long long>(h.compression)}));
    const bool topDown = h.height < 0;
    const int64_t height = topDown ? -h.height : h.height;
    if (!imageSizeAllowed(h.width, height, h.bits)) return Status::failure(str::IDS_IMG_TOO_LARGE);

    Palette256 palette;
    int colorCount = 256;
    if (h.bits == 8) {
        const uint32_t colors = h.colorsUsed == 0 ? 256 : h.colorsUsed;
        if (colors > 256) return Status::failure(str::IDS_IMG_BAD_BMP_HEADER);
        const size_t entrySize = h.headerSize == kCoreHeaderSize ? 3 : 4;
        const size_t at = kBmpFileHeaderSize + h.headerSize;
        if (size - at < colors * entrySize) return Status::failure(str::IDS_IMG_TRUNCATED);
        for (size_t i = 0; i < colors; ++i) {
            const uint8_t* e = data + at + i * entrySize;
            palette[i] = PaletteEntry{e[0], e[1], e[2], 0};
        }
        colorCount = static_cast<int>(colors);
    }

    // Every row but the last must be there with its padding; the last needs only its pixels.
    // Checked before the bitmap is allocated: a short file must not cost a large picture.
    const size_t stride = rowStride(h.width, h.bits);
    const size_t rowBytes = static_cast<size_t>(h.width) * static_cast<size_t>(h.bits / 8);
    const size_t offset = h.pixelOffset;
    const size_t rows = static_cast<size_t>(height);
    if (offset > size || size - offset < rowBytes || (size - offset - rowBytes) / stride < rows - 1)
        return Status::failure(str::IDS_IMG_TRUNCATED);

    Bitmap bmp = Bitmap::create(static_cast<int>(h.width), static_cast<int>(height), h.bits);
    bmp.formatCode = kFormatBmp;
    bmp.palette = palette;
    if (h.bits == 8) bmp.colorCount = colorCount;

    for (size_t r = 0; r < rows; ++r) {
        const uint8_t* src = data + offset + r * stride;
        const int y = static_cast<int>(topDown ? r : rows - 1 - r);
        uint8_t* dst = bmp.row(y);
        if (h.bits == 8) {
            std::memcpy(dst, src, rowBytes);
        } else {
            for (int64_t x = 0; x < h.width; ++x) {  // stored blue, green, red
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
        }
    }
    out = std::move(bmp);
    return Status::success();
}

Status readBmpFile(const std::string& path, Bitmap& out) { return parseImageFile(path, decodeBmp, out); }

// What we write: the 14-byte file header ("BM", file size, two zero reserved words, offset
// of the pixels) and a 40-byte information header: width, a positive height (rows stored
// bottom-up), 1 plane, 8 or 24 bits, no compression, the size of the pixel data, 2835 x 2835
// pixels per metre, 256 colours used for 8 bits (0 for 24), no "important colours" count.
// An 8-bit picture always carries all 256 palette entries (blue, green, red, 0), whatever
// few of them it uses, so it is never written as a 4-bit or smaller file. Rows are padded
// with zeros to a multiple of four bytes; 24-bit pixels are stored blue, green, red.
Status encodeBmp(const Bitmap& bmp, Bytes& out)
{
    out.clear();
    if (bmp.empty() || !bmp.valid()) return Status::failure(str::IDS_IMG_EMPTY);
    if (!imageSizeAllowed(bmp.width, bmp.height, bmp.bitsPerPixel)) return Status::failure(str::IDS_IMG_TOO_LARGE);
    const int bits = bmp.bitsPerPixel;
    const size_t stride = rowStride(bmp.width, bits);
    const size_t paletteBytes = bits == 8 ? 256 * 4 : 0;
    const size_t offset = kBmpFileHeaderSize + kBmpInfoHeaderSize + paletteBytes;
    const size_t imageBytes = stride * static_cast<size_t>(bmp.height);
    const size_t total = offset + imageBytes;
    if (total > UINT32_MAX) return Status::failure(str::IDS_IMG_TOO_LARGE);

    out.reserve(total);
    ByteWriter w(out);
    w.u8('B');
    w.u8('M');
    w.u32(static_cast<uint32_t>(total));
    w.u16(0);
    w.u16(0);
    w.u32(static_cast<uint32_t>(offset));
    w.u32(kBmpInfoHeaderSize);
    w.u32(static_cast<uint32_t>(bmp.width));
    w.u32(static_cast<uint32_t>(bmp.height));
    w.u16(1);
    w.u16(static_cast<uint16_t>(bits));
    w.u32(kBiRgb);
    w.u32(static_cast<uint32_t>(imageBytes));
    w.u32(static_cast<uint32_t>(kWritePelsPerMetre));
    w.u32(static_cast<uint32_t>(kWritePelsPerMetre));
    w.u32(bits == 8 ? 256 : 0);
    w.u32(0);
    if (bits == 8) {
        for (size_t i = 0; i < 256; ++i) {
            w.u8(bmp.palette[i].blue);
            w.u8(bmp.palette[i].green);
            w.u8(bmp.palette[i].red);
            w.u8(0);
        }
    }
    const size_t rowBytes = bmp.stride();
    for (int y = bmp.height - 1; y >= 0; --y) {
        const uint8_t* src = bmp.row(y);
        const size_t at = out.size();
        out.resize(at + stride, 0);
        uint8_t* dst = out.data() + at;
        if (bits == 8) {
            std::memcpy(dst, src, rowBytes);
        } else {
            for (int x = 0; x < bmp.width; ++x) {
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
        }
    }
    return Status::success();
}

}  // namespace qv
