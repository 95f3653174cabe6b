// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The animation view's Offset and Zoom dialogs: offsets clamped to the unit area and
// applied while the dialog is open, Cancel restoring them, Save after Change Offset
// writing the offsets without touching a frame byte; the zoom percentage, fit mode,
// scroll bar rules, kept settings, and saving the zoomed picture.
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

#include "app/command_ids.h"
#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "gui_harness.h"
#include "platform/imaging/pictor.h"
#include "platform/ui/mdi_child.h"
#include "view/offset_dlg.h"
#include "view/save_image.h"
#include "view/zooming_dlg.h"

using namespace qv;
using namespace qv::test;

class ViewDialogsTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    // The first pixel of the frame last drawn that shows in its own colour (not keyed
    // out, not blended), and that colour.
    static QPoint plainPixel(CFlcView* view, PaletteEntry& colour)
    {
        const AnimFrame& frame = view->frames().at(view->playback().lastDrawn());
        for (size_t i = 0; i < frame.pixels.size(); ++i)
            if (frame.pixels[i] < kLightFirst) {
                colour = view->displayPalette()[frame.pixels[i]];
                return QPoint(int(i) % frame.width(), int(i) / frame.width());
            }
        return {};
    }
    static void clickSave(CZoomingDlg* dlg) { dlg->findChild<QPushButton*>(QStringLiteral("save"))->click(); }

