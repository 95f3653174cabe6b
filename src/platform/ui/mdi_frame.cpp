// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/mdi_frame.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>

#include "core/strings.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/document.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/std_commands.h"
#include "platform/ui/view.h"
#include "platform/ui/win_app.h"

namespace qv {

CNewMDIFrameWnd::CNewMDIFrameWnd(QWidget* parent)
    : QMainWindow(parent), mdi_(new QMdiArea(this)), updateTimer_(new QTimer(this))
{
    appTitle_ = QString::fromUtf8(str::IDS_APP_TITLE);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CNewMDIFrameWnd::onSubWindowActivated);
    // Toolbar buttons show their state without a menu opening: refresh it while idle.
    updateTimer_->setInterval(150);
    connect(updateTimer_, &QTimer::timeout, this, &CNewMDIFrameWnd::UpdateCommandUI);
    updateTimer_->start();
    setWindowTitle(appTitle_);
}

CNewMDIFrameWnd::~CNewMDIFrameWnd()
{
    updateTimer_->stop();
    // The child windows go with the area after this frame's own parts: they must not
    // call back into it.
    disconnect(mdi_, nullptr, this, nullptr);
    for (QMdiSubWindow* w : mdi_->subWindowList()) disconnect(w, nullptr, this, nullptr);
    active_ = nullptr;
}

void CNewMDIFrameWnd::setAppTitle(const QString& title)
{
    appTitle_ = title;
    OnUpdateFrameTitle();
}

void CNewMDIFrameWnd::addChildFrame(CNewMDIChildWnd* child)
{
    mdi_->addSubWindow(child);
    connect(child, &QMdiSubWindow::windowStateChanged, this, [this] { OnUpdateFrameTitle(); });
    connect(child, &QWidget::windowTitleChanged, this, [this] { OnUpdateFrameTitle(); });
    connect(child, &CNewMDIChildWnd::frameClosing, this, &CNewMDIFrameWnd::onChildClosing);
}

void CNewMDIFrameWnd::onChildClosing(CNewMDIChildWnd* child)
{
    if (active_.data() != child) return;
    // The active window goes: its view is told now, while it still exists, and the
    // next window (if any) becomes active.
    active_ = nullptr;
    child->OnActivateFrame(false);
    CNewMDIChildWnd* next = nullptr;
    for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::ActivationHistoryOrder)) {
        auto* c = qobject_cast<CNewMDIChildWnd*>(w);
        if (c && c != child && c->isVisible()) next = c;
    }
    if (next) {
        active_ = next;
        next->OnActivateFrame(true);
    }
    OnActiveChildChanged(next);
    emit activeChildChanged(next);
    OnUpdateFrameTitle();
}

CNewMDIChildWnd* CNewMDIFrameWnd::MDIGetActive() const { return active_.data(); }

void CNewMDIFrameWnd::MDIActivate(CNewMDIChildWnd* child)
{
    if (!child) return;
    if (child->isHidden()) child->show();
    mdi_->setActiveSubWindow(child);
    // Without a window system (or before the frame is shown) the area may not report
    // the activation; make sure the views hear of it.
    if (active_ != child) onSubWindowActivated(child);
}

CView* CNewMDIFrameWnd::GetActiveView() const { return active_ ? active_->GetActiveView() : nullptr; }

CDocument* CNewMDIFrameWnd::GetActiveDocument() const { return active_ ? active_->GetActiveDocument() : nullptr; }

void CNewMDIFrameWnd::onSubWindowActivated(QMdiSubWindow* window)
{
    auto* child = qobject_cast<CNewMDIChildWnd*>(window);
    // Qt reports nullptr when the frame itself loses focus; the child stays active then
    // (a closing child reports itself through frameClosing).
    if (!child && active_) return;
    if (child == active_.data()) return;
    CNewMDIChildWnd* previous = active_.data();
    active_ = child;
    if (previous) previous->OnActivateFrame(false);
    if (child) child->OnActivateFrame(true);
    OnActiveChildChanged(child);
    emit activeChildChanged(child);
    OnUpdateFrameTitle();
    UpdateCommandUI();
}

