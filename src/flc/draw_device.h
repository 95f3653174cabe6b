// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The drawing device of an animation view and the frame surfaces it draws.
//
// DrawDevice owns a 240 x 244 back buffer of 32-bit pixels (memory order blue, green,
// red, fourth byte) into which a render tick composes the background and the current
// frame; Present() shows it in the view's window. AnimFrame is one decoded frame: its
// 8-bit picture and a 32-bit surface of the same picture filled through a palette,
// blitted into the back buffer with a source colour key (pixels of exactly that colour
// are left out). Everything lives in plain memory (QImage), so the compositing code can
// read and write pixels directly without locking.
//
// Filling a surface can be deferred: a frame given a palette with SetSurfacePalette
// fills its surface the first time it is drawn or read. Opening a file then costs only
// the decoding, and a palette change only touches the frames that are shown.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/compositor.h"
#include "core/flc_format.h"
#include "core/frame_pixels.h"

class QPainter;

namespace qv {

class DrawDevice;

// Colour keys are 0x00RRGGBB values; only the colour bits are compared. The key used
// while blending is off is the compositor's kNoColorKey.
constexpr uint32_t kMagentaKey = kPictureColorKey;  // default key of a new surface

class AnimFrame {
public:
    explicit AnimFrame(DrawDevice* device = nullptr) : device_(device) {}

    int width() const { return width_; }
    int height() const { return height_; }
    // The 8-bit picture, width x height palette indices, rows top to bottom.
    FramePixels pixels;
    // The surface, filled first if a fill is pending.
    const QImage& surface() const
    {
        EnsureFilled();
        return surface_;
    }
    QImage& surface()
    {
        EnsureFilled();
        return surface_;
    }
    DrawDevice* device() const { return device_; }
    uint32_t colorKey() const { return colorKey_; }

    // Sets up a width x height surface keyed with magenta; its memory is allocated by
    // the first fill (until then surface() is a null image).
    bool CreateSurface(int width, int height);
    void SetColorKey(uint32_t rgb) { colorKey_ = rgb & 0x00FFFFFFu; }
    // Writes every pixel of the 8-bit picture into the surface as its palette colour.
    bool FillSurface(const Palette256& palette);
    // The same, deferred until the surface is next drawn or read. Frames of one
    // animation share the palette snapshot.
    void SetSurfacePalette(std::shared_ptr<const Palette256> palette) { pending_ = std::move(palette); }
    bool fillPending() const { return pending_ != nullptr; }
    // Blits the surface into the device's back buffer at (x, y), leaving out the pixels
    // whose colour equals the key, clipped to the back buffer.
    void DrawAt(int x, int y) const;

private:
    void EnsureFilled() const;

    DrawDevice* device_;
    int width_ = 0;
    int height_ = 0;
    mutable QImage surface_;
    mutable std::shared_ptr<const Palette256> pending_;
    uint32_t colorKey_ = kMagentaKey;
};

class DrawDevice {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 244;

    DrawDevice() = default;
    ~DrawDevice() { Release(); }
    DrawDevice(const DrawDevice&) = delete;
    DrawDevice& operator=(const DrawDevice&) = delete;

    // Remembers the window and initialises a 240 x 244 back buffer.
    bool Create(QWidget* window);
    bool Initialise(int width, int height);
    // The whole back buffer takes the colour 0x00RRGGBB.
    void Fill(uint32_t rgb);
    // Schedules the window to show the back buffer (it is painted by PaintInto).
    void Present();
    // Paints the back buffer's top-left area into `target` of a window (logical pixels),
    // each back-buffer pixel a block of `zoom` x `zoom` logical pixels. The picture fills
    // the target on the device whatever its pixel ratio; pixels are repeated, never
    // smoothed, so whole factors of zoom x ratio give exact square blocks.
    void PaintInto(QPainter& painter, const QRect& target, qreal devicePixelRatio, int zoom = 1) const;
    void Release();

    bool ready() const { return ready_; }
    int width() const { return width_; }
    int height() const { return height_; }
    QWidget* window() const { return window_; }
    QImage& backBuffer() { return back_; }
    const QImage& backBuffer() const { return back_; }
    // How many times Present ran (diagnostics and tests).
    uint64_t presentCount() const { return presents_; }

private:
    QPointer<QWidget> window_;
    QImage back_;
    int width_ = 0;
    int height_ = 0;
    bool ready_ = false;
    uint64_t presents_ = 0;
};

}  // namespace qv
