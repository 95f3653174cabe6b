// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CChildFrm: the window of one document. When it becomes active it sizes itself, without
// moving, to its view's preferred size (242 x 244 when the view has none) plus its
// borders and caption, and it tells its view that it is active or not.
#pragma once

#include <QSize>

#include "platform/ui/mdi_child.h"

namespace qv {

class CChildFrm : public CNewMDIChildWnd {
    Q_OBJECT
public:
    explicit CChildFrm(QWidget* parent = nullptr);

    static constexpr int kDefaultViewWidth = 242;
    static constexpr int kDefaultViewHeight = 244;

    void OnActivateFrame(bool activate) override;
    // The frame size that gives the view `viewSize`.
    QSize frameSizeFor(const QSize& viewSize) const;
    // Sizes the frame to the view's preferred size now.
    void FitToView();
};

}  // namespace qv
