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
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/command_ids.h"
#include "core/strings.h"
#include "flc/flc_template.h"
#include "flc/flc_view.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/win_app.h"
#include "gui_harness.h"
#include "support/flc_builder.h"

using namespace qv;
using namespace qv::test;

class ViewPlaybackTest : public QObject, qvtest::GuiHarness<> {
    Q_OBJECT
private:
    const QString options_ = QStringLiteral("Options");

    CFlcView* open(const AnimationSpec& anim, int left = 0, int top = 0) { return openAnimation(anim, left, top); }
    void tick(CFlcView* view, uint32_t ms = 50)
    {
        clock_.advance(ms);
        view->RenderTick();
    }
    static uint32_t pixel(const QImage& img, int x, int y) { return img.pixel(x, y) & 0x00FFFFFFu; }
    static bool enabled(CFlcView* view, int id)
    {
        CCmdUI ui(id);
        return view->OnUpdateCommand(id, ui) && ui.enabled;
    }
    static bool checked(CFlcView* view, int id)
    {
        CCmdUI ui(id);
        view->OnUpdateCommand(id, ui);
        return ui.checked;
    }

private slots:
    void initTestCase() { startGui("QuorvaneViewPlaybackTest"); }
    void init() { resetGui({"Options"}); }
    void cleanup() { closeGui(); }
    void cleanupTestCase() { stopGui(); }

    void startsInTheSavedDirectionOrAllAndHonoursStartPaused()
    {
        WriteProfileInt(options_, QStringLiteral("Direction"), 3);
        AnimationSpec eight;
        eight.framesPerDirection = 5;
        CFlcView* v8 = open(eight);
        QVERIFY(v8 && v8->isLoaded());
        QCOMPARE(v8->direction(), 3);
        QCOMPARE(v8->playback().first(), uint16_t(10));
        QVERIFY(v8->isRunning() && !v8->isPaused());
        QCOMPARE(v8->customDelay(), 100);  // filled with the file's speed
        QVERIFY(enabled(v8, ID_DIR_NW));
        QVERIFY(checked(v8, ID_DIR_SE));

        AnimationSpec four;
        four.directions = 4;
        CFlcView* v4 = open(four);
        QVERIFY(v4 && v4->isLoaded());
        QCOMPARE(v4->direction(), 0);
        QVERIFY(!enabled(v4, ID_DIR_SW));
        QVERIFY(enabled(v4, ID_DIR_ALL));
        QVERIFY(v4->OnCommand(ID_DIR_SW));
        QCOMPARE(v4->direction(), 0);
        QCOMPARE(v4->frameCount(), 16);

        // Closing a view keeps its direction for the next one.
        QVERIFY(v8->OnCommand(ID_DIR_W));
        QCOMPARE(v8->direction(), 8);
        v8->GetDocument()->OnCloseDocument();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(GetProfileInt(options_, QStringLiteral("Direction"), -1), 8);

        WriteProfileInt(options_, QStringLiteral("Anim Type"), 1);
        CFlcView* paused = open(eight);
        QVERIFY(paused->isRunning() && paused->isPaused());
        QCOMPARE(paused->direction(), 8);
        QVERIFY(checked(paused, ID_PAUSE));
        tick(paused), tick(paused), tick(paused);
        QCOMPARE(paused->frameNumber(), 0);
    }

    void renderTicksComposeTheFrameOverTheDefaultColour()
    {
        AnimationSpec anim;
        anim.directions = 1;
        anim.framesPerDirection = 3;
        anim.width = 8;
        anim.height = 6;
        anim.speed = 10;
        anim.palette[255] = PaletteEntry::fromRgb(255, 0, 255);
        anim.palette[9] = PaletteEntry::fromRgb(255, 0, 255);  // shares the key colour
        anim.picture = [](int, int n) {
            Picture p(48, static_cast<uint8_t>(1 + n));
            p[0] = 255;  // transparent corner
            p[1] = 9;
            return p;
        };
        CFlcView* view = open(anim, 30, 40);
        QVERIFY(view && view->isLoaded());
        QCOMPARE(view->leftOffset(), 30);
        QCOMPARE(view->topOffset(), 40);
        const uint32_t fill = view->fillColor();
        QCOMPARE(fill, CAnimationView::toFillColor(view->defaultColor()));
        QCOMPARE(view->colorKey(), 0xFF00FFu);

        tick(view, 10);  // speed 10: every 10 ms tick is a new frame
        const QImage& back = view->device()->backBuffer();
        QCOMPARE(back.size(), QSize(240, 244));
        QCOMPARE(pixel(back, 0, 0), fill);
        QCOMPARE(pixel(back, 30, 40), fill);   // index 255 is keyed out
        QCOMPARE(pixel(back, 31, 40), fill);   // and so is any index of the same colour
        QCOMPARE(pixel(back, 32, 40), anim.palette[2].rgb());
        QCOMPARE(pixel(back, 37, 45), anim.palette[2].rgb());
        QCOMPARE(pixel(back, 38, 45), fill);
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
        template_->CloseAllDocuments(true);
        WriteProfileInt(options_, QStringLiteral("AlphaBlend"), 0);
        CFlcView* plain = open(anim, 30, 40);
        QCOMPARE(plain->colorKey(), kNoColorKey);
        tick(plain);
        QCOMPARE(pixel(plain->device()->backBuffer(), 30, 40), 0xFF00FFu);
    }

