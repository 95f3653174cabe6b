// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The document/view framework the program's windows stand on: command routing from the
// active view outwards, opening and refusing documents, closing (asking to save), a
// second window on a document, and the settings, path and position helpers.
#include <QMdiArea>
#include <QtTest>
#include <algorithm>

#include "app_support.h"
#include "platform/ui/doc_manager.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/position.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/std_commands.h"
#include "platform/ui/utils.h"
#include "platform/ui/win_app.h"

using namespace qv;

namespace {

constexpr int kViewCommand = 40001, kDocCommand = 40002, kFrameCommand = 40003, kAppCommand = 40004, kNobody = 40005;

// Claims the commands in `claims`, recording them, and passes the others on.
template <typename Base>
class Claiming : public Base {
public:
    std::vector<int> claims, commands;
    bool OnCommand(int id) override
    {
        if (std::find(claims.begin(), claims.end(), id) == claims.end()) return Base::OnCommand(id);
        commands.push_back(id);
        return true;
    }
};

class TestApp : public Claiming<CWinApp> {
public:
    QStringList recent;
    bool OnUpdateCommand(int id, CCmdUI& ui) override
    {
        if (id != kAppCommand) return false;
        ui.SetCheck(true);
        return true;
    }
    void AddToRecentFileList(const QString& path) override { recent << path; }
};

QStringList g_saved;  // every save of every test document (documents go away when closed)

class TestDoc : public Claiming<qvtest::AcceptingDoc> {
public:
    bool refuseOpen = false;
    bool OnOpenDocument(const QString&) override { return !refuseOpen; }
    bool OnSaveDocument(const QString& path) override
    {
        g_saved << path;
        return CDocument::OnSaveDocument(path);
    }
};

}  // namespace

using qvtest::flushDeletes;

class FrameworkTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;
    ScriptedMessageBoxes boxes_;
    ScriptedFileDialogs dialogs_;
    std::unique_ptr<TestApp> app_;
    Claiming<CNewMDIFrameWnd>* frame_ = nullptr;
    CNewMultiDocTemplate* template_ = nullptr;
    bool refuseNext_ = false;

