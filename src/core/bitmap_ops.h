// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Whole-bitmap operations over qv::Bitmap: filling, copying and combining rectangles,
// resizing, trimming, flipping, nearest-colour mapping to a palette, depth conversions and
// the colour adjustments of the palette tools (brightness, contrast, hue, saturation).
//
// Colour values: a 24-bit pixel is read and written as 0x00RRGGBB; an 8-bit pixel's raw
// value is its palette index. Rectangles are clipped to both bitmaps; nothing is ever
// read or written outside a bitmap's pixel buffer.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "core/bitmap.h"
#include "core/result.h"

namespace qv {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// ---- Nearest colour ----

// Which of equally close palette entries a colour takes.
enum class PaletteTie {
    LowestIndex,  // the lowest index, as a drawing context maps colours
    // Transparency (255) first, then the light and shadow entries 224..254, then the lowest
    // index: a storyboard palette often repeats those colours at lower entries, and a
    // transparent or shadow pixel must come back as what it was.
    KeepSpecialIndices,
};

// The palette entry closest to (r, g, b) among the first `count` entries: the smallest
// squared distance (dr² + dg² + db²); of equally close entries `tie` decides.
int nearestPaletteIndex(const Palette256& palette, int count, uint8_t r, uint8_t g, uint8_t b,
                        PaletteTie tie = PaletteTie::LowestIndex);

// nearestPaletteIndex with a cache of the colours already looked up, for whole pictures.
class NearestColorMap {
public:
    explicit NearestColorMap(const Palette256& palette, int count = 256, PaletteTie tie = PaletteTie::LowestIndex);
    uint8_t operator()(uint8_t r, uint8_t g, uint8_t b);

private:
    Palette256 palette_;
    int count_;
    PaletteTie tie_;
    std::unordered_map<uint32_t, uint8_t> cache_;
};

// ---- Depth conversions ----

// An 8-bit copy of `src` over `palette`: every pixel becomes the nearest of the palette's
// first `count` colours (an 8-bit source is mapped colour by colour through its own palette).
Bitmap mapToPalette(const Bitmap& src, const Palette256& palette, int count = 256,
                    PaletteTie tie = PaletteTie::LowestIndex);
// A 24-bit copy (an 8-bit source takes its palette colours).
Bitmap expandTo24(const Bitmap& src);
// An 8-bit grey copy: palette entry i is grey i; each pixel takes its luminance
// (299 R + 587 G + 114 B + 500) / 1000.
Bitmap toGrayscale(const Bitmap& src);
// An 8-bit black-and-white copy: palette entry 0 black, 1 white, the rest black; a pixel
// is white when its luminance (as above) is at least 128.
Bitmap toBlackAndWhite(const Bitmap& src);

// ---- Pixels ----

// The raw value at (x, y): the index of an 8-bit pixel, 0x00RRGGBB of a 24-bit one.
// 0 outside the bitmap.
uint32_t getPixelValue(const Bitmap& bmp, int x, int y);
void setPixelValue(Bitmap& bmp, int x, int y, uint32_t value);
// The colour at (x, y) as 0x00RRGGBB (an 8-bit pixel through its palette).
uint32_t getPixelColor(const Bitmap& bmp, int x, int y);
// Sets (x, y) to a 0x00RRGGBB colour; an 8-bit pixel takes the nearest palette entry.
void setPixelColor(Bitmap& bmp, int x, int y, uint32_t rgb);

// ---- Rectangles ----

// Fills the whole bitmap, or a rectangle of it, with a raw value (index or 0x00RRGGBB).
void fillBitmap(Bitmap& bmp, uint32_t value);
void fillRect(Bitmap& bmp, Rect rect, uint32_t value);

// Copies the `srcRect` area of `src` to (dx, dy) of `dst`, clipped to both. Between
// bitmaps of the same depth the raw values are copied (indices stay indices); an 8-bit
// source into a 24-bit target gives its palette colours; a 24-bit source into an 8-bit
// target gives the nearest colours of the target's palette, as a drawing-context block
// copy does. `src` and `dst` may be the same bitmap only if the areas do not overlap.
void copyRect(const Bitmap& src, Rect srcRect, Bitmap& dst, int dx, int dy);
// A new bitmap (same depth and palette) holding the `rect` area of `src`, clipped.
Bitmap copyRegion(const Bitmap& src, Rect rect);

// How combineRect puts source pixels on the target: Copy puts every pixel (as copyRect);
// Keyed leaves the target alone where the source's raw value equals the key (a
// transparent colour).
enum class CombineMode { Copy = 0, Keyed = 1 };
void combineRect(const Bitmap& src, Rect srcRect, Bitmap& dst, int dx, int dy, CombineMode mode, uint32_t key = 0);

// ---- Geometry ----

// How resizeBitmap samples. Nearest: target pixel (x, y) takes source pixel
// (x * srcWidth / newWidth, y * srcHeight / newHeight), integer division; it keeps the
// palette indices of an 8-bit bitmap, which is what the storyboard conversion scales.
// Bilinear: each channel interpolated between the four source pixels around the target
// pixel's centre (24-bit only; an 8-bit bitmap always resizes by Nearest).
enum class ResizeMode { Nearest = 0, Bilinear = 1 };
Status resizeBitmap(Bitmap& bmp, int newWidth, int newHeight, ResizeMode mode = ResizeMode::Nearest);
// Crops the bitmap in place to `rect`, which must lie inside it and not be empty.
Status trimBitmap(Bitmap& bmp, Rect rect);
// Turns the bitmap upside down (top row becomes bottom row).
void flipVertical(Bitmap& bmp);
// Mirrors the bitmap left to right.
void flipHorizontal(Bitmap& bmp);

// ---- Colour adjustments ----
// Each changes the pixels of a 24-bit bitmap or the 256 palette colours of an 8-bit one.
// Amounts outside the ranges are clamped to them; 0 changes nothing.

// Brightness, -1000..1000: every channel moves by 255 x amount / 1000 (rounded to the
// nearest whole, halves away from zero), clamped to 0..255; 1000 gives white, -1000 black.
void changeIntensity(Bitmap& bmp, int amount);
// Contrast, -1000..1000: every channel moves away from or towards 128 by the factor
// (1000 + amount) / 1000 for amount <= 0 (-1000 gives all 128) and 1000 / (1000 - amount)
// for amount > 0; 1000 thresholds each channel at 128 (below: 0, else 255).
void changeContrast(Bitmap& bmp, int amount);
// Hue, -360..360 degrees: the colour's hue (HSL) turns by the amount; lightness and
// saturation stay.
void changeHue(Bitmap& bmp, int degrees);
// Saturation, -1000..1000: HSL saturation s becomes s x (1000 + amount) / 1000 for
// amount < 0 (-1000 gives grey) and s + (1 - s) x amount / 1000 for amount > 0; hue and
// lightness stay, greys stay grey.
void changeSaturation(Bitmap& bmp, int amount);

// The same adjustments on one colour, 0x00RRGGBB in and out.
uint32_t adjustIntensity(uint32_t rgb, int amount);
uint32_t adjustContrast(uint32_t rgb, int amount);
uint32_t adjustHue(uint32_t rgb, int degrees);
uint32_t adjustSaturation(uint32_t rgb, int amount);

}  // namespace qv
