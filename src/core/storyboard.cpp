// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storyboard.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/bitmap_ops.h"
#include "core/byte_io.h"
#include "core/file_io.h"
#include "core/palette_files.h"
#include "core/strings.h"

namespace qv {

namespace {

// A sheet file is read whole; no valid sheet comes near this size.
constexpr uint64_t kMaxSheetFileSize = uint64_t(1) << 30;

size_t nameStart(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

// ---- The record ----

std::string StoryboardInfo::name() const
{
    // A record without a terminator in its 63 name characters still names no more than 63.
    const void* end = std::memchr(baseName, 0, kMaxStoryboardNameLength);
    const size_t n = end ? static_cast<size_t>(static_cast<const char*>(end) - baseName) : kMaxStoryboardNameLength;
    return std::string(baseName, n);
}

bool StoryboardInfo::parse(const uint8_t* d, size_t size, StoryboardInfo& out)
{
    if (size != kStoryboardInfoSize) return false;
    StoryboardInfo s;
    std::memcpy(s.baseName, d, kStoryboardNameField);
    s.sheetWidth = getLE16(d + 64);
    s.sheetHeight = getLE16(d + 66);
    s.frameWidth = d[68];
    s.frameHeight = d[69];
    s.framesPerDirection = d[70];
    s.directionCount = d[71];
    s.speed = getLE16(d + 72);
    s.leftOffset = d[74];
    s.topOffset = d[75];
    s.imageType = d[76];
    s.paletteType = d[77];
    s.leaderHead = d[78];
    out = s;
    return true;
}

void StoryboardInfo::serialize(uint8_t* d) const
{
    std::memset(d, 0, kStoryboardInfoSize);
    const std::string n = name();
    std::memcpy(d, n.data(), std::min(n.size(), kMaxStoryboardNameLength));
    putLE16(d + 64, sheetWidth);
    putLE16(d + 66, sheetHeight);
    d[68] = frameWidth;
    d[69] = frameHeight;
    d[70] = framesPerDirection;
    d[71] = directionCount;
    putLE16(d + 72, speed);
    d[74] = leftOffset;
    d[75] = topOffset;
    d[76] = imageType;
    d[77] = paletteType;
    d[78] = leaderHead;
}

// ---- File naming ----

std::string replaceLastThree(const std::string& path, const std::string& ext)
{
    return path.substr(0, path.size() >= 3 ? path.size() - 3 : 0) + ext;
}

const char* sheetExtension(int imageType) { return imageType == kFormatPcx ? ".pcx" : ".bmp"; }

std::string folderOf(const std::string& path) { return path.substr(0, nameStart(path)); }

std::string baseNameOf(const std::string& path)
{
    std::string name = path.substr(nameStart(path));
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

std::string storyboardSheetPath(const std::string& qsbPath, const StoryboardInfo& info)
{
    return folderOf(qsbPath) + info.name() + sheetExtension(info.imageType);
}

std::string storyboardPalettePath(const std::string& qsbPath, int paletteType)
{
    if (paletteType == kPaletteAct) return replaceLastThree(qsbPath, "act");
    if (paletteType == kPaletteRiff || paletteType == kPaletteJasc) return replaceLastThree(qsbPath, "pal");
    return replaceLastThree(qsbPath, "");
}

std::string quantisationPalettePath(const std::string& palettePath)
{
    const size_t at = palettePath.size() >= 4 ? palettePath.size() - 4 : 0;
    return palettePath.substr(0, at) + "_Default" + palettePath.substr(at);
}

// ---- The description file ----

bool ReadQSB(const std::string& path, StoryboardInfo& out)
{
    Bytes data;
    if (!readWholeFile(path, data, kStoryboardInfoSize)) return false;
    return StoryboardInfo::parse(data.data(), data.size(), out);
}

bool WriteQSB(const std::string& path, const StoryboardInfo& info)
{
    uint8_t bytes[kStoryboardInfoSize];
    info.serialize(bytes);
    return writeFileAtomic(qsbPathFor(path), bytes, sizeof bytes);
}

StoryboardGeometry StoryboardGeometry::grid(int frameWidth, int frameHeight, int framesPerDirection, int directions,
                                            int speed, int leftOffset, int topOffset, int imageType, int paletteType,
                                            bool leaderHead)
{
    StoryboardGeometry g;
    g.sheetWidth = sheetWidthFor(frameWidth, framesPerDirection);
    g.sheetHeight = sheetHeightFor(frameHeight, directions);
    g.frameWidth = frameWidth;
    g.frameHeight = frameHeight;
    g.framesPerDirection = framesPerDirection;
    g.directions = directions;
    g.speed = speed;
    g.leftOffset = leftOffset;
    g.topOffset = topOffset;
    g.imageType = imageType;
    g.paletteType = paletteType;
    g.leaderHead = leaderHead ? 1 : 0;
    return g;
}

Status makeStoryboardInfo(const std::string& path, const StoryboardGeometry& g, StoryboardInfo& out)
{
    const std::string name = baseNameOf(path);
    if (name.size() > kMaxStoryboardNameLength)
        return Status::failure(formatMessage(str::IDS_QSB_NAME_TOO_LONG, {path}));
    StoryboardInfo s;
    std::memcpy(s.baseName, name.data(), name.size());
    s.sheetWidth = static_cast<uint16_t>(g.sheetWidth);
    s.sheetHeight = static_cast<uint16_t>(g.sheetHeight);
    s.frameWidth = static_cast<uint8_t>(g.frameWidth);
    s.frameHeight = static_cast<uint8_t>(g.frameHeight);
    s.framesPerDirection = static_cast<uint8_t>(g.framesPerDirection);
    s.directionCount = static_cast<uint8_t>(g.directions);
    s.speed = static_cast<uint16_t>(g.speed);
    s.leftOffset = static_cast<uint8_t>(g.leftOffset);
    s.topOffset = static_cast<uint8_t>(g.topOffset);
    s.imageType = static_cast<uint8_t>(g.imageType);
    s.paletteType = static_cast<uint8_t>(g.paletteType);
    s.leaderHead = g.leaderHead != 0 ? 1 : 0;
    out = s;
    return Status::success();
}

Status writeStoryboardDescription(const std::string& path, const StoryboardGeometry& g)
{
    StoryboardInfo info;
    Status st = makeStoryboardInfo(path, g, info);
    if (!st) return st;
    if (!WriteQSB(path, info)) return Status::failure(str::IDS_QSB_CANNOT_WRITE);
    return Status::success();
}

// ---- Writing a storyboard as one unit ----

void StoryboardFileSet::add(const std::string& path, Bytes data, std::string failure)
{
    for (size_t i = 0; i < files_.size(); ++i)
        if (files_[i].path == path) {
            files_[i] = FileWrite{path, std::move(data), false};
            failures_[i] = std::move(failure);
            return;
        }
    files_.push_back(FileWrite{path, std::move(data), false});
    failures_.push_back(std::move(failure));
}

void StoryboardFileSet::remove(const std::string& path)
{
    if (path.empty() || !fileExists(path)) return;
    add(path, {}, str::IDS_QSB_CANNOT_WRITE_PALETTE);
    files_.back().remove = true;
}

Status StoryboardFileSet::addSheet(const std::string& path, const Bitmap& sheet, int formatCode, int bitsPerPixel)
{
    Bytes data;
    if (Status st = encodeImage(sheet, formatCode, bitsPerPixel, data); !st) return st;
    add(path, std::move(data), formatMessage(str::IDS_IMG_CANNOT_WRITE, {path}));
    return Status::success();
}

Status StoryboardFileSet::addPalette(const std::string& path, const Palette256& palette, int type,
                                     const std::string& suffix)
{
    const std::string target = exportedPalettePath(path, type, suffix);
    Bytes data;
    if (target.empty() || !serializePalette(palette, type, data))
        return Status::failure(str::IDS_QSB_CANNOT_WRITE_PALETTE);
    add(target, std::move(data), str::IDS_QSB_CANNOT_WRITE_PALETTE);
    return Status::success();
}

void StoryboardFileSet::describe(const std::string& path, const StoryboardInfo& info)
{
    description_.path = qsbPathFor(path);
    description_.data.resize(kStoryboardInfoSize);
    info.serialize(description_.data.data());
    hasDescription_ = true;
}

Status StoryboardFileSet::commit() const
{
    std::vector<FileWrite> all;
    std::vector<const std::string*> failures;
    for (size_t i = 0; i < files_.size(); ++i)
        if (!hasDescription_ || files_[i].path != description_.path) {
            all.push_back(files_[i]);
            failures.push_back(&failures_[i]);
        }
    const std::string describeFailure = str::IDS_QSB_CANNOT_WRITE;
    if (hasDescription_) {
        all.push_back(description_);
        failures.push_back(&describeFailure);
    }
    size_t failed = 0;
    if (writeFilesAsUnit(all, &failed)) return Status::success();
    return Status::failure(failed < failures.size() ? *failures[failed] : describeFailure);
}

Status SaveStoryboard(const std::string& qsbPath, const StoryboardInfo& info, const Palette256& palette,
                      const std::string& sheetFrom)
{
    const std::string name = baseNameOf(qsbPath);
    if (name.size() > kMaxStoryboardNameLength)
        return Status::failure(formatMessage(str::IDS_QSB_NAME_TOO_LONG, {qsbPath}));
    StoryboardInfo record = info;
    std::memset(record.baseName, 0, sizeof record.baseName);
    std::memcpy(record.baseName, name.data(), name.size());

    StoryboardFileSet files;
    if (!sheetFrom.empty()) {
        const std::string sheetTo = storyboardSheetPath(qsbPathFor(qsbPath), record);
        Bytes sheet;
        if (!readWholeFile(sheetFrom, sheet, kMaxSheetFileSize))
            return Status::failure(formatMessage(str::IDS_CANNOT_COPY_FROM_TO, {sheetFrom, sheetTo}));
        files.add(sheetTo, std::move(sheet), formatMessage(str::IDS_CANNOT_COPY_FROM_TO, {sheetFrom, sheetTo}));
    }
    if (Status st = files.addPalette(qsbPath, palette, record.paletteType); !st) return st;
    files.describe(qsbPath, record);
    return files.commit();
}

// ---- Sheet layout ----

void drawSheetGrid(Bitmap& sheet, int frameWidth, int frameHeight, int directions, int framesPerDirection,
                   uint32_t value)
{
    if (sheet.empty() || frameWidth < 0 || frameHeight < 0) return;
    for (int k = 0; k <= directions; ++k) {
        const int64_t y = int64_t(k) * (frameHeight + 1);
        if (y >= sheet.height) break;
        fillRect(sheet, Rect{0, static_cast<int>(y), sheet.width, 1}, value);
    }
    for (int k = 0; k <= framesPerDirection; ++k) {
        const int64_t x = int64_t(k) * (frameWidth + 1);
        if (x >= sheet.width) break;
        fillRect(sheet, Rect{static_cast<int>(x), 0, 1, sheet.height}, value);
    }
}

void copyCellOut(const Bitmap& sheet, int frameWidth, int frameHeight, int row, int column, uint8_t* out,
                 uint8_t outside)
{
    const int64_t left = 1 + int64_t(column) * (frameWidth + 1);
    const int64_t top = 1 + int64_t(row) * (frameHeight + 1);
    const bool usable = sheet.bitsPerPixel == 8 && sheet.valid();
    for (int y = 0; y < frameHeight; ++y) {
        uint8_t* dst = out + static_cast<size_t>(y) * static_cast<size_t>(frameWidth);
        std::memset(dst, outside, static_cast<size_t>(frameWidth));
        const int64_t sy = top + y;
        if (!usable || sy >= sheet.height || left >= sheet.width) continue;
        const int64_t n = std::min<int64_t>(frameWidth, sheet.width - left);
        std::memcpy(dst, sheet.row(static_cast<int>(sy)) + left, static_cast<size_t>(n));
    }
}

void copyCellIn(Bitmap& sheet, int frameWidth, int frameHeight, int row, int column, const uint8_t* picture)
{
    const int64_t left = 1 + int64_t(column) * (frameWidth + 1);
    const int64_t top = 1 + int64_t(row) * (frameHeight + 1);
    if (sheet.bitsPerPixel != 8 || !sheet.valid() || left >= sheet.width) return;
    const int64_t n = std::min<int64_t>(frameWidth, sheet.width - left);
    for (int y = 0; y < frameHeight && top + y < sheet.height; ++y)
        std::memcpy(sheet.row(static_cast<int>(top + y)) + left,
                    picture + static_cast<size_t>(y) * static_cast<size_t>(frameWidth), static_cast<size_t>(n));
}

// ---- Reading a storyboard ----

Status StoryboardToFlc(const std::string& path, StoryboardInfo& info, Bitmap& sheet)
{
    sheet = Bitmap{};
    StoryboardInfo rec;
    if (!ReadQSB(path, rec)) return Status::failure(str::IDS_QSB_CANNOT_READ);
    info = rec;

    const std::string sheetPath = storyboardSheetPath(path, rec);
    if (!fileExists(sheetPath)) return Status::failure(formatMessage(str::IDS_QSB_IMAGE_NOT_EXIST, {sheetPath}));
    if (rec.sheetWidth == 0 || rec.sheetHeight == 0 || rec.frameWidth == 0 || rec.frameHeight == 0 ||
        rec.directionCount == 0 || rec.framesPerDirection == 0)
        return Status::failure(formatMessage(str::IDS_QSB_INVALID_SIZES, {path}));

    // The sheet is read once; its description and its pixels both come from these bytes.
    Bytes data;
    if (!readWholeFile(sheetPath, data, kMaxSheetFileSize))
        return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_IMAGE, {sheetPath}));
    ImageFileInfo fi;
    Status st = readImageInfo(data.data(), data.size(), fi);
    if (!st) return st.message.empty() ? Status::failure(formatMessage(str::IDS_CANNOT_LOAD_IMAGE, {sheetPath})) : st;
    if (fi.bitsPerPixel != 8 && fi.bitsPerPixel != 24)
        return Status::failure(formatMessage(str::IDS_QSB_INVALID_DEPTH, {sheetPath, fi.bitsPerPixel}));
    if (fi.formatCode != rec.imageType)
        return Status::failure(formatMessage(str::IDS_QSB_WRONG_FORMAT, {sheetPath}));
    if (fi.width != rec.sheetWidth || fi.height != rec.sheetHeight)
        return Status::failure(formatMessage(str::IDS_QSB_WRONG_SIZES, {sheetPath, int(rec.sheetWidth),
                                                                        int(rec.sheetHeight), fi.width, fi.height}));
    Bitmap loaded;
    if (!decodeImage(data.data(), data.size(), loaded) || loaded.width != fi.width || loaded.height != fi.height ||
        (loaded.bitsPerPixel != 8 && loaded.bitsPerPixel != 24))
        return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_IMAGE, {sheetPath}));
    sheet = std::move(loaded);
    return Status::success();
}

