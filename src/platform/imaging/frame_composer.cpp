// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/frame_composer.h"

#include <QFile>
#include <QString>
#include <algorithm>

#include "core/strings.h"
#include "platform/imaging/builtin_data.h"

namespace qv {

Status FrameComposer::prepare(const FlcLoadResult& loaded, const ComposeOptions& o)
{
    store_ = &loaded.store;
    leaderHead_ = loaded.leaderHead;
    const FlcFrameStore& store = loaded.store;

    // Colours: the animation's own, or a civilization's scheme over entries 0..63.
    display_ = store.basePalette;
    if (o.civ != 0 && !loaded.leaderHead) {
        const Status st = civDisplayPalette(o.civ, o.civSources, store.basePalette, display_);
        if (!st) {
            // The view shows the reason first, then that the scheme could not be had.
            const std::string reason = st.message.empty() ? std::string() : st.message + "\r\n";
            return Status::failure(reason + str::IDS_CANNOT_GET_CIV_PALETTE);
        }
    }

    // Background: black for a leader head; otherwise the chosen colour or picture, and the
    // default colour whenever alpha blending is off.
    transparent_ = o.background.choice == BackgroundChoice::Transparent;
    comp_.frame.alphaBlend = o.alphaBlend;
    comp_.frame.leaderHead = loaded.leaderHead;
    uint32_t chosen = colorRefToRgb(kDefaultButtonFaceColorRef);
    if (o.background.choice == BackgroundChoice::Custom) chosen = o.background.rgb;
    comp_.fillRgb = effectiveFillRgb(loaded.leaderHead, o.alphaBlend, chosen);
    if (!loaded.leaderHead && (o.background.choice == BackgroundChoice::Sea || o.background.choice == BackgroundChoice::Land)) {
        const auto kind = o.background.choice == BackgroundChoice::Sea ? BackgroundPicture::Sea : BackgroundPicture::Land;
        QString path;
        if (!provideBackgroundPicture(kind, path) || !loadBackgroundPicture(QFile::encodeName(path).toStdString(), picture_))
            return Status::failure(str::IDS_CANNOT_SET_BACKGROUND);
        pictureView_ = picture_.view();
        comp_.picture = &pictureView_;
    }
    // The view keeps the offsets as bytes.
    comp_.frame.left = loaded.leaderHead ? 0 : static_cast<uint8_t>(store.header.leftOffset);
    comp_.frame.top = loaded.leaderHead ? 0 : static_cast<uint8_t>(store.header.topOffset);
    width_ = loaded.leaderHead ? store.header.width : kUnitArea;
    height_ = loaded.leaderHead ? store.header.height : kUnitArea;
    return Status::success();
}

IndexedPixels FrameComposer::indexed(int n) const
{
    const FramePixels& pixels = store_->frames[static_cast<size_t>(n)];
    const int w = store_->header.width;
    const int rows = w == 0 ? 0 : static_cast<int>(pixels.size() / w);
    return IndexedPixels{pixels.data(), w, std::min<int>(store_->header.height, rows), w};
}

void FrameComposer::composeFrame(int n) { compose(back_.view(), indexed(n), display_, comp_); }

std::vector<uint32_t> FrameComposer::backgroundArgb() const
{
    std::vector<uint32_t> out(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
    if (transparent_) return out;
    Surface32 scratch(kBackBufferWidth, kBackBufferHeight);
    drawBackground(scratch.view(), comp_.picture, comp_.fillRgb);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out[size_t(y) * size_t(width_) + size_t(x)] = kOpaque | (scratch.at(x, y) & kRgbMask);
    return out;
}

std::vector<uint32_t> FrameComposer::frameArgb(int n, bool partialAlpha)
{
    std::vector<uint32_t> out(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    if (!transparent_) {
        composeFrame(n);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                out[size_t(y) * size_t(width_) + size_t(x)] = kOpaque | (back_.at(x, y) & kRgbMask);
        return out;
    }
    // Nothing under the frame: every index in its own colour, except the transparent one and,
    // when partial alpha is there to carry them, the blending indices.
    const IndexedPixels frame = indexed(n);
    for (int y = 0; y < frame.height; ++y) {
        const int ty = comp_.frame.top + y;
        if (ty >= height_) break;
        for (int x = 0; x < frame.width; ++x) {
            const int tx = comp_.frame.left + x;
            if (tx >= width_) break;
            const uint8_t i = frame.row(y)[x];
            uint32_t argb = kOpaque | display_[i].rgb();
            if (i == kTransparentIndex) argb = 0;
            else if (partialAlpha && !leaderHead_ && i >= 240) argb = uint32_t(12 * (255 - i)) << 24;
            else if (partialAlpha && !leaderHead_ && i >= 224) argb = (uint32_t(4 * (i - 224)) << 24) | 0xFFFFFFu;
            out[size_t(ty) * size_t(width_) + size_t(tx)] = argb;
        }
    }
    return out;
}

}  // namespace qv
