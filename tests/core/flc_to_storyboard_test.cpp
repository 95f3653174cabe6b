// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/file_io.h"
#include "core/flc_encoder.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/storyboard_convert.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

// Picture n of direction d (1-based): every index 0..255 turns up, the light and shadow
// indices 224..254 and the transparent 255 among them.
test::Picture frameIndices(int width, int height, int d, int n)
{
    test::Picture p(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p[size_t(y) * width + x] = uint8_t((x * 7 + y * 13 + d * 31 + n * 5) & 0xFF);
    return p;
}

Palette256 schemePalette(int civ)
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry::fromRgb(uint8_t(civ * 5), uint8_t(i), uint8_t(200 - civ));
    return p;
}

class StoryboardExport : public qv::test::ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        fs::create_directories(dir_ / "schemes");
        // Two civilization schemes in a folder of the user's choice.
        for (int civ : {3, 12}) {
            Bitmap scheme = Bitmap::create(1, 1, 8);
            scheme.palette = schemePalette(civ);
            ASSERT_TRUE(writeImageFile((dir_ / "schemes" / civPaletteFileName(civ - 1)).string(), scheme, kFormatPcx, 8));
        }
        sources_.palType = static_cast<int>(CivPaletteSource::Folder);
        sources_.paletteFolder = (dir_ / "schemes").string();
    }
    // Loads an animation of the given shape as the FLC view does.
    void load(int w, int h, int directions, int frames, bool leaderHead = false)
    {
        test::AnimationSpec anim;
        anim.width = w;
        anim.height = h;
        anim.directions = directions;
        anim.framesPerDirection = frames;
        anim.speed = 90;
        anim.leaderHead = leaderHead;
        anim.picture = [w, h](int d, int n) { return frameIndices(w, h, d, n); };
        Bytes file = test::buildAnimation(anim);
        if (!leaderHead) {
            putLE16(file.data() + 100, 33);  // left offset
            putLE16(file.data() + 102, 44);  // top offset
        }
        ASSERT_TRUE(loadFlcAnimation(path("Unit.flc"), file.data(), file.size(), loaded_));
        source_ = exportSourceFrom(loaded_);
        settings_ = exportWizardDefaults(path("Unit.flc"), source_);
    }

    Status run() { return FlcToStoryboard(source_, settings_, sources_, &notices_); }

    Bitmap sheet(const std::string& name = "Unit.pcx")
    {
        Bitmap b;
        EXPECT_TRUE(readImageFile(path(name), b));
        return b;
    }
    StoryboardInfo info(const std::string& name = "Unit.qsb")
    {
        StoryboardInfo i;
        EXPECT_TRUE(ReadQSB(path(name), i));
        return i;
    }
    Palette256 paletteFile(const std::string& name)
    {
        Palette256 p;
        EXPECT_TRUE(ImportPaletteFromFile(path(name), p)) << name;
        return p;
    }
    const FramePixels& frame(int k) const { return loaded_.store.frames[size_t(k)]; }

    CivPaletteSources sources_;
    FlcLoadResult loaded_;
    ExportSource source_;
    ExportStoryboardSettings settings_;
    std::vector<std::string> notices_;
};

// The cell (row, column) of an 8-bit sheet.
std::vector<uint8_t> cell(const Bitmap& sheet, int w, int h, int row, int column)
{
    std::vector<uint8_t> out(size_t(w) * size_t(h));
    copyCellOut(sheet, w, h, row, column, out.data());
    return out;
}

}  // namespace

