// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Palettes: the palette file formats byte for byte, exporting, importing and deleting
// palette files, the special colours, the palette tools' operations and limits, and
// taking the colours of any kind of file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "core/file_io.h"
#include "core/palette_files.h"
#include "core/palette_ops.h"
#include "core/pcx_codec.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

using namespace qv;

namespace {

Bytes textBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// testPalette() has red = index, so an entry's red names the entry it came from; -1 is red.
std::vector<int> origins(const Palette256& p, int first, int last)
{
    std::vector<int> out;
    for (int i = first; i <= last; ++i) out.push_back(p[size_t(i)] == kToolRed ? -1 : p[size_t(i)].red);
    return out;
}

using PaletteFileTest = qv::test::ScratchTest;

}  // namespace

TEST(PaletteBytes, AdobeAndRiffStoreEntry255FirstAndJascIsCrLfText)
{
    const Palette256 pal = test::testPalette();  // entry i = (i, 255 - i, i * 7)
    Bytes act, riff, jasc;
    ASSERT_TRUE(serializePalette(pal, kPaletteAct, act));
    ASSERT_TRUE(serializePalette(pal, kPaletteRiff, riff));
    ASSERT_TRUE(serializePalette(pal, kPaletteJasc, jasc));
    ASSERT_EQ(act.size(), 768u);
    ASSERT_EQ(riff.size(), 1048u);
    EXPECT_EQ((Bytes(act.begin(), act.begin() + 3)), (Bytes{255, 0, uint8_t(255 * 7)}));
    EXPECT_EQ((Bytes(act.end() - 3, act.end())), (Bytes{0, 255, 0}));
    const Bytes riffHeader{'R', 'I', 'F', 'F', 0x10, 0x04, 0, 0, 'P', 'A', 'L', ' ',
                           'd', 'a', 't', 'a', 0x04, 0x04, 0, 0, 0x00, 0x03, 0x00, 0x01};
    EXPECT_EQ((Bytes(riff.begin(), riff.begin() + 24)), riffHeader);
    EXPECT_EQ((Bytes(riff.begin() + 24, riff.begin() + 28)), (Bytes{255, 0, uint8_t(255 * 7), 0}));
    EXPECT_EQ(riff[1044], 0);  // red of entry 0
    // No line end after the last entry.
    const std::string text(jasc.begin(), jasc.end());
    EXPECT_EQ(text.substr(0, 32), "JASC-PAL\r\n0100\r\n256\r\n0 255 0\r\n1 ");
    EXPECT_EQ(text.substr(text.size() - 11), "\r\n255 0 249");
}

TEST(PaletteBytes, ShortOrTruncatedFilesLeaveTheRestBlack)
{
    std::string text = "JASC-PAL\r\n0100\r\n256\r\n";
    for (int i = 0; i < 16; ++i) text += std::to_string(i + 1) + " 2 3\r\n";
    const Bytes jasc = textBytes(text);
    Palette256 p;
    p[100] = PaletteEntry::fromRgb(9, 9, 9);
    ASSERT_TRUE(parsePaletteBytes("pal", jasc.data(), jasc.size(), p));
    EXPECT_EQ(p[15], PaletteEntry::fromRgb(16, 2, 3));
    EXPECT_EQ(p[16], PaletteEntry{});
    EXPECT_EQ(p[100], PaletteEntry{});

    Bytes riff;
    serializePalette(test::testPalette(), kPaletteRiff, riff);
    riff.resize(24 + 4 * 10 + 3);  // ten whole entries and the colours of an eleventh
    ASSERT_TRUE(parsePaletteBytes("pal", riff.data(), riff.size(), p));
    EXPECT_EQ(p[245], test::testPalette()[245]);
    EXPECT_EQ(p[244], PaletteEntry{});
}

TEST(PaletteBytes, JascNumbersAreReadAsTheCLibraryReadsThem)
{
    // Lower-case magic, a bare LF line, a third number on one line (goes to green again),
    // numbers above 255 keep their low byte, garbage reads as 0, and a CR is ignored.
    const Bytes jasc = textBytes("jasc-pal\r\n0100\r\n256\r\n"
                                 "10 20 30\n"
                                 "1 2 3 4\r\n"
                                 "300 -1 7x9\r\n"
                                 "abc 5\r\n"
                                 "\t8 +9 1\r");
    Palette256 p;
    ASSERT_TRUE(parsePaletteBytes("Pal", jasc.data(), jasc.size(), p));
    EXPECT_EQ(p[0], PaletteEntry::fromRgb(10, 20, 30));
    EXPECT_EQ(p[1], PaletteEntry::fromRgb(1, 3, 4));
    EXPECT_EQ(p[2], PaletteEntry::fromRgb(44, 255, 7));
    EXPECT_EQ(p[3], PaletteEntry::fromRgb(0, 0, 5));
    EXPECT_EQ(p[4], PaletteEntry::fromRgb(8, 9, 1));
    for (const auto& e : p.entries) EXPECT_EQ(e.reserved, 0);
}

TEST(PaletteBytes, RefusesWrongSizesMagicsAndExtensions)
{
    Palette256 p;
    p[3] = PaletteEntry::fromRgb(1, 2, 3);
    const Palette256 before = p;
    Bytes good;
    serializePalette(test::testPalette(), kPaletteAct, good);
    const Bytes other = textBytes("BMP palette");
    const std::pair<const char*, Bytes> cases[] = {
        {"act", Bytes(772, 1)}, {"act", Bytes(767, 1)}, {"pal", other}, {"pal", Bytes(other.begin(), other.begin() + 2)},
        {"png", good},          {"", good},
    };
    for (const auto& [extension, bytes] : cases) {
        EXPECT_FALSE(parsePaletteBytes(extension, bytes.data(), bytes.size(), p)) << extension << " " << bytes.size();
        EXPECT_EQ(p, before);  // untouched by every failure
    }
    EXPECT_FALSE(serializePalette(before, 3, good));
}

