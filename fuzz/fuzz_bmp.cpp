// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the BMP reader (storyboard sheets and imported pictures) and the reading by
// content that picks PCX or BMP. A decoded picture written back as BMP must read back the
// same.
#include <cstddef>
#include <cstdint>

#include "core/bitmap.h"
#include "core/bmp_codec.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

constexpr size_t kRoundTripPixels = 1u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::ImageFileInfo info;
    const bool infoOk = static_cast<bool>(qv::readBmpInfo(data, size, info));

    qv::Bitmap bmp;
    if (qv::decodeBmp(data, size, bmp)) {
        require(infoOk);
        require(bmp.valid() && !bmp.empty());
        require(bmp.width == info.width && bmp.height == info.height);
        require(bmp.colorCount >= 0 && bmp.colorCount <= 256);
        if (static_cast<size_t>(bmp.width) * bmp.height <= kRoundTripPixels) {
            qv::Bytes encoded;
            require(static_cast<bool>(qv::encodeBmp(bmp, encoded)));
            qv::Bitmap back;
            require(static_cast<bool>(qv::decodeBmp(encoded, back)));
            require(back.width == bmp.width && back.height == bmp.height);
            require(back.bitsPerPixel == bmp.bitsPerPixel && back.pixels == bmp.pixels);
            if (bmp.bitsPerPixel == 8) require(back.palette == bmp.palette);
        }
    }

    qv::ImageFileInfo any;
    (void)qv::readImageInfo(data, size, any);
    qv::Bitmap picked;
    if (qv::decodeImage(data, size, picked)) require(picked.valid() && !picked.empty());
    return 0;
}
