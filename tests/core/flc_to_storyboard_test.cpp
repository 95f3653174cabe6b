// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bitmap.h"
#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/storyboard_convert.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "support/storyboard_builder.h"
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
        test::AnimationShape anim;
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
    std::string summary(const std::string& name = "Unit.qsb") { return test::storyboardSummary(path(name)); }
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

// The w x h part of a picture `stride` pixels wide whose top-left pixel is (x, y).
std::vector<uint8_t> crop(const FramePixels& picture, int stride, int x, int y, int w, int h)
{
    std::vector<uint8_t> out;
    for (int row = y; row < y + h; ++row)
        out.insert(out.end(), picture.begin() + row * stride + x, picture.begin() + row * stride + x + w);
    return out;
}

// The cell (row, column) of an 8-bit sheet.
std::vector<uint8_t> cell(const Bitmap& sheet, int w, int h, int row, int column)
{
    std::vector<uint8_t> out(size_t(w) * size_t(h));
    copyCellOut(sheet, w, h, row, column, out.data());
    return out;
}

}  // namespace

TEST_F(StoryboardExport, CellSizeColumnsTrimmingAndScaling)
{
    load(10, 8, 3, 4);
    // A larger cell centres the picture, 2 pixels right and 1 down, on the transparent colour.
    settings_.frameWidth = 14;
    settings_.frameHeight = 11;
    ASSERT_TRUE(run());
    std::vector<uint8_t> expected(14 * 11, kTransparentIndex);
    for (int y = 0; y < 8; ++y) std::copy_n(frame(5).begin() + y * 10, 10, expected.begin() + (y + 1) * 14 + 2);
    EXPECT_EQ(cell(sheet(), 14, 11, 1, 1), expected);
    // A smaller cell takes the picture's top-left part.
    settings_.frameWidth = 4;
    settings_.frameHeight = 3;
    ASSERT_TRUE(run());
    EXPECT_EQ(cell(sheet(), 4, 3, 1, 2), crop(frame(6), 10, 0, 0, 4, 3));

    // Each row starts with its direction's first frame: extra columns stay empty, frames
    // past the edge are dropped.
    settings_.frameWidth = 10;
    settings_.frameHeight = 8;
    for (int columns : {6, 2}) {
        settings_.framesPerDirection = columns;
        ASSERT_TRUE(run());
        const Bitmap s = sheet();
        for (int d = 0; d < 3; ++d)
            for (int j = 0; j < columns; ++j)
                EXPECT_EQ(cell(s, 10, 8, d, j), j < 4 ? frame(d * 4 + j) : std::vector<uint8_t>(80, kTransparentIndex));
    }

    // Trimming crops the cell and moves the offsets.
    settings_.framesPerDirection = 4;
    settings_.trimEnabled = true;
    settings_.trimLeft = 2;
    settings_.trimTop = 1;
    settings_.trimRight = 7;
    settings_.trimBottom = 5;
    ASSERT_TRUE(run());
    EXPECT_EQ(summary(), "Unit: sheet 25x16, cells 5x4, 3 x 4, speed 90, offset 35,45, image 1, palette 0, leader 0");
    const Bitmap s = sheet();
    for (int k = 0; k < 12; ++k) EXPECT_EQ(cell(s, 5, 4, k / 4, k % 4), crop(frame(k), 10, 2, 1, 5, 4)) << k;

    // Scaled first, then cropped.
    settings_.resizeImage = true;
    settings_.frameWidth = 20;
    settings_.frameHeight = 16;
    settings_.trimLeft = 4;
    settings_.trimTop = 2;
    settings_.trimRight = 12;
    settings_.trimBottom = 10;
    ASSERT_TRUE(run());
    expected.clear();
    for (int y = 2; y < 10; ++y)
        for (int x = 4; x < 12; ++x) expected.push_back(frame(5)[size_t(y / 2) * 10 + x / 2]);
    EXPECT_EQ(cell(sheet(), 8, 8, 1, 1), expected);
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
    // The civilization's colours stay out of the sheet and the quantisation palette.
    const Palette256& base = loaded_.store.basePalette;
    Palette256 sheetColours = base;
    for (int k = 0; k < 32; ++k) sheetColours[224 + k] = builtinSpecialColours()[k];
    EXPECT_EQ(paletteFile("Unit_Default.pal"), sheetColours);
    EXPECT_EQ(sheet("Unit.bmp").palette, sheetColours);

    // A smoke palette file that cannot be read is reported, and the colours are kept.
    settings_.civPalette = 0;
    settings_.smokeType = kSpecialSelective;
    settings_.smokePalettePath = path("missing.act");
    ASSERT_TRUE(run());
    EXPECT_EQ(notices_, std::vector<std::string>{formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {path("missing.act")})});
    EXPECT_EQ(paletteFile("Unit_Default.pal"), base);
}

TEST_F(StoryboardExport, LeaderHeadKeepsItsSmokeColoursAndIsMarked)
{
    load(20, 24, 1, 5, true);
    settings_.smokeType = kSpecialHardcoded;
    ASSERT_TRUE(run());
    EXPECT_EQ(summary(), "Unit: sheet 106x26, cells 20x24, 1 x 5, speed 90, offset 0,0, image 1, palette 0, leader 1");
    EXPECT_EQ(paletteFile("Unit_Default.act"), loaded_.store.basePalette);
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

    // Counts the description cannot hold write nothing.
    fs::remove_all(dir_ / "Unit.pcx");
    settings_.framesPerDirection = 256;
    EXPECT_EQ(run().message, formatMessage(str::IDS_STORYBOARD_TOO_MANY_FRAMES, {256}));
    EXPECT_FALSE(fileExists(path("Unit.pcx")));

    // The sheet file is made first as a test; where it cannot be, the export stops with
    // "Cannot create Storyboard." alone and leaves nothing behind.
    settings_.framesPerDirection = 2;
    settings_.outputDirectory = path("missing") + "/";
    settings_.targetPath = storyboardTargetPath(settings_.outputDirectory, "Unit", 0);
    EXPECT_EQ(run().message, str::IDS_STORYBOARD_CANNOT_CREATE);
    EXPECT_TRUE(notices_.empty());
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(StoryboardExport, NewStoryboardsTakeTheirColoursFromCivilizationSmokeAndPaletteFile)
{
    NewStoryboardSettings s = newWizardDefaults(false);
    s.targetPath = path("Empty.pcx");
    s.civPalette = 12;
    s.smokeType = kSpecialHardcoded;
    ASSERT_TRUE(NewStoryboard(s, sources_, &notices_));
    Palette256 smoke;
    for (int k = 0; k < 32; ++k) smoke[224 + k] = builtinSpecialColours()[k];
    Palette256 expected = smoke;
    for (int i = 0; i < 64; ++i) expected[i] = schemePalette(12)[i];
    EXPECT_EQ(paletteFile("Empty_Default.act"), expected);

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

    // A leader head is black apart from its smoke colours and takes no civilization colours:
    // no lookup at all.
    s = newWizardDefaults(true);
    s.targetPath = path("Head.bmp");
    s.imageFormat = 1;
    s.civPalette = 9;
    s.smokeType = kSpecialHardcoded;
    ASSERT_TRUE(NewStoryboard(s, sources_));
    EXPECT_EQ(paletteFile("Head.act"), smoke);
    EXPECT_EQ(paletteFile("Head_Default.act"), smoke);
}