TEST_F(StoryboardExport, UnchangedGeometryCopiesEveryFrameIndexForIndexAndRoundTrips)
{
    load(96, 72, 8, 10);
    EXPECT_EQ(settings_.targetPath, path("Unit.pcx"));
    ASSERT_TRUE(run());
    const Bitmap s = sheet();
    ASSERT_EQ(s.bitsPerPixel, 8);
    EXPECT_EQ(s.width, 971);
    EXPECT_EQ(s.height, 585);
    for (int k = 0; k < 80; ++k) EXPECT_EQ(cell(s, 96, 72, k / 10, k % 10), frame(k)) << k;
    // The grid is black, the sheet keeps the animation's colours.
    const int black = nearestPaletteIndex(loaded_.store.basePalette, 256, 0, 0, 0);
    EXPECT_EQ(s.pixels[0], black);
    EXPECT_EQ(s.row(73)[500], black);
    EXPECT_EQ(s.row(300)[97 * 4], black);
    EXPECT_EQ(s.palette, loaded_.store.basePalette);

    const StoryboardInfo i = info();
    EXPECT_EQ(i.name(), "Unit");
    EXPECT_EQ(i.sheetWidth, 971);
    EXPECT_EQ(i.sheetHeight, 585);
    EXPECT_EQ(i.frameWidth, 96);
    EXPECT_EQ(i.frameHeight, 72);
    EXPECT_EQ(i.framesPerDirection, 10);
    EXPECT_EQ(i.directionCount, 8);
    EXPECT_EQ(i.speed, 90);
    EXPECT_EQ(i.leftOffset, 33);
    EXPECT_EQ(i.topOffset, 44);
    EXPECT_EQ(i.imageType, kFormatPcx);
    EXPECT_EQ(i.paletteType, kPaletteAct);
    EXPECT_EQ(i.leaderHead, 0);
    EXPECT_EQ(paletteFile("Unit.act"), loaded_.store.basePalette);
    EXPECT_EQ(paletteFile("Unit_Default.act"), loaded_.store.basePalette);

    // Read back as the storyboard view does and encoded again: the same pictures and colours.
    StoryboardFrames back;
    ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), back));
    FlcEncodeParams p;
    p.width = 96;
    p.height = 72;
    p.framesPerDirection = 10;
    p.directions = 8;
    p.speed = p.delay = back.info.speed;
    p.leftOffset = back.info.leftOffset;
    p.topOffset = back.info.topOffset;
    Bytes flc;
    ASSERT_TRUE(encodeFlc(p, toByteVectors(back.frames), back.palette, flc));
    FlcLoadResult again;
    ASSERT_TRUE(loadFlcAnimation("again.flc", flc.data(), flc.size(), again));
    EXPECT_EQ(again.store.frames, loaded_.store.frames);
    EXPECT_EQ(again.store.basePalette, loaded_.store.basePalette);
}

TEST_F(StoryboardExport, LargerCellCentresAndSmallerCellCropsThePicture)
{
    load(96, 72, 2, 3);
    settings_.frameWidth = 100;
    settings_.frameHeight = 75;
    ASSERT_TRUE(run());
    Bitmap s = sheet();
    EXPECT_EQ(s.width, 3 * 101 + 1);
    EXPECT_EQ(s.height, 2 * 76 + 1);
    // 2 pixels right and 1 pixel down of the cell's corner; the rest is background.
    const int cx = cellLeft(100, 1), cy = cellTop(75, 1);
    EXPECT_EQ(s.row(cy)[cx], kTransparentIndex);
    EXPECT_EQ(s.row(cy + 1)[cx + 1], kTransparentIndex);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 96; ++x) ASSERT_EQ(s.row(cy + 1 + y)[cx + 2 + x], frame(4)[size_t(y) * 96 + x]);
    EXPECT_EQ(s.row(cy + 73)[cx + 50], kTransparentIndex);
    EXPECT_EQ(s.row(cy + 10)[cx + 98], kTransparentIndex);

    // A smaller cell takes the picture's top-left part, without touching the grid.
    settings_.frameWidth = 40;
    settings_.frameHeight = 30;
    ASSERT_TRUE(run());
    s = sheet();
    EXPECT_EQ(s.width, 3 * 41 + 1);
    std::vector<uint8_t> expected;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) expected.push_back(frame(5)[size_t(y) * 96 + x]);
    EXPECT_EQ(cell(s, 40, 30, 1, 2), expected);
    EXPECT_EQ(s.row(31)[20], s.pixels[0]);  // the line under the first row
}

