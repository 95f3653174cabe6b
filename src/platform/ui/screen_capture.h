// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Letting the user drag a rectangle over the screen and taking that area as a picture
// (Copy to Clipboard, Copy to File). It goes through an interface so that tests can hand
// in a picture or play a user who gives up.
//
// The desktop version freezes the screen: it grabs the whole screen, shows that picture
// in a window over everything, and lets the user drag a rectangle on it (Escape or a
// right click gives up). Where the desktop does not let programs read the screen
// (Wayland), it says so and offers the program's own windows instead, laid out as they
// stand on the screen.
#pragma once

#include <QImage>
#include <QRect>

namespace qv {

class IScreenCapture {
public:
    virtual ~IScreenCapture() = default;
    // Lets the user choose an area; true with the area's pixels in `out`, false when the
    // user gave up (or nothing could be shown), having said why where there is a reason.
    virtual bool captureArea(QImage& out) = 0;
};

// The service in use (the desktop one unless a test installed another). Never null.
IScreenCapture& screenCaptureService();
// Installs a service; nullptr goes back to the desktop one. The caller keeps ownership.
void setScreenCaptureService(IScreenCapture* service);

// Whether the platform lets a program read the whole screen (false on Wayland).
bool screenGrabAllowed();

// The normalised rectangle between two points of a drag, clipped to `bounds`; empty for
// a click without a drag.
QRect dragRectangle(const QPoint& from, const QPoint& to, const QRect& bounds);

// A capture service for tests: hands out `picture` (a null picture plays a user who
// pressed Escape) and counts the calls.
class ScriptedScreenCapture : public IScreenCapture {
public:
    bool captureArea(QImage& out) override
    {
        ++calls;
        if (picture.isNull()) return false;
        out = picture;
        return true;
    }
    QImage picture;
    int calls = 0;
};

}  // namespace qv
