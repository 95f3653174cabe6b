// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/info_report.h"

#include <cstdint>

#include "core/strings.h"

namespace qv {

namespace {

std::string fileNameOf(const std::string& path)
{
#ifdef _WIN32
    const size_t slash = path.find_last_of("/\\");
#else
    const size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The report prints positions and sizes as signed 32-bit decimals, as it always has.
int asSigned(uint32_t v) { return static_cast<int>(static_cast<int32_t>(v)); }

}  // namespace

std::vector<std::pair<std::string, std::string>> flcGeneralInfo(const std::string& path, const FlcHeader& h)
{
    auto num = [](unsigned long v) { return std::to_string(v); };
    return {
        {str::IDS_INFO_FILE_NAME, fileNameOf(path)},
        {str::IDS_INFO_FILE_SIZE, num(h.size)},
        {str::IDS_INFO_TOTAL_FRAMES, num(h.frames)},
        {str::IDS_INFO_WIDTH, num(h.width)},
        {str::IDS_INFO_HEIGHT, num(h.height)},
        {str::IDS_INFO_SPEED, num(h.speed)},
        {str::IDS_INFO_DIRECTIONS, num(h.directions)},
        {str::IDS_INFO_FRAMES_PER_DIRECTION, num(h.framesPerDirection)},
        {str::IDS_INFO_ANIMATION_TIME, num(h.animationTime)},
        {str::IDS_INFO_ORIGINAL_WIDTH, num(h.originalWidth)},
        {str::IDS_INFO_ORIGINAL_HEIGHT, num(h.originalHeight)},
        {str::IDS_INFO_LEFT_OFFSET, num(h.leftOffset)},
        {str::IDS_INFO_TOP_OFFSET, num(h.topOffset)},
    };
}

std::string flcInfoReport(const std::string& path, const FlcHeader& header, const std::vector<FlcFrameInfo>& records)
{
    std::string text;
    text.reserve(256 + records.size() * 160);
    text += formatMessage(str::IDS_INFO_REPORT_TITLE, {path});
    text += str::IDS_INFO_REPORT_GENERAL;
    for (const auto& row : flcGeneralInfo(path, header))
        text += formatMessage(str::IDS_INFO_REPORT_ROW, {row.first, row.second});
    text += str::IDS_INFO_REPORT_EXTENDED;
    for (const FlcFrameInfo& r : records) {
        text += formatMessage(str::IDS_INFO_REPORT_FRAME,
                              {int(r.number), int(r.chunkCount), asSigned(r.position), asSigned(r.size)});
        const size_t n = r.chunkCount < r.chunks.size() ? r.chunkCount : r.chunks.size();
        for (size_t j = 0; j < n; ++j) {
            const FlcChunkInfo& c = r.chunks[j];
            text += formatMessage(str::IDS_INFO_REPORT_CHUNK, {int(j), chunkKindName(c.kind), asSigned(c.position),
                                                               asSigned(c.size)});
        }
    }
    return text;
}

}  // namespace qv
