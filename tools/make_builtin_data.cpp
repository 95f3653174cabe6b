// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// qv_make_builtin_data: makes the data files built into the programs (res/data/):
//   ntp00.pcx .. ntp31.pcx  the 32 civilization colour schemes, 900-byte PCX files of
//                           1 x 1 pixels whose entries 0..63 are a ramp of the
//                           civilization's colour with entry 6 exactly its swatch colour
//   Sea.pcx, Land.pcx       the 240 x 240 background pictures, 8 bits in one plane
//
//   qv_make_builtin_data DIR          writes the files into DIR
//   qv_make_builtin_data --check DIR  exits 1 unless the files in DIR are exactly what
//                                     this program makes
//
// Everything is computed with integers from fixed seeds, so every machine makes the same
// bytes.
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_io.h"
#include "core/civ_palettes.h"
#include "core/file_io.h"
#include "core/flc_format.h"

namespace {

using qv::Bytes;
using qv::Palette256;
using qv::PaletteEntry;

struct Rgb {
    int r, g, b;
};

PaletteEntry entry(int r, int g, int b)
{
    auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return PaletteEntry::fromRgb(clamp(r), clamp(g), clamp(b));
}

// A point between two colours, t out of n of the way.
PaletteEntry mix(Rgb a, Rgb b, int t, int n)
{
    return entry(a.r + (b.r - a.r) * t / n, a.g + (b.g - a.g) * t / n, a.b + (b.b - a.b) * t / n);
}

// ---- PCX writing ----------------------------------------------------------------------

// Run-length codes one line: runs of up to 63 equal bytes as a count byte and the value,
// a single byte below 0xC0 as itself.
void encodeLine(const uint8_t* line, int count, Bytes& out)
{
    int i = 0;
    while (i < count) {
        const uint8_t v = line[i];
        int run = 1;
        while (i + run < count && run < 63 && line[i + run] == v) ++run;
        if (run == 1 && v < 0xC0) {
            out.push_back(v);
        } else {
            out.push_back(static_cast<uint8_t>(0xC0 | run));
            out.push_back(v);
        }
        i += run;
    }
}

// The 128-byte header of an 8-bit one-plane picture.
void writeHeader(Bytes& out, int width, int height, int bytesPerLine)
{
    qv::ByteWriter w(out);
    w.u8(10);  // ZSoft
    w.u8(5);   // version 3.0, with a 256-colour palette block
    w.u8(1);   // run-length coding
    w.u8(8);   // bits per pixel and plane
    w.u16(0);
    w.u16(0);
    w.u16(static_cast<uint16_t>(width - 1));
    w.u16(static_cast<uint16_t>(height - 1));
    w.u16(72);  // dots per inch
    w.u16(72);
    w.zeros(48);  // 16-colour palette, unused
    w.u8(0);
    w.u8(1);  // planes
    w.u16(static_cast<uint16_t>(bytesPerLine));
    w.u16(1);  // colour palette
    w.zeros(128 - 70);
}

void writePalette(Bytes& out, const Palette256& pal)
{
    out.push_back(12);
    for (const PaletteEntry& e : pal.entries) {
        out.push_back(e.red);
        out.push_back(e.green);
        out.push_back(e.blue);
    }
}

Bytes pcxPicture(const std::vector<uint8_t>& pixels, int width, int height, const Palette256& pal)
{
    Bytes out;
    writeHeader(out, width, height, width);
    for (int y = 0; y < height; ++y) encodeLine(pixels.data() + static_cast<size_t>(y) * width, width, out);
    writePalette(out, pal);
    return out;
}

// ---- Civilization schemes -------------------------------------------------------------

// Entries 64..255, the same in every scheme: ten general ramps of sixteen shades, the
// light entries, the shadow entries and magenta for transparency.
void fillCommonEntries(Palette256& pal)
{
    static const std::pair<Rgb, Rgb> ramps[10] = {
        {{16, 16, 16}, {248, 248, 248}},  // greys
        {{40, 8, 4}, {252, 120, 100}},    // reds
        {{36, 20, 8}, {236, 184, 120}},   // browns
        {{48, 40, 4}, {252, 236, 120}},   // yellows
        {{8, 36, 8}, {150, 232, 120}},    // greens
        {{12, 28, 20}, {120, 180, 140}},  // dark greens
        {{4, 32, 40}, {130, 230, 236}},   // cyans
        {{4, 12, 48}, {120, 160, 252}},   // blues
        {{28, 8, 40}, {210, 140, 240}},   // purples
        {{60, 36, 24}, {252, 214, 180}},  // skin tones
    };
    for (int r = 0; r < 10; ++r)
        for (int i = 0; i < 16; ++i) pal[64 + r * 16 + i] = mix(ramps[r].first, ramps[r].second, i, 15);
    // Light: a warm glow, brighter with the index.
    for (int i = 0; i < 16; ++i) pal[qv::kLightFirst + i] = mix({255, 180, 60}, {255, 255, 220}, i, 15);
    // Shadow: greys, darker with the amount (255 - index).
    for (int v = qv::kShadowFirst; v <= qv::kShadowLast; ++v) {
        const int g = 8 * (v - qv::kShadowFirst + 1);
        pal[v] = entry(g, g, g);
    }
    pal[qv::kTransparentIndex] = entry(255, 0, 255);
}

// Entries 0..63: tints of the civilization's colour towards white below entry 6, the
// colour itself at 6, and shades towards a fifth of it from 7 to 63.
Palette256 schemePalette(int fileNumber)
{
    Palette256 pal;
    const uint32_t ref = qv::kCivSwatchColorRefs[static_cast<size_t>(fileNumber) + 1];
    const Rgb c{static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF), static_cast<int>((ref >> 16) & 0xFF)};
    for (int k = 0; k < qv::kCivSwatchIndex; ++k) pal[k] = mix(c, {255, 255, 255}, qv::kCivSwatchIndex - k, 8);
    pal[qv::kCivSwatchIndex] = entry(c.r, c.g, c.b);
    const int span = qv::kCivSchemeColours - 1 - qv::kCivSwatchIndex;  // 57 steps
    for (int k = qv::kCivSwatchIndex + 1; k < qv::kCivSchemeColours; ++k) {
        const int keep = 5 * span - 4 * (k - qv::kCivSwatchIndex);  // out of 5 x span
        pal[k] = entry(c.r * keep / (5 * span), c.g * keep / (5 * span), c.b * keep / (5 * span));
    }
    fillCommonEntries(pal);
    return pal;
}

