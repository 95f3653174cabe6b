// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CFlcImage: the image model. A picture loaded or made through the imaging layer, with
// the operations that put pictures out of the program: a screen area the user drags
// copied to the clipboard or saved, and the current frame of an animation view saved as
// the view shows it. Each command makes one, uses it once and lets it go.
#pragma once

#include "platform/imaging/pictor.h"

class QWidget;

namespace qv {

class CAnimationView;

class CFlcImage : public CPictorImage {
public:
    // Lets the user drag a screen area and puts it on the clipboard. False when the user
    // gave up, or (after a message) when the clipboard refused it.
    bool CopyToClipboard();
    // Lets the user drag a screen area and saves it (SaveToFile). False when the user
    // gave up or did not save.
    bool CopyToFile();
    // Takes the view's current frame (TakeFrame) and saves it (SaveToFile).
    bool SaveFrameToFile(CAnimationView& view);
    // The picture the view shows for its current frame: the frame's rectangle at its
    // offsets in the view's drawing area (a leader head's from the corner), background,
    // shadows and lights included, as a 24-bit bitmap. False when nothing is loaded.
    bool TakeFrame(CAnimationView& view);
    // Asks where, in which format, at which size and depth (the image save dialog), then
    // writes the picture. False when there is no picture, the dialog was cancelled, the
    // file cannot be created (silently) or the write failed (with the reason shown).
    bool SaveToFile(QWidget* parent = nullptr, const QString& documentPath = {});
};

}  // namespace qv