Status cutStoryboardSheet(const std::string& qsbPath, const StoryboardInfo& info, const Bitmap& sheet,
                          StoryboardFrames& out)
{
    const int w = info.frameWidth, h = info.frameHeight;
    const int F = info.framesPerDirection, D = info.directionCount;
    if (w == 0 || h == 0 || F == 0 || D == 0 || !sheet.valid() || sheet.empty())
        return Status::failure(formatMessage(str::IDS_QSB_INVALID_SIZES, {qsbPath}));
    // Cells that lie inside a sheet never hold more pixels than the sheet; a record that
    // asks for more than any loadable sheet can hold is refused rather than allocated.
    if (int64_t(w) * h * F * D > kMaxImagePixels)
        return Status::failure(formatMessage(str::IDS_QSB_INVALID_SIZES, {qsbPath}));

    const std::string palettePath = storyboardPalettePath(qsbPath, info.paletteType);
    const std::string quantPath = quantisationPalettePath(palettePath);
    Palette256 palette;
    if (!ImportPaletteFromFile(palettePath, palette)) {
        if (sheet.bitsPerPixel == 8) {
            palette = sheet.palette;
        } else if (sheet.bitsPerPixel == 24) {
            if (!ImportPaletteFromFile(quantPath, palette))
                return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {quantPath}));
        } else {
            return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {palettePath}));
        }
    }

    // A 24-bit sheet becomes 8-bit over the quantisation palette, each pixel the nearest
    // colour; where entries share a colour, transparency and the light and shadow indices
    // win, so the pixels the sheet was made from come back as they were.
    Bitmap reduced;
    const Bitmap* cells = &sheet;
    if (sheet.bitsPerPixel == 24) {
        Palette256 quant;
        if (!ImportPaletteFromFile(quantPath, quant))
            return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {quantPath}));
        reduced = mapToPalette(sheet, quant, 256, PaletteTie::KeepSpecialIndices);
        cells = &reduced;
    }

    StoryboardFrames result;
    result.palette = palette;
    result.keyColour = palette[kTransparentIndex];
    result.info = info;
    if (result.info.speed == 0) result.info.speed = 10;
    const size_t count = static_cast<size_t>(F) * static_cast<size_t>(D);
    result.frames.reserve(count);
    FrameAllocator pictures(static_cast<size_t>(w) * static_cast<size_t>(h), count);
    for (int k = 0; k < F * D; ++k) {
        result.frames.push_back(pictures.next());
        copyCellOut(*cells, w, h, k / F, k % F, result.frames.back().data());
    }
    out = std::move(result);
    return Status::success();
}

