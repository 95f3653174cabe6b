// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Colour reduction: a 24-bit bitmap becomes an 8-bit one with an optimised palette.
#pragma once

#include "core/bitmap.h"
#include "core/result.h"

namespace qv {

// Reduces `src` to 8 bits with an optimised palette of at most `maxColors` (1..256) colours,
// without dithering, and the same result for the same picture every time:
// - an 8-bit source is copied as it is (its palette is already what it uses);
// - a picture of at most `maxColors` distinct colours gets exactly those colours, in the
//   order they first appear (rows top to bottom, left to right), and every pixel keeps its
//   exact colour;
// - a picture of more colours gets the palette libimagequant builds (fixed speed and
//   quality, no posterisation), and every pixel takes the nearest of its colours
//   (nearestPaletteIndex of core/bitmap_ops.h).
// Bitmap::colorCount of the result tells how many palette entries were produced; the
// rest of the palette is black.
Status reduceTo8Bit(const Bitmap& src, Bitmap& out, int maxColors = 256);

}  // namespace qv
