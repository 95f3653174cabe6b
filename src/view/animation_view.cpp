// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/animation_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <QPainter>
#include <QPalette>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>

#include "app/command_ids.h"
#include "app/editor_app.h"
#include "app/settings.h"
#include "core/strings.h"
#include "platform/ui/document.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

const QString kOptions = QStringLiteral("Options");

// The system's button-face colour as a Windows colour value.
uint32_t buttonFaceColorRef()
{
    const QColor c = QApplication::palette().color(QPalette::Active, QPalette::Button);
    return (uint32_t(c.blue()) << 16) | (uint32_t(c.green()) << 8) | uint32_t(c.red());
}

// Shows the wait cursor for as long as it lives.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

CAnimationView* CAnimationView::active()
{
    CWinApp* app = CWinApp::instance();
    CNewMDIFrameWnd* frame = app ? app->mainFrame() : nullptr;
    return frame ? qobject_cast<CAnimationView*>(frame->GetActiveView()) : nullptr;
}

CAnimationView::CAnimationView(QWidget* parent)
    : CView(parent), playback_([] { return clock().tickCount(); })
{
    playback_.setHost(this);
    defaultColor_ = buttonFaceColorRef();
    customColor_ = defaultColor_;
    fillColor_ = toFillColor(defaultColor_);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(preferredSize_);
}

CAnimationView::~CAnimationView()
{
    // The control bar must not keep serving a view that is gone.
    if (IControlPanels* panels = controlPanels()) panels->detach(this);
    setControlListener({});
    playback_.stopWind();
    stopSound();
    CAnimationView::UnloadAnimation();
    device_.reset();
    settings::writeSetting(settings::kDirection, static_cast<int>(playback_.direction()));
}

// ---- Loading -------------------------------------------------------------------------

bool CAnimationView::CreateDevice()
{
    if (!device_) device_ = std::make_unique<DrawDevice>();
    if (!device_->Create(this)) {
        device_.reset();
        return false;
    }
    return true;
}

bool CAnimationView::LoadAnimation(const QString&, bool) { return false; }

void CAnimationView::UnloadAnimation()
{
    playback_.unload();
    frames_.clear();
    if (device_) device_->Release();
    civilization_ = 0;
}

void CAnimationView::UpdateColorKey()
{
    transparentColor_ = displayPalette_[kTransparentIndex].rgb();
    colorKey_ = alphaBlend_ ? transparentColor_ : kNoColorKey;
}

bool CAnimationView::BuildFrames(std::vector<FramePixels> pictures, int width, int height)
{
    frames_.clear();
    frames_.reserve(pictures.size());
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height);
    const auto palette = std::make_shared<const Palette256>(displayPalette_);
    for (auto& picture : pictures) {
        AnimFrame frame(device_.get());
        if (!frame.CreateSurface(width, height) || picture.size() < size) return false;
        frame.SetColorKey(colorKey_);
        frame.pixels = std::move(picture);
        frame.SetSurfacePalette(palette);
        frames_.push_back(std::move(frame));
    }
    return true;
}

bool CAnimationView::RebuildFrameSurfaces()
{
    if (!playback_.loaded()) return false;
    killRenderTimer();
    playback_.setLoaded(false);
    UpdateColorKey();
    const auto palette = std::make_shared<const Palette256>(displayPalette_);
    for (AnimFrame& frame : frames_) {
        frame.SetColorKey(colorKey_);
        frame.SetSurfacePalette(palette);
    }
    playback_.restartRenderTimer();
    playback_.setLoaded(true);
    return true;
}

void CAnimationView::SetAnimationProperties(uint8_t directions, uint16_t framesPerDirection, uint32_t speed,
                                            int width, int height, int left, int top)
{
    playback_.setAnimation(directions, framesPerDirection, static_cast<uint16_t>(frames_.size()), speed);
    frameWidth_ = width;
    frameHeight_ = height;
    leftOffset_ = left & 0xFF;
    topOffset_ = top & 0xFF;
}

void CAnimationView::ResizeViewWindow(int width, int height)
{
    baseSize_ = QSize(width, height);
    // The picture (inside the border) grows by the zoom; in "fit" mode the window keeps
    // its size and the picture follows it.
    const int z = zoom_ == kZoomFit ? 1 : zoom_;
    const QSize picture = baseSize_ - QSize(2 * kBorder, 2 * kBorder);
    preferredSize_ = picture * z + QSize(2 * kBorder, 2 * kBorder);
    if (zoom_ == kZoomFit) {
        update();
        return;
    }
    const QSize old = size();
    if (CNewMDIChildWnd* frame = GetParentFrame()) {
        // The frame grows or shrinks by the same amount; its position stays.
        if (!frame->isMaximized()) frame->resize(frame->size() + (preferredSize_ - old));
    }
    resize(preferredSize_);
    updateGeometry();
    update();
}

