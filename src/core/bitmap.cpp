// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bitmap.h"

namespace qv {

Bitmap Bitmap::create(int width, int height, int bitsPerPixel)
{
    Bitmap b;
    b.width = width > 0 ? width : 0;
    b.height = height > 0 ? height : 0;
    b.bitsPerPixel = bitsPerPixel == 24 ? 24 : 8;
    b.pixels.assign(b.stride() * static_cast<size_t>(b.height), 0);
    return b;
}

}  // namespace qv
