// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/ui/profile.h"

namespace qv {

CFramePosition::CFramePosition(const QString& section, bool keepSize) : section_(section), keepSize_(keepSize) {}

bool CFramePosition::Load(QWidget* window) const
{
    if (!window || !HasProfileValue(section_, QStringLiteral("X"))) return false;
    const int x = GetProfileInt(section_, QStringLiteral("X"), 0);
    const int y = GetProfileInt(section_, QStringLiteral("Y"), 0);
    int w = window->width(), h = window->height();
    if (keepSize_) {
        w = GetProfileInt(section_, QStringLiteral("Width"), w);
        h = GetProfileInt(section_, QStringLiteral("Height"), h);
        if (w < 50 || h < 30 || w > 20000 || h > 20000) {
            w = window->width();
            h = window->height();
        }
    }
    QRect r(x, y, w, h);
    // Keep the window reachable: a place saved on a screen that is gone moves onto the
    // screen nearest to it.
    if (!window->parentWidget()) {
        const QList<QScreen*> screens = QGuiApplication::screens();
        bool visible = false;
        for (QScreen* s : screens)
            if (s->availableGeometry().intersects(r)) visible = true;
        if (!visible && !screens.isEmpty()) {
            const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
            r.moveTopLeft(avail.topLeft());
        }
    }
    if (keepSize_) window->resize(r.size());
    window->move(r.topLeft());
    if (keepSize_ && GetProfileInt(section_, QStringLiteral("Maximized"), 0) > 0)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return true;
}

void CFramePosition::Save(const QWidget* window) const
{
    if (!window) return;
    const bool maximized = window->isMaximized();
    // A maximised window keeps the place it had before it was maximised.
    const QRect r = maximized ? window->normalGeometry() : window->geometry();
    const QPoint pos = maximized ? r.topLeft() : window->pos();
    WriteProfileInt(section_, QStringLiteral("X"), pos.x());
    WriteProfileInt(section_, QStringLiteral("Y"), pos.y());
    if (keepSize_) {
        WriteProfileInt(section_, QStringLiteral("Width"), r.width());
        WriteProfileInt(section_, QStringLiteral("Height"), r.height());
        WriteProfileInt(section_, QStringLiteral("Maximized"), maximized ? 1 : 0);
    }
}

}  // namespace qv
