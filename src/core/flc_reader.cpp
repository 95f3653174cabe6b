// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flc_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/file_io.h"
#include "core/flc_decode.h"
#include "core/strings.h"

namespace qv {

namespace {

// Where the chunk after a picture chunk that started at `start` lies when its size field
// cannot be trusted: after its header and what the decoder read. (A palette chunk adds
// its pad byte: paletteChunkLength.)
size_t nextAfterDecoded(size_t start, size_t payloadRead) { return start + kChunkHeaderSize + payloadRead; }

}  // namespace

bool readFlcFrames(const uint8_t* data, size_t size, FlcFrameStore& out)
{
    out = FlcFrameStore{};
    if (!data || size < kFlcHeaderSize) return false;
    out.header = FlcHeader::parse(data);
    const int width = out.header.width;
    const int height = out.header.height;
    if (width <= 0 || height <= 0 || width > kMaxFrameSide || height > kMaxFrameSide) return false;
    const size_t pictureSize = static_cast<size_t>(width) * static_cast<size_t>(height);

    // The working picture every picture chunk is applied to, in file order.
    std::vector<uint8_t> work(pictureSize, 0);
    // Key frames are only needed when they turn out to be all there is, so they are kept
    // only until the first animation frame arrives.
    std::vector<FramePixels> keyFrames;

    uint16_t limit = out.header.frames;  // L: lowered by non-frame blocks and unknown chunks
    uint16_t kept = 0;                   // i: animation frames kept
    const unsigned perDirection = out.header.framesPerDirection;
    unsigned blockPos = 0;               // p: position inside the direction block
    uint64_t storedBytes = 0;

    const size_t expected = std::min<size_t>(limit, size / kFrameHeaderSize);
    out.frames.reserve(expected);
    FrameAllocator pictures(pictureSize, expected);

    size_t pos = kFlcHeaderSize;
    while (kept < limit) {
        if (size - pos < kFrameHeaderSize) break;  // the file ends
        const size_t frameStart = pos;
        const uint32_t frameSize = getLE32(data + pos);
        const uint16_t frameType = getLE16(data + pos + 4);
        const uint16_t chunkCount = getLE16(data + pos + 6);
        // A damaged frame ends the reading; the frames before it stay.
        if (frameSize < kFrameHeaderSize || frameSize > size - frameStart) break;
        const size_t frameEnd = frameStart + frameSize;
        pos = frameEnd;

        if (frameType != kFrameType) {  // a prefix or other non-frame block
            --limit;
            continue;
        }

        FlcFrameInfo record;
        record.position = static_cast<uint32_t>(frameStart);
        record.size = frameSize;
        bool keyFrame = false;
        bool picture = false;

        size_t chunkPos = frameStart + kFrameHeaderSize;
        const int chunksToRead = std::min<int>(chunkCount, kMaxChunksPerFrame);
        for (int c = 0; c < chunksToRead; ++c) {
            if (chunkPos > frameEnd || frameEnd - chunkPos < kChunkHeaderSize) break;
            const uint32_t chunkSize = getLE32(data + chunkPos);
            const uint16_t chunkType = getLE16(data + chunkPos + 4);
            // A size field that stays inside the frame is trusted for the next chunk's
            // position; the decoder still reads nothing past it.
            const bool plausible = chunkSize >= kChunkHeaderSize && chunkSize <= frameEnd - chunkPos;
            const uint8_t* payload = data + chunkPos + kChunkHeaderSize;
            const size_t payloadSize = (plausible ? chunkSize : frameEnd - chunkPos) - kChunkHeaderSize;

            FlcChunkInfo info;
            info.position = static_cast<uint32_t>(chunkPos);
            info.size = chunkSize;
            size_t next = plausible ? chunkPos + chunkSize : 0;  // 0: the frame's chunks end here

            switch (chunkType) {
            case kChunkDeltaFlc: {
                info.kind = FlcChunkKind::DeltaFlc;
                const size_t read = decodeDeltaFlc(payload, payloadSize, work.data(), width, height);
                if (!plausible) next = nextAfterDecoded(chunkPos, read);
                picture = true;
                break;
            }
            case kChunkByteRun: {
                info.kind = FlcChunkKind::ByteRun;
                const size_t read = decodeByteRun(payload, payloadSize, work.data(), width, height);
                if (!plausible) next = nextAfterDecoded(chunkPos, read);
                if (blockPos == 0) keyFrame = true;
                picture = true;
                break;
            }
            case kChunkColor256: {
                info.kind = FlcChunkKind::Color256;
                info.size = kPaletteChunkSize;
                out.paletteChunkPositions.push_back(static_cast<uint32_t>(chunkPos + kChunkHeaderSize));
                const size_t read = decodeColor256(payload, payloadSize, out.basePalette);
                if (!plausible) next = chunkPos + paletteChunkLength(read);
                break;
            }
            case kChunkFliCopy:
                info.kind = FlcChunkKind::FliCopy;
                decodeFliCopy(payload, payloadSize, work.data(), width, height);
                picture = true;
                break;
            case kChunkBlack:
                info.kind = FlcChunkKind::Black;
                std::fill(work.begin(), work.end(), uint8_t{0});
                picture = true;
                break;
            default:
                info.kind = FlcChunkKind::Unknown;
                if (limit > 0) --limit;
                break;
            }
            record.chunks[record.chunkCount++] = info;
            if (next == 0) break;
            chunkPos = next;
        }

        if (!picture) continue;  // no picture: no frame and no record

        // Frames that a hostile file could multiply beyond any real animation end the
        // reading like a damaged frame: the memory they take is bounded, and so is the
        // number of pictures (the animation's frame count is 16-bit).
        const bool stored = !keyFrame || out.frames.empty();
        const uint64_t cost = sizeof(FlcFrameInfo) + (stored ? pictureSize + sizeof(FramePixels) : 0);
        if (storedBytes + cost > kMaxFlcDecodedBytes) break;
        if (keyFrame && stored && keyFrames.size() >= UINT16_MAX) break;
        storedBytes += sizeof(FlcFrameInfo);

        blockPos = blockPos == perDirection ? 0 : blockPos + 1;
        record.number = static_cast<uint16_t>(out.records.size());
        out.records.push_back(record);

        if (keyFrame) {
            if (out.frames.empty()) {
                keyFrames.push_back(work);
                storedBytes += pictureSize + sizeof(FramePixels);
            }
        } else {
            if (out.frames.empty() && !keyFrames.empty()) {
                storedBytes -= (pictureSize + sizeof(FramePixels)) * keyFrames.size();
                keyFrames = {};
            }
            FramePixels frame = pictures.next();
            std::memcpy(frame.data(), work.data(), pictureSize);
            out.frames.push_back(std::move(frame));
            storedBytes += pictureSize + sizeof(FramePixels);
            ++kept;
        }
    }

    if (out.frames.empty()) {
        if (keyFrames.empty()) return false;
        out.frames = std::move(keyFrames);
        out.unusual = true;
    }
    if (!out.unusual && kept < limit) out.missingFrames = static_cast<uint16_t>(limit - kept);
    return true;
}

Status checkFlcFile(const std::string& path)
{
    const Status refused = Status::failure(formatMessage(str::IDS_INVALID_FORMAT, {path}));
    if (!equalsNoCase(fileExtension(path), "flc")) return refused;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return refused;
    uint8_t head[6];
    const bool read = std::fread(head, 1, sizeof head, f) == sizeof head;
    std::fclose(f);
    if (!read || getLE16(head + 4) != kFlcMagic) return refused;
    return Status::success();
}

bool completeFlcHeader(FlcHeader& header, uint16_t frameCount)
{
    if (header.speed == 0) header.speed = 10;
    if (header.framesPerDirection != 0) return false;
    header.framesPerDirection = frameCount;
    header.directions = 1;
    header.animationTime = header.speed * frameCount;
    header.originalWidth = kUnitArea;
    header.originalHeight = kUnitArea;
    header.leftOffset = 0;
    header.topOffset = 0;
    return true;
}

Status loadFlcAnimation(const std::string& path, const uint8_t* data, size_t size, FlcLoadResult& out)
{
    out = FlcLoadResult{};
    if (size > kMaxFlcFileSize || !readFlcFrames(data, size, out.store)) {
        out = FlcLoadResult{};
        return Status::failure(formatMessage(str::IDS_INVALID_FORMAT, {path}));
    }
    out.leaderHead = completeFlcHeader(out.store.header, static_cast<uint16_t>(out.store.frames.size()));
    const FlcFrameStore& store = out.store;
    out.expectedFrames = static_cast<uint32_t>(store.frames.size()) + store.missingFrames;
    if (store.unusual || store.missingFrames > 0) out.warning = formatMessage(str::IDS_UNUSUAL_FORMAT, {path});
    if (store.missingFrames > 0)
        out.warning +=
            "\r\n\r\n" + formatMessage(str::IDS_FRAMES_NOT_READ, {int(store.missingFrames), int(out.expectedFrames)});
    return Status::success();
}

Status loadFlcAnimation(const std::string& path, FlcLoadResult& out)
{
    Bytes bytes;
    if (!readWholeFile(path, bytes, kMaxFlcFileSize)) {
        out = FlcLoadResult{};
        return Status::failure(formatMessage(str::IDS_INVALID_FORMAT, {path}));
    }
    return loadFlcAnimation(path, bytes.data(), bytes.size(), out);
}

}  // namespace qv
