// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Saving a picture the view made (the zoomed frame) to a PCX or BMP file through the
// image save dialog (name, format, size and colour depth), as every picture export does.
#pragma once

#include <QString>

class QWidget;

namespace qv {

struct PictorBitmap;

// The file a save to `chosen` with filter `filterIndex` (1 all formats, 2 PCX, 3 BMP)
// writes, and its imaging format code: the name loses its last four characters when it
// has an extension, then gets ".pcx" or ".bmp". Under "all formats" a typed ".bmp" picks
// BMP, anything else PCX.
QString savedImagePath(const QString& chosen, int filterIndex, int& format);

// Asks for the file, size and depth and writes `bitmap` (CFlcImage::SaveToFile).
bool SaveImageToFile(const PictorBitmap& bitmap, QWidget* parent = nullptr);

}  // namespace qv
