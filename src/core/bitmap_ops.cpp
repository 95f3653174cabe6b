// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bitmap_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/strings.h"

namespace qv {

namespace {

uint32_t packRgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }
int redOf(uint32_t rgb) { return (rgb >> 16) & 0xFF; }
int greenOf(uint32_t rgb) { return (rgb >> 8) & 0xFF; }
int blueOf(uint32_t rgb) { return rgb & 0xFF; }
int clampByte(long v) { return v < 0 ? 0 : (v > 255 ? 255 : static_cast<int>(v)); }
int clampByte(double v) { return clampByte(std::lround(v)); }
int luminance(int r, int g, int b) { return (299 * r + 587 * g + 114 * b + 500) / 1000; }

// Clips a source rectangle and its target position to both bitmaps. False when nothing
// remains.
bool clipCopy(const Bitmap& src, Rect& r, const Bitmap& dst, int& dx, int& dy)
{
    int64_t sx = r.x, sy = r.y, w = r.width, h = r.height, tx = dx, ty = dy;
    if (sx < 0) { w += sx; tx -= sx; sx = 0; }
    if (sy < 0) { h += sy; ty -= sy; sy = 0; }
    if (tx < 0) { w += tx; sx -= tx; tx = 0; }
    if (ty < 0) { h += ty; sy -= ty; ty = 0; }
    w = std::min<int64_t>(w, std::min<int64_t>(src.width - sx, dst.width - tx));
    h = std::min<int64_t>(h, std::min<int64_t>(src.height - sy, dst.height - ty));
    if (w <= 0 || h <= 0) return false;
    r = Rect{int(sx), int(sy), int(w), int(h)};
    dx = int(tx);
    dy = int(ty);
    return true;
}

bool clipToBitmap(const Bitmap& bmp, Rect& r)
{
    int64_t x0 = std::max<int64_t>(r.x, 0), y0 = std::max<int64_t>(r.y, 0);
    int64_t x1 = std::min<int64_t>(int64_t(r.x) + r.width, bmp.width);
    int64_t y1 = std::min<int64_t>(int64_t(r.y) + r.height, bmp.height);
    if (x1 <= x0 || y1 <= y0) return false;
    r = Rect{int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
    return true;
}

// Applies a colour function to every pixel of a 24-bit bitmap or to the palette of an
// 8-bit one.
template <typename F>
void adjustColours(Bitmap& bmp, F f)
{
    if (bmp.bitsPerPixel == 8) {
        for (auto& e : bmp.palette.entries) {
            const uint32_t c = f(e.rgb());
            e.red = uint8_t(redOf(c));
            e.green = uint8_t(greenOf(c));
            e.blue = uint8_t(blueOf(c));
        }
        return;
    }
    if (!bmp.valid()) return;
    std::unordered_map<uint32_t, uint32_t> done;
    for (size_t i = 0; i + 2 < bmp.pixels.size(); i += 3) {
        uint8_t* p = bmp.pixels.data() + i;
        const uint32_t in = packRgb(p[0], p[1], p[2]);
        auto it = done.find(in);
        const uint32_t out = it != done.end() ? it->second : done.emplace(in, f(in)).first->second;
        p[0] = uint8_t(redOf(out));
        p[1] = uint8_t(greenOf(out));
        p[2] = uint8_t(blueOf(out));
    }
}

struct Hsl {
    double h, s, l;  // h in degrees [0, 360), s and l in [0, 1]
};

Hsl toHsl(uint32_t rgb)
{
    const double r = redOf(rgb) / 255.0, g = greenOf(rgb) / 255.0, b = blueOf(rgb) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    Hsl o{0.0, 0.0, (mx + mn) / 2.0};
    const double d = mx - mn;
    if (d <= 0.0) return o;
    o.s = o.l > 0.5 ? d / (2.0 - mx - mn) : d / (mx + mn);
    if (mx == r)
        o.h = 60.0 * std::fmod((g - b) / d + 6.0, 6.0);
    else if (mx == g)
        o.h = 60.0 * ((b - r) / d + 2.0);
    else
        o.h = 60.0 * ((r - g) / d + 4.0);
    return o;
}

double hueChannel(double p, double q, double t)
{
    if (t < 0.0) t += 1.0;
    if (t > 1.0) t -= 1.0;
    if (t < 1.0 / 6.0) return p + (q - p) * 6.0 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3.0) return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

uint32_t fromHsl(const Hsl& c)
{
    if (c.s <= 0.0) {
        const int v = clampByte(c.l * 255.0);
        return packRgb(v, v, v);
    }
    const double q = c.l < 0.5 ? c.l * (1.0 + c.s) : c.l + c.s - c.l * c.s;
    const double p = 2.0 * c.l - q;
    const double h = c.h / 360.0;
    return packRgb(clampByte(hueChannel(p, q, h + 1.0 / 3.0) * 255.0), clampByte(hueChannel(p, q, h) * 255.0),
                   clampByte(hueChannel(p, q, h - 1.0 / 3.0) * 255.0));
}

}  // namespace

// ---- Nearest colour ----

int nearestPaletteIndex(const Palette256& palette, int count, uint8_t r, uint8_t g, uint8_t b, PaletteTie tie)
{
    count = std::clamp(count, 1, 256);
    int best = 0;
    int bestDist = INT32_MAX;
    int bestRank = INT32_MAX;
    for (int i = 0; i < count; ++i) {
        const PaletteEntry& e = palette[size_t(i)];
        const int dr = int(e.red) - r, dg = int(e.green) - g, db = int(e.blue) - b;
        const int dist = dr * dr + dg * dg + db * db;
        // Lower ranks win ties; with the lowest-index rule every entry has the same rank.
        int rank = 2;
        if (tie == PaletteTie::KeepSpecialIndices) rank = i == kTransparentIndex ? 0 : (i >= kLightFirst ? 1 : 2);
        if (dist < bestDist || (dist == bestDist && rank < bestRank)) {
            bestDist = dist;
            bestRank = rank;
            best = i;
            if (dist == 0 && tie == PaletteTie::LowestIndex) break;
        }
    }
    return best;
}

NearestColorMap::NearestColorMap(const Palette256& palette, int count, PaletteTie tie)
    : palette_(palette), count_(count), tie_(tie)
{
}

uint8_t NearestColorMap::operator()(uint8_t r, uint8_t g, uint8_t b)
{
    const uint32_t key = packRgb(r, g, b);
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    const uint8_t idx = uint8_t(nearestPaletteIndex(palette_, count_, r, g, b, tie_));
    cache_.emplace(key, idx);
    return idx;
}

// ---- Depth conversions ----

Bitmap mapToPalette(const Bitmap& src, const Palette256& palette, int count, PaletteTie tie)
{
    Bitmap out = Bitmap::create(src.width, src.height, 8);
    out.palette = palette;
    out.colorCount = std::clamp(count, 1, 256);
    if (!src.valid()) return out;
    NearestColorMap map(palette, count, tie);
    const size_t n = size_t(src.width) * size_t(src.height);
    if (src.bitsPerPixel == 8) {
        uint8_t lut[256];
        for (size_t i = 0; i < 256; ++i) lut[i] = map(src.palette[i].red, src.palette[i].green, src.palette[i].blue);
        for (size_t i = 0; i < n; ++i) out.pixels[i] = lut[src.pixels[i]];
    } else {
        for (size_t i = 0; i < n; ++i) {
            const uint8_t* p = src.pixels.data() + 3 * i;
            out.pixels[i] = map(p[0], p[1], p[2]);
        }
    }
    return out;
}

Bitmap expandTo24(const Bitmap& src)
{
    if (src.bitsPerPixel == 24) return src;
    Bitmap out = Bitmap::create(src.width, src.height, 24);
    out.formatCode = src.formatCode;
    if (!src.valid()) return out;
    const size_t n = size_t(src.width) * size_t(src.height);
    for (size_t i = 0; i < n; ++i) {
        const PaletteEntry& e = src.palette[src.pixels[i]];
        out.pixels[3 * i] = e.red;
        out.pixels[3 * i + 1] = e.green;
        out.pixels[3 * i + 2] = e.blue;
    }
    return out;
}

static Bitmap toLuminance(const Bitmap& src, bool twoLevels)
{
    Bitmap out = Bitmap::create(src.width, src.height, 8);
    out.formatCode = src.formatCode;
    if (twoLevels) {
        out.palette[1] = PaletteEntry::fromRgb(255, 255, 255);
        out.colorCount = 2;
    } else {
        for (size_t i = 0; i < 256; ++i) out.palette[i] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i), uint8_t(i));
    }
    if (!src.valid()) return out;
    auto level = [twoLevels](int r, int g, int b) {
        const int y = luminance(r, g, b);
        return uint8_t(twoLevels ? (y >= 128 ? 1 : 0) : y);
    };
    const size_t n = size_t(src.width) * size_t(src.height);
    for (size_t i = 0; i < n; ++i) {
        if (src.bitsPerPixel == 8) {
            const PaletteEntry& e = src.palette[src.pixels[i]];
            out.pixels[i] = level(e.red, e.green, e.blue);
        } else {
            const uint8_t* p = src.pixels.data() + 3 * i;
            out.pixels[i] = level(p[0], p[1], p[2]);
        }
    }
    return out;
}

