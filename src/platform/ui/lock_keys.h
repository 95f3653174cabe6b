// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The states of the Caps Lock, Num Lock and Scroll Lock keys, for the status bar's
// indicators. Windows reports them; elsewhere they cannot be read reliably (X11 and
// Wayland keep them in the keyboard layout), and the status bar then shows no indicators.
#pragma once

namespace qv {

struct LockKeyStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Whether this platform can tell the lock keys' states.
bool lockKeyStatesAvailable();
// The current states; all off where they are not available.
LockKeyStates lockKeyStates();

}  // namespace qv
