// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up and the main frame: command-line switches, settings defaults, the start-up
// document, the Open command, the window title, template look-ups, keys, the frame's
// menus, toolbar and bar settings; Open INI and Open Multi on folders made for the test;
// the recent-file lists and the "Max MRU" clamp.
#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "app/command_ids.h"
#include "app/control_bar.h"
#include "app/main_frame.h"
#include "app_support.h"
#include "core/strings.h"
#include "platform/ui/command_line.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/mru.h"
#include "platform/ui/utils.h"
#include "support/unit_builder.h"

using namespace qv;
using namespace qv::test;
using qvtest::flushDeletes;
namespace fs = std::filesystem;

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

QString Q(const fs::path& p)
{
    return QString::fromStdString(p.string());
}

AnimationShape smallUnit()
{
    AnimationShape a;
    a.directions = 8;
    a.framesPerDirection = 2;
    return a;
}

void addBothLists(CMruFileManager& m, int max)
{
    m.AddList(ID_RECENT_FLC_FIRST, QStringLiteral("Recent FLC Files"), QStringLiteral("File%d"),
              extensionFilter(QStringLiteral(".flc")), max);
    m.AddList(ID_RECENT_QSB_FIRST, QStringLiteral("Recent QSB Files"), QStringLiteral("File%d"),
              extensionFilter(QStringLiteral(".qsb")), max);
}

}  // namespace

class StartupTest : public QObject, public qvtest::EditorHarness {
    Q_OBJECT

    fs::path root() const { return fs::path(dir_->path().toStdString()); }
    QString lastText() const { return boxes_.shown().empty() ? QString() : boxes_.shown().back().text; }
    // The program started where a second expansion and a base game are installed.
    void startWithGameFolders()
    {
        WriteProfileString("Brevundi", "Install_Path", Q(root() / "Second"));
        WriteProfileString("Game", "Install_Path", Q(root() / "Base"));
        QVERIFY(startEditor());
    }

private slots:
    void initTestCase() { startEditorServices("startup-test"); }
    void cleanupTestCase() { stopEditor(); }
    void init() { resetEditor(); }

