// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The application object of the desktop program: every event (and so every command a
// menu, toolbar button or key sends) is delivered inside a guard, so that running out of
// memory or any other exception in an operation is reported in a message box, and the
// program goes on, instead of ending it.
#pragma once

#include <QApplication>
#include <exception>

namespace qv {

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The message for an exception that escaped an operation: "Not enough memory to complete
// the operation." for std::bad_alloc, "Unknown error." for anything else, with `where`.
QString exceptionMessage(std::exception_ptr error, const QString& where);

}  // namespace qv
