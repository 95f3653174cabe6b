// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Writes the starting corpus of every fuzz target: small valid (and a few damaged) inputs
// made with the program's own writers and the test builders.
//   make_seeds OUT_DIR        writes OUT_DIR/<fuzz target>/<seed>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "core/byte_io.h"
#include "core/file_io.h"
#include "core/flc_format.h"
#include "core/palette_files.h"
#include "core/pcx_codec.h"
#include "core/storyboard.h"
#include "support/flc_builder.h"
#include "support/unit_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

std::filesystem::path g_out;
int g_written = 0;

void put(const std::string& target, const std::string& name, const Bytes& bytes)
{
    const std::filesystem::path dir = g_out / target;
    std::filesystem::create_directories(dir);
    if (!writeFileAtomic((dir / name).string(), bytes)) {
        std::fprintf(stderr, "make_seeds: cannot write %s\n", (dir / name).string().c_str());
        std::exit(1);
    }
    ++g_written;
}

// FLC files: the game's layouts and the odd corners of the format.
std::vector<std::pair<std::string, Bytes>> flcSeeds()
{
    std::vector<std::pair<std::string, Bytes>> seeds;
    AnimationShape unit;
    unit.width = 24;
    unit.height = 16;
    unit.directions = 8;
    unit.framesPerDirection = 2;
    seeds.emplace_back("unit.flc", buildAnimation(unit));

    AnimationShape leader;
    leader.width = 20;
    leader.height = 20;
    leader.directions = 1;
    leader.framesPerDirection = 3;
    leader.leaderHead = true;
    seeds.emplace_back("leader.flc", buildAnimation(leader));

    AnimationShape odd;  // an odd width brings the last-pixel word of the delta chunks
    odd.width = 7;
    odd.height = 5;
    odd.directions = 2;
    odd.framesPerDirection = 3;
    seeds.emplace_back("odd_width.flc", buildAnimation(odd));

    // Every chunk kind, a prefix block, an unknown chunk, a partial palette and a frame
    // with more than five chunks.
    const int w = 8, h = 6;
    const Picture a = testPicture(w, h, 1, 0), b = testPicture(w, h, 1, 1);
    FlcBuilder mixed(w, h);
    mixed.header.frames = 5;
    mixed.block(0xF100, Bytes(10, 0));
    mixed.frame({Chunk::color256(testPalette()), Chunk::byteRun(a, w, h)});
    mixed.frame({Chunk::delta(a, b, w, h)});
    mixed.frame({Chunk::copy(a)});
    mixed.frame({Chunk::black(), Chunk::raw(0x1234, Bytes(4, 7))});
    std::vector<PalettePacket> packets(2);
    packets[0].count = 2;
    packets[0].colours = {PaletteEntry::fromRgb(1, 2, 3), PaletteEntry::fromRgb(4, 5, 6)};
    packets[1].skip = 4;
    packets[1].count = 1;
    packets[1].colours = {PaletteEntry::fromRgb(7, 8, 9)};
    mixed.frame({Chunk::raw(kChunkColor256, palettePacketsPayload(packets)).padded(), Chunk::delta(b, a, w, h)});
    mixed.frame({Chunk::black(), Chunk::copy(b), Chunk::delta(b, a, w, h), Chunk::delta(a, b, w, h),
                 Chunk::copy(a), Chunk::black()});
    seeds.emplace_back("mixed.flc", mixed.build());

    // Only key frames: kept as the animation ("unusual").
    FlcBuilder keys(w, h);
    keys.header.frames = 1;
    keys.header.framesPerDirection = 0;
    keys.frame({Chunk::color256(testPalette()), Chunk::byteRun(a, w, h)});
    seeds.emplace_back("key_only.flc", keys.build());

    // A damaged one: the last frame's size runs past the end.
    Bytes cut = buildAnimation(odd);
    cut.resize(cut.size() - 5);
    seeds.emplace_back("truncated.flc", cut);
    return seeds;
}

// Small pictures at both depths, with runs and single bytes of every kind.
Bitmap seedPicture(int w, int h, int bitsPerPixel)
{
    Bitmap bmp = Bitmap::create(w, h, bitsPerPixel);
    for (size_t i = 0; i < bmp.pixels.size(); ++i)
        bmp.pixels[i] = static_cast<uint8_t>(i % 7 == 0 ? 0xC5 : (i / 5) * 37);
    bmp.palette = testPalette();
    return bmp;
}

Bytes encoded(const Bitmap& bmp, bool pcx)
{
    Bytes out;
    const Status st = pcx ? encodePcx(bmp, out) : encodeBmp(bmp, out);
    if (!st) {
        std::fprintf(stderr, "make_seeds: cannot encode a picture\n");
        std::exit(1);
    }
    return out;
}

