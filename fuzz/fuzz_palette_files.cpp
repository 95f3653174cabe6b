// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the three palette file readers (Adobe Color Table, RIFF palette, Jasc palette)
// and the extension dispatch in front of them. Whatever a reader accepts must survive a
// round trip through each writer unchanged.
#include <cstddef>
#include <cstdint>

#include "core/palette_files.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

void roundTrip(const qv::Palette256& palette)
{
    const char* extensions[] = {"act", "pal", "PAL"};
    for (int type = qv::kPaletteAct; type <= qv::kPaletteJasc; ++type) {
        qv::Bytes bytes;
        require(qv::serializePalette(palette, type, bytes));
        qv::Palette256 back;
        require(qv::parsePaletteBytes(extensions[type], bytes.data(), bytes.size(), back));
        require(back == palette);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The readers alone, then through the dispatch by extension, whose results must agree.
    qv::Palette256 act, riff, jasc;
    const bool isAct = qv::parseActPalette(data, size, act);
    const bool isRiff = qv::parseRiffPalette(data, size, riff);
    const bool isJasc = qv::parseJascPalette(data, size, jasc);

    for (const char* ext : {"act", "Pal", "bmp"}) {
        qv::Palette256 q;
        q[7] = qv::PaletteEntry::fromRgb(1, 2, 3);
        const qv::Palette256 before = q;
        if (qv::parsePaletteBytes(ext, data, size, q)) {
            for (const qv::PaletteEntry& e : q.entries) require(e.reserved == 0);
            require(ext[0] == 'a' ? isAct && q == act : (isJasc && q == jasc) || (isRiff && q == riff));
            roundTrip(q);
        } else {
            require(q == before);  // untouched on failure
        }
    }
    return 0;
}
