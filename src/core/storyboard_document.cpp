// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storyboard_document.h"

namespace qv {

FlcEncodeParams storyboardFlcParams(const StoryboardInfo& info, bool leaderHead, bool useCustomDelay,
                                    uint32_t customDelay)
{
    FlcEncodeParams p;
    p.width = info.frameWidth;
    p.height = info.frameHeight;
    p.framesPerDirection = info.framesPerDirection;
    p.directions = info.directionCount;
    p.speed = info.speed;
    p.delay = useCustomDelay ? customDelay : info.speed;
    p.leftOffset = info.leftOffset;
    p.topOffset = info.topOffset;
    p.leaderHead = leaderHead;
    return p;
}

Status StoryboardFramesToFlc(const std::string& path, const StoryboardInfo& info, bool leaderHead, bool useCustomDelay,
                             uint32_t customDelay, const std::vector<std::vector<uint8_t>>& frames,
                             const Palette256& palette)
{
    return writeFlcFile(path, storyboardFlcParams(info, leaderHead, useCustomDelay, customDelay), frames, palette);
}

}  // namespace qv