    void commandLineSwitchesAndAnUnknownOneRefusedWithItsName()
    {
        const struct {
            const char* args;
            const char* file;
            const char* flags;  // set of: Register, Unregister, Quiet, Post-install, Help
        } cases[] = {{"--register --quiet --post-install", "", "rqp"},
                     {"-u -Q", "", "uq"},
                     {"x.flc -r y.qsb", "x.flc", "r"},  // the first file wins
                     {"-- -odd.flc", "-odd.flc", ""},
                     {"--help", "", "h"}};
        for (const auto& c : cases) {
            CCommandLineInfoX info;
            QVERIFY2(info.Parse(QString::fromLatin1(c.args).split(QLatin1Char(' '))), c.args);
            QCOMPARE(info.m_strFileName, QString::fromLatin1(c.file));
            QCOMPARE(info.m_nShellCommand, *c.file ? CCommandLineInfoX::FileOpen : CCommandLineInfoX::FileNew);
            const bool set[] = {info.m_bRegister, info.m_bUnregister, info.m_bQuiet, info.m_bPostInstall, info.m_bHelp};
            QString flags;
            for (int i = 0; i < 5; ++i) flags += set[i] ? QString(QLatin1Char("ruqph"[i])) : QString();
            QCOMPARE(flags, QString::fromLatin1(c.flags));
        }
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
        // Nothing is written until the frame closes; then its own values are.
        QVERIFY(!HasProfileValue("Options", "Show ToolBar"));
        app_->mainWindow()->close();
        QCOMPARE(barSettings(), (QList<int>{1, 1, 1, 0, 0}));

        QVERIFY(startEditor());
        CMainFrame* frame = app_->mainWindow();
        CControlBar* bar = frame->controlBar();
        frame->show();
        QVERIFY(frame->RouteCommand(ID_VIEW_TOOLBAR));
        QVERIFY(!frame->RouteUpdate(ID_VIEW_TOOLBAR).checked);
        // The control bar's own close button hides it; the menu item follows.
        bar->close();
        QVERIFY(!frame->RouteUpdate(ID_CONTROL_BAR).checked);
        QVERIFY(frame->RouteCommand(ID_CONTROL_BAR));
        bar->setFloating(true);
        bar->resize(330, 420);
        bar->move(120, 90);
        QCoreApplication::processEvents();
        const QPoint place = bar->pos();
        const QSize size = bar->size();
        QVERIFY(frame->RouteCommand(ID_ALWAYS_ON_TOP));
        frame->move(frame->pos() + QPoint(10, 10));
        QVERIFY(frame->windowFlags() & Qt::WindowStaysOnTopHint);
        frame->setToolbarButtonVisible(ID_PLAY, true);
        frame->close();
        QCOMPARE(barSettings(), (QList<int>{0, 1, 1, 1, 1}));
        QCOMPARE(GetProfileInt("Dlg Bar", "FloatY", -1), 420);
        QCOMPARE(GetProfileInt("Dlg Bar", "FloatPosX", -1), place.x());

        // The next start comes back as it was left, the control bar floating in its place, and
        // uses the values stored by hand (the last two: the game's folders, as the program's
        // settings name them off Windows).
        const char* const stored[][3] = {{"Options", "Pal Type", "2"},
                                         {"Options", "Pal Dir", "/pal"},
                                         {"Options", "Anim Type", "1"},
                                         {"Options", "ExpAsk", "0"},
                                         {"Options", "Show StatusBar", "0"},
                                         {"Menu", "Style", "0"},
                                         {"Tolvaris", "Install_Path", "/games/Tolvaris"},
                                         {"Game", "Install_Path", "/games/Dominara"}};
        for (const auto& value : stored) WriteProfileString(value[0], value[1], value[2]);
        QVERIFY(startEditor());
        QCOMPARE((QList<int>{app_->paletteType(), app_->animationType(), app_->askOnExport(), app_->menuStyle()}),
                 (QList<int>{2, 1, 0, 0}));
        QCOMPARE(app_->paletteFolder(), QStringLiteral("/pal"));
        QCOMPARE(app_->gameFolders(),
                 (QStringList{QStringLiteral("/games/Tolvaris"), QStringLiteral("/games/Dominara")}));
        QCOMPARE((QList<bool>{app_->secondExpansionFound(), app_->firstExpansionFound(), app_->baseGameFound()}),
                 (QList<bool>{false, true, true}));
        frame = app_->mainWindow();
        QVERIFY(frame->statusBar()->isHidden());
        QVERIFY(!frame->RouteUpdate(ID_VIEW_STATUS_BAR).checked);
        QVERIFY(frame->toolBar()->isHidden());
        QVERIFY(frame->RouteUpdate(ID_ALWAYS_ON_TOP).checked);
        QVERIFY(frame->isToolbarButtonVisible(ID_PLAY));
        QVERIFY(frame->controlBar()->isFloating());
        QCOMPARE(frame->controlBar()->size(), size);
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
    }

