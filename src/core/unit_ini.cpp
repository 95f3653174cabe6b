// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/unit_ini.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>

#include "core/file_io.h"
#include "core/strings.h"

namespace qv {

namespace fs = std::filesystem;

const std::array<const char*, kUnitIniKeyCount> UnitIniKeyTable = {
    "BLANK",  "DEFAULT",  "RUN",      "ATTACK1",  "ATTACK2", "ATTACK3", "DEATH",
    "FORTIFY", "FIDGET",  "VICTORY",  "BUILD",    "ROAD",    "MINE",    "IRRIGATE",
    "FORTRESS", "CAPTURE", "JUNGLE",  "FOREST",   "PLANT",   "STOP_AT_LAST_FRAME"};

namespace {

constexpr char kAnimationsSection[] = "[Animations]";
constexpr char kEndMarker[] = "STOP_AT_LAST_FRAME=";
constexpr char kSoundSection[] = "[Sound Effects]";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

UnitIniReference makeReference(const std::string& key, const std::string& value)
{
    UnitIniReference r;
    r.key = key;
    r.value = value;
    r.gameRelative = !value.empty() && value[0] == '.';
    return r;
}

// Lines of text[begin, end) as (key, value) of "KEY=VALUE", for keys of the table.
void forEachKeyLine(const std::string& text, size_t begin, size_t end,
                    const std::function<void(size_t keyIndex, const std::string& value)>& fn)
{
    size_t pos = begin;
    while (pos < end) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string::npos || eol > end) eol = end;
        const std::string line = trim(text.substr(pos, eol - pos));
        const size_t eq = line.find('=');
        if (eq != std::string::npos) {
            const std::string key = trim(line.substr(0, eq));
            for (size_t k = 0; k < kUnitIniKeyCount; ++k)
                if (key == UnitIniKeyTable[k]) fn(k, trim(line.substr(eq + 1)));
        }
        pos = eol + 1;
    }
}

void noteDuplicates(const std::string& text, size_t begin, size_t end, std::vector<std::string>& out)
{
    std::array<int, kUnitIniKeyCount> seen{};
    forEachKeyLine(text, begin, end, [&](size_t k, const std::string&) {
        if (++seen[k] == 2) {
            const std::string key = UnitIniKeyTable[k];
            if (std::find(out.begin(), out.end(), key) == out.end()) out.push_back(key);
        }
    });
}

