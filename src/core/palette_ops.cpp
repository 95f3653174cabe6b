// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/palette_ops.h"

#include <algorithm>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/byte_io.h"
#include "core/file_io.h"
#include "core/flc_decode.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/quantize.h"
#include "core/storyboard.h"
#include "core/strings.h"

namespace qv {

Palette256 redPalette()
{
    Palette256 p;
    p.entries.fill(kToolRed);
    return p;
}

int clampRangeCount(int from, int to, int count)
{
    from = std::clamp(from, 0, 255);
    to = std::clamp(to, 0, 255);
    return std::clamp(count, 0, 256 - std::max(from, to));
}

int clampMoveCount(bool wholePalette, int from, int to, int count)
{
    count = std::max(count, 0);
    if (wholePalette) return std::min(count, 255);
    if (count == 1) return 1;
    return std::min(count, 255 - std::max(std::clamp(from, 0, 255), std::clamp(to, 0, 255)));
}

void replaceRange(Palette256& destination, const Palette256& source, int from, int to, int count)
{
    for (int k = 0; k < count; ++k) {
        if (from + k < 0 || to + k < 0 || from + k > 255 || to + k > 255) break;
        destination[size_t(to + k)] = source[size_t(from + k)];
    }
}

void moveColors(Palette256& palette, int from, int to, int count)
{
    if (from == to || count <= 0) return;
    const Palette256 before = palette;
    replaceRange(palette, before, from, to, count);
    for (int k = 0; k < count && from + k <= 255; ++k)
        if (from + k >= 0) palette[size_t(from + k)] = kToolRed;
}

void shiftRight(Palette256& palette, int n)
{
    n = std::clamp(n, 0, 256);
    if (n == 0) return;
    const Palette256 before = palette;
    for (int k = 0; k + n <= 255; ++k) palette[size_t(k + n)] = before[size_t(k)];
    for (int k = 0; k < n; ++k) palette[size_t(k)] = kToolRed;
}

void shiftLeft(Palette256& palette, int n)
{
    n = std::clamp(n, 0, 256);
    if (n == 0) return;
    const Palette256 before = palette;
    for (int k = 0; k + n <= 255; ++k) palette[size_t(k)] = before[size_t(k + n)];
    for (int k = 256 - n; k <= 255; ++k) palette[size_t(k)] = kToolRed;
}

int adjustmentLimit(ColourAdjustment kind) { return kind == ColourAdjustment::Hue ? 360 : 1000; }

void adjustPalette(Palette256& palette, ColourAdjustment kind, int amount, int first, int last)
{
    const int limit = adjustmentLimit(kind);
    amount = std::clamp(amount, -limit, limit);
    first = std::max(first, 0);
    last = std::min(last, 255);
    for (int i = first; i <= last; ++i) {
        const uint32_t c = palette[size_t(i)].rgb();
        uint32_t out = c;
        switch (kind) {
            case ColourAdjustment::Brightness: out = adjustIntensity(c, amount); break;
            case ColourAdjustment::Contrast: out = adjustContrast(c, amount); break;
            case ColourAdjustment::Hue: out = adjustHue(c, amount); break;
            case ColourAdjustment::Saturation: out = adjustSaturation(c, amount); break;
        }
        PaletteEntry& e = palette[size_t(i)];
        e.red = uint8_t(out >> 16);
        e.green = uint8_t(out >> 8);
        e.blue = uint8_t(out);
    }
}

namespace {

Status cannotGet() { return Status::failure(str::IDS_CANNOT_GET_PALETTE_FROM_FILE); }

// The colour chunk of the first frame of an FLC file.
Status flcPalette(const std::string& path, Palette256& target)
{
    Bytes data;
    if (!readWholeFile(path, data, kMaxFlcFileSize) || data.size() < kFlcHeaderSize + kFrameHeaderSize)
        return cannotGet();
    const FlcHeader header = FlcHeader::parse(data.data());
    if (header.magic != kFlcMagic || header.width > kMaxFrameSide || header.height > kMaxFrameSide) return cannotGet();
    const uint8_t* frame = data.data() + kFlcHeaderSize;
    if (getLE16(frame + 4) != kFrameType) return cannotGet();
    const size_t frameEnd = std::min<size_t>(data.size(), kFlcHeaderSize + size_t(getLE32(frame)));
    const int chunks = getLE16(frame + 6);
    size_t pos = kFlcHeaderSize + kFrameHeaderSize;
    for (int i = 0; i < chunks && pos + kChunkHeaderSize <= frameEnd; ++i) {
        const uint32_t size = getLE32(data.data() + pos);
        const uint16_t type = getLE16(data.data() + pos + 4);
        if (type == kChunkColor256) {
            Palette256 read = target;
            decodeColor256(data.data() + pos + kChunkHeaderSize, frameEnd - pos - kChunkHeaderSize, read);
            target = read;
            return Status::success();
        }
        if (size < kChunkHeaderSize) break;
        pos += size;
    }
    return cannotGet();
}

Status picturePalette(const std::string& path, Palette256& target)
{
    Bytes data;
    if (!readWholeFile(path, data)) return cannotGet();
    ImageFileInfo info;
    if (!readImageInfo(data.data(), data.size(), info)) return cannotGet();
    if (info.bitsPerPixel < 8) return Status::failure(str::IDS_COLOR_DEPTH_AT_LEAST_8);
    Bitmap picture;
    if (!decodeImage(data.data(), data.size(), picture)) return cannotGet();
    if (picture.bitsPerPixel != 8) {
        Bitmap reduced;
        if (!reduceTo8Bit(picture, reduced)) return cannotGet();
        picture = std::move(reduced);
    }
    const int count = std::clamp(picture.colorCount, 0, 256);
    for (int i = 0; i < count; ++i) {
        target[size_t(i)] = picture.palette[size_t(i)];
        target[size_t(i)].reserved = 0;
    }
    return Status::success();
}

}  // namespace

Status GetPalette(const std::string& path, Palette256& target)
{
    target = redPalette();
    const std::string ext = fileExtension(path);
    if (equalsNoCase(ext, "act") || equalsNoCase(ext, "pal")) {
        Palette256 read;
        if (!ImportPaletteFromFile(path, read)) return Status::failure(formatMessage(str::IDS_CANNOT_IMPORT_PALETTE, {path}));
        target = read;
        return Status::success();
    }
    if (equalsNoCase(ext, "flc")) return flcPalette(path, target);
    if (equalsNoCase(ext, "qsb")) {
        StoryboardInfo info;
        if (!ReadQSB(path, info)) return Status::failure();  // a description that cannot be read ends silently
        const std::string palettePath = replaceLastThree(path, info.paletteType == kPaletteAct ? "act" : "pal");
        Palette256 read;
        if (!ImportPaletteFromFile(palettePath, read))
            return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {palettePath}));
        target = read;
        return Status::success();
    }
    if (equalsNoCase(ext, "pcx") || equalsNoCase(ext, "bmp")) return picturePalette(path, target);
    return cannotGet();
}

}  // namespace qv