private slots:
    void initTestCase() { startGui("QuorvaneViewDialogsTest"); }
    void init() { resetGui({"Options", "Dlg Zooming", "Dlg Img"}); }
    void cleanup() { closeGui(); }
    void cleanupTestCase() { stopGui(); }

    void offsetsAreClampedAppliedAtOnceAndSavedWithoutAFrameByte()
    {
        QString file;
        CFlcView* view = openAnimation(qvtest::shape(100, 80, 2), 30, 12, &file);
        QVERIFY(view && view->isLoaded());
        const Bytes before = readFile(file);
        {
            COffsetDlg dlg(view);
            QCOMPARE(dlg.findChild<QLabel*>(QStringLiteral("current"))->text(),
                     QStringLiteral("Current: Left: 30, Top: 12 pixels"));
            QCOMPARE(dlg.leftBox()->maximum(), 239);
            // The spin buttons offer 0..239, but a 100 x 80 frame stops at 140 x 160.
            dlg.leftBox()->setValue(200);
            QCOMPARE(dlg.leftBox()->value(), 140);
            QCOMPARE(view->leftOffset(), 140);
            dlg.topBox()->setValue(239);
            QCOMPARE(view->topOffset(), 160);
            dlg.leftBox()->setValue(7);

            // The frame moves at once; Cancel puts it back.
            view->OnCommand(ID_STOP);
            view->RequestRedraw();
            view->RenderTick();
            PaletteEntry colour;
            const QPoint p = plainPixel(view, colour);
            QCOMPARE(view->device()->backBuffer().pixel(QPoint(7, 160) + p) & 0xFFFFFFu, colour.rgb());
            dlg.reject();
            QCOMPARE(view->leftOffset(), 30);
            QCOMPARE(view->topOffset(), 12);
            QVERIFY(!view->isDocumentModified());
        }

        // Through the command, accepted: unsaved, and the window says so until Save.
        whenShown<COffsetDlg>([](COffsetDlg* dlg) {
            dlg->leftBox()->setValue(239);  // kept at 240 - 100
            dlg->topBox()->setValue(5);
            dlg->accept();
        });
        QVERIFY(view->OnCommand(ID_CHANGE_OFFSET));
        QCOMPARE(view->header().leftOffset, uint16_t(140));
        QVERIFY(view->GetParentFrame()->shownTitle().endsWith(QLatin1Char('*')));
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        QVERIFY(!view->GetParentFrame()->shownTitle().endsWith(QLatin1Char('*')));
        const Bytes after = readFile(file);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(getLE16(after.data() + 100), uint16_t(140));
        QCOMPARE(getLE16(after.data() + 102), uint16_t(5));
        QVERIFY(std::equal(before.begin() + kFlcHeaderSize, before.end(), after.begin() + kFlcHeaderSize));

        // A leader head has no offsets to change: the dialog does not open.
        CFlcView* leader = openAnimation(qvtest::shape(60, 40, 2, true));
        QVERIFY(leader->OnCommand(ID_CHANGE_OFFSET));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void zoomDialogKeepsItsSettingsAndScrollRules()
    {
        WriteProfileInt(QStringLiteral("Dlg Zooming"), QStringLiteral("Zoom"), 0);  // out of range: 100
        PictorBitmap picture = PICTOR::CreateBitmap(40, 30, 24);
        {
            CZoomingDlg dlg(picture);
            dlg.resize(300, 300);
            QCOMPARE(dlg.zoomCombo()->currentText(), QStringLiteral("100%"));
            dlg.zoomInButton()->click();
            QCOMPARE(dlg.zoom(), 150);
            dlg.zoomOutButton()->click();
            dlg.zoomOutButton()->click();
            QCOMPARE(dlg.zoom(), 75);
            // A typed percentage is taken when the box is left, and written back as "%d%".
            dlg.zoomCombo()->setEditText(QStringLiteral("400"));
            emit dlg.zoomCombo()->lineEdit()->returnPressed();
            QCOMPARE(dlg.zoomCombo()->currentText(), QStringLiteral("400%"));
            QCOMPARE(dlg.pictureRect().size(), QSize(160, 120));

            // Scroll bars: 0..100, page 10; steps never go below 2.
            QScrollBar* h = dlg.horizontalBar();
            const struct {
                QAbstractSlider::SliderAction action;
                int value;
            } steps[] = {{QAbstractSlider::SliderSingleStepAdd, 2}, {QAbstractSlider::SliderPageStepAdd, 12},
                         {QAbstractSlider::SliderPageStepSub, 2},   {QAbstractSlider::SliderToMaximum, 100},
                         {QAbstractSlider::SliderToMinimum, 2}};
            for (const auto& s : steps) {
                h->triggerAction(s.action);
                QCOMPARE(h->value(), s.value);
            }

            // Fit mode: the picture fills the area with its proportions; the zoom
            // controls rest.
            dlg.setFit(true);
            for (QWidget* w : std::initializer_list<QWidget*>{dlg.zoomCombo(), h, dlg.verticalBar(), dlg.zoomInButton()})
                QVERIFY(!w->isEnabled());
            const QRect fitted = dlg.pictureRect();
            const QSize area = dlg.pictureArea()->size();
            QVERIFY(fitted.width() == area.width() || fitted.height() == area.height());
            QVERIFY(area.width() >= fitted.width() && area.height() >= fitted.height());
            QVERIFY(std::abs(fitted.width() * 30 - fitted.height() * 40) <= 40);
            dlg.reject();
        }
        QCOMPARE(GetProfileInt(QStringLiteral("Dlg Zooming"), QStringLiteral("Fit"), 0), 1);
        CZoomingDlg again(picture);
        QCOMPARE(again.zoom(), 400);
        QVERIFY(again.fit());
    }

    void zoomSavesTheComposedFrameAtTheZoomedSize()
    {
        CFlcView* view = openAnimation(qvtest::shape(100, 80, 2), 30, 12);
        QVERIFY(view && view->isLoaded());
        view->OnCommand(ID_STOP);
        QImage composed;
        QVERIFY(view->CaptureComposedFrame(composed));
        QCOMPARE(composed.size(), QSize(240, 240));
        PaletteEntry expect;
        const QPoint p = plainPixel(view, expect);
        QCOMPARE(composed.pixel(QPoint(30, 12) + p) & 0xFFFFFFu, expect.rgb());
        QCOMPARE(composed.pixel(0, 0) & 0xFFFFFFu, view->fillColor());

        // 200%, saved with the BMP filter under a name typed with another extension; the
        // dialog starts in the animation's folder.
        WriteProfileInt(QStringLiteral("Dlg Zooming"), QStringLiteral("Zoom"), 200);
        dialogs_.pick(path(QStringLiteral("zoomed.v2")), 3);
        dialogs_.onRun = [](CFileDialogX&, QWidget* area) {
            area->findChild<QComboBox*>(QStringLiteral("depth"))->setCurrentIndex(1);  // true colour
        };
        whenShown<CZoomingDlg>(clickSave);
        QVERIFY(view->OnCommand(ID_ZOOM));
        QCOMPARE(dialogs_.seen().back().title, QStringLiteral("Save Image to File..."));
        QCOMPARE(dialogs_.seen().back().initialPath, dir_->path());
        const QString written = path(QStringLiteral("zoomed.v2.bmp"));
        Bitmap bmp;
        QVERIFY(bool(readBmpFile(written.toStdString(), bmp)));
        QCOMPARE(QSize(bmp.width, bmp.height), QSize(480, 480));
        QCOMPARE(bmp.bitsPerPixel, 24);
        const uint8_t* px = bmp.row(2 * (12 + p.y())) + 3 * (2 * (30 + p.x()));
        QCOMPARE(PaletteEntry::fromRgb(px[0], px[1], px[2]).rgb(), expect.rgb());
        QCOMPARE(GetProfileString(QStringLiteral("Dlg Img"), QStringLiteral("Last Opend")), written);

        // A typed ".png" writes a PNG whatever the filter, and the next save starts at it.
        const QString png = path(QStringLiteral("x.png"));
        dialogs_.pick(png, 2);
        whenShown<CZoomingDlg>(clickSave);
        QVERIFY(view->OnCommand(ID_ZOOM));
        QCOMPARE(dialogs_.seen().back().initialPath, written);
        QCOMPARE(QImageReader(png).format(), QByteArray("png"));
        QCOMPARE(QImage(png).size(), QSize(480, 480));
        QVERIFY(!QFile::exists(path(QStringLiteral("x.pcx"))));

        // The name rules of the image save: a typed picture extension wins, any other
        // name gets the filter's extension added.
        const struct {
            const char* typed;
            int filter;
            const char* saved;
            int format;
        } rows[] = {{"/x/a.bmp", 1, "/x/a.bmp", kPictorFormatBmp}, {"/x/a.PNG", 3, "/x/a.PNG", kPictorFormatPng},
                    {"/x/a.pcx", 4, "/x/a.pcx", kPictorFormatPcx}, {"/x/a.tif", 2, "/x/a.tif.pcx", kPictorFormatPcx},
                    {"/x/a", 1, "/x/a.pcx", kPictorFormatPcx},     {"/x/a.b", 4, "/x/a.b.png", kPictorFormatPng}};
        for (const auto& r : rows) {
            int format = 0;
            QCOMPARE(savedImagePath(QString::fromLatin1(r.typed), r.filter, format), QString::fromLatin1(r.saved));
            QCOMPARE(format, r.format);
        }
    }
};

QTEST_MAIN(ViewDialogsTest)
#include "view_dialogs_test.moc"
