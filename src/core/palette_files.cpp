// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/palette_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/file_io.h"
#include "core/strings.h"

namespace qv {

namespace {

constexpr uint8_t kRiffHeader[24] = {'R', 'I', 'F', 'F', 0x10, 0x04, 0, 0, 'P', 'A', 'L', ' ',
                                     'd', 'a', 't', 'a', 0x04, 0x04, 0, 0,   0x00, 0x03, 0x00, 0x01};

// Largest palette file we read; every valid one is far smaller, but a Jasc file may
// carry comments or padding after its colours.
constexpr uint64_t kMaxPaletteFileSize = 16u * 1024 * 1024;

// Collects the characters of one number the way the C library's atoi reads them:
// leading blanks, an optional sign, then digits up to the first other character.
// Values beyond the 32-bit range saturate, as a 32-bit strtol does.
class DecimalCollector {
public:
    void clear() { *this = DecimalCollector{}; }
    void add(char c)
    {
        switch (state_) {
        case State::Leading:
            if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') return;
            if (c == '+' || c == '-') {
                negative_ = c == '-';
                state_ = State::Digits;
                return;
            }
            state_ = State::Digits;
            [[fallthrough]];
        case State::Digits:
            if (c >= '0' && c <= '9') {
                if (magnitude_ <= kLimit) magnitude_ = magnitude_ * 10 + (c - '0');
                return;
            }
            state_ = State::Done;
            return;
        case State::Done: return;
        }
    }
    bool empty() const { return !anything_; }
    void mark() { anything_ = true; }
    // The number as the byte an 8-bit colour component takes from it.
    uint8_t byteValue() const
    {
        int64_t v = negative_ ? -magnitude_ : magnitude_;
        if (v > INT32_MAX) v = INT32_MAX;
        if (v < INT32_MIN) v = INT32_MIN;
        return static_cast<uint8_t>(static_cast<uint32_t>(static_cast<int32_t>(v)) & 0xFFu);
    }

private:
    enum class State { Leading, Digits, Done };
    static constexpr int64_t kLimit = int64_t(1) << 40;
    State state_ = State::Leading;
    bool negative_ = false;
    bool anything_ = false;
    int64_t magnitude_ = 0;
};

void clearFourthBytes(Palette256& p)
{
    for (auto& e : p.entries) e.reserved = 0;
}

bool startsWithNoCase(const uint8_t* data, size_t size, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    if (size < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char a = static_cast<char>(data[i]);
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (a != prefix[i]) return false;
    }
    return true;
}

}  // namespace

const char* paletteTypeName(int type)
{
    switch (type) {
    case kPaletteAct: return str::IDS_PALETTE_TYPE_ACT;
    case kPaletteRiff: return str::IDS_PALETTE_TYPE_RIFF;
    case kPaletteJasc: return str::IDS_PALETTE_TYPE_JASC;
    default: return "";
    }
}

bool parseActPalette(const uint8_t* data, size_t size, Palette256& out)
{
    if (size != kActFileSize) return false;
    Palette256 p;
    for (int i = 0; i < 256; ++i) {
        const uint8_t* t = data + 3 * i;
        p[255 - i] = PaletteEntry::fromRgb(t[0], t[1], t[2]);
    }
    out = p;
    return true;
}

bool parseRiffPalette(const uint8_t* data, size_t size, Palette256& out)
{
    if (size < 4 || std::memcmp(data, "RIFF", 4) != 0) return false;
    Palette256 p;
    // An entry is taken when its three colour bytes are there; the flags byte is skipped.
    for (size_t i = 0; i < 256; ++i) {
        const size_t at = 24 + 4 * i;
        if (at + 3 > size) break;
        p[255 - i] = PaletteEntry::fromRgb(data[at], data[at + 1], data[at + 2]);
    }
    out = p;
    return true;
}

bool parseJascPalette(const uint8_t* data, size_t size, Palette256& out)
{
    if (!startsWithNoCase(data, size, "JASC")) return false;
    Palette256 p;
    int entry = 0;
    int component = 0;
    DecimalCollector number;
    for (size_t i = kJascHeaderSize; i < size && entry < 256; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == ' ') {
            if (component == 0)
                p[entry].red = number.byteValue();
            else
                p[entry].green = number.byteValue();
            ++component;
            number.clear();
        } else if (c == '\n') {
            p[entry].blue = number.byteValue();
            ++entry;
            component = 0;
            number.clear();
        } else if (c == '\r') {
            // carriage returns are ignored
        } else {
            number.mark();
            // A zero byte ends the number as it ends a C string.
            number.add(c == '\0' ? 'x' : c);
        }
    }
    if (entry < 256 && !number.empty()) p[entry].blue = number.byteValue();
    out = p;
    return true;
}

