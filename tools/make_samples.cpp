// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// qv_make_samples DIR: writes the sample animations the run script opens,
//   DIR/sample_unit.flc        a unit: 8 directions x 10 frames of 96 x 72
//   DIR/sample_leaderhead.flc  a leader head: 24 frames of 120 x 100
// Pictures use the civilization colours 0..63, the light range 224..239, the shadow
// range 240..254 and 255 for transparency. The files are made by the program's own FLC
// encoder, exactly as a storyboard exported to FLC would be.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/file_io.h"
#include "core/flc_encoder.h"
#include "core/strings.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

// Greys and earth tones for 64..223, the game's own light and shadow ranges, magenta
// for transparency, and a civilization ramp in 0..63.
Palette256 samplePalette()
{
    Palette256 p;
    for (int i = 0; i < 64; ++i)
        p[i] = PaletteEntry::fromRgb(static_cast<uint8_t>(40 + i * 3), static_cast<uint8_t>(20 + i),
                                     static_cast<uint8_t>(60 + i * 2));
    for (int i = 64; i < 224; ++i) {
        const uint8_t v = static_cast<uint8_t>(i);
        p[i] = PaletteEntry::fromRgb(v, static_cast<uint8_t>(v * 3 / 4), static_cast<uint8_t>(v / 2));
    }
    for (int i = kLightFirst; i <= kLightLast; ++i) {
        const uint8_t v = static_cast<uint8_t>(200 + (i - kLightFirst) * 3);
        p[i] = PaletteEntry::fromRgb(v, v, static_cast<uint8_t>(v - 40));
    }
    for (int i = kShadowFirst; i <= kShadowLast; ++i) p[i] = PaletteEntry::fromRgb(0, 0, 0);
    p[kTransparentIndex] = PaletteEntry::fromRgb(255, 0, 255);
    return p;
}

// A leader head: a face-like disc whose eyes blink and whose mouth moves.
Picture leaderPicture(int w, int h, int n)
{
    Picture pic(static_cast<size_t>(w) * h, kTransparentIndex);
    const double cx = w / 2.0, cy = h / 2.0, r = std::min(w, h) * 0.42;
    const bool blink = n % 12 == 11;
    const double mouth = 2 + 2 * std::sin(n * 0.5);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = x - cx, dy = y - cy;
            uint8_t& px = pic[static_cast<size_t>(y) * w + x];
            if (dx * dx + dy * dy > r * r) continue;
            px = static_cast<uint8_t>(static_cast<int>(std::hypot(dx, dy) / r * 40) % 64);
            const double ex = std::abs(dx) - r * 0.35, ey = dy + r * 0.25;
            if (ex * ex + ey * ey < (blink ? 1.0 : 9.0)) px = 100;
            if (std::abs(dx) < r * 0.3 && std::abs(dy - r * 0.4) < mouth) px = 150;
            if (dx < -r * 0.3 && dy < -r * 0.3) px = static_cast<uint8_t>(kLightFirst + (n % 16));
        }
    return pic;
}

bool writeSample(const std::string& path, const AnimationShape& anim)
{
    FlcEncodeParams p;
    p.width = anim.width;
    p.height = anim.height;
    p.framesPerDirection = anim.framesPerDirection;
    p.directions = anim.directions;
    p.speed = anim.speed;
    p.delay = anim.speed;
    p.leaderHead = anim.leaderHead;
    const Status st = writeFlcFile(path, p, animationPictures(anim), anim.palette);
    if (st) return true;
    std::fprintf(stderr, "qv_make_samples: cannot write %s\n%s\n", path.c_str(), toPlainLineBreaks(st.message).c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv_make_samples DIR\n");
        return 2;
    }
    const std::string dir = argv[1];

    AnimationShape unit;
    unit.width = 96;
    unit.height = 72;
    unit.directions = 8;
    unit.framesPerDirection = 10;
    unit.speed = 80;
    unit.palette = samplePalette();
    unit.picture = [&](int d, int n) { return testPicture(unit.width, unit.height, d, n); };

    AnimationShape head;
    head.width = 120;
    head.height = 100;
    head.directions = 1;
    head.framesPerDirection = 24;
    head.speed = 100;
    head.leaderHead = true;
    head.palette = samplePalette();
    head.picture = [&](int, int n) { return leaderPicture(head.width, head.height, n); };

    const bool ok = writeSample(dir + "/sample_unit.flc", unit) && writeSample(dir + "/sample_leaderhead.flc", head);
    return ok ? 0 : 1;
}