// A scheme file: 128-byte header, one line of 2 bytes (the pixel, index 6, and a pad
// byte) coded in 3 bytes, and the 769-byte palette block: 900 bytes.
Bytes schemeFile(int fileNumber)
{
    Bytes out;
    writeHeader(out, 1, 1, 2);
    out.push_back(0xC1);
    out.push_back(static_cast<uint8_t>(qv::kCivSwatchIndex));
    out.push_back(0);
    writePalette(out, schemePalette(fileNumber));
    return out;
}

// ---- Background pictures --------------------------------------------------------------

constexpr int kSide = 240;

// A small, fixed pseudo-random hash of a grid point.
uint32_t hash2(int x, int y, uint32_t seed)
{
    uint32_t h = seed ^ (static_cast<uint32_t>(x) * 0x27D4EB2Du) ^ (static_cast<uint32_t>(y) * 0x165667B1u);
    h ^= h >> 15;
    h *= 0x85EBCA77u;
    h ^= h >> 13;
    h *= 0xC2B2AE3Du;
    h ^= h >> 16;
    return h;
}

// Smooth value noise, 0..255, on a grid of `cell` pixels that wraps every 240 pixels so the
// picture tiles.
int valueNoise(int x, int y, int cell, uint32_t seed)
{
    const int cells = kSide / cell;
    const int gx = x / cell, gy = y / cell;
    const int fx = x % cell, fy = y % cell;
    auto corner = [&](int cx, int cy) { return static_cast<int>(hash2(cx % cells, cy % cells, seed) & 0xFF); };
    const int a = corner(gx, gy), b = corner(gx + 1, gy);
    const int c = corner(gx, gy + 1), d = corner(gx + 1, gy + 1);
    const int top = a * (cell - fx) + b * fx;
    const int bottom = c * (cell - fx) + d * fx;
    return (top * (cell - fy) + bottom * fy) / (cell * cell);
}

// Several octaves of value noise, 0..255.
int fractalNoise(int x, int y, uint32_t seed)
{
    return (valueNoise(x, y, 60, seed) * 8 + valueNoise(x, y, 30, seed + 1) * 4 + valueNoise(x, y, 15, seed + 2) * 2 +
            valueNoise(x, y, 8, seed + 3) * 2) /
           16;
}

// A periodic wave, -64..64, over a phase of 0..255 (two parabolas).
int wave(int phase)
{
    const int p = phase & 0xFF;
    const int q = p & 0x7F;
    const int v = q * (128 - q) / 64;  // 0..64
    return p < 128 ? v : -v;
}

