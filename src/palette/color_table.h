// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CColorTable: the 16 x 16 palette grid of every colour dialog. Cell i sits at row i / 16,
// column i % 16 and keeps its colour as a Windows colour value (red in the low byte). The
// cell under the mouse (or moved by the arrow keys) is the hot cell, the clicked one the
// selected cell; the grid tells its parent through hotColorChanged (the old message 2025)
// and selectedColorChanged (2028), each with the colour and the grid's id (1039 for a
// destination grid, 1386 for a source grid). A double click, or Enter on the selected
// cell, opens the colour dialog on the cell. A range of cells can be marked for the Range
// and Move dialogs. CColorTablePreview marks nothing under the mouse (a picture of the
// palette); CColorTableSrc marks its selection in blue, so source and destination differ.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "core/flc_format.h"

namespace qv {

class CColorTable : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDestinationId = 1039;
    static constexpr int kSourceId = 1386;
    static constexpr int kHotChangedMessage = 1024 + 1001;
    static constexpr int kSelectedChangedMessage = 1024 + 1004;

    CColorTable(const Palette256& palette, int id, QWidget* parent = nullptr, int cellSize = 16);

    int id() const { return id_; }
    // All cells from a palette, and the cells back as a palette (blue, green, red).
    void SetPalette(const Palette256& palette);
    Palette256 cellsPalette() const;
    void SetCellColor(int index, uint32_t colorRef);
    uint32_t cellColor(int index) const { return cells_[size_t(index & 0xFF)]; }
    // Selects a cell without telling the parent; -1 selects none.
    void SelectCell(int index);
    int selectedCell() const { return selected_; }
    int hotCell() const { return hot_; }
    // Marks `count` cells from `from` (count 0: no mark).
    void SetRange(int from, int count);

    int cellSize() const { return cellSize_; }
    int border() const { return border_; }
    QRect cellRect(int index) const;
    // The cell under a point of the widget, or -1.
    int cellAt(const QPoint& pos) const;
    // The tooltip text of a cell: "RGB: %d, %d, %d; Idx: %d".
    QString cellToolTip(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void hotColorChanged(uint32_t colorRef, int id);
    void selectedColorChanged(uint32_t colorRef, int id);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

    // How the variants differ in drawing.
    virtual bool drawsHotMark() const { return true; }
    virtual QColor selectionColor() const;

private:
    void setHot(int index);
    // Selects `index`, telling the parent when it changed (or when `always`).
    void selectAndNotify(int index, bool always = false);
    void editCell(int index);

    std::array<uint32_t, 256> cells_{};
    int id_;
    int cellSize_;
    int border_;
    int hot_ = -1;
    int selected_ = -1;
    int rangeFrom_ = 0;
    int rangeCount_ = 0;
};

class CColorTablePreview : public CColorTable {
    Q_OBJECT
public:
    using CColorTable::CColorTable;

protected:
    bool drawsHotMark() const override { return false; }
};

class CColorTableSrc : public CColorTable {
    Q_OBJECT
public:
    using CColorTable::CColorTable;

protected:
    QColor selectionColor() const override;
};

// A filled swatch of one colour (0x00BBGGRR) with a sunken frame.
class CColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit CColorSwatch(QWidget* parent = nullptr);
    void setColorRef(uint32_t colorRef);
    uint32_t colorRef() const { return colorRef_; }
    QSize sizeHint() const override { return {40, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t colorRef_ = 0;
};

// A Windows colour value from a palette entry and back.
inline uint32_t entryColorRef(const PaletteEntry& e) { return e.colorRef(); }
inline PaletteEntry colorRefEntry(uint32_t colorRef)
{
    return PaletteEntry::fromRgb(uint8_t(colorRef), uint8_t(colorRef >> 8), uint8_t(colorRef >> 16));
}

}  // namespace qv
