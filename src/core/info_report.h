// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The information report of an FLC file: its header values and the frames and chunks the
// loader recorded, as the Info dialog's Save writes it (single-byte text, CR LF line ends).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/flc_format.h"

namespace qv {

// The General Info rows in their fixed order: label and value, values in decimal with
// 16-bit fields taken unsigned. The file name is `path` without its folder.
std::vector<std::pair<std::string, std::string>> flcGeneralInfo(const std::string& path, const FlcHeader& header);

// The whole report. `path` is the full path of the FLC file, `header` the loaded header
// (already completed for a file without the game extension), `records` the frame
// records in load order.
std::string flcInfoReport(const std::string& path, const FlcHeader& header, const std::vector<FlcFrameInfo>& records);

}  // namespace qv
