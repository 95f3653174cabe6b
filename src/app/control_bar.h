// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CControlBar: the dockable "Control Bar" that hosts the panels. It docks on the left or
// the right of the main window or floats, resizes by its edges, toggles between docked and
// floating on a double click of its caption, and keeps three sizes (floating, docked
// horizontally, docked vertically) with the floating place in the "Dlg Bar" section.
#pragma once

#include <QDockWidget>
#include <QSize>

namespace qv {

class CControlPanels;

class CControlBar : public QDockWidget {
    Q_OBJECT
public:
    CControlBar(const QString& title, CControlPanels* panels, QWidget* parent = nullptr);
    ~CControlBar() override;

    CControlPanels* panels() const { return panels_; }

    // Reads the sizes and the floating place; floats the bar when it was floating.
    void LoadState();
    // Writes the six sizes, the floating place and whether it floats.
    void SaveState() const;

    QSize floatSize() const { return floatSize_; }
    QSize horzSize() const { return horzSize_; }
    QSize vertSize() const { return vertSize_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void onFloatingChanged(bool floating);

    CControlPanels* panels_;
    QSize floatSize_, horzSize_, vertSize_;
    QPoint floatPos_;
    bool restoring_ = false;
};

}  // namespace qv
