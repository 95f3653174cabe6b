// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/anim_export.h"

#include <algorithm>

#include "core/file_io.h"
#include "core/strings.h"
#include "platform/imaging/anim_writer.h"

namespace qv {
namespace {

// Enlarges by a whole factor, each pixel becoming a k x k block.
std::vector<uint32_t> scaleUp(std::vector<uint32_t> in, int w, int h, int k)
{
    if (k == 1) return in;
    std::vector<uint32_t> out(in.size() * size_t(k) * size_t(k));
    const size_t ow = size_t(w) * size_t(k);
    for (int y = 0; y < h * k; ++y)
        for (size_t x = 0; x < ow; ++x) out[size_t(y) * ow + x] = in[size_t(y / k) * size_t(w) + x / size_t(k)];
    return out;
}

// Copies a w x h picture into `canvas` (canvasWidth wide) at (left, top).
void place(std::vector<uint32_t>& canvas, int canvasWidth, const std::vector<uint32_t>& picture, int w, int h, int left,
           int top)
{
    for (int y = 0; y < h; ++y)
        std::copy_n(picture.begin() + ptrdiff_t(y) * w, w, canvas.begin() + ptrdiff_t(top + y) * canvasWidth + left);
}

}  // namespace

bool animFormatOfPath(const std::string& path, AnimFormat& out)
{
    const std::string ext = fileExtension(path);
    if (equalsNoCase(ext, "gif")) out = AnimFormat::Gif;
    else if (equalsNoCase(ext, "webp")) out = AnimFormat::Webp;
    else return false;
    return true;
}

int animDirectionCount(const FlcLoadResult& loaded) { return std::max<int>(1, loaded.store.header.directions); }

void animGridCell(int directions, int d, int& column, int& row, int& columns, int& rows)
{
    if (directions == 8) {
        // File order SW, S, SE, E, NE, N, NW, W around the empty centre.
        static const int kColumn[8] = {0, 1, 2, 2, 2, 1, 0, 0};
        static const int kRow[8] = {2, 2, 2, 1, 0, 0, 0, 1};
        column = kColumn[d], row = kRow[d], columns = rows = 3;
        return;
    }
    column = d, row = 0, columns = directions, rows = 1;
}

Status exportAnimation(const FlcLoadResult& loaded, const AnimExportOptions& o, const std::string& outputPath,
                       Bytes& out, const std::function<bool()>& cancelled)
{
    const FlcFrameStore& store = loaded.store;
    const int directions = animDirectionCount(loaded);
    const int perDirection = store.header.framesPerDirection;
    const int frameCount = static_cast<int>(store.frames.size());
    const bool all = o.direction == kAllDirections;
    const bool partialAlpha = o.format == AnimFormat::Webp;
    const int speed = static_cast<int>(store.header.speed);
    auto stop = [&] { return cancelled && cancelled(); };

    FrameComposer composer;
    if (Status st = composer.prepare(loaded, o.compose); !st) return st;
    const int w = composer.width(), h = composer.height();

    AnimSequence seq;
    seq.loopCount = o.loopCount;
    std::vector<std::vector<uint32_t>> pictures;
    int pw = w, ph = h;
    if (all && o.grid) {
        // One picture per frame step; every direction's frame in its cell, composed in
        // playback order through one back buffer as the view plays all directions.
        int column = 0, row = 0, columns = 1, rows = 1;
        animGridCell(directions, 0, column, row, columns, rows);
        pw = w * columns, ph = h * rows;
        const int steps = std::min(perDirection, frameCount);
        const std::vector<uint32_t> background = composer.backgroundArgb();
        std::vector<uint32_t> empty(size_t(pw) * size_t(ph));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) place(empty, pw, background, w, h, c * w, r * h);
        pictures.assign(size_t(steps), empty);
        for (int n = 0; n < frameCount && n < directions * perDirection; ++n) {
            if (stop()) return Status::failure();
            animGridCell(directions, n / perDirection, column, row, columns, rows);
            place(pictures[size_t(n % perDirection)], pw, composer.frameArgb(n, partialAlpha), w, h, column * w, row * h);
        }
    } else {
        int first = 0, count = frameCount;
        if (!all) {
            first = std::clamp(o.direction, 0, directions - 1) * perDirection;
            count = std::max(0, std::min(perDirection, frameCount - first));
        }
        // Over a picture the back buffer keeps what earlier frames left under its magenta,
        // so the frames before the first one written are composed too, as the view would have.
        for (int n = 0; n < first; ++n) composer.composeFrame(n);
        for (int n = first; n < first + count; ++n) {
            if (stop()) return Status::failure();
            pictures.push_back(composer.frameArgb(n, partialAlpha));
        }
    }
    seq.width = pw * o.scale;
    seq.height = ph * o.scale;
    for (std::vector<uint32_t>& p : pictures) {
        if (stop()) return Status::failure();
        seq.frames.push_back({scaleUp(std::move(p), pw, ph, o.scale), speed});
        p = {};
    }

    std::string error;
    const bool encoded =
        o.format == AnimFormat::Gif ? encodeGif(seq, out, error) : encodeWebp(seq, o.quality, out, error);
    if (!encoded) return Status::failure(formatMessage(str::IDS_ANIM_ENCODE_FAILED, {outputPath, error}));
    return Status::success();
}

}  // namespace qv