TEST_F(StoryboardExport, ExtraColumnsStayEmptyAndMissingColumnsAreLost)
{
    load(8, 6, 3, 4);
    settings_.framesPerDirection = 6;
    ASSERT_TRUE(run());
    Bitmap s = sheet();
    EXPECT_EQ(s.width, 6 * 9 + 1);
    for (int d = 0; d < 3; ++d) {
        for (int j = 0; j < 4; ++j) EXPECT_EQ(cell(s, 8, 6, d, j), frame(d * 4 + j));
        for (int j = 4; j < 6; ++j) EXPECT_EQ(cell(s, 8, 6, d, j), std::vector<uint8_t>(48, kTransparentIndex));
    }
    EXPECT_EQ(info().framesPerDirection, 6);

    // Fewer columns than the animation has: each row still starts with its direction's
    // first frame, the frames past the edge are dropped.
    settings_.framesPerDirection = 2;
    ASSERT_TRUE(run());
    s = sheet();
    EXPECT_EQ(s.width, 2 * 9 + 1);
    for (int d = 0; d < 3; ++d)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(cell(s, 8, 6, d, j), frame(d * 4 + j));
    StoryboardFrames back;
    ASSERT_TRUE(loadStoryboard(path("Unit.qsb"), back));
    EXPECT_EQ(back.frames.size(), 6u);
}

TEST_F(StoryboardExport, TrimmingCropsTheCellAndMovesTheOffsets)
{
    load(10, 8, 2, 2);
    // A rectangle equal to the cell is no trimming at all.
    settings_.trimEnabled = true;
    ASSERT_TRUE(run());
    Bytes untrimmed;
    ASSERT_TRUE(readWholeFile(path("Unit.pcx"), untrimmed));
    settings_.trimEnabled = false;
    ASSERT_TRUE(run());
    Bytes plain;
    ASSERT_TRUE(readWholeFile(path("Unit.pcx"), plain));
    EXPECT_EQ(untrimmed, plain);
    EXPECT_EQ(info().leftOffset, 33);

    settings_.trimEnabled = true;
    settings_.trimLeft = 2;
    settings_.trimTop = 1;
    settings_.trimRight = 7;
    settings_.trimBottom = 5;
    ASSERT_TRUE(run());
    const StoryboardInfo i = info();
    EXPECT_EQ(i.frameWidth, 5);
    EXPECT_EQ(i.frameHeight, 4);
    EXPECT_EQ(i.leftOffset, 35);
    EXPECT_EQ(i.topOffset, 45);
    EXPECT_EQ(i.sheetWidth, 2 * 6 + 1);
    const Bitmap s = sheet();
    for (int k = 0; k < 4; ++k) {
        std::vector<uint8_t> expected;
        for (int y = 1; y < 5; ++y)
            for (int x = 2; x < 7; ++x) expected.push_back(frame(k)[size_t(y) * 10 + x]);
        EXPECT_EQ(cell(s, 5, 4, k / 2, k % 2), expected) << k;
    }

    // Scaled first, then cropped.
    settings_.resizeImage = true;
    settings_.frameWidth = 20;
    settings_.frameHeight = 16;
    settings_.trimLeft = 4;
    settings_.trimTop = 2;
    settings_.trimRight = 12;
    settings_.trimBottom = 10;
    ASSERT_TRUE(run());
    const Bitmap r = sheet();
    std::vector<uint8_t> expected;
    for (int y = 2; y < 10; ++y)
        for (int x = 4; x < 12; ++x) expected.push_back(frame(3)[size_t(y / 2) * 10 + x / 2]);
    EXPECT_EQ(cell(r, 8, 8, 1, 1), expected);
}

