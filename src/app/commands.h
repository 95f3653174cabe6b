// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The command table: for every command id its menu text, its prompt ("status-bar text
// \n tooltip") and its icon; the toolbar's buttons in their order (the classic 50, then
// Export Animation); and the three menus (128 without a document, 129 for an FLC window, 130 for a storyboard window).
#pragma once

#include <QIcon>
#include <QString>
#include <vector>

class QMenu;

namespace qv {

constexpr int kMenuNoDocument = 128;
constexpr int kMenuFlc = 129;
constexpr int kMenuStoryboard = 130;
// Drop-down menus of toolbar buttons.
constexpr int kMenuOpenDropDown = 227;     // both recent lists
constexpr int kMenuRecentFlc = 136;        // the FLC recent list
constexpr int kMenuRecentStoryboard = 226; // the storyboard recent list

struct CommandInfo {
    int id;
    const char* menuText;  // string-table text of the menu item
    const char* prompt;    // "status-bar prompt\ntooltip"
    const char* icon;      // file name under :/icons/ without ".svg"
    bool checkable;
};

// Every command of the menus and the toolbar; nullptr for an unknown id.
const CommandInfo* findCommand(int id);
const std::vector<CommandInfo>& allCommands();

QString commandMenuText(int id);
QString commandStatusText(int id);  // the prompt's first line
QString commandToolTip(int id);     // the prompt's second line
QIcon commandIcon(int id);
// An icon of the program's set by file name ("play", "panel_sound", ...).
QIcon namedIcon(const QString& name);

struct ToolbarButton {
    enum Style { Plain, DropDownArrow, WholeDropDown };
    int id;
    Style style;
    bool visibleAtFirst;
    int dropDownMenu;  // kMenuOpenDropDown, kMenuRecentFlc, kMenuRecentStoryboard or 0
};
// The 50 buttons in their order (image index = position).
const std::vector<ToolbarButton>& toolbarButtons();

// One item of a menu description: a command, a separator, or a popup.
struct MenuItem {
    enum Kind { Command, Separator, Popup, RecentFlc, RecentStoryboard, WindowList };
    Kind kind;
    int id;                      // Command
    const char* text;            // Popup title
    std::vector<MenuItem> items; // Popup contents
};
// The top-level popups of menu 128, 129 or 130.
const std::vector<MenuItem>& menuDescription(int resourceId);

}  // namespace qv
