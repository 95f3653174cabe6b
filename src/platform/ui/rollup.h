// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CRollupCtrl: a vertical stack of pages, each under a header button that expands or
// collapses it. The stack scrolls when the expanded pages are taller than the control.
#pragma once

#include <QScrollArea>
#include <vector>

class QToolButton;
class QVBoxLayout;

namespace qv {

class CRollupCtrl : public QScrollArea {
    Q_OBJECT
public:
    explicit CRollupCtrl(QWidget* parent = nullptr);

    // Adds `page` (taking ownership) under a header titled `title`; returns its index.
    int InsertPage(const QString& title, QWidget* page, bool expanded = false);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    QWidget* page(int index) const;
    QToolButton* headerButton(int index) const;

    void ExpandPage(int index, bool expand = true);
    bool IsPageExpanded(int index) const;
    void ExpandAllPages(bool expand = true);

signals:
    void pageExpanded(int index, bool expanded);

private:
    struct Page {
        QToolButton* header;
        QWidget* body;
    };
    std::vector<Page> pages_;
    QWidget* inner_;
    QVBoxLayout* layout_;
};

}  // namespace qv
