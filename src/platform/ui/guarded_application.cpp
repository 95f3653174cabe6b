// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/guarded_application.h"

#include <exception>
#include <new>

#include "core/strings.h"
#include "platform/ui/services.h"

namespace qv {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

QString exceptionMessage(std::exception_ptr error, const QString& where)
{
    const std::string at = where.toStdString();
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return QString::fromStdString(formatMessage(str::IDS_NOT_ENOUGH_MEMORY, {at}));
    } catch (...) {
        return QString::fromStdString(formatMessage(str::IDS_UNKNOWN_ERROR, {at}));
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString where = receiver ? QString::fromLatin1(receiver->metaObject()->className()) : QString();
        AfxMessageBox(exceptionMessage(std::current_exception(), where), MB_ICONSTOP);
        return true;
    }
}

}  // namespace qv
