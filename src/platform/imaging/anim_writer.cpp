// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/anim_writer.h"

#include <gif_lib.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "core/bitmap.h"
#include "core/quantize.h"

namespace qv {
namespace {

bool transparent(uint32_t argb) { return (argb >> 24) < 128; }

int gifWrite(GifFileType* gif, const GifByteType* data, int size)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + size);
    return size;
}

struct GifCloser {
    void operator()(GifFileType* g) const
    {
        int err = 0;
        if (g) EGifCloseFile(g, &err);
    }
};

struct ColorMapDeleter {
    void operator()(ColorMapObject* m) const { GifFreeMapObject(m); }
};
using ColorMap = std::unique_ptr<ColorMapObject, ColorMapDeleter>;

// A colour map of `colors` (0x00RRGGBB) padded to the power of two giflib needs.
ColorMap makeColorMap(const std::vector<uint32_t>& colors)
{
    int size = 2;
    while (size < static_cast<int>(colors.size())) size *= 2;
    ColorMap map(GifMakeMapObject(size, nullptr));
    if (!map) return map;
    for (int i = 0; i < size; ++i) {
        const uint32_t c = i < static_cast<int>(colors.size()) ? colors[size_t(i)] : 0;
        map->Colors[i] = GifColorType{GifByteType(c >> 16), GifByteType(c >> 8), GifByteType(c)};
    }
    return map;
}

// Exact palette of the opaque pixels of `frames`, or false when they use more than `limit`.
bool exactPalette(const std::vector<const TimedFrame*>& frames, size_t limit, std::vector<uint32_t>& colors,
                  std::unordered_map<uint32_t, uint8_t>& index)
{
    for (const TimedFrame* f : frames)
        for (uint32_t p : f->pixels) {
            if (transparent(p)) continue;
            const uint32_t rgb = p & 0xFFFFFFu;
            if (index.count(rgb)) continue;
            if (colors.size() >= limit) return false;
            index.emplace(rgb, uint8_t(colors.size()));
            colors.push_back(rgb);
        }
    return true;
}

// One frame's indices and local colours, through libimagequant when it has too many.
bool quantizeFrame(const TimedFrame& f, int w, int h, std::vector<uint32_t>& colors, std::vector<uint8_t>& indices)
{
    std::unordered_map<uint32_t, uint8_t> index;
    colors.clear();
    indices.assign(f.pixels.size(), 255);
    if (exactPalette({&f}, 255, colors, index)) {
        for (size_t i = 0; i < f.pixels.size(); ++i)
            if (!transparent(f.pixels[i])) indices[i] = index[f.pixels[i] & 0xFFFFFFu];
        return true;
    }
    // Transparent pixels take the first opaque colour so that they add none.
    uint32_t filler = 0;
    for (uint32_t p : f.pixels)
        if (!transparent(p)) { filler = p; break; }
    Bitmap rgb = Bitmap::create(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = f.pixels[size_t(y) * size_t(w) + size_t(x)];
            if (transparent(p)) p = filler;
            uint8_t* d = rgb.row(y) + 3 * x;
            d[0] = uint8_t(p >> 16), d[1] = uint8_t(p >> 8), d[2] = uint8_t(p);
        }
    Bitmap reduced;
    if (!reduceTo8Bit(rgb, reduced, 255)) return false;
    colors.clear();  // the exact attempt above left its first 255 colours
    for (int i = 0; i < reduced.colorCount; ++i) colors.push_back(reduced.palette[size_t(i)].rgb());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            if (!transparent(f.pixels[i])) indices[i] = reduced.row(y)[x];
        }
    return true;
}

}  // namespace

std::vector<int> gifDelaysCs(const std::vector<TimedFrame>& frames)
{
    std::vector<int> delays;
    long long elapsed = 0, shownCs = 0;
    for (const TimedFrame& f : frames) {
        elapsed += f.durationMs;
        const long long endCs = (elapsed + 5) / 10;
        delays.push_back(int(endCs - shownCs));
        shownCs = endCs;
    }
    return delays;
}