Status checkStoryboardForFlc(const std::string& qsbPath, const StoryboardInfo& info)
{
    const int w = info.frameWidth, h = info.frameHeight;
    if (w > kMaxFrameSide || h > kMaxFrameSide)
        return Status::failure(formatMessage(str::IDS_QSB_FRAME_TOO_LARGE, {qsbPath, w, h}));
    const int needW = sheetWidthFor(w, info.framesPerDirection), needH = sheetHeightFor(h, info.directionCount);
    if (needW > info.sheetWidth || needH > info.sheetHeight)
        return Status::failure(formatMessage(str::IDS_QSB_GRID_OUTSIDE_SHEET,
                                             {qsbPath, int(info.directionCount), int(info.framesPerDirection), needW,
                                              needH, int(info.sheetWidth), int(info.sheetHeight)}));
    return Status::success();
}

Status loadStoryboard(const std::string& path, StoryboardFrames& out)
{
    StoryboardInfo info;
    Bitmap sheet;
    Status st = StoryboardToFlc(path, info, sheet);
    if (!st) return st;
    return cutStoryboardSheet(path, info, sheet, out);
}

// ---- The blank sheet ----

Status CreateStoryboard(int sheetWidth, int sheetHeight, int frameWidth, int frameHeight, int directions,
                        int framesPerDirection, int bitsPerPixel, const Palette256& palette, Bitmap& out,
                        const std::string& sheetPath)
{
    if (sheetWidth <= 0 || sheetHeight <= 0 || frameWidth <= 0 || frameHeight <= 0 || directions <= 0 ||
        framesPerDirection <= 0 || (bitsPerPixel != 8 && bitsPerPixel != 24) ||
        !imageSizeAllowed(sheetWidth, sheetHeight, bitsPerPixel))
        return Status::failure(str::IDS_INVALID_PARAMETERS);
    // The test leaves an existing sheet as it is: a failed conversion must not empty it.
    if (!sheetPath.empty() && !canWriteFile(sheetPath)) return Status::failure();
    Bitmap sheet;
    uint32_t black;
    if (bitsPerPixel == 8) {
        // The sheet is filled with the colour of entry 255 and ruled in black, both as
        // colours: on an 8-bit sheet each becomes the first palette entry of that colour,
        // so a palette that repeats entry 255's colour earlier fills with that entry.
        const PaletteEntry& key = palette[kTransparentIndex];
        const int background = nearestPaletteIndex(palette, 256, key.red, key.green, key.blue);
        sheet = Bitmap::create(sheetWidth, sheetHeight, bitsPerPixel, static_cast<uint8_t>(background));
        black = static_cast<uint32_t>(nearestPaletteIndex(palette, 256, 0, 0, 0));
    } else {
        sheet = Bitmap::create(sheetWidth, sheetHeight, bitsPerPixel);
        fillBitmap(sheet, palette[kTransparentIndex].rgb());
        black = 0;
    }
    sheet.palette = palette;
    drawSheetGrid(sheet, frameWidth, frameHeight, directions, framesPerDirection, black);
    out = std::move(sheet);
    return Status::success();
}

}  // namespace qv
