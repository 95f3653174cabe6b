// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CDialogX: a dialog that keeps its place between runs. It restores its position (and,
// when resizable, its size) from its settings section ("Dlg Options", "Dlg Zooming", ...)
// the first time it is shown and saves it whenever it ends.
#pragma once

#include <QDialog>
#include <memory>

#include "platform/ui/position.h"

namespace qv {

class CDialogX : public QDialog {
    Q_OBJECT
public:
    CDialogX(const QString& section, QWidget* parent = nullptr, bool resizable = true);
    ~CDialogX() override;

    const QString& section() const { return section_; }
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString section_;
    std::unique_ptr<CFramePosition> position_;
    bool restored_ = false;
};

}  // namespace qv
