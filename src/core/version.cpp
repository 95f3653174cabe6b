// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/version.h"

#include "build_version.h"
#include "core/strings.h"

namespace qv {

const char* productVersion()
{
    return QUORVANE_PRODUCT_VERSION;
}

const char* gitDescription()
{
    return QUORVANE_GIT_DESCRIPTION;
}

std::string versionText()
{
    std::string text = formatMessage(str::IDS_ABOUT_BUILD, {productVersion()});
    const std::string description = gitDescription();
    if (!description.empty()) text += " (" + description + ")";
    return text;
}

}  // namespace qv
