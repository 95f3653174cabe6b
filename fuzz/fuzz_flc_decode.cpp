// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fuzzes the "BYTE_RUN" and "DELTA_FLC" decoders against plain byte-at-a-time versions of
// the same rules (written for clarity, not speed): same picture, same bytes read. The
// decoders take shortcuts where there is room, so their results must not depend on it.
// The input: width - 1, height - 1, the starting picture's seed, then the chunk data.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/byte_io.h"
#include "core/flc_decode.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

size_t referenceByteRun(const uint8_t* data, size_t size, uint8_t* picture, int width, int height)
{
    size_t in = 0, out = 0;
    const size_t total = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (int y = 0; y < height; ++y) {
        if (in >= size) break;
        ++in;
        int x = 0;
        while (x < width) {
            if (in >= size) return in;
            const int count = static_cast<int8_t>(data[in++]);
            if (count >= 0) {
                if (in >= size) return in;
                const uint8_t v = data[in++];
                for (int k = 0; k < count; ++k, ++out)
                    if (out < total) picture[out] = v;
                out = std::min(out, total);
                x += count;
            } else {
                for (int k = 0; k < -count; ++k) {
                    if (in >= size) return in;
                    if (out < total) picture[out++] = data[in];
                    ++in;
                }
                x -= count;
            }
        }
    }
    return in;
}

size_t referenceDelta(const uint8_t* data, size_t size, uint8_t* picture, int width, int height)
{
    const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height), total = w * h;
    size_t in = 0;
    if (size < 2) return size;
    unsigned lines = qv::getLE16(data);
    in = 2;
    size_t y = 0;
    auto put = [&](size_t at, uint8_t v) {
        if (at < total) picture[at] = v;
    };
    while (lines > 0) {
        if (size - in < 2) break;
        const uint16_t word = qv::getLE16(data + in);
        in += 2;
        if ((word >> 14) == 3) {
            y = std::min(h, y + static_cast<size_t>(-static_cast<int>(static_cast<int16_t>(word))));
            continue;
        }
        if ((word >> 14) != 0) {
            if (y < h) picture[y * w + w - 1] = static_cast<uint8_t>(word);
            continue;
        }
        size_t at = y * w;
        for (unsigned p = word; p > 0; --p) {
            if (size - in < 2) return in;
            at += data[in];
            const int count = static_cast<int8_t>(data[in + 1]);
            in += 2;
            if (count > 0) {
                for (int k = 0; k < 2 * count; ++k) {
                    if (in >= size) return in;
                    put(at++, data[in++]);
                }
            } else {
                if (size - in < 2) return in;
                for (int k = 0; k < -count; ++k) {
                    put(at++, data[in]);
                    put(at++, data[in + 1]);
                }
                in += 2;
            }
        }
        if (y < h) ++y;
        --lines;
    }
    return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) return 0;
    const int width = data[0] % qv::kMaxFrameSide + 1;
    const int height = data[1] % qv::kMaxFrameSide + 1;
    const uint8_t seed = data[2];
    data += 3;
    size -= 3;
    const size_t total = static_cast<size_t>(width) * static_cast<size_t>(height);

    std::vector<uint8_t> start(total);
    for (size_t i = 0; i < total; ++i) start[i] = static_cast<uint8_t>(seed + i * 7);

    // The data copied to a buffer of its own size, so reading past it is caught.
    const std::vector<uint8_t> chunk(data, data + size);
    std::vector<uint8_t> ours = start, reference = start;
    require(qv::decodeByteRun(chunk.data(), size, ours.data(), width, height) ==
            referenceByteRun(chunk.data(), size, reference.data(), width, height));
    require(ours == reference);

    ours = reference = start;
    require(qv::decodeDeltaFlc(chunk.data(), size, ours.data(), width, height) ==
            referenceDelta(chunk.data(), size, reference.data(), width, height));
    require(ours == reference);
    return 0;
}
