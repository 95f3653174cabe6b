// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// One render tick's composition of a 240 x 240 frame into the 240 x 244 back buffer: the
// background (picture or fill) and the frame with and without shadow and light blending.
// Target: well under 0.2 ms per composition.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/compositor.h"
#include "support/flc_builder.h"

namespace {

using namespace qv;

// Frame kinds: 0 a unit-like picture (a body with a light spot and a shadow beside it,
// transparent around), 1 the worst case: indices scattered at random, a quarter
// transparent and a sixth shadow and light.
std::vector<uint8_t> unitFrame(int side, int kind)
{
    if (kind == 0) return test::testPicture(side, side, 1, 0);
    std::mt19937 rng(42);
    std::vector<uint8_t> frame(static_cast<size_t>(side) * side);
    for (auto& v : frame) {
        const unsigned r = rng() % 12;
        v = r < 3 ? 255 : (r < 5 ? static_cast<uint8_t>(224 + rng() % 31) : static_cast<uint8_t>(rng() % 224));
    }
    return frame;
}

Palette256 palette()
{
    Palette256 pal;
    for (int i = 0; i < 256; ++i) pal[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i * 3), uint8_t(255 - i));
    pal[255] = PaletteEntry::fromRgb(255, 0, 255);
    return pal;
}

Surface32 seaLikePicture()
{
    Surface32 pic(kBackgroundSide, kBackgroundSide);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            pic.pixels[static_cast<size_t>(y) * pic.width + x] = kOpaque | (uint32_t((x * 7 + y) & 0x7F) << 8) | 0xA0;
    return pic;
}

void BM_ComposeUnitOverPicture(benchmark::State& state)
{
    const bool alpha = state.range(0) != 0;
    const auto frame = unitFrame(kUnitArea, static_cast<int>(state.range(1)));
    const Palette256 pal = palette();
    const Surface32 picture = seaLikePicture();
    const ConstPixels32 pic = picture.view();
    Surface32 back(kBackBufferWidth, kBackBufferHeight);
    Composition c;
    c.picture = &pic;
    c.frame = FrameDrawParams{0, 0, alpha, false};
    const IndexedPixels f{frame.data(), kUnitArea, kUnitArea, kUnitArea};
    for (auto _ : state) {
        compose(back.view(), f, pal, c);
        benchmark::DoNotOptimize(back.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kUnitArea * kUnitArea);
}
BENCHMARK(BM_ComposeUnitOverPicture)
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->ArgNames({"alpha", "random"})
    ->Unit(benchmark::kMicrosecond);

void BM_ComposeUnitOverFill(benchmark::State& state)
{
    const auto frame = unitFrame(kUnitArea, 0);
    const Palette256 pal = palette();
    Surface32 back(kBackBufferWidth, kBackBufferHeight);
    Composition c;
    c.fillRgb = colorRefToRgb(kDefaultButtonFaceColorRef);
    c.frame = FrameDrawParams{0, 0, true, false};
    const IndexedPixels f{frame.data(), kUnitArea, kUnitArea, kUnitArea};
    for (auto _ : state) {
        compose(back.view(), f, pal, c);
        benchmark::DoNotOptimize(back.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kUnitArea * kUnitArea);
}
BENCHMARK(BM_ComposeUnitOverFill)->Unit(benchmark::kMicrosecond);

// The blit from a 32-bit frame surface, as a view that keeps surfaces would call it.
void BM_DrawFrameSurface(benchmark::State& state)
{
    const auto frame = unitFrame(kUnitArea, static_cast<int>(state.range(0)));
    const Palette256 pal = palette();
    Surface32 surface(kUnitArea, kUnitArea);
    const IndexedPixels f{frame.data(), kUnitArea, kUnitArea, kUnitArea};
    paintIndexed(f, pal, surface.view());
    Surface32 back(kBackBufferWidth, kBackBufferHeight, kOpaque | 0x405060);
    const FrameDrawParams p{0, 0, true, false};
    for (auto _ : state) {
        drawFrameSurface(back.view(), surface.view(), f, frameColorKey(pal, true), p);
        benchmark::DoNotOptimize(back.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kUnitArea * kUnitArea);
}
BENCHMARK(BM_DrawFrameSurface)->Arg(0)->Arg(1)->ArgName("random")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
