// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window-free half of drawing an animation: the background (a plain colour or a
// 240 x 240 picture), the keyed blit of the current frame at the animation's offsets and,
// for unit animations with alpha blending on, the game's shadow and light indices blended
// with the background under them.
//
// Pixels are 32-bit values 0x00RRGGBB (in memory: blue, green, red, fourth byte). The
// fourth byte is never compared; everything written here sets it to 0xFF, so a buffer can
// be wrapped as a QImage of format RGB32 without a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/flc_format.h"

namespace qv {

// The view's back buffer, and the part of it a unit animation occupies.
constexpr int kBackBufferWidth = 240;
constexpr int kBackBufferHeight = 244;
constexpr int kBackgroundSide = 240;  // sea and land pictures are 240 x 240

// The colour bits of a pixel; the fourth byte is not part of any comparison.
constexpr uint32_t kRgbMask = 0x00FFFFFFu;
// What the compositor puts in the fourth byte of every pixel it writes.
constexpr uint32_t kOpaque = 0xFF000000u;

// Colour keys: background pictures key out magenta; frames key out display entry 255 when
// alpha blending is on and this value, which no palette colour produces in practice, when
// it is off.
constexpr uint32_t kPictureColorKey = 0x00FF00FFu;
constexpr uint32_t kNoColorKey = 0x0001FFFFu;

// The default background of a unit animation is the button-face colour. On Windows the
// view takes the system's; every other build uses this fixed light grey, RGB(240, 240, 240),
// the button face of current Windows versions. Held as a Windows colour value (0x00BBGGRR).
constexpr uint32_t kDefaultButtonFaceColorRef = 0x00F0F0F0u;

// Windows colour values (0x00BBGGRR, used by dialogs and settings) and fill colours
// (0x00RRGGBB) differ by the order of red and blue; both conversions exchange them.
constexpr uint32_t colorRefToRgb(uint32_t colorRef)
{
    return ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) | ((colorRef >> 16) & 0xFFu);
}
constexpr uint32_t rgbToColorRef(uint32_t rgb) { return colorRefToRgb(rgb); }
// The Windows colour value of red, green and blue (each 0..255).
constexpr uint32_t rgbRef(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// A writable 32-bit picture somewhere in memory. `stride` counts pixels, not bytes.
struct Pixels32 {
    uint32_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    uint32_t* row(int y) const { return data + static_cast<ptrdiff_t>(y) * stride; }
};

// A read-only 32-bit picture.
struct ConstPixels32 {
    const uint32_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    ConstPixels32() = default;
    ConstPixels32(const uint32_t* d, int w, int h, int s) : data(d), width(w), height(h), stride(s) {}
    ConstPixels32(const Pixels32& p) : data(p.data), width(p.width), height(p.height), stride(p.stride) {}
    const uint32_t* row(int y) const { return data + static_cast<ptrdiff_t>(y) * stride; }
};

// An 8-bit picture of palette indices. `stride` counts bytes.
struct IndexedPixels {
    const uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    const uint8_t* row(int y) const { return data + static_cast<ptrdiff_t>(y) * stride; }
};

// An owned 32-bit picture: the back buffer, a frame surface or a background picture.
struct Surface32 {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // rows top to bottom, no padding

    Surface32() = default;
    Surface32(int w, int h, uint32_t fill = kOpaque);
    bool empty() const { return width <= 0 || height <= 0; }
    Pixels32 view() { return Pixels32{pixels.data(), width, height, width}; }
    ConstPixels32 view() const { return ConstPixels32{pixels.data(), width, height, width}; }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

// Display entry 255 as 0x00RRGGBB: the colour that stands for transparency.
inline uint32_t transparentColor(const Palette256& display) { return display[kTransparentIndex].rgb(); }
// The source colour key of the frame surfaces.
inline uint32_t frameColorKey(const Palette256& display, bool alphaBlend)
{
    return alphaBlend ? transparentColor(display) : kNoColorKey;
}

// Writes an 8-bit picture into a 32-bit surface in the colours of `palette` (the frame
// surfaces after each palette change, and background pictures). Only the overlap of the
// two sizes is written.
void paintIndexed(const IndexedPixels& picture, const Palette256& palette, Pixels32 target);

// The background step of every render tick: with a picture, blit it at (0, 0) keyed by
// magenta (its magenta pixels leave the target as it was); without one, fill the whole
// target with `fillRgb`.
void drawBackground(Pixels32 target, const ConstPixels32* picture, uint32_t fillRgb);

// What drawFrame needs besides the frame and the target.
struct FrameDrawParams {
    int left = 0;             // where the frame's top-left pixel goes in the target
    int top = 0;
    bool alphaBlend = true;   // the view's alpha-blend switch
    bool leaderHead = false;  // leader heads are never blended
};

// The frame step of every render tick: the keyed blit of `frame` (drawn in the colours of
// `display`, the key being frameColorKey) at (left, top) and, for a unit animation with
// alpha blending on, the blending of shadow indices 240..254 (each channel of the
// background under them darkened by 12 per step below 255, never below 0) and light indices
// 224..239 (brightened by 4 per step above 224, never above 255). A pixel whose background
// was pure black keeps what the blit gave it. The parts of the frame outside the target
// are clipped.
void drawFrame(Pixels32 target, const IndexedPixels& frame, const Palette256& display, const FrameDrawParams& params);

// The same blit for a caller that keeps 32-bit frame surfaces: `surface` holds the frame in
// its display colours and `indices` the same frame as palette indices (the blending needs
// them). Both must have the same size.
void drawFrameSurface(Pixels32 target, const ConstPixels32& surface, const IndexedPixels& indices, uint32_t colorKey,
                      const FrameDrawParams& params);

// One whole composition, background and frame, as a render tick makes it.
struct Composition {
    const ConstPixels32* picture = nullptr;  // the sea or land picture, when one is set
    uint32_t fillRgb = 0;                    // the fill colour otherwise (0x00RRGGBB)
    FrameDrawParams frame;
};
void compose(Pixels32 target, const IndexedPixels& frame, const Palette256& display, const Composition& c);

// The fill colour of a render tick: black for a leader head; for a unit animation the
// default colour when alpha blending is off, else `chosenRgb` (the default or the custom
// colour the user picked).
inline uint32_t effectiveFillRgb(bool leaderHead, bool alphaBlend, uint32_t chosenRgb)
{
    if (leaderHead) return 0;
    return alphaBlend ? chosenRgb : colorRefToRgb(kDefaultButtonFaceColorRef);
}

// Reads a background picture (Sea.pcx, Land.pcx or a user's file of the same name) into a
// 240 x 240 surface, each pixel the colour of its index. Fails, reporting nothing, when the
// file is missing or unreadable or is not a 240 x 240 picture of 8 bits in one plane.
bool loadBackgroundPicture(const std::string& path, Surface32& out);

}  // namespace qv
