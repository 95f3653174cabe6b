// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CNewMDIFrameWnd: the main window of a multi-document program. It holds the MDI area
// with the child frames, owns one QAction per command id (menus and toolbars share them),
// routes commands (active view, its document, its child frame, this frame, the
// application) and refreshes the actions' enabled and checked states.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>

#include "platform/ui/cmd_target.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace qv {

class CNewMDIChildWnd;
class CView;
class CDocument;

class CNewMDIFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CNewMDIFrameWnd(QWidget* parent = nullptr);
    ~CNewMDIFrameWnd() override;

    QMdiArea* mdiArea() const { return mdi_; }
    // Adds a child frame to the MDI area.
    void addChildFrame(CNewMDIChildWnd* child);
    CNewMDIChildWnd* MDIGetActive() const;
    void MDIActivate(CNewMDIChildWnd* child);
    // The view of the active child frame, or nullptr.
    CView* GetActiveView() const;
    CDocument* GetActiveDocument() const;

    // The action of command `id` (created on first use). Triggering it routes the command.
    QAction* commandAction(int id);
    bool hasCommandAction(int id) const { return actions_.count(id) != 0; }
    // Every command id that has an action.
    std::vector<int> commandIds() const;

    // Routes command `id`; true when some target handled it.
    bool RouteCommand(int id);
    // Asks the targets for the state of `id`; a command nobody claims is disabled.
    CCmdUI RouteUpdate(int id);
    // Refreshes the state of every action now (also done on a short timer and before a
    // menu opens).
    void UpdateCommandUI();

    // The window title: the application title, or the framework's title with the active
    // child's. Derived frames override it.
    virtual void OnUpdateFrameTitle();
    // The application title shown in the title bar ("Quorvane").
    QString appTitle() const { return appTitle_; }
    void setAppTitle(const QString& title);

    // Window commands the frame handles itself: New Window, Arrange Icons, Cascade,
    // Tile, Exit.
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCmdUI& ui) override;

signals:
    // The active child changed (nullptr when the last one closed).
    void activeChildChanged(qv::CNewMDIChildWnd* child);

protected:
    // Called when the active child changes, after the views were told.
    virtual void OnActiveChildChanged(CNewMDIChildWnd* child);
    // Menus built from command actions call this before they open.
    void watchMenu(class QMenu* menu);

private:
    void onSubWindowActivated(QMdiSubWindow* window);
    void onChildClosing(CNewMDIChildWnd* child);

    QMdiArea* mdi_;
    std::map<int, QAction*> actions_;
    QPointer<CNewMDIChildWnd> active_;
    QTimer* updateTimer_;
    QString appTitle_;
};

}  // namespace qv
