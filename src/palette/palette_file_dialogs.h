// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The dialogs behind "&Import Palette" and "&Export Palette": a file dialog for a palette
// file (Adobe Color Table, Microsoft RIFF or Jasc palette) that starts in the animation's
// folder (at the last palette file, "Options"/"PalDir", when it is there) and remembers
// the filter ("PalFilterImp", "PalFilterExp"), then the file operation of
// core/palette_files.h, with the program's messages.
#pragma once

#include <QString>

#include "core/flc_format.h"

class QWidget;

namespace qv {

enum class PaletteImportResult {
    Cancelled,  // the dialog was cancelled: nothing read, nothing shown
    Imported,   // `target` holds the file's colours
    Failed,     // the chosen file could not be read; the message was shown
};

// Asks for a palette file and reads it into `target` (untouched unless Imported). Which
// reader is used depends on the file's extension and first bytes, not on the filter.
// `documentPath` is the animation's file (empty when there is none).
PaletteImportResult ImportPalette(Palette256& target, QWidget* parent = nullptr, const QString& documentPath = {});

// Asks for a file name and writes `source` in the format of the chosen filter, with the
// extension that format has (see exportTargetPath). True when written ("Palette is
// successfully exported." is shown); false when cancelled or when writing failed (with
// its message).
bool ExportPalette(const Palette256& source, QWidget* parent = nullptr, const QString& documentPath = {});

// The file an export to the typed name `chosen` in palette format `type` writes: a typed
// ".act" or ".pal" is replaced by the format's extension; any other name keeps all it
// has and gets the extension added ("my.colours" -> "my.colours.pal").
QString exportTargetPath(const QString& chosen, int type);

}  // namespace qv
