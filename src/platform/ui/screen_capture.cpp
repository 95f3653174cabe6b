// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/screen_capture.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "core/strings.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

// The frozen screen in a window over everything, with the rectangle being dragged.
class CaptureOverlay : public QWidget {
public:
    CaptureOverlay(const QImage& shot, const QRect& geometry)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool), shot_(shot)
    {
        setAttribute(Qt::WA_DeleteOnClose, false);
        setCursor(Qt::CrossCursor);
        setGeometry(geometry);
        setFocusPolicy(Qt::StrongFocus);
    }

    // Runs until the user has dragged a rectangle or given up; the rectangle in the
    // frozen picture's coordinates, or an empty one.
    QRect run()
    {
        show();
        raise();
        activateWindow();
        setFocus();
        grabKeyboard();
        loop_.exec();
        releaseKeyboard();
        hide();
        return result_;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(rect(), shot_);
        p.fillRect(rect(), QColor(0, 0, 0, 60));
        if (dragging_) {
            const QRect r = dragRectangle(from_, to_, rect());
            p.drawImage(r, shot_, r);
            p.setPen(QPen(Qt::white, 1, Qt::DashLine));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::RightButton) return finish({});
        if (e->button() != Qt::LeftButton) return;
        dragging_ = true;
        from_ = to_ = e->position().toPoint();
        update();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!dragging_) return;
        to_ = e->position().toPoint();
        update();
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (!dragging_ || e->button() != Qt::LeftButton) return;
        dragging_ = false;
        const QRect r = dragRectangle(from_, e->position().toPoint(), shot_.rect());
        if (r.isEmpty()) {
            update();  // a click: the user may still drag
            return;
        }
        finish(r);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape) finish({});
    }
    void closeEvent(QCloseEvent*) override { finish({}); }

private:
    void finish(const QRect& r)
    {
        result_ = r;
        loop_.quit();
    }

    QImage shot_;
    QEventLoop loop_;
    QPoint from_, to_;
    bool dragging_ = false;
    QRect result_;
};

QRect virtualDesktop()
{
    QRect all;
    for (QScreen* s : QGuiApplication::screens()) all = all.united(s->geometry());
    return all;
}

// The whole desktop as one picture (in device-independent pixels), or a null picture
// when the platform does not hand out the screen's pixels.
QImage grabDesktop(const QRect& desktop)
{
    QImage out(desktop.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    for (QScreen* s : QGuiApplication::screens()) {
        const QPixmap shot = s->grabWindow(0);
        if (shot.isNull()) return {};
        p.drawPixmap(QRect(s->geometry().topLeft() - desktop.topLeft(), s->geometry().size()), shot);
    }
    return out;
}

// The program's own windows as they stand, over black.
QImage grabOwnWindows(const QRect& desktop)
{
    QImage out(desktop.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->isMinimized()) continue;
        p.drawPixmap(QRect(w->geometry().topLeft() - desktop.topLeft(), w->size()), w->grab());
    }
    return out;
}

class DesktopCapture : public IScreenCapture {
public:
    bool captureArea(QImage& out) override
    {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || QGuiApplication::screens().isEmpty()) {
            AfxMessageBox(str::IDS_CAPTURE_NO_SCREEN, MB_ICONERROR);
            return false;
        }
        const QRect desktop = virtualDesktop();
        QImage shot = screenGrabAllowed() ? grabDesktop(desktop) : QImage();
        if (shot.isNull()) {
            // Say why the rest of the screen is missing before showing what is left.
            AfxMessageBox(str::IDS_CAPTURE_OWN_WINDOWS_ONLY, MB_ICONINFORMATION);
            shot = grabOwnWindows(desktop);
        }
        CaptureOverlay overlay(shot, desktop);
        const QRect r = overlay.run();
        if (r.isEmpty()) return false;
        out = shot.copy(r);
        return true;
    }
};

ServiceSlot<IScreenCapture, DesktopCapture> g_capture;

}  // namespace

IScreenCapture& screenCaptureService() { return g_capture.get(); }

void setScreenCaptureService(IScreenCapture* service) { g_capture.set(service); }

bool screenGrabAllowed()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

QRect dragRectangle(const QPoint& from, const QPoint& to, const QRect& bounds)
{
    if (from == to) return {};
    // Both corners count: a drag from (2, 2) to (4, 4) takes 3 x 3 pixels.
    const QRect r(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                  QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
    return r.intersected(bounds);
}

}  // namespace qv
