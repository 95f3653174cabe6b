// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/animation_control.h"
#include "app/command_ids.h"
#include "app/commands.h"
#include "app/control_bar.h"
#include "app/control_panels.h"
#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "app/settings.h"
#include "core/strings.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/document.h"
#include "platform/ui/lock_keys.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/mru.h"
#include "platform/ui/rollup.h"
#include "platform/ui/profile.h"
#include "platform/ui/single_instance.h"
#include "platform/ui/view.h"

namespace qv {

using namespace settings;

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

QColor fromColorRef(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

CMainFrame::CMainFrame()
{
    setObjectName(QStringLiteral("QuorvaneV2"));
    swatch_ = buttonFaceColorRef();
}

CMainFrame::~CMainFrame()
{
    if (controlPanels() == panels_) setControlPanels(nullptr);
}

bool CMainFrame::LoadFrame()
{
    setAppTitle(S(str::IDS_APP_TITLE));
    setWindowIcon(namedIcon(QStringLiteral("app")));
    // Dialogs and every other window take the program's icon too.
    QApplication::setWindowIcon(windowIcon());
    // A second start finds this instance by its socket, the way it once found the
    // window class "QuorvaneV2". A name a live instance holds is left to it.
    instanceServer_ = new CInstanceServer(this);
    instanceServer_->listen(instanceServerName());
    connect(instanceServer_, &CInstanceServer::fileReceived, this, &CMainFrame::onFileHandedOver);

    // First start: three quarters of the screen's free area, centred; a placement saved
    // by an earlier run wins.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        const QSize size(std::max(free.width() * 3 / 4, std::min(800, free.width())),
                         std::max(free.height() * 3 / 4, std::min(600, free.height())));
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, free));
    } else {
        resize(800, 600);
    }
    position_.Load(this);
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);

    ReadFrameSettings();
    setupCommandActions();
    if (!createStatusBar() || !createToolBar() || !createControlBar()) return false;
    const QByteArray state = GetProfileBinary(kCtrlBars, QStringLiteral("State"));
    if (!state.isEmpty()) restoreState(state);
    buildMenus();
    switchMenu(kMenuNoDocument);
    ApplySettings();
    if (CEditorApp* app = theApp())
        connect(&app->recentFiles(), &CMruFileManager::listsChanged, this, &CMainFrame::RefreshRecentMenus);
    RefreshRecentMenus();
    OnUpdateFrameTitle();
    UpdateCommandUI();
    return true;
}

// ---- Settings --------------------------------------------------------------------------

void CMainFrame::ReadFrameSettings()
{
    showToolBar_ = readSetting(kShowToolBar);
    showStatusBar_ = readSetting(kShowStatusBar);
    showDialogBar_ = readSetting(kShowDialogBar);
    SetTopmost(readSetting(kAlwaysOnTop) > 0);
}

void CMainFrame::ApplySettings()
{
    if (controlBar_) controlBar_->setVisible(showDialogBar_ != 0);
    statusBar()->setVisible(showStatusBar_ != 0);
    if (toolBar_) toolBar_->setVisible(showToolBar_ > 0);
}

void CMainFrame::SaveSettings()
{
    writeSetting(kShowToolBar, toolBar_ && !toolBar_->isHidden() ? 1 : 0);
    writeSetting(kShowStatusBar, !statusBar()->isHidden() ? 1 : 0);
    writeSetting(kShowDialogBar, controlBar_ && !controlBar_->isHidden() ? 1 : 0);
    position_.Save(this);
    WriteProfileBinary(kCtrlBars, QStringLiteral("State"), saveState());
    if (controlBar_) controlBar_->SaveState();
    if (panels_) panels_->SaveExpandedStates();
    saveToolbarButtons();
    writeSetting(kAlwaysOnTop, topmost_ ? 1 : 0);
    FlushProfile();
}

void CMainFrame::ReapplySettings()
{
    ReadFrameSettings();
    ApplySettings();
    if (panels_) panels_->refresh();
    RefreshRecentMenus();
}

// ---- Commands and menus ----------------------------------------------------------------

