// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/view.h"

#include "platform/ui/document.h"
#include "platform/ui/mdi_child.h"

namespace qv {

CView::CView(QWidget* parent) : QWidget(parent) {}

CView::~CView()
{
    if (document_) document_->RemoveView(this);
}

CNewMDIChildWnd* CView::GetParentFrame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* f = qobject_cast<CNewMDIChildWnd*>(w)) return f;
    return nullptr;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0); }

void CView::OnUpdate(CView*, int) { update(); }

void CView::OnActivateView(bool) {}

QSize CView::GetPreferredSize() const { return QSize(); }

QSize CView::sizeHint() const
{
    const QSize preferred = GetPreferredSize();
    return preferred.isValid() && !preferred.isEmpty() ? preferred : QWidget::sizeHint();
}

}  // namespace qv
