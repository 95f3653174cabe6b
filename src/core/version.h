// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The version of this build, as the About box shows it and `quorvane-cli version`
// prints it.
#pragma once

#include <string>

namespace qv {

// The project version ("2.0.0").
const char* productVersion();
// `git describe --always --dirty` of the sources this build came from; empty for a
// build outside a git checkout.
const char* gitDescription();
// The one line naming this build: "Build: 2.0.0", followed by " (description)" when
// there is one.
std::string versionText();

}  // namespace qv
