// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/control_bar.h"

#include <QMainWindow>
#include <QResizeEvent>

#include "app/control_panels.h"
#include "app/settings.h"
#include "platform/ui/profile.h"

namespace qv {

using namespace settings;

CControlBar::CControlBar(const QString& title, CControlPanels* panels, QWidget* parent)
    : QDockWidget(title, parent), panels_(panels)
{
    setObjectName(QStringLiteral("CtrlBar"));
    setWidget(panels);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    connect(this, &QDockWidget::topLevelChanged, this, &CControlBar::onFloatingChanged);
}

CControlBar::~CControlBar() = default;

void CControlBar::LoadState()
{
    restoring_ = true;
    const QSize hint = panels_->sizeHint().expandedTo(QSize(180, 300));
    auto size = [&hint](const char* w, const char* h) {
        return QSize(GetProfileInt(kDlgBarSizes, w, hint.width()), GetProfileInt(kDlgBarSizes, h, hint.height()))
            .expandedTo(QSize(60, 60));
    };
    floatSize_ = size(kFloatX, kFloatY);
    horzSize_ = size(kHorzX, kHorzY);
    vertSize_ = size(kVertX, kVertY);
    floatPos_ = QPoint(GetProfileInt(kDlgBarSizes, kFloatPosX, 0), GetProfileInt(kDlgBarSizes, kFloatPosY, 0));
    if (GetProfileInt(kDlgBarSizes, kIsFloating, 0) != 0) {
        setFloating(true);
        resize(floatSize_);
        move(floatPos_);
    } else if (auto* main = qobject_cast<QMainWindow*>(parentWidget())) {
        main->resizeDocks({this}, {vertSize_.width()}, Qt::Horizontal);
    }
    restoring_ = false;
}

void CControlBar::SaveState() const
{
    WriteProfileInt(kDlgBarSizes, kFloatX, floatSize_.width());
    WriteProfileInt(kDlgBarSizes, kFloatY, floatSize_.height());
    WriteProfileInt(kDlgBarSizes, kHorzX, horzSize_.width());
    WriteProfileInt(kDlgBarSizes, kHorzY, horzSize_.height());
    WriteProfileInt(kDlgBarSizes, kVertX, vertSize_.width());
    WriteProfileInt(kDlgBarSizes, kVertY, vertSize_.height());
    WriteProfileInt(kDlgBarSizes, kFloatPosX, floatPos_.x());
    WriteProfileInt(kDlgBarSizes, kFloatPosY, floatPos_.y());
    WriteProfileInt(kDlgBarSizes, kIsFloating, isFloating() ? 1 : 0);
}

void CControlBar::onFloatingChanged(bool floating)
{
    if (restoring_) return;
    restoring_ = true;
    if (floating) {
        resize(floatSize_);
    } else if (auto* main = qobject_cast<QMainWindow*>(parentWidget())) {
        main->resizeDocks({this}, {vertSize_.width()}, Qt::Horizontal);
    }
    restoring_ = false;
}

void CControlBar::resizeEvent(QResizeEvent* event)
{
    QDockWidget::resizeEvent(event);
    if (restoring_ || !isVisible()) return;
    if (isFloating())
        floatSize_ = event->size();
    else
        vertSize_ = event->size();  // docked left or right: a vertical bar
}

void CControlBar::moveEvent(QMoveEvent* event)
{
    QDockWidget::moveEvent(event);
    if (!restoring_ && isFloating() && isVisible()) floatPos_ = pos();
}

}  // namespace qv
