// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The animation view with a hand-moved clock: start-up direction and pause settings,
// render ticks that compose the frame over the default colour with its colour key and
// offsets, commands and their enabled states, winding, painting into the window, the
// scaling of the present step, and the view's whole-factor zoom.
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "app/command_ids.h"
#include "gui_harness.h"

using namespace qv;
using namespace qv::test;

class ViewPlaybackTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    const QString options_ = QStringLiteral("Options");

    static uint32_t pixel(const QImage& img, int x, int y) { return img.pixel(x, y) & 0x00FFFFFFu; }

private slots:
    void initTestCase() { startGui("QuorvaneViewPlaybackTest"); }
    void init() { resetGui({"Options"}); }
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
        QCOMPARE(v4->direction(), 0);
        QVERIFY(!enabled(v4, ID_DIR_SW) && enabled(v4, ID_DIR_ALL));
        QVERIFY(v4->OnCommand(ID_DIR_SW));
        QCOMPARE(v4->direction(), 0);
        QCOMPARE(v4->frameCount(), 16);

        // Closing a view keeps its direction for the next one.
        QVERIFY(v8->OnCommand(ID_DIR_W));
        v8->GetDocument()->OnCloseDocument();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(GetProfileInt(options_, QStringLiteral("Direction"), -1), 8);

        WriteProfileInt(options_, QStringLiteral("Anim Type"), 1);
        CFlcView* paused = openAnimation(eight);
        QVERIFY(paused->isRunning() && paused->isPaused() && checked(paused, ID_PAUSE));
        QCOMPARE(paused->direction(), 8);
        tick(paused), tick(paused), tick(paused);
        QCOMPARE(paused->frameNumber(), 0);

        // A leader head has no offsets to change.
        CFlcView* head = openAnimation(qvtest::shape(24, 16, 4, true));
        QVERIFY(head && head->isLeaderHead() && !enabled(head, ID_CHANGE_OFFSET));
    }

    void renderTicksComposeTheFrameOverTheDefaultColour()
    {
        auto anim = qvtest::shape(8, 6, 3);
        anim.directions = 1;
        anim.speed = 10;
        anim.palette[255] = PaletteEntry::fromRgb(255, 0, 255);
        anim.palette[9] = PaletteEntry::fromRgb(255, 0, 255);  // shares the key colour
        anim.picture = [](int, int n) {
            Picture p(48, static_cast<uint8_t>(1 + n));
            p[0] = 255;  // transparent corner
            p[1] = 9;
            return p;
        };
        CFlcView* view = openAnimation(anim, 30, 40);
        QVERIFY(view && view->isLoaded());
        const uint32_t fill = view->fillColor();
        QCOMPARE(fill, CAnimationView::toFillColor(view->defaultColor()));
        QCOMPARE(view->colorKey(), 0xFF00FFu);

        tick(view, 10);  // speed 10: every 10 ms tick is a new frame
        const QImage& back = view->device()->backBuffer();
        QCOMPARE(back.size(), QSize(240, 244));
        // Index 255 is keyed out, and so is any index of the same colour.
        const struct {
            int x, y;
            uint32_t rgb;
        } expected[] = {{0, 0, fill},  {30, 40, fill}, {31, 40, fill}, {32, 40, anim.palette[2].rgb()},
                        {37, 45, anim.palette[2].rgb()}, {38, 45, fill}};
        for (const auto& e : expected) QCOMPARE(pixel(back, e.x, e.y), e.rgb);
        QCOMPARE(view->frameNumber(), 1);
        tick(view, 10);
        QCOMPARE(pixel(back, 32, 40), anim.palette[3].rgb());
        tick(view, 10);
        QCOMPARE(view->frameNumber(), 0);  // wrapped

        // Palette edits reach the surfaces through a rebuild.
        view->displayPalette()[1] = PaletteEntry::fromRgb(12, 34, 56);
        QVERIFY(view->RebuildFrameSurfaces());
        view->RequestRedraw();
        tick(view, 1);  // too early for the next frame
        QCOMPARE(pixel(back, 32, 40), 0x0C2238u);

        // The painted window shows the back buffer inside its one-pixel border.
        view->resize(view->GetPreferredSize());
        const QImage shot = view->grab().toImage();
        QCOMPARE(shot.size(), QSize(242, 244));
        QCOMPARE(pixel(shot, 1 + 32, 1 + 40), 0x0C2238u);
        QCOMPARE(pixel(shot, 1 + 5, 1 + 5), fill);

        // With blending off the key matches no palette colour: magenta shows.
        WriteProfileInt(options_, QStringLiteral("AlphaBlend"), 0);
        CFlcView* plain = openAnimation(anim, 30, 40);
        QCOMPARE(plain->colorKey(), kNoColorKey);
        tick(plain);
        QCOMPARE(pixel(plain->device()->backBuffer(), 30, 40), 0xFF00FFu);
    }

    void commandsFollowTheRunningStateAndWindingStopsAtTheLimits()
    {
        auto anim = qvtest::shape(24, 16, 4);
        anim.speed = 120;
        CFlcView* view = openAnimation(anim);
        QVERIFY(view && view->isLoaded());
        unsigned changes = 0;
        view->setControlListener([&](unsigned c) { changes |= c; });
        view->OnActivateView(true);

        QVERIFY(enabled(view, ID_STOP) && enabled(view, ID_PAUSE));
        QVERIFY(!enabled(view, ID_PLAY) && !enabled(view, ID_NEXT) && !enabled(view, ID_FORWARD));
        tick(view, 40), tick(view, 40);
        QCOMPARE(view->frameNumber(), 0);
        tick(view, 40);  // 120 ms in three ticks of 40 ms
        QCOMPARE(view->frameNumber(), 1);
        QVERIFY(changes & IAnimationControl::kFrameCounter);

        view->setCustomDelay(300);
        view->setDelayMode(kDelayCustom);
        QVERIFY(view->OnCommand(ID_STOP));
        QCOMPARE(view->delayMode(), int(kDelayDefault));
        QVERIFY(!view->isRunning());
        QVERIFY(enabled(view, ID_PLAY) && enabled(view, ID_NEXT) && !enabled(view, ID_STOP));

        QVERIFY(view->OnCommand(ID_PREVIOUS));
        QCOMPARE(view->frameNumber(), 0);
        QVERIFY(view->OnCommand(ID_LAST));
        QCOMPARE(view->frameNumber(), 31);

        // Winding within direction SW (its steps are the playback's own).
        QVERIFY(view->OnCommand(ID_DIR_SW));
        QVERIFY(view->OnCommand(ID_FORWARD));
        QVERIFY(view->isWindingForward() && checked(view, ID_FORWARD));
        QVERIFY(view->OnCommand(ID_BACK));
        QVERIFY(view->isWindingBack());
        QVERIFY(view->OnCommand(ID_NEXT));  // any navigation ends winding
        QVERIFY(!view->isWindingBack());

        // Play restarts at the range's first frame; the slider picks a frame.
        view->frameSliderReleased(2);
        QCOMPARE(view->frameNumber(), 2);
        QVERIFY(view->OnCommand(ID_PLAY));
        QCOMPARE(view->frameNumber(), 0);
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
            const int n = static_cast<int>(k);
            for (int dy = 0; dy < n; ++dy)
                for (int dx = 0; dx < n; ++dx) {
                    QCOMPARE(pixel(target, dx, dy), 0xFFFFFFu);
                    QCOMPARE(pixel(target, n + dx, dy), 0u);
                    QCOMPARE(pixel(target, 2 * n + dx, dy), 0x102030u);
                }
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
        QCOMPARE(view->zoom(), 2);
        CFlcView* next = openAnimation(anim);
        QCOMPARE(next->GetPreferredSize(), QSize(482, 486));

        // Fit: the largest whole factor the window holds, centred in it.
        QVERIFY(next->OnCommand(ID_VIEW_ZOOM_FIT));
        next->resize(1000, 600);
        QCOMPARE(next->displayZoom(), 2);
        QCOMPARE(next->pictureRect(), QRect((1000 - 480) / 2, 1 + (598 - 484) / 2, 480, 484));
        QCOMPARE(next->GetPreferredSize(), QSize(1000, 600));
    }
};

QTEST_MAIN(ViewPlaybackTest)
#include "view_playback_test.moc"
