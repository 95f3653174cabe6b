// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Saving a picture the view made (the zoomed frame) to a PCX, BMP or PNG file: a save
// dialog titled "Save Image to File..." that remembers its filter ("Dlg Img"/"Filter")
// and starts in the animation's folder (at the last file saved, "Dlg Img"/"Last Opend",
// when that is there); the picture is written by the imaging layer in 24 bits.
#pragma once

#include <QString>

class QWidget;

namespace qv {

struct PictorBitmap;

// The file a save to `chosen` with filter `filterIndex` (1 all formats, 2 PCX, 3 BMP,
// 4 PNG) writes, and its imaging format code. A typed ".pcx", ".bmp" or ".png" (in any
// case) picks that format whatever the filter; otherwise the filter's format is used
// ("all formats": PCX) and its extension is added to the name as typed, so "x.v2"
// becomes "x.v2.pcx".
QString savedImagePath(const QString& chosen, int filterIndex, int& format);

// Asks for the file and writes `bitmap`. `documentPath`, the animation's file, gives the
// folder the dialog starts in. False when cancelled or when writing failed (with the
// reason: the imaging layer's message, or that the file cannot be created there).
bool SaveImageToFile(const PictorBitmap& bitmap, QWidget* parent = nullptr, const QString& documentPath = {});

}  // namespace qv
