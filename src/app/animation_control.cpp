// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/animation_control.h"

namespace qv {

namespace {
IControlPanels* g_panels = nullptr;
}

IControlPanels* controlPanels() { return g_panels; }
void setControlPanels(IControlPanels* panels) { g_panels = panels; }

}  // namespace qv
