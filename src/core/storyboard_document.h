// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What an open storyboard writes: its frames as an FLC file (Export to FLC, shared by the
// window and `quorvane-cli to-flc`, so both write the same bytes), and its files on Save
// and Save As (palette file and description, plus the sheet copied under the new name),
// written as one unit: when any file cannot be written, the files already replaced get
// their old content back.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_encoder.h"
#include "core/flc_reader.h"
#include "core/storyboard.h"

namespace qv {

// The encoder's parameters for a storyboard: the record's geometry, offsets and speed; the
// header's delay is the speed, or `customDelay` when the view plays at a delay of its own.
FlcEncodeParams storyboardFlcParams(const StoryboardInfo& info, bool leaderHead, bool useCustomDelay,
                                    uint32_t customDelay);

// Encodes the frames (D x F pictures of the record's frame size) with `palette` and writes
// the FLC file to `path` in one piece ("'%s'\r\nCannot copy temporary file to the
// specified target path." when it cannot be written).
Status StoryboardFramesToFlc(const std::string& path, const StoryboardInfo& info, bool leaderHead, bool useCustomDelay,
                             uint32_t customDelay, const std::vector<std::vector<uint8_t>>& frames,
                             const Palette256& palette);

// The storyboard's frames as a loaded animation, the way the storyboard view holds them:
// the header its FLC file would get (a leader head completed as a loaded one is), its
// frames and its palette. `frames` is moved from.
void storyboardAsAnimation(StoryboardFrames&& frames, FlcLoadResult& out);

// A .qsb storyboard (read and cut as the storyboard view does) or, for any other name, an
// FLC file (after the open check), loaded for playing or exporting its frames.
Status loadAnimationOrStoryboard(const std::string& path, FlcLoadResult& out);

}  // namespace qv