bool parsePaletteBytes(const std::string& extension, const uint8_t* data, size_t size, Palette256& out)
{
    Palette256 p;
    bool ok = false;
    if (equalsNoCase(extension, "act")) {
        ok = parseActPalette(data, size, p);
    } else if (equalsNoCase(extension, "pal")) {
        if (startsWithNoCase(data, size, "JASC"))
            ok = parseJascPalette(data, size, p);
        else if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0)
            ok = parseRiffPalette(data, size, p);
    }
    if (!ok) return false;
    clearFourthBytes(p);
    out = p;
    return true;
}

bool serializePalette(const Palette256& palette, int type, Bytes& out)
{
    switch (type) {
    case kPaletteAct: {
        out.assign(kActFileSize, 0);
        uint8_t* o = out.data();
        for (int i = 255; i >= 0; --i) {
            *o++ = palette[i].red;
            *o++ = palette[i].green;
            *o++ = palette[i].blue;
        }
        return true;
    }
    case kPaletteRiff: {
        out.assign(kRiffPaletteFileSize, 0);
        std::memcpy(out.data(), kRiffHeader, sizeof kRiffHeader);
        uint8_t* o = out.data() + sizeof kRiffHeader;
        for (int i = 255; i >= 0; --i, o += 4) {
            o[0] = palette[i].red;
            o[1] = palette[i].green;
            o[2] = palette[i].blue;
        }
        return true;
    }
    case kPaletteJasc: {
        // At most 13 bytes per line ("255 255 255\r\n").
        out.assign(kJascHeaderSize + 256 * 13, 0);
        std::memcpy(out.data(), "JASC-PAL\r\n0100\r\n256\r\n", kJascHeaderSize);
        size_t at = kJascHeaderSize;
        char line[32];
        for (int i = 0; i < 256; ++i) {
            const int n = std::snprintf(line, sizeof line, i < 255 ? "%d %d %d\r\n" : "%d %d %d", palette[i].red,
                                        palette[i].green, palette[i].blue);
            std::memcpy(out.data() + at, line, static_cast<size_t>(n));
            at += static_cast<size_t>(n);
        }
        out.resize(at);
        return true;
    }
    default: out.clear(); return false;
    }
}

bool ImportPaletteFromFile(const std::string& path, Palette256& target)
{
    if (!fileExists(path)) return false;
    Bytes data;
    if (!readWholeFile(path, data, kMaxPaletteFileSize)) return false;
    return parsePaletteBytes(fileExtension(path), data.data(), data.size(), target);
}

std::string exportedPalettePath(const std::string& path, int type, const std::string& suffix)
{
    if (path.empty() || type < kPaletteAct || type > kPaletteJasc) return {};
    std::string out = path;
    if (!fileExtension(path).empty()) out.erase(out.size() >= 4 ? out.size() - 4 : 0);
    out += suffix;
    out += type == kPaletteAct ? ".act" : ".pal";
    return out;
}

bool ExportPaletteToFile(const std::string& path, const Palette256& palette, int type, const std::string& suffix)
{
    const std::string target = exportedPalettePath(path, type, suffix);
    if (target.empty()) return false;
    Bytes data;
    if (!serializePalette(palette, type, data)) return false;
    return writeFileAtomic(target, data);
}

void DeletePaletteFile(const std::string& path, int type)
{
    const std::string target = exportedPalettePath(path, type);
    if (target.empty() || !fileExists(target)) return;
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(target), ec);
}

SpecialColours builtinSpecialColours()
{
    // round(191 + 64 k / 15) for k = 0..15, and round(12.8 (k + 1)) for k = 0..14.
    static constexpr uint8_t kLight[16] = {191, 195, 200, 204, 208, 212, 217, 221,
                                           225, 229, 234, 238, 242, 246, 251, 255};
    static constexpr uint8_t kShadow[15] = {13, 26, 38, 51, 64, 77, 90, 102, 115, 128, 141, 154, 166, 179, 192};
    SpecialColours c{};
    for (int k = 0; k < 16; ++k) c[k] = PaletteEntry{kLight[k], kLight[k], kLight[k], 255};
    for (int k = 0; k < 15; ++k) c[16 + k] = PaletteEntry{kShadow[k], kShadow[k], kShadow[k], 255};
    c[31] = PaletteEntry{255, 0, 255, 255};
    return c;
}

Status LoadSpecialColours(int mode, const std::string& path, SpecialColours& colours)
{
    if (mode == kSpecialHardcoded) {
        colours = builtinSpecialColours();
    } else if (mode == kSpecialSelective) {
        Palette256 p;
        if (!ImportPaletteFromFile(path, p))
            return Status::failure(formatMessage(str::IDS_CANNOT_LOAD_PALETTE_FILE, {path}));
        for (int k = 0; k < kSpecialCount; ++k) colours[k] = p[kSpecialFirst + k];
    }
    return Status::success();
}

}  // namespace qv