Bitmap toGrayscale(const Bitmap& src) { return toLuminance(src, false); }
Bitmap toBlackAndWhite(const Bitmap& src) { return toLuminance(src, true); }

// ---- Pixels ----

uint32_t getPixelValue(const Bitmap& bmp, int x, int y)
{
    if (!bmp.valid() || x < 0 || y < 0 || x >= bmp.width || y >= bmp.height) return 0;
    const uint8_t* p = bmp.row(y) + size_t(x) * size_t(bmp.bytesPerPixel());
    return bmp.bitsPerPixel == 8 ? p[0] : packRgb(p[0], p[1], p[2]);
}

void setPixelValue(Bitmap& bmp, int x, int y, uint32_t value)
{
    if (!bmp.valid() || x < 0 || y < 0 || x >= bmp.width || y >= bmp.height) return;
    uint8_t* p = bmp.row(y) + size_t(x) * size_t(bmp.bytesPerPixel());
    if (bmp.bitsPerPixel == 8) {
        p[0] = uint8_t(value);
    } else {
        p[0] = uint8_t(redOf(value));
        p[1] = uint8_t(greenOf(value));
        p[2] = uint8_t(blueOf(value));
    }
}

uint32_t getPixelColor(const Bitmap& bmp, int x, int y)
{
    const uint32_t v = getPixelValue(bmp, x, y);
    return bmp.bitsPerPixel == 8 ? bmp.palette[v & 0xFF].rgb() : v;
}

