// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Palettes: the palette file formats byte for byte, exporting, importing and deleting
// palette files, the special colours, the palette tools' operations and limits, taking the
// colours of any kind of file, and civilization colour schemes: file names, the folder and
// unknown sources, the unpacking of built-in schemes (a file already there winning) and its
// failures, unreadable schemes, and the 32 built-in scheme files themselves. quorvane-cli
// render checks each scheme source end to end; the view's tests check the recolouring of
// entries 0..63 and a user's edited scheme.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "core/bitmap.h"
#include "core/civ_palettes.h"
#include "core/file_io.h"
#include "core/palette_files.h"
#include "core/palette_ops.h"
#include "core/pcx_codec.h"
#include "core/pcx_picture.h"
#include "core/storyboard.h"
#include "core/strings.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"
#include "support/unit_builder.h"

using namespace qv;
namespace fs = std::filesystem;

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

TEST(PaletteBytes, ReadAsTheCLibraryReadsThemShortFilesLeavingTheRestBlack)
{
    // Lower-case magic, a bare LF line, a third number on one line (goes to green again),
    // numbers above 255 keep their low byte, garbage reads as 0, a CR is ignored, and the
    // last line needs no line end.
    const Bytes jasc = textBytes("jasc-pal\r\n0100\r\n256\r\n"
                                 "10 20 30\n"
                                 "1 2 3 4\r\n"
                                 "300 -1 7x9\r\n"
                                 "abc 5\r\n"
                                 "\t8 +9 1\r");
    Palette256 p;
    p[100] = PaletteEntry::fromRgb(9, 9, 9);
    ASSERT_TRUE(parsePaletteBytes("Pal", jasc.data(), jasc.size(), p));
    EXPECT_EQ(p[0], PaletteEntry::fromRgb(10, 20, 30));
    EXPECT_EQ(p[1], PaletteEntry::fromRgb(1, 3, 4));
    EXPECT_EQ(p[2], PaletteEntry::fromRgb(44, 255, 7));
    EXPECT_EQ(p[3], PaletteEntry::fromRgb(0, 0, 5));
    EXPECT_EQ(p[4], PaletteEntry::fromRgb(8, 9, 1));
    EXPECT_EQ(p[100], PaletteEntry{});  // what the file does not give is black
    for (const auto& e : p.entries) EXPECT_EQ(e.reserved, 0);

    Bytes riff;
    serializePalette(test::testPalette(), kPaletteRiff, riff);
    riff.resize(24 + 4 * 10 + 3);  // ten whole entries and the colours of an eleventh
    ASSERT_TRUE(parsePaletteBytes("pal", riff.data(), riff.size(), p));
    EXPECT_EQ(p[245], test::testPalette()[245]);
    EXPECT_EQ(p[0], PaletteEntry{});

    // Wrong sizes, magics and extensions are refused, leaving the palette untouched.
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
        EXPECT_EQ(p, before);
    }
    EXPECT_FALSE(serializePalette(before, 3, good));
}

