// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Putting pictures and reports out of the program: the Info dialog's report against
// quorvane-cli info, Save Frame against quorvane-cli render (24 and 8 bits, resized),
// Export Animation's file against quorvane-cli anim with the same choices,
// the image save dialog's size rules, area capture and the clipboard through a scripted
// capture, and the file dialogs with preview on good and broken files.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include "app/command_ids.h"
#include "cli/cli_run.h"
#include "dialogs/anim_export_dlg.h"
#include "dialogs/file_flc_dlg.h"
#include "dialogs/file_img_dlg.h"
#include "dialogs/file_wav_dlg.h"
#include "dialogs/flc_info_dlg.h"
#include "dialogs/preview_area.h"
#include "flc/flc_image.h"
#include "gui_harness.h"
#include "platform/ui/screen_capture.h"
#include "support/storyboard_builder.h"

using namespace qv;
using namespace qv::test;

namespace {

struct RecordingPlayer : IWavPreviewPlayer {
    QStringList played;
    void play(const QString& path, bool) override { played << path; }
    void stop() override {}
};

QImage picture(const QString& path)
{
    PictorBitmap b;
    PICTOR::LoadFile(path, b);
    return toQImage(b.bitmap).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class ExportDialogsTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    ScriptedScreenCapture capture_;

    void cli(const QStringList& args)
    {
        std::string line;
        for (const QString& a : args) line += quote(a.toStdString()) + " ";
        const CliRun r = runCli(line, dir_->path().toStdString());
        QVERIFY2(r.status == 0, r.err.c_str());
    }
    // The image save dialog's controls set as `controls` says for every save that follows.
    void setSaveControls(const QString& controls)
    {
        dialogs_.onRun = [controls](CFileDialogX&, QWidget* area) { QVERIFY(qvtest::setControls(area, controls)); };
    }

private slots:
    void initTestCase()
    {
        startGui("QuorvaneExportTest");
        setScreenCaptureService(&capture_);
    }
    void init() { resetGui({"Dlg Img", "Dlg Flc", "Dlg FlcInfo", "Dlg ImgPreview", "Dlg Wav", "Options"}); }
    void cleanup() { closeGui(); }
    void cleanupTestCase()
    {
        stopGui();
        setScreenCaptureService(nullptr);
    }

    void infoReportEqualsTheCli_data()
    {
        QTest::addColumn<QString>("file");  // a file of the user's, or empty for one made here
        QTest::newRow("unit") << QString();
        // QV_INFO_FILES=a.flc:b.flc compares the report of real animations as well.
        for (const QString& f : qEnvironmentVariable("QV_INFO_FILES").split(QLatin1Char(':'), Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(f)) << QFileInfo(f).absoluteFilePath();
    }
    // The report's lines are the core's (checked there for every kind of file); here the
    // dialog shows and saves them.
    void infoReportEqualsTheCli()
    {
        QFETCH(QString, file);
        const QString flc =
            !file.isEmpty() ? file : writeFlc(QStringLiteral("a.flc"), qvtest::shape(30, 20, 3), 40, 50);
        CFlcView* view = openFile(flc);
        QVERIFY(view);
        cli({QStringLiteral("info"), flc, QStringLiteral("-o"), path(QStringLiteral("cli.txt"))});

        // Save, once to a folder that does not exist (the dialog stays open and says
        // so), then where it can write.
        dialogs_.pick(path(QStringLiteral("missing/report.txt")));
        dialogs_.pick(path(QStringLiteral("report.txt")));
        qvtest::whenShown<CFlcInfoDlg>(this, [&](CFlcInfoDlg* dlg) {
            QCOMPARE(dlg->extendedList()->topLevelItemCount(), int(view->frameRecords().size()));
            QVERIFY(!dlg->saveReport());
            QCOMPARE(boxes_.shown().size(), size_t(1));
            QVERIFY(dlg->isVisible());
            QVERIFY(dlg->saveReport());
            dlg->accept();
        });
        view->OnCommand(ID_INFO);
        QCOMPARE(readFile(path(QStringLiteral("report.txt"))), readFile(path(QStringLiteral("cli.txt"))));
        QCOMPARE(GetProfileString(QStringLiteral("Dlg FlcInfo"), QStringLiteral("Last Opend")),
                 path(QStringLiteral("report.txt")));
    }

    void saveFrameEqualsTheCliRender_data()
    {
        QTest::addColumn<bool>("leaderHead");
        QTest::addColumn<QString>("controls");  // depth 0 is 256 colours, 1 true colour
        QTest::addColumn<int>("filter");        // 1 PCX, 3 BMP
        QTest::newRow("leader head, 24-bit BMP") << true << "depth=1" << 3;
        QTest::newRow("unit, 8-bit PCX") << false << "depth=0" << 1;
    }
    void saveFrameEqualsTheCliRender()
    {
        QFETCH(bool, leaderHead);
        QFETCH(QString, controls);
        QFETCH(int, filter);
        const QString flc = writeFlc(QStringLiteral("f.flc"), qvtest::shape(100, 80, 3, leaderHead), 30, 12);
        CFlcView* view = openFile(flc);
        QVERIFY(view);
        view->navigate(IAnimationControl::NavNext);
        // The same frame over the same background colour.
        QStringList args{QStringLiteral("render"), flc, QStringLiteral("-o"), path(QStringLiteral("r.png"))};
        args << QStringLiteral("--frame") << QString::number(view->playback().current());
        if (!leaderHead)
            args << QStringLiteral("--background")
                 << QStringLiteral("#%1").arg(view->fillColor(), 6, 16, QLatin1Char('0'));
        cli(args);
        const QImage rendered = picture(path(QStringLiteral("r.png")));
        const QImage expected = leaderHead ? rendered : rendered.copy(30, 12, 100, 80);

        dialogs_.pick(path(QStringLiteral("out")), filter);  // the filter gives the format
        setSaveControls(controls);
        QVERIFY(CFlcImage().SaveFrameToFile(*view));
        const QString saved = path(filter == 3 ? QStringLiteral("out.bmp") : QStringLiteral("out.pcx"));
        PictorFileInfo info = PICTOR::FileInfo(saved);
        QCOMPARE(info.format, filter == 3 ? int(kPictorFormatBmp) : int(kPictorFormatPcx));
        QCOMPARE(info.bitsPerPixel, controls.contains(QLatin1String("depth=0")) ? 8 : 24);
        // (The animation has few enough colours that the 8-bit save loses nothing.)
        QCOMPARE(picture(saved), expected);
        QVERIFY(boxes_.shown().empty());
    }

    void animationExportEqualsTheCli_data()
    {
        QTest::addColumn<QString>("file");  // a file of the user's, or empty for one made here
        QTest::addColumn<QString>("out");
        // direction: 0 all, d + 1 direction d; background: default, colour, sea, land, transparent
        QTest::addColumn<QString>("controls");
        QTest::addColumn<QString>("cliArgs");
        QTest::newRow("grid webp, transparent") << QString() << "g.webp"
                                                << "direction=0 grid=1 background=4 scale=2 lossy=0"
                                                << "--direction all --layout grid --background transparent --scale 2";
        QTest::newRow("one direction gif over a colour") << QString() << "d.gif"
                                                         << "direction=4 grid=0 background=1 scale=1 lossy=0"
                                                         << "--direction 3 --background #102030";
        QTest::newRow("lossy webp over sea") << QString() << "s.webp"
                                             << "direction=0 grid=0 background=2 scale=1 lossy=1 quality=60"
                                             << "--direction all --background sea --quality 60";
        // QV_ANIM_FILES=a.flc:b.flc compares real animations as well.
        int n = 0;
        for (const QString& f : qEnvironmentVariable("QV_ANIM_FILES").split(QLatin1Char(':'), Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(f)) << QFileInfo(f).absoluteFilePath() << QStringLiteral("r%1.gif").arg(++n)
                                         << "direction=0 grid=0 background=4 scale=1 lossy=0"
                                         << "--direction all --background transparent";
    }
    void animationExportEqualsTheCli()
    {
        QFETCH(QString, file);
        QFETCH(QString, out);
        QFETCH(QString, controls);
        QFETCH(QString, cliArgs);
        if (file.isEmpty()) {
            AnimationShape anim;
            anim.framesPerDirection = 2;
            anim.speed = 67;
            file = writeFlc(QStringLiteral("unit.flc"), anim, 90, 110);
        }
        CFlcView* view = openFile(file);
        QVERIFY(view);

        dialogs_.pick(path(out));
        qvtest::whenShown<CAnimExportDlg>(this, [&](CAnimExportDlg* dlg) {
            QVERIFY(qvtest::setControls(dlg, QStringLiteral("colour=#102030 loop=0 ") + controls));
            dlg->waitForEncoding();
            QVERIFY(!dlg->encoded().empty());
            const QString size = QLocale().toString(qulonglong(dlg->encoded().size()));
            QVERIFY(dlg->findChild<QLabel*>(QStringLiteral("size"))->text().contains(size));
            QVERIFY(!QFileInfo::exists(path(out)));  // nothing written before OK
            dlg->accept();
        });
        QVERIFY(ExportAnimation(*view, nullptr));
        QVERIFY(boxes_.shown().empty());

        const QString byCli = path(QStringLiteral("cli.") + out);
        cli(QStringList{QStringLiteral("anim"), file, QStringLiteral("-o"), byCli} + cliArgs.split(QLatin1Char(' ')));
        QVERIFY(readFile(path(out)) == readFile(byCli));  // not empty: the dialog had encoded it
    }

    // The size rules of the image save dialog, and area capture through the replaceable
    // service: Escape changes nothing and says nothing.
    void imageSaveSizeRulesAndCapture()
    {
        QCOMPARE(CFileImgDlg::proportional(9999, 2.0), std::make_pair(5000, 9999));
        CFlcImage image;
        image.bitmap() = PICTOR::CreateBitmap(240, 120, 24);
        // A 0 typed as the width is refused with a message and the dialog stays; the
        // user then sets the height, which keeps the proportions.
        dialogs_.pick(path(QStringLiteral("a.pcx")));
        dialogs_.pick(path(QStringLiteral("a.pcx")));
        int run = 0;
        dialogs_.onRun = [&run](CFileDialogX&, QWidget* area) {
            if (run++ == 0)
                area->findChild<QSpinBox*>(QStringLiteral("width"))
                    ->findChild<QLineEdit*>()
                    ->setText(QStringLiteral("0"));
            else
                QVERIFY(qvtest::setControls(area, QStringLiteral("height=30")));
        };
        QVERIFY(image.SaveToFile());
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(picture(path(QStringLiteral("a.pcx"))).size(), QSize(60, 30));
        QVERIFY(!CFlcImage().SaveToFile());  // nothing to save: no dialog (counted below)

        boxes_.clear();
        QImage area(20, 10, QImage::Format_RGB32);
        area.fill(qRgb(10, 200, 30));
        area.setPixel(3, 4, qRgb(250, 1, 2));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        capture_.picture = QImage();
        QVERIFY(!CFlcImage().CopyToClipboard());
        QVERIFY(!CFlcImage().CopyToFile());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(dialogs_.seen().size(), size_t(1));
        QVERIFY(boxes_.shown().empty());
        capture_.picture = area;
        QVERIFY(CFlcImage().CopyToClipboard());
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), area);
        setSaveControls(QStringLiteral("depth=1"));
        dialogs_.pick(path(QStringLiteral("area.bmp")), 3);
        QVERIFY(CFlcImage().CopyToFile());
        QCOMPARE(picture(path(QStringLiteral("area.bmp"))), area);
        QCOMPARE(dragRectangle({5, 5}, {2, 3}, QRect(0, 0, 4, 100)), QRect(2, 3, 2, 3));
        QVERIFY(dragRectangle({5, 5}, {5, 5}, QRect(0, 0, 10, 10)).isEmpty());
    }

    void animationDialogPreviewsAndRefusesBrokenFiles()
    {
        const QString good = writeFlc(QStringLiteral("good.flc"), qvtest::shape(24, 16, 3));
        Bytes cut = readFile(good);
        cut.resize(200);
        const QString broken = writeFile(QStringLiteral("broken.flc"), cut);
        const QString sheetless = path(QStringLiteral("sheetless.qsb"));
        QVERIFY(writeStoryboard(sheetless.toStdString(), StoryboardFixture{}));
        QVERIFY(QFile::remove(path(QStringLiteral("sheetless.pcx"))));

        QWidget host;
        CFileFlcDlg dlg(true, {}, {}, 0, QStringLiteral("FLC|*.flc;*.qsb||"));
        dlg.CreateCustomArea(&host);
        dlg.OnFileNameChange(good);
        dlg.waitForPreview();
        QVERIFY(dlg.currentPreview() && dlg.currentPreview()->loaded);
        QCOMPARE(dlg.previewArea()->frames().size(), size_t(3));  // the first direction plays
        QCOMPARE(dlg.infoText(), QStringLiteral("24 x 16, 24 frames"));
        for (const QString& bad : {broken, sheetless}) {
            dlg.OnFileNameChange(bad);
            dlg.waitForPreview();
            QVERIFY(!dlg.currentPreview()->loaded);
            QVERIFY(!dlg.previewArea()->hasPicture() && !dlg.previewArea()->text().isEmpty());
        }

        // Run through the file dialog service: the two bad choices are refused, each with
        // the message, and the good one is taken.
        CFileFlcDlg run(true, {}, {}, 0, QStringLiteral("FLC|*.flc;*.qsb||"));
        dialogs_.pick(broken);
        dialogs_.pick(sheetless);
        dialogs_.pick(good);
        QCOMPARE(run.DoModal(), int(IDOK));
        QCOMPARE(run.GetPathName(), good);
        QCOMPARE(boxes_.shown().size(), size_t(2));
        QCOMPARE(boxes_.shown().front().text,
                 QStringLiteral("'%1'\r\nThe file has a wrong or unsupported format.").arg(broken));

        // With the preview off any FLC file is taken unread, and the choice is kept.
        CFileFlcDlg off(true, {}, {}, 0, QStringLiteral("FLC|*.flc||"));
        off.setPreviewOn(false);
        dialogs_.pick(broken);
        QCOMPARE(off.DoModal(), int(IDOK));
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg Flc"), QStringLiteral("Preview"), 1), 0);
    }

    void pictureAndSoundDialogs()
    {
        const QString good = path(QStringLiteral("p.bmp"));
        PICTOR::SaveBitmap(good, PICTOR::CreateBitmap(7, 5, 8), kPictorFormatBmp, 8);
        const QString junk = writeFile(QStringLiteral("junk.bmp"), Bytes{'B', 'M', 1, 2, 3});
        CFileImgAllDlg images(QStringLiteral("Pictures|*.bmp||"));
        images.OnFileNameChange(good);
        QCOMPARE(images.infoText(), QStringLiteral("7x5x8b"));
        dialogs_.pick(junk);
        dialogs_.pick(good);
        QCOMPARE(images.DoModal(), int(IDOK));
        QCOMPARE(images.GetPathName(), good);
        QCOMPARE(boxes_.shown().size(), size_t(1));

        RecordingPlayer player;
        setWavPreviewPlayer(&player);
        const QString wav = writeFile(QStringLiteral("s.WAV"), Bytes{'R', 'I', 'F', 'F'});
        const QString amb = writeFile(QStringLiteral("s.amb"), Bytes{0});
        CFileWavDlg sounds(QStringLiteral("Sounds|*.wav;*.amb||"));
        sounds.OnFileNameChange(wav);
        QVERIFY(sounds.buttonsEnabled());
        QCOMPARE(player.played, QStringList{wav});
        sounds.OnFileNameChange(amb);
        QVERIFY(!sounds.buttonsEnabled());
        sounds.Play();
        QCOMPARE(player.played.size(), 1);  // nothing playable is selected
        setWavPreviewPlayer(nullptr);
    }
};

QTEST_MAIN(ExportDialogsTest)
#include "export_dialogs_test.moc"