void setPixelColor(Bitmap& bmp, int x, int y, uint32_t rgb)
{
    if (bmp.bitsPerPixel == 8)
        setPixelValue(bmp, x, y,
                      uint32_t(nearestPaletteIndex(bmp.palette, bmp.colorCount, uint8_t(redOf(rgb)), uint8_t(greenOf(rgb)),
                                                   uint8_t(blueOf(rgb)))));
    else
        setPixelValue(bmp, x, y, rgb);
}

// ---- Rectangles ----

void fillBitmap(Bitmap& bmp, uint32_t value) { fillRect(bmp, Rect{0, 0, bmp.width, bmp.height}, value); }

void fillRect(Bitmap& bmp, Rect rect, uint32_t value)
{
    if (!bmp.valid() || !clipToBitmap(bmp, rect)) return;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        uint8_t* p = bmp.row(y) + size_t(rect.x) * size_t(bmp.bytesPerPixel());
        if (bmp.bitsPerPixel == 8) {
            std::memset(p, int(value & 0xFF), size_t(rect.width));
        } else {
            for (int x = 0; x < rect.width; ++x, p += 3) {
                p[0] = uint8_t(redOf(value));
                p[1] = uint8_t(greenOf(value));
                p[2] = uint8_t(blueOf(value));
            }
        }
    }
}

void copyRect(const Bitmap& src, Rect srcRect, Bitmap& dst, int dx, int dy)
{
    combineRect(src, srcRect, dst, dx, dy, CombineMode::Copy);
}

Bitmap copyRegion(const Bitmap& src, Rect rect)
{
    Bitmap out;
    if (!src.valid() || !clipToBitmap(src, rect)) {
        out = Bitmap::create(0, 0, src.bitsPerPixel);
    } else {
        out = Bitmap::create(rect.width, rect.height, src.bitsPerPixel);
        copyRect(src, rect, out, 0, 0);
    }
    out.palette = src.palette;
    out.colorCount = src.colorCount;
    out.formatCode = src.formatCode;
    return out;
}