TEST_F(StoryboardExport, CivilizationGoesToThePaletteFileAndSmokeToTheSheet)
{
    load(6, 4, 8, 2);
    settings_.civPalette = 3;
    settings_.smokeType = kSpecialHardcoded;
    settings_.paletteFileType = kPaletteJasc;
    settings_.imageFormat = 1;
    settings_.targetPath = path("Unit.bmp");
    ASSERT_TRUE(run());
    const Palette256& base = loaded_.store.basePalette;
    Palette256 main = base;
    for (int i = 0; i < 64; ++i) main[i] = schemePalette(3)[i];
    Palette256 sheetColours = base;
    const SpecialColours smoke = builtinSpecialColours();
    for (int k = 0; k < 32; ++k) sheetColours[224 + k] = smoke[k];
    EXPECT_EQ(paletteFile("Unit.pal"), main);
    EXPECT_EQ(paletteFile("Unit_Default.pal"), sheetColours);
    const Bitmap s = sheet("Unit.bmp");
    EXPECT_EQ(s.palette, sheetColours);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(cell(s, 6, 4, k / 2, k % 2), frame(k));
    EXPECT_EQ(info().imageType, kFormatBmp);
    EXPECT_EQ(info().paletteType, kPaletteJasc);

    // A scheme that cannot be found ends the export with the lookup's reason.
    settings_.civPalette = 5;
    const Status st = run();
    EXPECT_FALSE(st);
    EXPECT_EQ(st.message, str::IDS_CIV_PAL_NO_FOLDER);

    // A smoke palette file that cannot be read is reported, and the colours are kept.
    settings_.civPalette = 0;
    settings_.smokeType = kSpecialSelective;
    settings_.smokePalettePath = path("missing.act");
    ASSERT_TRUE(run());
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0], formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {path("missing.act")}));
    EXPECT_EQ(paletteFile("Unit_Default.pal"), base);
}

TEST_F(StoryboardExport, LeaderHeadKeepsItsSmokeColoursAndIsMarked)
{
    load(20, 24, 1, 5, true);
    settings_.smokeType = kSpecialHardcoded;
    settings_.colorDepth = 1;
    ASSERT_TRUE(run());
    const StoryboardInfo i = info();
    EXPECT_EQ(i.leaderHead, 1);
    EXPECT_EQ(i.directionCount, 1);
    EXPECT_EQ(i.framesPerDirection, 5);
    EXPECT_EQ(i.leftOffset, 0);
    EXPECT_EQ(paletteFile("Unit_Default.act"), loaded_.store.basePalette);
    const Bitmap s = sheet();
    EXPECT_EQ(s.bitsPerPixel, 24);
    // The 24-bit sheet holds each index's colour.
    const PaletteEntry e = loaded_.store.basePalette[frame(2)[0]];
    EXPECT_EQ(getPixelColor(s, cellLeft(20, 2), 1), e.rgb());
}

TEST_F(StoryboardExport, PaletteFileChoicesAndRefusals)
{
    load(6, 4, 1, 2);
    ASSERT_TRUE(writeFileAtomic(path("Unit.act"), Bytes(768, 1)));
    settings_.makePaletteFile = false;
    settings_.writeDefaultPalette = false;
    ASSERT_TRUE(run());
    EXPECT_FALSE(fileExists(path("Unit.act")));  // a stale palette file goes
    EXPECT_FALSE(fileExists(path("Unit_Default.act")));
    EXPECT_TRUE(fileExists(path("Unit.qsb")));

    // Counts the description cannot hold, and names it cannot hold, write nothing.
    fs::remove_all(dir_ / "Unit.pcx");
    settings_.framesPerDirection = 256;
    Status st = run();
    EXPECT_EQ(st.message, formatMessage(str::IDS_STORYBOARD_TOO_MANY_FRAMES, {256}));
    settings_.framesPerDirection = 2;
    settings_.targetPath = path(std::string(64, 'n') + ".pcx");
    st = run();
    EXPECT_FALSE(st);
    EXPECT_EQ(st.message, formatMessage(str::IDS_QSB_NAME_TOO_LONG, {settings_.targetPath}));
    EXPECT_FALSE(fileExists(settings_.targetPath));
    EXPECT_FALSE(fileExists(path("Unit.pcx")));
}

