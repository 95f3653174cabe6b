// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bitmap.h"

#include "core/bitmap_ops.h"
#include "core/bmp_codec.h"
#include "core/file_io.h"
#include "core/pcx_codec.h"
#include "core/quantize.h"
#include "core/strings.h"

namespace qv {

bool imageSizeAllowed(int64_t width, int64_t height, int bitsPerPixel)
{
    const int64_t bytesPerPixel = bitsPerPixel > 8 ? 3 : 1;
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height * bytesPerPixel <= kMaxImageBytes;
}

Bitmap Bitmap::create(int width, int height, int bitsPerPixel, uint8_t fill)
{
    Bitmap b;
    b.width = width > 0 ? width : 0;
    b.height = height > 0 ? height : 0;
    b.bitsPerPixel = bitsPerPixel == 24 ? 24 : 8;
    b.pixels.assign(b.stride() * static_cast<size_t>(b.height), fill);
    return b;
}

int detectImageFormat(const uint8_t* data, size_t size)
{
    if (size >= 1 && data[0] == kPcxManufacturer) return kFormatPcx;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return kFormatBmp;
    return kFormatUnknown;
}

Status readImageInfo(const uint8_t* data, size_t size, ImageFileInfo& info)
{
    switch (detectImageFormat(data, size)) {
    case kFormatPcx: return readPcxInfo(data, size, info);
    case kFormatBmp: return readBmpInfo(data, size, info);
    default: info = ImageFileInfo{}; return Status::failure(str::IDS_IMG_UNKNOWN_FORMAT);
    }
}

namespace {

template <class Out>
Status parseFile(const std::string& path, Status (*parse)(const uint8_t*, size_t, Out&), Out& out)
{
    Bytes data;
    if (!readWholeFile(path, data)) return Status::failure(formatMessage(str::IDS_IMG_CANNOT_OPEN, {path}));
    return parse(data.data(), data.size(), out);
}

}  // namespace

Status parseImageFile(const std::string& path, Status (*parse)(const uint8_t*, size_t, Bitmap&), Bitmap& out)
{
    return parseFile(path, parse, out);
}

Status parseImageFile(const std::string& path, Status (*parse)(const uint8_t*, size_t, ImageFileInfo&),
                      ImageFileInfo& info)
{
    return parseFile(path, parse, info);
}

Status readImageFileInfo(const std::string& path, ImageFileInfo& info)
{
    return parseImageFile(path, readImageInfo, info);
}

Status decodeImage(const uint8_t* data, size_t size, Bitmap& out)
{
    switch (detectImageFormat(data, size)) {
    case kFormatPcx: return decodePcx(data, size, out);
    case kFormatBmp: return decodeBmp(data, size, out);
    default: return Status::failure(str::IDS_IMG_UNKNOWN_FORMAT);
    }
}

Status readImageFile(const std::string& path, Bitmap& out) { return parseImageFile(path, decodeImage, out); }

Status encodeImage(const Bitmap& bmp, int formatCode, int bitsPerPixel, Bytes& out)
{
    out.clear();
    if (formatCode != kFormatPcx && formatCode != kFormatBmp)
        return Status::failure(formatMessage(str::IDS_IMG_BAD_FORMAT_CODE, {formatCode}));
    if (bitsPerPixel != 8 && bitsPerPixel != 24) return Status::failure(formatMessage(str::IDS_IMG_BAD_DEPTH, {bitsPerPixel}));
    if (bmp.empty() || !bmp.valid()) return Status::failure(str::IDS_IMG_EMPTY);
    const Bitmap* source = &bmp;
    Bitmap converted;
    if (bmp.bitsPerPixel != bitsPerPixel) {
        if (bitsPerPixel == 24) {
            converted = expandTo24(bmp);
        } else {
            Status st = reduceTo8Bit(bmp, converted);
            if (!st) return st;
        }
        source = &converted;
    }
    return formatCode == kFormatPcx ? encodePcx(*source, out) : encodeBmp(*source, out);
}

Status writeImageFile(const std::string& path, const Bitmap& bmp, int formatCode, int bitsPerPixel)
{
    Bytes data;
    Status st = encodeImage(bmp, formatCode, bitsPerPixel, data);
    if (!st) return st;
    if (!writeFileAtomic(path, data)) return Status::failure(formatMessage(str::IDS_IMG_CANNOT_WRITE, {path}));
    return Status::success();
}

}  // namespace qv
