// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flc_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/strings.h"

namespace qv {

namespace {

constexpr int kMaxEncodedSide = 255;  // keeps every count and column skip within its byte
constexpr uint8_t kRowPacketByte = 0xCD;
constexpr int kMaxRunLength = 127;
constexpr uint32_t kUnitCreator = 0xF1F1F2F2u;        // bytes F2 F2 F1 F1
constexpr uint32_t kLeaderHeadCreator = 0x0000028Au;  // bytes 8A 02 00 00
constexpr uint32_t kUnitExtensionWord = 28;
constexpr uint16_t kLastPixelWord = 0x8000;  // top bits 10: the low byte is the row's last pixel

// Worst case of one encoded row, in either encoder: a line-skip word, a last-pixel word,
// the packet-count word and at most two bytes per pixel plus a little packet overhead.
constexpr size_t rowWorstCase(int width) { return 2 * static_cast<size_t>(width) + 10; }

bool validSide(int v) { return v >= 1 && v <= kMaxEncodedSide; }

void appendFrameHeader(Bytes& out, uint32_t size, uint16_t chunks)
{
    ByteWriter w(out);
    w.u32(size);
    w.u16(kFrameType);
    w.u16(chunks);
    w.zeros(8);
}

void appendChunk(Bytes& out, uint16_t type, const uint8_t* data, size_t size)
{
    ByteWriter w(out);
    w.u32(static_cast<uint32_t>(kChunkHeaderSize + size));
    w.u16(type);
    w.bytes(data, size);
}

}  // namespace

size_t flcWorkBufferSize(int width, int height)
{
    if (width < 1 || height < 1) return kPaletteChunkDataSize;
    return std::max(kPaletteChunkDataSize, static_cast<size_t>(height) * rowWorstCase(width) + 4);
}

void encodePaletteChunkData(const Palette256& palette, uint8_t* out)
{
    putLE16(out, 1);  // one packet
    out[2] = 0;       // skip nothing
    out[3] = 0;       // a count of 0 means all 256 colours
    uint8_t* o = out + 4;
    for (int i = 0; i < 256; ++i) {
        *o++ = palette[i].red;
        *o++ = palette[i].green;
        *o++ = palette[i].blue;
    }
}

size_t encodeByteRun(const uint8_t* picture, int width, int height, uint8_t* out)
{
    if (width < 1 || height < 1) return 0;
    uint8_t* o = out;
    const int w = width;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = picture + static_cast<size_t>(y) * static_cast<size_t>(w);
        *o++ = kRowPacketByte;
        int x = 0;
        while (x < w) {
            const uint8_t p = row[x];
            if (x + 1 < w && row[x + 1] == p) {
                // A run of equal pixels, at most 127, never past the row's end.
                int n = 2;
                while (n < kMaxRunLength && x + n < w && row[x + n] == p) ++n;
                *o++ = static_cast<uint8_t>(n);
                *o++ = p;
                x += n;
            } else {
                // Literal pixels up to (not including) the start of the next run. The row's
                // last pixel has no successor, so it always ends a literal.
                int n = 1;
                while (n < kMaxRunLength && x + n < w && (x + n == w - 1 || row[x + n] != row[x + n + 1])) ++n;
                *o++ = static_cast<uint8_t>(-n);
                std::memcpy(o, row + x, static_cast<size_t>(n));
                o += n;
                x += n;
            }
        }
    }
    return static_cast<size_t>(o - out);
}