void combineRect(const Bitmap& src, Rect srcRect, Bitmap& dst, int dx, int dy, CombineMode mode, uint32_t key)
{
    if (!src.valid() || !dst.valid() || !clipCopy(src, srcRect, dst, dx, dy)) return;
    const bool keyed = mode == CombineMode::Keyed;
    const int sb = src.bytesPerPixel(), db = dst.bytesPerPixel();
    if (src.bitsPerPixel == dst.bitsPerPixel && !keyed) {
        for (int y = 0; y < srcRect.height; ++y)
            std::memmove(dst.row(dy + y) + size_t(dx) * size_t(db), src.row(srcRect.y + y) + size_t(srcRect.x) * size_t(sb),
                         size_t(srcRect.width) * size_t(sb));
        return;
    }
    NearestColorMap map(dst.palette, dst.colorCount);
    for (int y = 0; y < srcRect.height; ++y) {
        const uint8_t* s = src.row(srcRect.y + y) + size_t(srcRect.x) * size_t(sb);
        uint8_t* d = dst.row(dy + y) + size_t(dx) * size_t(db);
        for (int x = 0; x < srcRect.width; ++x, s += sb, d += db) {
            const uint32_t raw = sb == 1 ? s[0] : packRgb(s[0], s[1], s[2]);
            if (keyed && raw == key) continue;
            if (sb == db) {
                std::memcpy(d, s, size_t(sb));
            } else if (sb == 1) {  // indices into colours
                const PaletteEntry& e = src.palette[s[0]];
                d[0] = e.red;
                d[1] = e.green;
                d[2] = e.blue;
            } else {  // colours into the nearest indices of the target's palette
                d[0] = map(s[0], s[1], s[2]);
            }
        }
    }
}

// ---- Geometry ----

Status resizeBitmap(Bitmap& bmp, int newWidth, int newHeight, ResizeMode mode)
{
    if (newWidth <= 0 || newHeight <= 0 || !bmp.valid() || bmp.empty()) return Status::failure(str::IDS_IMG_EMPTY);
    if (!imageSizeAllowed(newWidth, newHeight, bmp.bitsPerPixel)) return Status::failure(str::IDS_IMG_TOO_LARGE);
    if (newWidth == bmp.width && newHeight == bmp.height) return Status::success();
    Bitmap out = Bitmap::create(newWidth, newHeight, bmp.bitsPerPixel);
    out.palette = bmp.palette;
    out.colorCount = bmp.colorCount;
    out.formatCode = bmp.formatCode;
    const int bpp = bmp.bytesPerPixel();
    if (mode == ResizeMode::Bilinear && bmp.bitsPerPixel == 24) {
        const double fx = double(bmp.width) / newWidth, fy = double(bmp.height) / newHeight;
        for (int y = 0; y < newHeight; ++y) {
            const double sy = std::clamp((y + 0.5) * fy - 0.5, 0.0, double(bmp.height - 1));
            const int y0 = int(sy), y1 = std::min(y0 + 1, bmp.height - 1);
            const double wy = sy - y0;
            uint8_t* d = out.row(y);
            for (int x = 0; x < newWidth; ++x) {
                const double sx = std::clamp((x + 0.5) * fx - 0.5, 0.0, double(bmp.width - 1));
                const int x0 = int(sx), x1 = std::min(x0 + 1, bmp.width - 1);
                const double wx = sx - x0;
                for (int c = 0; c < 3; ++c) {
                    const double top = bmp.row(y0)[3 * x0 + c] * (1 - wx) + bmp.row(y0)[3 * x1 + c] * wx;
                    const double bottom = bmp.row(y1)[3 * x0 + c] * (1 - wx) + bmp.row(y1)[3 * x1 + c] * wx;
                    d[3 * x + c] = uint8_t(clampByte(top * (1 - wy) + bottom * wy));
                }
            }
        }
    } else {
        std::vector<size_t> column(static_cast<size_t>(newWidth));
        for (int x = 0; x < newWidth; ++x)
            column[size_t(x)] = size_t(int64_t(x) * bmp.width / newWidth) * size_t(bpp);
        for (int y = 0; y < newHeight; ++y) {
            const uint8_t* s = bmp.row(int(int64_t(y) * bmp.height / newHeight));
            uint8_t* d = out.row(y);
            for (int x = 0; x < newWidth; ++x, d += bpp) std::memcpy(d, s + column[size_t(x)], size_t(bpp));
        }
    }
    bmp = std::move(out);
    return Status::success();
}

