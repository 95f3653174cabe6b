// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "core/file_io.h"
#include "core/palette_files.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

using namespace qv;

namespace {

Bytes textBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

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
        const std::string chosen = path("colours.txt");
        ASSERT_TRUE(ExportPaletteToFile(chosen, pal, type));
        const std::string written = exportedPalettePath(chosen, type);
        Palette256 back;
        ASSERT_TRUE(ImportPaletteFromFile(written, back));
        EXPECT_EQ(back, pal);
        DeletePaletteFile(chosen, type);
        EXPECT_FALSE(fileExists(written));
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
