// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The compositor on hand-made pixels: the shadow and light arithmetic with its clamping,
// the colour key with alpha blending on and off, leader heads, black backgrounds, the
// background picture's magenta key, offsets and clipping, and the two blit entry points
// agreeing with each other.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <vector>

#include "core/bitmap.h"
#include "core/compositor.h"
#include "core/pcx_codec.h"

using namespace qv;

namespace {

constexpr uint32_t rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

// A palette where every entry has its own colour, entry 255 magenta as in the game's files.
Palette256 distinctPalette()
{
    Palette256 pal;
    for (int i = 0; i < 256; ++i) pal[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(255 - i), uint8_t(i / 2 + 1));
    pal[255] = PaletteEntry::fromRgb(255, 0, 255);
    return pal;
}

// One row of indices drawn at (left, top) over a plain background in a 240 x 244 buffer.
struct Scene {
    Surface32 back{kBackBufferWidth, kBackBufferHeight};
    std::vector<uint8_t> row;
    Palette256 pal = distinctPalette();

    void draw(uint32_t fill, bool alpha, bool leaderHead, int left = 10, int top = 20)
    {
        Composition c;
        c.fillRgb = fill;
        c.frame = FrameDrawParams{left, top, alpha, leaderHead};
        compose(back.view(), IndexedPixels{row.data(), int(row.size()), 1, int(row.size())}, pal, c);
    }
    uint32_t at(int i, int left = 10, int top = 20) const { return back.at(left + i, top) & kRgbMask; }
};

TEST(Compositor, ShadowAndLightIndicesChangeTheBackgroundByTheirAmount)
{
    Scene s;
    s.row = {254, 240, 247, 224, 239, 231, 10, 255};
    s.draw(rgb(100, 150, 200), true, false);
    EXPECT_EQ(s.at(0), rgb(88, 138, 188));  // 254: 12 darker
    EXPECT_EQ(s.at(1), rgb(0, 0, 20));      // 240: 180 darker, clamped at 0
    EXPECT_EQ(s.at(2), rgb(4, 54, 104));    // 247: 8 steps, 96 darker
    EXPECT_EQ(s.at(3), rgb(100, 150, 200)); // 224: unchanged
    EXPECT_EQ(s.at(4), rgb(160, 210, 255)); // 239: 60 brighter, clamped at 255
    EXPECT_EQ(s.at(5), rgb(128, 178, 228)); // 231: 28 brighter
    EXPECT_EQ(s.at(6), s.pal[10].rgb());    // an ordinary index: its colour
    EXPECT_EQ(s.at(7), rgb(100, 150, 200)); // 255: transparent
    EXPECT_EQ(s.back.at(9, 20) & kRgbMask, rgb(100, 150, 200));  // around the frame: background
    EXPECT_EQ(s.back.at(0, 243) & kRgbMask, rgb(100, 150, 200)); // the fill covers the whole buffer

    // Each channel on its own: the others stay at 0 when darkened and rise when lightened.
    s.row = {250, 235};
    s.draw(rgb(0, 0, 70), true, false);
    EXPECT_EQ(s.at(0), rgb(0, 0, 10));    // 5 steps: 60 darker
    EXPECT_EQ(s.at(1), rgb(44, 44, 114)); // 11 steps: 44 brighter
}

TEST(Compositor, PureBlackBackgroundKeepsWhatTheBlitPainted)
{
    Scene s;
    s.row = {254, 240, 224, 239, 255, 7};
    s.draw(0, true, false);
    EXPECT_EQ(s.at(0), s.pal[254].rgb());
    EXPECT_EQ(s.at(1), s.pal[240].rgb());
    EXPECT_EQ(s.at(2), s.pal[224].rgb());
    EXPECT_EQ(s.at(3), s.pal[239].rgb());
    EXPECT_EQ(s.at(4), 0u);  // transparent over black
    EXPECT_EQ(s.at(5), s.pal[7].rgb());
    // Only exact black counts: one step of blue is blended.
    s.draw(rgb(0, 0, 1), true, false);
    EXPECT_EQ(s.at(0), 0u);
    EXPECT_EQ(s.at(3), rgb(60, 60, 61));
}

TEST(Compositor, AlphaOffShowsEveryIndexInItsColour)
{
    Scene s;
    s.row = {255, 254, 240, 224, 239};
    const uint32_t face = colorRefToRgb(kDefaultButtonFaceColorRef);
    s.draw(face, false, false);
    EXPECT_EQ(s.at(0), rgb(255, 0, 255));
    for (int i = 1; i < 5; ++i) EXPECT_EQ(s.at(i), s.pal[s.row[i]].rgb()) << "index " << int(s.row[i]);
    // The key with alpha off is 0x1FFFF; a colour that happens to equal it is still keyed.
    s.pal[3] = PaletteEntry::fromRgb(1, 255, 255);
    s.row = {3};
    s.draw(face, false, false);
    EXPECT_EQ(s.at(0), face);
}

TEST(Compositor, TheKeyIsAColourNotAnIndex)
{
    // With alpha on, any index whose colour equals entry 255 is transparent too.
    Scene s;
    s.pal[17] = s.pal[255];
    s.row = {17, 18};
    s.draw(rgb(9, 9, 9), true, false);
    EXPECT_EQ(s.at(0), rgb(9, 9, 9));
    EXPECT_EQ(s.at(1), s.pal[18].rgb());
    // A shadow index whose colour equals the key is still blended over a non-black pixel.
    s.pal[250] = s.pal[255];
    s.row = {250};
    s.draw(rgb(100, 100, 100), true, false);
    EXPECT_EQ(s.at(0), rgb(40, 40, 40));
}

TEST(Compositor, LeaderHeadsAreNeverBlended)
{
    Scene s;
    s.row = {254, 239, 255};
    s.draw(rgb(100, 100, 100), true, true);
    EXPECT_EQ(s.at(0), s.pal[254].rgb());
    EXPECT_EQ(s.at(1), s.pal[239].rgb());
    EXPECT_EQ(s.at(2), rgb(100, 100, 100));  // still keyed with alpha on
    s.draw(rgb(100, 100, 100), false, true);
    EXPECT_EQ(s.at(2), rgb(255, 0, 255));
}

TEST(Compositor, BackgroundPictureIsKeyedByMagenta)
{
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
    EXPECT_EQ(back.at(239, 239) >> 24, 0xFFu);             // written pixels are opaque
}

TEST(Compositor, FrameIsPlacedAtItsOffsetsAndClippedToTheTarget)
{
    // A target inside a larger buffer: pixels beyond its width and height are guards.
    const int tw = 50, th = 40, stride = 64;
    std::vector<uint32_t> buffer(size_t(stride) * (th + 8), 0xDEADBEEFu);
    const Pixels32 target{buffer.data(), tw, th, stride};
    Palette256 pal = distinctPalette();
    std::vector<uint8_t> frame(30 * 20, 5);
    const IndexedPixels f{frame.data(), 30, 20, 30};

    drawFrame(target, f, pal, FrameDrawParams{3, 4, true, false});
    EXPECT_EQ(buffer[size_t(4) * stride + 3] & kRgbMask, pal[5].rgb());
    EXPECT_EQ(buffer[size_t(4) * stride + 2], 0xDEADBEEFu);
    EXPECT_EQ(buffer[size_t(3) * stride + 3], 0xDEADBEEFu);
    EXPECT_EQ(buffer[size_t(23) * stride + 32] & kRgbMask, pal[5].rgb());
    EXPECT_EQ(buffer[size_t(24) * stride + 33], 0xDEADBEEFu);

    // Hanging over every edge: only the target's pixels change.
    for (auto [left, top] : {std::pair{40, 30}, {-20, -10}, {255, 0}, {0, 255}, {-30, -20}}) {
        std::fill(buffer.begin(), buffer.end(), 0xDEADBEEFu);
        drawFrame(target, f, pal, FrameDrawParams{left, top, true, false});
        for (int y = 0; y < th + 8; ++y)
            for (int x = 0; x < stride; ++x) {
                const bool inside = x < tw && y < th && x >= left && x < left + 30 && y >= top && y < top + 20;
                const uint32_t v = buffer[size_t(y) * stride + x];
                if (inside) EXPECT_EQ(v & kRgbMask, pal[5].rgb()) << left << "," << top << " at " << x << "," << y;
                else EXPECT_EQ(v, 0xDEADBEEFu) << left << "," << top << " at " << x << "," << y;
            }
    }
}

TEST(Compositor, SurfaceBlitAgreesWithIndexedBlit)
{
    std::mt19937 rng(7);
    Palette256 pal = distinctPalette();
    pal[100] = pal[255];  // a second transparent colour
    const int w = 61, h = 47;
    std::vector<uint8_t> frame(size_t(w) * h);
    for (auto& v : frame) v = uint8_t(rng() % 3 == 0 ? 224 + rng() % 32 : rng() % 256);
    Surface32 picture(kBackgroundSide, kBackgroundSide);
    for (auto& p : picture.pixels) p = kOpaque | (rng() % 4 == 0 ? 0u : (rng() & kRgbMask));
    const ConstPixels32 pic = picture.view();

    Surface32 surface(w, h);
    const IndexedPixels f{frame.data(), w, h, w};
    paintIndexed(f, pal, surface.view());
    for (bool alpha : {true, false})
        for (bool leader : {false, true}) {
            Surface32 a(kBackBufferWidth, kBackBufferHeight), b(kBackBufferWidth, kBackBufferHeight);
            const FrameDrawParams p{17, 9, alpha, leader};
            drawBackground(a.view(), &pic, 0);
            drawBackground(b.view(), &pic, 0);
            drawFrame(a.view(), f, pal, p);
            drawFrameSurface(b.view(), surface.view(), f, frameColorKey(pal, alpha), p);
            EXPECT_EQ(a.pixels, b.pixels) << "alpha " << alpha << " leader head " << leader;
        }
}

TEST(Compositor, BackgroundPicturesMustBe240By240With8Bits)
{
    const auto dir = std::filesystem::temp_directory_path() / ("qv_compositor_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto write = [&](const char* name, int w, int h, int bits) {
        Bitmap bmp = Bitmap::create(w, h, bits);
        for (size_t i = 0; i < bmp.pixels.size(); ++i) bmp.pixels[i] = uint8_t(i % 7);
        for (int i = 0; i < 256; ++i) bmp.palette[i] = PaletteEntry::fromRgb(uint8_t(i * 3), 20, 30);
        Bytes bytes;
        EXPECT_TRUE(encodePcx(bmp, bytes));
        const std::string path = (dir / name).string();
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    };
    Surface32 out;
    ASSERT_TRUE(loadBackgroundPicture(write("good.pcx", 240, 240, 8), out));
    ASSERT_EQ(out.width, 240);
    ASSERT_EQ(out.height, 240);
    EXPECT_EQ(out.at(1, 0), kOpaque | rgb(3, 20, 30));
    EXPECT_EQ(out.at(0, 1), kOpaque | rgb(3 * (240 % 7), 20, 30));
    EXPECT_FALSE(loadBackgroundPicture(write("small.pcx", 120, 240, 8), out));
    EXPECT_FALSE(loadBackgroundPicture(write("deep.pcx", 240, 240, 24), out));
    EXPECT_FALSE(loadBackgroundPicture((dir / "missing.pcx").string(), out));
    EXPECT_EQ(out.width, 240);  // a failed load leaves the old picture
    std::filesystem::remove_all(dir);
}

}  // namespace
