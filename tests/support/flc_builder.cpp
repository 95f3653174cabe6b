// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/flc_builder.h"

#include "core/file_io.h"

#include <algorithm>
#include <cmath>

namespace qv::test {

Bytes byteRunPayload(const Picture& pic, int width, int height)
{
    Bytes out;
    ByteWriter w(out);
    for (int y = 0; y < height; ++y) {
        const uint8_t* line = pic.data() + static_cast<size_t>(y) * width;
        const size_t countAt = w.pos();
        w.u8(0);
        int packets = 0;
        int x = 0;
        while (x < width) {
            int run = 1;
            while (x + run < width && run < 127 && line[x + run] == line[x]) ++run;
            if (run >= 3 || x + run == width) {
                w.u8(static_cast<uint8_t>(run));
                w.u8(line[x]);
                x += run;
            } else {
                // Literal bytes up to the next run of three or more.
                int n = 0;
                while (x + n < width && n < 128) {
                    if (x + n + 2 < width && line[x + n] == line[x + n + 1] && line[x + n] == line[x + n + 2]) break;
                    ++n;
                }
                w.u8(static_cast<uint8_t>(-n));
                w.bytes(line + x, static_cast<size_t>(n));
                x += n;
            }
            ++packets;
        }
        out[countAt] = static_cast<uint8_t>(std::min(packets, 255));
    }
    return out;
}

Bytes deltaPayload(const Picture& prev, const Picture& cur, int width, int height)
{
    Bytes out;
    ByteWriter w(out);
    w.u16(0);  // line count, patched below
    int lines = 0;
    int skipped = 0;
    const int evenWidth = width & ~1;
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = prev.data() + static_cast<size_t>(y) * width;
        const uint8_t* c = cur.data() + static_cast<size_t>(y) * width;
        auto differs = [&](int x) { return p[x] != c[x] || p[x + 1] != c[x + 1]; };
        const bool lastChanged = (width & 1) && p[width - 1] != c[width - 1];

        Bytes packets;
        ByteWriter pw(packets);
        int packetCount = 0;
        int x = 0;
        while (true) {
            int start = x;
            while (start < evenWidth && !differs(start)) start += 2;
            if (start >= evenWidth) break;
            int skip = start - x;
            while (skip > 254) {  // a packet that writes nothing moves on by its skip
                pw.u8(254);
                pw.u8(0);
                pw.u16(0);
                ++packetCount;
                skip -= 254;
            }
            // Repeated words when three or more are equal, else literal words.
            int rep = 1;
            while (start + 2 * rep < evenWidth && rep < 128 && c[start + 2 * rep] == c[start] &&
                   c[start + 2 * rep + 1] == c[start + 1])
                ++rep;
            pw.u8(static_cast<uint8_t>(skip));
            if (rep >= 3) {
                pw.u8(static_cast<uint8_t>(-rep));
                pw.u8(c[start]);
                pw.u8(c[start + 1]);
                x = start + 2 * rep;
            } else {
                int n = 0;
                while (start + 2 * n < evenWidth && n < 127 && differs(start + 2 * n)) ++n;
                pw.u8(static_cast<uint8_t>(n));
                pw.bytes(c + start, static_cast<size_t>(2 * n));
                x = start + 2 * n;
            }
            ++packetCount;
        }
        if (packetCount == 0 && !lastChanged) {
            ++skipped;
            continue;
        }
        while (skipped > 0) {
            const int n = std::min(skipped, 16384);
            w.u16(static_cast<uint16_t>(-n));
            skipped -= n;
        }
        if (lastChanged) w.u16(static_cast<uint16_t>(0x8000 | c[width - 1]));
        w.u16(static_cast<uint16_t>(packetCount));
        w.bytes(packets.data(), packets.size());
        ++lines;
    }
    w.patch16(0, static_cast<uint16_t>(lines));
    return out;
}

Bytes palettePayload(const Palette256& pal)
{
    PalettePacket all;
    all.colours.assign(pal.entries.begin(), pal.entries.end());
    return palettePacketsPayload({all});
}

Bytes palettePacketsPayload(const std::vector<PalettePacket>& packets)
{
    Bytes out;
    ByteWriter w(out);
    w.u16(static_cast<uint16_t>(packets.size()));
    for (const PalettePacket& p : packets) {
        w.u8(p.skip);
        w.u8(p.count);
        for (const PaletteEntry& e : p.colours) {
            w.u8(e.red);
            w.u8(e.green);
            w.u8(e.blue);
        }
    }
    return out;
}

size_t Chunk::length() const
{
    const size_t n = kChunkHeaderSize + payload.size();
    return padToEven ? n + (n & 1u) : n;
}

FlcBuilder::FlcBuilder(int width, int height)
{
    header.width = static_cast<uint16_t>(width);
    header.height = static_cast<uint16_t>(height);
    header.oFrame1 = kFlcHeaderSize;
}

FlcBuilder& FlcBuilder::frame(Frame f)
{
    ByteWriter w(body_);
    const size_t start = w.pos();
    w.u32(0);
    w.u16(f.type);
    w.u16(f.chunkCount ? *f.chunkCount : static_cast<uint16_t>(f.chunks.size()));
    w.zeros(8);
    for (const Chunk& c : f.chunks) {
        const size_t len = c.length();
        w.u32(c.sizeField ? *c.sizeField : static_cast<uint32_t>(len));
        w.u16(c.type);
        w.bytes(c.payload.data(), c.payload.size());
        w.zeros(len - kChunkHeaderSize - c.payload.size());
    }
    w.bytes(f.trailing.data(), f.trailing.size());
    w.patch32(start, f.sizeField ? *f.sizeField : static_cast<uint32_t>(w.pos() - start));
    return *this;
}

