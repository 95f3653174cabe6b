// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/civ_palettes.h"

#include <filesystem>
#include <system_error>

#include "core/compositor.h"
#include "core/file_io.h"
#include "core/pcx_picture.h"
#include "core/strings.h"

namespace qv {

namespace {

// Where the game keeps its schemes, below its install folder.
constexpr const char* kGamePaletteFolder = "Art/Units/Palettes";
// The subfolder the built-in schemes are unpacked into.
constexpr const char* kBuiltinPaletteFolder = "Palettes";

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == '/' || last == '\\') return folder + name;
    return folder + "/" + name;
}

bool isFolder(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(std::filesystem::path(path), ec);
}

bool makeFolder(const std::string& path)
{
    if (isFolder(path)) return true;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path), ec);
    return isFolder(path);
}

// Source 1: a built-in scheme already unpacked in one of the folders wins; otherwise it is
// unpacked into the first folder that takes it.
Status locateBuiltin(int fileNumber, const std::string& name, const CivPaletteSources& sources, std::string& path)
{
    const Status noResources = Status::failure(str::IDS_CIV_PAL_NO_RESOURCES);
    if (sources.builtinFolders.empty()) return noResources;
    for (const std::string& base : sources.builtinFolders) {
        const std::string candidate = joinPath(joinPath(base, kBuiltinPaletteFolder), name);
        if (fileExists(candidate)) {
            path = candidate;
            return Status::success();
        }
    }
    Bytes bytes;
    if (!sources.builtinScheme || !sources.builtinScheme(fileNumber, bytes) || bytes.empty()) return noResources;
    for (const std::string& base : sources.builtinFolders) {
        const std::string folder = joinPath(base, kBuiltinPaletteFolder);
        const std::string candidate = joinPath(folder, name);
        if (makeFolder(folder) && writeFileAtomic(candidate, bytes)) {
            path = candidate;
            return Status::success();
        }
    }
    return noResources;
}

}  // namespace

const std::array<uint32_t, kCivSchemeCount + 1> kCivSwatchColorRefs = {
    rgbRef(57, 100, 252),  rgbRef(233, 233, 233), rgbRef(231, 12, 12),   rgbRef(255, 142, 5),
    rgbRef(235, 235, 5),   rgbRef(11, 120, 10),   rgbRef(31, 219, 219),  rgbRef(57, 100, 252),
    rgbRef(255, 79, 242),  rgbRef(125, 1, 156),   rgbRef(144, 107, 11),  rgbRef(121, 225, 3),
    rgbRef(152, 11, 10),   rgbRef(151, 151, 151), rgbRef(3, 41, 148),    rgbRef(18, 137, 154),
    rgbRef(248, 197, 255), rgbRef(64, 64, 64),    rgbRef(195, 3, 255),   rgbRef(210, 183, 0),
    rgbRef(131, 0, 255),   rgbRef(175, 219, 237), rgbRef(118, 137, 57),  rgbRef(255, 195, 0),
    rgbRef(255, 112, 0),   rgbRef(198, 215, 153), rgbRef(119, 255, 176), rgbRef(194, 201, 72),
    rgbRef(178, 137, 82),  rgbRef(111, 86, 10),   rgbRef(73, 93, 48),    rgbRef(255, 200, 255),
    rgbRef(199, 172, 237),
};

std::string civPaletteFileName(int fileNumber)
{
    // "ntp%d.pcx", with "0" inserted at position 3 for numbers below 10.
    std::string name = "ntp" + std::to_string(fileNumber) + ".pcx";
    if (fileNumber < 10) name.insert(3, "0");
    return name;
}

int civNumberFromPath(const std::string& path)
{
    if (path.size() < 6) return 0;
    const char tens = path[path.size() - 6];
    const char ones = path[path.size() - 5];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return 0;
    return 1 + (tens - '0') * 10 + (ones - '0');
}

Status locateCivPalette(int civ, const CivPaletteSources& sources, std::string& path)
{
    const int fileNumber = civ - 1;
    if (fileNumber < 0) return Status::failure();
    const std::string name = civPaletteFileName(fileNumber);
    std::string found;
    switch (sources.palType) {
    case static_cast<int>(CivPaletteSource::GameFiles):
        if (!sources.gameFound) return Status::failure(str::IDS_CIV_PAL_GAME_NOT_REGISTERED);
        found = joinPath(joinPath(sources.gameFolder, kGamePaletteFolder), name);
        break;
    case static_cast<int>(CivPaletteSource::Resources): {
        const Status st = locateBuiltin(fileNumber, name, sources, found);
        if (!st) return st;
        break;
    }
    case static_cast<int>(CivPaletteSource::Folder):
        if (!isFolder(sources.paletteFolder)) return Status::failure(str::IDS_CIV_PAL_NO_FOLDER);
        found = joinPath(sources.paletteFolder, name);
        if (!fileExists(found)) return Status::failure(str::IDS_CIV_PAL_NO_FOLDER);
        break;
    default:
        break;  // an unknown source finds nothing
    }
    if (found.empty() || !fileExists(found))
        return Status::failure(formatMessage(str::IDS_CIV_PAL_FILE_NOT_EXIST, {found}));
    path = found;
    return Status::success();
}

bool copyCivPalette(const std::string& path, Palette256& target)
{
    if (!fileExists(path)) return false;
    PcxPicture picture;
    if (!picture.load(path)) return false;
    target = picture.palette();
    return true;
}

Palette256 applyCivScheme(const Palette256& base, const Palette256& scheme)
{
    Palette256 display = base;
    for (int i = 0; i < kCivSchemeColours; ++i) display[i] = scheme[i];
    return display;
}

Status civDisplayPalette(int civ, const CivPaletteSources& sources, const Palette256& base, Palette256& display)
{
    // For civilization 0 the scheme is `base` itself, which laid over `base` changes nothing.
    Palette256 scheme;
    if (Status st = paletteFromRes(civ, sources, base, scheme); !st) return st;
    display = applyCivScheme(base, scheme);
    return Status::success();
}

Status paletteFromRes(int civ, const CivPaletteSources& sources, const Palette256& base, Palette256& target)
{
    if (civ == 0) {
        target = base;
        return Status::success();
    }
    std::string path;
    const Status st = locateCivPalette(civ, sources, path);
    if (!st) return st;
    Palette256 scheme;
    if (!copyCivPalette(path, scheme)) return Status::failure();
    target = scheme;
    return Status::success();
}

}  // namespace qv
