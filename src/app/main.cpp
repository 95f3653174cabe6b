// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The desktop program: the application object's start-up, then the event loop until the
// main window closes.
#include <QApplication>

#include "app/editor_app.h"
#include "core/strings.h"
#include "platform/ui/guarded_application.h"

int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    // Operations that fail with an exception are reported, not fatal.
    qv::GuardedApplication qapp(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(qv::str::IDS_APP_TITLE));
    QApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));

    qv::CEditorApp app;
    if (!app.InitInstance()) return app.exitCode();
    const int loop = QApplication::exec();
    const int code = app.ExitInstance();
    return loop != 0 ? loop : code;
}
