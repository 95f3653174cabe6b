// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The colour tools' operations on a whole palette, shared by the colour dialogs and
// `quorvane-cli recolour`: replacing one entry or a range from another palette, moving and
// shifting entries (the places left behind become red), brightness, contrast, hue and
// saturation over a run of entries, the limits the dialogs put on their numbers, and
// taking the colours of any file the tools accept (palette files, FLC animations,
// storyboards, PCX and BMP pictures).
#pragma once

#include <string>

#include "core/flc_format.h"
#include "core/result.h"

namespace qv {

// What a palette the tools have nothing for is filled with, and what moved-out entries
// become: red 255, green 0, blue 0.
constexpr PaletteEntry kToolRed{0, 0, 255, 0};
Palette256 redPalette();

// ---- Limits of the dialogs' boxes ----

// Replace Range: From and To at most 255; the count at most 256 - max(From, To).
int clampRangeCount(int from, int to, int count);
// Move Colors: the count at most 255 when the whole palette moves; otherwise at most
// 255 - max(From, To) unless it is 1 (a single entry may go anywhere).
int clampMoveCount(bool wholePalette, int from, int to, int count);

// ---- Moving colours ----

// destination[to + k] = source[from + k] for k = 0 .. count - 1, within 0..255.
void replaceRange(Palette256& destination, const Palette256& source, int from, int to, int count);
// Entries from .. from + count - 1 copied to to .., then the old places made red (where
// the two blocks overlap, red wins). Nothing happens when from equals to or count is 0.
void moveColors(Palette256& palette, int from, int to, int count);
// Every entry moves n places up (right shift) or down (left shift); those pushed past the
// end are lost and the n places left empty become red. n of 0 changes nothing.
void shiftRight(Palette256& palette, int n);
void shiftLeft(Palette256& palette, int n);

// ---- Brightness, contrast, hue, saturation ----

enum class ColourAdjustment { Brightness, Contrast, Hue, Saturation };
// The amounts each takes: -1000..1000, and -360..360 degrees for the hue.
int adjustmentLimit(ColourAdjustment kind);
// Applies one adjustment, as the imaging layer's bitmap operations do, to entries
// first..last (inclusive, clipped to 0..255). Amounts outside the limit are clamped.
void adjustPalette(Palette256& palette, ColourAdjustment kind, int amount, int first = 0, int last = 255);

// ---- Colours from a file ----

// Fills `target` with red, then with the colours of the file at `path`, by its extension
// (any case): "act"/"pal" a palette file; "flc" the colour chunk of the first frame (width
// and height at most 240, first frame of type 0xF1FA); "qsb" the storyboard's palette
// file (.act for palette type 0, .pal otherwise); "pcx"/"bmp" the picture's palette, a
// 24-bit picture first reduced to 256 colours. A picture of fewer than 8 bits is refused
// with "Color depth must be not less 8 bits."; other failures with a message naming the
// problem. Entries a file does not supply stay red.
Status GetPalette(const std::string& path, Palette256& target);

}  // namespace qv
