// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Command routing. Menu items, toolbar buttons and keys send numeric command ids. The
// main frame offers each command to the active view first, then to the view's document,
// the child frame, the main frame itself and last the application; the first target
// whose OnCommand returns true has handled it. Menu and toolbar states are asked the
// same way through OnUpdateCommand; a command nobody claims is shown disabled.
#pragma once

namespace qv {

// The state of one command's menu items and buttons, filled by the target that claims it.
struct CCmdUI {
    explicit CCmdUI(int commandId) : id(commandId) {}
    int id;
    bool enabled = true;
    bool checked = false;
    void Enable(bool on = true) { enabled = on; }
    void SetCheck(bool on = true) { checked = on; }
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // Runs command `id`; false when this target does not handle it.
    virtual bool OnCommand(int id)
    {
        (void)id;
        return false;
    }
    // Fills the state of command `id`; false when this target does not handle it.
    virtual bool OnUpdateCommand(int id, CCmdUI& ui)
    {
        (void)id;
        (void)ui;
        return false;
    }
};

}  // namespace qv
