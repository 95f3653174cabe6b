// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Anchor for the compiled-in resources: a static library needs at least one object
// file, and the resource objects that qt_add_resources adds travel with this target.
namespace qv {
int resourcesAnchor() { return 0; }
}  // namespace qv
