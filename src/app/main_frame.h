// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CMainFrame: the program's main window. Menus (128 without a document, 129 and 130 for
// FLC and storyboard windows), the customisable toolbar with its recent-list drop-downs,
// the status bar, and the dockable control bar with the six panels. It handles the
// commands that need no document (bars, always on top, Options), keeps its settings
// ("Options" values, "MainFrame" placement, the docking state) and receives files that a
// second start of the program hands over.
#pragma once

#include <QList>
#include <QPointer>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/ui/mdi_frame.h"
#include "platform/ui/position.h"

class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

namespace qv {

class CControlBar;
class CControlPanels;
class CInstanceServer;

class CMainFrame : public CNewMDIFrameWnd {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // Builds the frame: window, instance socket, menus, bars, settings. False when a bar
    // could not be made.
    bool LoadFrame();

    // ---- Settings ----
    void ReadFrameSettings();
    void ApplySettings();
    void SaveSettings();
    // After the Options dialog: read again, apply, and let the active view refresh.
    void ReapplySettings();

    // ---- Parts, for the application and tests ----
    QToolBar* toolBar() const { return toolBar_; }
    CControlBar* controlBar() const { return controlBar_; }
    CControlPanels* panels() const { return panels_; }
    CInstanceServer* instanceServer() const { return instanceServer_; }
    int currentMenuId() const { return currentMenu_; }
    // The top-level popups of menu `resourceId`.
    QList<QMenu*> menus(int resourceId) const;
    // The File popup of menu `resourceId`.
    QMenu* fileMenu(int resourceId) const;
    // The "Recent &FLC Files" / "Recent Q&SB Files" popups of menu `resourceId`, found in
    // the File popup four and three positions before its end.
    QMenu* recentFlcMenu(int resourceId) const;
    QMenu* recentQsbMenu(int resourceId) const;
    // Empties every recent popup (menus and toolbar drop-downs) and fills it again.
    void RefreshRecentMenus();

    bool isTopmost() const { return topmost_; }
    void SetTopmost(bool on);

    // The colour under the toolbar's "Select background color" button (0x00BBGGRR).
    void SetSwatchColor(uint32_t colorRef);
    uint32_t swatchColor() const { return swatch_; }

    // Toolbar customisation: which buttons show (kept in the settings).
    bool isToolbarButtonVisible(int id) const;
    void setToolbarButtonVisible(int id, bool visible);
    void resetToolbarButtons();
    QToolButton* toolbarButton(int id) const;

    void OnUpdateFrameTitle() override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCmdUI& ui) override;

protected:
    void OnActiveChildChanged(CNewMDIChildWnd* child) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setupCommandActions();
    void buildMenus();
    void buildMenuItems(QMenu* parent, const std::vector<struct MenuItem>& items, int resourceId);
    void switchMenu(int resourceId);
    void fillWindowList(QMenu* menu);
    bool createStatusBar();
    bool createToolBar();
    bool createControlBar();
    void loadToolbarButtons();
    void saveToolbarButtons() const;
    void showToolbarMenu(const QPoint& pos);
    void updateSwatchIcon();
    void onFileHandedOver(const QString& path);
    // The Caps, Num and Scroll Lock panes follow the keys (where they can be read).
    void updateLockIndicators();

    CFramePosition position_{QStringLiteral("MainFrame")};
    uint32_t swatch_ = 0;
    QToolBar* toolBar_ = nullptr;
    CControlPanels* panels_ = nullptr;
    CControlBar* controlBar_ = nullptr;
    CInstanceServer* instanceServer_ = nullptr;
    int showToolBar_ = 1;
    int showStatusBar_ = 1;
    int showDialogBar_ = 1;
    bool topmost_ = false;

    std::map<int, QList<QMenu*>> menus_;  // top-level popups per menu resource
    int currentMenu_ = 0;
    struct RecentMenu {
        QMenu* menu;
        int list;  // 0 FLC, 1 storyboard
    };
    std::vector<RecentMenu> recentMenus_;
    std::map<int, QToolButton*> toolButtons_;
    std::map<int, QAction*> toolWidgetActions_;
    std::vector<QLabel*> lockIndicators_;  // empty where the states cannot be read
};

}  // namespace qv
