// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "core/byte_io.h"
#include "core/file_io.h"
#include "core/palette_files.h"
#include "core/palette_ops.h"
#include "core/pcx_codec.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

// testPalette() has red = index, so an entry's red names the entry it came from; -1 is red.
std::vector<int> origins(const Palette256& p, int first, int last)
{
    std::vector<int> out;
    for (int i = first; i <= last; ++i) out.push_back(p[size_t(i)] == kToolRed ? -1 : p[size_t(i)].red);
    return out;
}

}  // namespace

TEST(PaletteOps, MovesAndShiftsAsWorkedOutByHand)
{
    struct Case {
        const char* name;
        std::function<void(Palette256&)> op;
        int first, last;
        std::vector<int> expect;
    };
    const Palette256 source = test::testPalette();
    const Case cases[] = {
        {"right shift 1", [](Palette256& p) { shiftRight(p, 1); }, 0, 2, {-1, 0, 1}},
        {"right shift 1, top", [](Palette256& p) { shiftRight(p, 1); }, 254, 255, {253, 254}},
        {"left shift 2", [](Palette256& p) { shiftLeft(p, 2); }, 0, 1, {2, 3}},
        {"left shift 2, top", [](Palette256& p) { shiftLeft(p, 2); }, 252, 255, {254, 255, -1, -1}},
        {"shift 0", [](Palette256& p) { shiftRight(p, 0); }, 0, 1, {0, 1}},
        {"move 10->12 x5", [](Palette256& p) { moveColors(p, 10, 12, 5); }, 9, 17, {9, -1, -1, -1, -1, -1, 13, 14, 17}},
        {"move 12->10 x3", [](Palette256& p) { moveColors(p, 12, 10, 3); }, 9, 15, {9, 12, 13, -1, -1, -1, 15}},
        {"move to itself", [](Palette256& p) { moveColors(p, 7, 7, 3); }, 7, 8, {7, 8}},
        {"move 255->0 x1", [](Palette256& p) { moveColors(p, 255, 0, 1); }, 0, 0, {255}},
        {"range 250->10 x6", [&](Palette256& p) { replaceRange(p, redPalette(), 250, 10, 6); }, 9, 16,
         {9, -1, -1, -1, -1, -1, -1, 16}},
        {"range past the end", [&](Palette256& p) { replaceRange(p, redPalette(), 0, 254, 5); }, 253, 255, {253, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Palette256 p = source;
        c.op(p);
        EXPECT_EQ(origins(p, c.first, c.last), c.expect);
    }
}

TEST(PaletteOps, DialogLimits)
{
    EXPECT_EQ(clampRangeCount(250, 10, 100), 6);
    EXPECT_EQ(clampRangeCount(0, 0, 300), 256);
    EXPECT_EQ(clampRangeCount(300, 0, 5), 1);  // From clamped to 255
    EXPECT_EQ(clampMoveCount(true, 3, 9, 400), 255);
    EXPECT_EQ(clampMoveCount(false, 10, 200, 100), 55);
    EXPECT_EQ(clampMoveCount(false, 255, 0, 1), 1);  // a single entry may go anywhere
    EXPECT_EQ(clampMoveCount(false, 255, 0, 2), 0);
    EXPECT_EQ(clampMoveCount(false, 0, 0, -4), 0);
}

TEST(PaletteOps, AdjustmentsStayInsideTheirEntries)
{
    Palette256 p;
    p[0] = PaletteEntry::fromRgb(255, 0, 0);
    p[1] = PaletteEntry::fromRgb(128, 128, 128);
    p[2] = PaletteEntry::fromRgb(255, 0, 0);
    Palette256 hue = p;
    adjustPalette(hue, ColourAdjustment::Hue, 240, 0, 1);
    EXPECT_EQ(hue[0].rgb(), 0x0000FFu);  // red turned by 240 degrees
    EXPECT_EQ(hue[1].rgb(), 0x808080u);  // a grey has no hue
    EXPECT_EQ(hue[2].rgb(), 0xFF0000u);  // outside the range
    Palette256 sat = p;
    adjustPalette(sat, ColourAdjustment::Saturation, -5000, 2, 300);  // clamped to -1000, entries 2..255
    EXPECT_EQ(sat[2].rgb(), 0x808080u);
    EXPECT_EQ(sat[0].rgb(), 0xFF0000u);
    adjustPalette(p, ColourAdjustment::Brightness, -1000);
    EXPECT_EQ(p[1].rgb(), 0u);
}

using GetPaletteTest = test::ScratchTest;

TEST_F(GetPaletteTest, ReadsEveryKindOfFile)
{
    const Palette256 colours = test::testPalette();
    ASSERT_TRUE(ExportPaletteToFile(path("a.ACT"), colours, kPaletteAct));
    test::AnimationSpec anim;
    anim.directions = 1;
    ASSERT_TRUE(test::writeAnimation(path("u.flc"), anim));
    // An 8-bit picture gives the colours it declares (a BMP saying 16 used); the rest stays red.
    Bitmap pic = Bitmap::create(4, 2, 8);
    pic.palette = colours;
    Bytes bmp;
    ASSERT_TRUE(encodeBmp(pic, bmp));
    putLE32(bmp.data() + 46, 16);
    ASSERT_TRUE(writeFileAtomic(path("p.bmp"), bmp));
    Palette256 sixteen = redPalette();
    std::copy(colours.entries.begin(), colours.entries.begin() + 16, sixteen.entries.begin());
    for (const auto& [name, expected] : {std::pair{"a.act", colours}, {"u.flc", colours}, {"p.bmp", sixteen}}) {
        Palette256 got;
        ASSERT_TRUE(GetPalette(path(name), got)) << name;
        EXPECT_EQ(got, expected) << name;
    }

    // A storyboard's palette file is named after its description and its palette type.
    Palette256 got;
    StoryboardInfo info;
    info.paletteType = kPaletteJasc;
    ASSERT_TRUE(WriteQSB(path("sb.qsb"), info));
    EXPECT_EQ(GetPalette(path("sb.qsb"), got).message, formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {path("sb.pal")}));
    EXPECT_EQ(got, redPalette());
    ASSERT_TRUE(ExportPaletteToFile(path("sb.pal"), colours, kPaletteJasc));
    ASSERT_TRUE(GetPalette(path("sb.qsb"), got));
    EXPECT_EQ(got, colours);

    // A 24-bit picture is reduced to its colours first.
    Bitmap rgb = Bitmap::create(2, 1, 24);
    rgb.pixels = {10, 20, 30, 200, 100, 50};
    ASSERT_TRUE(writeImageFile(path("t.pcx"), rgb, kFormatPcx, 24));
    ASSERT_TRUE(GetPalette(path("t.pcx"), got));
    std::vector<uint32_t> found = {got[0].rgb(), got[1].rgb()};
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<uint32_t>{0x0A141Eu, 0xC86432u}));
}