// Windows-1252 text as UTF-8 (the game's names are single-byte Windows text).
std::string cp1252ToUtf8(const std::string& s)
{
    static const uint16_t k80[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                     0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    for (unsigned char c : s) {
        uint32_t u = c < 0x80 ? c : c < 0xA0 ? k80[c - 0x80] : c;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

bool hasHighBytes(const std::string& s)
{
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The entry of `dir` named `name` without regard to ASCII case, or an empty path.
fs::path findEntry(const fs::path& dir, const std::string& name)
{
    std::error_code ec;
    if (fs::exists(dir / name, ec)) return dir / name;
    const std::string alt = hasHighBytes(name) ? cp1252ToUtf8(name) : std::string();
    if (!alt.empty() && fs::exists(dir / alt, ec)) return dir / alt;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (equalsNoCase(entry, name) || (!alt.empty() && equalsNoCase(entry, alt))) return it->path();
    }
    return {};
}

// The names of a relative reference; false when it is absolute or climbs out with "..".
bool splitReference(const std::string& relative, std::vector<std::string>& names)
{
    names.clear();
    if (!relative.empty() && (relative[0] == '\\' || relative[0] == '/' || (relative.size() > 1 && relative[1] == ':')))
        return false;
    size_t pos = 0;
    while (pos <= relative.size()) {
        size_t sep = relative.find_first_of("\\/", pos);
        if (sep == std::string::npos) sep = relative.size();
        const std::string name = relative.substr(pos, sep - pos);
        if (name == "..") return false;
        if (!name.empty() && name != ".") names.push_back(name);
        pos = sep + 1;
    }
    return true;
}

// The existing file or folder under `base` that `names` lead to, or an empty path.
fs::path locate(const fs::path& base, const std::vector<std::string>& names)
{
    if (names.empty() || base.empty()) return {};
    fs::path at = base;
    for (const std::string& name : names) {
        if (name.find('\0') != std::string::npos) return {};  // no file system name holds one
        at = findEntry(at, name);
        if (at.empty()) return {};
    }
    return at;
}

}  // namespace

std::string findFileNoCase(const std::string& base, const std::string& relative, bool* outside)
{
    std::vector<std::string> names;
    const bool inside = splitReference(relative, names);
    if (outside) *outside = !inside;
    if (!inside) return {};
    const fs::path found = locate(base, names);
    std::error_code ec;
    return !found.empty() && fs::is_regular_file(found, ec) ? found.string() : std::string();
}

Status parseUnitIni(const std::string& path, const uint8_t* data, size_t size, UnitIni& out)
{
    out = UnitIni{};
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t sectionStart = text.find(kAnimationsSection);
    if (sectionStart == std::string::npos) return Status::failure(formatMessage(str::IDS_INI_NO_ANIMATIONS, {path}));
    const size_t sectionEnd = text.find(kEndMarker, sectionStart);
    if (sectionEnd == std::string::npos) return Status::failure(formatMessage(str::IDS_INI_NO_END_MARKER, {path}));

    for (const char* key : UnitIniKeyTable) {
        const size_t at = text.find(key, sectionStart);
        if (at == std::string::npos || at >= sectionEnd) continue;
        // The value starts after the character that follows the key (its '=').
        const size_t valueStart = at + std::char_traits<char>::length(key) + 1;
        if (valueStart >= text.size()) continue;
        // Lines end in CR LF as the game writes them; a bare LF (a file edited elsewhere)
        // ends them too. A last line without a line end yields nothing.
        const size_t eol = text.find('\n', valueStart);
        if (eol == std::string::npos || eol == valueStart) continue;
        const std::string value = trim(text.substr(valueStart, eol - valueStart));
        if (!value.empty()) out.animations.push_back(makeReference(key, value));
    }
    noteDuplicates(text, sectionStart, sectionEnd, out.duplicateKeys);

    const size_t sounds = text.find(kSoundSection);
    if (sounds != std::string::npos) {
        const size_t begin = sounds + std::char_traits<char>::length(kSoundSection);
        size_t end = text.find("\n[", begin);
        if (end == std::string::npos) end = text.size();
        std::array<bool, kUnitIniKeyCount> taken{};
        forEachKeyLine(text, begin, end, [&](size_t k, const std::string& value) {
            if (taken[k] || value.empty()) return;
            taken[k] = true;
            out.sounds.push_back(makeReference(UnitIniKeyTable[k], value));
        });
        std::sort(out.sounds.begin(), out.sounds.end(), [](const UnitIniReference& a, const UnitIniReference& b) {
            auto index = [](const std::string& key) {
                return std::find_if(UnitIniKeyTable.begin(), UnitIniKeyTable.end(),
                                    [&](const char* k) { return key == k; }) -
                       UnitIniKeyTable.begin();
            };
            return index(a.key) < index(b.key);
        });
        noteDuplicates(text, begin, end, out.duplicateKeys);
    }
    return Status::success();
}

ResolvedReference resolveUnitIniReference(const UnitIniReference& ref, const std::string& iniFolder,
                                          const std::vector<std::string>& gameFolders)
{
    ResolvedReference r;
    r.ref = ref;
    bool outside = false;
    if (!ref.gameRelative) {
        r.path = findFileNoCase(iniFolder, ref.value, &outside);
        if (r.path.empty()) r.path = (fs::path(iniFolder) / ref.value).string();
    } else {
        // "..\Other\File.flc" without its first two characters is "\Other\File.flc", which
        // continues "Art\Units": its leading separator joins, it does not make it absolute.
        std::string rest = ref.value.size() > 2 ? ref.value.substr(2) : std::string();
        rest.erase(0, rest.find_first_not_of("\\/"));
        std::vector<std::string> names;
        outside = !splitReference(rest, names);
        for (size_t i = 0; !outside && i < gameFolders.size(); ++i) {
            std::error_code ec;
            fs::path units = locate(gameFolders[i], {"Art", "Units"});
            if (units.empty() || !fs::is_directory(units, ec)) units = fs::path(gameFolders[i]) / "Art" / "Units";
            const std::string found = findFileNoCase(units.string(), rest);
            if (!found.empty()) {
                r.path = found;
                break;
            }
            if (r.path.empty()) r.path = (units / rest).string();
        }
        if (r.path.empty()) r.path = rest;
    }
    std::error_code ec;
    if (outside)
        r.state = ReferenceState::Outside;
    else if (fs::is_regular_file(r.path, ec))
        r.state = ReferenceState::Found;
    else
        r.state = ReferenceState::Missing;
    return r;
}

}  // namespace qv
