// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Animated GIF and WebP files decoded with the libraries' own decoders (giflib's and
// libwebp's demuxer), to check what our writers produced.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::test {

struct DecodedAnim {
    int width = 0;
    int height = 0;
    int loopCount = -1;
    std::vector<std::vector<uint32_t>> frames;  // whole canvases, 0xAARRGGBB
    std::vector<int> durationsMs;
};

// Both return false when the file does not decode.
bool decodeGif(const std::string& path, DecodedAnim& out);
bool decodeWebp(const std::string& path, DecodedAnim& out);

}  // namespace qv::test
