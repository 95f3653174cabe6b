// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the ambient-sound (.amb) reader and the WAV header check with the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/sound_files.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> names;
    if (qv::readAmbWavNames("fz.amb", data, size, names)) {
        require(!names.empty());
        size_t total = 0;
        for (const std::string& n : names) {
            total += n.size() + 4;
            // A name is made of printable, non-space characters only, never the '*' filler.
            for (char c : n) require(c > 0x20 && c < 0x7F && c != '*');
        }
        require(total <= size);
    }
    qv::WavInfo info;
    if (qv::readWavInfo("fz.wav", data, size, info)) {
        require(info.dataBytes <= size && info.channels >= 1 && info.channels <= 8);
        require(info.durationMs() <= uint64_t(size) * 1000);
    }
    return 0;
}
