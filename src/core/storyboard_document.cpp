// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storyboard_document.h"

#include <cstdio>

#include "core/file_io.h"
#include "core/palette_files.h"
#include "core/strings.h"

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

int writeFilesAsUnit(const std::vector<std::pair<std::string, Bytes>>& files)
{
    struct Old {
        bool existed = false;
        Bytes bytes;
    };
    std::vector<Old> old(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        old[i].existed = fileExists(files[i].first);
        if (old[i].existed && !readWholeFile(files[i].first, old[i].bytes)) return static_cast<int>(i);
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (writeFileAtomic(files[i].first, files[i].second)) continue;
        for (size_t k = i; k-- > 0;) {
            if (old[k].existed)
                writeFileAtomic(files[k].first, old[k].bytes);
            else
                std::remove(files[k].first.c_str());
        }
        return static_cast<int>(i);
    }
    return -1;
}

Status saveStoryboardFiles(const std::string& qsbPath, const StoryboardInfo& info, const Palette256& palette,
                           const std::string& sheetSource, StoryboardSaveStep& failed)
{
    failed = StoryboardSaveStep::Description;
    StoryboardGeometry g;
    g.sheetWidth = info.sheetWidth;
    g.sheetHeight = info.sheetHeight;
    g.frameWidth = info.frameWidth;
    g.frameHeight = info.frameHeight;
    g.framesPerDirection = info.framesPerDirection;
    g.directions = info.directionCount;
    g.speed = info.speed;
    g.leftOffset = info.leftOffset;
    g.topOffset = info.topOffset;
    g.imageType = info.imageType;
    g.paletteType = info.paletteType;
    g.leaderHead = info.leaderHead;
    const std::string target = qsbPathFor(qsbPath);
    StoryboardInfo record;
    const Status made = makeStoryboardInfo(target, g, record);
    if (!made) return made;

    std::vector<std::pair<std::string, Bytes>> files;
    std::vector<StoryboardSaveStep> steps;
    if (!sheetSource.empty()) {
        const std::string sheetTarget = storyboardSheetPath(target, record);
        Bytes sheet;
        if (!readWholeFile(sheetSource, sheet)) {
            failed = StoryboardSaveStep::Sheet;
            return Status::failure(formatMessage(str::IDS_CANNOT_COPY_FROM_TO, {sheetSource, sheetTarget}));
        }
        files.emplace_back(sheetTarget, std::move(sheet));
        steps.push_back(StoryboardSaveStep::Sheet);
    }
    Bytes paletteBytes;
    if (!serializePalette(palette, info.paletteType, paletteBytes)) {
        failed = StoryboardSaveStep::Palette;
        return Status::failure(str::IDS_QSB_CANNOT_WRITE_PALETTE);
    }
    files.emplace_back(storyboardPalettePath(target, info.paletteType), std::move(paletteBytes));
    steps.push_back(StoryboardSaveStep::Palette);
    Bytes description(kStoryboardInfoSize);
    record.serialize(description.data());
    files.emplace_back(target, std::move(description));
    steps.push_back(StoryboardSaveStep::Description);

    const int bad = writeFilesAsUnit(files);
    if (bad < 0) {
        failed = StoryboardSaveStep::None;
        return Status::success();
    }
    failed = steps[static_cast<size_t>(bad)];
    switch (failed) {
        case StoryboardSaveStep::Sheet:
            return Status::failure(formatMessage(str::IDS_CANNOT_COPY_FROM_TO, {sheetSource, files[0].first}));
        case StoryboardSaveStep::Palette:
            return Status::failure(str::IDS_QSB_CANNOT_WRITE_PALETTE);
        default:
            return Status::failure(str::IDS_QSB_CANNOT_WRITE);
    }
}

}  // namespace qv