TEST_F(StoryboardExport, ASheetThatCannotBeCreatedIsReportedAsSuch)
{
    // The sheet file is made first as a test; where it cannot be, both commands stop with
    // "Cannot create Storyboard." alone and leave nothing behind.
    load(6, 4, 1, 2);
    settings_.outputDirectory = path("missing") + "/";
    settings_.targetPath = storyboardTargetPath(settings_.outputDirectory, "Unit", 0);
    Status st = run();
    EXPECT_EQ(st.message, str::IDS_STORYBOARD_CANNOT_CREATE);
    EXPECT_TRUE(notices_.empty());

    NewStoryboardSettings s = newWizardDefaults(false);
    s.targetPath = path("missing/Empty.bmp");
    s.imageFormat = 1;
    st = NewStoryboard(s, sources_, &notices_);
    EXPECT_EQ(st.message, str::IDS_STORYBOARD_CANNOT_CREATE);
    EXPECT_TRUE(notices_.empty());
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(StoryboardExport, NewUnitStoryboardTakesTheCivilizationColours)
{
    NewStoryboardSettings s = newWizardDefaults(false);
    EXPECT_EQ(s.frameWidth, 50);
    EXPECT_EQ(s.directionCount, 8);
    s.targetPath = path("Empty.pcx");
    s.civPalette = 12;
    s.smokeType = kSpecialHardcoded;
    ASSERT_TRUE(NewStoryboard(s, sources_, &notices_));
    Palette256 expected;
    for (int i = 0; i < 64; ++i) expected[i] = schemePalette(12)[i];
    const SpecialColours smoke = builtinSpecialColours();
    for (int k = 0; k < 32; ++k) expected[224 + k] = smoke[k];
    EXPECT_EQ(paletteFile("Empty.act"), schemePalette(12));  // the scheme as the lookup returns it
    EXPECT_EQ(paletteFile("Empty_Default.act"), expected);
    const Bitmap sheetBmp = sheet("Empty.pcx");
    EXPECT_EQ(sheetBmp.width, 15 * 51 + 1);
    EXPECT_EQ(sheetBmp.height, 8 * 51 + 1);
    EXPECT_EQ(sheetBmp.row(5)[5], kTransparentIndex);
    const StoryboardInfo i = info("Empty.qsb");
    EXPECT_EQ(i.speed, 125);
    EXPECT_EQ(i.leftOffset, 95);
    EXPECT_EQ(i.topOffset, 80);

    // With a palette file the civilization colours go over it, in both palettes.
    Palette256 own = schemePalette(40);
    ASSERT_TRUE(ExportPaletteToFile(path("own.act"), own, kPaletteAct));
    s.usePaletteFile = true;
    s.paletteFilePath = path("own.act");
    s.smokeType = kSpecialCurrent;
    ASSERT_TRUE(NewStoryboard(s, sources_));
    for (int i = 0; i < 64; ++i) own[i] = schemePalette(12)[i];
    EXPECT_EQ(paletteFile("Empty.act"), own);
    EXPECT_EQ(paletteFile("Empty_Default.act"), own);

    // A failed lookup: its reason, then "Cannot apply palette changes.".
    s.civPalette = 7;
    notices_.clear();
    const Status st = NewStoryboard(s, sources_, &notices_);
    EXPECT_EQ(st.message, str::IDS_STORYBOARD_CANNOT_APPLY_PALETTE);
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0], str::IDS_CIV_PAL_NO_FOLDER);
    s.paletteFilePath = path("none.act");
    EXPECT_EQ(NewStoryboard(s, sources_).message,
              formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {path("none.act")}));
}

TEST_F(StoryboardExport, NewLeaderHeadIsBlackApartFromItsSmokeColours)
{
    NewStoryboardSettings s = newWizardDefaults(true);
    EXPECT_EQ(s.frameWidth, 200);
    EXPECT_EQ(s.frameHeight, 240);
    EXPECT_EQ(s.directionCount, 1);
    s.targetPath = path("Head.bmp");
    s.imageFormat = 1;
    s.civPalette = 9;  // a leader head takes no civilization colours: no lookup at all
    s.smokeType = kSpecialHardcoded;
    ASSERT_TRUE(NewStoryboard(s, sources_));
    Palette256 expected;
    const SpecialColours smoke = builtinSpecialColours();
    for (int k = 0; k < 32; ++k) expected[224 + k] = smoke[k];
    EXPECT_EQ(paletteFile("Head.act"), expected);
    EXPECT_EQ(paletteFile("Head_Default.act"), expected);
    const StoryboardInfo i = info("Head.qsb");
    EXPECT_EQ(i.leaderHead, 1);
    EXPECT_EQ(i.sheetWidth, 15 * 201 + 1);
    EXPECT_EQ(i.sheetHeight, 242);
    EXPECT_EQ(i.imageType, kFormatBmp);
}