void CNewMDIFrameWnd::OnActiveChildChanged(CNewMDIChildWnd*) {}

QAction* CNewMDIFrameWnd::commandAction(int id)
{
    auto it = actions_.find(id);
    if (it != actions_.end()) return it->second;
    auto* action = new QAction(this);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] {
        RouteCommand(id);
        UpdateCommandUI();
    });
    actions_[id] = action;
    return action;
}

std::vector<int> CNewMDIFrameWnd::commandIds() const
{
    std::vector<int> ids;
    for (const auto& kv : actions_) ids.push_back(kv.first);
    return ids;
}

bool CNewMDIFrameWnd::RouteCommand(int id)
{
    if (CNewMDIChildWnd* child = active_.data())
        if (child->RouteCommand(id)) return true;
    if (OnCommand(id)) return true;
    if (CWinApp* app = CWinApp::instance()) return app->RouteCommand(id);
    return false;
}

CCmdUI CNewMDIFrameWnd::RouteUpdate(int id)
{
    CCmdUI ui(id);
    if (CNewMDIChildWnd* child = active_.data())
        if (child->RouteUpdate(id, ui)) return ui;
    if (OnUpdateCommand(id, ui)) return ui;
    if (CWinApp* app = CWinApp::instance())
        if (app->RouteUpdate(id, ui)) return ui;
    // Nobody handles it: shown disabled and unchecked.
    ui.enabled = false;
    ui.checked = false;
    return ui;
}

void CNewMDIFrameWnd::UpdateCommandUI()
{
    for (const auto& kv : actions_) {
        const CCmdUI ui = RouteUpdate(kv.first);
        QAction* a = kv.second;
        if (a->isEnabled() != ui.enabled) a->setEnabled(ui.enabled);
        if (a->isCheckable() && a->isChecked() != ui.checked) a->setChecked(ui.checked);
    }
}

void CNewMDIFrameWnd::watchMenu(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, this, &CNewMDIFrameWnd::UpdateCommandUI);
}

void CNewMDIFrameWnd::OnUpdateFrameTitle()
{
    CNewMDIChildWnd* child = active_.data();
    if (child && child->isMaximized() && !child->shownTitle().isEmpty())
        setWindowTitle(appTitle_ + QLatin1String(" - ") + child->shownTitle());
    else
        setWindowTitle(appTitle_);
}

bool CNewMDIFrameWnd::OnCommand(int id)
{
    switch (id) {
        case ID_WINDOW_NEW: {
            CDocument* doc = GetActiveDocument();
            if (!doc || !doc->GetDocTemplate()) return true;
            CNewMultiDocTemplate* t = doc->GetDocTemplate();
            if (CNewMDIChildWnd* frame = t->CreateNewFrame(doc)) {
                t->InitialUpdateFrame(frame, doc, true);
                for (CView* v : doc->GetViews())
                    if (v->GetParentFrame()) v->GetParentFrame()->OnUpdateFrameTitle();
            }
            return true;
        }
        case ID_WINDOW_ARRANGE: {
            // Line the minimised windows up along the bottom of the area.
            int x = 0;
            for (QMdiSubWindow* w : mdi_->subWindowList()) {
                if (!w->isMinimized()) continue;
                const QSize s = w->size();
                w->move(x, mdi_->viewport()->height() - s.height());
                x += s.width();
            }
            return true;
        }
        case ID_WINDOW_CASCADE: mdi_->cascadeSubWindows(); return true;
        case ID_WINDOW_TILE_HORZ: mdi_->tileSubWindows(); return true;
        case ID_APP_EXIT: close(); return true;
        default: return false;
    }
}

bool CNewMDIFrameWnd::OnUpdateCommand(int id, CCmdUI& ui)
{
    switch (id) {
        case ID_WINDOW_NEW:
        case ID_WINDOW_ARRANGE:
        case ID_WINDOW_CASCADE:
        case ID_WINDOW_TILE_HORZ: ui.Enable(active_ != nullptr); return true;
        case ID_APP_EXIT: ui.Enable(true); return true;
        default: return false;
    }
}

}  // namespace qv
