// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// An animation (an FLC file or a storyboard, loaded) as an animated GIF or WebP: which
// frames, composed how, for how long, encoded into bytes. `quorvane-cli anim` and the
// window's Export Animation both go through exportAnimation, so both write the same bytes.
#pragma once

#include <functional>
#include <string>

#include "core/byte_io.h"
#include "core/flc_reader.h"
#include "core/result.h"
#include "platform/imaging/frame_composer.h"

namespace qv {

enum class AnimFormat { Gif, Webp };

// The format an output file asks for by its extension (any case): false unless it is
// ".gif" or ".webp".
bool animFormatOfPath(const std::string& path, AnimFormat& out);

constexpr int kAllDirections = -1;
constexpr int kMaxAnimScale = 16;

struct AnimExportOptions {
    AnimFormat format = AnimFormat::Gif;
    int direction = 0;   // from 0, or kAllDirections
    bool grid = false;   // with kAllDirections: the directions side by side, one picture per frame step
    ComposeOptions compose;
    int scale = 1;       // whole enlargement factor, 1..kMaxAnimScale
    int loopCount = 0;   // 0: for ever
    int quality = -1;    // WebP: lossless when negative, lossy of this quality (0..100) otherwise
};

// How many directions an animation offers to choose from (at least 1).
int animDirectionCount(const FlcLoadResult& loaded);

// Where direction d (from 0) sits in a grid of `directions` directions: the compass layout
// of the Direction panel for eight (NW N NE / W . E / SW S SE), else one row in file order.
// Also gives the grid's size in cells.
void animGridCell(int directions, int d, int& column, int& row, int& columns, int& rows);

// Composes the frames `o` chooses, each shown for the animation's speed, and encodes them.
// On failure the message says why (`outputPath` names the file in it). `cancelled`, when
// set, is asked between frames; when it answers true the export stops and fails with an
// empty message.
Status exportAnimation(const FlcLoadResult& loaded, const AnimExportOptions& o, const std::string& outputPath,
                       Bytes& out, const std::function<bool()>& cancelled = {});

}  // namespace qv
