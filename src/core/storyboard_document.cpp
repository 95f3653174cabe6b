// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storyboard_document.h"

#include "core/file_io.h"

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

void storyboardAsAnimation(StoryboardFrames&& frames, FlcLoadResult& out)
{
    out = FlcLoadResult{};
    out.leaderHead = frames.info.leaderHead != 0;
    out.store.header = makeEncodedFlcHeader(storyboardFlcParams(frames.info, out.leaderHead, false, 0));
    out.store.frames = std::move(frames.frames);
    out.store.basePalette = frames.palette;
    completeFlcHeader(out.store.header, static_cast<uint16_t>(out.store.frames.size()));
    out.expectedFrames = static_cast<uint32_t>(out.store.frames.size());
}

Status loadAnimationOrStoryboard(const std::string& path, FlcLoadResult& out)
{
    if (!equalsNoCase(fileExtension(path), "qsb")) {
        if (Status st = checkFlcFile(path); !st) return st;
        return loadFlcAnimation(path, out);
    }
    StoryboardFrames frames;
    if (Status st = loadStoryboard(path, frames); !st) return st;
    storyboardAsAnimation(std::move(frames), out);
    return Status::success();
}

}  // namespace qv