// The sea: deep blues with lighter crests running diagonally and a little foam on the
// highest of them. Indices 0..191 are a ramp from deep to light blue, 192..255 foam.
std::pair<std::vector<uint8_t>, Palette256> seaPicture()
{
    Palette256 pal;
    for (int i = 0; i < 192; ++i) pal[i] = mix({10, 40, 96}, {96, 168, 214}, i, 191);
    for (int i = 192; i < 256; ++i) pal[i] = mix({150, 200, 226}, {236, 246, 250}, i - 192, 63);
    std::vector<uint8_t> pixels(kSide * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int swell = fractalNoise(x, y, 0x5EA5EAu);  // 0..255
            // Long crests, slightly slanted and bent by the swell, and a smaller cross
            // chop; whole periods fit in 240 pixels, so the picture tiles.
            const int crest = wave((x * 256 + y * 256 * 5) / kSide + swell / 2);
            const int chop = wave((x * 256 * 3 - y * 256 * 2) / kSide + swell / 3);
            int v = 60 + swell / 3 + crest + chop / 3;  // about -25..230
            const int speck = static_cast<int>(hash2(x, y, 0xF0A3u) & 0x3F);
            if (crest > 58 && swell > 100 && speck < 18) v = 200 + speck * 3;  // foam on the crests
            else if (v > 191) v = 191;
            if (v < 0) v = 0;
            pixels[static_cast<size_t>(y) * kSide + x] = static_cast<uint8_t>(v);
        }
    }
    return {std::move(pixels), pal};
}

// The land: grassland with patches of dry earth and scattered darker tufts and pebbles.
// Indices 0..127 are greens from dark to light, 128..223 browns, 224..255 pebbles.
std::pair<std::vector<uint8_t>, Palette256> landPicture()
{
    Palette256 pal;
    for (int i = 0; i < 128; ++i) pal[i] = mix({28, 64, 16}, {128, 170, 64}, i, 127);
    for (int i = 128; i < 224; ++i) pal[i] = mix({84, 58, 30}, {176, 142, 92}, i - 128, 95);
    for (int i = 224; i < 256; ++i) pal[i] = mix({96, 92, 84}, {196, 190, 176}, i - 224, 31);
    std::vector<uint8_t> pixels(kSide * kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int ground = fractalNoise(x, y, 0x1A4Du);   // earth where high
            const int light = fractalNoise(x, y, 0x6E3Bu);    // brightness
            const uint32_t grain = hash2(x, y, 0x7777u);
            const int jitter = static_cast<int>(grain & 0x1F) - 16;
            int v;
            if (ground > 150) {
                v = 128 + (light * 3 / 8) + jitter;  // earth
                if (v < 128) v = 128;
                if (v > 223) v = 223;
            } else {
                v = light / 2 + jitter;  // grass
                if ((grain >> 8 & 0x3F) == 0) v -= 30;  // a darker tuft
                if (v < 0) v = 0;
                if (v > 127) v = 127;
            }
            if ((grain >> 16 & 0x1FF) == 0) v = 224 + static_cast<int>(grain >> 25 & 0x1F);  // a pebble
            pixels[static_cast<size_t>(y) * kSide + x] = static_cast<uint8_t>(v);
        }
    }
    return {std::move(pixels), pal};
}

// Every built-in file, by name.
std::vector<std::pair<std::string, Bytes>> builtinFiles()
{
    std::vector<std::pair<std::string, Bytes>> files;
    for (int n = 0; n < qv::kCivSchemeCount; ++n) files.emplace_back(qv::civPaletteFileName(n), schemeFile(n));
    auto sea = seaPicture();
    files.emplace_back("Sea.pcx", pcxPicture(sea.first, kSide, kSide, sea.second));
    auto land = landPicture();
    files.emplace_back("Land.pcx", pcxPicture(land.first, kSide, kSide, land.second));
    return files;
}

int usage()
{
    std::fprintf(stderr, "usage: qv_make_builtin_data DIR\n       qv_make_builtin_data --check DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (!(argc == 2 && argv[1][0] != '-') && !check) return usage();
    const std::string dir = argv[argc - 1];
    int failures = 0;
    for (const auto& [name, bytes] : builtinFiles()) {
        const std::string path = dir + "/" + name;
        if (check) {
            Bytes existing;
            if (!qv::readWholeFile(path, existing) || existing != bytes) {
                std::fprintf(stderr, "%s differs from what qv_make_builtin_data makes\n", path.c_str());
                ++failures;
            }
        } else if (!qv::writeFileAtomic(path, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
