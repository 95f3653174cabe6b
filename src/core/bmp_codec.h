// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Windows BMP pictures: reading uncompressed 8-bit (any palette of up to 256 colours) and
// 24-bit pictures stored bottom-up or top-down, and writing both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/bitmap.h"
#include "core/byte_io.h"
#include "core/result.h"

namespace qv {

constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSize = 40;

// Size, depth and format code 6 of a BMP picture (any depth its header declares).
Status readBmpInfo(const uint8_t* data, size_t size, ImageFileInfo& info);

// Decodes an uncompressed 8-bit or 24-bit BMP. Palette entries past the ones the file holds
// are black; Bitmap::colorCount tells how many it held.
Status decodeBmp(const uint8_t* data, size_t size, Bitmap& out);
inline Status decodeBmp(const Bytes& data, Bitmap& out) { return decodeBmp(data.data(), data.size(), out); }
Status readBmpFile(const std::string& path, Bitmap& out);

// Encodes a valid 8-bit or 24-bit bitmap as BMP at its own depth; an 8-bit BMP always
// carries all 256 palette entries (see bmp_codec.cpp for the header we write).
Status encodeBmp(const Bitmap& bmp, Bytes& out);

}  // namespace qv
