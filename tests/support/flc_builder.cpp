// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/flc_builder.h"

#include "core/file_io.h"
#include "core/flc_encoder.h"

#include <algorithm>
#include <cmath>

namespace qv::test {

Bytes byteRunPayload(const Picture& pic, int width, int height)
{
    Bytes out(flcWorkBufferSize(width, height), 0xEE);  // bytes left unwritten show
    out.resize(encodeByteRun(pic.data(), width, height, out.data()));
    return out;
}

Bytes deltaPayload(const Picture& prev, const Picture& cur, int width, int height)
{
    Bytes out(flcWorkBufferSize(width, height), 0xEE);
    out.resize(encodeDeltaFlc(prev.data(), cur.data(), width, height, out.data()));
    return out;
}

Bytes palettePayload(const Palette256& pal)
{
    Bytes out(kPaletteChunkDataSize);
    encodePaletteChunkData(pal, out.data());
    return out;
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
    w.u16(kFrameType);
    w.u16(static_cast<uint16_t>(f.chunks.size()));
    w.zeros(8);
    for (const Chunk& c : f.chunks) {
        const size_t len = c.length();
        w.u32(c.sizeField ? *c.sizeField : static_cast<uint32_t>(len));
        w.u16(c.type);
        w.bytes(c.payload.data(), c.payload.size());
        w.zeros(len - kChunkHeaderSize - c.payload.size());
    }
    w.bytes(f.trailing.data(), f.trailing.size());
    w.patch32(start, static_cast<uint32_t>(w.pos() - start));
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

Bytes FlcBuilder::build() const
{
    Bytes out(kFlcHeaderSize);
    FlcHeader h = header;
    h.size = static_cast<uint32_t>(kFlcHeaderSize + body_.size());
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
    const int w = anim.width, h = anim.height, F = anim.framesPerDirection;
    FlcEncodeParams p;
    p.width = w;
    p.height = h;
    p.framesPerDirection = F;
    p.directions = anim.directions;
    p.speed = anim.speed;
    p.delay = anim.speed;
    p.leaderHead = anim.leaderHead;
    FlcBuilder b(w, h);
    b.header = makeEncodedFlcHeader(p);
    // Laid out as the encoder does it, without its checks: pictures over 240 pixels too.
    const std::vector<Picture> pics = animationPictures(anim);
    for (int d = 0; d < anim.directions; ++d) {
        const Picture* block = &pics[static_cast<size_t>(d) * F];
        std::vector<Chunk> key{Chunk::byteRun(block[0], w, h)};
        if (anim.leaderHead) key.insert(key.begin(), Chunk::color256(anim.palette));
        if (!anim.leaderHead && d == 0) key.push_back(Chunk::color256(anim.palette));
        b.frame(std::move(key));
        for (int n = 0; n < F; ++n) b.frame({Chunk::delta(block[(n + F - 1) % F], block[n], w, h)});
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
    return AnimationShape{240, 240, 8, 15, 100, false, testPalette(), walkingUnitPicture};
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
