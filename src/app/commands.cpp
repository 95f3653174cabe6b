// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"

#include <QFile>
#include <map>

#include "app/command_ids.h"
#include "core/strings.h"

namespace qv {

using namespace str;

const std::vector<CommandInfo>& allCommands()
{
    static const std::vector<CommandInfo> table = {
        {ID_FILE_OPEN, IDS_CMD_OPEN, IDS_TIP_OPEN, "open", false},
        {ID_FILE_CLOSE, IDS_CMD_CLOSE, IDS_TIP_CLOSE, "close", false},
        {ID_OPEN_INI, IDS_CMD_OPEN_INI, IDS_TIP_OPEN_INI, "open_ini", false},
        {ID_OPEN_MULTI, IDS_CMD_OPEN_MULTI, IDS_TIP_OPEN_MULTI, "open_multi", false},
        {ID_FILE_SAVE, IDS_CMD_SAVE, IDS_TIP_SAVE, "save", false},
        {ID_FILE_SAVE_AS, IDS_CMD_SAVE_AS, IDS_TIP_SAVE_AS, "save_as", false},
        {ID_RECENT_FLC, IDS_CMD_RECENT_FLC, IDS_TIP_RECENT_FLC, "recent_flc", false},
        {ID_RECENT_STORYBOARD, IDS_CMD_RECENT_QSB, IDS_TIP_RECENT_QSB, "recent_qsb", false},
        {ID_NEW_STORYBOARD, IDS_CMD_NEW_STORYBOARD, IDS_TIP_NEW_STORYBOARD, "new_storyboard", false},
        {ID_EXPORT_TO_STORYBOARD, IDS_CMD_EXPORT_TO_STORYBOARD, IDS_TIP_EXPORT_TO_STORYBOARD, "export_to_storyboard",
         false},
        {ID_EXPORT_TO_FLC, IDS_CMD_EXPORT_TO_FLC, IDS_TIP_EXPORT_TO_FLC, "export_to_flc", false},
        {ID_REFRESH, IDS_CMD_REFRESH, IDS_TIP_REFRESH, "refresh", false},
        {ID_APP_EXIT, IDS_CMD_EXIT, IDS_TIP_EXIT, "exit", false},
        {ID_PLAY, IDS_CMD_PLAY, IDS_TIP_PLAY, "play", false},
        {ID_PAUSE, IDS_CMD_PAUSE, IDS_TIP_PAUSE, "pause", true},
        {ID_STOP, IDS_CMD_STOP, IDS_TIP_STOP, "stop", false},
        {ID_FIRST, IDS_CMD_FIRST, IDS_TIP_FIRST, "first", false},
        {ID_BACK, IDS_CMD_BACK, IDS_TIP_BACK, "back", true},
        {ID_PREVIOUS, IDS_CMD_PREVIOUS, IDS_TIP_PREVIOUS, "previous", false},
        {ID_NEXT, IDS_CMD_NEXT, IDS_TIP_NEXT, "next", false},
        {ID_FORWARD, IDS_CMD_FORWARD, IDS_TIP_FORWARD, "forward", true},
        {ID_LAST, IDS_CMD_LAST, IDS_TIP_LAST, "last", false},
        {ID_BACKGROUND_COLOR, IDS_CMD_BACKGROUND_COLOR, IDS_TIP_BACKGROUND_COLOR, "background_color", false},
        {ID_PALETTE, IDS_CMD_PALETTE, IDS_TIP_PALETTE, "palette", false},
        {ID_IMPORT_PALETTE, IDS_CMD_IMPORT_PALETTE, IDS_TIP_IMPORT_PALETTE, "import_palette", false},
        {ID_EXPORT_PALETTE, IDS_CMD_EXPORT_PALETTE, IDS_TIP_EXPORT_PALETTE, "export_palette", false},
        {ID_INFO, IDS_CMD_INFO, IDS_TIP_INFO, "info", false},
        {ID_COPY_TO_CLIPBOARD, IDS_CMD_COPY_TO_CLIPBOARD, IDS_TIP_COPY_TO_CLIPBOARD, "copy_to_clipboard", false},
        {ID_COPY_TO_FILE, IDS_CMD_COPY_TO_FILE, IDS_TIP_COPY_TO_FILE, "copy_to_file", false},
        {ID_ZOOM, IDS_CMD_ZOOM, IDS_TIP_ZOOM, "zoom", false},
        {ID_WINDOW_NEW, IDS_CMD_NEW_WINDOW, IDS_TIP_NEW_WINDOW, "new_window", false},
        {ID_WINDOW_CASCADE, IDS_CMD_CASCADE, IDS_TIP_CASCADE, "cascade", false},
        {ID_WINDOW_TILE_HORZ, IDS_CMD_TILE, IDS_TIP_TILE, "tile", false},
        {ID_WINDOW_ARRANGE, IDS_CMD_ARRANGE, IDS_TIP_ARRANGE, "arrange", false},
        {ID_CLOSE_ALL, IDS_CMD_CLOSE_ALL, IDS_TIP_CLOSE_ALL, "close_all", false},
        {ID_OPTIONS, IDS_CMD_OPTIONS, IDS_TIP_OPTIONS, "options", false},
        {ID_APP_ABOUT, IDS_CMD_ABOUT, IDS_TIP_ABOUT, "about", false},
        {ID_CHANGE_OFFSET, IDS_CMD_CHANGE_OFFSET, IDS_TIP_CHANGE_OFFSET, "change_offset", false},
        {ID_IMPORT_TO_STORYBOARD, IDS_CMD_IMPORT_TO_STORYBOARD, IDS_TIP_IMPORT_TO_STORYBOARD, "import_to_storyboard",
         false},
        {ID_SAVE_FRAME, IDS_CMD_SAVE_FRAME, IDS_TIP_SAVE_FRAME, "save_frame", false},
        {ID_DIR_SW, IDS_CMD_DIR_SW, IDS_TIP_DIR_SW, "dir_sw", true},
        {ID_DIR_W, IDS_CMD_DIR_W, IDS_TIP_DIR_W, "dir_w", true},
        {ID_DIR_NW, IDS_CMD_DIR_NW, IDS_TIP_DIR_NW, "dir_nw", true},
        {ID_DIR_N, IDS_CMD_DIR_N, IDS_TIP_DIR_N, "dir_n", true},
        {ID_DIR_NE, IDS_CMD_DIR_NE, IDS_TIP_DIR_NE, "dir_ne", true},
        {ID_DIR_E, IDS_CMD_DIR_E, IDS_TIP_DIR_E, "dir_e", true},
        {ID_DIR_SE, IDS_CMD_DIR_SE, IDS_TIP_DIR_SE, "dir_se", true},
        {ID_DIR_S, IDS_CMD_DIR_S, IDS_TIP_DIR_S, "dir_s", true},
        {ID_DIR_ALL, IDS_CMD_DIR_ALL, IDS_TIP_DIR_ALL, "dir_all", true},
        {ID_COLOR_REPLACE, IDS_CMD_COLOR_REPLACE, IDS_TIP_COLOR_REPLACE, "color_replace", false},
        {ID_EXPORT_ANIMATION, IDS_CMD_EXPORT_ANIMATION, IDS_TIP_EXPORT_ANIMATION, "export_animation", false},
        // Commands of the menus only.
        {ID_EDIT_UNDO, IDS_CMD_UNDO, IDS_TIP_UNDO, "undo", false},
        {ID_EDIT_REDO, IDS_CMD_REDO, IDS_TIP_REDO, "redo", false},
        {ID_BGD_DEFAULT, IDS_CMD_BGD_DEFAULT, IDS_TIP_BGD_DEFAULT, "background_default", true},
        {ID_BGD_CUSTOM, IDS_CMD_BGD_CUSTOM, IDS_TIP_BGD_CUSTOM, "background_custom", true},
        {ID_BGD_SEA, IDS_CMD_BGD_SEA, IDS_TIP_BGD_SEA, "background_sea", true},
        {ID_BGD_LAND, IDS_CMD_BGD_LAND, IDS_TIP_BGD_LAND, "background_land", true},
        {ID_ALPHA_BLEND, IDS_CMD_ALPHA_BLEND, IDS_TIP_ALPHA_BLEND, "alpha_blend", true},
        {ID_VIEW_TOOLBAR, IDS_CMD_TOOLBAR, IDS_TIP_TOOLBAR, "toolbar", true},
        {ID_VIEW_STATUS_BAR, IDS_CMD_STATUS_BAR, IDS_TIP_STATUS_BAR, "status_bar", true},
        {ID_CONTROL_BAR, IDS_CMD_CONTROL_BAR, IDS_TIP_CONTROL_BAR, "control_bar", true},
        {ID_ALWAYS_ON_TOP, IDS_CMD_ALWAYS_ON_TOP, IDS_TIP_ALWAYS_ON_TOP, "always_on_top", true},
        {ID_VIEW_ZOOM_1X, IDS_CMD_VIEW_ZOOM_1X, IDS_TIP_VIEW_ZOOM_FACTOR, "", true},
        {ID_VIEW_ZOOM_1X + 1, IDS_CMD_VIEW_ZOOM_2X, IDS_TIP_VIEW_ZOOM_FACTOR, "", true},
        {ID_VIEW_ZOOM_1X + 2, IDS_CMD_VIEW_ZOOM_3X, IDS_TIP_VIEW_ZOOM_FACTOR, "", true},
        {ID_VIEW_ZOOM_1X + 3, IDS_CMD_VIEW_ZOOM_4X, IDS_TIP_VIEW_ZOOM_FACTOR, "", true},
        {ID_VIEW_ZOOM_1X + 4, IDS_CMD_VIEW_ZOOM_5X, IDS_TIP_VIEW_ZOOM_FACTOR, "", true},
        {ID_VIEW_ZOOM_1X + 5, IDS_CMD_VIEW_ZOOM_6X, IDS_TIP_VIEW_ZOOM_FACTOR, "", true},
        {ID_VIEW_ZOOM_1X + 6, IDS_CMD_VIEW_ZOOM_7X, IDS_TIP_VIEW_ZOOM_FACTOR, "", true},
        {ID_VIEW_ZOOM_8X, IDS_CMD_VIEW_ZOOM_8X, IDS_TIP_VIEW_ZOOM_FACTOR, "", true},
        {ID_VIEW_ZOOM_FIT, IDS_CMD_VIEW_ZOOM_FIT, IDS_TIP_VIEW_ZOOM_FIT, "", true},
        {ID_VIEW_ZOOM_IN, IDS_CMD_VIEW_ZOOM_IN, IDS_TIP_VIEW_ZOOM_IN, "", false},
        {ID_VIEW_ZOOM_OUT, IDS_CMD_VIEW_ZOOM_OUT, IDS_TIP_VIEW_ZOOM_OUT, "", false},
    };
    return table;
}

const CommandInfo* findCommand(int id)
{
    static const std::map<int, const CommandInfo*> byId = [] {
        std::map<int, const CommandInfo*> m;
        for (const CommandInfo& c : allCommands()) m[c.id] = &c;
        return m;
    }();
    auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second;
}

QString commandMenuText(int id)
{
    const CommandInfo* c = findCommand(id);
    return c ? QString::fromUtf8(c->menuText) : QString();
}

QString commandStatusText(int id)
{
    const CommandInfo* c = findCommand(id);
    return c ? QString::fromUtf8(c->prompt).section(QLatin1Char('\n'), 0, 0) : QString();
}

QString commandToolTip(int id)
{
    const CommandInfo* c = findCommand(id);
    return c ? QString::fromUtf8(c->prompt).section(QLatin1Char('\n'), 1, 1) : QString();
}

QIcon namedIcon(const QString& name)
{
    static std::map<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    const QString path = QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
    QIcon icon = QFile::exists(path) ? QIcon(path) : QIcon();
    cache[name] = icon;
    return icon;
}

QIcon commandIcon(int id)
{
    const CommandInfo* c = findCommand(id);
    return c ? namedIcon(QString::fromUtf8(c->icon)) : QIcon();
}

const std::vector<ToolbarButton>& toolbarButtons()
{
    using B = ToolbarButton;
    static const std::vector<ToolbarButton> buttons = {
        {ID_FILE_OPEN, B::DropDownArrow, true, kMenuOpenDropDown},
        {ID_FILE_CLOSE, B::Plain, false, 0},
        {ID_OPEN_INI, B::Plain, false, 0},
        {ID_OPEN_MULTI, B::Plain, false, 0},
        {ID_FILE_SAVE, B::Plain, true, 0},
        {ID_FILE_SAVE_AS, B::Plain, false, 0},
        {ID_RECENT_FLC, B::WholeDropDown, false, kMenuRecentFlc},
        {ID_RECENT_STORYBOARD, B::WholeDropDown, false, kMenuRecentStoryboard},
        {ID_NEW_STORYBOARD, B::Plain, true, 0},
        {ID_EXPORT_TO_STORYBOARD, B::Plain, true, 0},
        {ID_EXPORT_TO_FLC, B::Plain, true, 0},
        {ID_REFRESH, B::Plain, false, 0},
        {ID_APP_EXIT, B::Plain, false, 0},
        {ID_PLAY, B::Plain, false, 0},
        {ID_PAUSE, B::Plain, false, 0},
        {ID_STOP, B::Plain, false, 0},
        {ID_FIRST, B::Plain, false, 0},
        {ID_BACK, B::Plain, false, 0},
        {ID_PREVIOUS, B::Plain, false, 0},
        {ID_NEXT, B::Plain, false, 0},
        {ID_FORWARD, B::Plain, false, 0},
        {ID_LAST, B::Plain, false, 0},
        {ID_BACKGROUND_COLOR, B::Plain, true, 0},
        {ID_PALETTE, B::Plain, true, 0},
        {ID_IMPORT_PALETTE, B::Plain, false, 0},
        {ID_EXPORT_PALETTE, B::Plain, false, 0},
        {ID_INFO, B::Plain, true, 0},
        {ID_COPY_TO_CLIPBOARD, B::Plain, true, 0},
        {ID_COPY_TO_FILE, B::Plain, true, 0},
        {ID_ZOOM, B::Plain, true, 0},
        {ID_WINDOW_NEW, B::Plain, false, 0},
        {ID_WINDOW_CASCADE, B::Plain, false, 0},
        {ID_WINDOW_TILE_HORZ, B::Plain, false, 0},
        {ID_WINDOW_ARRANGE, B::Plain, false, 0},
        {ID_CLOSE_ALL, B::Plain, false, 0},
        {ID_OPTIONS, B::Plain, true, 0},
        {ID_APP_ABOUT, B::Plain, false, 0},
        {ID_CHANGE_OFFSET, B::Plain, false, 0},
        {ID_IMPORT_TO_STORYBOARD, B::Plain, false, 0},
        {ID_SAVE_FRAME, B::Plain, false, 0},
        {ID_DIR_SW, B::Plain, false, 0},
        {ID_DIR_W, B::Plain, false, 0},
        {ID_DIR_NW, B::Plain, false, 0},
        {ID_DIR_N, B::Plain, false, 0},
        {ID_DIR_NE, B::Plain, false, 0},
        {ID_DIR_E, B::Plain, false, 0},
        {ID_DIR_SE, B::Plain, false, 0},
        {ID_DIR_S, B::Plain, false, 0},
        {ID_DIR_ALL, B::Plain, false, 0},
        {ID_COLOR_REPLACE, B::Plain, false, 0},
        {ID_EXPORT_ANIMATION, B::Plain, false, 0},
    };
    return buttons;
}

namespace {

MenuItem cmd(int id) { return {MenuItem::Command, id, nullptr, {}}; }
MenuItem sep() { return {MenuItem::Separator, 0, nullptr, {}}; }
MenuItem popup(const char* text, std::vector<MenuItem> items) { return {MenuItem::Popup, 0, text, std::move(items)}; }
MenuItem recentFlc() { return {MenuItem::RecentFlc, ID_RECENT_FLC_FIRST, IDS_MENU_RECENT_FLC, {}}; }
MenuItem recentQsb() { return {MenuItem::RecentStoryboard, ID_RECENT_QSB_FIRST, IDS_MENU_RECENT_QSB, {}}; }
MenuItem windowList() { return {MenuItem::WindowList, 0, nullptr, {}}; }

// The File menu ends with the two recent lists, a separator and Exit: the settings
// loader finds the lists four and three positions before its end.
std::vector<MenuItem> fileMenu(int resourceId)
{
    std::vector<MenuItem> m = {cmd(ID_FILE_OPEN), cmd(ID_OPEN_INI), cmd(ID_OPEN_MULTI)};
    if (resourceId != kMenuNoDocument) {
        m.push_back(cmd(ID_FILE_CLOSE));
        m.push_back(sep());
        m.push_back(cmd(ID_FILE_SAVE));
        m.push_back(cmd(ID_FILE_SAVE_AS));
    }
    m.push_back(sep());
    if (resourceId == kMenuFlc) m.push_back(cmd(ID_EXPORT_TO_STORYBOARD));
    if (resourceId == kMenuStoryboard) m.push_back(cmd(ID_EXPORT_TO_FLC));
    if (resourceId != kMenuNoDocument) m.push_back(cmd(ID_EXPORT_ANIMATION));
    m.push_back(cmd(ID_NEW_STORYBOARD));
    m.push_back(cmd(ID_IMPORT_TO_STORYBOARD));
    m.push_back(sep());
    m.push_back(recentFlc());
    m.push_back(recentQsb());
    m.push_back(sep());
    m.push_back(cmd(ID_APP_EXIT));
    return m;
}

std::vector<MenuItem> viewMenu(int resourceId)
{
    std::vector<MenuItem> m = {cmd(ID_VIEW_TOOLBAR), cmd(ID_VIEW_STATUS_BAR), cmd(ID_CONTROL_BAR), sep(),
                               cmd(ID_ALWAYS_ON_TOP)};
    if (resourceId != kMenuNoDocument) {
        m.push_back(sep());
        m.push_back(popup(IDS_MENU_BACKGROUND, {cmd(ID_BGD_DEFAULT), cmd(ID_BGD_CUSTOM), cmd(ID_BGD_SEA),
                                                cmd(ID_BGD_LAND), sep(), cmd(ID_BACKGROUND_COLOR), sep(),
                                                cmd(ID_ALPHA_BLEND)}));
        std::vector<MenuItem> scale;
        for (int id = ID_VIEW_ZOOM_1X; id <= ID_VIEW_ZOOM_8X; ++id) scale.push_back(cmd(id));
        scale.push_back(cmd(ID_VIEW_ZOOM_FIT));
        scale.push_back(sep());
        scale.push_back(cmd(ID_VIEW_ZOOM_IN));
        scale.push_back(cmd(ID_VIEW_ZOOM_OUT));
        m.push_back(popup(IDS_MENU_VIEW_SCALE, std::move(scale)));
        m.push_back(cmd(ID_ZOOM));
        m.push_back(sep());
        m.push_back(cmd(ID_REFRESH));
        m.push_back(cmd(ID_INFO));
    }
    return m;
}

std::vector<MenuItem> documentMenu(int resourceId)
{
    return {
        popup(IDS_MENU_FILE, fileMenu(resourceId)),
        popup(IDS_MENU_EDIT, {cmd(ID_EDIT_UNDO), cmd(ID_EDIT_REDO), sep(), cmd(ID_COPY_TO_CLIPBOARD), cmd(ID_COPY_TO_FILE), cmd(ID_SAVE_FRAME), sep(),
                              cmd(ID_CHANGE_OFFSET)}),
        popup(IDS_MENU_VIEW, viewMenu(resourceId)),
        popup(IDS_MENU_ANIMATION,
              {cmd(ID_PLAY), cmd(ID_PAUSE), cmd(ID_STOP), sep(), cmd(ID_FIRST), cmd(ID_PREVIOUS), cmd(ID_NEXT),
               cmd(ID_LAST), sep(), cmd(ID_BACK), cmd(ID_FORWARD), sep(),
               popup(IDS_MENU_DIRECTION, {cmd(ID_DIR_SW), cmd(ID_DIR_W), cmd(ID_DIR_NW), cmd(ID_DIR_N),
                                          cmd(ID_DIR_NE), cmd(ID_DIR_E), cmd(ID_DIR_SE), cmd(ID_DIR_S), sep(),
                                          cmd(ID_DIR_ALL)})}),
        popup(IDS_MENU_PALETTE,
              {cmd(ID_PALETTE), cmd(ID_IMPORT_PALETTE), cmd(ID_EXPORT_PALETTE), sep(), cmd(ID_COLOR_REPLACE)}),
        popup(IDS_MENU_TOOLS, {cmd(ID_OPTIONS)}),
        popup(IDS_MENU_WINDOW, {cmd(ID_WINDOW_NEW), cmd(ID_WINDOW_CASCADE), cmd(ID_WINDOW_TILE_HORZ),
                                cmd(ID_WINDOW_ARRANGE), cmd(ID_CLOSE_ALL), windowList()}),
        popup(IDS_MENU_HELP, {cmd(ID_APP_ABOUT)}),
    };
}

}  // namespace

const std::vector<MenuItem>& menuDescription(int resourceId)
{
    static const std::vector<MenuItem> noDocument = {
        popup(IDS_MENU_FILE, fileMenu(kMenuNoDocument)),
        popup(IDS_MENU_VIEW, viewMenu(kMenuNoDocument)),
        popup(IDS_MENU_TOOLS, {cmd(ID_COLOR_REPLACE), sep(), cmd(ID_OPTIONS)}),
        popup(IDS_MENU_HELP, {cmd(ID_APP_ABOUT)}),
    };
    static const std::vector<MenuItem> flc = documentMenu(kMenuFlc);
    static const std::vector<MenuItem> storyboard = documentMenu(kMenuStoryboard);
    switch (resourceId) {
        case kMenuFlc: return flc;
        case kMenuStoryboard: return storyboard;
        default: return noDocument;
    }
}

}  // namespace qv
