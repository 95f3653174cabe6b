// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Window position keepers: a window's place (and size) saved to a settings section when
// it closes and restored when it opens. CFramePosition keeps position, size and the
// maximised state ("MainFrame", "Dlg Options", ...); CNoSizePosition keeps the position
// only, for windows of fixed size. Values: "X", "Y", "Width", "Height", "Maximized".
#pragma once

#include <QString>

class QWidget;

namespace qv {

class CFramePosition {
public:
    explicit CFramePosition(const QString& section, bool keepSize = true);
    virtual ~CFramePosition() = default;

    const QString& section() const { return section_; }
    // Restores the saved place; false (window untouched) when nothing was saved. A place
    // that would put the window off every screen is moved back onto the nearest one.
    bool Load(QWidget* window) const;
    void Save(const QWidget* window) const;

private:
    QString section_;
    bool keepSize_;
};

class CNoSizePosition : public CFramePosition {
public:
    explicit CNoSizePosition(const QString& section) : CFramePosition(section, false) {}
};

}  // namespace qv
