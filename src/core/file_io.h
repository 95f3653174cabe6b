// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Whole-file reading and crash-safe whole-file writing.
#pragma once

#include <cstdint>
#include <string>

#include "core/byte_io.h"

namespace qv {

// Reads a whole file into `out`. False when it cannot be opened or read, or when it is
// larger than `maxBytes`.
bool readWholeFile(const std::string& path, Bytes& out, uint64_t maxBytes = UINT64_MAX);

// Writes `data` to `path` so that a crash never leaves a half-written file: the bytes go
// to a temporary file beside the target, are flushed to disk, and the temporary file is
// renamed over the target. False (and the target untouched) on any failure.
bool writeFileAtomic(const std::string& path, const uint8_t* data, size_t size);
inline bool writeFileAtomic(const std::string& path, const Bytes& data)
{
    return writeFileAtomic(path, data.data(), data.size());
}

bool fileExists(const std::string& path);

// The extension after the last dot of the file name, without the dot ("" when none).
std::string fileExtension(const std::string& path);
// Compares ASCII strings without regard to case.
bool equalsNoCase(const std::string& a, const std::string& b);

}  // namespace qv
