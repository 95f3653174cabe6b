// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pcx_codec.h"

#include <algorithm>
#include <cstring>

#include "core/strings.h"

namespace qv {

namespace {

// Header offsets (ZSoft PCX 3.0 layout, all little-endian).
constexpr size_t kOffManufacturer = 0;
constexpr size_t kOffVersion = 1;
constexpr size_t kOffEncoding = 2;
constexpr size_t kOffBits = 3;
constexpr size_t kOffXMin = 4;
constexpr size_t kOffYMin = 6;
constexpr size_t kOffXMax = 8;
constexpr size_t kOffYMax = 10;
constexpr size_t kOffHDpi = 12;
constexpr size_t kOffVDpi = 14;
constexpr size_t kOffPlanes = 65;
constexpr size_t kOffBytesPerLine = 66;
constexpr size_t kOffPaletteInfo = 68;

// Resolution we record in written headers: 72 dots per inch, as most writers do.
constexpr uint16_t kWriteDpi = 72;

int16_t s16At(const uint8_t* p, size_t off) { return static_cast<int16_t>(getLE16(p + off)); }

}  // namespace

bool decodePcxRle(const uint8_t* data, size_t size, size_t& pos, uint8_t* out, size_t count, bool* runTooLong)
{
    if (runTooLong) *runTooLong = false;
    size_t done = 0;
    while (done < count) {
        if (pos >= size) return false;
        const uint8_t b = data[pos++];
        if ((b & 0xC0) == 0xC0) {
            const size_t run = b & 0x3F;
            if (pos >= size) return false;
            const uint8_t value = data[pos++];
            if (run > count - done) {  // the run reaches past the line
                if (runTooLong) *runTooLong = true;
                return false;
            }
            std::memset(out + done, value, run);
            done += run;
        } else {
            out[done++] = b;
        }
    }
    return true;
}

namespace {

// The run-length coding of in[0..count) written to `out`, which has room for 2 x count
// bytes (the worst case: every byte 0xC0 or above and unlike its neighbours); returns the
// bytes written.
size_t encodePcxRleTo(const uint8_t* in, size_t count, uint8_t* out)
{
    uint8_t* o = out;
    const uint8_t* const end = in + count;
    while (in < end) {
        const uint8_t value = *in;
        const uint8_t* const limit = end - in > 63 ? in + 63 : end;
        const uint8_t* p = in + 1;
        while (p < limit && *p == value) ++p;
        const size_t run = size_t(p - in);
        if (run == 1 && (value & 0xC0) != 0xC0) {
            *o++ = value;
        } else {
            *o++ = static_cast<uint8_t>(0xC0 | run);
            *o++ = value;
        }
        in = p;
    }
    return size_t(o - out);
}

}  // namespace

void encodePcxRle(const uint8_t* in, size_t count, Bytes& out)
{
    const size_t start = out.size();
    out.resize(start + 2 * count);
    out.resize(start + encodePcxRleTo(in, count, out.data() + start));
}

Status readPcxInfo(const uint8_t* data, size_t size, ImageFileInfo& info)
{
    info = ImageFileInfo{};
    if (size < kPcxHeaderSize || data[kOffManufacturer] != kPcxManufacturer)
        return Status::failure(str::IDS_IMG_BAD_PCX_HEADER);
    const int width = int(s16At(data, kOffXMax)) - int(s16At(data, kOffXMin)) + 1;
    const int height = int(s16At(data, kOffYMax)) - int(s16At(data, kOffYMin)) + 1;
    if (width <= 0 || height <= 0) return Status::failure(str::IDS_IMG_BAD_PCX_HEADER);
    info.width = width;
    info.height = height;
    info.bitsPerPixel = int(data[kOffBits]) * int(data[kOffPlanes]);
    info.formatCode = kFormatPcx;
    return Status::success();
}

Status decodePcx(const uint8_t* data, size_t size, Bitmap& out)
{
    ImageFileInfo info;
    Status st = readPcxInfo(data, size, info);
    if (!st) return st;
    const int bits = data[kOffBits];
    const int planes = data[kOffPlanes];
    if (bits != 8 || (planes != 1 && planes != 3)) return Status::failure(formatMessage(str::IDS_IMG_PCX_UNSUPPORTED, {bits, planes}));
    if (data[kOffEncoding] != 1) return Status::failure(str::IDS_IMG_BAD_PCX_HEADER);
    const int bytesPerLine = s16At(data, kOffBytesPerLine);
    if (bytesPerLine < info.width) return Status::failure(str::IDS_IMG_BAD_PCX_HEADER);
    if (!imageSizeAllowed(info.width, info.height, planes * 8)) return Status::failure(str::IDS_IMG_TOO_LARGE);

    const size_t planeBytes = static_cast<size_t>(bytesPerLine);
    const size_t lineBytes = planeBytes * static_cast<size_t>(planes);
    std::vector<uint8_t> line(lineBytes);
    Bitmap bmp;
    bmp.width = info.width;
    bmp.height = info.height;
    bmp.bitsPerPixel = planes == 3 ? 24 : 8;
    bmp.formatCode = kFormatPcx;
    // Rows are appended as they decode, so a header that claims a huge picture over a few
    // bytes of data fails before much memory is taken.
    const size_t stride = bmp.stride();
    // A run of two bytes gives at most 63, so the data bounds what can honestly be reserved.
    bmp.pixels.reserve(std::min(stride * static_cast<size_t>(info.height), (size - kPcxHeaderSize) * 32 + stride));
    size_t pos = kPcxHeaderSize;
    for (int y = 0; y < info.height; ++y) {
        bool runTooLong = false;
        if (!decodePcxRle(data, size, pos, line.data(), lineBytes, &runTooLong)) {
            if (!runTooLong) return Status::failure(str::IDS_IMG_TRUNCATED);
            return Status::failure(formatMessage(str::IDS_IMG_PCX_BAD_LINE, {y + 1, static_cast<int>(lineBytes)}));
        }
        const size_t at = bmp.pixels.size();
        bmp.pixels.resize(at + stride);
        uint8_t* dst = bmp.pixels.data() + at;
        if (planes == 1) {
            std::memcpy(dst, line.data(), stride);
        } else {
            const uint8_t* r = line.data();
            const uint8_t* g = r + planeBytes;
            const uint8_t* b = g + planeBytes;
            for (int x = 0; x < info.width; ++x) {
                dst[3 * x] = r[x];
                dst[3 * x + 1] = g[x];
                dst[3 * x + 2] = b[x];
            }
        }
    }
    if (planes == 1 && size >= kPcxHeaderSize + kPcxPaletteBlockSize && data[size - kPcxPaletteBlockSize] == kPcxPaletteMarker) {
        const uint8_t* p = data + size - kPcxPaletteBlockSize + 1;
        for (size_t i = 0; i < 256; ++i) bmp.palette[i] = PaletteEntry::fromRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
    }
    out = std::move(bmp);
    return Status::success();
}

Status readPcxFile(const std::string& path, Bitmap& out) { return parseImageFile(path, decodePcx, out); }

// What we write, for 8-bit and 24-bit pictures alike: manufacturer 10, version 5 (PC
// Paintbrush 3.0 and later, the version that allows the 256-colour palette block),
// encoding 1 (run-length), 8 bits per pixel and plane, window (0, 0)-(width-1, height-1),
// 72 x 72 dots per inch, an all-zero 16-colour header palette, one plane (8-bit) or three
// planes red, green, blue (24-bit), bytes per line = width rounded up to an even number
// (the padding byte is 0), palette information 1 (colour), no screen size, zero filler.
// Each plane of each scan line is run-length coded on its own, so no run crosses a plane
// or a line. An 8-bit picture ends with the marker 12 and its 256 colours as red, green,
// blue; a 24-bit picture has no palette block.
Status encodePcx(const Bitmap& bmp, Bytes& out)
{
    out.clear();
    if (bmp.empty() || !bmp.valid()) return Status::failure(str::IDS_IMG_EMPTY);
    if (!imageSizeAllowed(bmp.width, bmp.height, bmp.bitsPerPixel)) return Status::failure(str::IDS_IMG_TOO_LARGE);
    const int planes = bmp.bitsPerPixel == 24 ? 3 : 1;
    const size_t bytesPerLine = (static_cast<size_t>(bmp.width) + 1) & ~size_t(1);

    out.assign(kPcxHeaderSize, 0);
    uint8_t* h = out.data();
    h[kOffManufacturer] = kPcxManufacturer;
    h[kOffVersion] = 5;
    h[kOffEncoding] = 1;
    h[kOffBits] = 8;
    putLE16(h + kOffXMin, 0);
    putLE16(h + kOffYMin, 0);
    putLE16(h + kOffXMax, static_cast<uint16_t>(bmp.width - 1));
    putLE16(h + kOffYMax, static_cast<uint16_t>(bmp.height - 1));
    putLE16(h + kOffHDpi, kWriteDpi);
    putLE16(h + kOffVDpi, kWriteDpi);
    h[kOffPlanes] = static_cast<uint8_t>(planes);
    putLE16(h + kOffBytesPerLine, static_cast<uint16_t>(bytesPerLine));
    putLE16(h + kOffPaletteInfo, 1);

    out.reserve(kPcxHeaderSize + bmp.pixels.size() + bmp.pixels.size() / 8 + kPcxPaletteBlockSize);
    // Each plane of a line is coded into `coded` and then appended; a row of an 8-bit picture
    // as wide as a plane is coded where it lies.
    std::vector<uint8_t> plane(bytesPerLine, 0);
    std::vector<uint8_t> coded(2 * bytesPerLine);
    auto append = [&](const uint8_t* bytes) {
        const size_t n = encodePcxRleTo(bytes, bytesPerLine, coded.data());
        out.insert(out.end(), coded.data(), coded.data() + n);
    };
    for (int y = 0; y < bmp.height; ++y) {
        const uint8_t* row = bmp.row(y);
        if (planes == 1) {
            if (static_cast<size_t>(bmp.width) == bytesPerLine) {
                append(row);
            } else {
                std::memcpy(plane.data(), row, static_cast<size_t>(bmp.width));
                append(plane.data());
            }
        } else {
            for (int c = 0; c < 3; ++c) {
                for (int x = 0; x < bmp.width; ++x) plane[static_cast<size_t>(x)] = row[3 * x + c];
                append(plane.data());
            }
        }
    }
    if (planes == 1) {
        out.push_back(kPcxPaletteMarker);
        for (size_t i = 0; i < 256; ++i) {
            out.push_back(bmp.palette[i].red);
            out.push_back(bmp.palette[i].green);
            out.push_back(bmp.palette[i].blue);
        }
    }
    return Status::success();
}

Status writePcxFile(const std::string& path, const Bitmap& bmp, int bitsPerPixel)
{
    return writeImageFile(path, bmp, kFormatPcx, bitsPerPixel);
}

}  // namespace qv
