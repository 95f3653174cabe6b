// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Keeps the support library non-empty before any helper is added.
namespace qv::test {
int supportAnchor() { return 0; }
}  // namespace qv::test
