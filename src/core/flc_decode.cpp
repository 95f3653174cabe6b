// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flc_decode.h"

#include <algorithm>
#include <cstring>

#include "core/byte_io.h"

namespace qv {

namespace {

// Writes `n` bytes of `src` at `offset` of a picture of `total` bytes, dropping what
// falls past the end.
inline void putClipped(uint8_t* picture, size_t total, size_t offset, const uint8_t* src, size_t n)
{
    if (offset >= total) return;
    std::memcpy(picture + offset, src, std::min(n, total - offset));
}

// Writes the two bytes lo, hi `reps` times from `offset`, dropping what falls past the end.
inline void fillWordClipped(uint8_t* picture, size_t total, size_t offset, uint8_t lo, uint8_t hi, size_t reps)
{
    if (offset >= total) return;
    size_t n = std::min(reps * 2, total - offset);
    uint8_t* out = picture + offset;
    if (lo == hi) {
        std::memset(out, lo, n);
        return;
    }
    for (; n >= 2; n -= 2, out += 2) {
        out[0] = lo;
        out[1] = hi;
    }
    if (n) out[0] = lo;
}


// Short copies and fills. Most packets of real deltas and byte runs are a few bytes long,
// and a library call per packet costs more than the copy: up to 16 bytes go as two
// (possibly overlapping) loads and stores of one width instead. Both write exactly n bytes.
inline uint64_t load64(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline void store64(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }

inline uint32_t load32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline uint16_t load16(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline void store16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

// Copies n bytes with at most two stores of one width for n <= 16 (overlapping in the
// middle when n is not a multiple of it).
inline void copyRun(uint8_t* dst, const uint8_t* src, size_t n)
{
    if (n >= 8) {
        if (n > 16) {
            std::memcpy(dst, src, n);
            return;
        }
        const uint64_t a = load64(src), b = load64(src + n - 8);
        store64(dst, a);
        store64(dst + n - 8, b);
    } else if (n >= 4) {
        const uint32_t a = load32(src), b = load32(src + n - 4);
        store32(dst, a);
        store32(dst + n - 4, b);
    } else if (n >= 2) {
        const uint16_t a = load16(src), b = load16(src + n - 2);
        store16(dst, a);
        store16(dst + n - 2, b);
    } else if (n == 1) {
        dst[0] = src[0];
    }
}

// Writes `pattern` (a byte repeated, or a word repeated with n even) over n bytes.
inline void fillRun(uint8_t* dst, uint64_t pattern, size_t n)
{
    if (n >= 8) {
        size_t i = 0;
        for (; i + 8 <= n; i += 8) store64(dst + i, pattern);
        if (i < n) store64(dst + n - 8, pattern);
    } else if (n >= 4) {
        store32(dst, static_cast<uint32_t>(pattern));
        store32(dst + n - 4, static_cast<uint32_t>(pattern));
    } else if (n >= 2) {
        store16(dst, static_cast<uint16_t>(pattern));
        store16(dst + n - 2, static_cast<uint16_t>(pattern));
    } else if (n == 1) {
        dst[0] = static_cast<uint8_t>(pattern);
    }
}
}  // namespace

size_t decodeByteRun(const uint8_t* data, size_t size, uint8_t* picture, int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    const uint8_t* in = data;
    const uint8_t* const end = data + size;
    uint8_t* out = picture;
    uint8_t* const outEnd = picture + static_cast<size_t>(width) * static_cast<size_t>(height);

    for (int y = 0; y < height; ++y) {
        if (in >= end) break;
        ++in;  // the obsolete packet count
        int x = 0;
        while (x < width) {
            // With room for the largest packet on both sides nothing needs clipping.
            if (end - in >= 130 && outEnd - out >= 128) {
                const int count = static_cast<int8_t>(*in++);
                if (count >= 0) {
                    fillRun(out, 0x0101010101010101ull * *in++, static_cast<size_t>(count));
                    out += count;
                    x += count;
                } else {
                    copyRun(out, in, static_cast<size_t>(-count));
                    out -= count;
                    in -= count;
                    x -= count;
                }
                continue;
            }
            if (in >= end) return static_cast<size_t>(in - data);
            const int count = static_cast<int8_t>(*in++);
            if (count >= 0) {
                if (in >= end) return static_cast<size_t>(in - data);
                const uint8_t value = *in++;
                const size_t n = std::min(static_cast<size_t>(count), static_cast<size_t>(outEnd - out));
                std::memset(out, value, n);
                out += n;
                x += count;
            } else {
                const size_t want = static_cast<size_t>(-count);
                const size_t take = std::min(want, static_cast<size_t>(end - in));
                const size_t n = std::min(take, static_cast<size_t>(outEnd - out));
                std::memcpy(out, in, n);
                out += n;
                in += take;
                if (take < want) return static_cast<size_t>(in - data);
                x += static_cast<int>(want);
            }
        }
    }
    return static_cast<size_t>(in - data);
}

size_t decodeDeltaFlc(const uint8_t* data, size_t size, uint8_t* picture, int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    const uint8_t* in = data;
    const uint8_t* const end = data + size;
    const size_t w = static_cast<size_t>(width);
    const size_t h = static_cast<size_t>(height);
    const size_t total = w * h;

    if (end - in < 2) return static_cast<size_t>(end - in);
    unsigned lines = getLE16(in);
    in += 2;
    size_t y = 0;  // kept at most h: lines past the picture write nothing anyway

    while (lines > 0) {
        if (end - in < 2) break;
        const uint16_t word = getLE16(in);
        in += 2;
        switch (word >> 14) {
        case 3:  // minus the number of lines to skip
            y = std::min(h, y + static_cast<size_t>(-static_cast<int>(static_cast<int16_t>(word))));
            continue;
        case 1:
        case 2:  // the last pixel of this line; the line's packet count follows
            if (y < h) picture[y * w + w - 1] = static_cast<uint8_t>(word & 0xFF);
            continue;
        default: break;
        }

        // A packet count. Offsets run on from the line's start, as in a picture without
        // padding: only the end of the picture clips them.
        const size_t lineStart = y * w;
        size_t x = 0;
        unsigned packets = word;
        // With room for the largest packet (a skip of 255, then 256 bytes out, 258 in)
        // nothing needs clipping.
        for (; packets > 0 && end - in >= 258 && lineStart + x + 511 <= total; --packets) {
            x += in[0];
            const int count = static_cast<int8_t>(in[1]);
            in += 2;
            uint8_t* out = picture + lineStart + x;
            if (count > 0) {
                const size_t n = static_cast<size_t>(count) * 2;
                copyRun(out, in, n);
                in += n;
                x += n;
            } else {
                const size_t n = static_cast<size_t>(-count) * 2;
                fillRun(out, 0x0001000100010001ull * load16(in), n);  // the word as the bytes stand
                in += 2;
                x += n;
            }
        }
        for (; packets > 0; --packets) {
            if (end - in < 2) return static_cast<size_t>(in - data);
            x += in[0];
            const int count = static_cast<int8_t>(in[1]);
            in += 2;
            if (count > 0) {
                const size_t want = static_cast<size_t>(count) * 2;
                const size_t take = std::min(want, static_cast<size_t>(end - in));
                putClipped(picture, total, lineStart + x, in, take);
                in += take;
                if (take < want) return static_cast<size_t>(in - data);
                x += want;
            } else {
                if (end - in < 2) return static_cast<size_t>(in - data);
                const size_t reps = static_cast<size_t>(-count);
                fillWordClipped(picture, total, lineStart + x, in[0], in[1], reps);
                in += 2;
                x += reps * 2;
            }
        }
        if (y < h) ++y;
        --lines;
    }
    return static_cast<size_t>(in - data);
}

size_t decodeColor256(const uint8_t* data, size_t size, Palette256& palette)
{
    const uint8_t* in = data;
    const uint8_t* const end = data + size;
    if (end - in < 2) return static_cast<size_t>(end - in);
    unsigned packets = getLE16(in);
    in += 2;
    size_t index = 0;
    for (; packets > 0; --packets) {
        if (end - in < 2) break;
        index += in[0];
        const unsigned count = in[1];
        in += 2;
        // A count of 0 means all 256 colours, from entry 0.
        const size_t first = count == 0 ? 0 : index;
        const size_t colours = count == 0 ? 256 : count;
        for (size_t k = 0; k < colours; ++k) {
            if (end - in < 3) return static_cast<size_t>(in - data);
            if (first + k < 256) palette[first + k] = PaletteEntry::fromRgb(in[0], in[1], in[2]);
            in += 3;
        }
        if (count != 0) index += count;
    }
    return static_cast<size_t>(in - data);
}

size_t decodeFliCopy(const uint8_t* data, size_t size, uint8_t* picture, int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    const size_t n = std::min(size, static_cast<size_t>(width) * static_cast<size_t>(height));
    std::memcpy(picture, data, n);
    return n;
}

}  // namespace qv
