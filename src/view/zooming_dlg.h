// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CZoomingDlg ("Zooming..."): an enlarged copy of the composed frame. The picture is
// painted at the zoom combo's percentage, moved by the two scroll bars (each runs over
// 0..100 % of the part that does not fit), or, with "Constrain Proportions" on, fitted
// into the picture area with its proportions kept, centred. "&Save" writes the picture
// at the size shown; the zoom and the fit state are kept under "Dlg Zooming".
#pragma once

#include <QComboBox>
#include <QWidget>

#include "platform/imaging/pictor.h"
#include "platform/ui/dialog_x.h"

class QAbstractButton;
class QScrollBar;
class QToolButton;

namespace qv {

// The zoom percentage box: common percentages to choose from, any whole percentage
// 1..9999 to type. "In" and "Out" step to the next larger or smaller entry.
class CComboZoom : public QComboBox {
    Q_OBJECT
public:
    explicit CComboZoom(QWidget* parent = nullptr);
    int zoom() const { return zoom_; }
    void setZoom(int percent);
    void zoomIn();
    void zoomOut();
    // Reads a percentage from a text ("150%", "150"); 0 when there is none.
    static int parsePercent(const QString& text);

signals:
    void zoomChanged(int percent);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showZoom();
    void takeText(const QString& text);
    int zoom_ = 100;
};

class CZoomingDlg : public CDialogX {
    Q_OBJECT
public:
    static constexpr int kMinZoom = 1, kMaxZoom = 9999, kDefaultZoom = 100;

    // `picture` is the composed frame (24 bits).
    explicit CZoomingDlg(const PictorBitmap& picture, QWidget* parent = nullptr);

    // The animation's file: "&Save" starts in its folder.
    QString documentPath;

    int zoom() const;
    bool fit() const;
    void setFit(bool on);
    // Where the picture is painted inside the picture area, and at what size.
    QRect pictureRect() const;
    // The picture as "&Save" writes it: resized to the size shown.
    PictorBitmap zoomedPicture() const;

    CComboZoom* zoomCombo() const { return combo_; }
    QScrollBar* horizontalBar() const { return hbar_; }
    QScrollBar* verticalBar() const { return vbar_; }
    QWidget* pictureArea() const { return area_; }
    QAbstractButton* zoomInButton() const;
    QAbstractButton* zoomOutButton() const;

    void done(int result) override;

private:
    void updateControls();
    void onSave();

    PictorBitmap picture_;
    CComboZoom* combo_ = nullptr;
    QWidget* area_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QToolButton* fit_ = nullptr;
    QToolButton* in_ = nullptr;
    QToolButton* out_ = nullptr;
};

}  // namespace qv
