// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CView: a window that shows a document. It sits inside a child frame (CNewMDIChildWnd),
// receives commands before its document and the frames do (CCmdTarget), and is told when
// it is first shown (OnInitialUpdate) and when its frame becomes active or inactive.
#pragma once

#include <QSize>
#include <QWidget>

#include "platform/ui/cmd_target.h"

namespace qv {

class CDocument;
class CNewMDIChildWnd;

class CView : public QWidget, public CCmdTarget {
    Q_OBJECT
public:
    explicit CView(QWidget* parent = nullptr);
    ~CView() override;

    CDocument* GetDocument() const { return document_; }
    // The child frame that holds the view, or nullptr.
    CNewMDIChildWnd* GetParentFrame() const;

    // Called once after the view, its document and its frame exist and the document is
    // open. The base calls OnUpdate(nullptr, 0).
    virtual void OnInitialUpdate();
    // The document changed; `sender` is the view that changed it (or nullptr).
    virtual void OnUpdate(CView* sender, int hint);
    // The view's frame became the active child window (true) or stopped being it (false).
    virtual void OnActivateView(bool activate);
    // The size the view would like its client area to have; an invalid size means
    // "no preference" (the frame then uses its default).
    virtual QSize GetPreferredSize() const;
    // The preferred size, so that arranging the windows (cascade, tile) keeps the view's
    // size instead of shrinking its frame to a title bar.
    QSize sizeHint() const override;

    // Used by CDocument::AddView / RemoveView only.
    void setDocument(CDocument* doc) { document_ = doc; }

private:
    CDocument* document_ = nullptr;
};

}  // namespace qv
