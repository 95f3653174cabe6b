// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up and the main frame: command-line switches, settings defaults, the start-up
// document, the Open command, the window title, template look-ups, keys, and the frame's
// menus, toolbar and bar settings.
#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/command_ids.h"
#include "app/control_bar.h"
#include "app/main_frame.h"
#include "app_support.h"
#include "platform/ui/command_line.h"
#include "platform/ui/mdi_child.h"

using namespace qv;
using qvtest::flushDeletes;

namespace {

// The frame's bar settings: tool, status and control bar shown, always on top, control
// bar floating.
QList<int> barSettings()
{
    QList<int> out;
    for (const char* entry : {"Show ToolBar", "Show StatusBar", "Show DialogBar", "Always on top"})
        out << GetProfileInt("Options", entry, -1);
    return out << GetProfileInt("Dlg Bar", "IsFloating", -1);
}

}  // namespace

class StartupTest : public QObject, public qvtest::EditorHarness {
    Q_OBJECT

private slots:
    void initTestCase() { startEditorServices("startup-test"); }
    void cleanupTestCase() { stopEditor(); }
    void init() { resetEditor(); }

    void commandLineSwitches_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("flags");  // r u q p h
        QTest::newRow("none") << ""
                              << ""
                              << "";
        QTest::newRow("file") << "a.flc"
                              << "a.flc"
                              << "";
        QTest::newRow("long") << "--register --quiet --post-install"
                              << ""
                              << "rqp";
        QTest::newRow("short") << "-u -Q"
                               << ""
                               << "uq";
        QTest::newRow("first file wins") << "x.flc -r y.qsb"
                                         << "x.flc"
                                         << "r";
        QTest::newRow("after --") << "-- -odd.flc"
                                  << "-odd.flc"
                                  << "";
        QTest::newRow("help") << "--help"
                              << ""
                              << "h";
    }
    void commandLineSwitches()
    {
        QFETCH(QString, args);
        QFETCH(QString, file);
        QFETCH(QString, flags);
        CCommandLineInfoX info;
        QVERIFY(info.Parse(args.split(QLatin1Char(' '), Qt::SkipEmptyParts)));
        QCOMPARE(info.m_strFileName, file);
        QCOMPARE(info.m_nShellCommand, file.isEmpty() ? CCommandLineInfoX::FileNew : CCommandLineInfoX::FileOpen);
        QCOMPARE(info.m_bRegister, flags.contains(QLatin1Char('r')));
        QCOMPARE(info.m_bUnregister, flags.contains(QLatin1Char('u')));
        QCOMPARE(info.m_bQuiet, flags.contains(QLatin1Char('q')));
        QCOMPARE(info.m_bPostInstall, flags.contains(QLatin1Char('p')));
        QCOMPARE(info.m_bHelp, flags.contains(QLatin1Char('h')));
    }

    void unknownSwitchIsRefusedWithItsName()
    {
        CCommandLineInfoX info;
        QVERIFY(!info.Parse({QStringLiteral("--regster")}));
        QCOMPARE(info.error, QStringLiteral("Unknown switch '--regster'.\r\nUse --help to see the switches."));
        QVERIFY(!startEditor({QStringLiteral("-x")}));
        QCOMPARE(app_->exitCode(), 2);
        QVERIFY(!app_->mainWindow());
    }

    void postInstallCleanUpWaitsForTheInstallerThenRemovesTheRuntime()
    {
        // The installer is still busy: a folder of that name cannot be removed as a file.
        const QString installer = path("InstallQuorvane.exe");
        QVERIFY(QDir().mkpath(installer + QStringLiteral("/busy")));
        const QString runtime = touch("msvcp60.dll");
        const uint32_t before = clock_.tickCount();
        const int sleepsBefore = clock_.sleeps();
        clock_.onSleep = [&](int n) {
            if (n - sleepsBefore == 3) QDir(installer).removeRecursively();  // the installer ends
        };
        QVERIFY(
            !startEditor({QStringLiteral("--register"), QStringLiteral("--quiet"), QStringLiteral("--post-install")}));
        clock_.onSleep = {};
        QVERIFY(boxes_.shown().empty());
        QVERIFY(!app_->mainWindow());
        QCOMPARE(clock_.sleeps() - sleepsBefore, 3);
        QCOMPARE(clock_.tickCount() - before, 900u);  // every 300 ms
        QVERIFY(!QFile::exists(installer));
        QVERIFY(!QFile::exists(runtime));
    }

    void settingsDefaultsBarTogglesAndStoredValuesAreUsed()
    {
        QVERIFY(startEditor());
        // Recent files, reload, check types, palette and animation type, open after and ask
        // on export, menu style, selection and gloom, button settings.
        QCOMPARE((QList<int>{app_->maxRecentFiles(), app_->reopenLastDocument(), app_->checkFileTypes(),
                             app_->paletteType(), app_->animationType(), app_->openAfterExport(), app_->askOnExport(),
                             app_->menuStyle(), app_->menuSelection(), app_->menuGloom(), app_->buttonSettings()}),
                 (QList<int>{4, 0, 1, 0, 0, 1, 1, 2, 1, 1, 0}));
        QVERIFY(app_->gameFolders().isEmpty());
        // Nothing is written until the frame closes; then its own values are.
        QVERIFY(!HasProfileValue("Options", "Show ToolBar"));
        app_->mainWindow()->close();
        QCOMPARE(barSettings(), (QList<int>{1, 1, 1, 0, 0}));

        QVERIFY(startEditor());
        CMainFrame* frame = app_->mainWindow();
        CControlBar* bar = frame->controlBar();
        frame->show();
        QVERIFY(frame->RouteCommand(ID_VIEW_TOOLBAR));
        QVERIFY(frame->toolBar()->isHidden());
        QVERIFY(!frame->RouteUpdate(ID_VIEW_TOOLBAR).checked);
        // The control bar's own close button hides it; the menu item follows.
        bar->close();
        QVERIFY(!frame->RouteUpdate(ID_CONTROL_BAR).checked);
        QVERIFY(frame->RouteCommand(ID_CONTROL_BAR));
        QVERIFY(!bar->isHidden());
        bar->setFloating(true);
        bar->resize(330, 420);
        bar->move(120, 90);
        QCoreApplication::processEvents();
        const QPoint place = bar->pos();
        const QSize size = bar->size();
        QCOMPARE(size.height(), 420);
        QVERIFY(frame->RouteCommand(ID_ALWAYS_ON_TOP));
        frame->move(frame->pos() + QPoint(10, 10));
        QVERIFY(frame->windowFlags() & Qt::WindowStaysOnTopHint);
        frame->setToolbarButtonVisible(ID_PLAY, true);
        frame->close();
        QCOMPARE(barSettings(), (QList<int>{0, 1, 1, 1, 1}));
        QCOMPARE(GetProfileInt("Dlg Bar", "FloatX", -1), size.width());
        QCOMPARE(GetProfileInt("Dlg Bar", "FloatY", -1), 420);
        QCOMPARE(GetProfileInt("Dlg Bar", "FloatPosX", -1), place.x());

        // The next start comes back as it was left, the control bar floating in its place, and
        // uses the values stored by hand (the last two: the game's folders, as the program's
        // settings name them off Windows).
        const char* const stored[][3] = {{"Options", "Load Doc", "1"},
                                         {"Options", "Pal Type", "2"},
                                         {"Options", "Pal Dir", "/pal"},
                                         {"Options", "Anim Type", "1"},
                                         {"Options", "ExpAsk", "0"},
                                         {"Options", "Show StatusBar", "0"},
                                         {"Menu", "Style", "0"},
                                         {"Tolvaris", "Install_Path", "/games/Tolvaris"},
                                         {"Game", "Install_Path", "/games/Dominara"}};
        for (const auto& value : stored) WriteProfileString(value[0], value[1], value[2]);
        QVERIFY(startEditor());
        QCOMPARE((QList<int>{app_->reopenLastDocument(), app_->paletteType(), app_->animationType(),
                             app_->askOnExport(), app_->menuStyle()}),
                 (QList<int>{1, 2, 1, 0, 0}));
        QCOMPARE(app_->paletteFolder(), QStringLiteral("/pal"));
        QCOMPARE(app_->gameFolders(),
                 (QStringList{QStringLiteral("/games/Tolvaris"), QStringLiteral("/games/Dominara")}));
        QCOMPARE((QList<bool>{app_->secondExpansionFound(), app_->firstExpansionFound(), app_->baseGameFound()}),
                 (QList<bool>{false, true, true}));
        frame = app_->mainWindow();
        QVERIFY(frame->statusBar()->isHidden());
        QVERIFY(!frame->RouteUpdate(ID_VIEW_STATUS_BAR).checked);
        QVERIFY(frame->toolBar()->isHidden());
        QVERIFY(frame->isTopmost());
        QVERIFY(frame->RouteUpdate(ID_ALWAYS_ON_TOP).checked);
        QVERIFY(frame->isToolbarButtonVisible(ID_PLAY));
        QVERIFY(frame->controlBar()->isFloating());
        QCOMPARE(frame->controlBar()->floatSize(), size);
        QCOMPARE(frame->controlBar()->size(), size);
        QVERIFY(frame->RouteUpdate(ID_CONTROL_BAR).checked);
    }

    void documentTypesAndFailedOpensSayWhyAndStayOutOfTheRecentList()
    {
        QVERIFY(startEditor());
        CEditorDocManager* dm = app_->editorDocManager();
        QVERIFY(dm->templates()[0] == dm->flcTemplate());
        CDocument* match = nullptr;
        QCOMPARE(dm->flcTemplate()->MatchDocType("/u/RUN.FLC", match), CNewMultiDocTemplate::yesAttemptNative);
        QCOMPARE(dm->qsbTemplate()->MatchDocType("/u/RUN.FLC", match), CNewMultiDocTemplate::yesAttemptForeign);
        QCOMPARE(dm->qsbTemplate()->MatchDocType("/u/a.qsb", match), CNewMultiDocTemplate::yesAttemptNative);
        QCOMPARE(dm->flcTemplate()->MatchDocType("/u/noext", match), CNewMultiDocTemplate::yesAttemptForeign);

        // The last one passes the open check, but its frames are cut off.
        const Bytes whole = test::buildAnimation({});
        const std::pair<QString, const char*> refused[] = {
            {path("Gone.flc"), "'%1'\r\nThe file cannot be found."},
            {touch("Junk.flc"), "'%1'\r\nInvalid or unsupported document format."},
            {writeFile("Cut.flc", Bytes(whole.begin(), whole.begin() + 128)),
             "'%1'\r\nInvalid or unsupported document format."}};
        for (const auto& [file, message] : refused) {
            boxes_.clear();
            QVERIFY(!app_->OpenDocumentFile(file));
            flushDeletes();
            QCOMPARE(boxes_.shown().size(), size_t(1));
            QCOMPARE(boxes_.shown()[0].text, QString::fromLatin1(message).arg(file));
        }
        QCOMPARE(app_->recentFiles().list(0)->size(), 0);
        QCOMPARE(dm->GetOpenDocumentCount(), 0);
    }

    void openDocumentsTitleTheWindowTakeKeysAreReactivatedAndCloseAllAsks()
    {
        QVERIFY(startEditor());
        acceptEverything({ID_PAUSE, ID_REFRESH, ID_FILE_SAVE});
        CMainFrame* frame = app_->mainWindow();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane"));
        const QString a = touch("Knight.flc");
        CDocument* docA = app_->OpenDocumentFile(a);
        QVERIFY(docA);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - %1 [FLC]").arg(a));
        QCOMPARE(frame->MDIGetActive()->shownTitle(), QStringLiteral("Knight.flc"));
        const QString b = touch("Knight.qsb");
        CDocument* docB = app_->OpenDocumentFile(b);
        QVERIFY(docB && docB != docA);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - %1 [Storyboard]").arg(b));
        QCOMPARE(frame->currentMenuId(), 130);
        frame->MDIGetActive()->showMaximized();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - Knight.qsb"));

        // Ctrl+S belongs to FLC views only; Ctrl+O is the Open command wherever the focus is.
        frame->show();
        auto* sheetView = dynamic_cast<qvtest::RecordingView*>(frame->GetActiveView());
        QTest::keyClick(sheetView, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(sheetView->commands.empty());
        dialogs_.cancel();
        QTest::keyClick(sheetView, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs_.seen().size(), size_t(1));
        // The same path in another case brings its window forward instead of a second one.
        QCOMPARE(app_->OpenDocumentFile(a.toUpper().replace(dir_->path().toUpper(), dir_->path())), docA);
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 2);
        auto* view = dynamic_cast<qvtest::RecordingView*>(frame->GetActiveView());
        QVERIFY(view && view->GetDocument() == docA);
        QTest::keyClick(view, Qt::Key_Pause);
        QTest::keyClick(view, Qt::Key_F5);
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_F5, Qt::ControlModifier);  // not F5 with Ctrl
        QCOMPARE(view->commands, (std::vector<int>{ID_PAUSE, ID_REFRESH, ID_FILE_SAVE}));
        // Opened documents go to the recent list of their type.
        QCOMPARE(app_->recentFiles().list(1)->at(0), b);
        // Close All offers unsaved changes for saving first: Cancel closes nothing,
        // Discard closes everything.
        docA->SetModifiedFlag(true);
        boxes_.answer(IDCANCEL);
        QVERIFY(frame->RouteCommand(ID_CLOSE_ALL));
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 2);
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_YESNOCANCEL | MB_SAVEDISCARD | MB_ICONEXCLAMATION));
        boxes_.answer(IDNO);
        QVERIFY(frame->RouteCommand(ID_CLOSE_ALL));
        flushDeletes();
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 0);
        QVERIFY(!frame->MDIGetActive());
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(frame->currentMenuId(), 128);
    }

    void startUpReopensTheLastDocumentOnlyWhenAskedAndItExists()
    {
        const QString last = touch("Last.qsb");
        WriteProfileString("Options", "Last Opend", last);
        WriteProfileInt("Options", "Load Doc", 1);
        QVERIFY(startEditor());
        // The storyboard document reads it: a one-byte file is refused with its message.
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text,
                 QStringLiteral("Cannot read QSB file.\r\nInvalid or unsupported document format."));

        // The same start-up with documents that accept: the last file opens.
        boxes_.clear();
        acceptEverything();
        app_->setStartingUp(true);
        app_->editorDocManager()->OnFileNew();
        QCOMPARE(openPaths(), QStringList{last});
        // Deleted last file: nothing opens, no message.
        app_->docManager()->CloseAllDocuments(false);
        QFile::remove(last);
        app_->editorDocManager()->OnFileNew();
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 0);
        QVERIFY(boxes_.shown().empty());
        // Not starting up: a new document is asked for (and here refused).
        app_->setStartingUp(false);
        app_->editorDocManager()->OnFileNew();
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 0);
    }

    void openCommandUsesTheDialogAndRemembersPathAndFilter()
    {
        QVERIFY(startEditor());
        acceptEverything();
        const QString earlier = touch("Earlier.flc");
        WriteProfileString("Options", "Last Opend", earlier);
        WriteProfileInt("Options", "QuorvaneFilter", 2);
        // The files here are not animations: with the preview off the dialog takes them unread.
        WriteProfileInt("Dlg Flc", "Preview", 0);
        const QString chosen = touch("Chosen.FLC");
        dialogs_.pick(chosen, 3);
        QVERIFY(app_->mainWindow()->RouteCommand(ID_FILE_OPEN));
        const auto& seen = dialogs_.seen().back();
        QCOMPARE(seen.title, QStringLiteral("Open File"));
        QCOMPARE(seen.filter, QStringLiteral("All avaliable formats (.FLC, .QSB)|*.flc;*.qsb|Dominara FLC files "
                                             "(*.FLC)|*.flc|Dominara FLC Storyboard (*.QSB)|*.qsb||"));
        QCOMPARE(seen.filterIndex, 2);
        QCOMPARE(seen.initialPath, earlier);
        // The FLC template took it (by its extension, in any case).
        QVERIFY(app_->docManager()->documents()[0]->GetDocTemplate() == app_->editorDocManager()->flcTemplate());
        QCOMPARE(GetProfileString("Options", "Last Opend"), chosen);
        QCOMPARE(GetProfileInt("Options", "QuorvaneFilter", 0), 3);

        // A cancelled dialog changes nothing; a failed open is still remembered.
        dialogs_.cancel();
        app_->mainWindow()->RouteCommand(ID_FILE_OPEN);
        QCOMPARE(GetProfileString("Options", "Last Opend"), chosen);
        class Refusing : public CDocument {
            bool OnOpenDocument(const QString&) override { return false; }
        };
        app_->editorDocManager()->qsbTemplate()->setFactories([] { return new Refusing; }, {}, {});
        dialogs_.pick(path("bad.qsb"));
        app_->mainWindow()->RouteCommand(ID_FILE_OPEN);
        QCOMPARE(GetProfileString("Options", "Last Opend"), path("bad.qsb"));
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 1);
    }

    void aFileTheViewCannotLoadLeavesNoWindowButTheProgramRuns()
    {
        // A view that never loads (as for an FLC wider than 240 pixels).
        class NotLoading : public qvtest::RecordingView, public qvtest::FakeAnimation {};
        QVERIFY(startEditor({touch("Wide.flc")}, [](CEditorApp& a) {
            a.editorDocManager()->flcTemplate()->setFactories([] { return new qvtest::AcceptingDoc; }, {},
                                                              [] {
                                                                  auto* v = new NotLoading;
                                                                  v->loaded = false;
                                                                  return v;
                                                              });
        }));
        flushDeletes();
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 0);
        QVERIFY(app_->mainWindow()->mdiArea()->subWindowList().isEmpty());
        // A file the document refuses ends the start-up (its message was shown).
        boxes_.clear();
        QVERIFY(!startEditor({path("absent.qsb")}));
        QCOMPARE(app_->exitCode(), 0);
        QCOMPARE(boxes_.shown().size(), size_t(1));
    }

    void frameMenusAndToolbar()
    {
        QVERIFY(startEditor());
        CMainFrame* frame = app_->mainWindow();
        // At first the toolbar shows the classic set of buttons only.
        QList<int> visible;
        for (QAction* a : frame->toolBar()->actions())
            if (auto* b = qobject_cast<QToolButton*>(frame->toolBar()->widgetForAction(a)))
                if (frame->isToolbarButtonVisible(b->defaultAction()->data().toInt()))
                    visible << b->defaultAction()->data().toInt();
        QCOMPARE(visible, (QList<int>{ID_FILE_OPEN, ID_FILE_SAVE, ID_NEW_STORYBOARD, ID_EXPORT_TO_STORYBOARD,
                                      ID_EXPORT_TO_FLC, ID_BACKGROUND_COLOR, ID_PALETTE, ID_INFO, ID_COPY_TO_CLIPBOARD,
                                      ID_COPY_TO_FILE, ID_ZOOM, ID_OPTIONS}));

        // With no document the view commands are disabled (Pause also unchecked).
        frame->UpdateCommandUI();
        for (int id : std::initializer_list<int>{ID_PLAY, ID_PAUSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_DIR_N, ID_ZOOM,
                                                 ID_REFRESH})
            QVERIFY2(!frame->commandAction(id)->isEnabled(), qPrintable(QString::number(id)));
        QVERIFY(!frame->commandAction(ID_PAUSE)->isChecked());
        QVERIFY(frame->commandAction(ID_FILE_OPEN)->isEnabled());
        QVERIFY(frame->commandAction(ID_APP_EXIT)->isEnabled());

        // Every File menu has both recent lists, showing "(None)" while empty.
        app_->AddToRecentFileList(QStringLiteral("/u/Knight.flc"));
        for (int menuId : {128, 129, 130}) {
            QCOMPARE(frame->recentFlcMenu(menuId)->actions()[0]->text(), QStringLiteral("&1 /u/Knight.flc"));
            QCOMPARE(frame->recentQsbMenu(menuId)->actions()[0]->text(), QStringLiteral("(None)"));
        }
    }
};

QTEST_MAIN(StartupTest)
#include "app_startup.moc"
