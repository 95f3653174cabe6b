// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The About box on a running program: its command, the hidden word, the version line
// shared with `quorvane-cli version`, the pulsing title on the program's clock and the
// remembered position.
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include "app/editor_app.h"
#include "app/main_frame.h"
#include "app_support.h"
#include "dialogs/about_dlg.h"
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

// Runs the About command and hands the open box to `inside` (which closes it).
void runAbout(CEditorApp& app, const std::function<void(CAboutDlg&)>& inside)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        seen = true;
        inside(*dlg);
        if (dlg->isVisible()) dlg->accept();
    });
    app.RouteCommand(ID_APP_ABOUT);
    QVERIFY(seen);
}

}  // namespace

class AboutDialogTest : public QObject {
    Q_OBJECT
    qvtest::IsolatedSettings settings_;
    ScriptedMessageBoxes boxes_;
    ManualClock clock_;
    std::unique_ptr<CEditorApp> app_;

private slots:
    void initTestCase()
    {
        setMessageBoxService(&boxes_);
        setClock(&clock_);
        app_ = std::make_unique<CEditorApp>();
        app_->setArguments({});
        app_->setShowMainWindow(false);
        QVERIFY(app_->InitInstance());
    }
    void cleanupTestCase()
    {
        app_.reset();
        setClock(nullptr);
        setMessageBoxService(nullptr);
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
        QPoint left;
        runAbout(*app_, [&](CAboutDlg& dlg) {
            dlg.move(dlg.pos() + QPoint(37, 23));
            left = dlg.pos();
        });
        runAbout(*app_, [&](CAboutDlg& dlg) { QCOMPARE(dlg.pos(), left); });
        QVERIFY(boxes_.shown().empty());
    }
};

QTEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
