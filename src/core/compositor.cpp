// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/compositor.h"

#include <algorithm>
#include <array>

#include "core/pcx_picture.h"

namespace qv {

namespace {

// Shadow indices darken each channel by this much per step, light indices brighten by this.
constexpr int kShadowStep = 12;
constexpr int kLightStep = 4;

// The part of a frame of w x h placed at (left, top) that lies inside a target of
// tw x th, in frame coordinates.
struct Clip {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

Clip clipFrame(int w, int h, int left, int top, int tw, int th)
{
    Clip c;
    c.x0 = std::max(0, -left);
    c.y0 = std::max(0, -top);
    c.x1 = std::min(w, tw - left);
    c.y1 = std::min(h, th - top);
    return c;
}

// The change an index makes to the background under it when blended: negative for the
// shadow indices, positive for the light ones, 0 for all others. Index 224 is a light
// index with a change of 0 (it shows the background as it is).
struct BlendTable {
    std::array<int16_t, 256> delta{};
    BlendTable()
    {
        for (int v = kShadowFirst; v <= kShadowLast; ++v) delta[v] = static_cast<int16_t>(-kShadowStep * (255 - v));
        for (int v = kLightFirst; v <= kLightLast; ++v) delta[v] = static_cast<int16_t>(kLightStep * (v - kLightFirst));
    }
};
const BlendTable kBlend;

inline bool isBlendIndex(uint8_t v) { return v >= kLightFirst && v <= kShadowLast; }

inline uint32_t channel(uint32_t background, int shift, int delta)
{
    const int c = static_cast<int>((background >> shift) & 0xFFu) + delta;
    return static_cast<uint32_t>(c < 0 ? 0 : (c > 255 ? 255 : c)) << shift;
}

// The blended colour of a shadow or light index over background pixel `background`.
inline uint32_t blend(uint32_t background, uint8_t v)
{
    const int d = kBlend.delta[v];
    return kOpaque | channel(background, 16, d) | channel(background, 8, d) | channel(background, 0, d);
}

// The shared loop of both frame blits. `colourOf(x)` gives the frame's colour at column x
// of the current row and whether the key hides it.
template <typename RowSource>
void blitRows(Pixels32 target, const IndexedPixels& indices, const Clip& clip, const FrameDrawParams& p, bool blending,
              RowSource&& source)
{
    for (int y = clip.y0; y < clip.y1; ++y) {
        uint32_t* dst = target.row(p.top + y) + p.left;
        const uint8_t* idx = indices.row(y);
        auto rowColours = source(y);
        for (int x = clip.x0; x < clip.x1; ++x) {
            const uint32_t background = dst[x];
            // Shadow and light indices take the background under them, changed by their
            // amount, unless that background is pure black; then, like every other index,
            // they show their own colour unless the key hides it.
            if (blending && isBlendIndex(idx[x]) && (background & kRgbMask) != 0) {
                dst[x] = blend(background, idx[x]);
                continue;
            }
            uint32_t colour;
            if (rowColours(x, colour)) dst[x] = colour;
        }
    }
}

}  // namespace

Surface32::Surface32(int w, int h, uint32_t fill)
    : width(std::max(0, w)), height(std::max(0, h)),
      pixels(static_cast<size_t>(std::max(0, w)) * static_cast<size_t>(std::max(0, h)), fill)
{
}

void paintIndexed(const IndexedPixels& picture, const Palette256& palette, Pixels32 target)
{
    std::array<uint32_t, 256> colour;
    for (int i = 0; i < 256; ++i) colour[i] = kOpaque | palette[i].rgb();
    const int w = std::min(picture.width, target.width);
    const int h = std::min(picture.height, target.height);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = picture.row(y);
        uint32_t* dst = target.row(y);
        for (int x = 0; x < w; ++x) dst[x] = colour[src[x]];
    }
}

void drawBackground(Pixels32 target, const ConstPixels32* picture, uint32_t fillRgb)
{
    if (!picture) {
        const uint32_t fill = kOpaque | (fillRgb & kRgbMask);
        for (int y = 0; y < target.height; ++y) std::fill_n(target.row(y), target.width, fill);
        return;
    }
    const int w = std::min(picture->width, target.width);
    const int h = std::min(picture->height, target.height);
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = picture->row(y);
        uint32_t* dst = target.row(y);
        for (int x = 0; x < w; ++x) {
            if ((src[x] & kRgbMask) != kPictureColorKey) dst[x] = kOpaque | (src[x] & kRgbMask);
        }
    }
}

void drawFrame(Pixels32 target, const IndexedPixels& frame, const Palette256& display, const FrameDrawParams& params)
{
    const Clip clip = clipFrame(frame.width, frame.height, params.left, params.top, target.width, target.height);
    if (clip.empty() || !frame.data || !target.data) return;

    const uint32_t key = frameColorKey(display, params.alphaBlend);
    std::array<uint32_t, 256> colour;
    std::array<bool, 256> shown;
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = display[i].rgb();
        colour[i] = kOpaque | rgb;
        shown[i] = rgb != key;
    }
    const bool blending = params.alphaBlend && !params.leaderHead;
    blitRows(target, frame, clip, params, blending, [&](int y) {
        const uint8_t* idx = frame.row(y);
        return [idx, &colour, &shown](int x, uint32_t& out) {
            out = colour[idx[x]];
            return shown[idx[x]];
        };
    });
}

void drawFrameSurface(Pixels32 target, const ConstPixels32& surface, const IndexedPixels& indices, uint32_t colorKey,
                      const FrameDrawParams& params)
{
    const int w = std::min(surface.width, indices.width);
    const int h = std::min(surface.height, indices.height);
    const Clip clip = clipFrame(w, h, params.left, params.top, target.width, target.height);
    if (clip.empty() || !surface.data || !indices.data || !target.data) return;

    const uint32_t key = colorKey & kRgbMask;
    const bool blending = params.alphaBlend && !params.leaderHead;
    blitRows(target, indices, clip, params, blending, [&](int y) {
        const uint32_t* src = surface.row(y);
        return [src, key](int x, uint32_t& out) {
            out = kOpaque | (src[x] & kRgbMask);
            return (src[x] & kRgbMask) != key;
        };
    });
}

void compose(Pixels32 target, const IndexedPixels& frame, const Palette256& display, const Composition& c)
{
    drawBackground(target, c.picture, c.fillRgb);
    drawFrame(target, frame, display, c.frame);
}

bool loadBackgroundPicture(const std::string& path, Surface32& out)
{
    PcxPicture picture;
    if (!picture.load(path)) return false;
    if (picture.width() != kBackgroundSide || picture.height() != kBackgroundSide || picture.bitsPerPixel() != 8 ||
        picture.planes() != 1)
        return false;
    Surface32 surface(kBackgroundSide, kBackgroundSide);
    const IndexedPixels pixels{picture.pixels().data(), picture.width(), picture.height(), picture.width()};
    paintIndexed(pixels, picture.palette(), surface.view());
    out = std::move(surface);
    return true;
}

}  // namespace qv
