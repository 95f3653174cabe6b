// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The shared frame composer as the commands use it: a failure to prepare is printed and
// refuses the input.
#pragma once

#include "platform/imaging/frame_composer.h"

namespace qv::cli {

class FrameComposer : public qv::FrameComposer {
public:
    // Returns kExitOk, or kExitRefused after printing why.
    int prepare(const FlcLoadResult& loaded, const ComposeOptions& o);
};

}  // namespace qv::cli
