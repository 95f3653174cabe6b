// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The document/view framework the program's windows stand on: command routing from the
// active view outwards, opening and refusing documents, closing (asking to save), a
// second window on a document, and the settings, path and position helpers; the control
// bar's panels: which controls are enabled, checked and what they show for a view in each
// state, what the controls call, the delay edit's clamp, and the panels' expanded states.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QSlider>
#include <QtTest>
#include <algorithm>
#include <set>

#include "app/control_panels.h"
#include "app_support.h"
#include "platform/ui/doc_manager.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/position.h"
#include "platform/ui/profile.h"
#include "platform/ui/rollup.h"
#include "platform/ui/services.h"
#include "platform/ui/std_commands.h"
#include "platform/ui/utils.h"
#include "platform/ui/win_app.h"

using namespace qv;
using qvtest::FakeAnimation;

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
bool g_refuseOpen = false;

class TestDoc : public Claiming<qvtest::AcceptingDoc> {
public:
    TestDoc() { claims = {kDocCommand, kViewCommand}; }
    bool OnOpenDocument(const QString&) override { return !g_refuseOpen; }
    bool OnSaveDocument(const QString& path) override
    {
        g_saved << path;
        return CDocument::OnSaveDocument(path);
    }
};

// The panels' enabled controls (each control is named by its id).
std::set<int> enabledIds(const CControlPanels& p)
{
    std::set<int> out;
    for (const QWidget* w : p.findChildren<QWidget*>()) {
        bool isId = false;
        const int id = w->objectName().toInt(&isId);
        if (isId && w->isEnabled()) out.insert(id);
    }
    return out;
}

// Each of `on` is enabled and each of `off` is not.
void expectEnabled(const CControlPanels& p, std::initializer_list<int> on, std::initializer_list<int> off)
{
    const std::set<int> enabled = enabledIds(p);
    for (int id : on) QVERIFY2(enabled.count(id), qPrintable(QStringLiteral("%1 is disabled").arg(id)));
    for (int id : off) QVERIFY2(!enabled.count(id), qPrintable(QStringLiteral("%1 is enabled").arg(id)));
}

QAbstractButton* button(const CControlPanels& p, int id)
{
    return qobject_cast<QAbstractButton*>(p.control(id));
}
bool checked(const CControlPanels& p, int id)
{
    return button(p, id)->isChecked();
}
QString text(const CControlPanels& p, int id)
{
    return qobject_cast<QLabel*>(p.control(id))->text();
}

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