TEST_F(GetPaletteTest, RefusesWhatItCannotRead)
{
    Palette256 got;
    // A 4-bit PCX: an 8-bit one whose header says 4 bits per pixel.
    Bytes pcx;
    ASSERT_TRUE(encodePcx(Bitmap::create(2, 2, 8), pcx));
    pcx[3] = 4;
    ASSERT_TRUE(writeFileAtomic(path("four.pcx"), pcx));
    ASSERT_TRUE(writeFileAtomic(path("short.act"), Bytes(700, 1)));
    ASSERT_TRUE(writeFileAtomic(path("x.flc"), Bytes(300, 0)));
    ASSERT_TRUE(writeFileAtomic(path("x.txt"), Bytes(768, 0)));
    const std::pair<std::string, std::string> cases[] = {
        {"four.pcx", str::IDS_COLOR_DEPTH_AT_LEAST_8},
        {"short.act", formatMessage(str::IDS_CANNOT_IMPORT_PALETTE, {path("short.act")})},
        {"x.flc", str::IDS_CANNOT_GET_PALETTE_FROM_FILE},
        {"x.txt", str::IDS_CANNOT_GET_PALETTE_FROM_FILE},
        {"none.bmp", str::IDS_CANNOT_GET_PALETTE_FROM_FILE},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        got[0] = PaletteEntry::fromRgb(1, 2, 3);
        const Status st = GetPalette(path(name), got);
        EXPECT_FALSE(st);
        EXPECT_EQ(st.message, message);
        EXPECT_EQ(got, redPalette());
    }
}