bool encodeGif(const AnimSequence& seq, Bytes& out, std::string& error)
{
    const int w = seq.width, h = seq.height;
    std::vector<const TimedFrame*> all;
    bool anyTransparent = false;
    for (const TimedFrame& f : seq.frames) {
        all.push_back(&f);
        for (uint32_t p : f.pixels) anyTransparent = anyTransparent || transparent(p);
    }
    std::vector<uint32_t> globalColors;
    std::unordered_map<uint32_t, uint8_t> globalIndex;
    const bool global = exactPalette(all, 255, globalColors, globalIndex);
    // The transparent index follows the colours (255 for a frame-local palette).
    const int globalKey = int(globalColors.size());
    if (global && anyTransparent) globalColors.push_back(0);
    if (global && globalColors.empty()) globalColors.push_back(0);

    Bytes data;
    int err = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&data, gifWrite, &err));
    if (!gif) return error = GifErrorString(err), false;
    EGifSetGifVersion(gif.get(), true);
    ColorMap screenMap = global ? makeColorMap(globalColors) : ColorMap();
    if (EGifPutScreenDesc(gif.get(), w, h, 8, 0, screenMap.get()) == GIF_ERROR) return error = "GIF header", false;
    // The loop count (NETSCAPE2.0 application extension).
    const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const GifByteType loop[] = {1, GifByteType(seq.loopCount & 0xFF), GifByteType((seq.loopCount >> 8) & 0xFF)};
    if (EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif.get(), sizeof app, app) == GIF_ERROR ||
        EGifPutExtensionBlock(gif.get(), sizeof loop, loop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif.get()) == GIF_ERROR)
        return error = "GIF loop extension", false;

    const std::vector<int> delays = gifDelaysCs(seq.frames);
    std::vector<uint8_t> indices;
    std::vector<uint32_t> colors;
    for (size_t n = 0; n < seq.frames.size(); ++n) {
        const TimedFrame& f = seq.frames[n];
        int key = NO_TRANSPARENT_COLOR;
        ColorMap local;
        if (global) {
            indices.assign(f.pixels.size(), uint8_t(globalKey));
            for (size_t i = 0; i < f.pixels.size(); ++i)
                if (!transparent(f.pixels[i])) indices[i] = globalIndex[f.pixels[i] & 0xFFFFFFu];
            if (anyTransparent) key = globalKey;
        } else {
            if (!quantizeFrame(f, w, h, colors, indices)) return error = "colour reduction", false;
            colors.resize(256, 0);
            local = makeColorMap(colors);
            key = 255;
        }
        // Every frame replaces the whole picture, so the previous one is cleared first.
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_BACKGROUND;
        gcb.UserInputFlag = false;
        gcb.DelayTime = delays[n];
        gcb.TransparentColor = key;
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_ERROR ||
            EGifPutImageDesc(gif.get(), 0, 0, w, h, false, local.get()) == GIF_ERROR)
            return error = "GIF frame", false;
        for (int y = 0; y < h; ++y)
            if (EGifPutLine(gif.get(), indices.data() + size_t(y) * size_t(w), w) == GIF_ERROR)
                return error = "GIF frame", false;
    }
    GifFileType* raw = gif.release();
    if (EGifCloseFile(raw, &err) == GIF_ERROR) return error = GifErrorString(err), false;
    out = std::move(data);
    return true;
}

bool encodeWebp(const AnimSequence& seq, int quality, Bytes& out, std::string& error)
{
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) return error = "libwebp version", false;
    options.anim_params.loop_count = seq.loopCount;
    options.anim_params.bgcolor = 0;
    std::unique_ptr<WebPAnimEncoder, void (*)(WebPAnimEncoder*)> enc(
        WebPAnimEncoderNew(seq.width, seq.height, &options), WebPAnimEncoderDelete);
    if (!enc) return error = "WebP encoder", false;
    WebPConfig config;
    if (!WebPConfigInit(&config)) return error = "libwebp version", false;
    config.lossless = quality < 0 ? 1 : 0;
    config.quality = quality < 0 ? 75.0f : float(quality);
    config.exact = 1;
    int timestamp = 0;
    std::vector<uint8_t> rgba;
    for (const TimedFrame& f : seq.frames) {
        WebPPicture pic;
        if (!WebPPictureInit(&pic)) return error = "libwebp version", false;
        pic.use_argb = 1;
        pic.width = seq.width;
        pic.height = seq.height;
        if (!WebPPictureAlloc(&pic)) return error = "out of memory", false;
        for (int y = 0; y < seq.height; ++y)
            std::memcpy(pic.argb + size_t(y) * size_t(pic.argb_stride), f.pixels.data() + size_t(y) * size_t(seq.width),
                        size_t(seq.width) * 4);
        const bool ok = WebPAnimEncoderAdd(enc.get(), &pic, timestamp, &config);
        WebPPictureFree(&pic);
        if (!ok) return error = WebPAnimEncoderGetError(enc.get()), false;
        timestamp += f.durationMs;
    }
    if (!WebPAnimEncoderAdd(enc.get(), nullptr, timestamp, nullptr)) return error = WebPAnimEncoderGetError(enc.get()), false;
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAssemble(enc.get(), &data)) return error = WebPAnimEncoderGetError(enc.get()), false;
    out.assign(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    return true;
}

}  // namespace qv
