// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The frames of an animation composed as the animation view draws them (background,
// civilization colours, shadow and light blending), shared by the command-line tool's
// `render`, `anim` and `thumbnail` and the window's animation export, so that every
// picture written shows the same pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "core/civ_palettes.h"
#include "core/compositor.h"
#include "core/flc_reader.h"
#include "core/result.h"

namespace qv {

// The background a picture is composed over.
enum class BackgroundChoice { Default, Custom, Sea, Land, Transparent };
struct BackgroundOption {
    BackgroundChoice choice = BackgroundChoice::Default;
    uint32_t rgb = 0;  // 0x00RRGGBB of a custom colour
};

struct ComposeOptions {
    int civ = 0;  // 0: the animation's own colours; 1..32 a civilization's scheme
    CivPaletteSources civSources;
    BackgroundOption background;
    bool alphaBlend = true;
};

class FrameComposer {
public:
    // Sets up colours and background for `loaded` (which must outlive the composer). On
    // failure the message says why, one line after the other (for a civilization scheme the
    // reason first, then that the scheme could not be had).
    Status prepare(const FlcLoadResult& loaded, const ComposeOptions& o);
    // Composes frame n (playback order) into the back buffer, which keeps what earlier
    // frames left where a background picture is keyed out, as in the view.
    void composeFrame(int n);
    // Frame n as 0xAARRGGBB pixels of width() x height(). Over a background every pixel is
    // opaque. With a transparent background index 255 (and the unit area outside the frame)
    // is transparent; the shadow and light indices become black and white with the game's
    // blending amount as alpha when `partialAlpha`, or keep their palette colours otherwise.
    std::vector<uint32_t> frameArgb(int n, bool partialAlpha);
    // The background alone, as frameArgb gives it where no frame covers it.
    std::vector<uint32_t> backgroundArgb() const;
    const Surface32& back() const { return back_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int frameCount() const { return static_cast<int>(store_->frames.size()); }

private:
    IndexedPixels indexed(int n) const;
    const FlcFrameStore* store_ = nullptr;
    bool leaderHead_ = false;
    bool transparent_ = false;
    Palette256 display_{};
    Surface32 picture_;
    ConstPixels32 pictureView_;
    Composition comp_;
    Surface32 back_{kBackBufferWidth, kBackBufferHeight};
    int width_ = 0;
    int height_ = 0;
};

}  // namespace qv