void CMainFrame::setupCommandActions()
{
    for (const CommandInfo& c : allCommands()) {
        QAction* a = commandAction(c.id);
        a->setText(S(c.menuText));
        a->setStatusTip(commandStatusText(c.id));
        a->setToolTip(commandToolTip(c.id));
        a->setIcon(commandIcon(c.id));
        a->setIconVisibleInMenu(true);
        a->setCheckable(c.checkable);
    }
    // Keys of the accelerator table that no other place handles (Ctrl+O, Ctrl+S, Pause
    // and F5 are the application's own keys).
    commandAction(ID_APP_EXIT)->setShortcut(QKeySequence(Qt::Key_F12));
    commandAction(ID_APP_EXIT)->setShortcutContext(Qt::ApplicationShortcut);
    // Undo and redo of palette changes, whichever menu is shown.
    commandAction(ID_EDIT_UNDO)->setShortcut(QKeySequence::Undo);
    commandAction(ID_EDIT_REDO)->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    addAction(commandAction(ID_EDIT_UNDO));
    addAction(commandAction(ID_EDIT_REDO));
    updateSwatchIcon();
}

void CMainFrame::buildMenuItems(QMenu* parent, const std::vector<MenuItem>& items, int resourceId)
{
    for (const MenuItem& item : items) {
        switch (item.kind) {
            case MenuItem::Command: parent->addAction(commandAction(item.id)); break;
            case MenuItem::Separator: parent->addSeparator(); break;
            case MenuItem::Popup: {
                QMenu* sub = parent->addMenu(S(item.text));
                watchMenu(sub);
                buildMenuItems(sub, item.items, resourceId);
                break;
            }
            case MenuItem::RecentFlc:
            case MenuItem::RecentStoryboard: {
                const bool flc = item.kind == MenuItem::RecentFlc;
                QMenu* sub = parent->addMenu(S(item.text));
                sub->setIcon(namedIcon(flc ? QStringLiteral("recent_flc") : QStringLiteral("recent_qsb")));
                recentMenus_.push_back({sub, flc ? 0 : 1});
                break;
            }
            case MenuItem::WindowList: {
                connect(parent, &QMenu::aboutToShow, this, [this, parent] { fillWindowList(parent); });
                break;
            }
        }
    }
}

void CMainFrame::buildMenus()
{
    for (int id : {kMenuNoDocument, kMenuFlc, kMenuStoryboard}) {
        QList<QMenu*> tops;
        for (const MenuItem& item : menuDescription(id)) {
            auto* menu = new QMenu(S(item.text), this);
            watchMenu(menu);
            buildMenuItems(menu, item.items, id);
            tops.append(menu);
        }
        menus_[id] = tops;
    }
    // The toolbar's drop-down menus: Open's (both lists), and one per list.
    auto* openDrop = new QMenu(this);
    QMenu* flcSub = openDrop->addMenu(S(str::IDS_MENU_RECENT_FLC));
    flcSub->setIcon(namedIcon(QStringLiteral("recent_flc")));
    QMenu* qsbSub = openDrop->addMenu(S(str::IDS_MENU_RECENT_QSB));
    qsbSub->setIcon(namedIcon(QStringLiteral("recent_qsb")));
    recentMenus_.push_back({flcSub, 0});
    recentMenus_.push_back({qsbSub, 1});
    auto* flcDrop = new QMenu(this);
    auto* qsbDrop = new QMenu(this);
    recentMenus_.push_back({flcDrop, 0});
    recentMenus_.push_back({qsbDrop, 1});
    if (QToolButton* b = toolbarButton(ID_FILE_OPEN)) b->setMenu(openDrop);
    if (QToolButton* b = toolbarButton(ID_RECENT_FLC)) b->setMenu(flcDrop);
    if (QToolButton* b = toolbarButton(ID_RECENT_STORYBOARD)) b->setMenu(qsbDrop);
}

QList<QMenu*> CMainFrame::menus(int resourceId) const
{
    auto it = menus_.find(resourceId);
    return it == menus_.end() ? QList<QMenu*>() : it->second;
}

QMenu* CMainFrame::fileMenu(int resourceId) const
{
    const QList<QMenu*> tops = menus(resourceId);
    return tops.isEmpty() ? nullptr : tops.front();
}

static QMenu* popupFromEnd(QMenu* menu, int fromEnd)
{
    if (!menu) return nullptr;
    const QList<QAction*> actions = menu->actions();
    const int index = static_cast<int>(actions.size()) - fromEnd;
    return index >= 0 ? actions.at(index)->menu() : nullptr;
}

QMenu* CMainFrame::recentFlcMenu(int resourceId) const { return popupFromEnd(fileMenu(resourceId), 4); }

