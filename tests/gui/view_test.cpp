// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The animation view with a hand-moved clock: start-up direction and pause settings,
// render ticks that compose the frame over the default colour with its colour key and
// offsets, commands and their enabled states, painting into the window, the scaling of
// the present step and the view's whole-factor zoom; its Offset dialog (offsets clamped
// and applied at once, Cancel, Save writing only the offsets) and Zoom dialog (percentage,
// fit mode, scroll rules, kept settings, saving the zoomed picture); and the picture
// library under them (conversions, files of every depth, drawing, refusals).
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <cmath>

#include "app/command_ids.h"
#include "core/bitmap.h"
#include "core/bmp_codec.h"
#include "core/byte_io.h"
#include "gui_harness.h"
#include "platform/imaging/pictor.h"
#include "platform/ui/mdi_child.h"
#include "view/offset_dlg.h"
#include "view/save_image.h"
#include "view/zooming_dlg.h"

using namespace qv;
using namespace qv::test;

class ViewTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    const QString options_ = QStringLiteral("Options");

    using GuiHarness::path;
    QString path(const char* name) const { return path(QString::fromLatin1(name)); }
    static uint32_t pixel(const QImage& img, int x, int y) { return img.pixel(x, y) & 0x00FFFFFFu; }
    // Draws the view's current frame anew and finds its first pixel that shows in its own
    // colour (not keyed out, not blended), and that colour.
    static QPoint plainPixel(CFlcView* view, PaletteEntry& colour)
    {
        view->RequestRedraw();
        view->RenderTick();
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
    void initTestCase() { startGui("QuorvaneViewTest"); }
    void init() { resetGui({"Options", "Dlg Zooming", "Dlg Img"}); }
    void cleanup() { closeGui(); }
    void cleanupTestCase() { stopGui(); }

    void startsInTheSavedDirectionOrAllAndHonoursStartPaused()
    {
        WriteProfileInt(options_, QStringLiteral("Direction"), 3);
        const auto eight = qvtest::shape(24, 16, 5);
        CFlcView* v8 = openAnimation(eight);
        QVERIFY(v8 && v8->isLoaded());
        QCOMPARE(v8->direction(), 3);
        QCOMPARE(v8->playback().first(), uint16_t(10));
        QVERIFY(v8->isRunning() && !v8->isPaused());
        QCOMPARE(v8->customDelay(), 100);  // filled with the file's speed
        QVERIFY(enabled(v8, ID_DIR_NW) && checked(v8, ID_DIR_SE) && enabled(v8, ID_CHANGE_OFFSET));

        auto four = qvtest::shape(24, 16, 4);
        four.directions = 4;
        CFlcView* v4 = openAnimation(four);
        QVERIFY(v4 && v4->isLoaded());
        QVERIFY(!enabled(v4, ID_DIR_SW) && enabled(v4, ID_DIR_ALL));
        QVERIFY(v4->OnCommand(ID_DIR_SW));
        QCOMPARE(v4->direction(), 0);

        // Closing a view keeps its direction for the next one.
        QVERIFY(v8->OnCommand(ID_DIR_W));
        v8->GetDocument()->OnCloseDocument();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(GetProfileInt(options_, QStringLiteral("Direction"), -1), 8);

        WriteProfileInt(options_, QStringLiteral("Anim Type"), 1);
        CFlcView* paused = openAnimation(eight);
        QVERIFY(paused->isRunning() && paused->isPaused() && checked(paused, ID_PAUSE));
        QCOMPARE(paused->direction(), 8);
        tick(paused, 500);
        QCOMPARE(paused->frameNumber(), 0);

        // A leader head has no offsets to change.
        CFlcView* head = openAnimation(qvtest::shape(24, 16, 4, true));
        QVERIFY(head && head->isLeaderHead() && !enabled(head, ID_CHANGE_OFFSET));
    }

    void commandsFollowTheRunningState()
    {
        auto anim = qvtest::shape(24, 16, 4);
        anim.speed = 120;
        CFlcView* view = openAnimation(anim);
        QVERIFY(view && view->isLoaded());
        unsigned changes = 0;
        view->setControlListener([&](unsigned c) { changes |= c; });
        view->OnActivateView(true);

        QVERIFY(enabled(view, ID_STOP) && !enabled(view, ID_PLAY) && !enabled(view, ID_FORWARD));
        tick(view, 40), tick(view, 40);
        QCOMPARE(view->frameNumber(), 0);
        tick(view, 40);  // 120 ms in three ticks of 40 ms
        QCOMPARE(view->frameNumber(), 1);
        QVERIFY(changes & IAnimationControl::kFrameCounter);

        view->setCustomDelay(300);
        view->setDelayMode(kDelayCustom);
        QVERIFY(view->OnCommand(ID_STOP));
        QCOMPARE(view->delayMode(), int(kDelayDefault));
        QVERIFY(enabled(view, ID_PLAY) && enabled(view, ID_NEXT) && !enabled(view, ID_STOP));
        QVERIFY(view->OnCommand(ID_LAST));
        QCOMPARE(view->frameNumber(), 31);

        // The slider picks a frame; winding starts from there; an inactive view's playback rests.
        view->frameSliderReleased(2);
        QCOMPARE(view->frameNumber(), 2);
        QVERIFY(view->OnCommand(ID_FORWARD));
        QVERIFY(view->isWindingForward() && checked(view, ID_FORWARD));
        view->OnActivateView(false);
        QVERIFY(!view->playback().active());

        // A view without an animation shows zeroes, offers nothing and writes nothing.
        CFlcView empty;
        QCOMPARE(empty.frameCount(), 0);
        for (int id : std::initializer_list<int>{ID_PLAY, ID_FILE_SAVE, ID_DIR_ALL}) QVERIFY(!enabled(&empty, id));
        empty.RenderTick();
        QVERIFY(!empty.isRunning() && !empty.SaveAnimation());
        QVERIFY(!empty.SaveFLC(path(QStringLiteral("x.flc"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("x.flc"))));
    }

    void presentFillsTheTargetWithCrispBlocksAtAnyRatio()
    {
        QWidget window;
        DrawDevice device;
        QVERIFY(device.Create(&window));
        device.Fill(0x102030);
        QImage& back = device.backBuffer();
        back.setPixel(0, 0, 0xFFFFFFFFu);
        back.setPixel(1, 0, 0xFF000000u);
        // Display ratio x zoom: whole products give exact square blocks; 1.5 fills its
        // target too (the picture is not drawn at two thirds of its place).
        struct Case {
            qreal ratio;
            int zoom;
        };
        for (const Case c : {Case{1.0, 3}, Case{2.0, 1}, Case{2.0, 2}, Case{1.5, 2}, Case{1.5, 1}}) {
            const qreal k = c.ratio * c.zoom;
            QImage target(qRound(20 * k), qRound(10 * k), QImage::Format_RGB32);
            target.setDevicePixelRatio(c.ratio);
            target.fill(Qt::red);
            {
                QPainter p(&target);
                device.PaintInto(p, QRect(0, 0, 20 * c.zoom, 10 * c.zoom), c.ratio, c.zoom);
            }
            const QString what = QStringLiteral("ratio %1 zoom %2").arg(c.ratio).arg(c.zoom);
            for (int y = 0; y < target.height(); ++y)
                for (int x = 0; x < target.width(); ++x) QVERIFY2(pixel(target, x, y) != 0xFF0000u, qPrintable(what));
            if (k != std::floor(k)) continue;
            // The first row of blocks: white, black, then the fill, each n x n.
            const int n = static_cast<int>(k);
            for (int dy = 0; dy < n; ++dy)
                for (int x = 0; x < 3 * n; ++x)
                    QCOMPARE(pixel(target, x, dy), (x < n ? 0xFFFFFFu : x < 2 * n ? 0u : 0x102030u));
        }
    }

    void zoomEnlargesTheWindowWithCrispBlocksAndIsRemembered()
    {
        auto anim = qvtest::shape(4, 2, 2);
        anim.directions = 1;
        anim.picture = [](int, int) { return Picture{1, 2, 3, 4, 5, 6, 7, 8}; };
        CFlcView* view = openAnimation(anim);
        QVERIFY(view && view->isLoaded());
        QVERIFY(view->OnCommand(ID_VIEW_ZOOM_1X + 2));
        QCOMPARE(view->GetPreferredSize(), QSize(240 * 3 + 2, 242 * 3 + 2));
        QCOMPARE(GetProfileInt(options_, QStringLiteral("View Zoom"), -1), 3);
        view->resize(view->GetPreferredSize());
        tick(view);
        const QImage shot = view->grab().toImage();
        for (int i = 0; i < 8; ++i) {
            const int x0 = 1 + (i % 4) * 3, y0 = 1 + (i / 4) * 3;
            for (int dy = 0; dy < 3; ++dy)
                for (int dx = 0; dx < 3; ++dx) QCOMPARE(pixel(shot, x0 + dx, y0 + dy), anim.palette[1 + i].rgb());
        }

        // Ctrl + wheel steps the zoom; a new view starts at the remembered one.
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        CFlcView* next = openAnimation(anim);
        QCOMPARE(next->GetPreferredSize(), QSize(482, 486));

        // Fit: the largest whole factor the window holds, centred in it.
        QVERIFY(next->OnCommand(ID_VIEW_ZOOM_FIT));
        next->resize(1000, 600);
        QCOMPARE(next->displayZoom(), 2);
        QCOMPARE(next->pictureRect(), QRect((1000 - 480) / 2, 1 + (598 - 484) / 2, 480, 484));
        QCOMPARE(next->GetPreferredSize(), QSize(1000, 600));
    }

    void offsetsAreClampedAppliedAtOnceAndSavedWithoutAFrameByte()
    {
        QString file;
        CFlcView* view = openAnimation(qvtest::shape(100, 80, 2), 30, 12, &file);
        QVERIFY(view && view->isLoaded());
        view->OnCommand(ID_STOP);
        const Bytes before = readFile(file);
        {
            COffsetDlg dlg(view);
            QCOMPARE(dlg.findChild<QLabel*>(QStringLiteral("current"))->text(),
                     QStringLiteral("Current: Left: 30, Top: 12 pixels"));
            // The spin buttons offer 0..239, but a 100 x 80 frame stops at 140 x 160.
            dlg.leftBox()->setValue(200);
            QCOMPARE(dlg.leftBox()->value(), 140);
            dlg.topBox()->setValue(239);
            QCOMPARE(view->topOffset(), 160);
            dlg.leftBox()->setValue(7);

            // The frame moves at once; Cancel puts it back.
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
        QVERIFY(view->GetParentFrame()->shownTitle().endsWith(QLatin1Char('*')));
        QVERIFY(view->OnCommand(ID_FILE_SAVE));
        const Bytes after = readFile(file);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(getLE16(after.data() + 100), uint16_t(140));
        QCOMPARE(getLE16(after.data() + 102), uint16_t(5));
        QVERIFY(std::equal(before.begin() + kFlcHeaderSize, before.end(), after.begin() + kFlcHeaderSize));
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

            // Scroll bars: 0..100, page 10; the top is 2 and steps never go below it.
            QScrollBar* h = dlg.horizontalBar();
            h->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // 0 + 1, kept at 2
            h->triggerAction(QAbstractSlider::SliderPageStepAdd);
            QCOMPARE(h->value(), 12);
            h->triggerAction(QAbstractSlider::SliderToMinimum);
            QCOMPARE(h->value(), 2);

            // Fit mode: the picture fills the area with its proportions; the zoom
            // controls rest.
            dlg.setFit(true);
            QVERIFY(!dlg.zoomCombo()->isEnabled() && !h->isEnabled() && !dlg.zoomInButton()->isEnabled());
            const QRect fitted = dlg.pictureRect();
            const QSize area = dlg.pictureArea()->size();
            QVERIFY(fitted.width() == area.width() || fitted.height() == area.height());
            QVERIFY(std::abs(fitted.width() * 30 - fitted.height() * 40) <= 40);
            dlg.reject();
        }
        CZoomingDlg again(picture);
        QCOMPARE(again.zoom(), 400);
        QVERIFY(again.fit());
    }

    void zoomSavesTheComposedFrameAtTheZoomedSize()
    {
        CFlcView* view = openAnimation(qvtest::shape(100, 80, 2), 30, 12);
        QVERIFY(view && view->isLoaded());
        view->OnCommand(ID_STOP);
        PaletteEntry expect;
        const QPoint p = plainPixel(view, expect);

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

        // A typed picture extension (in any case) writes that format whatever the filter,
        // and the next save starts at it; a name without one takes the first filter's.
        const QString png = path(QStringLiteral("x.PNG"));
        dialogs_.pick(png, 2);
        whenShown<CZoomingDlg>(clickSave);
        QVERIFY(view->OnCommand(ID_ZOOM));
        QCOMPARE(dialogs_.seen().back().initialPath, written);
        QCOMPARE(QImageReader(png).format(), QByteArray("png"));
        QCOMPARE(QImage(png).size(), QSize(480, 480));
        int format = 0;
        QCOMPARE(savedImagePath(QStringLiteral("/x/a"), 1, format), QStringLiteral("/x/a.pcx"));
        QCOMPARE(format, int(kPictorFormatPcx));
    }

    // ---- The picture library under the zoom and image dialogs ----
    void convertsBetweenQImageAndBitmap()
    {
        Bitmap indexed = Bitmap::create(3, 2, 8);
        indexed.pixels = {0, 1, 2, 2, 1, 255};
        indexed.palette[1] = PaletteEntry::fromRgb(10, 20, 30);
        const QImage q = toQImage(indexed);
        QCOMPARE(q.format(), QImage::Format_Indexed8);
        QCOMPARE(q.pixel(1, 0), qRgb(10, 20, 30));
        const Bitmap back = fromQImage(q);
        QCOMPARE(back.pixels, indexed.pixels);
        QVERIFY(back.palette == indexed.palette);

        Bitmap rgb = Bitmap::create(5, 1, 24);  // odd width: QImage rows are padded, ours are not
        for (size_t i = 0; i < rgb.pixels.size(); ++i) rgb.pixels[i] = uint8_t(i * 17);
        QCOMPARE(fromQImage(toQImage(rgb)).pixels, rgb.pixels);
        QCOMPARE(fromQImage(toQImage(rgb).convertToFormat(QImage::Format_RGB32)).pixels, rgb.pixels);
    }

    void savesAndLoadsPcxAndBmpAtEveryDepth()
    {
        Palette256 pal;
        for (int i = 0; i < 256; ++i) pal[size_t(i)] = PaletteEntry::fromRgb(uint8_t(i), uint8_t(i / 2), 0);
        PictorBitmap bmp = PICTOR::CreateBitmap(7, 3, 8, &pal);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 7; ++c) PICTOR::PutPixelValue(bmp, r, c, uint32_t(r * 7 + c) * 11);

        for (int format : {kPictorFormatPcx, kPictorFormatBmp}) {
            for (int bits : {8, 24}) {
                const QString file = path(format == kPictorFormatPcx ? "s.pcx" : "s.bmp");
                PICTOR::SaveBitmap(file, bmp, format, bits);
                const PictorFileInfo info = PICTOR::FileInfo(file);
                QCOMPARE(QList<int>({info.width, info.height, info.bitsPerPixel, info.format}),
                         QList<int>({7, 3, bits, format}));
                CPictorImage image;
                image.LoadFile(file);
                QVERIFY(image.IsLoaded());
                for (int r = 0; r < 3; ++r)
                    for (int c = 0; c < 7; ++c)
                        QCOMPARE(PICTOR::GetPixelColor(image.bitmap(), r, c), PICTOR::GetPixelColor(bmp, r, c));
            }
        }
        // Grey: an 8-bit file whose colours are greys.
        PICTOR::SaveBitmap(path("g.bmp"), bmp, kPictorFormatBmp, 0);
        PictorBitmap grey;
        PICTOR::LoadFile(path("g.bmp"), grey);
        QCOMPARE(grey.bitsPerPixel(), 8);
        const uint32_t g = PICTOR::GetPixelColor(grey, 2, 6);
        QCOMPARE(g >> 16, g & 0xFF);
    }

    void loadsOtherFormatsThroughQt()
    {
        QImage png(4, 2, QImage::Format_RGB32);
        png.fill(qRgb(1, 2, 3));
        png.setPixel(3, 1, qRgb(200, 100, 50));
        QVERIFY(png.save(path("p.png")));
        PictorBitmap bmp;
        PictorFileInfo info;
        PICTOR::LoadFile(path("p.png"), bmp, &info);
        QCOMPARE(info.format, int(kPictorFormatPng));
        QCOMPARE(bmp.bitsPerPixel(), 24);
        QCOMPARE(PICTOR::GetPixelColor(bmp, 1, 3), 0xC86432u);

        // A 4-bit BMP: the core codec refuses it, Qt reads it, the information keeps 4 bits.
        // Its headers: 122 bytes, pixels at 118; 2 x 1 pixels, 1 plane, 4 bits, 16 colours.
        const QByteArray header = QByteArray::fromHex(
            "424d7a0000000000000076000000280000000200000001000000010004000000000004000000000000000000000010000000"
            "00000000");
        Bytes f(header.begin(), header.end());
        ByteWriter w(f);
        for (int i = 0; i < 16; ++i) w.u32(uint32_t(i * 0x101010));
        w.u32(0x0000002F);  // pixels 2 and 15
        QVERIFY(writeFileAtomic(path("four.bmp").toStdString(), f));
        QCOMPARE(PICTOR::FileInfo(path("four.bmp")).bitsPerPixel, 4);
        PICTOR::LoadFile(path("four.bmp"), bmp, &info);
        QCOMPARE(info.bitsPerPixel, 4);
        QCOMPARE(bmp.bitsPerPixel(), 8);
        QCOMPARE(PICTOR::GetPixelColor(bmp, 0, 1), 0xF0F0F0u);
    }

    void drawsOnPaletteBitmapsByNearestColour()
    {
        Palette256 pal;  // entries 0 and 255 are both black
        pal[7] = PaletteEntry::fromRgb(250, 250, 250);
        PictorBitmap bmp = PICTOR::CreateBitmap(5, 3, 8, &pal);
        PICTOR::FillBitmapIndex(bmp, 255);
        {
            auto dc = PICTOR::CreatePictorDC(bmp);
            dc->painter().setPen(QPen(QColor(255, 255, 255), 0));
            dc->painter().drawLine(0, 1, 4, 1);
        }
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(PICTOR::GetPixelValue(bmp, 0, c), 255u);  // untouched pixels keep their index
            QCOMPARE(PICTOR::GetPixelValue(bmp, 1, c), 7u);
        }
        PICTOR::FillBitmap(bmp, 0x000000);  // a colour fill takes the lowest matching entry
        QCOMPARE(PICTOR::GetPixelValue(bmp, 2, 2), 0u);
    }

    void refusesWithAMessage()
    {
        PictorBitmap bmp = PICTOR::CreateBitmap(2, 2, 24);
        try {
            PICTOR::ChangeBitmapHue(bmp, 361);
            QFAIL("no exception");
        } catch (const CPictorException& e) {
            QCOMPARE(e.code(), int(kPictorErrorArgument));
            QCOMPARE(e.message(), formatMessage(str::IDS_IMG_BAD_RANGE, {361, -360, 360}));
        }
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::SaveBitmap(path("x.pcx"), bmp, 3, 8));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::SaveBitmap(path("no/such/dir/x.pcx"), bmp, 1, 8));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::LoadFile(path("missing.bmp"), bmp));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::TrimBitmap(bmp, QRect(1, 1, 2, 2)));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::CreateBitmap(0, 5, 8));
        QVERIFY(writeFileAtomic(path("junk.pcx").toStdString(), Bytes{10, 5, 1}));
        QVERIFY_THROWS_EXCEPTION(CPictorException, PICTOR::LoadFile(path("junk.pcx"), bmp));
        QCOMPARE(bmp.width(), 2);  // a failed load leaves the bitmap as it was
    }
};

QTEST_MAIN(ViewTest)
#include "view_test.moc"
