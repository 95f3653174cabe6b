// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storyboard_convert.h"

#include <algorithm>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/strings.h"

namespace qv {

namespace {

int sheetFormatCode(int imageFormat) { return imageFormat == 0 ? kFormatPcx : kFormatBmp; }

void addNotice(std::vector<std::string>* notices, const std::string& text)
{
    if (notices && !text.empty()) notices->push_back(text);
}

// Lays the smoke and shadow colours of `smokeType` over entries 224..255 of `palette`.
// Type 0 keeps what is there; a smoke palette file that cannot be read is reported and
// changes nothing.
void applySmokeColours(int smokeType, const std::string& smokePath, Palette256& palette,
                       std::vector<std::string>* notices)
{
    SpecialColours colours;
    for (int k = 0; k < kSpecialCount; ++k) colours[k] = palette[kSpecialFirst + k];
    const Status st = LoadSpecialColours(smokeType, smokePath, colours);
    if (!st) {
        addNotice(notices, st.message);
        return;
    }
    for (int k = 0; k < kSpecialCount; ++k) palette[kSpecialFirst + k] = colours[k];
}

// The steps both commands end with: the sheet, the palette file (or the removal of a
// stale one), the quantisation palette and the description.
struct StoryboardOutput {
    std::string targetPath;
    int imageFormat = 0;
    int colorDepth = 0;
    int paletteFileType = 0;
    bool makePaletteFile = true;
    bool writeDefaultPalette = true;
};

template <typename Settings>
StoryboardOutput outputOf(const Settings& s)
{
    return {s.targetPath, s.imageFormat, s.colorDepth, s.paletteFileType, s.makePaletteFile, s.writeDefaultPalette};
}

Status writeStoryboardFiles(const StoryboardOutput& o, const StoryboardSheet& made)
{
    const Status saved =
        writeImageFile(o.targetPath, made.sheet, sheetFormatCode(o.imageFormat), o.colorDepth ? 24 : 8);
    if (!saved) return saved;
    if (o.makePaletteFile) {
        if (!ExportPaletteToFile(o.targetPath, made.mainPalette, o.paletteFileType))
            return Status::failure(str::IDS_QSB_CANNOT_WRITE_PALETTE);
    } else {
        DeletePaletteFile(o.targetPath, o.paletteFileType);
    }
    if (o.writeDefaultPalette &&
        !ExportPaletteToFile(o.targetPath, made.sheetPalette, o.paletteFileType, "_Default"))
        return Status::failure(str::IDS_QSB_CANNOT_WRITE_PALETTE);
    return writeStoryboardDescription(o.targetPath, made.geometry);
}

// Refuses counts that the description's one-byte fields cannot keep.
Status checkCounts(int framesPerDirection, int directions)
{
    if (framesPerDirection > kMaxStoryboardCount)
        return Status::failure(formatMessage(str::IDS_STORYBOARD_TOO_MANY_FRAMES, {framesPerDirection}));
    if (directions > kMaxStoryboardCount)
        return Status::failure(formatMessage(str::IDS_STORYBOARD_TOO_MANY_DIRECTIONS, {directions}));
    return Status::success();
}

}  // namespace

ExportSource exportSourceFrom(const FlcLoadResult& loaded)
{
    const FlcHeader& h = loaded.store.header;
    ExportSource s;
    s.width = h.width;
    s.height = h.height;
    s.directions = h.directions;
    s.framesPerDirection = h.framesPerDirection;
    s.leftOffset = h.leftOffset;
    s.topOffset = h.topOffset;
    s.delay = h.speed;
    s.leaderHead = loaded.leaderHead;
    s.frames = &loaded.store.frames;
    s.basePalette = loaded.store.basePalette;
    s.workingPalette = loaded.store.basePalette;
    s.shownCivilization = 0;
    return s;
}

Status showCivilization(ExportSource& source, int civ, const CivPaletteSources& sources)
{
    Palette256 display;
    if (Status st = civDisplayPalette(civ, sources, source.basePalette, display); !st) return st;
    source.workingPalette = display;
    source.shownCivilization = civ;
    return Status::success();
}

std::string storyboardTargetPath(const std::string& outputDirectory, const std::string& baseFileName,
                                 int imageFormat)
{
    return outputDirectory + baseFileName + sheetExtension(sheetFormatCode(imageFormat));
}

ExportStoryboardSettings exportWizardDefaults(const std::string& flcPath, const ExportSource& source)
{
    ExportStoryboardSettings s;
    s.outputDirectory = folderOf(flcPath);
    s.baseFileName = baseNameOf(flcPath);
    s.frameWidth = source.width;
    s.frameHeight = source.height;
    s.framesPerDirection = source.framesPerDirection;
    s.leftOffset = source.leftOffset;
    s.topOffset = source.topOffset;
    s.civPalette = source.shownCivilization;
    s.frameDelay = static_cast<int>(source.delay);
    s.trimRight = source.width;
    s.trimBottom = source.height;
    s.targetPath = storyboardTargetPath(s.outputDirectory, s.baseFileName, s.imageFormat);
    return s;
}

NewStoryboardSettings newWizardDefaults(bool leaderHead)
{
    NewStoryboardSettings s;
    s.leaderHead = leaderHead;
    if (leaderHead) {
        s.frameWidth = 200;
        s.frameHeight = 240;
        s.leftOffset = 0;
        s.topOffset = 0;
        s.directionCount = 1;
    }
    s.targetPath = storyboardTargetPath(s.outputDirectory, s.baseFileName, s.imageFormat);
    return s;
}

Status buildExportSheet(const ExportSource& source, const ExportStoryboardSettings& settings,
                        const CivPaletteSources& sources, StoryboardSheet& out, std::vector<std::string>* notices,
                        const std::string& testPath, const std::atomic<bool>* cancel)
{
    if (!source.frames || source.frames->empty()) return Status::failure();
    const int W0 = source.width, H0 = source.height;
    const int D = source.directions;
    const int F0 = std::max(1, source.framesPerDirection);
    const int w = settings.frameWidth, h = settings.frameHeight;
    const int F = settings.framesPerDirection;
    if (Status st = checkCounts(F, D); !st) return st;

    // Geometry: the cell, after trimming, and where an unscaled picture sits in it.
    int left = settings.leftOffset, top = settings.topOffset;
    const bool trimming = settings.trimEnabled && !(settings.trimLeft == 0 && settings.trimRight == w &&
                                                    settings.trimTop == 0 && settings.trimBottom == h);
    int cw = w, ch = h;
    if (trimming) {
        cw = settings.trimRight - settings.trimLeft;
        ch = settings.trimBottom - settings.trimTop;
        left += settings.trimLeft;
        top += settings.trimTop;
    }
    const bool processing = trimming || w != W0 || h != H0;
    int dx = 0, dy = 0;
    if (processing && !settings.resizeImage) {
        dx = cw > W0 ? (cw - W0) / 2 : 0;
        dy = ch > H0 ? (ch - H0) / 2 : 0;
    }
    StoryboardGeometry g;
    g.sheetWidth = sheetWidthFor(cw, F);
    g.sheetHeight = sheetHeightFor(ch, D);
    g.frameWidth = cw;
    g.frameHeight = ch;
    g.framesPerDirection = F;
    g.directions = D;
    g.speed = settings.frameDelay;
    g.leftOffset = left;
    g.topOffset = top;
    g.imageType = sheetFormatCode(settings.imageFormat);
    g.paletteType = settings.paletteFileType;
    g.leaderHead = source.leaderHead ? 1 : 0;
    // A name the description cannot hold is refused before anything is written.
    StoryboardInfo probe;
    if (Status st = makeStoryboardInfo(settings.targetPath, g, probe); !st) return st;

    // Palettes: the sheet keeps the colours the view works with; the palette file gets the
    // chosen civilization's colours over entries 0..63.
    Palette256 sheetPalette;
    if (settings.civPalette == source.shownCivilization) sheetPalette = source.workingPalette;
    else if (settings.civPalette == 0) sheetPalette = source.basePalette;
    else sheetPalette = source.workingPalette;
    Palette256 mainPalette = sheetPalette;
    if (settings.civPalette != source.shownCivilization && settings.civPalette != 0) {
        Palette256 scheme;
        const Status st = paletteFromRes(settings.civPalette, sources, source.basePalette, scheme);
        if (!st) return st;
        for (int i = kCivFirst; i <= kCivLast; ++i) mainPalette[i] = scheme[i];
    }
    if (!source.leaderHead) applySmokeColours(settings.smokeType, settings.smokePalettePath, sheetPalette, notices);

    Bitmap sheet;
    if (Status st = CreateStoryboard(g.sheetWidth, g.sheetHeight, cw, ch, D, F, 8, sheetPalette, sheet, testPath);
        !st) {
        addNotice(notices, st.message);
        return Status::failure(str::IDS_STORYBOARD_CANNOT_CREATE);
    }

    // Each frame's stored indices go into its cell, so the light and shadow indices
    // 224..254 and every other index come out exactly as the animation holds them.
    Bitmap work = Bitmap::create(W0, H0, 8);
    work.palette = sheetPalette;
    const size_t frameBytes = static_cast<size_t>(W0) * static_cast<size_t>(H0);
    int x = 1, y = 1, j = 0;
    for (const FramePixels& frame : *source.frames) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return Status::failure();
        if (j == F0) {
            y += ch + 1;
            x = 1;
            j = 0;
        }
        std::fill(work.pixels.begin(), work.pixels.end(), uint8_t(0));
        std::copy_n(frame.begin(), std::min(frame.size(), frameBytes), work.pixels.begin());
        if (processing && settings.resizeImage) {
            Bitmap scaled = work;
            if (!resizeBitmap(scaled, w, h, ResizeMode::Nearest))
                return Status::failure(str::IDS_STORYBOARD_CANNOT_CREATE);
            if (trimming && !trimBitmap(scaled, Rect{settings.trimLeft, settings.trimTop, cw, ch}))
                return Status::failure(str::IDS_STORYBOARD_CANNOT_CREATE);
            combineRect(scaled, Rect{0, 0, scaled.width, scaled.height}, sheet, x, y, CombineMode::Copy);
        } else if (processing) {
            const Rect area{trimming ? settings.trimLeft : 0, trimming ? settings.trimTop : 0, cw, ch};
            copyRect(work, area, sheet, x + dx, y + dy);
        } else {
            copyRect(work, Rect{0, 0, W0, H0}, sheet, x, y);
        }
        x += cw + 1;
        ++j;
    }
    out.sheet = std::move(sheet);
    out.geometry = g;
    out.mainPalette = mainPalette;
    out.sheetPalette = sheetPalette;
    return Status::success();
}

