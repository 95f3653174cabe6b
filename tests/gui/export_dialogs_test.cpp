// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Putting pictures and reports out of the program: the Info dialog's report against
// quorvane-cli info, Save Frame against quorvane-cli render (24 and 8 bits, resized),
// the image save dialog's size rules, area capture and the clipboard through a scripted
// capture, and the file dialogs with preview on good and broken files.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/command_ids.h"
#include "cli/cli_run.h"
#include "core/file_io.h"
#include "core/quantize.h"
#include "core/storyboard.h"
#include "dialogs/file_flc_dlg.h"
#include "dialogs/file_img_dlg.h"
#include "dialogs/file_wav_dlg.h"
#include "dialogs/flc_info_dlg.h"
#include "dialogs/preview_area.h"
#include "flc/flc_image.h"
#include "flc/flc_template.h"
#include "flc/flc_view.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/screen_capture.h"
#include "platform/ui/services.h"
#include "platform/ui/win_app.h"
#include "gui_harness.h"
#include "support/flc_builder.h"

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

Bytes read(const QString& path)
{
    Bytes b;
    readWholeFile(path.toStdString(), b);
    return b;
}

}  // namespace

class ExportDialogsTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    ScriptedScreenCapture capture_;

    static AnimationSpec fixture(int w, int h, bool leaderHead)
    {
        AnimationSpec a;
        a.width = w;
        a.height = h;
        a.leaderHead = leaderHead;
        a.directions = leaderHead ? 1 : 8;
        a.framesPerDirection = 3;
        return a;
    }
    CFlcView* open(const QString& file) { return openFile(file); }
    void cli(const QStringList& args)
    {
        std::string line;
        for (const QString& a : args) line += quote(a.toStdString()) + " ";
        const CliRun r = runCli(line, dir_->path().toStdString());
        QVERIFY2(r.status == 0, r.err.c_str());
    }
    // The image save dialog's depth for the next save (0 256 colours, 1 true colour).
    void chooseDepth(int index)
    {
        dialogs_.onRun = [index](CFileDialogX&, QWidget* area) {
            area->findChild<QComboBox*>(QStringLiteral("depth"))->setCurrentIndex(index);
        };
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
        QTest::addColumn<bool>("leaderHead");
        QTest::addColumn<QString>("file");  // a file of the user's, or empty for one made here
        QTest::newRow("unit") << false << QString();
        QTest::newRow("leader head without the extension") << true << QString();
        // QV_INFO_FILES=a.flc:b.flc compares the report of real animations as well.
        for (const QString& f : qEnvironmentVariable("QV_INFO_FILES").split(QLatin1Char(':'), Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(f)) << false << QFileInfo(f).absoluteFilePath();
    }
    void infoReportEqualsTheCli()
    {
        QFETCH(bool, leaderHead);
        QFETCH(QString, file);
        const QString flc = !file.isEmpty() ? file : writeFlc(QStringLiteral("a.flc"), fixture(30, 20, leaderHead), 40, 50);
        CFlcView* view = open(flc);
        QVERIFY(view);
        cli({QStringLiteral("info"), flc, QStringLiteral("-o"), path(QStringLiteral("cli.txt"))});

        // Save, once to a folder that does not exist (the dialog stays open and says
        // so), then where it can write.
        dialogs_.pick(path(QStringLiteral("missing/report.txt")));
        dialogs_.pick(path(QStringLiteral("report.txt")));
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<CFlcInfoDlg*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            shown = true;
            QCOMPARE(dlg->generalList()->topLevelItemCount(), 13);
            QCOMPARE(dlg->extendedList()->topLevelItemCount(), int(view->frameRecords().size()));
            QVERIFY(!dlg->saveReport());
            QCOMPARE(boxes_.shown().size(), size_t(1));
            QVERIFY(dlg->isVisible());
            QVERIFY(dlg->saveReport());
            dlg->accept();
        });
        view->OnCommand(ID_INFO);
        QVERIFY(shown);
        QCOMPARE(read(path(QStringLiteral("report.txt"))), read(path(QStringLiteral("cli.txt"))));
        QCOMPARE(GetProfileString(QStringLiteral("Dlg FlcInfo"), QStringLiteral("Last Opend")),
                 path(QStringLiteral("report.txt")));
    }

    void saveFrameEqualsTheCliRender_data()
    {
        QTest::addColumn<bool>("leaderHead");
        QTest::addColumn<int>("depth");  // the dialog's entry: 0 256 colours, 1 true colour
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("width");  // typed width, 0 to keep the frame's
        QTest::newRow("unit, 24-bit BMP") << false << 1 << 3 << 0;
        QTest::newRow("leader head, 24-bit BMP") << true << 1 << 3 << 0;
        QTest::newRow("unit, 8-bit PCX") << false << 0 << 1 << 0;
        QTest::newRow("unit, resized with the proportions kept") << false << 1 << 2 << 50;
    }
    void saveFrameEqualsTheCliRender()
    {
        QFETCH(bool, leaderHead);
        QFETCH(int, depth);
        QFETCH(int, filter);
        QFETCH(int, width);
        const QString flc = writeFlc(QStringLiteral("f.flc"), fixture(100, 80, leaderHead), 30, 12);
        CFlcView* view = open(flc);
        QVERIFY(view);
        view->navigate(IAnimationControl::NavNext);
        const int frame = int(view->playback().current());
        // The same frame over the same background colour.
        QStringList args{QStringLiteral("render"), flc, QStringLiteral("-o"), path(QStringLiteral("r.png")),
                         QStringLiteral("--frame"), QString::number(frame)};
        if (!leaderHead)
            args << QStringLiteral("--background") << QStringLiteral("#%1").arg(view->fillColor(), 6, 16, QLatin1Char('0'));
        cli(args);
        const QImage rendered = picture(path(QStringLiteral("r.png")));
        const QImage expected = leaderHead ? rendered : rendered.copy(30, 12, 100, 80);

        dialogs_.pick(path(QStringLiteral("out")), filter);  // the filter gives the format
        dialogs_.onRun = [depth, width](CFileDialogX&, QWidget* area) {
            area->findChild<QComboBox*>(QStringLiteral("depth"))->setCurrentIndex(depth);
            if (width) area->findChild<QSpinBox*>(QStringLiteral("width"))->setValue(width);
        };
        QVERIFY(CFlcImage().SaveFrameToFile(*view));
        const QString saved = path(filter == 3 ? QStringLiteral("out.bmp") : QStringLiteral("out.pcx"));
        PictorFileInfo info = PICTOR::FileInfo(saved);
        QCOMPARE(info.format, filter == 3 ? int(kPictorFormatBmp) : int(kPictorFormatPcx));
        QCOMPARE(info.bitsPerPixel, depth == 0 ? 8 : 24);
        if (width) {
            QCOMPARE(picture(saved).size(), QSize(50, 40));
            QCOMPARE(view->frameWidth(), 100);
            return;
        }
        PictorBitmap composed;
        composed.bitmap = fromQImage(expected.convertToFormat(QImage::Format_RGB888));
        QVERIFY(countColors(composed.bitmap) <= 256);  // so the 8-bit save loses nothing
        QCOMPARE(picture(saved), expected);
        QVERIFY(boxes_.shown().empty());
    }

    void imageSaveDialogSizeRules()
    {
        QCOMPARE(CFileImgDlg::proportional(100, 120.0 / 240.0), std::make_pair(100, 50));
        QCOMPARE(CFileImgDlg::proportional(9999, 2.0), std::make_pair(5000, 9999));
        CFlcImage image;
        image.bitmap() = PICTOR::CreateBitmap(240, 120, 24);
        // A 0 typed as the width is refused with a message and the dialog stays; the
        // user then sets the height, which keeps the proportions.
        dialogs_.pick(path(QStringLiteral("a.pcx")));
        dialogs_.pick(path(QStringLiteral("a.pcx")));
        int run = 0;
        dialogs_.onRun = [&run](CFileDialogX&, QWidget* area) {
            auto* w = area->findChild<QSpinBox*>(QStringLiteral("width"));
            if (run++ == 0)
                w->findChild<QLineEdit*>()->setText(QStringLiteral("0"));
            else
                area->findChild<QSpinBox*>(QStringLiteral("height"))->setValue(30);
        };
        QVERIFY(image.SaveToFile());
        QCOMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(picture(path(QStringLiteral("a.pcx"))).size(), QSize(60, 30));
        // Nothing to save: no dialog.
        QVERIFY(!CFlcImage().SaveToFile());
        QCOMPARE(dialogs_.seen().size(), size_t(1));
    }

    void captureGoesThroughTheReplaceableService()
    {
        QImage area(20, 10, QImage::Format_RGB32);
        area.fill(qRgb(10, 200, 30));
        area.setPixel(3, 4, qRgb(250, 1, 2));
        QApplication::clipboard()->setText(QStringLiteral("before"));

        capture_.picture = QImage();  // Escape: nothing changes, nothing is said
        QVERIFY(!CFlcImage().CopyToClipboard());
        QVERIFY(!CFlcImage().CopyToFile());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(dialogs_.seen().empty());
        QVERIFY(boxes_.shown().empty());

        capture_.picture = area;
        QVERIFY(CFlcImage().CopyToClipboard());
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), area);
        chooseDepth(1);
        dialogs_.pick(path(QStringLiteral("area.bmp")), 3);
        QVERIFY(CFlcImage().CopyToFile());
        QCOMPARE(picture(path(QStringLiteral("area.bmp"))), area);
        QCOMPARE(dragRectangle({5, 5}, {2, 3}, QRect(0, 0, 4, 100)), QRect(2, 3, 2, 3));
        QVERIFY(dragRectangle({5, 5}, {5, 5}, QRect(0, 0, 10, 10)).isEmpty());
    }

    void animationDialogPreviewsAndRefusesBrokenFiles()
    {
        const QString good = writeFlc(QStringLiteral("good.flc"), fixture(24, 16, false));
        Bytes cut = read(good);
        cut.resize(200);
        const QString broken = path(QStringLiteral("broken.flc"));
        writeFileAtomic(broken.toStdString(), cut);
        StoryboardInfo info;
        std::snprintf(info.baseName, sizeof info.baseName, "sheetless");
        info.sheetWidth = info.sheetHeight = 60;
        info.frameWidth = info.frameHeight = 10;
        info.framesPerDirection = info.directionCount = 1;
        const QString sheetless = path(QStringLiteral("sheetless.qsb"));
        QVERIFY(WriteQSB(sheetless.toStdString(), info));

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
        QCOMPARE(boxes_.shown().front().text, QStringLiteral("'%1'\r\nThe file has a wrong or unsupported format.").arg(broken));

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
        const QString junk = path(QStringLiteral("junk.bmp"));
        writeFileAtomic(junk.toStdString(), Bytes{'B', 'M', 1, 2, 3});
        CFileImgAllDlg images(QStringLiteral("Pictures|*.bmp||"));
        images.OnFileNameChange(junk);
        QVERIFY(!images.image().IsLoaded() && !images.infoText().isEmpty());
        images.OnFileNameChange(good);
        QCOMPARE(images.infoText(), QStringLiteral("7x5x8b"));
        dialogs_.pick(junk);
        dialogs_.pick(good);
        QCOMPARE(images.DoModal(), int(IDOK));
        QCOMPARE(images.GetPathName(), good);
        QCOMPARE(boxes_.shown().size(), size_t(1));

        RecordingPlayer player;
        setWavPreviewPlayer(&player);
        const QString wav = path(QStringLiteral("s.WAV"));
        const QString amb = path(QStringLiteral("s.amb"));
        writeFileAtomic(wav.toStdString(), Bytes{'R', 'I', 'F', 'F'});
        writeFileAtomic(amb.toStdString(), Bytes{0});
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
