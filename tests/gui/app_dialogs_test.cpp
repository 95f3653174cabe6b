// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The About box and the Options dialog on a running program. About: its command and
// remembered position, the hidden word, the version line shared with `quorvane-cli
// version`, the pulsing title on the program's clock. Options: every control round-trips to
// its setting, the dependent controls, Default, out-of-range and malformed values, the
// association box, and the built-in civilization schemes on a machine without the game.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <algorithm>
#include <tuple>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app_support.h"
#include "dialogs/about_dlg.h"
#include "dialogs/options_dlg.h"
#include "platform/ui/std_commands.h"

using namespace qv;

class AppDialogsTest : public QObject, qvtest::EditorHarness {
    Q_OBJECT

private slots:
    void initTestCase() { startEditorServices("AppDialogs"); }
    void cleanupTestCase() { stopEditor(); }
    void init()
    {
        resetEditor();
        QVERIFY(startEditor());
    }

    // The command opens the box where it was left. Typing "thanks" in it shows the thanks
    // once; a stray key empties the word and a T starts it again.
    void aboutBoxByItsCommand()
    {
        QVERIFY(app_->mainWindow()->RouteUpdate(ID_APP_ABOUT).enabled);
        QPoint left;
        whenShown<CAboutDlg>([&](CAboutDlg* dlg) {
            const auto close = qScopeGuard([dlg] { dlg->accept(); });  // also when a check fails
            // Keys go to the text box, which passes the letters on to the box: one press each.
            QTest::keyClicks(dlg->text, QStringLiteral("thaxnks"));
            QVERIFY(!dlg->text->toPlainText().contains(QLatin1String("libimagequant")));
            QTest::keyClicks(dlg->text, QStringLiteral("tthanks"));
            QVERIFY(dlg->text->toPlainText().contains(QLatin1String("libimagequant")));
            dlg->text->clear();
            QTest::keyClicks(dlg->okButton, QStringLiteral("thanks"));
            QVERIFY(dlg->text->toPlainText().isEmpty());
            dlg->move(dlg->pos() + QPoint(37, 23));
            left = dlg->pos();
        });
        app_->RouteCommand(ID_APP_ABOUT);
        CAboutDlg again(app_->mainWindow());
        again.show();
        QVERIFY(!left.isNull());
        QCOMPARE(again.pos(), left);
    }

    // The version line is what `quorvane-cli version` prints; the title pulses on the
    // program's clock and is drawn in the blue of the moment.
    void versionLineAndPulsingTitle()
    {
        CAboutDlg::resetPulse();
        CAboutDlg dlg(app_->mainWindow());
        dlg.show();
        for (const char* arg : {"version", "--version"}) {
            QProcess cli;
            cli.start(QStringLiteral(QV_CLI_PATH), {QString::fromLatin1(arg)});
            QVERIFY(cli.waitForFinished(60000));
            QCOMPARE(cli.exitCode(), 0);
            QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()), dlg.version->text() + QLatin1Char('\n'));
        }
        QVERIFY(dlg.version->text().startsWith(QStringLiteral("Build: " QUORVANE_VERSION)));

        // {ms the clock advances, intensity after the timer}: down by 10 every 50 ms to
        // 25, then back up; a stall of whole cycles keeps the place in the cycle.
        const std::pair<uint32_t, int> steps[] = {{49, 255}, {1, 245},    {100, 225}, {950, 35},          {50, 25},
                                                  {50, 35},  {1100, 255}, {50, 245},  {46 * 50 * 20, 245}};
        for (auto [ms, expected] : steps) {
            clock_.advance(ms);
            dlg.OnTimer();
            QCOMPARE(CAboutDlg::intensity(), expected);
        }
        // The title's pixels drawn in exactly the blue of `intensity`.
        const auto bluePixels = [&](int intensity) {
            const QImage img = dlg.title->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const auto* pixels = reinterpret_cast<const QRgb*>(img.constBits());
            return std::count(pixels, pixels + img.width() * img.height(), qRgb(0, 0, intensity));
        };
        QVERIFY(bluePixels(245) > 0);
        QCOMPARE(bluePixels(255), 0);
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
        dlg.associate->setChecked(false);  // the test's scratch desktop has them registered
        dlg.maxMru->setValue(12);
        dlg.palFolder->setChecked(true);
        dlg.palDir->setText(QStringLiteral("/pals"));
        dlg.Apply();
        QVERIFY(!app_->editorDocManager()->CheckFileTypes());
        boxes_.answer(IDNO);
        dlg.OnDefault();
        QCOMPARE(GetProfileInt("Options", "Max MRU", -1), 12);
        boxes_.answer(IDYES);
        dlg.OnDefault();
        QCOMPARE(boxes_.shown().back().text, QStringLiteral("Do you really want to set default value?"));
        QCOMPARE(boxes_.shown().back().flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
        QVERIFY(!HasProfileValue("Options", "Max MRU"));
        QCOMPARE(GetProfileString("Options", "Pal Dir"), QStringLiteral("/pals"));
        QCOMPARE(app_->maxRecentFiles(), 4);
        QVERIFY(dlg.associate->isChecked() && app_->editorDocManager()->CheckFileTypes());
        // Without the game the built-in schemes are the default; the game chosen on purpose is kept.
        QCOMPARE(app_->civPaletteSource(), 1);
        QVERIFY(dlg.palResources->isChecked() && !dlg.builtinNote->isHidden());
        dlg.palGame->setChecked(true);
        dlg.Apply();
        QCOMPARE(app_->civPaletteSource(), 0);
        QVERIFY(dlg.builtinNote->isHidden());
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
        QVERIFY(startEditor());
        QCOMPARE(app_->maxRecentFiles(), 4);
        QCOMPARE(app_->animationType(), 0);
        COptionsDlg dlg(app_->mainWindow());
        QVERIFY(dlg.xpStyle->isChecked() && dlg.specialBorder->isChecked());
        QVERIFY(!dlg.buttonEffects->isChecked() && !dlg.buttonIcons->isChecked());  // only the two known bits
        QVERIFY(dlg.palGame->isChecked());
    }
};

QTEST_MAIN(AppDialogsTest)
#include "app_dialogs_test.moc"
