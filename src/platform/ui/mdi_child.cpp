// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/mdi_child.h"

#include <QCloseEvent>
#include <QMdiArea>

#include "platform/ui/document.h"
#include "platform/ui/view.h"

namespace qv {

CNewMDIChildWnd::CNewMDIChildWnd(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this] { applyTitle(); });
}

CNewMDIChildWnd::~CNewMDIChildWnd()
{
    if (view_)
        if (CDocument* doc = view_->GetDocument()) doc->RemoveView(view_);
}

void CNewMDIChildWnd::setView(CView* view, CDocument* doc)
{
    view_ = view;
    setWidget(view);
    if (doc) {
        doc->AddView(view);
        connect(doc, &CDocument::titleChanged, this, [this] { OnUpdateFrameTitle(); });
        connect(doc, &CDocument::modifiedChanged, this, [this] { OnUpdateFrameTitle(); });
    }
    OnUpdateFrameTitle();
}

CDocument* CNewMDIChildWnd::GetActiveDocument() const { return view_ ? view_->GetDocument() : nullptr; }

void CNewMDIChildWnd::OnUpdateFrameTitle()
{
    CDocument* doc = GetActiveDocument();
    if (!doc) return;
    QString title = doc->GetTitle();
    // A document shown in several windows numbers them: "name:1", "name:2".
    int count = 0, mine = 0;
    for (CView* v : doc->GetViews()) {
        if (!v->GetParentFrame()) continue;
        ++count;
        if (v->GetParentFrame() == this) mine = count;
    }
    if (count > 1 && mine > 0) title += QLatin1Char(':') + QString::number(mine);
    // The modified state first: a title change is what tells the main window to update.
    setWindowModified(doc->IsModified());
    title_ = title + QLatin1String("[*]");
    applyTitle();
}

void CNewMDIChildWnd::applyTitle()
{
    // A maximised window has no title bar of its own: its buttons go into the main window's
    // menu bar, and Qt would add its title to the main window's ("App - X - [X]"), which
    // the main window already names as it should.
    const QString shown = isMaximized() ? QString() : title_;
    if (windowTitle() == shown)
        emit windowTitleChanged(shown);
    else
        setWindowTitle(shown);
}

QString CNewMDIChildWnd::shownTitle() const
{
    QString title = title_;
    title.replace(QLatin1String("[*]"), isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

void CNewMDIChildWnd::OnActivateFrame(bool activate)
{
    if (view_) view_->OnActivateView(activate);
}

bool CNewMDIChildWnd::RouteCommand(int id)
{
    if (view_ && view_->OnCommand(id)) return true;
    if (CDocument* doc = GetActiveDocument())
        if (doc->OnCommand(id)) return true;
    return OnCommand(id);
}

bool CNewMDIChildWnd::RouteUpdate(int id, CCmdUI& ui)
{
    if (view_ && view_->OnUpdateCommand(id, ui)) return true;
    if (CDocument* doc = GetActiveDocument())
        if (doc->OnUpdateCommand(id, ui)) return true;
    return OnUpdateCommand(id, ui);
}

void CNewMDIChildWnd::destroyFrame()
{
    if (destroying_) return;
    destroying_ = true;
    close();
}

void CNewMDIChildWnd::closeEvent(QCloseEvent* event)
{
    if (destroying_) {
        emit frameClosing(this);
        QMdiSubWindow::closeEvent(event);
        return;
    }
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this)) {
        event->ignore();
        return;
    }
    bool last = doc != nullptr;
    if (doc)
        for (CView* v : doc->GetViews())
            if (v != view_ && v->GetParentFrame()) last = false;
    destroying_ = true;
    if (last) {
        // The document goes with its last window.
        doc->OnCloseDocument();
    } else if (doc) {
        doc->RemoveView(view_);
        for (CView* v : doc->GetViews())
            if (v->GetParentFrame()) v->GetParentFrame()->OnUpdateFrameTitle();
    }
    emit frameClosing(this);
    QMdiSubWindow::closeEvent(event);
}

}  // namespace qv
