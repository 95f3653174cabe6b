// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Writers of a game unit's files for tests, benchmarks and fuzz seeds: the unit INI
// file, WAV sounds (whose header fields can be made to lie) and ambient-sound (.amb)
// files, and a whole unit folder of FLC animations with its INI.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/byte_io.h"
#include "support/flc_builder.h"

namespace qv::test {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// An INI file laid out as the game writes one: "[Speed]", "[Animations]" with the given
// lines then "STOP_AT_LAST_FRAME=", "[Timing]", "[Sound Effects]". Lines end in `eol`.
std::string unitIniText(const KeyValues& animations, const KeyValues& sounds = {}, const std::string& eol = "\r\n");

struct WavShape {
    WavShape(uint16_t channels_ = 1, uint32_t sampleRate_ = 8000, uint16_t bitsPerSample_ = 16, uint32_t ms = 50)
        : channels(channels_), sampleRate(sampleRate_), bitsPerSample(bitsPerSample_), milliseconds(ms)
    {
    }
    uint16_t channels;
    uint32_t sampleRate;
    uint16_t bitsPerSample;
    uint32_t milliseconds;
    // Fields written instead of the true values (a lying header).
    std::optional<uint16_t> formatField;
    std::optional<uint32_t> dataSizeField;
    std::optional<uint16_t> blockAlignField;
    WavShape& withFormat(uint16_t v) { formatField = v; return *this; }
    WavShape& withDataSize(uint32_t v) { dataSizeField = v; return *this; }
    WavShape& withBlockAlign(uint16_t v) { blockAlignField = v; return *this; }
};
// A WAV file of silence (the readers and players only look at its header and length).
Bytes buildWav(const WavShape& shape = {});

// An AMB file that names `wavNames` (each written with ".wav"), between small binary
// records as the game's files have them. `magic` is the file's first four bytes.
Bytes buildAmb(const std::vector<std::string>& wavNames, const std::string& magic = "prgm");

void writeBytes(const std::filesystem::path& path, const Bytes& bytes);
void writeText(const std::filesystem::path& path, const std::string& text);

// A unit folder `dir`/`name` holding `name`.ini, one FLC of `anim` per action key (files
// named "<name> <key>.flc") and, when `withSounds`, a WAV per action. Returns the INI's path.
std::filesystem::path writeUnitFolder(const std::filesystem::path& dir, const std::string& name,
                                      const std::vector<std::string>& keys, const AnimationShape& anim,
                                      bool withSounds = false);

}  // namespace qv::test
