// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// COffsetDlg ("Offset"): moves a unit animation's frames inside the 240 x 240 unit area.
// Every change of the left or top box moves the frame in the view at once, kept so that
// the frame stays inside the area (at most 240 minus the frame's width or height). OK
// keeps the new offsets; Cancel puts back the ones the dialog started from. The dialog's
// place is kept under "Dlg Offset".
#pragma once

#include "platform/ui/dialog_x.h"

class QLabel;
class QSpinBox;

namespace qv {

class CAnimationView;

class COffsetDlg : public CDialogX {
    Q_OBJECT
public:
    explicit COffsetDlg(CAnimationView* view, QWidget* parent = nullptr);

    QSpinBox* leftBox() const { return left_; }
    QSpinBox* topBox() const { return top_; }
    int startLeft() const { return startLeft_; }
    int startTop() const { return startTop_; }

    void done(int result) override;

private:
    void onLeftChanged(int value);
    void onTopChanged(int value);

    CAnimationView* view_;
    QSpinBox* left_ = nullptr;
    QSpinBox* top_ = nullptr;
    QLabel* current_ = nullptr;
    int startLeft_ = 0;
    int startTop_ = 0;
};

}  // namespace qv