QMenu* CMainFrame::recentQsbMenu(int resourceId) const { return popupFromEnd(fileMenu(resourceId), 3); }

void CMainFrame::RefreshRecentMenus()
{
    CEditorApp* app = theApp();
    for (const RecentMenu& r : recentMenus_) {
        if (app)
            app->recentFiles().FillMenu(r.menu, r.list, [this](int id) {
                RouteCommand(id);
                UpdateCommandUI();
            });
        else
            r.menu->clear();
    }
}

void CMainFrame::switchMenu(int resourceId)
{
    if (resourceId == currentMenu_) return;
    currentMenu_ = resourceId;
    menuBar()->clear();
    for (QMenu* m : menus(resourceId)) menuBar()->addMenu(m);
}

void CMainFrame::fillWindowList(QMenu* menu)
{
    // Entries after the marker separator are the open windows.
    const QList<QAction*> actions = menu->actions();
    bool after = false;
    for (QAction* a : actions) {
        if (a->property("qvWindowList").toBool()) after = true;
        if (after) {
            menu->removeAction(a);
            a->deleteLater();
        }
    }
    const QList<QMdiSubWindow*> windows = mdiArea()->subWindowList();
    if (windows.isEmpty()) return;
    QAction* marker = menu->addSeparator();
    marker->setProperty("qvWindowList", true);
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        if (!w->isVisible()) continue;
        ++n;
        auto* child = qobject_cast<CNewMDIChildWnd*>(w);
        const QString title = child ? child->shownTitle() : w->windowTitle();
        const QString text =
            n <= 9 ? QStringLiteral("&%1 %2").arg(n).arg(title) : QStringLiteral("%1 %2").arg(n).arg(title);
        QAction* a = menu->addAction(text);
        a->setCheckable(true);
        a->setChecked(w == mdiArea()->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] {
            if (auto* child = qobject_cast<CNewMDIChildWnd*>(w)) MDIActivate(child);
        });
    }
}

void CMainFrame::OnActiveChildChanged(CNewMDIChildWnd* child)
{
    int id = kMenuNoDocument;
    if (child)
        if (CDocument* doc = child->GetActiveDocument())
            if (CNewMultiDocTemplate* t = doc->GetDocTemplate()) id = t->resourceId();
    switchMenu(id);
}

bool CMainFrame::OnCommand(int id)
{
    switch (id) {
        case ID_OPTIONS:
            // The frame's settings are saved first so the dialog shows the current state;
            // the dialog itself is the application's command.
            SaveSettings();
            return false;
        case ID_VIEW_TOOLBAR:
            if (toolBar_) {
                toolBar_->setVisible(toolBar_->isHidden());
                showToolBar_ = toolBar_->isHidden() ? 0 : 1;
            }
            return true;
        case ID_VIEW_STATUS_BAR:
            showStatusBar_ = showStatusBar_ ? 0 : 1;
            statusBar()->setVisible(showStatusBar_ != 0);
            return true;
        case ID_CONTROL_BAR:
            if (controlBar_) {
                showDialogBar_ = controlBar_->isHidden() ? 0 : 1;
                showDialogBar_ = showDialogBar_ ? 0 : 1;
                controlBar_->setVisible(showDialogBar_ != 0);
            }
            return true;
        case ID_ALWAYS_ON_TOP: SetTopmost(!topmost_); return true;
        case ID_RECENT_FLC:
        case ID_RECENT_STORYBOARD:
            if (QToolButton* b = toolbarButton(id)) b->showMenu();
            return true;
        default: break;
    }
    return CNewMDIFrameWnd::OnCommand(id);
}

bool CMainFrame::OnUpdateCommand(int id, CCmdUI& ui)
{
    switch (id) {
        case ID_VIEW_TOOLBAR: ui.SetCheck(toolBar_ && !toolBar_->isHidden()); return true;
        case ID_VIEW_STATUS_BAR: ui.SetCheck(showStatusBar_ != 0); return true;
        case ID_CONTROL_BAR:
            // The flag follows the bar first: its own close button may have hidden it.
            if (controlBar_) showDialogBar_ = controlBar_->isHidden() ? 0 : 1;
            ui.SetCheck(showDialogBar_ != 0);
            return true;
        case ID_ALWAYS_ON_TOP: ui.SetCheck(topmost_); return true;
        case ID_RECENT_FLC:
        case ID_RECENT_STORYBOARD: ui.Enable(true); return true;
        default: break;
    }
    return CNewMDIFrameWnd::OnUpdateCommand(id, ui);
}

