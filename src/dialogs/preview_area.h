// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CPreviewArea: the picture area of the file dialogs with preview. A sunken 3-D frame
// and, inside it (3 pixels in), the picture scaled to fit with its proportions kept, or
// a line of text when there is nothing to show. Given several pictures it plays them
// in turn at the given interval.
#pragma once

#include <QBasicTimer>
#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

namespace qv {

class CPreviewArea : public QWidget {
    Q_OBJECT
public:
    explicit CPreviewArea(QWidget* parent = nullptr);

    // Shows one picture (a null picture clears the area).
    void setPicture(const QImage& picture);
    // Plays `frames` in turn, one every `intervalMs` (at least 10 ms).
    void setFrames(std::vector<QImage> frames, int intervalMs);
    // Nothing but `text` (which may be empty).
    void setText(const QString& text);
    void clear() { setText({}); }

    const std::vector<QImage>& frames() const { return frames_; }
    int currentFrame() const { return current_; }
    const QString& text() const { return text_; }
    bool hasPicture() const { return !frames_.empty(); }
    // Moves to the next frame (what the timer does).
    void advance();

    QSize sizeHint() const override { return {180, 180}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    std::vector<QImage> frames_;
    int current_ = 0;
    QString text_;
    QBasicTimer timer_;
};

}  // namespace qv
