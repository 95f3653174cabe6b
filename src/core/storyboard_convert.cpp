// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storyboard_convert.h"

#include <algorithm>
#include <cstring>

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

// What both commands make: the description's fields and where and how the files go.
struct StoryboardPlan {
    StoryboardGeometry g;
    std::string targetPath;
    int imageFormat = 0;
    int colorDepth = 0;
    int paletteFileType = 0;
    bool makePaletteFile = true;
    bool writeDefaultPalette = true;
};

// Refuses counts that the description's one-byte fields cannot keep, and grids whose
// sheet would be wider or higher than a picture can be.
Status checkGrid(int frameWidth, int frameHeight, int framesPerDirection, int directions)
{
    if (framesPerDirection > kMaxStoryboardCount)
        return Status::failure(formatMessage(str::IDS_STORYBOARD_TOO_MANY_FRAMES, {framesPerDirection}));
    if (directions > kMaxStoryboardCount)
        return Status::failure(formatMessage(str::IDS_STORYBOARD_TOO_MANY_DIRECTIONS, {directions}));
    if (frameWidth > 0 && int64_t(sheetWidthFor(frameWidth, framesPerDirection)) > kMaxImageSide)
        return Status::failure(formatMessage(str::IDS_STORYBOARD_SHEET_TOO_WIDE,
                                             {frameWidth, maxSheetCells(frameWidth), framesPerDirection}));
    if (frameHeight > 0 && int64_t(sheetHeightFor(frameHeight, directions)) > kMaxImageSide)
        return Status::failure(
            formatMessage(str::IDS_STORYBOARD_SHEET_TOO_HIGH, {frameHeight, maxSheetCells(frameHeight), directions}));
    return Status::success();
}

// The plan of either wizard's settings for a storyboard of geometry `g`.
template <class Settings>
StoryboardPlan planOf(const Settings& s, const StoryboardGeometry& g)
{
    StoryboardPlan plan;
    plan.g = g;
    plan.targetPath = s.targetPath;
    plan.imageFormat = s.imageFormat;
    plan.colorDepth = s.colorDepth;
    plan.paletteFileType = s.paletteFileType;
    plan.makePaletteFile = s.makePaletteFile;
    plan.writeDefaultPalette = s.writeDefaultPalette;
    return plan;
}

// The plan of either wizard's settings for a cell of w x h, F columns and D rows. A grid
// the sheet cannot hold, or a name the description cannot hold, is refused before
// anything is written.
template <class Settings>
Status planStoryboard(const Settings& s, int w, int h, int F, int D, int left, int top, bool leaderHead,
                      StoryboardPlan& plan)
{
    if (Status st = checkGrid(w, h, F, D); !st) return st;
    plan = planOf(s, StoryboardGeometry::grid(w, h, F, D, s.frameDelay, left, top, sheetFormatCode(s.imageFormat),
                                              s.paletteFileType, leaderHead));
    StoryboardInfo probe;
    return makeStoryboardInfo(plan.targetPath, plan.g, probe);
}

// Lays the colours 0..63 of civilization `civ` over `palette`; `scheme`, when given, gets
// the civilization's whole palette (`base` for 0). A failed lookup changes nothing.
Status layCivColours(int civ, const CivPaletteSources& sources, const Palette256& base, Palette256& palette,
                     Palette256* scheme = nullptr)
{
    Palette256 civColours;
    if (Status st = paletteFromRes(civ, sources, base, civColours); !st) return st;
    palette = applyCivScheme(palette, civColours);
    if (scheme) *scheme = civColours;
    return Status::success();
}

// The blank 8-bit sheet of the plan in `made`, with the plan's geometry and both palettes
// (with `testPath`, the target's writability is tested first); a failure is "Cannot create
// Storyboard.", after the reason when there is one.
Status startPlannedSheet(const StoryboardPlan& plan, const Palette256& mainPalette, const Palette256& sheetPalette,
                         StoryboardSheet& made, std::vector<std::string>* notices, const std::string& testPath)
{
    const StoryboardGeometry& g = plan.g;
    const Status st = CreateStoryboard(g.sheetWidth, g.sheetHeight, g.frameWidth, g.frameHeight, g.directions,
                                       g.framesPerDirection, 8, sheetPalette, made.sheet, testPath);
    if (!st) {
        addNotice(notices, st.message);
        return Status::failure(str::IDS_STORYBOARD_CANNOT_CREATE);
    }
    made.geometry = g;
    made.mainPalette = mainPalette;
    made.sheetPalette = sheetPalette;
    return st;
}