// ---- Always on top, swatch, title ------------------------------------------------------

void CMainFrame::SetTopmost(bool on)
{
    if (on == topmost_ && ((windowFlags() & Qt::WindowStaysOnTopHint) != 0) == on) return;
    topmost_ = on;
    const bool visible = isVisible();
    const QRect geometry = this->geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) {
        // Changing the flag re-creates the window: put it back where it was, unactivated.
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        setGeometry(geometry);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

void CMainFrame::SetSwatchColor(uint32_t colorRef)
{
    swatch_ = colorRef;
    updateSwatchIcon();
}

void CMainFrame::updateSwatchIcon()
{
    // The button's icon with a colour bar over its lower part: a 16 x 5 frame in the
    // button-shadow colour and a 14 x 3 bar in the swatch colour (the button-face colour
    // when the button is disabled).
    const QIcon base = commandIcon(ID_BACKGROUND_COLOR);
    const QPalette pal = QApplication::palette();
    auto draw = [&](const QColor& bar, QIcon::Mode mode) {
        QPixmap pm = base.pixmap(QSize(16, 16), mode);
        if (pm.isNull()) {
            pm = QPixmap(16, 16);
            pm.fill(Qt::transparent);
        }
        QPainter p(&pm);
        p.fillRect(QRect(0, 11, 16, 5), pal.color(QPalette::Dark));
        p.fillRect(QRect(1, 12, 14, 3), bar);
        return pm;
    };
    QIcon icon;
    icon.addPixmap(draw(fromColorRef(swatch_), QIcon::Normal), QIcon::Normal);
    icon.addPixmap(draw(pal.color(QPalette::Button), QIcon::Disabled), QIcon::Disabled);
    commandAction(ID_BACKGROUND_COLOR)->setIcon(icon);
}

void CMainFrame::OnUpdateFrameTitle()
{
    CNewMDIChildWnd* child = MDIGetActive();
    CDocument* doc = child ? child->GetActiveDocument() : nullptr;
    QString title;
    if (child && !child->isMaximized() && doc) {
        const bool flc = doc->GetDocTemplate() && doc->GetDocTemplate()->resourceId() == kMenuFlc;
        title = QString::fromStdString(
            formatMessage(str::IDS_TITLE_WITH_DOCUMENT,
                          {appTitle().toStdString(), doc->GetPathName().toStdString(),
                           flc ? str::IDS_TITLE_KIND_FLC : str::IDS_TITLE_KIND_STORYBOARD}));
    } else if (child && !child->shownTitle().isEmpty()) {
        title = QString::fromStdString(
            formatMessage(str::IDS_TITLE_WITH_CHILD, {appTitle().toStdString(), child->shownTitle().toStdString()}));
    } else {
        title = appTitle();
    }
    if (windowTitle() != title) setWindowTitle(title);
}

// ---- Bars ------------------------------------------------------------------------------

bool CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    // The lock-key panes only where the keys' states can be read: a pane that never
    // changes would tell the user something false.
    if (lockKeyStatesAvailable()) {
        for (const char* text : {str::IDS_INDICATOR_CAPS, str::IDS_INDICATOR_NUM, str::IDS_INDICATOR_SCROLL}) {
            auto* indicator = new QLabel(S(text), bar);
            indicator->setAlignment(Qt::AlignCenter);
            indicator->setFrameShape(QFrame::Panel);
            indicator->setFrameShadow(QFrame::Sunken);
            indicator->setEnabled(false);
            bar->addPermanentWidget(indicator);
            lockIndicators_.push_back(indicator);
        }
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, &CMainFrame::updateLockIndicators);
        poll->start(250);
        updateLockIndicators();
    }
    bar->showMessage(S(str::IDS_STATUS_READY));
    return true;
}

void CMainFrame::updateLockIndicators()
{
    if (lockIndicators_.size() != 3) return;
    const LockKeyStates s = lockKeyStates();
    const bool on[3] = {s.caps, s.num, s.scroll};
    for (int i = 0; i < 3; ++i)
        if (lockIndicators_[i]->isEnabled() != on[i]) lockIndicators_[i]->setEnabled(on[i]);
}

