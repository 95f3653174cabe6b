// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Decoding whole FLC files from memory into the frame store, the work done when an
// animation is opened. Target: an 8-direction x 15-frame unit of 240 x 240 in under 5 ms.
#include <benchmark/benchmark.h>

#include "core/flc_reader.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

Bytes makeFile(int width, int height, int directions, int frames, bool leaderHead)
{
    AnimationShape anim;
    anim.width = width;
    anim.height = height;
    anim.directions = directions;
    anim.framesPerDirection = frames;
    anim.leaderHead = leaderHead;
    return buildAnimation(anim);
}

void decode(benchmark::State& state, const Bytes& file)
{
    FlcFrameStore store;
    size_t frames = 0, pixels = 0;
    for (auto _ : state) {
        const bool ok = readFlcFrames(file.data(), file.size(), store);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(store.frames.data());
        frames = store.records.size();
        pixels = frames * store.header.width * store.header.height;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["frames/s"] = benchmark::Counter(frames * iterations, benchmark::Counter::kIsRate);
    state.counters["MB_pixels/s"] = benchmark::Counter(pixels * iterations / 1e6, benchmark::Counter::kIsRate);
    state.counters["file_KB"] = static_cast<double>(file.size()) / 1024.0;
}

void BM_DecodeUnit96x72(benchmark::State& state)
{
    static const Bytes file = makeFile(96, 72, 8, 15, false);
    decode(state, file);
}

void BM_DecodeUnit240x240(benchmark::State& state)
{
    static const Bytes file = makeFile(240, 240, 8, 15, false);
    decode(state, file);
}

void BM_DecodeLeaderHead100(benchmark::State& state)
{
    static const Bytes file = makeFile(240, 240, 1, 100, true);
    decode(state, file);
}

}  // namespace

BENCHMARK(BM_DecodeUnit96x72)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeUnit240x240)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeLeaderHead100)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
