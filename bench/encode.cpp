// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Encoding a whole 240 x 240 unit of 8 directions into an FLC file in memory.
// Target: at least 200 MB of pixels per second (bytes_per_second counts input pixels).
// The counter size_vs_copy is the encoded size over the size the same frames would take
// stored uncoded ("FLI_COPY" frames), so lower is better.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/flc_encoder.h"
#include "support/flc_builder.h"

namespace {

using namespace qv;
using Pictures = std::vector<std::vector<uint8_t>>;

constexpr int kSide = 240;
constexpr int kDirections = 8;

// A unit-like animation: a figure of many colours on the transparent index, moving a
// little from picture to picture, with shadow and light pixels.
Pictures unitPictures(int framesPerDirection)
{
    Pictures out;
    for (int d = 1; d <= kDirections; ++d)
        for (int n = 0; n < framesPerDirection; ++n) out.push_back(test::testPicture(kSide, kSide, d, n, 224));
    return out;
}

// The worst case for the encoders: every picture independent noise.
Pictures noisePictures(int framesPerDirection)
{
    std::mt19937 rng(5);
    Pictures out(static_cast<size_t>(kDirections) * framesPerDirection);
    for (auto& p : out) {
        p.resize(size_t(kSide) * kSide);
        for (auto& v : p) v = static_cast<uint8_t>(rng());
    }
    return out;
}

// What the same animation takes as uncoded frames: the header, per frame a frame header,
// a chunk header and the pixels, and the palette chunk once.
double fliCopySize(int framesPerDirection)
{
    const double frames = double(kDirections) * (framesPerDirection + 1);
    return 128.0 + frames * (16 + 6 + double(kSide) * kSide) + 778.0;
}

void runEncode(benchmark::State& state, const Pictures& pics, int framesPerDirection)
{
    FlcEncodeParams p;
    p.width = kSide;
    p.height = kSide;
    p.framesPerDirection = framesPerDirection;
    p.directions = kDirections;
    p.speed = 100;
    p.delay = 100;
    const Palette256 pal = test::testPalette();
    Bytes out;
    for (auto _ : state) {
        if (!encodeFlc(p, pics, pal, out)) state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(pics.size()) * kSide * kSide);
    state.counters["file_bytes"] = double(out.size());
    state.counters["size_vs_copy"] = double(out.size()) / fliCopySize(framesPerDirection);
}

void BM_EncodeUnit(benchmark::State& state)
{
    const int F = static_cast<int>(state.range(0));
    runEncode(state, unitPictures(F), F);
}
BENCHMARK(BM_EncodeUnit)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_EncodeNoise(benchmark::State& state)
{
    const int F = static_cast<int>(state.range(0));
    runEncode(state, noisePictures(F), F);
}
BENCHMARK(BM_EncodeNoise)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
