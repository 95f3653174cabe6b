// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Export to Storyboard and New Storyboard wizards driven page by page: their files
// equal quorvane-cli's for the same settings, byte for byte; the refusals keep the wizard
// open; remembered settings; the live preview follows the settings and closes cleanly.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QtTest>

#include "cli/cli_run.h"
#include "core/palette_files.h"
#include "core/strings.h"
#include "gui_harness.h"
#include "platform/imaging/pictor.h"
#include "storyboard/wizard_commands.h"
#include "storyboard/wizard_preview.h"
#include "support/storyboard_builder.h"
#include "view/background.h"

using namespace qv;
using namespace qv::test;
using qvtest::setControls;

class StoryboardWizardsTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    QString folder(const QString& name) const
    {
        QDir().mkpath(path(name));
        return path(name) + QLatin1Char('/');
    }
    CFlcView* openUnit() { return openFile(writeFlc(QStringLiteral("Unit.flc"), qvtest::shape(24, 16, 3))); }

private slots:
    void initTestCase() { startGui("QuorvaneWizardsTest", false); }
    void init()
    {
        resetGui({"Options", "Dlg ExpFlc", "Dlg NewFlc", "Dlg Preview"});
        WriteProfileInt(QStringLiteral("Options"), QStringLiteral("ExpOpen"), 0);
        WriteProfileInt(QStringLiteral("Options"), QStringLiteral("Pal Type"), 1);  // the built-in schemes
        setViewDataFolders({dir_->path()});
    }
    void cleanup()
    {
        template_->CloseAllDocuments(false);
        setViewDataFolders({});
    }
    void cleanupTestCase() { stopGui(); }

    // %PAL% stands for a palette file of distinct colours.
    void wizardWritesTheCliFiles_data()
    {
        QTest::addColumn<bool>("newBoard");  // New Storyboard, else Export to Storyboard of Unit.flc
        QTest::addColumn<QString>("controls");
        QTest::addColumn<QString>("args");  // after "-o <folder>/"
        QTest::newRow("export, scaled BMP, 24 bits, Jasc, built-in smoke, no palette file")
            << false
            << "newNameRadio newName=Sheet fileType=1 changeSize width=60 height=50 resize changeFrames frames=5 "
               "changeOffset left=10 top=20 selectDelay delay=300 palType=2 depth24 smokeHardcoded makePal=0"
            << "Sheet.bmp --frame 60x50 --resize --frames-per-direction 5 --offset 10,20 --delay 300 "
               "--palette-type jasc --depth 24 --smoke builtin --no-palette-file";
        QTest::newRow("export, centred, trimmed, automatic offset, civilization 3 while the view shows 2")
            << false
            << "changeSize width=30 height=20 trim trimLeft=2 trimTop=1 trimRight=28 trimBottom=19 autoOffset "
               "selectPalette civ=3 makeDefaultPal=0"
            << "Unit.pcx --frame 30x20 --trim 2,1,28,19 --offset 105,110 --civ 3 --view-civ 2 --civ-source builtin "
               "--no-default-palette";
        QTest::newRow("new, leader head from a palette file, BMP, RIFF")
            << true << "leaderHead filePalette palettePath=%PAL% fileType=1 palType=1"
            << "Default.bmp --leader-head --palette-type riff --palette %PAL%";
        QTest::newRow("new, unit of 4 directions, civilization 5, smoke from a file")
            << true
            << "newNameRadio newName=Walker selectDirections directions=3 selectPalette civ=5 changeSize width=40 "
               "height=30 selectDelay delay=200 smokeFile smokePath=%PAL% makeDefaultPal=0"
            << "Walker.pcx --directions 4 --civ 5 --civ-source builtin --frame 40x30 --delay 200 "
               "--no-default-palette --smoke %PAL%";
    }
    void wizardWritesTheCliFiles()
    {
        QFETCH(bool, newBoard);
        QFETCH(QString, controls);
        QFETCH(QString, args);
        if (args.contains(QLatin1String("%PAL%"))) {
            const QString pal = path(QStringLiteral("colours.act"));
            ExportPaletteToFile(pal.toStdString(), testPalette(), 0);
            controls.replace(QStringLiteral("%PAL%"), pal);
            args.replace(QStringLiteral("%PAL%"), pal);
        }
        CFlcView* view = newBoard ? nullptr : openUnit();
        QVERIFY(newBoard || view);
        if (args.contains(QLatin1String("--view-civ"))) view->changeCivilization(2);
        const QString gui = folder(QStringLiteral("gui")), byCli = folder(QStringLiteral("cli"));
        whenShown<CStoryboardWizard>([&](CStoryboardWizard* w) {
            QVERIFY(setControls(w, QStringLiteral("showPreview=0 outputDir=%1 %2").arg(gui, controls)));
            w->accept();
        });
        QVERIFY(newBoard ? CreateNewStoryboard(nullptr) : ExportToStoryboard(*view));
        QCOMPARE(boxes_.shown().back().text,
                 QString::fromUtf8(newBoard ? str::IDS_WIZ_NEW_CREATED : str::IDS_WIZ_EXPORTED));
        const QString command = newBoard ? QStringLiteral("new-storyboard")
                                         : QStringLiteral("to-storyboard ") + path(QStringLiteral("Unit.flc"));
        const CliRun r =
            runCli(QStringLiteral("%1 -o %2").arg(command, byCli + args).toStdString(), dir_->path().toStdString());
        QVERIFY2(r.status == 0, r.err.c_str());
        const auto made = folderSnapshot(gui.toStdString()), expected = folderSnapshot(byCli.toStdString());
        QVERIFY(!made.empty());
        for (const auto& [name, bytes] : expected) QVERIFY2(made.count(name) && made.at(name) == bytes, name.c_str());
        QCOMPARE(made.size(), expected.size());
    }

    // Each refusal keeps the wizard open with its pages as they were; nothing is written.
    void refusalsKeepTheWizardOpen()
    {
        CFlcView* view = openUnit();
        QVERIFY(view);
        const QString out = folder(QStringLiteral("out")), missing = path(QStringLiteral("missing.act"));
        QStringList seen;
        whenShown<CStoryboardWizard>([&](CStoryboardWizard* w) {
            boxes_.answer(IDOK);
            boxes_.answer(IDNO);  // the second message: do not go on without the smoke palette
            for (const QString& step : {QStringLiteral("outputDir=%1 newNameRadio newName=").arg(out),
                                        QStringLiteral("newName=Sheet smokeFile smokePath=") + missing,
                                        QStringLiteral("smokeOriginal outputDir=relative/folder")}) {
                QVERIFY(setControls(w, step));
                w->accept();
                QVERIFY2(w->isVisible(), qPrintable(step));
                QVERIFY(w->findChild<QAbstractButton*>(QStringLiteral("newNameRadio"))->isChecked());
            }
            for (const auto& s : boxes_.shown()) seen << s.text;
            w->reject();
        });
        QVERIFY(!ExportToStoryboard(*view));
        QCOMPARE(seen, QStringList(
                           {QString::fromUtf8(str::IDS_WIZ_ENTER_BASE_NAME),
                            QString::fromStdString(formatMessage(str::IDS_WIZ_PALETTE_ABSENT, {missing.toStdString()})),
                            QString::fromUtf8(str::IDS_WIZ_INVALID_TARGET_PATH)}));
        QVERIFY(QDir(out).isEmpty());
    }

    // Out-of-range values read as 0; the choices are written back on accepting; the
    // new wizard's remembered geometry comes back only with "Save Settings".
    void settingsAreRemembered()
    {
        const QString exp = QStringLiteral("Dlg ExpFlc");
        WriteProfileInt(exp, QStringLiteral("FileType"), 5);
        WriteProfileInt(exp, QStringLiteral("Pal Type"), 3);
        CFlcView* view = openUnit();
        QVERIFY(view);
        const QString out = folder(QStringLiteral("out"));
        whenShown<CStoryboardWizard>([&](CStoryboardWizard* w) {
            QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("fileType"))->currentIndex(), 0);
            QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("palType"))->currentIndex(), 0);
            QVERIFY(setControls(w, QStringLiteral("outputDir=%1 fileType=1 palType=2 smokeHardcoded").arg(out)));
            w->accept();
        });
        QVERIFY(ExportToStoryboard(*view));
        QCOMPARE(GetProfileInt(exp, QStringLiteral("FileType"), -1), 1);
        QCOMPARE(GetProfileInt(exp, QStringLiteral("Pal Type"), -1), 2);
        QCOMPARE(GetProfileInt(exp, QStringLiteral("Pal32 Type"), -1), 1);
        QCOMPARE(GetProfileString(exp, QStringLiteral("Path")), out);

        WriteProfileInt(QStringLiteral("Dlg NewFlc"), QStringLiteral("Preview"), 0);
        {
            CStoryboardWizard w(CivPaletteSources{});
            QVERIFY(setControls(&w, QStringLiteral("changeSize width=70 saveSettings outputDir=") + out));
            w.accept();
            QCOMPARE(w.result(), int(QDialog::Accepted));
        }
        CStoryboardWizard again(CivPaletteSources{});
        QCOMPARE(again.newSettings().frameWidth, 70);
        QVERIFY(again.findChild<QCheckBox*>(QStringLiteral("saveSettings"))->isChecked());
    }

    // The preview shows the sheet the settings make, follows a change, and its own
    // closing clears "Show Preview"; with the box off no job is started.
    void previewFollowsTheSettings()
    {
        CFlcView* view = openUnit();
        QVERIFY(view);
        CStoryboardWizard w(exportSourceOf(*view), view->loadedPath(), CivPaletteSources{});
        w.show();
        QTRY_VERIFY(w.preview());
        CPreviewDlg* preview = w.preview();
        QTRY_COMPARE(preview->picture()->sheet().size, QSize(sheetWidthFor(24, 3), sheetHeightFor(16, 8)));
        // A sheet that fits is shown pixel for pixel in the colours the conversion gives it.
        StoryboardSheet made;
        QVERIFY(buildExportSheet(exportSourceOf(*view)->source, w.exportSettings(), {}, made));
        QCOMPARE(preview->picture()->sheet().display.convertToFormat(QImage::Format_RGB32),
                 toQImage(made.sheet).convertToFormat(QImage::Format_RGB32));
        QVERIFY(setControls(&w, QStringLiteral("changeFrames frames=7")));
        QTRY_COMPARE(preview->picture()->sheet().size.width(), sheetWidthFor(24, 7));
        preview->close();
        QTRY_VERIFY(!w.preview());
        QVERIFY(!w.findChild<QCheckBox*>(QStringLiteral("showPreview"))->isChecked());
        w.reject();
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg ExpFlc"), QStringLiteral("Preview"), 1), 0);

        CStoryboardWizard quiet(exportSourceOf(*view), view->loadedPath(), CivPaletteSources{});
        quiet.show();
        QTest::qWait(50);
        QVERIFY(!quiet.preview());
    }
};

QTEST_MAIN(StoryboardWizardsTest)
#include "storyboard_wizards_test.moc"