    void openDocumentsTitleTheWindowTakeKeysAreReactivatedAndCloseAllAsks()
    {
        QVERIFY(startEditor());
        acceptEverything({ID_PAUSE, ID_REFRESH, ID_FILE_SAVE});
        CMainFrame* frame = app_->mainWindow();
        const QString a = touch("Knight.flc");
        CDocument* docA = app_->OpenDocumentFile(a);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - %1 [FLC]").arg(a));
        const QString b = touch("Knight.qsb");
        app_->OpenDocumentFile(b);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - %1 [Storyboard]").arg(b));
        QCOMPARE(frame->currentMenuId(), 130);
        // Maximised in a shown window (where Qt moves the child's buttons into the menu bar
        // and would add the child's title to the main window's), and restored.
        frame->show();
        frame->MDIGetActive()->showMaximized();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - Knight.qsb"));
        frame->MDIGetActive()->showNormal();
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorvane - %1 [Storyboard]").arg(b));
        QCOMPARE(frame->MDIGetActive()->shownTitle(), QStringLiteral("Knight.qsb"));

        // Ctrl+S belongs to FLC views only; Ctrl+O is the Open command wherever the focus is.
        auto* sheetView = dynamic_cast<qvtest::RecordingView*>(frame->GetActiveView());
        QTest::keyClick(sheetView, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(sheetView->commands.empty());
        dialogs_.cancel();
        QTest::keyClick(sheetView, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs_.seen().size(), size_t(1));
        // The same path in another case brings its window forward instead of a second one.
        QCOMPARE(app_->OpenDocumentFile(a.toUpper().replace(dir_->path().toUpper(), dir_->path())), docA);
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
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_YESNOCANCEL | MB_SAVEDISCARD | MB_ICONEXCLAMATION));
        boxes_.answer(IDNO);
        QVERIFY(frame->RouteCommand(ID_CLOSE_ALL));
        flushDeletes();
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 0);
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
        QCOMPARE(seen.filter, QStringLiteral("All avaliable formats (.FLC, .QSB)|*.flc;*.qsb|Dominara FLC files "
                                             "(*.FLC)|*.flc|Dominara FLC Storyboard (*.QSB)|*.qsb||"));
        QCOMPARE(seen.filterIndex, 2);
        QCOMPARE(seen.initialPath, earlier);
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

        // Every File menu has both recent lists, showing "(None)" while empty.
        app_->AddToRecentFileList(QStringLiteral("/u/Knight.flc"));
        for (int menuId : {128, 129, 130}) {
            QCOMPARE(frame->recentFlcMenu(menuId)->actions()[0]->text(), QStringLiteral("&1 /u/Knight.flc"));
            QCOMPARE(frame->recentQsbMenu(menuId)->actions()[0]->text(), QStringLiteral("(None)"));
        }
    }

    void openIniOpensEveryNamedAnimationAndSummarisesTheRest()
    {
        startWithGameFolders();
        const fs::path ini = writeUnitFolder(root() / "Units", "Warrior", {"RUN", "DEFAULT", "DEATH"}, smallUnit());
        const fs::path unit = ini.parent_path();
        writeBytes(root() / "Second" / "Art" / "Units" / "Archer" / "Archer Attack.flc", buildAnimation(smallUnit()));
        writeText(unit / "Broken.flc", "not an animation");
        writeText(ini, unitIniText({{"RUN", "warrior run.FLC"},  // case differs from the file's
                                    {"DEFAULT", "Warrior DEFAULT.flc"},
                                    {"ATTACK1", "..\\Archer\\Archer Attack.flc"},
                                    {"DEATH", "Warrior DEATH.flc"},
                                    {"FIDGET", "Gone.flc"},
                                    {"VICTORY", "Broken.flc"},
                                    {"BUILD", "..\\..\\..\\Outside.flc"},
                                    {"ROAD", "Warrior DEATH.flc"}}));  // named twice: opened twice
        dialogs_.pick(Q(ini));
        boxes_.answer(IDYES);
        QVERIFY(app_->OnCommand(ID_OPEN_INI));

        const QStringList expected = {Q(unit / "Warrior DEFAULT.flc"),
                                      Q(unit / "Warrior RUN.flc"),
                                      Q(root() / "Second" / "Art" / "Units" / "Archer" / "Archer Attack.flc"),
                                      Q(unit / "Warrior DEATH.flc"),
                                      Q(unit / "Broken.flc"),
                                      Q(unit / "Warrior DEATH.flc")};
        QCOMPARE(dialogs_.seen().back().title, QString::fromUtf8(str::IDS_INI_SELECT_TITLE));
        // The question lists what was found, then the one summary lists what was not opened.
        QCOMPARE(boxes_.shown().size(), size_t(2));
        QString list;
        for (const QString& p : expected) list += QLatin1Char('\'') + p + QStringLiteral("'\r\n");
        QCOMPARE(boxes_.shown()[0].text, uFormatString(str::IDS_INI_ASK_OPEN, {ini.string(), list.toStdString()}));
        QCOMPARE(boxes_.shown()[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
        QStringList opened = expected;
        opened.removeAt(4);  // Broken.flc was refused by its view
        QCOMPARE(openPaths(), opened);
        const QString summary = lastText();
        QVERIFY(summary.startsWith(QLatin1Char('\'') + Q(ini) + QStringLiteral("'\r\n")));
        QVERIFY(
            summary.contains(uFormatString(str::IDS_BULK_SUMMARY_MISSING, {"FIDGET", (unit / "Gone.flc").string()})));
        QVERIFY(summary.contains(uFormatString(str::IDS_BULK_SUMMARY_OUTSIDE, {"BUILD", "..\\..\\..\\Outside.flc"})));
        QVERIFY(summary.contains(uFormatString(str::IDS_INVALID_FORMAT, {(unit / "Broken.flc").string()})));
    }

    void openIniStopsWhenThereIsNothingToOpen()
    {
        startWithGameFolders();
        const fs::path ini = root() / "u" / "Unit.ini";
        // The INI's text and the one message expected (a question is answered No), or none.
        const std::pair<std::string, const char*> cases[] = {
            {"[Speed]\r\nRUN=a.flc\r\n", nullptr},  // no [Animations] section
            {unitIniText({{"RUN", "a.flc"}}), str::IDS_INI_NO_FLC_FOUND},
            {unitIniText({{"RUN", "Unit.ini"}}), str::IDS_INI_ASK_OPEN},
        };
        for (const auto& [text, message] : cases) {
            boxes_.clear();
            WriteProfileString("Options", "Last INI", QString());
            writeText(ini, text);
            dialogs_.pick(Q(ini));
            if (message == str::IDS_INI_ASK_OPEN) boxes_.answer(IDNO);
            app_->editorDocManager()->OpenIni();
            QVERIFY(openPaths().isEmpty());
            QCOMPARE(boxes_.shown().size(), size_t(message ? 1 : 0));
            if (message == str::IDS_INI_NO_FLC_FOUND) QCOMPARE(lastText(), uFormatString(message, {ini.string()}));
            // The INI chosen is remembered even when nothing opens.
            QCOMPARE(GetProfileString("Options", "Last INI"), Q(ini));
        }
    }

    void openMultiOpensAtMostTwentyFlcAndStoryboardFiles()
    {
        startWithGameFolders();
        app_->editorDocManager()->qsbTemplate()->setFactories([] { return new qvtest::AcceptingDoc; }, {},
                                                              [] { return new qvtest::RecordingView; });
        const fs::path folder = root() / "many";
        const Bytes flc = buildAnimation(smallUnit());
        for (int i = 0; i < 24; ++i) writeBytes(folder / ("a" + std::to_string(i) + (i % 2 ? ".FLC" : ".flc")), flc);
        writeText(folder / "board.qsb", "x");
        writeText(folder / "sheet.pcx", "x");
        fs::create_directories(folder / "sub.flc");

        dialogs_.pickMany({Q(folder)});
        boxes_.answer(IDYES);
        QVERIFY(app_->OnCommand(ID_OPEN_MULTI));
        QCOMPARE(dialogs_.seen().back().title, QString::fromUtf8(str::IDS_MULTI_SELECT_TITLE));
        QCOMPARE(boxes_.shown().size(), size_t(1));  // the question; everything opened
        const QStringList opened = openPaths();
        QCOMPARE(opened.size(), 20);
        for (const QString& p : opened) {
            const QString ext = uGetFileExt(p).toLower();
            QVERIFY2(ext == QLatin1String("flc") || ext == QLatin1String("qsb"), qPrintable(p));
        }
        // The next run starts where this one chose.
        QCOMPARE(GetProfileString("Options", "Last Multi"), Q(folder));
        dialogs_.cancel();
        app_->editorDocManager()->OpenMulti();
        QCOMPARE(dialogs_.seen().back().initialPath, Q(folder));

        // A folder without animation files.
        const fs::path none = root() / "none";
        writeText(none / "sheet.pcx", "x");
        boxes_.clear();
        dialogs_.pickMany({Q(none)});
        app_->editorDocManager()->OpenMulti();
        QCOMPARE(lastText(), uFormatString(str::IDS_MULTI_NO_FILES_FOUND, {none.string()}));
    }

    void recentPathsGoToTheListOfTheirExtensionNewestFirstPersistAndOpen()
    {
        {
            CMruFileManager m;
            addBothLists(m, 4);
            QVERIFY(m.Add(QStringLiteral("/units/Warrior/sheet.qsb")));
            for (const char* refused : {".flc", "/units/readme.txt", "/units/flc"})  // nothing before ".flc"
                QVERIFY2(!m.Add(QString::fromLatin1(refused)), refused);
            for (int i = 1; i <= 6; ++i) QVERIFY(m.Add(QStringLiteral("/a/%1.FLC").arg(i)));
            // Adding a path again (in any case) moves it to the top instead of doubling it.
            m.Add(QStringLiteral("/A/4.flc"));
            QCOMPARE(m.list(0)->paths(), (QStringList{QStringLiteral("/A/4.flc"), QStringLiteral("/a/6.FLC"),
                                                      QStringLiteral("/a/5.FLC"), QStringLiteral("/a/3.FLC")}));
        }
        QCOMPARE(GetProfileString("Recent FLC Files", "File1"), QStringLiteral("/A/4.flc"));
        CMruFileManager again;
        addBothLists(again, 4);
        QCOMPARE(again.list(1)->paths(), QStringList{QStringLiteral("/units/Warrior/sheet.qsb")});

        // Choosing an entry opens it; one that fails to open is forgotten.
        QStringList opened;
        again.opener = [&opened](const QString& p) {
            opened << p;
            return p != QLatin1String("/a/6.FLC");
        };
        QVERIFY(!again.OnCommand(ID_PLAY));  // not a list command
        QVERIFY(again.OnCommand(ID_RECENT_FLC_FIRST + 1));
        QCOMPARE(opened, QStringList{QStringLiteral("/a/6.FLC")});
        // Three entries are left: the fourth command is disabled.
        CCmdUI last(ID_RECENT_FLC_FIRST + 2), beyond(ID_RECENT_FLC_FIRST + 3);
        QVERIFY(again.OnUpdateCommand(ID_RECENT_FLC_FIRST + 2, last) && last.enabled);
        QVERIFY(again.OnUpdateCommand(ID_RECENT_FLC_FIRST + 3, beyond) && !beyond.enabled);
        QVERIFY(!HasProfileValue("Recent FLC Files", "File4"));
    }

    void recentMenusShowNumberedShortNamesOrNone()
    {
        CMruFileManager m;
        addBothLists(m, 16);
        QMenu menu;
        m.FillMenu(&menu, 0, {});
        QCOMPARE(menu.actions().size(), 1);
        QVERIFY(!menu.actions().front()->isEnabled());  // "(None)"

        for (int i = 1; i <= 11; ++i) m.Add(QStringLiteral("/u/f%1.flc").arg(i));
        m.Add(QStringLiteral("/home/player/games/dominara/units/Longbowman/LongbowmanAttackA.flc"));
        int chosen = 0;
        m.FillMenu(&menu, 0, [&chosen](int id) { chosen = id; });
        const QList<QAction*> items = menu.actions();
        QCOMPARE(items.size(), 12);
        // Names longer than 30 characters keep their end.
        QCOMPARE(items.at(0)->text(), QStringLiteral("&1 /.../LongbowmanAttackA.flc"));
        QCOMPARE(items.at(1)->text(), QStringLiteral("&2 /u/f11.flc"));
        QCOMPARE(items.at(9)->text(), QStringLiteral("1&0 /u/f3.flc"));
        QCOMPARE(items.at(10)->text(), QStringLiteral("11 /u/f2.flc"));
        items.at(2)->trigger();
        QCOMPARE(chosen, ID_RECENT_FLC_FIRST + 2);

        const std::pair<const char*, const char*> abbreviated[] = {
            {"C:\\Games\\Dominara\\Art\\Units\\Knight\\KnightRun.flc", "C:\\...\\Knight\\KnightRun.flc"},
            // A name too long for the space is shown whole.
            {"/x/AVeryLongAnimationNameThatGoesOn.flc", "AVeryLongAnimationNameThatGoesOn.flc"}};
        for (const auto& [path, shown] : abbreviated)
            QCOMPARE(AbbreviatePath(QString::fromLatin1(path), 30), QString::fromLatin1(shown));
        // Ampersands in names are doubled for the menu.
        CRecentFileList list(1, QStringLiteral("R"), QStringLiteral("File%d"), {}, 4);
        list.Add(QStringLiteral("/a/Tom&Jerry.flc"));
        QCOMPARE(list.GetDisplayName(0), QStringLiteral("/a/Tom&&Jerry.flc"));
    }

    void maxMruOutsideItsRangeBecomesFour()
    {
        const std::pair<const char*, int> cases[] = {{"3", 4}, {"16", 16}, {"17", 4}, {"many", 4}};
        for (const auto& [stored, used] : cases) {
            WriteProfileString("Options", "Max MRU", QString::fromLatin1(stored));
            CEditorApp app;
            app.LoadSettings();
            QCOMPARE(app.maxRecentFiles(), used);
            // Both lists hold that many entries.
            for (int i = 0; i < 20; ++i) {
                app.AddToRecentFileList(QStringLiteral("/a/%1.flc").arg(i));
                app.AddToRecentFileList(QStringLiteral("/a/%1.qsb").arg(i));
            }
            QCOMPARE(app.recentFiles().list(0)->size(), used);
            QCOMPARE(app.recentFiles().list(1)->size(), used);
        }
    }
};

QTEST_MAIN(StartupTest)
#include "app_startup.moc"
