// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The About box and the Options dialog on a running program. About: its command, the
// hidden word, the version line shared with `quorvane-cli version`, the pulsing title on
// the program's clock and the remembered position. Options: every control round-trips to
// its setting, the dependent controls, Default, out-of-range and malformed values, the
// association box, and the built-in civilization schemes on a machine without the game.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>
#include <tuple>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "app/main_frame.h"
#include "app_support.h"
#include "dialogs/about_dlg.h"
#include "dialogs/options_dlg.h"
#include "gui_harness.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/std_commands.h"

using namespace qv;

namespace {

// The title's pixels drawn in exactly the blue of `intensity`.
int bluePixels(CAboutDlg& dlg, int intensity)
{
    const QImage img = dlg.title->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFFu) == unsigned(intensity);
    return n;
}

}  // namespace

class AppDialogsTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;
    ScriptedMessageBoxes boxes_;
    ScriptedFileDialogs dialogs_;
    ManualClock clock_;
    std::unique_ptr<CEditorApp> app_;

    void restart()
    {
        app_.reset();
        app_ = std::make_unique<CEditorApp>();
        app_->setArguments({});
        app_->setShowMainWindow(false);
        QVERIFY(app_->InitInstance());
    }

private slots:
    void initTestCase()
    {
        setMessageBoxService(&boxes_);
        setFileDialogService(&dialogs_);
        setClock(&clock_);
    }
    void cleanupTestCase()
    {
        app_.reset();
        setMessageBoxService(nullptr);
        setFileDialogService(nullptr);
        setClock(nullptr);
    }
    void init()
    {
        app_.reset();  // before the settings go
        settings_.clear();
        boxes_.clear();
        restart();
    }

    void hiddenWord_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("shown");
        QTest::newRow("lower case") << "thanks" << true;
        QTest::newRow("stray key empties the word") << "thaxnks" << false;
        QTest::newRow("second T restarts") << "tthanks" << true;
        QTest::newRow("after a wrong S") << "thansthanks" << true;
        QTest::newRow("space in between") << "than ks" << false;
        QTest::newRow("unfinished") << "thank" << false;
    }
    void hiddenWord()
    {
        QFETCH(QString, typed);
        QFETCH(bool, shown);
        CAboutDlg dlg(app_->mainWindow());
        dlg.show();
        const QString licence = dlg.text->toPlainText();
        // Keys go to the text box, which passes the letters on to the box: one press each.
        QTest::keyClicks(dlg.text, typed);
        QCOMPARE(dlg.thanksShown(), shown);
        QCOMPARE(dlg.text->toPlainText().contains(QLatin1String("libimagequant")), shown);
        QCOMPARE(dlg.text->toPlainText() == licence, !shown);
        if (shown) {  // once shown, the word does nothing more
            dlg.text->clear();
            QTest::keyClicks(dlg.okButton, QStringLiteral("thanks"));
            QVERIFY(dlg.text->toPlainText().isEmpty());
        }
    }

    void versionLineIsTheCliOutput()
    {
        CAboutDlg dlg(app_->mainWindow());
        for (const char* arg : {"version", "--version"}) {
            QProcess cli;
            cli.start(QStringLiteral(QV_CLI_PATH), {QString::fromLatin1(arg)});
            QVERIFY(cli.waitForFinished(60000));
            QCOMPARE(cli.exitCode(), 0);
            QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()), dlg.version->text() + QLatin1Char('\n'));
        }
        QVERIFY(dlg.version->text().startsWith(QStringLiteral("Build: " QUORVANE_VERSION)));
    }

    void titlePulsesWithTheClock()
    {
        CAboutDlg::resetPulse();
        CAboutDlg dlg(app_->mainWindow());
        dlg.show();
        QVERIFY(bluePixels(dlg, 255) > 0);
        // {ms the clock advances, intensity after the timer}: down by 10 every 50 ms to
        // 25, then back up; a stall of whole cycles keeps the place in the cycle.
        const std::pair<uint32_t, int> steps[] = {{49, 255}, {1, 245},    {100, 225}, {950, 35},          {50, 25},
                                                  {50, 35},  {1100, 255}, {50, 245},  {46 * 50 * 20, 245}};
        for (auto [ms, expected] : steps) {
            clock_.advance(ms);
            dlg.OnTimer();
            QCOMPARE(CAboutDlg::intensity(), expected);
        }
        QVERIFY(bluePixels(dlg, 245) > 0);
        QCOMPARE(bluePixels(dlg, 255), 0);
    }

    void commandOpensTheBoxWhereItWasLeft()
    {
        QVERIFY(app_->mainWindow()->RouteUpdate(ID_APP_ABOUT).enabled);
        QPoint left, opened;
        qvtest::whenShown<CAboutDlg>(this, [&](CAboutDlg* dlg) {
            dlg->move(dlg->pos() + QPoint(37, 23));
            left = dlg->pos();
            dlg->accept();
        });
        app_->RouteCommand(ID_APP_ABOUT);
        qvtest::whenShown<CAboutDlg>(this, [&](CAboutDlg* dlg) {
            opened = dlg->pos();
            dlg->accept();
        });
        app_->RouteCommand(ID_APP_ABOUT);
        QVERIFY(!left.isNull());
        QCOMPARE(opened, left);
        QVERIFY(boxes_.shown().empty());
    }
    void everyControlRoundTripsAndOkReachesTheProgram()
    {
        QVERIFY(app_->mainWindow()->RouteUpdate(ID_OPTIONS).enabled);
        {
            COptionsDlg dlg(app_->mainWindow());
            QVERIFY(!dlg.applyButton->isEnabled());
            for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{dlg.reloadLast, dlg.oldStyle, dlg.pause})
                b->setChecked(true);
            for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
                     dlg.checkAtStartup, dlg.showToolBar, dlg.showStatusBar, dlg.specialBorder, dlg.disabledSelection,
                     dlg.gloom, dlg.buttonIcons, dlg.buttonEffects, dlg.expOpen, dlg.expAsk})
                b->setChecked(false);
            dlg.maxMru->setValue(9);
            // The old style has no gloom, icons go with the effects, Browse with the folder.
            QVERIFY(!dlg.gloom->isEnabled() && !dlg.buttonIcons->isEnabled() && !dlg.browse->isEnabled());
            dlg.palFolder->setChecked(true);
            QVERIFY(dlg.browse->isEnabled() && dlg.del->isEnabled());
            dialogs_.pick(QStringLiteral("/pals"));
            dlg.browse->click();
            QCOMPARE(dlg.palDir->text(), QStringLiteral("/pals"));
            dlg.tabs->setCurrentIndex(2);
            QVERIFY(dlg.applyButton->isEnabled());
            dlg.okButton->click();
        }
        const std::tuple<const char*, const char*, int> stored[] = {
            {"Options", "Check File Type", 0}, {"Options", "Load Doc", 1},
            {"Options", "Max MRU", 9},         {"Options", "Show ToolBar", 0},
            {"Options", "Show StatusBar", 0},  {"Menu", "Style", 1},
            {"Menu", "Selection", 0},          {"Menu", "Gloom", 0},
            {"ButtonX", "Settings", 3},        {"Options", "Pal Type", 2},
            {"Options", "Anim Type", 1},       {"Options", "ExpOpen", 0},
            {"Options", "ExpAsk", 0},          {"Dlg Options", "CurTab", 2}};
        for (auto [section, entry, expected] : stored) QVERIFY2(GetProfileInt(section, entry, -1) == expected, entry);
        QCOMPARE(GetProfileString("Options", "Pal Dir"), QStringLiteral("/pals"));
        QCOMPARE(app_->maxRecentFiles(), 9);  // at once, without a restart
        QCOMPARE(app_->animationType(), 1);

        COptionsDlg again(app_->mainWindow());
        QCOMPARE(again.tabs->currentIndex(), 2);
        QVERIFY(again.oldStyle->isChecked() && !again.specialBorder->isChecked() && !again.gloom->isEnabled());
        QVERIFY(!again.buttonEffects->isChecked() && !again.buttonIcons->isChecked());
        QVERIFY(again.palFolder->isChecked() && again.pause->isChecked() && again.reloadLast->isChecked());
        QCOMPARE(again.maxMru->value(), 9);
    }

    // Default asks, then removes the choices but keeps the palette folder; the
    // association box registers or removes the file types.
    void defaultAndTheAssociationBox()
    {
        COptionsDlg dlg(app_->mainWindow());
        QVERIFY(dlg.associate->isChecked());  // the test's scratch desktop has them registered
        dlg.associate->setChecked(false);
        dlg.maxMru->setValue(12);
        dlg.palFolder->setChecked(true);
        dlg.palDir->setText(QStringLiteral("/pals"));
        dlg.Apply();
        QVERIFY(!app_->editorDocManager()->CheckFileTypes());
        for (int answer : {IDNO, IDCANCEL}) {
            boxes_.answer(answer);
            dlg.OnDefault();
            QCOMPARE(GetProfileInt("Options", "Max MRU", -1), 12);
        }
        boxes_.answer(IDYES);
        dlg.OnDefault();
        QCOMPARE(boxes_.shown().back().text, QStringLiteral("Do you really want to set default value?"));
        QCOMPARE(boxes_.shown().back().flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
        QVERIFY(!HasProfileValue("Options", "Max MRU"));
        QVERIFY(!HasProfileValue("Options", "Pal Type"));
        QCOMPARE(GetProfileString("Options", "Pal Dir"), QStringLiteral("/pals"));
        QCOMPARE(dlg.maxMru->value(), 4);
        QCOMPARE(app_->maxRecentFiles(), 4);
        QVERIFY(dlg.associate->isChecked() && app_->editorDocManager()->CheckFileTypes());
    }

    void outOfRangeAndMalformedValuesShowDefaults()
    {
        QSettings s(QStringLiteral("Velmora"), QStringLiteral("Quorvane"));
        s.setValue(QStringLiteral("Options/Max MRU"), 99);
        s.setValue(QStringLiteral("Options/Anim Type"), QStringLiteral("fast"));
        s.setValue(QStringLiteral("Options/Pal Type"), 7);
        s.setValue(QStringLiteral("Menu/Style"), -3);
        s.setValue(QStringLiteral("ButtonX/Settings"), 0x7fff);
        s.sync();
        ReloadProfile();
        restart();
        QCOMPARE(app_->maxRecentFiles(), 4);
        QCOMPARE(app_->animationType(), 0);
        COptionsDlg dlg(app_->mainWindow());
        QCOMPARE(dlg.maxMru->value(), 4);
        QVERIFY(dlg.play->isChecked());
        QVERIFY(dlg.xpStyle->isChecked() && dlg.specialBorder->isChecked());
        QVERIFY(!dlg.buttonEffects->isChecked() && !dlg.buttonIcons->isChecked());  // only the two known bits
        QVERIFY(dlg.palGame->isChecked());
        dlg.Apply();
        QCOMPARE(GetProfileInt("Options", "Max MRU", -1), 4);
        QCOMPARE(GetProfileInt("Menu", "Style", -1), 2);
    }

    void withoutTheGameTheBuiltinSchemesAreUsedUntilASourceIsChosen()
    {
        QVERIFY(!app_->baseGameFound());
        QCOMPARE(app_->civPaletteSource(), 1);
        COptionsDlg dlg(app_->mainWindow());
        QVERIFY(dlg.palResources->isChecked());
        QVERIFY(!dlg.builtinNote->isHidden());
        dlg.palGame->setChecked(true);  // chosen on purpose: kept, even without the game
        dlg.Apply();
        QCOMPARE(app_->civPaletteSource(), 0);
        QVERIFY(dlg.builtinNote->isHidden());
    }
};

QTEST_MAIN(AppDialogsTest)
#include "app_dialogs_test.moc"
