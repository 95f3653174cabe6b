// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// ZSoft PCX pictures: reading 8-bit one-plane pictures (with the 769-byte palette block at
// the end of the file) and 24-bit three-plane pictures, and writing both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/bitmap.h"
#include "core/byte_io.h"
#include "core/result.h"

namespace qv {

constexpr size_t kPcxHeaderSize = 128;
constexpr uint8_t kPcxManufacturer = 10;
constexpr uint8_t kPcxPaletteMarker = 12;
constexpr size_t kPcxPaletteBlockSize = 769;  // marker byte and 256 red, green, blue triples

// Decodes run-length coded PCX bytes from data[pos..size) until exactly `count` bytes have
// come out into out[0..count). A byte whose two top bits are set gives a repeat count (its
// low six bits) for the byte after it; any other byte stands for itself. Returns false when
// the data ends first or a run reaches past `count` (then `*runTooLong`, when given, is set);
// `pos` then points where decoding stopped. Never reads or writes outside the given ranges.
bool decodePcxRle(const uint8_t* data, size_t size, size_t& pos, uint8_t* out, size_t count, bool* runTooLong = nullptr);

// Appends the run-length coding of `count` bytes to `out`: runs of up to 63 equal bytes
// become a count byte and the value; a single byte below 0xC0 is written as it is.
void encodePcxRle(const uint8_t* in, size_t count, Bytes& out);

// Size, depth (bits per pixel times planes) and format code 1 of a PCX picture.
Status readPcxInfo(const uint8_t* data, size_t size, ImageFileInfo& info);

// Decodes an 8-bit one-plane or 24-bit three-plane PCX picture. Each scan line (all its
// planes) must decode to exactly planes x bytes-per-line bytes. An 8-bit picture takes its
// colours from the palette block when the byte 769 before the end is 12, else stays black.
Status decodePcx(const uint8_t* data, size_t size, Bitmap& out);
inline Status decodePcx(const Bytes& data, Bitmap& out) { return decodePcx(data.data(), data.size(), out); }
Status readPcxFile(const std::string& path, Bitmap& out);

// Encodes a valid 8-bit or 24-bit bitmap as PCX at its own depth (see pcx_codec.cpp for the
// header we write).
Status encodePcx(const Bitmap& bmp, Bytes& out);
// Writes the bitmap as PCX at 8 or 24 bits (converting as writeImageFile does).
Status writePcxFile(const std::string& path, const Bitmap& bmp, int bitsPerPixel);

}  // namespace qv
