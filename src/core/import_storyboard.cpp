// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/import_storyboard.h"

#include <algorithm>

#include "core/bitmap_ops.h"
#include "core/file_io.h"
#include "core/flc_format.h"
#include "core/palette_files.h"
#include "core/quantize.h"
#include "core/storyboard.h"
#include "core/storyboard_convert.h"
#include "core/strings.h"

namespace qv {

namespace {

// A source picture is read whole; no picture worth importing comes near this size.
constexpr uint64_t kMaxSourceFileSize = uint64_t(1) << 30;

}  // namespace

Status loadImportSource(const std::string& path, Bitmap& out)
{
    Bytes data;
    if (!readWholeFile(path, data, kMaxSourceFileSize))
        return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_IMAGE, {path}));
    ImageFileInfo info;
    if (!readImageInfo(data.data(), data.size(), info)) return Status::failure(str::IDS_IMPORT_INVALID_FORMAT);
    if (info.bitsPerPixel < 8) return Status::failure(str::IDS_IMPORT_DEPTH_TOO_LOW);
    if (info.formatCode != kFormatPcx && info.formatCode != kFormatBmp)
        return Status::failure(str::IDS_IMPORT_INVALID_FORMAT);
    // A picture too large to hold is refused before its pixels are allocated.
    if (!imageSizeAllowed(info.width, info.height, info.bitsPerPixel)) return Status::failure(str::IDS_IMG_TOO_LARGE);
    Bitmap picture;
    if (!decodeImage(data.data(), data.size(), picture) || !picture.valid() || picture.empty())
        return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_IMAGE, {path}));
    out = std::move(picture);
    return Status::success();
}

int limitImportOffset(int offset, int frameSize) { return std::max(0, std::min(offset, kUnitArea - frameSize)); }

int centredImportOffset(int frameSize) { return std::max(0, (kUnitArea - frameSize) / 2); }

int importGridCount(int pictureSize, int frameSize)
{
    if (pictureSize < 1 || frameSize < 0) return 0;
    return (pictureSize - 1) / (frameSize + 1);
}

Status ImportToQSB(const Bitmap& source, const ImportStoryboardSettings& s, const ImportQuestion& ask)
{
    const int w = s.frameWidth, h = s.frameHeight;
    if (w < 1) return Status::failure(str::IDS_IMPORT_WRONG_WIDTH);
    if (h < 1) return Status::failure(str::IDS_IMPORT_WRONG_HEIGHT);
    // An FLC animation's frames are at most 240 x 240; the storyboard could not become one.
    if (w > kMaxFrameSide) return Status::failure(str::IDS_IMPORT_FRAME_TOO_WIDE);
    if (h > kMaxFrameSide) return Status::failure(str::IDS_IMPORT_FRAME_TOO_HIGH);
    if (!source.valid() || source.empty()) return Status::failure(str::IDS_IMPORT_IMAGE_TOO_NARROW);
    if (source.width < w + 2) return Status::failure(str::IDS_IMPORT_IMAGE_TOO_NARROW);
    if (source.height < h + 2) return Status::failure(str::IDS_IMPORT_IMAGE_TOO_LOW);

    // The grid: every full cell the picture holds.
    const int F = importGridCount(source.width, w);
    int D = importGridCount(source.height, h);
    if (F < 1) return Status::failure(str::IDS_IMPORT_IMAGE_TOO_NARROW);
    if (D < 1) return Status::failure(str::IDS_IMPORT_IMAGE_TOO_LOW);
    if (D >= 2 && D <= 7) {
        if (ask(str::IDS_IMPORT_ASK_ONE_DIRECTION) != ImportAnswer::Yes) return Status::failure();
        D = 1;
    } else if (D > kDirectionCount) {
        if (ask(str::IDS_IMPORT_ASK_EIGHT_DIRECTIONS) != ImportAnswer::Yes) return Status::failure();
        D = kDirectionCount;
    }
    if (F > kMaxStoryboardCount) return Status::failure(formatMessage(str::IDS_STORYBOARD_TOO_MANY_FRAMES, {F}));

    // The palette: from a palette file, or the picture's own 256 colours (a true-colour
    // picture is reduced to an optimised palette first, and the cells take its colours).
    Palette256 palette;
    Bitmap reduced;
    const Bitmap* cells = &source;
    if (s.paletteFromFile) {
        if (s.palettePath.empty()) return Status::failure(str::IDS_IMPORT_SELECT_PALETTE);
        if (!ImportPaletteFromFile(s.palettePath, palette))
            return Status::failure(formatMessage(str::IDS_CANNOT_IMPORT_PALETTE, {s.palettePath}));
    } else {
        if (source.bitsPerPixel != 8) {
            if (Status st = reduceTo8Bit(source, reduced, 256); !st) return st;
            cells = &reduced;
        }
        if (cells->colorCount != 256)
            return Status::failure(formatMessage(str::IDS_IMPORT_WRONG_COLOR_COUNT, {cells->colorCount}));
        palette = cells->palette;
    }

    bool leaderHead = false;
    if (D == 1 && w == 200 && h == 240) {
        const ImportAnswer answer = ask(str::IDS_IMPORT_ASK_LEADERHEAD);
        if (answer == ImportAnswer::Stop) return Status::failure();
        leaderHead = answer == ImportAnswer::Yes;
    }

    const int formatCode = s.imageFormat == 0 ? kFormatPcx : kFormatBmp;
    const std::string sheetPath = folderOf(s.destinationPath) + baseNameOf(s.destinationPath) + sheetExtension(formatCode);
    const StoryboardGeometry g = StoryboardGeometry::grid(w, h, F, D, s.delay, s.leftOffset, s.topOffset, formatCode,
                                                          s.paletteType, leaderHead);
    // A name the description cannot hold is refused before anything is written.
    StoryboardInfo probe;
    if (Status st = makeStoryboardInfo(s.destinationPath, g, probe); !st) return st;

    Bitmap sheet;
    if (!CreateStoryboard(g.sheetWidth, g.sheetHeight, w, h, D, F, 24, palette, sheet, sheetPath))
        return Status::failure(str::IDS_STORYBOARD_CANNOT_CREATE);
    // Only the cells are taken: the old grid lines and any margin past the last full cell
    // give way to the fresh grid and background.
    for (int k = 0; k < D * F; ++k) {
        const int x = cellLeft(w, k % F), y = cellTop(h, k / F);
        copyRect(*cells, Rect{x, y, w, h}, sheet, x, y);
    }

    // The palette file, the sheet, the quantisation palette and the description, as one unit.
    StoryboardFileSet files;
    if (Status st = files.addPalette(sheetPath, palette, s.paletteType); !st) return st;
    if (s.colorDepth == 0) {
        // Where palette entries share a colour, transparency and the light and shadow
        // indices win, as when the storyboard's 24-bit sheet is read.
        Bitmap indexed = mapToPalette(sheet, palette, 256, PaletteTie::KeepSpecialIndices);
        indexed.palette = palette;
        if (Status st = files.addSheet(sheetPath, indexed, formatCode, 8); !st) return st;
    } else if (Status st = files.addSheet(sheetPath, sheet, formatCode, 24); !st) {
        return st;
    }
    sheet = Bitmap{};
    if (Status st = files.addPalette(sheetPath, palette, s.paletteType, "_Default"); !st) return st;
    StoryboardInfo info;
    if (Status st = makeStoryboardInfo(s.destinationPath, g, info); !st) return st;
    files.describe(s.destinationPath, info);
    return files.commit();
}

}  // namespace qv