size_t encodeDeltaFlc(const uint8_t* before, const uint8_t* after, int width, int height, uint8_t* out)
{
    if (!validSide(width) || height < 1) return 0;
    const int w = width;
    uint8_t* o = out + 2;  // the line count goes first, once known
    unsigned lines = 0;
    int pendingSkip = 0;
    std::array<uint8_t, rowWorstCase(kMaxEncodedSide)> rowBuf;

    for (int y = 0; y < height; ++y) {
        const size_t rowStart = static_cast<size_t>(y) * static_cast<size_t>(w);
        const uint8_t* a = after + rowStart;
        const uint8_t* b = before + rowStart;
        if (std::memcmp(a, b, static_cast<size_t>(w)) == 0) {
            ++pendingSkip;
            continue;
        }
        int x = 0;
        int lastX = 0;
        int packets = 0;
        size_t rb = 0;
        bool hasLastPixel = false;
        uint8_t lastPixel = 0;

        while (x < w) {
            if (a[x] == b[x]) {
                ++x;
                continue;
            }
            if (x == w - 1) {
                // A pair starting here would leave the row: the last-pixel word sets it.
                hasLastPixel = true;
                lastPixel = a[x];
                ++x;
                continue;
            }
            ++packets;
            rowBuf[rb++] = static_cast<uint8_t>(x - lastX);
            const size_t countAt = rb++;
            uint8_t last0 = a[x], last1 = a[x + 1];
            rowBuf[rb++] = last0;
            rowBuf[rb++] = last1;
            int count = 1;
            enum class Mode { Undecided, Run, Literal } mode = Mode::Undecided;
            x += 2;
            if (x < w && a[x] != b[x]) {
                // Grow the packet pair by pair while the pixel under the next pair changed.
                while (x + 1 < w) {
                    const uint8_t q0 = a[x], q1 = a[x + 1];
                    if (q0 == last0 && q1 == last1) {
                        if (mode == Mode::Literal) break;  // the repeat starts the next packet
                        mode = Mode::Run;
                    } else {
                        if (mode == Mode::Run) break;
                        mode = Mode::Literal;
                        rowBuf[rb++] = q0;
                        rowBuf[rb++] = q1;
                        last0 = q0;
                        last1 = q1;
                    }
                    x += 2;
                    ++count;
                    if (x >= w || a[x] == b[x]) break;
                }
            }
            rowBuf[countAt] = static_cast<uint8_t>(mode == Mode::Run ? -count : count);
            lastX = x;
        }

        if (packets == 0 && !hasLastPixel) {  // not reached: the row differs somewhere
            ++pendingSkip;
            continue;
        }
        if (pendingSkip > 0) {
            putLE16(o, static_cast<uint16_t>(-pendingSkip));
            o += 2;
            pendingSkip = 0;
        }
        if (hasLastPixel) {
            putLE16(o, static_cast<uint16_t>(kLastPixelWord | lastPixel));
            o += 2;
        }
        putLE16(o, static_cast<uint16_t>(packets));
        o += 2;
        std::memcpy(o, rowBuf.data(), rb);
        o += rb;
        ++lines;
    }
    putLE16(out, static_cast<uint16_t>(lines));
    // Two further bytes belong to the chunk; they carry nothing.
    o[0] = 0;
    o[1] = 0;
    return static_cast<size_t>(o - out) + 2;
}

FlcHeader makeEncodedFlcHeader(const FlcEncodeParams& p)
{
    FlcHeader h;
    h.size = 0;
    h.magic = kFlcMagic;
    h.frames = static_cast<uint16_t>(p.directions * p.framesPerDirection);
    h.width = static_cast<uint16_t>(p.width);
    h.height = static_cast<uint16_t>(p.height);
    h.depth = 8;
    h.flags = 0;
    h.speed = p.delay;
    h.creator = p.leaderHead ? kLeaderHeadCreator : kUnitCreator;
    h.oFrame1 = static_cast<uint32_t>(kFlcHeaderSize);
    h.oFrame2 = 0;
    if (!p.leaderHead) {
        h.extWord1 = kUnitExtensionWord;
        h.directions = static_cast<uint16_t>(p.directions);
        h.framesPerDirection = static_cast<uint16_t>(p.framesPerDirection);
        h.leftOffset = p.leftOffset;
        h.topOffset = p.topOffset;
        h.originalWidth = static_cast<uint16_t>(kUnitArea);
        h.originalHeight = static_cast<uint16_t>(kUnitArea);
        h.animationTime = p.speed * static_cast<uint32_t>(p.framesPerDirection);
        h.directionMask = p.directions == kDirectionCount ? 0xFFu : 1u;
    }
    return h;
}

