// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Palette files: Adobe Color Table (.act), Microsoft RIFF palette (.pal) and Jasc
// palette (.pal), read and written byte for byte as other palette tools expect them,
// and the 32 special colours the storyboard conversions put at indices 224..255.
//
// The byte-level functions (parse from a buffer, serialize to a buffer) do all the work
// and touch no file, so they can be fuzzed; the file functions sit on top of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/byte_io.h"
#include "core/flc_format.h"
#include "core/result.h"

namespace qv {

// Palette type codes, as callers and the storyboard description use them.
enum PaletteType : int { kPaletteAct = 0, kPaletteRiff = 1, kPaletteJasc = 2 };

constexpr size_t kActFileSize = 768;
constexpr size_t kRiffPaletteFileSize = 1048;
constexpr size_t kJascHeaderSize = 21;  // "JASC-PAL\r\n0100\r\n256\r\n"

// The display name of a palette type ("Adobe Color Table (.ACT)", ...); "" for others.
const char* paletteTypeName(int type);

// --- bytes in, palette out -------------------------------------------------------

// An Adobe Color Table: exactly 768 bytes, the first triple is entry 255.
bool parseActPalette(const uint8_t* data, size_t size, Palette256& out);
// A RIFF palette: 256 entries of red, green, blue, flags from byte 24, the first entry
// in the file is palette entry 255. A truncated file leaves the missing entries black.
// The data must start with "RIFF".
bool parseRiffPalette(const uint8_t* data, size_t size, Palette256& out);
// A Jasc palette: text from byte 21 on, one "red green blue" line per entry from 0.
// A short file sets only the entries it has; the rest stay black. The data must start
// with "JASC" in any case.
bool parseJascPalette(const uint8_t* data, size_t size, Palette256& out);
// Reads palette bytes as a file with the given extension ("act" or "pal", any case)
// would be read: "act" is an Adobe table; "pal" is a Jasc or RIFF palette by its first
// four characters. `out` is changed only on success; every fourth byte becomes 0.
bool parsePaletteBytes(const std::string& extension, const uint8_t* data, size_t size, Palette256& out);

// --- palette in, bytes out -------------------------------------------------------

// The complete file contents of a palette of the given type; false for an unknown type.
bool serializePalette(const Palette256& palette, int type, Bytes& out);

// --- files -----------------------------------------------------------------------

// Reads the palette file at `path` into `target`. False (target untouched) when the file
// does not exist, cannot be read, has an extension other than "act"/"pal", or is not
// a valid file of its kind.
bool ImportPaletteFromFile(const std::string& path, Palette256& target);

// The name an export writes: the path without its last four characters when it has an
// extension, then `suffix`, then ".act" (type 0) or ".pal" (types 1, 2). "" for an empty
// path or an unknown type.
std::string exportedPalettePath(const std::string& path, int type, const std::string& suffix = {});

// Writes `palette` in the given format to exportedPalettePath(path, type, suffix), in one
// piece: a failed write leaves any existing file as it was. False when the path is empty,
// the type unknown or the file cannot be written.
bool ExportPaletteToFile(const std::string& path, const Palette256& palette, int type,
                         const std::string& suffix = {});

// Deletes the palette file an export with this path and type would have written, if
// it exists. Unknown types do nothing.
void DeletePaletteFile(const std::string& path, int type);

// --- special colours -------------------------------------------------------------

// The 32 colours for palette indices 224..255 that the storyboard conversions impose.
constexpr int kSpecialFirst = 224;
constexpr int kSpecialCount = 32;
using SpecialColours = std::array<PaletteEntry, kSpecialCount>;

// The built-in set: light greys at 224..239, shadow greys at 240..254, magenta at 255,
// every fourth byte 255.
SpecialColours builtinSpecialColours();

// Modes of LoadSpecialColours.
enum SpecialColoursMode : int { kSpecialCurrent = 0, kSpecialHardcoded = 1, kSpecialSelective = 2 };

// Mode 1: `colours` becomes the built-in set. Mode 2: entries 224..255 of the palette file
// at `path`; when it cannot be read the result is "'%s'\r\nCannot load palette file." and
// `colours` stays as it was. Any other mode changes nothing.
Status LoadSpecialColours(int mode, const std::string& path, SpecialColours& colours);

}  // namespace qv