private slots:
    void initTestCase()
    {
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
    }
    void cleanupTestCase()
    {
        setMessageBoxService(nullptr);
        setFileDialogService(nullptr);
    }
    void init()
    {
        settings_.clear();
        boxes_.clear();
        refuseNext_ = false;
        app_ = std::make_unique<TestApp>();
        app_->claims = {kAppCommand};
        frame_ = new Claiming<CNewMDIFrameWnd>;
        frame_->claims = {kFrameCommand, kViewCommand};
        app_->setMainFrame(frame_);
        template_ = new CNewMultiDocTemplate(
            129, QStringLiteral("\nAnim\nAnim\nAnimations\n.anm\nAnim\nAnimation"),
            [this] {
                auto* d = new TestDoc;
                d->claims = {kDocCommand, kViewCommand};
                d->refuseOpen = refuseNext_;
                return d;
            },
            {},
            [] {
                auto* v = new qvtest::RecordingView;
                v->handled = {kViewCommand};
                return v;
            });
        app_->AddDocTemplate(template_);
    }
    void cleanup()
    {
        app_->docManager()->CloseAllDocuments(true);
        flushDeletes();
        delete frame_;
        app_.reset();
    }

    void commandsGoToTheActiveViewFirstThenOutwardsAndRefusedOpensLeaveNothing()
    {
        auto* doc = static_cast<TestDoc*>(app_->OpenDocumentFile(QStringLiteral("/a/one.anm")));
        QVERIFY(doc);
        auto* view = static_cast<qvtest::RecordingView*>(frame_->GetActiveView());
        QVERIFY(view && view->GetDocument() == doc);
        QVERIFY(frame_->RouteCommand(kViewCommand));
        QVERIFY(frame_->RouteCommand(kDocCommand));
        QVERIFY(frame_->RouteCommand(kFrameCommand));
        QVERIFY(frame_->RouteCommand(kAppCommand));
        QVERIFY(!frame_->RouteCommand(kNobody));
        QCOMPARE(view->commands, std::vector<int>{kViewCommand});  // the view claimed it first
        QCOMPARE(doc->commands, std::vector<int>{kDocCommand});
        QCOMPARE(frame_->commands, std::vector<int>{kFrameCommand});
        QCOMPARE(app_->commands, std::vector<int>{kAppCommand});
        // States: claimed commands are enabled, unclaimed ones disabled and unchecked.
        QVERIFY(frame_->RouteUpdate(kViewCommand).enabled);
        QVERIFY(frame_->RouteUpdate(kAppCommand).checked);
        QVERIFY(!frame_->RouteUpdate(kNobody).enabled);
        QAction* action = frame_->commandAction(kNobody);
        action->setEnabled(true);
        frame_->UpdateCommandUI();
        QVERIFY(!action->isEnabled());

        // A refused open leaves no window, no recent entry, and the open document active.
        refuseNext_ = true;
        QVERIFY(!app_->OpenDocumentFile(QStringLiteral("/a/bad.anm")));
        flushDeletes();
        QCOMPARE(frame_->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(app_->recent, QStringList{QStringLiteral("/a/one.anm")});
        QVERIFY(frame_->GetActiveView() == view);

        // Without a document the view and document are out of the road.
        app_->docManager()->CloseAllDocuments(false);
        flushDeletes();
        QVERIFY(!frame_->GetActiveView());
        QVERIFY(frame_->RouteCommand(kViewCommand));  // the frame takes it now
        QCOMPARE(frame_->commands.back(), kViewCommand);
        QVERIFY(!frame_->RouteCommand(kDocCommand));
    }

    void closingAModifiedDocumentAsksFirst()
    {
        auto* doc = static_cast<TestDoc*>(app_->OpenDocumentFile(QStringLiteral("/a/edit.anm")));
        doc->SetModifiedFlag(true);
        g_saved.clear();
        // Cancel keeps it open.
        boxes_.answer(IDCANCEL);
        QVERIFY(frame_->RouteCommand(ID_FILE_CLOSE));
        QCOMPARE(boxes_.shown().back().text, QStringLiteral("Save changes to edit.anm?"));
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 1);
        // Closing the window itself asks the same way; Yes saves to its own path, then closes.
        boxes_.answer(IDYES);
        frame_->MDIGetActive()->close();
        flushDeletes();
        QCOMPARE(g_saved, QStringList{QStringLiteral("/a/edit.anm")});
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 0);
        QVERIFY(!frame_->MDIGetActive());
        // An untitled document asks for a name when saved.
        auto* doc2 = static_cast<TestDoc*>(template_->CreateNewDocument());
        dialogs_.pick(QStringLiteral("/b/named.anm"));
        QVERIFY(doc2->DoFileSave());
        QCOMPARE(dialogs_.seen().back().filter, QStringLiteral("Animations|*.anm||"));
        QCOMPARE(doc2->GetPathName(), QStringLiteral("/b/named.anm"));
        doc2->OnCloseDocument();
    }

    void aSecondWindowShowsTheSameDocumentCascadesAndClosesAlone()
    {
        CDocument* doc = app_->OpenDocumentFile(QStringLiteral("/a/two.anm"));
        QVERIFY(frame_->RouteCommand(ID_WINDOW_NEW));
        frame_->resize(1000, 800);
        frame_->show();
        QVERIFY(frame_->RouteCommand(ID_WINDOW_CASCADE));
        QCOMPARE(doc->GetViews().size(), size_t(2));
        QList<QMdiSubWindow*> windows = frame_->mdiArea()->subWindowList();
        QCOMPARE(windows.size(), 2);
        for (QMdiSubWindow* w : windows) QVERIFY(w->widget()->height() >= 244);  // not a bare title bar
        auto shown = [](QMdiSubWindow* w) { return static_cast<CNewMDIChildWnd*>(w)->shownTitle(); };
        QStringList titles = {shown(windows[0]), shown(windows[1])};
        titles.sort();
        QCOMPARE(titles, (QStringList{QStringLiteral("two.anm:1"), QStringLiteral("two.anm:2")}));
        // Closing one window leaves the document with the other, without asking.
        doc->SetModifiedFlag(true);
        QVERIFY(shown(windows[0]).endsWith(QLatin1Char('*')));
        frame_->MDIGetActive()->close();
        flushDeletes();
        QVERIFY(boxes_.shown().empty());
        QCOMPARE(doc->GetViews().size(), size_t(1));
        QCOMPARE(app_->docManager()->GetOpenDocumentCount(), 1);
        QCOMPARE(shown(frame_->mdiArea()->subWindowList().front()), QStringLiteral("two.anm*"));
    }

    void settingsDefaultsAndSubSections()
    {
        QCOMPARE(GetProfileInt("Options", "Missing", 7), 7);
        QCOMPARE(GetProfileString("Options", "Missing", QStringLiteral("d")), QStringLiteral("d"));
        WriteProfileInt("CtrlBars\\CtrlBar", "Bars", 3);
        WriteProfileString("Options", "Last Opend", QStringLiteral("/x y/z.flc"));
        FlushProfile();
        QSettings s(QStringLiteral("Velmora"), QStringLiteral("Quorvane"));
        QCOMPARE(s.value(QStringLiteral("CtrlBars/CtrlBar/Bars")).toInt(), 3);
        QCOMPARE(s.value(QStringLiteral("Options/Last Opend")).toString(), QStringLiteral("/x y/z.flc"));
        s.setValue(QStringLiteral("Options/Bad"), QStringLiteral("12abc"));
        s.setValue(QStringLiteral("Options/Negative"), -5);
        s.sync();
        ReloadProfile();
        QCOMPARE(GetProfileInt("Options", "Bad", 4), 4);
        QCOMPARE(GetProfileInt("Options", "Negative", 4), -5);
        RemoveProfileValue("Options", "Negative");
        QVERIFY(!HasProfileValue("Options", "Negative"));
    }

    void pathHelpers()
    {
        QCOMPARE(uGetFileExt(QStringLiteral("/a.b/Run.FLC")), QStringLiteral("FLC"));
        QCOMPARE(uGetFileExt(QStringLiteral("/a.b/noext")), QString());
        QCOMPARE(uGetFileExt(QStringLiteral("C:\\x.y\\file")), QString());
        QCOMPARE(GetFolder(QStringLiteral("/units/Knight/Run.flc")), QStringLiteral("/units/Knight/"));
        QCOMPARE(GetFolder(QStringLiteral("Run.flc")), QString());
        QCOMPARE(GetShortFileName(QStringLiteral("/units/Knight/Run.v2.flc")), QStringLiteral("Run.v2"));
        QCOMPARE(GetFileName(QStringLiteral("C:\\u\\Run.flc")), QStringLiteral("Run.flc"));
        const QString temp = uGetTempFileName(QStringLiteral("flc"));
        QVERIFY(temp.endsWith(QLatin1String(".flc")));
        QVERIFY(uIsFileExist(temp));  // reserved
        const QString other = uGetTempFileName(QStringLiteral(".flc"));
        QVERIFY(other != temp);
        QFile::remove(temp);
        QFile::remove(other);
        QVERIFY(!uIsFileExist(QDir::tempPath()));
        QVERIFY(uIsDirExist(QDir::tempPath()));
        QCOMPARE(uFormatString("'%s'\r\nframe %d", {"/a.flc", 3}), QStringLiteral("'/a.flc'\r\nframe 3"));
    }

    void fileDialogFiltersAndResults()
    {
        CFileDialogX dlg(true, QString(), QString(), OFN_FILEMUSTEXIST,
                         QStringLiteral("All avaliable formats (.FLC, .QSB)|*.flc;*.qsb|Dominara FLC files "
                                        "(*.FLC)|*.flc||"));
        QCOMPARE(dlg.qtFilters(), (QStringList{QStringLiteral("All avaliable formats (.FLC, .QSB) (*.flc *.qsb)"),
                                               QStringLiteral("Dominara FLC files (*.FLC) (*.flc)")}));
        dialogs_.pick(QStringLiteral("/u/Run.flc"), 2);
        QCOMPARE(dlg.DoModal(), int(IDOK));
        QCOMPARE(dlg.GetPathName(), QStringLiteral("/u/Run.flc"));
        QCOMPARE(dlg.GetFileName(), QStringLiteral("Run.flc"));
        QCOMPARE(dlg.GetFileExt(), QStringLiteral("flc"));
        QCOMPARE(dlg.filterIndex, 2);
        dialogs_.cancel();
        QCOMPARE(dlg.DoModal(), int(IDCANCEL));
        QVERIFY(dlg.GetPathName().isEmpty());
    }

    void windowPlaceIsKept()
    {
        QWidget w;
        w.resize(300, 200);
        w.move(40, 50);
        CFramePosition pos(QStringLiteral("Dlg Test"));
        QVERIFY(!pos.Load(&w));  // nothing saved yet
        pos.Save(&w);
        QWidget again;
        QVERIFY(pos.Load(&again));
        QCOMPARE(again.size(), QSize(300, 200));
        QCOMPARE(again.pos(), QPoint(40, 50));
        // Without its size, only the place comes back.
        QWidget fixed;
        fixed.resize(120, 80);
        CNoSizePosition(QStringLiteral("Dlg Test")).Load(&fixed);
        QCOMPARE(fixed.size(), QSize(120, 80));
        QCOMPARE(fixed.pos(), QPoint(40, 50));
        // A place far off every screen comes back onto one.
        WriteProfileInt("Dlg Test", "X", 90000);
        QWidget lost;
        pos.Load(&lost);
        QVERIFY(lost.pos().x() < 10000);
    }
};

QTEST_MAIN(FrameworkTest)
#include "app_framework.moc"
