// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/anim_decode.h"

#include <gif_lib.h>
#include <webp/demux.h>

#include <algorithm>

#include "core/file_io.h"

namespace qv::test {

bool decodeGif(const std::string& path, DecodedAnim& out)
{
    int err = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
    if (!gif) return false;
    const bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0;
    if (ok) {
        out.width = gif->SWidth;
        out.height = gif->SHeight;
        std::vector<uint32_t> canvas(size_t(out.width) * size_t(out.height), 0);
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& im = gif->SavedImages[i];
            GraphicsControlBlock gcb{};
            DGifSavedExtensionToGCB(gif, i, &gcb);
            const ColorMapObject* map = im.ImageDesc.ColorMap ? im.ImageDesc.ColorMap : gif->SColorMap;
            for (int y = 0; y < im.ImageDesc.Height; ++y)
                for (int x = 0; x < im.ImageDesc.Width; ++x) {
                    const int idx = im.RasterBits[y * im.ImageDesc.Width + x];
                    if (idx == gcb.TransparentColor) continue;
                    const GifColorType c = map->Colors[idx];
                    canvas[size_t(y + im.ImageDesc.Top) * size_t(out.width) + size_t(x + im.ImageDesc.Left)] =
                        0xFF000000u | (uint32_t(c.Red) << 16) | (uint32_t(c.Green) << 8) | c.Blue;
                }
            out.frames.push_back(canvas);
            out.durationsMs.push_back(gcb.DelayTime * 10);
            if (gcb.DisposalMode == DISPOSE_BACKGROUND) std::fill(canvas.begin(), canvas.end(), 0);
        }
        // The loop count: the NETSCAPE2.0 application block before the first image, which
        // giflib files with that image's extensions (its data in the block after it).
        const SavedImage& first = gif->SavedImages[0];
        for (int e = 0; e + 1 < first.ExtensionBlockCount; ++e) {
            const ExtensionBlock& app = first.ExtensionBlocks[e];
            const ExtensionBlock& data = first.ExtensionBlocks[e + 1];
            if (app.Function == APPLICATION_EXT_FUNC_CODE && app.ByteCount == 11 &&
                std::string(reinterpret_cast<char*>(app.Bytes), 11) == "NETSCAPE2.0" && data.ByteCount >= 3)
                out.loopCount = data.Bytes[1] | (data.Bytes[2] << 8);
        }
    }
    DGifCloseFile(gif, &err);
    return ok;
}

bool decodeWebp(const std::string& path, DecodedAnim& out)
{
    Bytes bytes;
    if (!readWholeFile(path, bytes)) return false;
    WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions opts;
    WebPAnimDecoderOptionsInit(&opts);
    opts.color_mode = MODE_BGRA;  // little-endian 0xAARRGGBB
    WebPAnimDecoder* dec = WebPAnimDecoderNew(&data, &opts);
    if (!dec) return false;
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(dec, &info);
    out.width = int(info.canvas_width);
    out.height = int(info.canvas_height);
    out.loopCount = int(info.loop_count);
    int previous = 0;
    while (WebPAnimDecoderHasMoreFrames(dec)) {
        uint8_t* buf = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(dec, &buf, &timestamp)) break;
        const auto* px = reinterpret_cast<const uint32_t*>(buf);
        out.frames.emplace_back(px, px + size_t(out.width) * size_t(out.height));
        out.durationsMs.push_back(timestamp - previous);
        previous = timestamp;
    }
    WebPAnimDecoderDelete(dec);
    return !out.frames.empty();
}

}  // namespace qv::test
