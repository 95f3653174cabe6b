// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Civilization colour schemes: file names, the folder and unknown sources (the game's
// folder is checked through quorvane-cli render), the unpacking of built-in schemes on first
// use (a file already there winning), how a scheme is laid over a palette, and the 32
// built-in scheme files themselves.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/bitmap.h"
#include "core/civ_palettes.h"
#include "core/file_io.h"
#include "core/pcx_codec.h"
#include "core/pcx_picture.h"
#include "core/strings.h"
#include "support/temp_dir.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

// The committed built-in data, found from this file's place in the source tree.
fs::path builtinDataFolder() { return QV_DATA_DIR; }

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

Palette256 basePalette()
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[i] = PaletteEntry::fromRgb(7, 7, uint8_t(i));
    return p;
}

class CivPalettes : public qv::test::ScratchTest {
protected:
    const fs::path& root = dir_;

    void put(const fs::path& rel, const Bytes& bytes)
    {
        fs::create_directories((root / rel).parent_path());
        EXPECT_TRUE(writeFileAtomic((root / rel).string(), bytes));
    }

    // Source 1 over folders A and B, the built-in scheme n being schemeBytes(100 + n).
    CivPaletteSources builtin(int* calls = nullptr)
    {
        CivPaletteSources s;
        s.palType = 1;
        s.builtinFolders = {(root / "A").string(), (root / "B").string()};
        s.builtinScheme = [calls](int n, Bytes& out) {
            if (calls) ++*calls;
            out = schemeBytes(uint8_t(100 + n));
            return true;
        };
        return s;
    }
};

TEST(CivPaletteNames, FileNamesAndNumbers)
{
    EXPECT_EQ(civPaletteFileName(7), "ntp07.pcx");
    EXPECT_EQ(civPaletteFileName(31), "ntp31.pcx");
    EXPECT_EQ(civNumberFromPath("/x/Palettes/ntp07.pcx"), 8);
    EXPECT_EQ(civNumberFromPath("ntp10.pcx"), 11);
    EXPECT_EQ(civNumberFromPath("ntpab.pcx"), 0);
    EXPECT_EQ(civNumberFromPath(".pcx"), 0);
}

TEST_F(CivPalettes, PredefinedFolderAndUnknownSources)
{
    CivPaletteSources s;
    s.palType = 2;
    s.paletteFolder = (root / "Mine").string();
    std::string path;
    fs::create_directories(root / "Mine");
    EXPECT_EQ(locateCivPalette(11, s, path).message, str::IDS_CIV_PAL_NO_FOLDER);  // folder there, file not
    put("Mine/ntp10.pcx", schemeBytes(2));
    ASSERT_TRUE(locateCivPalette(11, s, path));
    EXPECT_EQ(path, (root / "Mine" / "ntp10.pcx").string());
    s.palType = 7;  // an unknown source finds nothing
    EXPECT_EQ(locateCivPalette(11, s, path).message, "''\r\nThe palette file is not exist.");
}

TEST_F(CivPalettes, BuiltinSchemesAreUnpackedOnFirstUseAndAFileThereWins)
{
    int calls = 0;
    CivPaletteSources s = builtin(&calls);
    std::string path;
    ASSERT_TRUE(locateCivPalette(8, s, path));
    EXPECT_EQ(path, (root / "A" / "Palettes" / "ntp07.pcx").string());
    Bytes written;
    ASSERT_TRUE(readWholeFile(path, written));
    EXPECT_EQ(written, schemeBytes(107));

    // A user's edit of the unpacked file is used as it is.
    put("A/Palettes/ntp07.pcx", schemeBytes(9));
    Palette256 display;
    ASSERT_TRUE(civDisplayPalette(8, s, basePalette(), display));
    EXPECT_EQ(display[6], PaletteEntry::fromRgb(6, 9, 249));
    EXPECT_EQ(calls, 1);

    // A file in the second folder wins over unpacking into the first.
    put("B/Palettes/ntp02.pcx", schemeBytes(3));
    ASSERT_TRUE(locateCivPalette(3, s, path));
    EXPECT_EQ(path, (root / "B" / "Palettes" / "ntp02.pcx").string());
    EXPECT_EQ(calls, 1);

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

TEST_F(CivPalettes, SchemesReplaceOnlyTheCivilizationColoursOrNothingWhenUnreadable)
{
    CivPaletteSources s = builtin();
    const Palette256 base = basePalette();
    Palette256 display = base;
    ASSERT_TRUE(civDisplayPalette(5, s, base, display));
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry expected = i < 64 ? PaletteEntry::fromRgb(uint8_t(i), 104, uint8_t(255 - i)) : base[i];
        EXPECT_EQ(display[i], expected) << "entry " << i;
    }
    // With a target the whole scheme palette comes back.
    Palette256 whole;
    ASSERT_TRUE(paletteFromRes(5, s, base, whole));
    EXPECT_EQ(whole[200], PaletteEntry::fromRgb(200, 104, 55));

    // Civilization 0 is the animation's own palette, without touching any file.
    s.builtinFolders = {(root / "Untouched").string()};
    ASSERT_TRUE(civDisplayPalette(0, s, base, display));
    EXPECT_EQ(display, base);
    ASSERT_TRUE(paletteFromRes(0, s, base, whole));
    EXPECT_EQ(whole, base);
    EXPECT_FALSE(fs::exists(root / "Untouched"));

    // An unreadable scheme fails quietly and changes nothing.
    s = builtin();
    put("A/Palettes/ntp03.pcx", {10, 5, 1});  // shorter than a header
    const Status st = civDisplayPalette(4, s, basePalette(), display);
    EXPECT_FALSE(st);
    EXPECT_TRUE(st.message.empty());
    EXPECT_EQ(display, basePalette());
    Palette256 target;
    EXPECT_FALSE(copyCivPalette((root / "none.pcx").string(), target));

    // Without the palette block the scheme is black, not undefined.
    Bytes noMarker = schemeBytes(1);
    noMarker[noMarker.size() - 769] = 0;
    put("A/Palettes/ntp04.pcx", noMarker);
    ASSERT_TRUE(civDisplayPalette(5, s, basePalette(), display));
    EXPECT_EQ(display[0], PaletteEntry{});
    EXPECT_EQ(display[64], basePalette()[64]);
}

TEST(BuiltinSchemes, ThirtyTwoFilesOf900BytesWithTheSwatchColourAtEntry6)
{
    for (int n = 0; n < kCivSchemeCount; ++n) {
        const fs::path path = builtinDataFolder() / civPaletteFileName(n);
        Bytes bytes;
        ASSERT_TRUE(readWholeFile(path.string(), bytes)) << path;
        EXPECT_EQ(bytes.size(), kCivSchemeFileSize) << path;
        PcxPicture pic;
        ASSERT_TRUE(pic.load(path.string())) << path;
        EXPECT_EQ(pic.width() * pic.height(), 1);
        EXPECT_EQ(pic.palette()[kCivSwatchIndex].colorRef(), kCivSwatchColorRefs[size_t(n) + 1]) << path;
        EXPECT_EQ(pic.palette()[255], PaletteEntry::fromRgb(255, 0, 255)) << path;
    }
}

}  // namespace
