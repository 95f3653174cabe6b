// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bitmap.h"
#include "core/bitmap_ops.h"
#include "core/file_io.h"
#include "core/import_storyboard.h"
#include "core/palette_files.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "support/storyboard_builder.h"
#include "support/temp_dir.h"
#include "support/unit_builder.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

// 256 distinct colours, so a picture's indices survive the trip through true colour.
Palette256 distinctPalette()
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(255 - i), uint8_t((i * 37) & 0xFF));
    return p;
}

// An 8-bit picture of the given size whose grid lines (for w x h cells) are index 7 and
// whose other pixels vary with their position.
Bitmap gridPicture(int width, int height, int w, int h)
{
    Bitmap b = Bitmap::create(width, height, 8);
    b.palette = distinctPalette();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool line = x % (w + 1) == 0 || y % (h + 1) == 0;
            b.row(y)[x] = line ? 7 : uint8_t(10 + (x * 3 + y * 5) % 200);
        }
    return b;
}

class StoryboardImport : public qv::test::ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        settings_.destinationPath = path("Imp.qsb");
    }
    bool nothingWritten() const { return fs::is_empty(dir_); }
    std::string summary() const { return test::storyboardSummary(path("Imp.qsb")); }
    // Records each question and answers it with `answer_`.
    Status import(const Bitmap& picture, const ImportStoryboardSettings& s)
    {
        return ImportToQSB(picture, s, [this](const std::string& q) {
            questions_.push_back(q);
            return answer_;
        });
    }

    ImportStoryboardSettings settings_;
    std::vector<std::string> questions_;
    ImportAnswer answer_ = ImportAnswer::Yes;
};

}  // namespace

TEST_F(StoryboardImport, CellsGetAFreshGridAndThePictureItsOwnPalette)
{
    // Three columns and eight rows of 12 x 9 cells, with a margin of 5 pixels that is no cell.
    const int w = 12, h = 9;
    Bitmap src = gridPicture(3 * 13 + 1 + 5, 8 * 10 + 1 + 5, w, h);
    settings_.frameWidth = w;
    settings_.frameHeight = h;
    settings_.paletteType = kPaletteRiff;
    ASSERT_TRUE(import(src, settings_));
    EXPECT_EQ(summary(), "Imp: sheet 40x81, cells 12x9, 8 x 3, speed 125, offset 95,80, image 1, palette 1, leader 0");

    Bitmap sheet;
    ASSERT_TRUE(readImageFile(path("Imp.pcx"), sheet));
    EXPECT_EQ(sheet.palette, distinctPalette());
    std::vector<uint8_t> a(size_t(w) * h), b(size_t(w) * h);
    for (int k = 0; k < 24; ++k) {
        copyCellOut(sheet, w, h, k / 3, k % 3, a.data());
        copyCellOut(src, w, h, k / 3, k % 3, b.data());
        EXPECT_EQ(a, b) << k;
    }
    // The old lines (index 7) give way to black lines (the nearest colour to black).
    const int black = nearestPaletteIndex(distinctPalette(), 256, 0, 0, 0);
    EXPECT_EQ(sheet.row(0)[5], black);
    EXPECT_EQ(sheet.row(30)[13], black);
    Palette256 pal;
    ASSERT_TRUE(ImportPaletteFromFile(path("Imp_Default.pal"), pal));
    EXPECT_EQ(pal, distinctPalette());

    // A 24-bit BMP sheet holds the cells' colours.
    settings_.imageFormat = 1;
    settings_.colorDepth = 1;
    ASSERT_TRUE(import(src, settings_));
    ASSERT_TRUE(readImageFile(path("Imp.bmp"), sheet));
    EXPECT_EQ(sheet.bitsPerPixel, 24);
    EXPECT_EQ(getPixelColor(sheet, 14, 11), getPixelColor(src, 14, 11));

    // Only full cells count, and offsets stay in the unit area.
    EXPECT_EQ(importGridCount(3 * 97 + 1, 96), 3);
    EXPECT_EQ(importGridCount(3 * 97, 96), 2);
    EXPECT_EQ(centredImportOffset(250), 0);
    EXPECT_EQ(limitImportOffset(20, 250), 0);
}

