// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette/color_table.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "core/strings.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

constexpr int kEdge = 2;  // the system's sunken edge

QColor fromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

}  // namespace

CColorTable::CColorTable(const Palette256& palette, int id, QWidget* parent, int cellSize)
    : QWidget(parent), id_(id), cellSize_(cellSize), border_(kEdge)
{
    // A cell must leave room for its marks inside the border.
    if (cellSize_ - (2 * border_ + 2) < 5) cellSize_ = 2 * border_ + 7;
    setObjectName(id == kSourceId ? QStringLiteral("sourceGrid") : QStringLiteral("destinationGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFixedSize(sizeHint());
    SetPalette(palette);
}

QSize CColorTable::sizeHint() const { return {16 * cellSize_ + 3 * border_, 16 * cellSize_ + 3 * border_}; }

void CColorTable::SetPalette(const Palette256& palette)
{
    for (int i = 0; i < 256; ++i) cells_[size_t(i)] = palette[size_t(i)].colorRef();
    update();
}

Palette256 CColorTable::cellsPalette() const
{
    Palette256 p;
    for (int i = 0; i < 256; ++i) p[size_t(i)] = colorRefEntry(cells_[size_t(i)]);
    return p;
}

void CColorTable::SetCellColor(int index, uint32_t colorRef)
{
    if (index < 0 || index > 255) return;
    cells_[size_t(index)] = colorRef & 0xFFFFFF;
    update(cellRect(index));
}

void CColorTable::SelectCell(int index)
{
    selected_ = (index >= 0 && index <= 255) ? index : -1;
    update();
}

void CColorTable::SetRange(int from, int count)
{
    rangeFrom_ = from;
    rangeCount_ = count;
    update();
}

QRect CColorTable::cellRect(int index) const
{
    const int row = index / 16, column = index % 16;
    return QRect(border_ + column * cellSize_, border_ + row * cellSize_, cellSize_, cellSize_);
}

int CColorTable::cellAt(const QPoint& pos) const
{
    const int x = pos.x() - border_, y = pos.y() - border_;
    if (x < 0 || y < 0 || x >= 16 * cellSize_ || y >= 16 * cellSize_) return -1;
    return (y / cellSize_) * 16 + x / cellSize_;
}

QString CColorTable::cellToolTip(int index) const
{
    const uint32_t c = cellColor(index);
    return QString::fromStdString(formatMessage(
        str::IDS_GRID_TOOLTIP, {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF), index}));
}

QColor CColorTable::selectionColor() const { return QColor(255, 0, 0); }
QColor CColorTableSrc::selectionColor() const { return QColor(0, 0, 255); }

void CColorTable::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const QRect area(0, 0, 16 * cellSize_ + 2 * border_, 16 * cellSize_ + 2 * border_);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(area.adjusted(0, 0, -1, -1));
    const int inset = border_ + 1;
    for (int i = 0; i < 256; ++i) {
        const QRect r = cellRect(i);
        p.fillRect(r.adjusted(1, 1, -1, -1), fromColorRef(cells_[size_t(i)]));
        const bool inRange = rangeCount_ > 0 && i >= rangeFrom_ && i < rangeFrom_ + rangeCount_;
        if (inRange) {
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    if (selected_ >= 0) {
        p.setPen(QPen(selectionColor(), 2));
        p.drawRect(cellRect(selected_).adjusted(1, 1, -1, -1));
    }
    if (hot_ >= 0 && drawsHotMark()) {
        const QRect r = cellRect(hot_).adjusted(inset - 1, inset - 1, -inset, -inset);
        p.setPen(Qt::white);
        p.drawRect(r);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(r);
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

bool CColorTable::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int cell = cellAt(help->pos());
        if (cell >= 0) QToolTip::showText(help->globalPos(), cellToolTip(cell), this, cellRect(cell));
        else QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void CColorTable::setHot(int index)
{
    if (index == hot_) return;
    hot_ = index;
    update();
    if (hot_ >= 0) emit hotColorChanged(cellColor(hot_), id_);
}

void CColorTable::selectAndNotify(int index, bool always)
{
    if (index < 0) return;
    const bool changed = index != selected_;
    selected_ = index;
    update();
    if (changed || always) emit selectedColorChanged(cellColor(index), id_);
}

void CColorTable::editCell(int index)
{
    uint32_t c = cellColor(index);
    if (!ShowColorDialog(this, c)) return;
    SetCellColor(index, c);
    emit selectedColorChanged(cellColor(index), id_);
}

void CColorTable::mouseMoveEvent(QMouseEvent* event) { setHot(cellAt(event->position().toPoint())); }

void CColorTable::leaveEvent(QEvent*) { setHot(-1); }

void CColorTable::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const int cell = cellAt(event->position().toPoint());
    if (cell < 0) return;
    setHot(cell);
    selectAndNotify(cell);
}

void CColorTable::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const int cell = cellAt(event->position().toPoint());
    if (cell < 0) return;
    selectAndNotify(cell);
    editCell(cell);
}

void CColorTable::keyPressEvent(QKeyEvent* event)
{
    const int from = hot_ >= 0 ? hot_ : (selected_ >= 0 ? selected_ : 0);
    switch (event->key()) {
        // Right and left run through the cells in order, from 255 round to 0 and back.
        case Qt::Key_Right: setHot((from + 1) % 256); return;
        case Qt::Key_Left: setHot((from + 255) % 256); return;
        // Up from the top row goes to the last cell, down from the bottom row to the first.
        case Qt::Key_Up: setHot(from < 16 ? 255 : from - 16); return;
        case Qt::Key_Down: setHot(from >= 240 ? 0 : from + 16); return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (hot_ < 0) return;
            if (hot_ == selected_) editCell(hot_);
            else selectAndNotify(hot_);
            return;
        default: QWidget::keyPressEvent(event);
    }
}

CColorSwatch::CColorSwatch(QWidget* parent) : QWidget(parent) { setMinimumSize(24, 18); }

void CColorSwatch::setColorRef(uint32_t colorRef)
{
    colorRef_ = colorRef & 0xFFFFFF;
    update();
}

void CColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), fromColorRef(colorRef_));
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace qv
