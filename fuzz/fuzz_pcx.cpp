// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the PCX readers: the codec (header information, 8-bit and 24-bit decoding) and
// PcxPicture, the whole-file reader of backgrounds and colour schemes, with its fill of a
// 32-bit surface. A decoded picture written back as PCX must read back the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/pcx_codec.h"
#include "core/pcx_picture.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

// Round trips cost a full encode and decode: only for pictures of modest size.
constexpr size_t kRoundTripPixels = 1u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::ImageFileInfo info;
    const bool infoOk = static_cast<bool>(qv::readPcxInfo(data, size, info));

    qv::Bitmap bmp;
    if (qv::decodePcx(data, size, bmp)) {
        require(infoOk);
        require(bmp.valid() && !bmp.empty());
        require(bmp.width == info.width && bmp.height == info.height);
        if (static_cast<size_t>(bmp.width) * bmp.height <= kRoundTripPixels) {
            qv::Bytes encoded;
            require(static_cast<bool>(qv::encodePcx(bmp, encoded)));
            qv::Bitmap back;
            require(static_cast<bool>(qv::decodePcx(encoded, back)));
            require(back.width == bmp.width && back.height == bmp.height);
            require(back.bitsPerPixel == bmp.bitsPerPixel && back.pixels == bmp.pixels);
            if (bmp.bitsPerPixel == 8) require(back.palette == bmp.palette);
        }
    }

    qv::PcxPicture picture;
    if (picture.loadFromMemory(data, size)) {
        require(picture.loaded());
        const size_t w = static_cast<size_t>(picture.width()), h = static_cast<size_t>(picture.height());
        require(w > 0 && h > 0 && picture.pixels().size() == w * h);
        if (w * h <= kRoundTripPixels) {
            std::vector<uint8_t> surface(w * 4 * h);
            require(picture.copyTo32(surface.data(), w * 4));
        }
        picture.release();
        require(!picture.loaded());
    }
    return 0;
}