TEST_F(StoryboardImport, QuestionsOnDirectionsAndLeaderHeads)
{
    // Ten rows become eight, after a question.
    const Bitmap tall = gridPicture(11, 10 * 5 + 1, 4, 4);
    settings_.frameWidth = settings_.frameHeight = 4;
    ASSERT_TRUE(import(tall, settings_));
    EXPECT_EQ(questions_, std::vector<std::string>{str::IDS_IMPORT_ASK_EIGHT_DIRECTIONS});
    EXPECT_EQ(summary(), "Imp: sheet 11x41, cells 4x4, 8 x 2, speed 125, offset 95,80, image 1, palette 0, leader 0");

    // One cell of a leader head's size: Stop writes nothing, No makes a unit, Yes a leader head.
    const Bitmap src = gridPicture(202, 242, 200, 240);
    settings_.frameWidth = 200;
    settings_.frameHeight = 240;
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    questions_.clear();
    answer_ = ImportAnswer::Stop;
    EXPECT_FALSE(import(src, settings_));
    EXPECT_TRUE(nothingWritten());
    EXPECT_EQ(questions_, std::vector<std::string>{str::IDS_IMPORT_ASK_LEADERHEAD});
    for (ImportAnswer answer : {ImportAnswer::No, ImportAnswer::Yes}) {
        answer_ = answer;
        ASSERT_TRUE(import(src, settings_));
        EXPECT_EQ(summary().substr(summary().size() - 8), answer == ImportAnswer::Yes ? "leader 1" : "leader 0");
    }
}

TEST_F(StoryboardImport, RefusalsWriteNothing)
{
    const Bitmap src = gridPicture(30, 20, 8, 8);
    auto refused = [&](const ImportStoryboardSettings& s, const Bitmap& picture) {
        const Status st = import(picture, s);
        EXPECT_FALSE(st);
        EXPECT_TRUE(nothingWritten());
        return st.message;
    };
    ImportStoryboardSettings s = settings_;
    s.frameWidth = 8;
    s.frameHeight = 0;
    EXPECT_EQ(refused(s, src), str::IDS_IMPORT_WRONG_HEIGHT);
    s.frameHeight = 19;
    EXPECT_EQ(refused(s, src), str::IDS_IMPORT_IMAGE_TOO_LOW);
    s.frameHeight = 18;  // 20 high holds one 18-high cell with its lines

    s.paletteFromFile = true;
    EXPECT_EQ(refused(s, src), str::IDS_IMPORT_SELECT_PALETTE);
    s.palettePath = path("../not-a-palette.act");
    EXPECT_EQ(refused(s, src), formatMessage(str::IDS_CANNOT_IMPORT_PALETTE, {s.palettePath}));

    // A true-colour picture of only a few colours does not make 256.
    s.paletteFromFile = false;
    Bitmap few = expandTo24(src);
    fillBitmap(few, 0x112233);
    fillRect(few, Rect{1, 1, 3, 3}, 0x445566);
    EXPECT_EQ(refused(s, few), formatMessage(str::IDS_IMPORT_WRONG_COLOR_COUNT, {2}));

    // A sheet that cannot be created where the storyboard goes: nothing else is tried.
    s.destinationPath = path("missing/Imp.qsb");
    EXPECT_EQ(refused(s, src), str::IDS_STORYBOARD_CANNOT_CREATE);
}

TEST_F(StoryboardImport, PaletteFromAFileMapsTheCellsToItsNearestColours)
{
    Palette256 file;
    for (int i = 0; i < 256; ++i) file[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i), uint8_t(i));
    ASSERT_TRUE(ExportPaletteToFile(path("grey.act"), file, kPaletteAct));
    Bitmap src = Bitmap::create(6, 5, 24);
    fillBitmap(src, 0x0A0B0C);
    settings_.frameWidth = 4;
    settings_.frameHeight = 3;
    settings_.paletteFromFile = true;
    settings_.palettePath = path("grey.act");
    ASSERT_TRUE(import(src, settings_));
    Bitmap sheet;
    ASSERT_TRUE(readImageFile(path("Imp.pcx"), sheet));
    EXPECT_EQ(sheet.palette, file);
    EXPECT_EQ(sheet.row(2)[3], 11);

    // Pictures the dialog refuses: a BMP of 4 bits per pixel and a file that is no picture.
    Bytes bmp;
    ASSERT_TRUE(encodeImage(gridPicture(8, 2, 2, 2), kFormatBmp, 8, bmp));
    putLE16(bmp.data() + 28, 4);
    test::writeBytes(path("four.bmp"), bmp);
    EXPECT_EQ(loadImportSource(path("four.bmp"), sheet).message, str::IDS_IMPORT_DEPTH_TOO_LOW);
    test::writeText(path("text.bmp"), "hello");
    EXPECT_EQ(loadImportSource(path("text.bmp"), sheet).message, str::IDS_IMPORT_INVALID_FORMAT);
}