TEST_F(PaletteFileTest, FilesAreExportedImportedAndDeletedAndGiveTheSpecialColours)
{
    const Palette256 pal = test::testPalette();
    ASSERT_TRUE(ExportPaletteToFile(path("colours.txt"), pal, kPaletteRiff));
    ASSERT_TRUE(fileExists(path("colours.pal")));
    DeletePaletteFile(path("colours.txt"), kPaletteRiff);
    EXPECT_FALSE(fileExists(path("colours.pal")));
    Bytes act;
    serializePalette(pal, kPaletteAct, act);
    ASSERT_TRUE(writeFileAtomic(path("UP.ACT"), act));
    Palette256 back;
    EXPECT_TRUE(ImportPaletteFromFile(path("UP.ACT"), back));  // capital extensions are recognised
    EXPECT_EQ(back, pal);
    EXPECT_FALSE(ImportPaletteFromFile(path("missing.act"), back));
    EXPECT_FALSE(ExportPaletteToFile("", pal, kPaletteAct));
    EXPECT_FALSE(ExportPaletteToFile(path("x.act"), pal, 7));
    EXPECT_FALSE(fileExists(path("x.act")));
    // The exported name keeps all but the last four characters of the one given.
    EXPECT_EQ(exportedPalettePath("/d/war", kPaletteRiff), "/d/war.pal");
    EXPECT_EQ(exportedPalettePath("/d/war.jpeg", kPaletteAct), "/d/war..act");

    // The special colours: built in, or entries 224..255 of a palette file (the storyboard
    // export's tests take the other sources and the message of a missing file).
    const SpecialColours builtin = builtinSpecialColours();
    EXPECT_EQ(builtin[16], PaletteEntry::fromRgb(13, 13, 13));
    EXPECT_EQ(builtin[31], PaletteEntry::fromRgb(255, 0, 255));
    for (const auto& e : builtin) EXPECT_EQ(e.reserved, 255);
    SpecialColours c{};
    EXPECT_TRUE(LoadSpecialColours(kSpecialSelective, path("UP.ACT"), c));
    EXPECT_EQ(c[0], pal[224]);
    EXPECT_EQ(c[31], pal[255]);
}