Status encodeFlc(const FlcEncodeParams& p, const std::vector<std::vector<uint8_t>>& frames, const Palette256& palette,
                 Bytes& out)
{
    out.clear();
    const int w = p.width, h = p.height, F = p.framesPerDirection, D = p.directions;
    // Only a fault of the caller gets the frames wrong; it is still said, never a silent failure.
    const Status mismatch = Status::failure(formatMessage(str::IDS_FLC_FRAMES_DO_NOT_MATCH, {D, F, w, h}));
    if (!validSide(w) || !validSide(h) || F < 1 || D < 1 || static_cast<long>(F) * D > 0xFFFF) return mismatch;
    // The reader refuses larger frames, so the file is not written.
    if (w > kMaxFrameSide || h > kMaxFrameSide)
        return Status::failure(formatMessage(str::IDS_FLC_FRAME_TOO_LARGE, {w, h}));
    const size_t pictureSize = static_cast<size_t>(w) * static_cast<size_t>(h);
    if (frames.size() != static_cast<size_t>(F) * static_cast<size_t>(D)) return mismatch;
    for (const auto& f : frames)
        if (f.size() != pictureSize) return mismatch;

    // The work buffer serves every chunk of the export.
    std::vector<uint8_t> work(flcWorkBufferSize(w, h));
    uint8_t paletteData[kPaletteChunkDataSize];
    encodePaletteChunkData(palette, paletteData);

    // A first guess at the size keeps the buffer from growing in small steps.
    out.reserve(kFlcHeaderSize + static_cast<size_t>(D) * (2 * kPaletteChunkDataSize + pictureSize + 64) +
                frames.size() * (pictureSize / 4 + 32));
    out.resize(kFlcHeaderSize);
    makeEncodedFlcHeader(p).serialize(out.data());

    for (int d = 0; d < D; ++d) {
        const size_t first = static_cast<size_t>(d) * static_cast<size_t>(F);
        const size_t s = encodeByteRun(frames[first].data(), w, h, work.data());
        const uint32_t keySize = static_cast<uint32_t>(s);
        if (p.leaderHead) {
            appendFrameHeader(out, keySize + 800, 2);
            appendChunk(out, kChunkColor256, paletteData, kPaletteChunkDataSize);
            appendChunk(out, kChunkByteRun, work.data(), s);
        } else if (d == 0) {
            appendFrameHeader(out, keySize + 800, 2);
            appendChunk(out, kChunkByteRun, work.data(), s);
            appendChunk(out, kChunkColor256, paletteData, kPaletteChunkDataSize);
        } else {
            appendFrameHeader(out, keySize + 22, 1);
            appendChunk(out, kChunkByteRun, work.data(), s);
        }
        for (int j = 0; j < F; ++j) {
            const size_t prev = j > 0 ? first + static_cast<size_t>(j) - 1 : first + static_cast<size_t>(F) - 1;
            const size_t ds = encodeDeltaFlc(frames[prev].data(), frames[first + static_cast<size_t>(j)].data(), w, h,
                                             work.data());
            appendFrameHeader(out, static_cast<uint32_t>(ds + 22), 1);
            appendChunk(out, kChunkDeltaFlc, work.data(), ds);
        }
    }
    if (out.size() > kMaxFlcFileSize) {
        const size_t size = out.size();
        out = Bytes{};
        return Status::failure(formatMessage(str::IDS_FLC_FILE_TOO_LARGE, {static_cast<unsigned long long>(size)}));
    }
    putLE32(out.data(), static_cast<uint32_t>(out.size()));
    return Status::success();
}

Status writeFlcFile(const std::string& path, const FlcEncodeParams& params,
                    const std::vector<std::vector<uint8_t>>& frames, const Palette256& palette)
{
    Bytes file;
    Status st = encodeFlc(params, frames, palette, file);
    if (!st) return st;
    if (!writeFileAtomic(path, file)) return Status::failure(formatMessage(str::IDS_CANNOT_WRITE_TARGET, {path}));
    return Status::success();
}

}  // namespace qv
