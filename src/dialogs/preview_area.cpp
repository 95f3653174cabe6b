// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/preview_area.h"

#include <QPainter>
#include <QTimerEvent>
#include <algorithm>

namespace qv {

CPreviewArea::CPreviewArea(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(120, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CPreviewArea::setPicture(const QImage& picture)
{
    std::vector<QImage> one;
    if (!picture.isNull()) one.push_back(picture);
    setFrames(std::move(one), 0);
}

void CPreviewArea::setFrames(std::vector<QImage> frames, int intervalMs)
{
    timer_.stop();
    frames_ = std::move(frames);
    current_ = 0;
    text_.clear();
    if (frames_.size() > 1) timer_.start(std::max(10, intervalMs), this);
    update();
}

void CPreviewArea::setText(const QString& text)
{
    timer_.stop();
    frames_.clear();
    current_ = 0;
    text_ = text;
    update();
}

void CPreviewArea::advance()
{
    if (frames_.empty()) return;
    current_ = (current_ + 1) % static_cast<int>(frames_.size());
    update();
}

void CPreviewArea::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer_.timerId())
        advance();
    else
        QWidget::timerEvent(event);
}

void CPreviewArea::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect all = rect();
    // The sunken frame: shadow on the top and left, highlight on the bottom and right.
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(all.topLeft(), all.topRight());
    p.drawLine(all.topLeft(), all.bottomLeft());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(all.bottomLeft(), all.bottomRight());
    p.drawLine(all.topRight(), all.bottomRight());

    const QRect inner = all.adjusted(3, 3, -3, -3);
    if (frames_.empty()) {
        if (!text_.isEmpty()) {
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text_);
        }
        return;
    }
    const QImage& picture = frames_[static_cast<size_t>(current_)];
    QSize fitted = picture.size().scaled(inner.size(), Qt::KeepAspectRatio);
    if (fitted.width() < 1 || fitted.height() < 1) return;
    const QRect target(inner.x() + (inner.width() - fitted.width()) / 2, inner.y() + (inner.height() - fitted.height()) / 2,
                       fitted.width(), fitted.height());
    p.drawImage(target, picture);
}

}  // namespace qv
