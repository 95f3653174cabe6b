// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/quantize.h"

#include <libimagequant.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "core/bitmap_ops.h"
#include "core/strings.h"

namespace qv {

namespace {

// libimagequant's speed 1..10: 4 trades little quality for a much shorter run than the
// slowest setting, and like every setting it gives the same palette for the same picture.
constexpr int kQuantizeSpeed = 4;

uint32_t rgbAt(const uint8_t* p) { return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]; }

struct LiqAttrDeleter {
    void operator()(liq_attr* a) const { liq_attr_destroy(a); }
};
struct LiqImageDeleter {
    void operator()(liq_image* i) const { liq_image_destroy(i); }
};
struct LiqResultDeleter {
    void operator()(liq_result* r) const { liq_result_destroy(r); }
};

// Exactly the picture's own colours, in the order they first appear. False when it has
// more than maxColors.
bool exactPalette(const Bitmap& src, int maxColors, Bitmap& out)
{
    std::unordered_map<uint32_t, uint8_t> index;
    Bitmap result = Bitmap::create(src.width, src.height, 8);
    const size_t n = size_t(src.width) * size_t(src.height);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = src.pixels.data() + 3 * i;
        const uint32_t c = rgbAt(p);
        auto it = index.find(c);
        if (it == index.end()) {
            if (int(index.size()) >= maxColors) return false;
            const uint8_t k = uint8_t(index.size());
            result.palette[k] = PaletteEntry::fromRgb(p[0], p[1], p[2]);
            it = index.emplace(c, k).first;
        }
        result.pixels[i] = it->second;
    }
    result.colorCount = int(index.size());
    out = std::move(result);
    return true;
}

}  // namespace

Status reduceTo8Bit(const Bitmap& src, Bitmap& out, int maxColors)
{
    if (!src.valid() || src.empty()) return Status::failure(str::IDS_IMG_EMPTY);
    maxColors = std::clamp(maxColors, 1, 256);
    if (src.bitsPerPixel == 8) {
        out = src;
        return Status::success();
    }
    Bitmap result;
    if (!exactPalette(src, maxColors, result)) {
        // libimagequant wants red, green, blue, alpha.
        const size_t n = size_t(src.width) * size_t(src.height);
        std::vector<uint8_t> rgba(n * 4);
        for (size_t i = 0; i < n; ++i) {
            rgba[4 * i] = src.pixels[3 * i];
            rgba[4 * i + 1] = src.pixels[3 * i + 1];
            rgba[4 * i + 2] = src.pixels[3 * i + 2];
            rgba[4 * i + 3] = 255;
        }
        std::unique_ptr<liq_attr, LiqAttrDeleter> attr(liq_attr_create());
        if (!attr || liq_set_max_colors(attr.get(), maxColors) != LIQ_OK || liq_set_speed(attr.get(), kQuantizeSpeed) != LIQ_OK ||
            liq_set_quality(attr.get(), 0, 100) != LIQ_OK || liq_set_min_posterization(attr.get(), 0) != LIQ_OK)
            return Status::failure(str::IDS_IMG_QUANTIZE_FAILED);
        std::unique_ptr<liq_image, LiqImageDeleter> image(
            liq_image_create_rgba(attr.get(), rgba.data(), src.width, src.height, 0.0));
        if (!image) return Status::failure(str::IDS_IMG_QUANTIZE_FAILED);
        liq_result* raw = nullptr;
        if (liq_image_quantize(image.get(), attr.get(), &raw) != LIQ_OK || !raw)
            return Status::failure(str::IDS_IMG_QUANTIZE_FAILED);
        std::unique_ptr<liq_result, LiqResultDeleter> quantized(raw);
        const liq_palette* pal = liq_get_palette(quantized.get());
        if (!pal || pal->count == 0 || pal->count > 256) return Status::failure(str::IDS_IMG_QUANTIZE_FAILED);
        Palette256 palette;
        for (unsigned i = 0; i < pal->count; ++i)
            palette[i] = PaletteEntry::fromRgb(pal->entries[i].r, pal->entries[i].g, pal->entries[i].b);
        result = mapToPalette(src, palette, int(pal->count));
    }
    result.formatCode = src.formatCode;
    out = std::move(result);
    return Status::success();
}

}  // namespace qv