Status trimBitmap(Bitmap& bmp, Rect rect)
{
    if (!bmp.valid() || rect.width <= 0 || rect.height <= 0 || rect.x < 0 || rect.y < 0 ||
        int64_t(rect.x) + rect.width > bmp.width || int64_t(rect.y) + rect.height > bmp.height)
        return Status::failure(str::IDS_IMG_EMPTY);
    bmp = copyRegion(bmp, rect);
    return Status::success();
}

void flipVertical(Bitmap& bmp)
{
    if (!bmp.valid()) return;
    const size_t stride = bmp.stride();
    for (int top = 0, bottom = bmp.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bmp.row(top), bmp.row(top) + stride, bmp.row(bottom));
}

void flipHorizontal(Bitmap& bmp)
{
    if (!bmp.valid()) return;
    const int bpp = bmp.bytesPerPixel();
    for (int y = 0; y < bmp.height; ++y) {
        uint8_t* r = bmp.row(y);
        for (int a = 0, b = bmp.width - 1; a < b; ++a, --b)
            std::swap_ranges(r + size_t(a) * size_t(bpp), r + size_t(a + 1) * size_t(bpp), r + size_t(b) * size_t(bpp));
    }
}

// ---- Colour adjustments ----

uint32_t adjustIntensity(uint32_t rgb, int amount)
{
    amount = std::clamp(amount, -1000, 1000);
    if (amount == 0) return rgb & 0xFFFFFF;
    const long shift = std::lround(255.0 * amount / 1000.0);
    return packRgb(clampByte(redOf(rgb) + shift), clampByte(greenOf(rgb) + shift), clampByte(blueOf(rgb) + shift));
}

uint32_t adjustContrast(uint32_t rgb, int amount)
{
    amount = std::clamp(amount, -1000, 1000);
    if (amount == 0) return rgb & 0xFFFFFF;
    auto channel = [amount](int v) {
        if (amount == 1000) return v < 128 ? 0 : 255;
        const double f = amount < 0 ? (1000.0 + amount) / 1000.0 : 1000.0 / (1000.0 - amount);
        return clampByte(128.0 + (v - 128) * f);
    };
    return packRgb(channel(redOf(rgb)), channel(greenOf(rgb)), channel(blueOf(rgb)));
}

uint32_t adjustHue(uint32_t rgb, int degrees)
{
    degrees = std::clamp(degrees, -360, 360);
    const int turn = ((degrees % 360) + 360) % 360;
    if (turn == 0) return rgb & 0xFFFFFF;
    Hsl c = toHsl(rgb);
    if (c.s <= 0.0) return rgb & 0xFFFFFF;
    c.h = std::fmod(c.h + turn, 360.0);
    return fromHsl(c);
}

uint32_t adjustSaturation(uint32_t rgb, int amount)
{
    amount = std::clamp(amount, -1000, 1000);
    if (amount == 0) return rgb & 0xFFFFFF;
    Hsl c = toHsl(rgb);
    if (c.s <= 0.0) return rgb & 0xFFFFFF;
    c.s = amount < 0 ? c.s * (1000.0 + amount) / 1000.0 : c.s + (1.0 - c.s) * amount / 1000.0;
    return fromHsl(c);
}

void changeIntensity(Bitmap& bmp, int amount)
{
    adjustColours(bmp, [amount](uint32_t c) { return adjustIntensity(c, amount); });
}
void changeContrast(Bitmap& bmp, int amount)
{
    adjustColours(bmp, [amount](uint32_t c) { return adjustContrast(c, amount); });
}
void changeHue(Bitmap& bmp, int degrees)
{
    adjustColours(bmp, [degrees](uint32_t c) { return adjustHue(c, degrees); });
}
void changeSaturation(Bitmap& bmp, int amount)
{
    adjustColours(bmp, [amount](uint32_t c) { return adjustSaturation(c, amount); });
}

}  // namespace qv