// A description record followed by its sheet.
Bytes storyboardSeed(int w, int h, int F, int D, bool pcx, int bitsPerPixel, int paletteType)
{
    StoryboardInfo info;
    std::snprintf(info.baseName, sizeof info.baseName, "seed");
    info.frameWidth = static_cast<uint8_t>(w);
    info.frameHeight = static_cast<uint8_t>(h);
    info.framesPerDirection = static_cast<uint8_t>(F);
    info.directionCount = static_cast<uint8_t>(D);
    info.sheetWidth = static_cast<uint16_t>(sheetWidthFor(w, F));
    info.sheetHeight = static_cast<uint16_t>(sheetHeightFor(h, D));
    info.speed = 100;
    info.imageType = pcx ? kFormatPcx : kFormatBmp;
    info.paletteType = static_cast<uint8_t>(paletteType);
    Bytes out(kStoryboardInfoSize);
    info.serialize(out.data());
    const Bytes sheet = encoded(seedPicture(info.sheetWidth, info.sheetHeight, bitsPerPixel), pcx);
    out.insert(out.end(), sheet.begin(), sheet.end());
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds OUT_DIR\n");
        return 2;
    }
    g_out = argv[1];

    for (const auto& [name, bytes] : flcSeeds()) {
        put("fuzz_flc_reader", name, bytes);
        put("fuzz_flc_patcher", name, bytes);
    }

    // Chunk data for the decoders alone: width - 1, height - 1, a seed, then the data.
    const int decodeSizes[][2] = {{24, 16}, {7, 5}, {240, 3}, {150, 2}};
    for (const auto& sz : decodeSizes) {
        const int w = sz[0], h = sz[1];
        const Picture a = testPicture(w, h, 2, 0, 256), b = testPicture(w, h, 2, 3, 256);
        const std::string tag = std::to_string(w) + "x" + std::to_string(h);
        for (const Bytes& payload : {byteRunPayload(a, w, h), deltaPayload(a, b, w, h)}) {
            Bytes seed = {static_cast<uint8_t>(w - 1), static_cast<uint8_t>(h - 1), 0};
            seed.insert(seed.end(), payload.begin(), payload.end());
            put("fuzz_flc_decode", tag + "_" + std::to_string(seed.size()), seed);
        }
    }

    for (int bits : {8, 24}) {
        const std::string b = std::to_string(bits);
        put("fuzz_pcx", "picture" + b + ".pcx", encoded(seedPicture(13, 5, bits), true));
        put("fuzz_bmp", "picture" + b + ".bmp", encoded(seedPicture(13, 5, bits), false));
        put("fuzz_bmp", "picture" + b + ".pcx", encoded(seedPicture(4, 3, bits), true));
    }
    Bytes noPalette = encoded(seedPicture(6, 2, 8), true);
    noPalette.resize(noPalette.size() - kPcxPaletteBlockSize);
    put("fuzz_pcx", "no_palette.pcx", noPalette);

    for (int type = kPaletteAct; type <= kPaletteJasc; ++type) {
        Bytes bytes;
        serializePalette(testPalette(), type, bytes);
        put("fuzz_palette_files", "palette" + std::to_string(type), bytes);
        if (type == kPaletteJasc) {
            bytes.resize(kJascHeaderSize + 40);
            put("fuzz_palette_files", "short_jasc", bytes);
        }
    }

    put("fuzz_storyboard", "pcx8", storyboardSeed(6, 4, 2, 2, true, 8, kPaletteAct));
    put("fuzz_storyboard", "bmp24", storyboardSeed(5, 3, 3, 1, false, 24, kPaletteAct));
    put("fuzz_storyboard", "bmp8_riff", storyboardSeed(4, 4, 1, 8, false, 8, kPaletteRiff));
    put("fuzz_storyboard", "raw_sheet", [] {
        Bytes b = storyboardSeed(3, 3, 2, 2, true, 8, kPaletteJasc);
        b.resize(kStoryboardInfoSize);
        for (uint8_t v : {9, 9, 0, 1, 2, 3, 255, 255, 4}) b.push_back(v);
        return b;
    }());

    auto text = [](const std::string& t) { return Bytes(t.begin(), t.end()); };
    put("fuzz_unit_ini", "unit.ini",
        text(unitIniText({{"DEFAULT", "Warrior Default.flc"}, {"RUN", "..\\Archer\\ARCHER.FLC"}, {"DEATH", "Sub\\..\\x.flc"}},
                         {{"RUN", "Run.wav"}, {"DEATH", "Death.amb"}})));
    put("fuzz_unit_ini", "unit_lf.ini", text(unitIniText({{"RUN", "warrior run.flc"}, {"RUN", "b.flc"}}, {}, "\n")));
    put("fuzz_amb", "two.amb", buildAmb({"Run1", "Run2"}));
    put("fuzz_amb", "upper.amb", buildAmb({"x"}, "PRGM"));
    put("fuzz_amb", "sound.wav", buildWav(WavShape(2, 11025, 16, 20)));
    put("fuzz_amb", "lying.wav", buildWav(WavShape(1, 8000, 8, 10).withDataSize(0x7FFFFFFFu)));

    std::printf("make_seeds: %d seeds in %s\n", g_written, g_out.string().c_str());
    return 0;
}
