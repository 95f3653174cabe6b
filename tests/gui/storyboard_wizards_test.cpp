// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The Export to Storyboard and New Storyboard wizards driven page by page: their files
// equal quorvane-cli's for the same settings, byte for byte; the refusals keep the wizard
// open; remembered settings; the live preview follows the settings and closes cleanly.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "cli/cli_run.h"
#include "core/palette_files.h"
#include "core/strings.h"
#include "flc/flc_template.h"
#include "flc/flc_view.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/win_app.h"
#include "storyboard/wizard_commands.h"
#include "storyboard/wizard_preview.h"
#include "gui_harness.h"
#include "support/flc_builder.h"
#include "view/background.h"

using namespace qv;
using namespace qv::test;

using Script = std::function<void(CStoryboardWizard*)>;
Q_DECLARE_METATYPE(Script)

namespace {

template <typename T>
T* ctl(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c) qFatal("no control %s", name);
    return c;
}
void check(QWidget* w, const char* name) { ctl<QAbstractButton>(w, name)->setChecked(true); }
void setSpin(QWidget* w, const char* name, int v) { ctl<QSpinBox>(w, name)->setValue(v); }
void setCombo(QWidget* w, const char* name, int i) { ctl<QComboBox>(w, name)->setCurrentIndex(i); }
void setText(QWidget* w, const char* name, const QString& t) { ctl<QLineEdit>(w, name)->setText(t); }

// Every file of `a` has an identical twin in `b`, and the other way round.
bool sameFolders(const QString& a, const QString& b)
{
    const QStringList names = QDir(a).entryList(QDir::Files, QDir::Name);
    if (names.isEmpty() || names != QDir(b).entryList(QDir::Files, QDir::Name)) {
        qWarning() << names << QDir(b).entryList(QDir::Files, QDir::Name);
        return false;
    }
    for (const QString& n : names) {
        Bytes x, y;
        readWholeFile(QDir(a).filePath(n).toStdString(), x);
        readWholeFile(QDir(b).filePath(n).toStdString(), y);
        if (x != y) {
            qWarning() << "differs:" << n;
            return false;
        }
    }
    return true;
}

}  // namespace

class StoryboardWizardsTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    QString folder(const QString& name) const
    {
        QDir().mkpath(path(name));
        return path(name) + QLatin1Char('/');
    }
    CFlcView* openUnit()
    {
        AnimationSpec anim;
        anim.framesPerDirection = 3;
        return openFile(writeFlc(QStringLiteral("Unit.flc"), anim));
    }
    void whenShown(const Script& script) { qvtest::whenShown<CStoryboardWizard>(this, script); }
    bool cli(const QString& args)
    {
        const CliRun r = runCli(args.toStdString(), dir_->path().toStdString());
        if (r.status != 0) qWarning() << r.err.c_str();
        return r.status == 0;
    }
    // A palette file with distinct colours.
    QString paletteFile()
    {
        const QString p = path(QStringLiteral("colours.act"));
        ExportPaletteToFile(p.toStdString(), testPalette(), 0);
        return p;
    }

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

    void exportMatchesCli_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("args");  // after "to-storyboard Unit.flc -o <folder>/"
        QTest::newRow("initial values") << Script([](CStoryboardWizard*) {}) << QStringLiteral("Unit.pcx");
        QTest::newRow("scaled BMP, 24 bits, Jasc, built-in smoke, no palette file")
            << Script([](CStoryboardWizard* w) {
                   check(w, "newNameRadio");
                   setText(w, "newName", QStringLiteral("Sheet"));
                   setCombo(w, "fileType", 1);
                   check(w, "changeSize");
                   setSpin(w, "width", 60);
                   setSpin(w, "height", 50);
                   check(w, "resize");
                   check(w, "changeFrames");
                   setSpin(w, "frames", 5);
                   check(w, "changeOffset");
                   setSpin(w, "left", 10);
                   setSpin(w, "top", 20);
                   check(w, "selectDelay");
                   setSpin(w, "delay", 300);
                   setCombo(w, "palType", 2);
                   check(w, "depth24");
                   check(w, "smokeHardcoded");
                   ctl<QCheckBox>(w, "makePal")->setChecked(false);
               })
            << QStringLiteral("Sheet.bmp --frame 60x50 --resize --frames-per-direction 5 --offset 10,20 --delay 300 "
                              "--palette-type jasc --depth 24 --smoke builtin --no-palette-file");
        QTest::newRow("centred, trimmed, automatic offset, civilization 3 while the view shows 2")
            << Script([](CStoryboardWizard* w) {
                   check(w, "changeSize");
                   setSpin(w, "width", 30);
                   setSpin(w, "height", 20);
                   check(w, "trim");
                   setSpin(w, "trimLeft", 2);
                   setSpin(w, "trimTop", 1);
                   setSpin(w, "trimRight", 28);
                   setSpin(w, "trimBottom", 19);
                   check(w, "autoOffset");
                   check(w, "selectPalette");
                   setCombo(w, "civ", 3);
                   ctl<QCheckBox>(w, "makeDefaultPal")->setChecked(false);
               })
            << QStringLiteral("Unit.pcx --frame 30x20 --trim 2,1,28,19 --offset 105,110 --civ 3 --view-civ 2 "
                              "--civ-source builtin --no-default-palette");
    }
    void exportMatchesCli()
    {
        QFETCH(Script, script);
        QFETCH(QString, args);
        CFlcView* view = openUnit();
        QVERIFY(view);
        if (args.contains(QLatin1String("--view-civ"))) view->changeCivilization(2);
        const QString gui = folder(QStringLiteral("gui")), byCli = folder(QStringLiteral("cli"));
        ExportStoryboardSettings used;
        whenShown([&](CStoryboardWizard* w) {
            ctl<QCheckBox>(w, "showPreview")->setChecked(false);
            setText(w, "outputDir", gui);
            script(w);
            w->accept();
        });
        QVERIFY(ExportToStoryboard(*view));
        QCOMPARE(boxes_.shown().back().text, QString::fromUtf8(str::IDS_WIZ_EXPORTED));
        QVERIFY(cli(QStringLiteral("to-storyboard %1 -o %2").arg(path(QStringLiteral("Unit.flc")), byCli + args)));
        QVERIFY(sameFolders(gui, byCli));
    }

    void newMatchesCli_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("args");  // after "new-storyboard -o <folder>/"
        QTest::newRow("defaults") << Script([](CStoryboardWizard*) {}) << QStringLiteral("Default.pcx");
        QTest::newRow("leader head from a palette file, BMP, RIFF")
            << Script([this](CStoryboardWizard* w) {
                   check(w, "leaderHead");
                   check(w, "filePalette");
                   setText(w, "palettePath", paletteFile());
                   setCombo(w, "fileType", 1);
                   setCombo(w, "palType", 1);
               })
            << QStringLiteral("Default.bmp --leader-head --palette-type riff --palette %PAL%");
        QTest::newRow("unit of 4 directions, civilization 5, smoke from a file")
            << Script([this](CStoryboardWizard* w) {
                   check(w, "newNameRadio");
                   setText(w, "newName", QStringLiteral("Walker"));
                   check(w, "selectDirections");
                   setCombo(w, "directions", 3);
                   check(w, "selectPalette");
                   setCombo(w, "civ", 5);
                   check(w, "changeSize");
                   setSpin(w, "width", 40);
                   setSpin(w, "height", 30);
                   check(w, "selectDelay");
                   setSpin(w, "delay", 200);
                   check(w, "smokeFile");
                   setText(w, "smokePath", paletteFile());
                   ctl<QCheckBox>(w, "makeDefaultPal")->setChecked(false);
               })
            << QStringLiteral("Walker.pcx --directions 4 --civ 5 --civ-source builtin --frame 40x30 --delay 200 "
                              "--no-default-palette --smoke %PAL%");
    }
    void newMatchesCli()
    {
        QFETCH(Script, script);
        QFETCH(QString, args);
        const QString gui = folder(QStringLiteral("gui")), byCli = folder(QStringLiteral("cli"));
        whenShown([&](CStoryboardWizard* w) {
            ctl<QCheckBox>(w, "showPreview")->setChecked(false);
            setText(w, "outputDir", gui);
            script(w);
            w->accept();
        });
        QVERIFY(CreateNewStoryboard(nullptr));
        QCOMPARE(boxes_.shown().back().text, QString::fromUtf8(str::IDS_WIZ_NEW_CREATED));
        args.replace(QStringLiteral("%PAL%"), path(QStringLiteral("colours.act")));
        QVERIFY(cli(QStringLiteral("new-storyboard -o %1").arg(byCli + args)));
        QVERIFY(sameFolders(gui, byCli));
    }

    // Each refusal keeps the wizard open with its pages as they were; nothing is written.
    void refusalsKeepTheWizardOpen()
    {
        CFlcView* view = openUnit();
        QVERIFY(view);
        const QString out = folder(QStringLiteral("out"));
        QStringList seen;
        whenShown([&](CStoryboardWizard* w) {
            setText(w, "outputDir", out);
            check(w, "newNameRadio");
            setText(w, "newName", {});
            w->accept();
            QVERIFY(w->isVisible());
            QVERIFY(ctl<QRadioButton>(w, "newNameRadio")->isChecked());
            setText(w, "newName", QStringLiteral("Sheet"));
            check(w, "smokeFile");
            setText(w, "smokePath", path(QStringLiteral("missing.act")));
            boxes_.answer(IDNO);
            w->accept();
            QVERIFY(w->isVisible());
            check(w, "smokeOriginal");
            setText(w, "outputDir", QStringLiteral("relative/folder"));
            w->accept();
            QVERIFY(w->isVisible());
            for (const auto& s : boxes_.shown()) seen << s.text;
            w->reject();
        });
        QVERIFY(!ExportToStoryboard(*view));
        QCOMPARE(seen, QStringList({QString::fromUtf8(str::IDS_WIZ_ENTER_BASE_NAME),
                                    QString::fromStdString(formatMessage(str::IDS_WIZ_PALETTE_ABSENT,
                                                                         {path(QStringLiteral("missing.act")).toStdString()})),
                                    QString::fromUtf8(str::IDS_WIZ_INVALID_TARGET_PATH)}));
        QVERIFY(QDir(out).isEmpty());
    }

    // Out-of-range values read as 0; the choices are written back on accepting; the
    // new wizard's remembered geometry comes back only with "Save Settings".
    void settingsAreRemembered()
    {
        const QString exp = QStringLiteral("Dlg ExpFlc"), nw = QStringLiteral("Dlg NewFlc");
        WriteProfileInt(exp, QStringLiteral("FileType"), 5);
        WriteProfileInt(exp, QStringLiteral("Pal Type"), 3);
        CFlcView* view = openUnit();
        QVERIFY(view);
        const QString out = folder(QStringLiteral("out"));
        whenShown([&](CStoryboardWizard* w) {
            QCOMPARE(ctl<QComboBox>(w, "fileType")->currentIndex(), 0);
            QCOMPARE(ctl<QComboBox>(w, "palType")->currentIndex(), 0);
            QCOMPARE(w->tabs()->currentIndex(), 0);
            setText(w, "outputDir", out);
            setCombo(w, "fileType", 1);
            setCombo(w, "palType", 2);
            check(w, "smokeHardcoded");
            w->accept();
        });
        QVERIFY(ExportToStoryboard(*view));
        QCOMPARE(GetProfileInt(exp, QStringLiteral("FileType"), -1), 1);
        QCOMPARE(GetProfileInt(exp, QStringLiteral("Pal Type"), -1), 2);
        QCOMPARE(GetProfileInt(exp, QStringLiteral("Pal32 Type"), -1), 1);
        QCOMPARE(GetProfileString(exp, QStringLiteral("Path")), out);

        WriteProfileInt(nw, QStringLiteral("Preview"), 0);
        {
            CStoryboardWizard w(CivPaletteSources{});
            check(&w, "leaderHead");
            NewStoryboardSettings s = w.newSettings();
            QCOMPARE(QList<int>({s.frameWidth, s.frameHeight, s.leftOffset, s.topOffset, s.directionCount}),
                     QList<int>({200, 240, 0, 0, 1}));
            check(&w, "unit");
            check(&w, "changeSize");
            setSpin(&w, "width", 70);
            check(&w, "saveSettings");
            setText(&w, "outputDir", out);
            w.accept();
            QCOMPARE(w.result(), int(QDialog::Accepted));
        }
        CStoryboardWizard again(CivPaletteSources{});
        QCOMPARE(again.newSettings().frameWidth, 70);
        QVERIFY(ctl<QCheckBox>(&again, "saveSettings")->isChecked());
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
        const QImage& shown = preview->picture()->sheet().display;
        QCOMPARE(shown.size(), QSize(made.sheet.width, made.sheet.height));
        for (int y = 0; y < made.sheet.height; ++y)
            for (int x = 0; x < made.sheet.width; ++x) {
                const PaletteEntry& c = made.sheet.palette[made.sheet.row(y)[x]];
                QCOMPARE(shown.pixel(x, y), qRgb(c.red, c.green, c.blue));
            }
        check(&w, "changeFrames");
        setSpin(&w, "frames", 7);
        QTRY_COMPARE(preview->picture()->sheet().size.width(), sheetWidthFor(24, 7));
        QVERIFY(!preview->busy());
        preview->close();
        QTRY_VERIFY(!w.preview());
        QVERIFY(!ctl<QCheckBox>(&w, "showPreview")->isChecked());
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