Status FlcToStoryboard(const ExportSource& source, const ExportStoryboardSettings& settings,
                       const CivPaletteSources& sources, std::vector<std::string>* notices)
{
    StoryboardSheet sheet;
    if (Status st = buildExportSheet(source, settings, sources, sheet, notices, settings.targetPath); !st) return st;
    return writeStoryboardFiles(outputOf(settings), sheet);
}

Status buildNewSheet(const NewStoryboardSettings& settings, const CivPaletteSources& sources, StoryboardSheet& out,
                     std::vector<std::string>* notices, const std::string& testPath)
{
    const int w = settings.frameWidth, h = settings.frameHeight;
    const int F = settings.framesPerDirection, D = settings.directionCount;
    if (Status st = checkCounts(F, D); !st) return st;
    StoryboardGeometry g;
    g.sheetWidth = sheetWidthFor(w, F);
    g.sheetHeight = sheetHeightFor(h, D);
    g.frameWidth = w;
    g.frameHeight = h;
    g.framesPerDirection = F;
    g.directions = D;
    g.speed = settings.frameDelay;
    g.leftOffset = settings.leftOffset;
    g.topOffset = settings.topOffset;
    g.imageType = sheetFormatCode(settings.imageFormat);
    g.paletteType = settings.paletteFileType;
    g.leaderHead = settings.leaderHead ? 1 : 0;
    StoryboardInfo probe;
    if (Status st = makeStoryboardInfo(settings.targetPath, g, probe); !st) return st;

    // Palettes: all black unless a palette file gives the colours; a unit then takes the
    // civilization's colours 0..63. A leader head without a palette file writes the sheet's
    // own colours as its palette file.
    Palette256 sheetPalette;
    if (settings.usePaletteFile && !ImportPaletteFromFile(settings.paletteFilePath, sheetPalette))
        return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {settings.paletteFilePath}));
    Palette256 mainPalette = sheetPalette;
    const bool mainIsSheet = settings.leaderHead && !settings.usePaletteFile;
    if (!settings.leaderHead) {
        Palette256 civ;
        const Status st = paletteFromRes(settings.civPalette, sources, sheetPalette, civ);
        if (!st) {
            addNotice(notices, st.message);
            return Status::failure(str::IDS_STORYBOARD_CANNOT_APPLY_PALETTE);
        }
        for (int i = kCivFirst; i <= kCivLast; ++i) sheetPalette[i] = civ[i];
        mainPalette = settings.usePaletteFile ? sheetPalette : civ;
    }
    applySmokeColours(settings.smokeType, settings.smokePalettePath, sheetPalette, notices);
    if (mainIsSheet) mainPalette = sheetPalette;

    Bitmap sheet;
    if (Status st = CreateStoryboard(g.sheetWidth, g.sheetHeight, w, h, D, F, 8, sheetPalette, sheet, testPath);
        !st) {
        addNotice(notices, st.message);
        return Status::failure(str::IDS_STORYBOARD_CANNOT_CREATE);
    }
    out.sheet = std::move(sheet);
    out.geometry = g;
    out.mainPalette = mainPalette;
    out.sheetPalette = sheetPalette;
    return Status::success();
}

Status NewStoryboard(const NewStoryboardSettings& settings, const CivPaletteSources& sources,
                     std::vector<std::string>* notices)
{
    StoryboardSheet sheet;
    if (Status st = buildNewSheet(settings, sources, sheet, notices, settings.targetPath); !st) return st;
    return writeStoryboardFiles(outputOf(settings), sheet);
}

}  // namespace qv
