// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/lock_keys.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace qv {

#ifdef Q_OS_WIN

bool lockKeyStatesAvailable() { return true; }

LockKeyStates lockKeyStates()
{
    // The low bit of GetKeyState is the toggle state of a lock key.
    LockKeyStates s;
    s.caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    s.num = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    s.scroll = (GetKeyState(VK_SCROLL) & 1) != 0;
    return s;
}

#else

bool lockKeyStatesAvailable() { return false; }

LockKeyStates lockKeyStates() { return {}; }

#endif

}  // namespace qv
