// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The compositor on hand-made pixels: the shadow and light arithmetic with its clamping,
// the colour key with alpha blending on and off, leader heads, black backgrounds, the
// background picture's magenta key, offsets and clipping, and the two blit entry points
// agreeing with each other.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/bitmap.h"
#include "core/compositor.h"
#include "core/pcx_codec.h"
#include "support/flc_builder.h"
#include "support/temp_dir.h"

using namespace qv;

namespace {

constexpr uint32_t rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

// Distinct colours, entry 255 magenta as in the game's files.
Palette256 keyedPalette()
{
    Palette256 pal = test::testPalette();
    pal[255] = PaletteEntry::fromRgb(255, 0, 255);
    return pal;
}

// One row of indices drawn at (10, 20) over a plain background in a 240 x 244 buffer.
struct Scene {
    Surface32 back{kBackBufferWidth, kBackBufferHeight};
    std::vector<uint8_t> row;
    Palette256 pal = keyedPalette();

    // The row's pixels as drawn.
    std::vector<uint32_t> draw(uint32_t fill, bool alpha, bool leaderHead = false)
    {
        Composition c;
        c.fillRgb = fill;
        c.frame = FrameDrawParams{10, 20, alpha, leaderHead};
        compose(back.view(), IndexedPixels{row.data(), int(row.size()), 1, int(row.size())}, pal, c);
        std::vector<uint32_t> out;
        for (size_t i = 0; i < row.size(); ++i) out.push_back(back.at(10 + int(i), 20) & kRgbMask);
        return out;
    }
    uint32_t colour(uint8_t index) const { return pal[index].rgb(); }
};

TEST(Compositor, ShadowLightAndKeyColoursOverTheBackground)
{
    Scene s;
    // 254: 12 darker; 240: 180 darker, clamped at 0; 247: 8 steps, 96 darker; 224: unchanged;
    // 239: 60 brighter, clamped at 255; 231: 28 brighter; 10: its colour; 255: transparent.
    s.row = {254, 240, 247, 224, 239, 231, 10, 255};
    const uint32_t fill = rgb(100, 150, 200);
    EXPECT_EQ(s.draw(fill, true), (std::vector<uint32_t>{rgb(88, 138, 188), rgb(0, 0, 20), rgb(4, 54, 104), fill,
                                                          rgb(160, 210, 255), rgb(128, 178, 228), s.colour(10), fill}));
    EXPECT_EQ(s.back.at(0, 243) & kRgbMask, fill);  // the fill covers the whole buffer

    // Over pure black the blit's colours stay, transparent shows black; one step of blue is blended.
    s.row = {254, 240, 239, 255, 7};
    EXPECT_EQ(s.draw(0, true), (std::vector<uint32_t>{s.colour(254), s.colour(240), s.colour(239), 0, s.colour(7)}));
    EXPECT_EQ(s.draw(rgb(0, 0, 1), true)[2], rgb(60, 60, 61));

    // Leader heads are never blended, though still keyed with alpha on.
    s.row = {254, 239, 255};
    EXPECT_EQ(s.draw(rgb(100, 100, 100), true, true),
              (std::vector<uint32_t>{s.colour(254), s.colour(239), rgb(100, 100, 100)}));
    EXPECT_EQ(s.draw(rgb(100, 100, 100), false, true)[2], rgb(255, 0, 255));

    // The key is a colour, not an index. Alpha off shows every index in its colour; the key is
    // then 0x1FFFF, and a colour that happens to equal it is keyed.
    const uint32_t face = colorRefToRgb(kDefaultButtonFaceColorRef);
    s.pal[3] = PaletteEntry::fromRgb(1, 255, 255);
    s.row = {255, 254, 240, 3};
    EXPECT_EQ(s.draw(face, false), (std::vector<uint32_t>{rgb(255, 0, 255), s.colour(254), s.colour(240), face}));
    // With alpha on, any index whose colour equals entry 255 is transparent too, but a shadow
    // index whose colour equals the key is still blended.
    s.pal[17] = s.pal[255];
    s.pal[250] = s.pal[255];
    s.row = {17, 18, 250};
    EXPECT_EQ(s.draw(rgb(100, 100, 100), true), (std::vector<uint32_t>{rgb(100, 100, 100), s.colour(18), rgb(40, 40, 40)}));
}

TEST(Compositor, FrameIsPlacedAndClippedAndBothBlitsAgree)
{
    // A target inside a larger buffer: pixels beyond its width and height are guards.
    const int tw = 50, th = 40, stride = 64;
    std::vector<uint32_t> buffer(size_t(stride) * (th + 8));
    const Pixels32 target{buffer.data(), tw, th, stride};
    Palette256 pal = keyedPalette();
    std::vector<uint8_t> frame(30 * 20, 5);
    const IndexedPixels f{frame.data(), 30, 20, 30};
    // Inside, then hanging over every edge: only the target's pixels change.
    for (auto [left, top] : {std::pair{3, 4}, {40, 30}, {-20, -10}, {255, 0}, {0, 255}, {-30, -20}}) {
        std::fill(buffer.begin(), buffer.end(), 0xDEADBEEFu);
        drawFrame(target, f, pal, FrameDrawParams{left, top, true, false});
        for (int y = 0; y < th + 8; ++y)
            for (int x = 0; x < stride; ++x) {
                const bool inside = x < tw && y < th && x >= left && x < left + 30 && y >= top && y < top + 20;
                const uint32_t v = buffer[size_t(y) * stride + x];
                ASSERT_EQ(inside ? v & kRgbMask : v, inside ? pal[5].rgb() : 0xDEADBEEFu)
                    << left << "," << top << " at " << x << "," << y;
            }
    }

    // The blit from a painted surface draws exactly what the blit from indices draws, over
    // a background of varied colours (a quarter of them black).
    std::mt19937 rng(7);
    pal[100] = pal[255];  // a second transparent colour
    const int w = 61, h = 47;
    std::vector<uint8_t> noisy(size_t(w) * h);
    for (auto& v : noisy) v = uint8_t(rng() % 3 == 0 ? 224 + rng() % 32 : rng() % 256);
    const IndexedPixels n{noisy.data(), w, h, w};
    Surface32 surface(w, h);
    paintIndexed(n, pal, surface.view());
    for (bool alpha : {true, false})
        for (bool leader : {false, true}) {
            Surface32 a(kBackBufferWidth, kBackBufferHeight);
            for (auto& v : a.pixels) v = kOpaque | (rng() % 4 == 0 ? 0u : (rng() & kRgbMask));
            Surface32 b = a;
            const FrameDrawParams p{17, 9, alpha, leader};
            drawFrame(a.view(), n, pal, p);
            drawFrameSurface(b.view(), surface.view(), n, frameColorKey(pal, alpha), p);
            EXPECT_EQ(a.pixels, b.pixels) << "alpha " << alpha << " leader head " << leader;
        }
}

using BackgroundPictureTest = test::ScratchTest;

TEST_F(BackgroundPictureTest, MustBe240By240With8BitsAndIsKeyedByMagenta)
{
    // Its pixels and a refused size are checked where quorvane-cli render and the view load it.
    auto write = [&](const char* name, int bits) {
        EXPECT_TRUE(writePcxFile(path(name), Bitmap::create(240, 240, bits), bits));
        return path(name);
    };
    Surface32 out;
    ASSERT_TRUE(loadBackgroundPicture(write("good.pcx", 8), out));
    EXPECT_FALSE(loadBackgroundPicture(write("deep.pcx", 24), out));
    EXPECT_FALSE(loadBackgroundPicture(path("missing.pcx"), out));
    EXPECT_EQ(out.width, 240);  // a failed load leaves the old picture

    // Drawn under the frame, keyed by magenta.
    Surface32 back(kBackBufferWidth, kBackBufferHeight, kOpaque | rgb(1, 2, 3));
    Surface32 picture(kBackgroundSide, kBackgroundSide, kOpaque | rgb(50, 60, 70));
    picture.pixels[5] = rgb(255, 0, 255);                // magenta: keyed out
    picture.pixels[6] = 0x12000000u | rgb(255, 0, 255);  // whatever its fourth byte
    picture.pixels[7] = rgb(255, 0, 254);
    const ConstPixels32 view = picture.view();
    drawBackground(back.view(), &view, rgb(9, 9, 9));
    EXPECT_EQ(back.at(4, 0) & kRgbMask, rgb(50, 60, 70));
    EXPECT_EQ(back.at(5, 0) & kRgbMask, rgb(1, 2, 3));
    EXPECT_EQ(back.at(6, 0) & kRgbMask, rgb(1, 2, 3));
    EXPECT_EQ(back.at(7, 0) & kRgbMask, rgb(255, 0, 254));
    EXPECT_EQ(back.at(0, 241) & kRgbMask, rgb(1, 2, 3));  // below the picture: left alone
}

}  // namespace
