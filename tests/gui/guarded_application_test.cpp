// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QEvent>
#include <QObject>
#include <QtTest>
#include <new>
#include <stdexcept>

#include "core/strings.h"
#include "platform/ui/guarded_application.h"
#include "platform/ui/services.h"

using namespace qv;

namespace {

// Throws what it is given from its event handler, as a failing operation would.
class Failing : public QObject {
    Q_OBJECT
public:
    std::function<void()> fail;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) fail();
        return QObject::event(e);
    }
};

}  // namespace

class GuardedApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void exceptionsInEventsAreReportedAndTheProgramGoesOn()
    {
        ScriptedMessageBoxes boxes;
        setMessageBoxService(&boxes);
        Failing target;
        const std::pair<std::function<void()>, QString> cases[] = {
            {[] { throw std::bad_alloc(); }, QString::fromStdString(formatMessage(str::IDS_NOT_ENOUGH_MEMORY, {"Failing"}))},
            {[] { throw std::runtime_error("x"); }, QString::fromStdString(formatMessage(str::IDS_UNKNOWN_ERROR, {"Failing"}))},
        };
        for (const auto& [fail, message] : cases) {
            boxes.clear();
            target.fail = fail;
            QEvent event(QEvent::User);
            QCoreApplication::sendEvent(&target, &event);
            QCOMPARE(boxes.shown().size(), size_t(1));
            QCOMPARE(boxes.shown()[0].text, message);
            QCOMPARE(boxes.shown()[0].flags & MB_ICONMASK, unsigned(MB_ICONSTOP));
        }
        setMessageBoxService(nullptr);
    }
};

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    GuardedApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "guarded_application_test.moc"