private slots:
    void init()
    {
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
        settings_.clear();
        boxes_.clear();
        g_refuseOpen = false;
        app_ = std::make_unique<TestApp>();
        app_->claims = {kAppCommand};
        frame_ = new Claiming<CNewMDIFrameWnd>;
        frame_->claims = {kFrameCommand, kViewCommand};
        app_->setMainFrame(frame_);
        template_ = new CNewMultiDocTemplate(
            129, QStringLiteral("\nAnim\nAnim\nAnimations\n.anm\nAnim\nAnimation"), [] { return new TestDoc; }, {},
            [] { return new qvtest::RecordingView({kViewCommand}); });
        app_->AddDocTemplate(template_);
    }
    void cleanup()
    {
        app_->docManager()->CloseAllDocuments(true);
        flushDeletes();
        delete frame_;
        app_.reset();
        setMessageBoxService(nullptr);
        setFileDialogService(nullptr);
    }

    void commandsGoToTheActiveViewFirstThenOutwardsAndRefusedOpensLeaveNothing()
    {
        auto* doc = static_cast<TestDoc*>(app_->OpenDocumentFile(QStringLiteral("/a/one.anm")));
        auto* view = static_cast<qvtest::RecordingView*>(frame_->GetActiveView());
        QVERIFY(view && view->GetDocument() == doc);
        for (int id : {kViewCommand, kDocCommand, kFrameCommand, kAppCommand}) QVERIFY(frame_->RouteCommand(id));
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
        g_refuseOpen = true;
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
        QList<QMdiSubWindow*> windows = frame_->mdiArea()->subWindowList();
        for (QMdiSubWindow* w : windows) QVERIFY(w->widget()->height() >= 244);  // not a bare title bar
        auto shown = [](QMdiSubWindow* w) { return static_cast<CNewMDIChildWnd*>(w)->shownTitle(); };
        QStringList titles = {shown(windows[0]), shown(windows[1])};
        titles.sort();
        QCOMPARE(titles, (QStringList{QStringLiteral("two.anm:1"), QStringLiteral("two.anm:2")}));
        // Closing one window leaves the document with the other, without asking.
        doc->SetModifiedFlag(true);
        frame_->MDIGetActive()->close();
        flushDeletes();
        QVERIFY(boxes_.shown().empty());
        QCOMPARE(doc->GetViews().size(), size_t(1));
        QCOMPARE(shown(frame_->mdiArea()->subWindowList().front()), QStringLiteral("two.anm*"));
    }

    void pathHelpersAndDialogFilters()
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
        // The dialogs' filter text ("name|patterns|...||") in Qt's form.
        CFileDialogX dlg(true, QString(), QString(), OFN_FILEMUSTEXIST,
                         QStringLiteral("All avaliable formats (.FLC, .QSB)|*.flc;*.qsb|Dominara FLC files "
                                        "(*.FLC)|*.flc||"));
        QCOMPARE(dlg.qtFilters(), (QStringList{QStringLiteral("All avaliable formats (.FLC, .QSB) (*.flc *.qsb)"),
                                               QStringLiteral("Dominara FLC files (*.FLC) (*.flc)")}));
    }

    void subSectionsAndWindowPlacesAreKept()
    {
        // A sub-section ("a\b") is stored as a nested group.
        WriteProfileInt("CtrlBars\\CtrlBar", "Bars", 3);
        FlushProfile();
        const QSettings raw(QStringLiteral("Velmora"), QStringLiteral("Quorvane"));
        QCOMPARE(raw.value(QStringLiteral("CtrlBars/CtrlBar/Bars")).toInt(), 3);
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

    void panelsFollowTheStateOfTheAttachedView()
    {
        CControlPanels p;
        QVERIFY(enabledIds(p).empty());
        // Both sound checks start checked.
        QVERIFY(p.isPlaySoundChecked());
        QVERIFY(p.isAutoplayChecked());
        FakeAnimation v;
        v.loaded = false;
        v.dir = 6;  // N
        p.attach(&v);
        QVERIFY(enabledIds(p).empty());
        v.loaded = true;
        v.changed();
        const std::set<int> expected = {
            IDC_DIR_NW, IDC_DIR_N, IDC_DIR_NE, IDC_DIR_W, IDC_DIR_ALL, IDC_DIR_E, IDC_DIR_SW, IDC_DIR_S, IDC_DIR_SE,
            // Default mode: radios and label while running, no slider/edit/spin
            IDC_DELAY_DEFAULT, IDC_DELAY_CUSTOM, IDC_DELAY_LABEL,
            // Running: Pause and Stop only; the texts
            IDC_PAUSE, IDC_STOP, IDC_FRAME_LABEL, IDC_FRAME_NUMBER, IDC_FRAME_COUNT, IDC_INFO};
        QCOMPARE(enabledIds(p), expected);
        QVERIFY(checked(p, IDC_DIR_N));
        QVERIFY(checked(p, IDC_DELAY_DEFAULT));
        QCOMPARE(text(p, IDC_FRAME_NUMBER), QStringLiteral("3"));
        QCOMPARE(text(p, IDC_FRAME_COUNT), QStringLiteral("10"));
        // "Default" plays at the file's speed, and the label shows it, not the custom delay.
        QCOMPARE(text(p, IDC_DELAY_LABEL), QStringLiteral("(55 ms)"));

        // Paused: stepping and the slider work; Play stays off.
        v.paused = true;
        v.changed();
        expectEnabled(p,
                      {IDC_FIRST, IDC_PREVIOUS, IDC_NEXT, IDC_LAST, IDC_WIND_BACK, IDC_WIND_FORWARD, IDC_FRAME_SLIDER},
                      {IDC_PLAY});

        // Stopped in custom mode: navigation and the delay edit.
        v.paused = false;
        v.running = false;
        v.mode = 0;
        v.windForward = true;
        v.changed();
        expectEnabled(p,
                      {IDC_PLAY, IDC_FIRST, IDC_PREVIOUS, IDC_NEXT, IDC_LAST, IDC_WIND_BACK, IDC_WIND_FORWARD,
                       IDC_FRAME_SLIDER, IDC_DELAY_SLIDER, IDC_DELAY_EDIT, IDC_DELAY_SPIN},
                      {IDC_PAUSE, IDC_STOP, IDC_DELAY_DEFAULT, IDC_DELAY_CUSTOM, IDC_DELAY_LABEL});
        QVERIFY(checked(p, IDC_DELAY_CUSTOM));
        QVERIFY(checked(p, IDC_WIND_FORWARD));
        // The frame slider moves the frame on keys and groove clicks, not only on release.
        auto* slider = qobject_cast<QSlider*>(p.control(IDC_FRAME_SLIDER));
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(v.calls.last(), QStringLiteral("slider4"));
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(v.calls.last(), QStringLiteral("slider9"));

        // Fewer than eight directions leave only All.
        v.directions = 4;
        v.dir = 0;
        v.changed();
        expectEnabled(p, {IDC_DIR_ALL},
                      {IDC_DIR_NW, IDC_DIR_N, IDC_DIR_NE, IDC_DIR_W, IDC_DIR_E, IDC_DIR_SW, IDC_DIR_S, IDC_DIR_SE});
        QVERIFY(checked(p, IDC_DIR_ALL));

        // A unit offers blending and the palette; a leader head (a plain FLC) no blending.
        v.alphaOption = true;
        v.alpha = true;
        v.paletteDialog = true;
        v.changed();
        expectEnabled(p, {IDC_ALPHA_BLEND, IDC_INFO, IDC_PALETTE}, {});
        QVERIFY(checked(p, IDC_ALPHA_BLEND));
        v.leader = true;
        v.changed();
        expectEnabled(p, {IDC_INFO}, {IDC_ALPHA_BLEND});

        p.detach(&v);
        QVERIFY(enabledIds(p).empty());
        QVERIFY(!v.hasControlListener());
    }

    void controlsCallTheAttachedViewAndTheDelayEditClamps()
    {
        QCOMPARE(CControlPanels::clampDelayText(QStringLiteral("1\u00A0000")), 1000);
        QCOMPARE(CControlPanels::clampDelayText(QString()), 10);
        CControlPanels p;
        FakeAnimation v;
        v.running = false;
        v.mode = 0;
        p.attach(&v);
        for (int id : {IDC_DIR_SE, IDC_DIR_W, IDC_PLAY, IDC_PREVIOUS, IDC_LAST, IDC_WIND_BACK}) button(p, id)->click();
        QCOMPARE(v.calls, (QStringList{QStringLiteral("dir3"), QStringLiteral("dir8"), QStringLiteral("play"),
                                       QStringLiteral("nav1"), QStringLiteral("nav3"), QStringLiteral("back")}));

        auto* edit = qobject_cast<QLineEdit*>(p.control(IDC_DELAY_EDIT));
        auto* slider = qobject_cast<QSlider*>(p.control(IDC_DELAY_SLIDER));
        // Typed values pass through values below 10 without being rewritten.
        struct Case {
            const char* typed;
            int delay;
        };
        for (const Case c : {Case{"25", 25}, Case{"5", 10}, Case{"2000", 1000}}) {
            edit->clear();
            QTest::keyClicks(edit, QString::fromLatin1(c.typed));
            emit edit->editingFinished();
            QCOMPARE(v.calls.last(), QStringLiteral("delay%1").arg(c.delay));
            QCOMPARE(edit->text(), QString::number(c.delay));
            QCOMPARE(slider->value(), c.delay);
        }
        QCOMPARE(text(p, IDC_DELAY_LABEL), QStringLiteral("(1000 ms)"));

        v.calls.clear();
        v.running = true;
        v.mode = 1;
        v.changed();
        for (int id : {IDC_DELAY_CUSTOM, IDC_PAUSE, IDC_STOP, IDC_INFO}) button(p, id)->click();
        QCOMPARE(v.calls, (QStringList{QStringLiteral("mode0"), QStringLiteral("pause"), QStringLiteral("stop"),
                                       QStringLiteral("info")}));
    }

    void expandedStatesAreKept()
    {
        WriteProfileInt("DlgBar", "Anim", 1);
        {
            CControlPanels p;
            QVERIFY(!p.rollup()->IsPageExpanded(kPanelDirection));
            QVERIFY(p.rollup()->IsPageExpanded(kPanelAnimation));
            p.rollup()->ExpandPage(kPanelSound, true);
            p.rollup()->ExpandPage(kPanelAnimation, false);
            p.SaveExpandedStates();
        }
        QCOMPARE(GetProfileInt("DlgBar", "Sound", -1), 1);
        QCOMPARE(GetProfileInt("DlgBar", "Anim", -1), 0);
        QCOMPARE(GetProfileInt("DlgBar", "Direct", -1), 0);
    }
};

QTEST_MAIN(FrameworkTest)
#include "app_framework.moc"
