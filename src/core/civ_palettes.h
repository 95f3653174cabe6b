// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The game's civilization colour schemes: 32 small PCX files ntp00.pcx .. ntp31.pcx whose
// palette entries 0..63 carry one civilization's colours. This is where a scheme's file is
// found (in the installed game, among the built-in copies unpacked beside the program, or
// in a folder of the user's choice) and how it is laid over an animation's palette.
// The callers pass the folders in; nothing here reads settings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_format.h"
#include "core/result.h"

namespace qv {

constexpr int kCivSchemeCount = 32;      // civilizations 1..32, files 0..31
constexpr int kCivSchemeColours = 64;    // entries 0..63 of a scheme replace the animation's
constexpr int kCivSwatchIndex = 6;       // the palette entry that stands for a scheme
constexpr size_t kCivSchemeFileSize = 900;  // a built-in scheme file: 1 x 1 pixels

// Where the schemes come from: the "Pal Type" setting.
enum class CivPaletteSource : int { GameFiles = 0, Resources = 1, Folder = 2 };

// The swatch colours of the civilization list as Windows colour values (0x00BBGGRR):
// entry 0 for "Default", entries 1..32 equal to entry 6 of the matching built-in scheme.
extern const std::array<uint32_t, kCivSchemeCount + 1> kCivSwatchColorRefs;

// "ntp00.pcx" .. "ntp31.pcx": the scheme file of file number n (civilization n + 1).
// Numbers below 10 get a leading zero.
std::string civPaletteFileName(int fileNumber);

// The civilization number a scheme file stands for: 1 + the number in the two characters
// before the last four of its name (".../ntp07.pcx" gives 8); 0 when they are not digits.
int civNumberFromPath(const std::string& path);

// The places a scheme lookup may use.
struct CivPaletteSources {
    int palType = 0;  // CivPaletteSource as stored; any other value finds nothing

    // Source 0: the base game's install folder, when it was found.
    bool gameFound = false;
    std::string gameFolder;

    // Source 1: the folders the built-in schemes are unpacked into, in order of preference
    // (the program's folder, then the per-user data folder). Each gets a "Palettes"
    // subfolder. A scheme already in one of them is used from there; otherwise it is
    // unpacked into the first one that takes it. Empty when the program's own path is
    // unknown.
    std::vector<std::string> builtinFolders;
    // Supplies the bytes of built-in scheme file number n; false when it has none.
    std::function<bool(int fileNumber, Bytes& out)> builtinScheme;

    // Source 2: the predefined folder ("Pal Dir").
    std::string paletteFolder;
};

// Finds the file of civilization `civ` (1..32) and sets `path`, unpacking a built-in
// scheme on first use. On failure the message says why, as the program shows it.
Status locateCivPalette(int civ, const CivPaletteSources& sources, std::string& path);

// CopyCivPalette with a path: reads all 256 colours of a scheme file into `target`. False
// (reporting nothing, `target` untouched) when the file does not exist or cannot be read
// as a PCX picture. A file without the palette block gives black.
bool copyCivPalette(const std::string& path, Palette256& target);

// Copies a scheme's colours 0..63 over the animation's palette; entries 64..255 keep the
// animation's colours.
Palette256 applyCivScheme(const Palette256& base, const Palette256& scheme);

// PaletteFromRes without a target, the palette part of SetCivPalette: the palette to show
// for civilization `civ`, `base` itself for 0, else `base` with the scheme laid over it
// (`display` is changed only on success). A failed lookup carries its message; a scheme file that cannot be
// read fails with an empty message (the caller then says "Cannot get civilization
// specified palette.").
Status civDisplayPalette(int civ, const CivPaletteSources& sources, const Palette256& base, Palette256& display);

// PaletteFromRes with a target: the whole 256-colour palette of civilization `civ`, as the
// storyboard conversions take it: `base` for 0, else every entry of the scheme file.
// Failures as civDisplayPalette; `target` is changed only on success.
Status paletteFromRes(int civ, const CivPaletteSources& sources, const Palette256& base, Palette256& target);

}  // namespace qv