TEST(PaletteBytes, ExportNameKeepsAllButTheLastFourCharacters)
{
    EXPECT_EQ(exportedPalettePath("/d/war.pal", kPaletteJasc), "/d/war.pal");
    EXPECT_EQ(exportedPalettePath("/d/war.bmp", kPaletteAct), "/d/war.act");
    EXPECT_EQ(exportedPalettePath("/d/war", kPaletteRiff), "/d/war.pal");
    EXPECT_EQ(exportedPalettePath("/d/war.jpeg", kPaletteAct), "/d/war..act");
    EXPECT_EQ(exportedPalettePath("/d/war.qsb", kPaletteAct, "_Default"), "/d/war_Default.act");
    EXPECT_EQ(exportedPalettePath("/d/war.qsb", 3), "");
    EXPECT_EQ(exportedPalettePath("", kPaletteAct), "");
}

TEST_F(PaletteFileTest, ExportImportAndDeleteThroughFiles)
{
    const Palette256 pal = test::testPalette();
    for (int type : {kPaletteAct, kPaletteRiff, kPaletteJasc}) {
        SCOPED_TRACE(type);
        ASSERT_TRUE(ExportPaletteToFile(path("colours.txt"), pal, type));
        Palette256 back;
        ASSERT_TRUE(ImportPaletteFromFile(exportedPalettePath(path("colours.txt"), type), back));
        EXPECT_EQ(back, pal);
        DeletePaletteFile(path("colours.txt"), type);
        EXPECT_FALSE(fileExists(exportedPalettePath(path("colours.txt"), type)));
    }
    Bytes act;
    serializePalette(pal, kPaletteAct, act);
    ASSERT_TRUE(writeFileAtomic(path("UP.ACT"), act));
    Palette256 back;
    EXPECT_TRUE(ImportPaletteFromFile(path("UP.ACT"), back));  // capital extensions are recognised
    EXPECT_FALSE(ImportPaletteFromFile(path("missing.act"), back));
    EXPECT_FALSE(ExportPaletteToFile("", pal, kPaletteAct));
    EXPECT_FALSE(ExportPaletteToFile(path("x.act"), pal, 7));
    EXPECT_FALSE(fileExists(path("x.act")));
}

TEST_F(PaletteFileTest, SpecialColoursBuiltInOrFromAPaletteFile)
{
    const SpecialColours builtin = builtinSpecialColours();
    EXPECT_EQ(builtin[16], PaletteEntry::fromRgb(13, 13, 13));
    EXPECT_EQ(builtin[31], PaletteEntry::fromRgb(255, 0, 255));
    for (const auto& e : builtin) EXPECT_EQ(e.reserved, 255);

    SpecialColours c{};
    EXPECT_TRUE(LoadSpecialColours(kSpecialCurrent, "", c));
    EXPECT_EQ(c[0], PaletteEntry{});
    EXPECT_TRUE(LoadSpecialColours(kSpecialHardcoded, "", c));
    EXPECT_EQ(c, builtin);

    const Palette256 pal = test::testPalette();
    ASSERT_TRUE(ExportPaletteToFile(path("sel.act"), pal, kPaletteAct));
    EXPECT_TRUE(LoadSpecialColours(kSpecialSelective, path("sel.act"), c));
    EXPECT_EQ(c[0], pal[224]);
    EXPECT_EQ(c[31], pal[255]);

    const SpecialColours kept = c;
    const Status st = LoadSpecialColours(kSpecialSelective, path("none.act"), c);
    EXPECT_EQ(st.message, "'" + path("none.act") + "'\r\nCannot load palette file.");
    EXPECT_EQ(c, kept);
}

TEST(PaletteOps, MovesAndShiftsAsWorkedOutByHand)
{
    const Palette256 source = test::testPalette();
    const struct {
        const char* name;
        std::function<void(Palette256&)> op;
        int first, last;
        std::vector<int> expect;
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Palette256 p = source;
        c.op(p);
        EXPECT_EQ(origins(p, c.first, c.last), c.expect);
    }
}

TEST(PaletteOps, DialogLimitsAndAdjustmentRanges)
{
    EXPECT_EQ(clampRangeCount(250, 10, 100), 6);
    EXPECT_EQ(clampRangeCount(0, 0, 300), 256);
    EXPECT_EQ(clampRangeCount(300, 0, 5), 1);  // From clamped to 255
    EXPECT_EQ(clampMoveCount(true, 3, 9, 400), 255);
    EXPECT_EQ(clampMoveCount(false, 10, 200, 100), 55);
    EXPECT_EQ(clampMoveCount(false, 255, 0, 1), 1);  // a single entry may go anywhere
    EXPECT_EQ(clampMoveCount(false, 255, 0, 2), 0);
    EXPECT_EQ(clampMoveCount(false, 0, 0, -4), 0);

    // Adjustments stay inside their entries.
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

TEST_F(PaletteFileTest, GetPaletteReadsEveryKindOfFileAndRefusesWhatItCannotRead)
{
    const Palette256 colours = test::testPalette();
    ASSERT_TRUE(ExportPaletteToFile(path("a.ACT"), colours, kPaletteAct));
    test::AnimationShape anim;
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