TEST(PaletteOps, MovesShiftsLimitsAndAdjustmentsAsWorkedOutByHand)
{
    const Palette256 source = test::testPalette();
    const struct {
        const char* name;
        std::function<void(Palette256&)> op;
        int first, last;
        std::vector<int> expect;
    } cases[] = {
        {"right shift 1, top", [](Palette256& p) { shiftRight(p, 1); }, 254, 255, {253, 254}},
        {"left shift 2, top", [](Palette256& p) { shiftLeft(p, 2); }, 252, 255, {254, 255, -1, -1}},
        {"move 12->10 x3", [](Palette256& p) { moveColors(p, 12, 10, 3); }, 9, 15, {9, 12, 13, -1, -1, -1, 15}},
        {"move to itself", [](Palette256& p) { moveColors(p, 7, 7, 3); }, 7, 8, {7, 8}},
        {"move 255->0 x1", [](Palette256& p) { moveColors(p, 255, 0, 1); }, 0, 0, {255}},
        {"range past the end", [&](Palette256& p) { replaceRange(p, redPalette(), 0, 254, 5); }, 253, 255, {253, -1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Palette256 p = source;
        c.op(p);
        EXPECT_EQ(origins(p, c.first, c.last), c.expect);
    }

    // The dialogs' limits.
    EXPECT_EQ(clampRangeCount(0, 0, 300), 256);
    EXPECT_EQ(clampRangeCount(300, 0, 5), 1);  // From clamped to 255
    EXPECT_EQ(clampMoveCount(true, 3, 9, 400), 255);
    EXPECT_EQ(clampMoveCount(false, 255, 0, 1), 1);  // a single entry may go anywhere
    EXPECT_EQ(clampMoveCount(false, 255, 0, 2), 0);

    // Adjustments stay inside their entries; the amount is clamped to its range.
    Palette256 p;
    p[0] = PaletteEntry::fromRgb(255, 0, 0);
    p[2] = PaletteEntry::fromRgb(255, 0, 0);
    adjustPalette(p, ColourAdjustment::Hue, 240, 0, 1);
    EXPECT_EQ(p[0].rgb(), 0x0000FFu);  // red turned by 240 degrees
    EXPECT_EQ(p[2].rgb(), 0xFF0000u);  // outside the range
    adjustPalette(p, ColourAdjustment::Saturation, -5000, 2, 300);  // as -1000, entries 2..255
    EXPECT_EQ(p[2].rgb(), 0x808080u);
    EXPECT_EQ(p[0].rgb(), 0x0000FFu);
}

TEST_F(PaletteFileTest, GetPaletteReadsEveryKindOfFileAndRefusesWhatItCannotRead)
{
    const Palette256 colours = test::testPalette();
    ASSERT_TRUE(ExportPaletteToFile(path("a.ACT"), colours, kPaletteAct));
    ASSERT_TRUE(test::writeAnimation(path("u.flc"), test::AnimationShape{}));
    // A storyboard's palette file is named after its description and its palette type.
    StoryboardInfo info;
    info.paletteType = kPaletteJasc;
    ASSERT_TRUE(WriteQSB(path("sb.qsb"), info));
    ASSERT_TRUE(WriteQSB(path("nopal.qsb"), info));
    ASSERT_TRUE(ExportPaletteToFile(path("sb.pal"), colours, kPaletteJasc));
    // A picture gives the colours it holds (a 24-bit one reduced first); the rest stays red.
    Bitmap rgb = Bitmap::create(1, 1, 24);
    rgb.pixels = {10, 20, 30};
    ASSERT_TRUE(writeImageFile(path("t.pcx"), rgb, kFormatPcx, 24));
    Palette256 one = redPalette();
    one[0] = PaletteEntry::fromRgb(10, 20, 30);
    const std::pair<const char*, Palette256> read[] = {
        {"a.act", colours}, {"u.flc", colours}, {"sb.qsb", colours}, {"t.pcx", one},
    };
    for (const auto& [name, expected] : read) {
        Palette256 got;
        ASSERT_TRUE(GetPalette(path(name), got)) << name;
        EXPECT_EQ(got, expected) << name;
    }

    Bytes pcx;
    ASSERT_TRUE(encodePcx(Bitmap::create(2, 2, 8), pcx));
    pcx[3] = 4;  // an 8-bit PCX whose header says 4 bits per pixel
    ASSERT_TRUE(writeFileAtomic(path("four.pcx"), pcx));
    ASSERT_TRUE(writeFileAtomic(path("short.act"), Bytes(700, 1)));
    ASSERT_TRUE(writeFileAtomic(path("x.flc"), Bytes(300, 0)));
    const std::pair<std::string, std::string> refused[] = {
        {"nopal.qsb", formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {path("nopal.pal")})},
        {"four.pcx", str::IDS_COLOR_DEPTH_AT_LEAST_8},
        {"short.act", formatMessage(str::IDS_CANNOT_IMPORT_PALETTE, {path("short.act")})},
        {"x.flc", str::IDS_CANNOT_GET_PALETTE_FROM_FILE},
        {"none.txt", str::IDS_CANNOT_GET_PALETTE_FROM_FILE},
        {"none.bmp", str::IDS_CANNOT_GET_PALETTE_FROM_FILE},
    };
    for (const auto& [name, message] : refused) {
        Palette256 got;
        EXPECT_EQ(GetPalette(path(name), got).message, message) << name;
        EXPECT_EQ(got, redPalette()) << name;
    }
}

namespace {

// A scheme file: a 1 x 1 picture whose palette entry i is (i, seed, 255 - i).
Bytes schemeBytes(uint8_t seed)
{
    Bitmap pic = Bitmap::create(1, 1, 8);
    pic.pixels = {6};
    for (int i = 0; i < 256; ++i) pic.palette[i] = PaletteEntry::fromRgb(uint8_t(i), seed, uint8_t(255 - i));
    Bytes b;
    encodePcx(pic, b);
    return b;
}

class CivPalettes : public qv::test::ScratchTest {
protected:
    const fs::path& root = dir_;

    void put(const fs::path& rel, const Bytes& bytes) { test::writeBytes(root / rel, bytes); }

    // Source 1 over folders A and B, the built-in scheme n being schemeBytes(100 + n).
    CivPaletteSources builtin()
    {
        CivPaletteSources s;
        s.palType = 1;
        s.builtinFolders = {(root / "A").string(), (root / "B").string()};
        s.builtinScheme = [](int n, Bytes& out) {
            out = schemeBytes(uint8_t(100 + n));
            return true;
        };
        return s;
    }
};

TEST_F(CivPalettes, NamesAndSourcesFolderUnknownAndBuiltIn)
{
    EXPECT_EQ(civPaletteFileName(7), "ntp07.pcx");
    EXPECT_EQ(civNumberFromPath("/x/Palettes/ntp10.pcx"), 11);
    EXPECT_EQ(civNumberFromPath("ntpab.pcx"), 0);
    EXPECT_EQ(civNumberFromPath(".pcx"), 0);

    CivPaletteSources s;
    s.palType = 2;
    s.paletteFolder = root.string();
    std::string path;
    EXPECT_EQ(locateCivPalette(11, s, path).message, str::IDS_CIV_PAL_NO_FOLDER);  // folder there, file not
    s.palType = 7;  // an unknown source finds nothing
    EXPECT_EQ(locateCivPalette(11, s, path).message, "''\r\nThe palette file is not exist.");

    // Built-in schemes are unpacked into the first folder unless a file is there.
    s = builtin();
    ASSERT_TRUE(locateCivPalette(8, s, path));
    EXPECT_EQ(path, (root / "A" / "Palettes" / "ntp07.pcx").string());
    put("B/Palettes/ntp02.pcx", schemeBytes(3));
    ASSERT_TRUE(locateCivPalette(3, s, path));
    EXPECT_EQ(path, (root / "B" / "Palettes" / "ntp02.pcx").string());

    // No folder that can take the file, or no such resource: nothing is written.
    put("C", {1});  // a file where the folder should be: "C/Palettes" cannot be made
    s.builtinFolders = {(root / "C").string()};
    EXPECT_EQ(locateCivPalette(1, s, path).message, str::IDS_CIV_PAL_NO_RESOURCES);
    s.builtinFolders.clear();  // the program's path is unknown
    EXPECT_EQ(locateCivPalette(1, s, path).message, str::IDS_CIV_PAL_NO_RESOURCES);
    s.builtinFolders = {(root / "D").string()};
    s.builtinScheme = [](int, Bytes&) { return false; };
    EXPECT_EQ(locateCivPalette(1, s, path).message, str::IDS_CIV_PAL_NO_RESOURCES);
    EXPECT_FALSE(fs::exists(root / "D" / "Palettes" / "ntp00.pcx"));
}

TEST_F(CivPalettes, CivilizationZeroReadsNoFileAndAnUnreadableSchemeChangesNothing)
{
    CivPaletteSources s = builtin();
    const Palette256 base = test::testPalette();
    Palette256 display;
    s.builtinFolders = {(root / "Untouched").string()};
    ASSERT_TRUE(civDisplayPalette(0, s, base, display));
    EXPECT_EQ(display, base);
    EXPECT_FALSE(fs::exists(root / "Untouched"));

    s = builtin();
    put("A/Palettes/ntp03.pcx", {10, 5, 1});  // shorter than a header
    const Status st = civDisplayPalette(4, s, base, display);
    EXPECT_FALSE(st);
    EXPECT_TRUE(st.message.empty());  // fails quietly
    EXPECT_EQ(display, base);
    Palette256 target;
    EXPECT_FALSE(copyCivPalette((root / "none.pcx").string(), target));

    // Without the palette block the scheme is black, not undefined; it covers entries 0..63.
    Bytes noMarker = schemeBytes(1);
    noMarker[noMarker.size() - 769] = 0;
    put("A/Palettes/ntp04.pcx", noMarker);
    ASSERT_TRUE(civDisplayPalette(5, s, base, display));
    EXPECT_EQ(display[63], PaletteEntry{});
    EXPECT_EQ(display[64], base[64]);
}

TEST(BuiltinSchemes, ThirtyTwoFilesOf900BytesWithTheSwatchColourAtEntry6)
{
    for (int n = 0; n < kCivSchemeCount; ++n) {
        const fs::path path = fs::path(QV_DATA_DIR) / civPaletteFileName(n);
        EXPECT_EQ(fs::file_size(path), kCivSchemeFileSize) << path;
        PcxPicture pic;
        ASSERT_TRUE(pic.load(path.string())) << path;
        EXPECT_EQ(pic.palette()[kCivSwatchIndex].colorRef(), kCivSwatchColorRefs[size_t(n) + 1]) << path;
        EXPECT_EQ(pic.palette()[255], PaletteEntry::fromRgb(255, 0, 255)) << path;
    }
}

}  // namespace