FlcBuilder& FlcBuilder::block(uint16_t type, Bytes body)
{
    ByteWriter w(body_);
    w.u32(static_cast<uint32_t>(kFrameHeaderSize + body.size()));
    w.u16(type);
    w.zeros(10);
    w.bytes(body.data(), body.size());
    return *this;
}

FlcBuilder& FlcBuilder::raw(Bytes bytes)
{
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    return *this;
}

Bytes FlcBuilder::build() const
{
    Bytes out(kFlcHeaderSize);
    FlcHeader h = header;
    if (!keepHeaderSize) h.size = static_cast<uint32_t>(kFlcHeaderSize + body_.size());
    h.serialize(out.data());
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
}

Picture testPicture(int width, int height, int direction, int n, int colours)
{
    Picture pic(static_cast<size_t>(width) * height, kTransparentIndex);
    const int cx = width / 2 + (n % 5) - 2;
    const int cy = height / 2;
    const int rx = std::max(1, width / 3), ry = std::max(1, height / 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = x - cx, dy = y - cy;
            uint8_t& px = pic[static_cast<size_t>(y) * width + x];
            if (dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry) {
                px = static_cast<uint8_t>((direction * 7 + x / 3 + y / 2 + n) % colours);
                if (dx * dx + dy * dy <= 2) px = static_cast<uint8_t>(kLightFirst + (n + direction) % 16);
            } else if (y > cy + ry / 2 && dx > 0 && dx < rx + 2) {
                px = static_cast<uint8_t>(kShadowFirst + (x + n) % 15);
            }
        }
    }
    return pic;
}

Palette256 testPalette()
{
    Palette256 p;
    for (int i = 0; i < 256; ++i)
        p[i] = PaletteEntry::fromRgb(static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7));
    return p;
}

std::vector<Picture> animationPictures(const AnimationShape& anim)
{
    std::vector<Picture> out;
    for (int d = 1; d <= anim.directions; ++d)
        for (int n = 0; n < anim.framesPerDirection; ++n)
            out.push_back(anim.picture ? anim.picture(d, n) : testPicture(anim.width, anim.height, d, n));
    return out;
}

Bytes buildAnimation(const AnimationShape& anim)
{
    const int w = anim.width, h = anim.height;
    const int D = anim.directions, F = anim.framesPerDirection;
    FlcBuilder b(w, h);
    FlcHeader& hd = b.header;
    hd.frames = static_cast<uint16_t>(D * F);
    hd.speed = anim.speed;
    if (anim.leaderHead) {
        hd.creator = 0x0000028A;
    } else {
        hd.creator = 0xF1F1F2F2;
        hd.extWord1 = 28;
        hd.directions = static_cast<uint16_t>(D);
        hd.framesPerDirection = static_cast<uint16_t>(F);
        hd.originalWidth = kUnitArea;
        hd.originalHeight = kUnitArea;
        hd.animationTime = anim.speed * static_cast<uint32_t>(F);
        hd.directionMask = D == 8 ? 0xFF : 1;
    }

    const std::vector<Picture> pics = animationPictures(anim);
    Picture prev;
    for (int d = 0; d < D; ++d) {
        // The key frame holds the block's first picture complete.
        const Picture& first = pics[static_cast<size_t>(d) * F];
        std::vector<Chunk> key;
        if (anim.leaderHead) key.push_back(Chunk::color256(anim.palette));
        key.push_back(Chunk::byteRun(first, w, h));
        if (!anim.leaderHead && d == 0) key.push_back(Chunk::color256(anim.palette));
        b.frame(std::move(key));
        prev = first;
        for (int n = 0; n < F; ++n) {
            const Picture& cur = pics[static_cast<size_t>(d) * F + n];
            b.frame({Chunk::delta(prev, cur, w, h)});
            prev = cur;
        }
    }
    return b.build();
}

Picture walkingUnitPicture(int direction, int n)
{
    constexpr int W = 240, H = 240;
    Picture pic(static_cast<size_t>(W) * H, kTransparentIndex);
    const int cx = 120 + (n % 5) - 2, top = 40 + (n % 3);
    for (int y = top; y < top + 170 && y < H; ++y) {
        const double t = (y - top) / 170.0;
        const int half = static_cast<int>(20 + 35 * std::sin(t * 3.1416) + ((y + n) % 7));
        const int swing = static_cast<int>(6 * std::sin(n * 0.8 + t * 4));
        for (int x = cx - half + swing; x <= cx + half + swing; ++x) {
            if (x < 0 || x >= W) continue;
            uint8_t v = static_cast<uint8_t>(((x * 3 + y * 5 + direction * 17 + n * 11) >> 2) % 200);
            if (x > cx + half + swing - 4) v = static_cast<uint8_t>(kShadowFirst + (y % 15));
            pic[static_cast<size_t>(y) * W + x] = v;
        }
    }
    return pic;
}

AnimationShape fullSizeUnit()
{
    AnimationShape anim;
    anim.width = 240;
    anim.height = 240;
    anim.directions = 8;
    anim.framesPerDirection = 15;
    anim.picture = walkingUnitPicture;
    return anim;
}

bool writeAnimation(const std::string& path, const AnimationShape& anim)
{
    return writeFileAtomic(path, buildAnimation(anim));
}

Bytes concatBytes(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes le16Words(std::initializer_list<int> words)
{
    Bytes out;
    for (int w : words) ByteWriter(out).u16(static_cast<uint16_t>(w));
    return out;
}

}  // namespace qv::test
