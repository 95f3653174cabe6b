// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Saving a picture the view made (the zoomed frame) to a PCX, BMP or PNG file through the
// image save dialog (name, format, size and colour depth), as every picture export does.
// The dialog starts in the animation's folder.
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

// Asks for the file, size and depth and writes `bitmap` (CFlcImage::SaveToFile).
// `documentPath`, the animation's file, gives the folder the dialog starts in.
bool SaveImageToFile(const PictorBitmap& bitmap, QWidget* parent = nullptr, const QString& documentPath = {});

}  // namespace qv