    void commandsFollowTheRunningStateAndWindingStopsAtTheLimits()
    {
        AnimationSpec anim;
        anim.framesPerDirection = 4;
        anim.speed = 120;
        CFlcView* view = open(anim);
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
        QCOMPARE(view->frameNumber(), view->frameCount() - 1);
        QVERIFY(view->OnCommand(ID_FIRST));
        QCOMPARE(view->frameCount(), 32);

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
    }

    void anEmptyViewShowsZeroesAndDrawsNothing()
    {
        CFlcView view;
        QCOMPARE(view.frameNumber(), 0);
        QCOMPARE(view.frameCount(), 0);
        QVERIFY(!enabled(&view, ID_PLAY));
        QVERIFY(!enabled(&view, ID_FILE_SAVE));
        QVERIFY(!enabled(&view, ID_DIR_ALL));
        view.RenderTick();
        QVERIFY(!view.isRunning());
        QVERIFY(!view.SaveAnimation());
        QVERIFY(!view.SaveFLC(dir_->filePath(QStringLiteral("x.flc"))));
        QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("x.flc"))));
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
                for (int x = 0; x < target.width(); ++x)
                    QVERIFY2((target.pixel(x, y) & 0xFFFFFFu) != 0xFF0000u, qPrintable(what));
            if (k != std::floor(k)) continue;
            const int n = static_cast<int>(k);
            for (int dy = 0; dy < n; ++dy)
                for (int dx = 0; dx < n; ++dx) {
                    QCOMPARE(target.pixel(dx, dy) & 0xFFFFFFu, 0xFFFFFFu);
                    QCOMPARE(target.pixel(n + dx, dy) & 0xFFFFFFu, 0u);
                    QCOMPARE(target.pixel(2 * n + dx, dy) & 0xFFFFFFu, 0x102030u);
                }
        }
    }

    void zoomEnlargesTheWindowWithCrispBlocksAndIsRemembered()
    {
        AnimationSpec anim;
        anim.directions = 1;
        anim.framesPerDirection = 2;
        anim.width = 4;
        anim.height = 2;
        anim.picture = [](int, int) { return Picture{1, 2, 3, 4, 5, 6, 7, 8}; };
        CFlcView* view = open(anim);
        QVERIFY(view && view->isLoaded());
        QVERIFY(view->OnCommand(ID_VIEW_ZOOM_1X + 2));
        QCOMPARE(view->GetPreferredSize(), QSize(240 * 3 + 2, 242 * 3 + 2));
        QCOMPARE(GetProfileInt(options_, QStringLiteral("View Zoom"), -1), 3);
        view->resize(view->GetPreferredSize());
        tick(view);
        const QImage shot = view->grab().toImage();
        for (int i = 0; i < 8; ++i) {
            const uint32_t colour = anim.palette[1 + i].rgb();
            const int x0 = 1 + (i % 4) * 3, y0 = 1 + (i / 4) * 3;
            for (int dy = 0; dy < 3; ++dy)
                for (int dx = 0; dx < 3; ++dx) QCOMPARE(pixel(shot, x0 + dx, y0 + dy), colour);
        }

        // Ctrl + wheel steps the zoom; a new view starts at the remembered one.
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        QCOMPARE(view->zoom(), 2);
        CFlcView* next = open(anim);
        QCOMPARE(next->zoom(), 2);
        QCOMPARE(next->GetPreferredSize(), QSize(482, 486));

        // Fit: the largest whole factor the window holds, centred in it.
        QVERIFY(next->OnCommand(ID_VIEW_ZOOM_FIT));
        next->resize(1000, 600);
        QCOMPARE(next->displayZoom(), 2);
        QCOMPARE(next->pictureRect(), QRect((1000 - 480) / 2, 1 + (598 - 484) / 2, 480, 484));
        QCOMPARE(next->GetPreferredSize(), QSize(1000, 600));
    }

    void changeOffsetIsOnlyForUnitAnimations()
    {
        AnimationSpec head;
        head.leaderHead = true;
        head.directions = 1;
        CFlcView* view = open(head);
        QVERIFY(view && view->isLeaderHead());
        QVERIFY(!enabled(view, ID_CHANGE_OFFSET));
        QVERIFY(enabled(open(AnimationSpec()), ID_CHANGE_OFFSET));
    }
};

QTEST_MAIN(ViewPlaybackTest)
#include "view_playback_test.moc"
