// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/child_frame.h"

#include <QStyle>

#include "app/commands.h"
#include "platform/ui/view.h"

namespace qv {

CChildFrm::CChildFrm(QWidget* parent) : CNewMDIChildWnd(parent)
{
    // The program's icon in the title bar, not the toolkit's.
    setWindowIcon(namedIcon(QStringLiteral("app")));
}

QSize CChildFrm::frameSizeFor(const QSize& viewSize) const
{
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return QSize(viewSize.width() + 2 * border, viewSize.height() + caption + border);
}

void CChildFrm::FitToView()
{
    if (isMaximized() || isMinimized()) return;
    QSize want(kDefaultViewWidth, kDefaultViewHeight);
    if (CView* view = GetActiveView()) {
        const QSize preferred = view->GetPreferredSize();
        if (preferred.isValid() && !preferred.isEmpty()) want = preferred;
    }
    resize(frameSizeFor(want));
}

void CChildFrm::OnActivateFrame(bool activate)
{
    if (activate) FitToView();
    CNewMDIChildWnd::OnActivateFrame(activate);
}

}  // namespace qv