bool CMainFrame::createToolBar()
{
    toolBar_ = new QToolBar(S(str::IDS_TOOLBAR_TITLE), this);
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(toolBar_, &QToolBar::customContextMenuRequested, this, &CMainFrame::showToolbarMenu);
    for (const ToolbarButton& tb : toolbarButtons()) {
        auto* button = new QToolButton(toolBar_);
        button->setDefaultAction(commandAction(tb.id));
        button->setAutoRaise(true);
        button->setObjectName(QString::number(tb.id));
        if (tb.style == ToolbarButton::DropDownArrow) button->setPopupMode(QToolButton::MenuButtonPopup);
        if (tb.style == ToolbarButton::WholeDropDown) button->setPopupMode(QToolButton::InstantPopup);
        toolButtons_[tb.id] = button;
        toolWidgetActions_[tb.id] = toolBar_->addWidget(button);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    loadToolbarButtons();
    return true;
}

QToolButton* CMainFrame::toolbarButton(int id) const
{
    auto it = toolButtons_.find(id);
    return it == toolButtons_.end() ? nullptr : it->second;
}

bool CMainFrame::isToolbarButtonVisible(int id) const
{
    auto it = toolWidgetActions_.find(id);
    return it != toolWidgetActions_.end() && it->second->isVisible();
}

void CMainFrame::setToolbarButtonVisible(int id, bool visible)
{
    auto it = toolWidgetActions_.find(id);
    if (it != toolWidgetActions_.end()) it->second->setVisible(visible);
}

void CMainFrame::resetToolbarButtons()
{
    for (const ToolbarButton& tb : toolbarButtons()) setToolbarButtonVisible(tb.id, tb.visibleAtFirst);
}

void CMainFrame::loadToolbarButtons()
{
    const QString saved = GetProfileString(kToolBar, QStringLiteral("Buttons"), QStringLiteral("-"));
    if (saved == QLatin1String("-")) {
        resetToolbarButtons();
        return;
    }
    QList<int> shown;
    for (const QString& part : saved.split(QLatin1Char(','), Qt::SkipEmptyParts)) shown.append(part.toInt());
    for (const ToolbarButton& tb : toolbarButtons()) setToolbarButtonVisible(tb.id, shown.contains(tb.id));
}

void CMainFrame::saveToolbarButtons() const
{
    QStringList shown;
    for (const ToolbarButton& tb : toolbarButtons())
        if (isToolbarButtonVisible(tb.id)) shown.append(QString::number(tb.id));
    WriteProfileString(kToolBar, QStringLiteral("Buttons"), shown.join(QLatin1Char(',')));
}

void CMainFrame::showToolbarMenu(const QPoint& pos)
{
    QMenu menu(this);
    for (const ToolbarButton& tb : toolbarButtons()) {
        QAction* a = menu.addAction(commandIcon(tb.id), commandToolTip(tb.id));
        a->setCheckable(true);
        a->setChecked(isToolbarButtonVisible(tb.id));
        const int id = tb.id;
        connect(a, &QAction::toggled, this, [this, id](bool on) {
            setToolbarButtonVisible(id, on);
            saveToolbarButtons();
        });
    }
    menu.addSeparator();
    connect(menu.addAction(S(str::IDS_TOOLBAR_RESET)), &QAction::triggered, this, [this] {
        resetToolbarButtons();
        saveToolbarButtons();
    });
    menu.exec(toolBar_->mapToGlobal(pos));
}

bool CMainFrame::createControlBar()
{
    panels_ = new CControlPanels;
    if (!panels_->rollup() || panels_->rollup()->GetPageCount() != kPanelCount) return false;
    controlBar_ = new CControlBar(S(str::IDS_CONTROL_BAR_TITLE), panels_, this);
    addDockWidget(Qt::LeftDockWidgetArea, controlBar_);
    controlBar_->LoadState();
    setControlPanels(panels_);
    return true;
}

// ---- Events ----------------------------------------------------------------------------

void CMainFrame::onFileHandedOver(const QString& path)
{
    if (CWinApp* app = CWinApp::instance()) app->OpenDocumentFile(path);
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SaveSettings();
    CWinApp* app = CWinApp::instance();
    if (app && !app->docManager()->SaveAllModified()) {
        event->ignore();
        return;
    }
    if (app) app->docManager()->CloseAllDocuments(true);
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    CWinApp* app = CWinApp::instance();
    if (!app) return;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) app->OpenDocumentFile(url.toLocalFile());
    event->acceptProposedAction();
    activateWindow();
}

}  // namespace qv
