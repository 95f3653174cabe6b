// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up and the main frame: command-line switches, settings defaults, the start-up
// document, the Open command, the window title, template look-ups, keys, and the frame's
// menus, toolbar and bar settings.
#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/command_ids.h"
#include "app/commands.h"
#include "app/control_bar.h"
#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "app/main_frame.h"
#include "app_support.h"
#include "core/file_io.h"
#include "platform/ui/command_line.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "support/flc_builder.h"

using namespace qv;

namespace {

QString touch(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("x");
    return path;
}

// Gives both templates documents that accept any path, shown in recording views.
void acceptEverything(CEditorApp& app)
{
    for (CNewMultiDocTemplate* t : app.docManager()->templates())
        t->setFactories([] { return new qvtest::AcceptingDoc; }, {}, [] {
            auto* v = new qvtest::RecordingView;
            v->handled = {ID_PAUSE, ID_REFRESH, ID_FILE_SAVE};
            return v;
        });
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;
    ScriptedMessageBoxes boxes_;
    ScriptedFileDialogs dialogs_;
    ManualClock clock_;
    QTemporaryDir dir_;

    std::unique_ptr<CEditorApp> start(const QStringList& args = {}, bool expectRunning = true)
    {
        auto app = std::make_unique<CEditorApp>();
        app->setArguments(args);
        app->setShowMainWindow(false);
        app->setProgramFolder(dir_.path());
        const bool running = app->InitInstance();
        if (running != expectRunning) qWarning("InitInstance returned %d", running);
        return app;
    }

private slots:
    void initTestCase()
    {
        qputenv("QUORVANE_INSTANCE_NAME", QByteArray("QuorvaneV2-startup-test-") + QByteArray::number(QCoreApplication::applicationPid()));
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
        setClock(&clock_);
    }
    void cleanupTestCase()
    {
        setMessageBoxService(nullptr);
        setFileDialogService(nullptr);
        setClock(nullptr);
    }
    void init()
    {
        settings_.clear();
        boxes_.clear();
        flushDeletes();
    }

    void commandLineSwitches_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("flags");  // r u q p h
        QTest::newRow("none") << QStringList{} << QString() << QString();
        QTest::newRow("file") << QStringList{QStringLiteral("a.flc")} << QStringLiteral("a.flc") << QString();
        QTest::newRow("long") << QStringList{QStringLiteral("--register"), QStringLiteral("--quiet"),
                                             QStringLiteral("--post-install")}
                              << QString() << QStringLiteral("rqp");
        QTest::newRow("short") << QStringList{QStringLiteral("-u"), QStringLiteral("-Q")} << QString()
                               << QStringLiteral("uq");
        QTest::newRow("first file wins") << QStringList{QStringLiteral("x.flc"), QStringLiteral("-r"),
                                                        QStringLiteral("y.qsb")}
                                         << QStringLiteral("x.flc") << QStringLiteral("r");
        QTest::newRow("after --") << QStringList{QStringLiteral("--"), QStringLiteral("-odd.flc")}
                                  << QStringLiteral("-odd.flc") << QString();
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << QString() << QStringLiteral("h");
    }
    void commandLineSwitches()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        QFETCH(QString, flags);
        CCommandLineInfoX info;
        QVERIFY(info.Parse(args));
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
        for (const char* sw : {"--register", "--unregister", "--quiet", "--post-install", "--help"})
            QVERIFY(CCommandLineInfoX::usage().contains(QLatin1String(sw)));
        auto app = start({QStringLiteral("-x")}, false);
        QCOMPARE(app->exitCode(), 2);
        QVERIFY(!app->mainWindow());
    }

    void postInstallCleanUpWaitsForTheInstallerThenRemovesTheRuntime()
    {
        // The installer is still busy: a folder of that name cannot be removed as a file.
        const QString installer = QDir(dir_.path()).filePath(QStringLiteral("InstallQuorvane.exe"));
        QVERIFY(QDir().mkpath(installer + QStringLiteral("/busy")));
        touch(QDir(dir_.path()).filePath(QStringLiteral("msvcp60.dll")));
        const uint32_t before = clock_.tickCount();
        const int sleepsBefore = clock_.sleeps();
        clock_.onSleep = [&](int n) {
            if (n - sleepsBefore == 3) QDir(installer).removeRecursively();  // the installer ends
        };
        auto app = start({QStringLiteral("--register"), QStringLiteral("--quiet"), QStringLiteral("--post-install")},
                         false);
        clock_.onSleep = {};
        QVERIFY(boxes_.shown().empty());
        QVERIFY(!app->mainWindow());
        QCOMPARE(clock_.sleeps() - sleepsBefore, 3);
        QCOMPARE(clock_.tickCount() - before, 900u);  // every 300 ms
        QVERIFY(!QFile::exists(installer));
        QVERIFY(!QFile::exists(QDir(dir_.path()).filePath(QStringLiteral("msvcp60.dll"))));
    }

    void settingsDefaults()
    {
        auto app = start();
        QCOMPARE(app->maxRecentFiles(), 4);
        QVERIFY(!app->reopenLastDocument());
        QVERIFY(app->checkFileTypes());
        QCOMPARE(app->paletteType(), 0);
        QCOMPARE(app->paletteFolder(), QString());
        QCOMPARE(app->animationType(), 0);
        QVERIFY(app->openAfterExport());
        QVERIFY(app->askOnExport());
        QCOMPARE(app->menuStyle(), 2);
        QCOMPARE(app->menuSelection(), 1);
        QCOMPARE(app->menuGloom(), 1);
        QCOMPARE(app->buttonSettings(), 0);
        QVERIFY(!app->isStartingUp());
        QVERIFY(app->gameFolders().isEmpty());
        CMainFrame* frame = app->mainWindow();
        QVERIFY(!frame->toolBar()->isHidden());
        QVERIFY(!frame->statusBar()->isHidden());
        QVERIFY(!frame->controlBar()->isHidden());
        QVERIFY(!frame->controlBar()->isFloating());
        QVERIFY(!frame->isTopmost());
        // Nothing is written until the frame closes; then its own values are.
        QVERIFY(!HasProfileValue(QStringLiteral("Options"), QStringLiteral("Show ToolBar")));
        frame->close();
        QCOMPARE(GetProfileInt(QStringLiteral("Options"), QStringLiteral("Show ToolBar"), -1), 1);
        QCOMPARE(GetProfileInt(QStringLiteral("Options"), QStringLiteral("Show StatusBar"), -1), 1);
        QCOMPARE(GetProfileInt(QStringLiteral("Options"), QStringLiteral("Show DialogBar"), -1), 1);
        QCOMPARE(GetProfileInt(QStringLiteral("Options"), QStringLiteral("Always on top"), -1), 0);
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg Bar"), QStringLiteral("IsFloating"), -1), 0);
    }

    void storedSettingsAreUsed()
    {
        QSettings s(QStringLiteral("Velmora"), QStringLiteral("Quorvane"));
        s.setValue(QStringLiteral("Options/Load Doc"), 1);
        s.setValue(QStringLiteral("Options/Pal Type"), 2);
        s.setValue(QStringLiteral("Options/Pal Dir"), QStringLiteral("/pal"));
        s.setValue(QStringLiteral("Options/Anim Type"), 1);
        s.setValue(QStringLiteral("Options/ExpAsk"), 0);
        s.setValue(QStringLiteral("Options/Show StatusBar"), 0);
        s.setValue(QStringLiteral("Options/Always on top"), 1);
        s.setValue(QStringLiteral("Menu/Style"), 0);
        s.sync();
        // The game's folders, as the program's settings name them off Windows.
        s.setValue(QStringLiteral("Tolvaris/Install_Path"), QStringLiteral("/games/Tolvaris"));
        s.setValue(QStringLiteral("Game/Install_Path"), QStringLiteral("/games/Dominara"));
        s.sync();

        auto app = start();
        QVERIFY(app->reopenLastDocument());
        QCOMPARE(app->paletteType(), 2);
        QCOMPARE(app->paletteFolder(), QStringLiteral("/pal"));
        QCOMPARE(app->animationType(), 1);
        QVERIFY(!app->askOnExport());
        QCOMPARE(app->menuStyle(), 0);
        QVERIFY(app->mainWindow()->statusBar()->isHidden());
        QVERIFY(app->mainWindow()->isTopmost());
        QVERIFY(app->mainWindow()->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(app->mainWindow()->RouteUpdate(ID_ALWAYS_ON_TOP).checked);
        QVERIFY(!app->mainWindow()->RouteUpdate(ID_VIEW_STATUS_BAR).checked);
        QCOMPARE(app->gameFolders(), (QStringList{QStringLiteral("/games/Tolvaris"), QStringLiteral("/games/Dominara")}));
        QVERIFY(!app->secondExpansionFound());
        QVERIFY(app->firstExpansionFound());
        QVERIFY(app->baseGameFound());
    }

    void templatesAreRegisteredInOrderAndFoundByKind()
    {
        auto app = start();
        CEditorDocManager* dm = app->editorDocManager();
        QCOMPARE(dm->GetDocTemplateCount(), 2);
        QVERIFY(dm->templates()[0] == dm->flcTemplate());
        QVERIFY(dm->templates()[1] == dm->qsbTemplate());
        QCOMPARE(dm->flcTemplate()->docString(CNewMultiDocTemplate::filterExt), QStringLiteral(".flc"));
        QCOMPARE(dm->flcTemplate()->docString(CNewMultiDocTemplate::regFileTypeName), QStringLiteral("FLC Document"));
        QCOMPARE(dm->qsbTemplate()->docString(CNewMultiDocTemplate::regFileTypeId), QStringLiteral("QSB"));
        CDocument* match = nullptr;
        QCOMPARE(dm->flcTemplate()->MatchDocType(QStringLiteral("/u/RUN.FLC"), match),
                 CNewMultiDocTemplate::yesAttemptNative);
        QCOMPARE(dm->qsbTemplate()->MatchDocType(QStringLiteral("/u/RUN.FLC"), match),
                 CNewMultiDocTemplate::yesAttemptForeign);
        QCOMPARE(dm->qsbTemplate()->MatchDocType(QStringLiteral("/u/a.qsb"), match),
                 CNewMultiDocTemplate::yesAttemptNative);
        QCOMPARE(dm->flcTemplate()->MatchDocType(QStringLiteral("/u/noext"), match),
                 CNewMultiDocTemplate::yesAttemptForeign);
    }

    void failedOpensSayWhyAndStayOutOfTheRecentList()
    {
        auto app = start();
        const QString missing = dir_.filePath(QStringLiteral("Gone.flc"));
        const QString junk = touch(dir_.filePath(QStringLiteral("Junk.flc")));
        // Passes the open check, but the frames are cut off.
        const qv::Bytes whole = qv::test::buildAnimation({});
        const QString cut = dir_.filePath(QStringLiteral("Cut.flc"));
        QVERIFY(qv::writeFileAtomic(cut.toStdString(), qv::Bytes(whole.begin(), whole.begin() + 128)));
        boxes_.clear();
        for (const QString& path : {missing, junk, cut}) QVERIFY(!app->OpenDocumentFile(path));
        flushDeletes();
        QCOMPARE(boxes_.shown().size(), size_t(3));
        QCOMPARE(boxes_.shown()[0].text, QStringLiteral("'%1'\r\nThe file cannot be found.").arg(missing));
        QCOMPARE(boxes_.shown()[1].text, QStringLiteral("'%1'\r\nInvalid or unsupported document format.").arg(junk));
        QCOMPARE(boxes_.shown()[2].text, QStringLiteral("'%1'\r\nInvalid or unsupported document format.").arg(cut));
        QCOMPARE(app->recentFiles().list(0)->size(), 0);
        QCOMPARE(app->docManager()->GetOpenDocumentCount(), 0);
    }

    void anOpenPathIsReactivatedNotOpenedTwice()
    {
        auto app = start();
        acceptEverything(*app);
        const QString a = touch(dir_.filePath(QStringLiteral("Run.flc")));
        const QString b = touch(dir_.filePath(QStringLiteral("Walk.flc")));
        CDocument* docA = app->OpenDocumentFile(a);
        QVERIFY(docA);
        CDocument* docB = app->OpenDocumentFile(b);
        QVERIFY(docB && docB != docA);
        QVERIFY(app->mainWindow()->GetActiveDocument() == docB);
        QCOMPARE(app->OpenDocumentFile(a.toUpper().replace(dir_.path().toUpper(), dir_.path())), docA);
        QCOMPARE(app->docManager()->GetOpenDocumentCount(), 2);
        QVERIFY(app->mainWindow()->GetActiveDocument() == docA);
        // Opened documents go to the recent list of their type.
        QCOMPARE(app->recentFiles().list(0)->at(0), b);
        // Close All offers unsaved changes for saving first: Cancel closes nothing,
        // Discard closes everything.
        docA->SetModifiedFlag(true);
        boxes_.answer(IDCANCEL);
        QVERIFY(app->mainWindow()->RouteCommand(ID_CLOSE_ALL));
        QCOMPARE(app->docManager()->GetOpenDocumentCount(), 2);
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_YESNOCANCEL | MB_SAVEDISCARD | MB_ICONEXCLAMATION));
        boxes_.answer(IDNO);
        QVERIFY(app->mainWindow()->RouteCommand(ID_CLOSE_ALL));
        QCOMPARE(app->docManager()->GetOpenDocumentCount(), 0);
        flushDeletes();
        QVERIFY(!app->mainWindow()->MDIGetActive());
    }

    void windowTitleNamesTheActiveDocument()
    {
        auto app = start();
        acceptEverything(*app);
        CMainFrame* frame = app->mainWindow();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane"));
        const QString flc = touch(dir_.filePath(QStringLiteral("Knight.flc")));
        QVERIFY(app->OpenDocumentFile(flc));
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - %1 [FLC]").arg(flc));
        QCOMPARE(frame->MDIGetActive()->shownTitle(), QStringLiteral("Knight.flc"));
        const QString qsb = touch(dir_.filePath(QStringLiteral("Knight.qsb")));
        QVERIFY(app->OpenDocumentFile(qsb));
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - %1 [Storyboard]").arg(qsb));
        QCOMPARE(frame->currentMenuId(), 130);
        frame->MDIGetActive()->showMaximized();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - Knight.qsb"));
        app->docManager()->CloseAllDocuments(false);
        flushDeletes();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(frame->currentMenuId(), 128);
    }

    void startUpReopensTheLastDocumentOnlyWhenAskedAndItExists()
    {
        const QString last = touch(dir_.filePath(QStringLiteral("Last.qsb")));
        WriteProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend"), last);
        WriteProfileInt(QStringLiteral("Options"), QStringLiteral("Load Doc"), 1);
        auto app = start();
        // The storyboard document reads it: an empty file is refused with its message.
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown()[0].text, QStringLiteral("Cannot read QSB file.\r\nInvalid or unsupported document format."));
        app.reset();
        boxes_.clear();

        // The same start-up with documents that accept: the last file opens.
        auto app2 = std::make_unique<CEditorApp>();
        app2->setArguments({});
        app2->setShowMainWindow(false);
        QVERIFY(app2->InitInstance());
        boxes_.clear();
        acceptEverything(*app2);
        app2->setStartingUp(true);
        app2->editorDocManager()->OnFileNew();
        QCOMPARE(app2->docManager()->GetOpenDocumentCount(), 1);
        QCOMPARE(app2->docManager()->documents()[0]->GetPathName(), last);
        // Deleted last file: nothing opens, no message.
        app2->docManager()->CloseAllDocuments(false);
        QFile::remove(last);
        app2->editorDocManager()->OnFileNew();
        QCOMPARE(app2->docManager()->GetOpenDocumentCount(), 0);
        QVERIFY(boxes_.shown().empty());
        // Not starting up: a new document is asked for (and here refused).
        app2->setStartingUp(false);
        app2->editorDocManager()->OnFileNew();
        QCOMPARE(app2->docManager()->GetOpenDocumentCount(), 0);
    }

    void openCommandUsesTheDialogAndRemembersPathAndFilter()
    {
        auto app = start();
        acceptEverything(*app);
        const QString earlier = touch(dir_.filePath(QStringLiteral("Earlier.flc")));
        WriteProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend"), earlier);
        WriteProfileInt(QStringLiteral("Options"), QStringLiteral("QuorvaneFilter"), 2);
        // The files here are empty: with the preview off the dialog takes them unread.
        WriteProfileInt(QStringLiteral("Dlg Flc"), QStringLiteral("Preview"), 0);
        const QString chosen = touch(dir_.filePath(QStringLiteral("Chosen.FLC")));
        dialogs_.pick(chosen, 3);
        QVERIFY(app->mainWindow()->RouteCommand(ID_FILE_OPEN));
        const auto& seen = dialogs_.seen().back();
        QCOMPARE(seen.title, QStringLiteral("Open File"));
        QCOMPARE(seen.filter, QStringLiteral("All avaliable formats (.FLC, .QSB)|*.flc;*.qsb|Dominara FLC files "
                                             "(*.FLC)|*.flc|Dominara FLC Storyboard (*.QSB)|*.qsb||"));
        QCOMPARE(seen.filterIndex, 2);
        QCOMPARE(seen.initialPath, earlier);
        // The FLC template took it (by its extension, in any case).
        QCOMPARE(app->docManager()->GetOpenDocumentCount(), 1);
        QVERIFY(app->docManager()->documents()[0]->GetDocTemplate() == app->editorDocManager()->flcTemplate());
        QCOMPARE(GetProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend")), chosen);
        QCOMPARE(GetProfileInt(QStringLiteral("Options"), QStringLiteral("QuorvaneFilter"), 0), 3);

        // A cancelled dialog changes nothing.
        dialogs_.cancel();
        app->mainWindow()->RouteCommand(ID_FILE_OPEN);
        QCOMPARE(GetProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend")), chosen);
        // A failed open is still remembered.
        acceptEverything(*app);
        app->editorDocManager()->qsbTemplate()->setFactories([] { return new CDocument; }, {}, {});
        class Refusing : public CDocument {
            bool OnOpenDocument(const QString&) override { return false; }
        };
        app->editorDocManager()->qsbTemplate()->setFactories([] { return new Refusing; }, {}, {});
        const QString bad = dir_.filePath(QStringLiteral("bad.qsb"));
        dialogs_.pick(bad);
        app->mainWindow()->RouteCommand(ID_FILE_OPEN);
        QCOMPARE(GetProfileString(QStringLiteral("Options"), QStringLiteral("Last Opend")), bad);
        QCOMPARE(app->docManager()->GetOpenDocumentCount(), 1);
    }

    void keysReachTheActiveView()
    {
        auto app = start();
        acceptEverything(*app);
        CMainFrame* frame = app->mainWindow();
        frame->show();
        const QString flc = touch(dir_.filePath(QStringLiteral("Keys.flc")));
        QVERIFY(app->OpenDocumentFile(flc));
        auto* view = dynamic_cast<qvtest::RecordingView*>(frame->GetActiveView());
        QVERIFY(view);
        QTest::keyClick(view, Qt::Key_Pause);
        QTest::keyClick(view, Qt::Key_F5);
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_F5, Qt::ControlModifier);  // not F5 with Ctrl
        QCOMPARE(view->commands, (std::vector<int>{ID_PAUSE, ID_REFRESH, ID_FILE_SAVE}));
        // Ctrl+S belongs to FLC views only.
        const QString qsb = touch(dir_.filePath(QStringLiteral("Keys.qsb")));
        QVERIFY(app->OpenDocumentFile(qsb));
        auto* sheetView = dynamic_cast<qvtest::RecordingView*>(frame->GetActiveView());
        QVERIFY(sheetView && sheetView != view);
        QTest::keyClick(sheetView, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(sheetView->commands.empty());
        // Ctrl+O is the Open command wherever the focus is.
        dialogs_.cancel();
        const size_t before = dialogs_.seen().size();
        QTest::keyClick(sheetView, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs_.seen().size(), before + 1);
    }

    void aFileTheViewCannotLoadLeavesNoWindowButTheProgramRuns()
    {
        // A view that never loads (as for an FLC wider than 240 pixels).
        class NotLoading : public qvtest::RecordingView, public IAnimationControl {
        public:
            bool isLoaded() const override { return false; }
            bool isRunning() const override { return false; }
            bool isPaused() const override { return false; }
            int directionCount() const override { return 0; }
            int direction() const override { return 0; }
            int delayMode() const override { return 1; }
            int customDelay() const override { return 0; }
            int frameNumber() const override { return 0; }
            int frameCount() const override { return 0; }
            bool isWindingBack() const override { return false; }
            bool isWindingForward() const override { return false; }
            bool isLeaderHead() const override { return false; }
            void play() override {}
            void togglePause() override {}
            void stop() override {}
            void navigate(NavigateKind) override {}
            void toggleWindBack() override {}
            void toggleWindForward() override {}
            void setDirection(int) override {}
            void setDelayMode(int) override {}
            void setCustomDelay(int) override {}
            void frameSliderReleased(int) override {}
        };
        const QString wide = touch(dir_.filePath(QStringLiteral("Wide.flc")));
        auto app = std::make_unique<CEditorApp>();
        app->setArguments({wide});
        app->setShowMainWindow(false);
        app->setTemplateHook([](CEditorApp& a) {
            a.editorDocManager()->flcTemplate()->setFactories([] { return new qvtest::AcceptingDoc; }, {},
                                                              [] { return new NotLoading; });
        });
        QVERIFY(app->InitInstance());
        flushDeletes();
        QCOMPARE(app->docManager()->GetOpenDocumentCount(), 0);
        QVERIFY(!app->mainWindow()->MDIGetActive());
        QVERIFY(app->mainWindow()->mdiArea()->subWindowList().isEmpty());
        // A file the document refuses ends the start-up (its message was shown).
        app.reset();
        auto app2 = std::make_unique<CEditorApp>();
        app2->setArguments({dir_.filePath(QStringLiteral("absent.qsb"))});
        app2->setShowMainWindow(false);
        boxes_.clear();
        QVERIFY(!app2->InitInstance());
        QCOMPARE(app2->exitCode(), 0);
        QCOMPARE(boxes_.shown().size(), size_t(1));
    }

    void frameMenusAndToolbar()
    {
        auto app = start();
        CMainFrame* frame = app->mainWindow();
        // The toolbar's 50 buttons in their order, then Export Animation (hidden at first, so
        // the set visible at first stays the classic one).
        QList<int> order;
        for (QAction* a : frame->toolBar()->actions())
            if (auto* b = qobject_cast<QToolButton*>(frame->toolBar()->widgetForAction(a)))
                order << b->defaultAction()->data().toInt();
        QCOMPARE(order.size(), 51);
        QCOMPARE(order.front(), int(ID_FILE_OPEN));
        QCOMPARE(order.at(13), int(ID_PLAY));
        QCOMPARE(order.at(47), int(ID_DIR_S));
        QCOMPARE(order.at(49), int(ID_COLOR_REPLACE));
        QCOMPARE(order.back(), int(ID_EXPORT_ANIMATION));
        QList<int> visible;
        for (int id : order)
            if (frame->isToolbarButtonVisible(id)) visible << id;
        QCOMPARE(visible, (QList<int>{ID_FILE_OPEN, ID_FILE_SAVE, ID_NEW_STORYBOARD, ID_EXPORT_TO_STORYBOARD,
                                      ID_EXPORT_TO_FLC, ID_BACKGROUND_COLOR, ID_PALETTE, ID_INFO,
                                      ID_COPY_TO_CLIPBOARD, ID_COPY_TO_FILE, ID_ZOOM, ID_OPTIONS}));
        QCOMPARE(frame->toolbarButton(ID_FILE_OPEN)->popupMode(), QToolButton::MenuButtonPopup);
        QCOMPARE(frame->toolbarButton(ID_RECENT_FLC)->popupMode(), QToolButton::InstantPopup);
        QCOMPARE(frame->toolBar()->windowTitle(), QStringLiteral("Tool Bar"));
        QCOMPARE(frame->toolbarButton(ID_FILE_OPEN)->defaultAction()->toolTip(), QStringLiteral("Open"));
        QCOMPARE(frame->toolbarButton(ID_FILE_OPEN)->defaultAction()->statusTip(),
                 QStringLiteral("Open an existing document"));

        // With no document the view commands are disabled (Pause also unchecked).
        frame->UpdateCommandUI();
        for (int id : std::initializer_list<int>{ID_PLAY, ID_PAUSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_DIR_N, ID_ZOOM, ID_REFRESH})
            QVERIFY2(!frame->commandAction(id)->isEnabled(), qPrintable(QString::number(id)));
        QVERIFY(!frame->commandAction(ID_PAUSE)->isChecked());
        QVERIFY(frame->commandAction(ID_FILE_OPEN)->isEnabled());
        QVERIFY(frame->commandAction(ID_APP_EXIT)->isEnabled());

        // Every command has its place in a menu or on the toolbar; the recent lists sit four
        // and three places before the end of each File menu and show "(None)" when empty.
        for (int menuId : {128, 129, 130}) {
            QMenu* flcList = frame->recentFlcMenu(menuId);
            QMenu* qsbList = frame->recentQsbMenu(menuId);
            QVERIFY(flcList && qsbList);
            QCOMPARE(flcList->title(), QStringLiteral("Recent &FLC Files"));
            QCOMPARE(qsbList->title(), QStringLiteral("Recent Q&SB Files"));
            QCOMPARE(flcList->actions().size(), 1);
            QCOMPARE(flcList->actions()[0]->text(), QStringLiteral("(None)"));
            QCOMPARE(qsbList->actions()[0]->data().toInt(), int(ID_RECENT_QSB_FIRST));
        }
        app->AddToRecentFileList(QStringLiteral("/u/Knight.flc"));
        QCOMPARE(frame->recentFlcMenu(129)->actions()[0]->text(), QStringLiteral("&1 /u/Knight.flc"));
        QCOMPARE(frame->recentQsbMenu(129)->actions()[0]->text(), QStringLiteral("(None)"));
        QCOMPARE(frame->currentMenuId(), 128);
        QCOMPARE(frame->menuBar()->actions().size(), 4);  // File, View, Tools, Help
    }

    void barTogglesAndAlwaysOnTopAreKept()
    {
        {
            auto app = start();
            CMainFrame* frame = app->mainWindow();
            frame->show();
            QVERIFY(frame->RouteCommand(ID_VIEW_TOOLBAR));
            QVERIFY(frame->toolBar()->isHidden());
            QVERIFY(!frame->RouteUpdate(ID_VIEW_TOOLBAR).checked);
            // The control bar's own close button hides it; the menu item follows.
            frame->controlBar()->close();
            QVERIFY(!frame->RouteUpdate(ID_CONTROL_BAR).checked);
            QVERIFY(frame->RouteCommand(ID_ALWAYS_ON_TOP));
            QVERIFY(frame->isTopmost());
            frame->move(frame->pos() + QPoint(10, 10));
            QVERIFY(frame->windowFlags() & Qt::WindowStaysOnTopHint);
            frame->setToolbarButtonVisible(ID_PLAY, true);
            frame->close();
        }
        QCOMPARE(GetProfileInt(QStringLiteral("Options"), QStringLiteral("Show ToolBar"), -1), 0);
        QCOMPARE(GetProfileInt(QStringLiteral("Options"), QStringLiteral("Show DialogBar"), -1), 0);
        QCOMPARE(GetProfileInt(QStringLiteral("Options"), QStringLiteral("Always on top"), -1), 1);
        auto app = start();
        CMainFrame* frame = app->mainWindow();
        QVERIFY(frame->toolBar()->isHidden());
        QVERIFY(frame->controlBar()->isHidden());
        QVERIFY(frame->isTopmost());
        QVERIFY(frame->isToolbarButtonVisible(ID_PLAY));
        QVERIFY(frame->RouteCommand(ID_CONTROL_BAR));
        QVERIFY(!frame->controlBar()->isHidden());
        QVERIFY(frame->RouteUpdate(ID_CONTROL_BAR).checked);
    }

    void floatingControlBarComesBackFloatingInItsPlace()
    {
        QPoint place;
        QSize size;
        {
            auto app = start();
            CMainFrame* frame = app->mainWindow();
            frame->show();
            frame->controlBar()->setFloating(true);
            frame->controlBar()->resize(330, 420);
            frame->controlBar()->move(120, 90);
            QCoreApplication::processEvents();
            place = frame->controlBar()->pos();
            size = frame->controlBar()->size();
            QCOMPARE(size.height(), 420);
            frame->close();
        }
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg Bar"), QStringLiteral("IsFloating"), -1), 1);
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg Bar"), QStringLiteral("FloatX"), -1), size.width());
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg Bar"), QStringLiteral("FloatY"), -1), 420);
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg Bar"), QStringLiteral("FloatPosX"), -1), place.x());
        auto app = start();
        CControlBar* bar = app->mainWindow()->controlBar();
        QVERIFY(bar->isFloating());
        QCOMPARE(bar->floatSize(), size);
        QCOMPARE(bar->size(), size);
    }
};

QTEST_MAIN(StartupTest)
#include "app_startup.moc"
