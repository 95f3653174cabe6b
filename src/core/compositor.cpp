// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/compositor.h"

#include <algorithm>
#include <array>
#include <vector>

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

// What blending does to one channel of the background, per index: for a shadow index
// (240..254) the channel darkened by 12 per step below 255 and clamped at 0, for a light
// index (224..239) brightened by 4 per step above 224 and clamped at 255. Index 224 changes
// nothing, so its table is the identity. The tables are indexed by v - 224.
struct BlendTables {
    std::array<std::array<uint8_t, 256>, kShadowLast - kLightFirst + 1> channel{};
    BlendTables()
    {
        for (int v = kLightFirst; v <= kShadowLast; ++v) {
            const int delta = v >= kShadowFirst ? -kShadowStep * (255 - v) : kLightStep * (v - kLightFirst);
            for (int c = 0; c < 256; ++c) {
                const int out = c + delta;
                channel[v - kLightFirst][c] = static_cast<uint8_t>(out < 0 ? 0 : (out > 255 ? 255 : out));
            }
        }
    }
};
const BlendTables kBlendTables;

// Per-index facts of one blit, so that the pixel loop needs no branches: which blend
// table an index uses, and a mask that is all ones for a shadow or light index when
// blending is on.
struct BlendIndexTable {
    std::array<uint32_t, 256> blends{};
    std::array<uint8_t, 256> table{};

    explicit BlendIndexTable(bool blending)
    {
        for (int v = 0; v < 256; ++v) {
            const bool blendIndex = blending && v >= kLightFirst && v <= kShadowLast;
            blends[v] = blendIndex ? ~0u : 0u;
            table[v] = static_cast<uint8_t>(blendIndex ? v - kLightFirst : 0);
        }
    }
};

// The final value of a back-buffer pixel `background` under frame index v, `painted` being
// what the keyed blit leaves there (the frame's colour, or the background where the key
// hides it). A shadow or light index over a background that is not pure black takes the
// blended background instead. Saving the background, blitting, then writing the blended
// colours back gives the same, in three passes instead of one.
inline uint32_t finalPixel(uint32_t background, uint32_t painted, uint8_t v, const BlendIndexTable& t)
{
    const uint8_t* ch = kBlendTables.channel[t.table[v]].data();
    const uint32_t blended = kOpaque | (uint32_t(ch[(background >> 16) & 0xFFu]) << 16) |
                             (uint32_t(ch[(background >> 8) & 0xFFu]) << 8) | uint32_t(ch[background & 0xFFu]);
    const uint32_t notBlack = 0u - static_cast<uint32_t>((background & kRgbMask) != 0);
    const uint32_t useBlend = t.blends[v] & notBlack;
    return (blended & useBlend) | (painted & ~useBlend);
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
            const uint32_t colour = src[x] & kRgbMask;
            const uint32_t shown = 0u - static_cast<uint32_t>(colour != kPictureColorKey);
            dst[x] = ((kOpaque | colour) & shown) | (dst[x] & ~shown);
        }
    }
}

namespace {

// The keyed blit of one row of n pixels, from colours looked up per pixel (`lookup(x)`
// gives the frame's colour with the fourth byte 0xFF, or 0 where the key hides the pixel),
// followed for a unit with alpha blending on by the blending of that row's shadow and
// light indices with the background that was under them.
template <bool Blending, typename Lookup>
void blitRow(uint32_t* dst, const uint8_t* idx, int n, const BlendIndexTable& blend, uint32_t* saved, Lookup&& lookup)
{
    if (Blending) std::copy_n(dst, n, saved);
    uint32_t anyBlend = 0;
    for (int x = 0; x < n; ++x) {
        const uint32_t c = lookup(x);
        const uint32_t hidden = static_cast<uint32_t>(static_cast<int32_t>(~c) >> 31);  // all ones when c is 0
        dst[x] = c | (dst[x] & hidden);
        if (Blending) anyBlend |= blend.blends[idx[x]];
    }
    if (!Blending || !anyBlend) return;
    for (int x = 0; x < n; ++x)
        if (blend.blends[idx[x]]) dst[x] = finalPixel(saved[x], dst[x], idx[x], blend);
}

// Runs blitRow over every row of the clipped frame.
template <typename RowLookup>
void blitFrame(Pixels32 target, const IndexedPixels& indices, const Clip& clip, const FrameDrawParams& params,
               RowLookup&& rowLookup)
{
    const bool blending = params.alphaBlend && !params.leaderHead;
    const BlendIndexTable table(blending);
    const int n = clip.x1 - clip.x0;
    std::array<uint32_t, kBackBufferWidth> small;
    std::vector<uint32_t> large;
    uint32_t* saved = small.data();
    if (blending && n > kBackBufferWidth) {
        large.resize(static_cast<size_t>(n));
        saved = large.data();
    }
    for (int y = clip.y0; y < clip.y1; ++y) {
        uint32_t* dst = target.row(params.top + y) + params.left + clip.x0;
        const uint8_t* idx = indices.row(y) + clip.x0;
        if (blending) blitRow<true>(dst, idx, n, table, saved, rowLookup(y));
        else blitRow<false>(dst, idx, n, table, saved, rowLookup(y));
    }
}

}  // namespace

void drawFrame(Pixels32 target, const IndexedPixels& frame, const Palette256& display, const FrameDrawParams& params)
{
    const Clip clip = clipFrame(frame.width, frame.height, params.left, params.top, target.width, target.height);
    if (clip.empty() || !frame.data || !target.data) return;

    // Each index's colour, or 0 when the key hides it.
    const uint32_t key = frameColorKey(display, params.alphaBlend);
    std::array<uint32_t, 256> colour;
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = display[i].rgb();
        colour[i] = rgb != key ? kOpaque | rgb : 0u;
    }
    blitFrame(target, frame, clip, params, [&](int y) {
        const uint8_t* idx = frame.row(y) + clip.x0;
        return [idx, &colour](int x) { return colour[idx[x]]; };
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
    blitFrame(target, indices, clip, params, [&](int y) {
        const uint32_t* src = surface.row(y) + clip.x0;
        return [src, key](int x) {
            const uint32_t rgb = src[x] & kRgbMask;
            return rgb != key ? kOpaque | rgb : 0u;
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
