// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/rollup.h"

#include <QScrollBar>
#include <algorithm>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

CRollupCtrl::CRollupCtrl(QWidget* parent) : QScrollArea(parent), inner_(new QWidget), layout_(new QVBoxLayout(inner_))
{
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(2);
    layout_->addStretch(1);
    setWidget(inner_);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int CRollupCtrl::InsertPage(const QString& title, QWidget* page, bool expanded)
{
    const int index = static_cast<int>(pages_.size());
    auto* header = new QToolButton(inner_);
    header->setText(title);
    header->setCheckable(true);
    header->setChecked(expanded);
    header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header->setAutoRaise(false);
    page->setParent(inner_);
    page->setVisible(expanded);
    // Before the stretch that keeps the pages at the top.
    layout_->insertWidget(layout_->count() - 1, header);
    layout_->insertWidget(layout_->count() - 1, page);
    pages_.push_back({header, page});
    // Never narrower than the widest page: the stack scrolls only vertically.
    const int wanted = std::max(page->sizeHint().width(), header->sizeHint().width()) +
                       verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    if (wanted > minimumWidth()) setMinimumWidth(wanted);
    connect(header, &QToolButton::toggled, this, [this, index](bool on) { ExpandPage(index, on); });
    return index;
}

QWidget* CRollupCtrl::page(int index) const
{
    return index >= 0 && index < GetPageCount() ? pages_[index].body : nullptr;
}

QToolButton* CRollupCtrl::headerButton(int index) const
{
    return index >= 0 && index < GetPageCount() ? pages_[index].header : nullptr;
}

void CRollupCtrl::ExpandPage(int index, bool expand)
{
    if (index < 0 || index >= GetPageCount()) return;
    Page& p = pages_[index];
    const bool was = !p.body->isHidden();
    if (p.header->isChecked() != expand) p.header->setChecked(expand);  // comes back here once
    p.body->setVisible(expand);
    if (was != expand) emit pageExpanded(index, expand);
}

bool CRollupCtrl::IsPageExpanded(int index) const
{
    return index >= 0 && index < GetPageCount() && !pages_[index].body->isHidden();
}

void CRollupCtrl::ExpandAllPages(bool expand)
{
    for (int i = 0; i < GetPageCount(); ++i) ExpandPage(i, expand);
}

}  // namespace qv
