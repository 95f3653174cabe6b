// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the storyboard reading: the 79-byte description record, and cutting a sheet into
// frames as the storyboard view does, with the record and the sheet both from the input.
// The input is the record followed by the sheet's file bytes (PCX or BMP); when those do
// not decode, their first bytes give a small raw sheet instead, so the cutting is reached
// either way. A quantisation palette lies beside the description for the palette type 0,
// so 24-bit sheets are reduced too.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/bitmap.h"
#include "core/palette_files.h"
#include "core/storyboard.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

std::string g_qsbPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char dir[] = "/tmp/qv-fuzz-storyboard-XXXXXX";
    if (!mkdtemp(dir)) std::abort();
    g_qsbPath = std::string(dir) + "/fz.qsb";
    qv::Palette256 quant;
    for (int i = 0; i < 256; ++i)
        quant[i] = qv::PaletteEntry::fromRgb(static_cast<uint8_t>(i), static_cast<uint8_t>(i * 5), static_cast<uint8_t>(~i));
    // storyboardPalettePath gives fz.act for type 0; its quantisation palette is fz_Default.act.
    const std::string quantPath = qv::quantisationPalettePath(qv::storyboardPalettePath(g_qsbPath, qv::kPaletteAct));
    qv::Bytes bytes;
    qv::serializePalette(quant, qv::kPaletteAct, bytes);
    FILE* f = std::fopen(quantPath.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::StoryboardInfo info;
    require(qv::StoryboardInfo::parse(data, size, info) == (size == qv::kStoryboardInfoSize));
    if (size < qv::kStoryboardInfoSize) return 0;
    require(qv::StoryboardInfo::parse(data, qv::kStoryboardInfoSize, info));
    require(info.name().size() <= qv::kStoryboardNameField);

    // The record survives writing and reading back.
    uint8_t bytes[qv::kStoryboardInfoSize];
    info.serialize(bytes);
    qv::StoryboardInfo again;
    require(qv::StoryboardInfo::parse(bytes, sizeof bytes, again));
    require(again.name() == info.name() && std::memcmp(bytes + 64, data + 64, 15) == 0);

    const uint8_t* sheetBytes = data + qv::kStoryboardInfoSize;
    const size_t sheetSize = size - qv::kStoryboardInfoSize;
    qv::Bitmap sheet;
    if (!qv::decodeImage(sheetBytes, sheetSize, sheet)) {
        if (sheetSize < 3) return 0;
        const int w = sheetBytes[0] % 97 + 1, h = sheetBytes[1] % 97 + 1;
        sheet = qv::Bitmap::create(w, h, (sheetBytes[2] & 1) ? 24 : 8);
        for (size_t i = 0; i < sheet.pixels.size(); ++i) sheet.pixels[i] = sheetBytes[2 + i % (sheetSize - 2)];
    }

    // A record may ask for far more cells than its sheet holds; the cutter copes (up to
    // its own limit), but hundreds of megabytes a run would starve the fuzzer.
    if (static_cast<int64_t>(info.totalFrames()) * info.frameWidth * info.frameHeight > (int64_t(1) << 22)) return 0;

    qv::StoryboardFrames frames;
    if (qv::cutStoryboardSheet(g_qsbPath, info, sheet, frames)) {
        const size_t cell = static_cast<size_t>(info.frameWidth) * info.frameHeight;
        require(frames.frames.size() == static_cast<size_t>(info.totalFrames()));
        for (const auto& f : frames.frames) require(f.size() == cell);
        require(frames.info.speed != 0);
        require(frames.keyColour == frames.palette[qv::kTransparentIndex]);
    }
    return 0;
}
