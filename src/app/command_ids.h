// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Every command id of the desktop program. Menus, toolbar buttons, keys and control-bar
// buttons send these; views, documents, frames and the application handle them
// (see platform/ui/cmd_target.h for the routing).
#pragma once

#include "platform/ui/std_commands.h"

namespace qv {

enum CommandId : int {
    // Playback (the animation view).
    ID_PLAY = 32771,
    ID_PAUSE = 32772,
    ID_STOP = 32773,
    ID_INFO = 32774,
    // Background of unit animations (the animation view).
    ID_BGD_DEFAULT = 32775,
    ID_BACKGROUND_COLOR = 32776,  // "Select background color"
    ID_BGD_SEA = 32777,
    ID_BGD_LAND = 32778,
    ID_BGD_CUSTOM = 32780,
    ID_FIRST = 32781,
    ID_PREVIOUS = 32782,
    ID_NEXT = 32783,
    ID_LAST = 32784,
    ID_PALETTE = 32785,
    ID_OPTIONS = 32786,
    ID_BACK = 32787,     // wind back
    ID_FORWARD = 32788,  // wind forward
    ID_IMPORT_PALETTE = 32789,
    ID_EXPORT_PALETTE = 32790,
    ID_REFRESH = 32791,
    ID_ALPHA_BLEND = 32792,
    ID_EXPORT_TO_STORYBOARD = 32794,
    ID_NEW_STORYBOARD = 32795,
    ID_RECENT_STORYBOARD = 32796,  // toolbar drop-down of the storyboard recent list
    ID_COPY_TO_CLIPBOARD = 32797,
    ID_COPY_TO_FILE = 32798,
    ID_CONTROL_BAR = 32799,
    ID_EXPORT_TO_FLC = 32800,
    ID_CLOSE_ALL = 32801,
    ID_OPEN_INI = 32802,
    ID_OPEN_MULTI = 32803,
    ID_ZOOM = 32804,
    ID_CHANGE_OFFSET = 32805,
    ID_ALWAYS_ON_TOP = 32806,
    ID_RECENT_FLC = 32807,  // toolbar drop-down of the FLC recent list
    ID_IMPORT_TO_STORYBOARD = 32808,
    ID_SAVE_FRAME = 32810,
    // Directions.
    ID_DIR_SW = 32811,
    ID_DIR_W = 32812,
    ID_DIR_NW = 32813,
    ID_DIR_N = 32814,
    ID_DIR_NE = 32815,
    ID_DIR_E = 32816,
    ID_DIR_SE = 32817,
    ID_DIR_ALL = 32818,
    ID_DIR_S = 32819,
    ID_COLOR_REPLACE = 32820,
    // Whole-factor zoom of the animation view: 1x .. 8x, fit to the window, in and out.
    ID_VIEW_ZOOM_1X = 32830,
    ID_VIEW_ZOOM_8X = 32837,
    ID_VIEW_ZOOM_FIT = 32838,
    ID_VIEW_ZOOM_IN = 32839,
    ID_VIEW_ZOOM_OUT = 32840,
    ID_EXPORT_ANIMATION = 32841,  // animated GIF or WebP

    // Recent-file lists: the first entry of each (up to 16 follow on).
    ID_RECENT_FLC_FIRST = 57750,
    ID_RECENT_QSB_FIRST = 57770,
    ID_RECENT_MAX_ENTRIES = 16,
};

// Ids the framework gives the frame's standard commands (from platform/ui/std_commands.h):
// ID_FILE_NEW 57600, ID_FILE_OPEN 57601, ID_FILE_CLOSE 57602, ID_FILE_SAVE 57603,
// ID_FILE_SAVE_AS 57604, ID_EDIT_UNDO 57643, ID_EDIT_REDO 57644, ID_WINDOW_NEW 57648, ID_WINDOW_ARRANGE 57649,
// ID_WINDOW_CASCADE 57650, ID_WINDOW_TILE_HORZ 57651, ID_APP_ABOUT 57664,
// ID_APP_EXIT 57665, ID_VIEW_TOOLBAR 59392, ID_VIEW_STATUS_BAR 59393.

// The direction code (0 All, 1 SW .. 8 W) of a direction command, or -1.
constexpr int directionOfCommand(int id)
{
    switch (id) {
        case ID_DIR_SW: return 1;
        case ID_DIR_S: return 2;
        case ID_DIR_SE: return 3;
        case ID_DIR_E: return 4;
        case ID_DIR_NE: return 5;
        case ID_DIR_N: return 6;
        case ID_DIR_NW: return 7;
        case ID_DIR_W: return 8;
        case ID_DIR_ALL: return 0;
        default: return -1;
    }
}

// Whether `id` is one of the commands an animation view handles (disabled in the menus
// and toolbar while no view claims them).
constexpr bool isViewCommand(int id)
{
    return (id >= ID_PLAY && id <= ID_CHANGE_OFFSET) || (id >= ID_SAVE_FRAME && id <= ID_DIR_S) ||
           (id >= ID_VIEW_ZOOM_1X && id <= ID_VIEW_ZOOM_OUT) || id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS;
}

}  // namespace qv