void CAnimationView::SetZoom(int zoom)
{
    if (zoom < kZoomFit || zoom > kMaxZoom) return;
    zoom_ = zoom;
    settings::writeSetting(settings::kViewZoom, zoom);
    ResizeViewWindow(baseSize_.width(), baseSize_.height());
}

int CAnimationView::displayZoom() const
{
    if (zoom_ != kZoomFit) return zoom_;
    const QSize picture = baseSize_ - QSize(2 * kBorder, 2 * kBorder);
    const QSize client = size() - QSize(2 * kBorder, 2 * kBorder);
    if (picture.width() <= 0 || picture.height() <= 0) return 1;
    const int z = std::min(client.width() / picture.width(), client.height() / picture.height());
    return std::max(1, std::min(z, kMaxZoom));
}

QRect CAnimationView::pictureRect() const
{
    const QRect client = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    const QSize picture = (baseSize_ - QSize(2 * kBorder, 2 * kBorder)) * displayZoom();
    // Centred in a larger window; from the top-left corner in a smaller one.
    const int x = client.left() + std::max(0, (client.width() - picture.width()) / 2);
    const int y = client.top() + std::max(0, (client.height() - picture.height()) / 2);
    return QRect(QPoint(x, y), picture);
}

bool CAnimationView::OnZoomCommand(int id)
{
    if (id >= ID_VIEW_ZOOM_1X && id <= ID_VIEW_ZOOM_8X) {
        SetZoom(id - ID_VIEW_ZOOM_1X + 1);
        return true;
    }
    switch (id) {
        case ID_VIEW_ZOOM_FIT: SetZoom(kZoomFit); return true;
        case ID_VIEW_ZOOM_IN: SetZoom(std::min(displayZoom() + 1, kMaxZoom)); return true;
        case ID_VIEW_ZOOM_OUT: SetZoom(std::max(displayZoom() - 1, 1)); return true;
        default: return false;
    }
}

bool CAnimationView::OnUpdateZoomCommand(int id, CCmdUI& ui)
{
    if (id >= ID_VIEW_ZOOM_1X && id <= ID_VIEW_ZOOM_8X) {
        ui.Enable(true);
        ui.SetCheck(zoom_ == id - ID_VIEW_ZOOM_1X + 1);
        return true;
    }
    switch (id) {
        case ID_VIEW_ZOOM_FIT:
            ui.Enable(true);
            ui.SetCheck(zoom_ == kZoomFit);
            return true;
        case ID_VIEW_ZOOM_IN: ui.Enable(displayZoom() < kMaxZoom); return true;
        case ID_VIEW_ZOOM_OUT: ui.Enable(zoom_ == kZoomFit || zoom_ > 1); return true;
        default: return false;
    }
}

void CAnimationView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        CView::wheelEvent(event);
        return;
    }
    const int delta = event->angleDelta().y();
    if (delta > 0) OnZoomCommand(ID_VIEW_ZOOM_IN);
    if (delta < 0) OnZoomCommand(ID_VIEW_ZOOM_OUT);
    event->accept();
}

void CAnimationView::AutoplaySound()
{
    if (IControlPanels* panels = controlPanels())
        if (panels->isAutoplayChecked()) playSound();
}

void CAnimationView::OnInitialUpdate()
{
    CDocument* doc = GetDocument();
    if (!doc || doc->GetPathName().isEmpty()) return;
    zoom_ = settings::readSetting(settings::kViewZoom, kZoomFit, kMaxZoom);
    ResizeViewWindow(242, 244);
    if (device_) device_->Release();
    device_ = std::make_unique<DrawDevice>();

    customColor_ = static_cast<uint32_t>(
        GetProfileInt(kOptions, QStringLiteral("Custom Color"), static_cast<int>(defaultColor_)));
    savedDirection_ = static_cast<uint32_t>(settings::readSetting(settings::kDirection));
    if (savedDirection_ > 8) savedDirection_ = 0;
    bgdType_ = static_cast<uint32_t>(settings::readSetting(settings::kBgdType));
    alphaBlend_ = settings::readSetting(settings::kAlphaBlend) != 0;
    // "Anim Type" is the application's current value; without the application object
    // (views made on their own) the stored setting stands in for it.
    if (auto* app = dynamic_cast<CEditorApp*>(CWinApp::instance()))
        startPaused_ = app->animationType() == 1;
    else
        startPaused_ = settings::readSetting(settings::kAnimType) == 1;
    civilization_ = 0;

    const QString path = doc->GetPathName();
    killRenderTimer();
    playback_.stopPlayback();
    {
        WaitCursor wait;
        if (!LoadAnimation(path, true)) {
            ReportLoadFailure(path);
            UnloadAnimation();
            notifyControlChanged(kAllPanels);
            return;
        }
        OnAnimationLoaded();
        playback_.setDirectionRaw(playback_.directions() == 8 ? savedDirection_ : 0);
        playback_.setFrameRange();
        playback_.setLoaded(true);
        playback_.startPlayback();
        if (startPaused_)
            playback_.setPaused(true);
        else
            AutoplaySound();
    }
    // What is shown is what the file holds: nothing to save.
    SetDocumentModified(false);
    notifyControlChanged(kAllPanels);
    frameCounterChanged();
    RequestRedraw();
}

