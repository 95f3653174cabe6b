// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The two wizard commands in the whole application: New Storyboard is always enabled,
// Export to Storyboard only while an FLC window with its animation loaded is active; the
// export runs from the menu command and, as "ExpOpen" and "ExpAsk" say, offers to open
// the new storyboard.
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/main_frame.h"
#include "core/strings.h"
#include "gui/app_support.h"
#include "platform/ui/doc_manager.h"
#include "platform/ui/document.h"
#include "platform/ui/services.h"
#include "storyboard/storyboard_wizard.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

class WizardCommandsTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;
    ScriptedMessageBoxes boxes_;
    ScriptedFileDialogs dialogs_;
    QTemporaryDir dir_;

private slots:
    void initTestCase()
    {
        qputenv("QUORVANE_INSTANCE_NAME",
                QByteArray("QuorvaneV2-wizard-commands-test-") + QByteArray::number(QCoreApplication::applicationPid()));
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
    }

    void enabledAsTheWindowsSay()
    {
        WriteProfileInt(QStringLiteral("Options"), QStringLiteral("Check File Type"), 0);
        WriteProfileInt(QStringLiteral("Dlg ExpFlc"), QStringLiteral("Preview"), 0);
        auto app = std::make_unique<CEditorApp>();
        app->setShowMainWindow(false);
        app->setProgramFolder(dir_.path());
        QVERIFY(app->InitInstance());
        CMainFrame* frame = app->mainWindow();
        QVERIFY(!frame->RouteUpdate(ID_EXPORT_TO_STORYBOARD).enabled);
        QVERIFY(frame->RouteUpdate(ID_NEW_STORYBOARD).enabled);

        const QString flc = dir_.filePath(QStringLiteral("Unit.flc"));
        QVERIFY(writeAnimation(flc.toStdString(), AnimationSpec{}));
        QVERIFY(app->OpenDocumentFile(flc));
        QVERIFY(frame->RouteUpdate(ID_EXPORT_TO_STORYBOARD).enabled);

        // The menu command runs the wizard on the active FLC window; "No" to opening.
        const QString folder = dir_.filePath(QStringLiteral("sheet/"));
        QTimer::singleShot(0, this, [folder] {
            auto* w = qobject_cast<CStoryboardWizard*>(QApplication::activeModalWidget());
            QVERIFY(w);
            w->findChild<QLineEdit*>(QStringLiteral("outputDir"))->setText(folder);
            w->accept();
        });
        boxes_.answer(IDNO);
        frame->RouteCommand(ID_EXPORT_TO_STORYBOARD);
        QVERIFY(QFile::exists(folder + QStringLiteral("Unit.qsb")));
        QCOMPARE(boxes_.shown().back().text,
                 QString::fromStdString(formatMessage(str::IDS_WIZ_EXPORTED_ASK_OPEN,
                                                      {(folder + QStringLiteral("Unit.qsb")).toStdString()})));

        app->docManager()->CloseAllDocuments(false);
        QVERIFY(!frame->RouteUpdate(ID_EXPORT_TO_STORYBOARD).enabled);
        app->ExitInstance();
    }
};

QTEST_MAIN(WizardCommandsTest)
#include "wizard_commands_test.moc"
