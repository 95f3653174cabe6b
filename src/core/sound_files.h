// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The unit sounds: the game's ambient-sound files (.amb), which name the WAV files the
// game plays, and the header of a WAV file.
//
// An AMB file is read as text in which every byte that is not a printable, non-space
// character becomes '*'. The text must start with "prgm" (any case); every ".wav"
// (exact case) ends a WAV name, which starts after the last '*' before it (or right
// after the previous ".wav"). Nothing else of the file is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"

namespace qv {

// Largest AMB file read; the game's are a few kilobytes.
constexpr uint64_t kMaxAmbFileSize = 16ull * 1024 * 1024;

// The WAV names (without ".wav") of the AMB file in `data`, in file order. Fails, with a
// message naming `path`, when the text does not start with "prgm" or names no WAV file.
Status readAmbWavNames(const std::string& path, const uint8_t* data, size_t size, std::vector<std::string>& names);

// What the header of a WAV file says, checked against the file's length.
struct WavInfo {
    uint16_t format = 0;  // 1 PCM, 3 floating point, 0xFFFE extensible
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
    uint32_t dataBytes = 0;
    // Length of the sound in milliseconds.
    uint64_t durationMs() const;
};

// Largest WAV file accepted.
constexpr uint64_t kMaxWavFileSize = 512ull * 1024 * 1024;

// Reads the RIFF header, the "fmt " chunk and the "data" chunk's size. Fails, with a
// message naming `path`, for anything that is not a playable PCM or float WAV file or
// whose chunks claim more bytes than the file has.
Status readWavInfo(const std::string& path, const uint8_t* data, size_t size, WavInfo& out);

}  // namespace qv
