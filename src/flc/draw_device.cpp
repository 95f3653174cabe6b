// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "flc/draw_device.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qv {

bool AnimFrame::CreateSurface(int width, int height)
{
    if (width <= 0 || height <= 0) return false;
    width_ = width;
    height_ = height;
    // The memory comes with the first fill: a unit opens with 120 frames or more, of
    // which only the ones played are ever drawn.
    surface_ = QImage();
    colorKey_ = kMagentaKey;
    pending_.reset();
    return true;
}

void AnimFrame::EnsureFilled() const
{
    if (!pending_) return;
    const std::shared_ptr<const Palette256> palette = std::move(pending_);
    pending_.reset();
    const_cast<AnimFrame*>(this)->FillSurface(*palette);
}

bool AnimFrame::FillSurface(const Palette256& palette)
{
    pending_.reset();
    if (width_ <= 0 || height_ <= 0 || pixels.size() < static_cast<size_t>(width_) * static_cast<size_t>(height_))
        return false;
    if (surface_.isNull()) surface_ = QImage(width_, height_, QImage::Format_RGB32);
    if (surface_.isNull()) return false;  // out of memory: the frame is not drawn
    // One lookup table instead of assembling every pixel from its entry.
    uint32_t lut[256];
    for (int i = 0; i < 256; ++i) lut[i] = 0xFF000000u | palette[static_cast<size_t>(i)].rgb();
    const uint8_t* src = pixels.data();
    for (int y = 0; y < height_; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(surface_.scanLine(y));
        for (int x = 0; x < width_; ++x) dst[x] = lut[src[x]];
        src += width_;
    }
    return true;
}

void AnimFrame::DrawAt(int x, int y) const
{
    if (!device_ || !device_->ready()) return;
    EnsureFilled();
    if (surface_.isNull()) return;
    QImage& back = device_->backBuffer();
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(back.width(), x + width_), y1 = std::min(back.height(), y + height_);
    if (x0 >= x1 || y0 >= y1) return;
    const uint32_t key = colorKey_;
    for (int by = y0; by < y1; ++by) {
        const auto* src = reinterpret_cast<const uint32_t*>(surface_.constScanLine(by - y)) + (x0 - x);
        auto* dst = reinterpret_cast<uint32_t*>(back.scanLine(by)) + x0;
        for (int n = x1 - x0; n > 0; --n, ++src, ++dst)
            if ((*src & 0x00FFFFFFu) != key) *dst = *src;
    }
}

bool DrawDevice::Create(QWidget* window)
{
    if (!window) return false;
    window_ = window;
    return Initialise(kWidth, kHeight);
}

bool DrawDevice::Initialise(int width, int height)
{
    if (width <= 0 || height <= 0) return false;
    width_ = width;
    height_ = height;
    back_ = QImage(width, height, QImage::Format_RGB32);
    if (back_.isNull()) return false;
    back_.fill(Qt::black);
    ready_ = true;
    return true;
}

void DrawDevice::Fill(uint32_t rgb)
{
    if (!ready_) return;
    back_.fill(0xFF000000u | (rgb & 0x00FFFFFFu));
}

void DrawDevice::Present()
{
    if (!ready_) return;
    ++presents_;
    if (window_) window_->update();
}

void DrawDevice::PaintInto(QPainter& painter, const QRect& target, qreal devicePixelRatio, int zoom) const
{
    if (!ready_ || target.isEmpty()) return;
    zoom = std::max(1, zoom);
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    // Only the back buffer's top-left area that the target holds at this zoom is shown.
    const int w = std::min((target.width() + zoom - 1) / zoom, back_.width());
    const int h = std::min((target.height() + zoom - 1) / zoom, back_.height());
    QImage part = back_.copy(0, 0, w, h);
    // Scaled to the device pixels it covers by repeating pixels, then drawn at the
    // painter's own ratio so Qt does not rescale (and smooth) it again.
    const int dw = static_cast<int>(std::lround(w * zoom * ratio));
    const int dh = static_cast<int>(std::lround(h * zoom * ratio));
    if (dw != w || dh != h) part = part.scaled(dw, dh, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    part.setDevicePixelRatio(ratio);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipRect(target);
    painter.drawImage(target.topLeft(), part);
    painter.restore();
}

void DrawDevice::Release()
{
    back_ = QImage();
    ready_ = false;
    window_ = nullptr;
}

}  // namespace qv