void CAnimationView::SetDocumentModified(bool modified)
{
    if (CDocument* doc = GetDocument()) doc->SetModifiedFlag(modified);
}

bool CAnimationView::isDocumentModified() const
{
    const CDocument* doc = GetDocument();
    return doc && doc->IsModified();
}

void CAnimationView::ReportLoadFailure(const QString& path)
{
    AfxMessageBox(formatMessage(str::IDS_INVALID_FORMAT, {path.toStdString()}), MB_OK);
}

void CAnimationView::RefreshAnimation()
{
    if (playback_.loaded()) OnInitialUpdate();
}

// ---- Activation and panels -----------------------------------------------------------

void CAnimationView::OnActivateView(bool activate)
{
    playback_.setActive(activate);
    IControlPanels* panels = controlPanels();
    if (!activate) {
        if (panels) panels->detach(this);
        stopSound();
        return;
    }
    if (panels) panels->attach(this);
    ShareCustomColor();
    notifyControlChanged(kAllPanels);
    frameCounterChanged();
    RequestRedraw();
}

int CAnimationView::frameNumber() const
{
    return playback_.loaded() ? int(playback_.current()) - int(playback_.first()) : 0;
}

int CAnimationView::frameCount() const
{
    return playback_.loaded() ? int(playback_.end()) - int(playback_.first()) : 0;
}

void CAnimationView::RequestRedraw() { playback_.requestRedraw(); }

void CAnimationView::frameCounterChanged() { notifyControlChanged(kFrameCounter); }

void CAnimationView::frameSliderChanged()
{
    if (playback_.active()) notifyControlChanged(kFrameCounter);
}

void CAnimationView::redrawRequested()
{
    if (playback_.active()) notifyControlChanged(kAllPanels);
}

void CAnimationView::windFlagsChanged() { notifyControlChanged(kPlayback); }

// ---- Commands --------------------------------------------------------------------------

void CAnimationView::play()
{
    playback_.stopWind();
    playback_.startPlayback();
    AutoplaySound();
    RequestRedraw();
    frameSliderChanged();
}

void CAnimationView::togglePause()
{
    if (!playback_.togglePause()) AutoplaySound();
}

void CAnimationView::stop()
{
    playback_.stop();
    notifyControlChanged(kDelay | kPlayback);
}

void CAnimationView::navigate(NavigateKind kind)
{
    static const qv::NavigateKind kinds[] = {qv::NavigateKind::First, qv::NavigateKind::Previous,
                                             qv::NavigateKind::Next, qv::NavigateKind::Last};
    playback_.stopWind();
    playback_.navigate(kinds[kind]);
}

void CAnimationView::toggleWindBack() { playback_.toggleWind(false); }

void CAnimationView::toggleWindForward() { playback_.toggleWind(true); }

void CAnimationView::setDirection(int direction)
{
    if (direction < 0 || direction > 8) return;
    playback_.setDirection(static_cast<uint32_t>(direction));
    notifyControlChanged(kDirection);
}

void CAnimationView::setDelayMode(int mode)
{
    playback_.setDelayMode(mode);
    RequestRedraw();
}

void CAnimationView::setCustomDelay(int ms)
{
    if (ms < 0) return;
    playback_.setCustomDelay(static_cast<uint32_t>(ms));
}

void CAnimationView::frameSliderReleased(int position) { playback_.sliderReleased(position); }

void CAnimationView::frameSliderTracking(int position) { playback_.sliderDragged(position); }

void CAnimationView::showInfo()
{
    if (playback_.loaded()) ShowFileInfo();
}

bool CAnimationView::OnCommand(int id)
{
    switch (id) {
        case ID_PLAY: play(); return true;
        case ID_PAUSE: togglePause(); return true;
        case ID_STOP: stop(); return true;
        case ID_FIRST: navigate(NavFirst); return true;
        case ID_PREVIOUS: navigate(NavPrevious); return true;
        case ID_NEXT: navigate(NavNext); return true;
        case ID_LAST: navigate(NavLast); return true;
        case ID_BACK: toggleWindBack(); return true;
        case ID_FORWARD: toggleWindForward(); return true;
        case ID_INFO: showInfo(); return true;
        case ID_REFRESH: RefreshAnimation(); return true;
        default: break;
    }
    if (OnRenderCommand(id) || OnZoomCommand(id)) return true;
    const int dir = directionOfCommand(id);
    if (dir >= 0) {
        setDirection(dir);
        return true;
    }
    return false;
}

