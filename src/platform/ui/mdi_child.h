// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CNewMDIChildWnd: a document window inside the main frame's MDI area. It holds one view,
// takes its title from the document, routes commands to the view and the document first,
// and asks the document before it closes.
#pragma once

#include <QMdiSubWindow>

#include "platform/ui/cmd_target.h"

namespace qv {

class CDocument;
class CView;
class CNewMultiDocTemplate;

class CNewMDIChildWnd : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CNewMDIChildWnd(QWidget* parent = nullptr);
    ~CNewMDIChildWnd() override;

    // Puts `view` into the frame and connects it to `doc` (the view becomes one of the
    // document's views).
    void setView(CView* view, CDocument* doc);
    CView* GetActiveView() const { return view_; }
    CDocument* GetActiveDocument() const;

    // Updates the window title from the document's title. The title carries Qt's "[*]"
    // placeholder, shown as an asterisk while the document has unsaved changes. While the
    // window is maximised it shows no title of its own (the main window's names it).
    virtual void OnUpdateFrameTitle();
    // The title as the user sees it (the placeholder resolved).
    QString shownTitle() const;
    // Called when the frame becomes the active child (true) or stops being it (false).
    // The base tells the view.
    virtual void OnActivateFrame(bool activate);

    // Offers `id` to the view, then the document, then this frame.
    bool RouteCommand(int id);
    bool RouteUpdate(int id, CCmdUI& ui);

    bool isMaximizedFrame() const { return isMaximized(); }

    // Closes the window without asking (the document is going away).
    void destroyFrame();

signals:
    // The window is about to go (its close was accepted).
    void frameClosing(qv::CNewMDIChildWnd* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Puts the title on the window, or none while it is maximised.
    void applyTitle();

    CView* view_ = nullptr;
    QString title_;  // with the "[*]" placeholder
    bool destroying_ = false;
};

}  // namespace qv