// The steps both commands end with, as one unit: the sheet, the palette file (or the
// removal of a stale one), the quantisation palette and the description.
Status writePlannedStoryboard(const StoryboardPlan& plan, const Bitmap& sheet, const Palette256& mainPalette,
                              const Palette256& sheetPalette)
{
    StoryboardFileSet files;
    if (Status st = files.addSheet(plan.targetPath, sheet, sheetFormatCode(plan.imageFormat), plan.colorDepth ? 24 : 8);
        !st)
        return st;
    if (plan.makePaletteFile) {
        if (Status st = files.addPalette(plan.targetPath, mainPalette, plan.paletteFileType); !st) return st;
    } else {
        files.remove(exportedPalettePath(plan.targetPath, plan.paletteFileType));
    }
    if (plan.writeDefaultPalette) {
        if (Status st = files.addPalette(plan.targetPath, sheetPalette, plan.paletteFileType, "_Default"); !st)
            return st;
    }
    StoryboardInfo info;
    if (Status st = makeStoryboardInfo(plan.targetPath, plan.g, info); !st) return st;
    files.describe(plan.targetPath, info);
    return files.commit();
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
    StoryboardPlan plan;
    if (Status st = planStoryboard(settings, cw, ch, F, D, left, top, source.leaderHead, plan); !st) return st;

    // Palettes: the sheet keeps the colours the view works with; the palette file gets the
    // chosen civilization's colours over entries 0..63.
    Palette256 sheetPalette;
    if (settings.civPalette == source.shownCivilization) sheetPalette = source.workingPalette;
    else if (settings.civPalette == 0) sheetPalette = source.basePalette;
    else sheetPalette = source.workingPalette;
    Palette256 mainPalette = sheetPalette;
    if (settings.civPalette != source.shownCivilization && settings.civPalette != 0) {
        if (Status st = layCivColours(settings.civPalette, sources, source.basePalette, mainPalette); !st) return st;
    }
    if (!source.leaderHead) applySmokeColours(settings.smokeType, settings.smokePalettePath, sheetPalette, notices);

    StoryboardSheet made;
    if (Status st = startPlannedSheet(plan, mainPalette, sheetPalette, made, notices, testPath); !st) return st;
    Bitmap& sheet = made.sheet;

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
        if (!processing && frame.size() >= frameBytes) {
            // The common case: the frame's rows go straight into its cell, clipped to the
            // sheet as a copy through `work` would be.
            const int cols = std::min(W0, sheet.width - x), rows = std::min(H0, sheet.height - y);
            for (int r = 0; cols > 0 && r < rows; ++r)
                std::memcpy(sheet.row(y + r) + x, frame.data() + size_t(r) * size_t(W0), size_t(cols));
        } else {
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
        }
        x += cw + 1;
        ++j;
    }
    out = std::move(made);
    return Status::success();
}

Status FlcToStoryboard(const ExportSource& source, const ExportStoryboardSettings& settings,
                       const CivPaletteSources& sources, std::vector<std::string>* notices)
{
    StoryboardSheet made;
    if (Status st = buildExportSheet(source, settings, sources, made, notices, settings.targetPath); !st) return st;
    return writePlannedStoryboard(planOf(settings, made.geometry), made.sheet, made.mainPalette, made.sheetPalette);
}

Status buildNewSheet(const NewStoryboardSettings& settings, const CivPaletteSources& sources, StoryboardSheet& out,
                     std::vector<std::string>* notices, const std::string& testPath)
{
    const int w = settings.frameWidth, h = settings.frameHeight;
    const int F = settings.framesPerDirection, D = settings.directionCount;
    StoryboardPlan plan;
    if (Status st =
            planStoryboard(settings, w, h, F, D, settings.leftOffset, settings.topOffset, settings.leaderHead, plan);
        !st)
        return st;

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
        const Status st = layCivColours(settings.civPalette, sources, sheetPalette, sheetPalette, &civ);
        if (!st) {
            addNotice(notices, st.message);
            return Status::failure(str::IDS_STORYBOARD_CANNOT_APPLY_PALETTE);
        }
        mainPalette = settings.usePaletteFile ? sheetPalette : civ;
    }
    applySmokeColours(settings.smokeType, settings.smokePalettePath, sheetPalette, notices);
    if (mainIsSheet) mainPalette = sheetPalette;

    StoryboardSheet made;
    if (Status st = startPlannedSheet(plan, mainPalette, sheetPalette, made, notices, testPath); !st) return st;
    out = std::move(made);
    return Status::success();
}

Status NewStoryboard(const NewStoryboardSettings& settings, const CivPaletteSources& sources,
                     std::vector<std::string>* notices)
{
    StoryboardSheet made;
    if (Status st = buildNewSheet(settings, sources, made, notices, settings.targetPath); !st) return st;
    return writePlannedStoryboard(planOf(settings, made.geometry), made.sheet, made.mainPalette, made.sheetPalette);
}

}  // namespace qv
