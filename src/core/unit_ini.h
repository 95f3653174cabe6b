// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A game unit's INI file: which FLC animation (and which sound) belongs to each action.
//
// The animations are read the way the game's own tools read them: the part between the
// first "[Animations]" and the first "STOP_AT_LAST_FRAME=" after it; for each key of
// the fixed key table, its first occurrence there (a plain, case-sensitive substring
// search), the value up to the end of its line, trimmed. Sounds come from the
// "[Sound Effects]" section, read line by line with the same keys.
//
// A file reference is either relative to the INI file's folder, or starts with a dot
// (the game writes "..\Other\File.flc" for other units): then its first two characters
// are dropped and the rest is relative to "Art\Units" of a game installation. The game's
// files come from Windows, so names are matched without regard to case, separators may
// be either slash, and a reference that would leave its base folder is refused.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"

namespace qv {

// The action keys, in the order in which files are collected and opened.
constexpr size_t kUnitIniKeyCount = 20;
extern const std::array<const char*, kUnitIniKeyCount> UnitIniKeyTable;

struct UnitIniReference {
    std::string key;            // "RUN"
    std::string value;          // the reference as written, trimmed
    bool gameRelative = false;  // starts with '.': relative to a game installation's Art\Units
};

struct UnitIni {
    std::vector<UnitIniReference> animations;  // in key-table order; keys without a value left out
    std::vector<UnitIniReference> sounds;      // "[Sound Effects]", in key-table order
    std::vector<std::string> duplicateKeys;    // keys written more than once in a section (the first counts)
};

// Reads the INI text in `data`. Fails, with a message that names `path`, when there is
// no "[Animations]" section or it has no "STOP_AT_LAST_FRAME=" line.
Status parseUnitIni(const std::string& path, const uint8_t* data, size_t size, UnitIni& out);

enum class ReferenceState { Found, Missing, Outside };

struct ResolvedReference {
    UnitIniReference ref;
    ReferenceState state = ReferenceState::Missing;
    std::string path;  // the file found (Found), else the first place looked at
};

// Finds the file `ref` names: in `iniFolder`, or for a game-relative reference in
// "<folder>/Art/Units" of each of `gameFolders` in order (the first that has it wins).
ResolvedReference resolveUnitIniReference(const UnitIniReference& ref, const std::string& iniFolder,
                                          const std::vector<std::string>& gameFolders);

// The existing file under `base` whose relative path matches `relative` (separators '\'
// or '/', each name compared without regard to ASCII case, and, for names that are not
// UTF-8, also as Windows-1252 text). Empty when there is none; `outside` is set when
// `relative` is absolute or climbs out of `base` with "..".
std::string findFileNoCase(const std::string& base, const std::string& relative, bool* outside = nullptr);

}  // namespace qv