bool CAnimationView::OnUpdateCommand(int id, CCmdUI& ui)
{
    const AnimationButtonState s = playback_.buttonState();
    const bool loaded = playback_.loaded();
    switch (id) {
        case ID_PLAY: ui.Enable(s.play); return true;
        case ID_PAUSE:
            ui.Enable(s.pause);
            ui.SetCheck(playback_.paused());
            return true;
        case ID_STOP: ui.Enable(s.stop); return true;
        case ID_FIRST: ui.Enable(s.first); return true;
        case ID_PREVIOUS: ui.Enable(s.previous); return true;
        case ID_NEXT: ui.Enable(s.next); return true;
        case ID_LAST: ui.Enable(s.last); return true;
        case ID_BACK:
            ui.Enable(s.back);
            ui.SetCheck(playback_.windBack());
            return true;
        case ID_FORWARD:
            ui.Enable(s.forward);
            ui.SetCheck(playback_.windForward());
            return true;
        case ID_INFO: ui.Enable(loaded); return true;
        case ID_REFRESH: ui.Enable(loaded); return true;
        default: break;
    }
    if (OnUpdateRenderCommand(id, ui) || OnUpdateZoomCommand(id, ui)) return true;
    const int dir = directionOfCommand(id);
    if (dir >= 0) {
        ui.Enable(playback_.directionEnabled(static_cast<uint32_t>(dir)));
        ui.SetCheck(loaded && playback_.direction() == static_cast<uint32_t>(dir));
        return true;
    }
    return false;
}

// ---- Timers and drawing -------------------------------------------------------------

void CAnimationView::restartRenderTimer(uint32_t periodMs)
{
    renderTimer_.start(static_cast<int>(periodMs), Qt::PreciseTimer, this);
}

void CAnimationView::killRenderTimer() { renderTimer_.stop(); }

void CAnimationView::startWindTimer() { windTimer_.start(static_cast<int>(kWindPeriodMs), this); }

void CAnimationView::killWindTimer() { windTimer_.stop(); }

void CAnimationView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == renderTimer_.timerId())
        RenderTick();
    else if (event->timerId() == windTimer_.timerId())
        WindTick();
    else
        CView::timerEvent(event);
}

void CAnimationView::RenderTick()
{
    // While painting is held back (a bulk open adding windows) a composed frame would
    // never be seen; playback goes on from here once the window can be painted.
    if (!updatesEnabled()) return;
    bool compose = false;
    if (!playback_.renderTick(compose)) {
        playback_.stopPlayback();
        return;
    }
    if (compose) ComposeFrame();
    if (device_) device_->Present();
}

void CAnimationView::WindTick() { playback_.windTick(); }

void CAnimationView::ComposeFrame()
{
    if (!device_ || !device_->ready()) return;
    DrawBackground();
    DrawFrame();
}

namespace {

// Start-up measurement (bench/startup.sh): started while the program's static objects are
// set up, before main(). With QUORVANE_QUIT_AFTER_FIRST_FRAME set, the program prints the
// time to its first painted animation frame and ends.
QElapsedTimer& startupClock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock;
}
[[maybe_unused]] const bool startupClockStarted = (startupClock(), true);

void reportFirstFramePainted()
{
    static bool reported = false;
    if (reported || !qEnvironmentVariableIsSet("QUORVANE_QUIT_AFTER_FIRST_FRAME")) return;
    reported = true;
    std::fprintf(stderr, "first frame painted after %lld ms\n", static_cast<long long>(startupClock().elapsed()));
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

}  // namespace

void CAnimationView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect all = rect();
    painter.fillRect(all, palette().color(QPalette::Button));
    // A one-pixel sunken border around the client area, as the view window always had.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(all.topLeft(), all.topRight());
    painter.drawLine(all.topLeft(), all.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(all.bottomLeft(), all.bottomRight());
    painter.drawLine(all.topRight(), all.bottomRight());
    const QRect client = all.adjusted(kBorder, kBorder, -kBorder, -kBorder);
    const QRect picture = pictureRect().intersected(client);
    if (device_ && device_->ready()) {
        // Around a centred picture the window shows the button face.
        if (picture != client) painter.fillRect(client, palette().color(QPalette::Button));
        device_->PaintInto(painter, picture, devicePixelRatioF(), displayZoom());
        if (frameCount() > 0) reportFirstFramePainted();
    } else {
        painter.fillRect(client, QColor::fromRgb(fillColor_));
    }
}

}  // namespace qv
