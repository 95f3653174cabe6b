// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editor_app.h"
#include "app/feature_commands.h"

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <cstdio>

#include "app/animation_control.h"
#include "app/command_ids.h"
#include "app/editor_doc_manager.h"
#include "app/main_frame.h"
#include "app/settings.h"
#include "core/strings.h"
#include "core/version.h"
#include "flc/flc_doc.h"
#include "flc/flc_template.h"
#include "storyboard/qsb_template.h"
#include "platform/imaging/builtin_data.h"
#include "platform/ui/command_line.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/document.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/single_instance.h"
#include "platform/ui/utils.h"
#include "platform/ui/view.h"

namespace qv {

using namespace settings;

namespace {

struct RegisteredCommand {
    std::function<void()> handler;
    std::function<bool()> enabled;
};
std::map<int, RegisteredCommand>& commandRegistry()
{
    static std::map<int, RegisteredCommand> registry;
    return registry;
}

// Post-install clean-up: how long a locked installer is waited for, in tries of 300 ms.
constexpr int kCleanUpTries = 200;
constexpr uint32_t kCleanUpIntervalMs = 300;

}  // namespace

CEditorApp::CEditorApp() : arguments_(QCoreApplication::arguments().mid(1)) {}

CEditorApp::~CEditorApp()
{
    if (qApp) qApp->removeEventFilter(this);
    CFlcDoc::reopenAtStartup() = {};
    if (CMainFrame* frame = mainWindow()) {
        setMainFrame(nullptr);
        delete frame;
    }
}

CEditorApp* CEditorApp::instance() { return dynamic_cast<CEditorApp*>(CWinApp::instance()); }

QString CEditorApp::programFolder() const
{
    return programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_;
}

CEditorDocManager* CEditorApp::editorDocManager() const
{
    return dynamic_cast<CEditorDocManager*>(const_cast<CEditorApp*>(this)->docManager());
}

CMainFrame* CEditorApp::mainWindow() const { return dynamic_cast<CMainFrame*>(mainFrame()); }

void CEditorApp::RegisterCommand(int id, std::function<void()> handler, std::function<bool()> enabled)
{
    commandRegistry()[id] = {std::move(handler), std::move(enabled)};
}

void CEditorApp::UnregisterCommand(int id) { commandRegistry().erase(id); }

// ---- Start-up ----------------------------------------------------------------------------

bool CEditorApp::InitInstance()
{
    exitCode_ = 0;
    SetRegistryKey(QStringLiteral("Velmora"));
    LoadSettings();

    setDocManager(new CEditorDocManager);
    auto* flc = new CDocTemplateFlc;
    installFlcClasses(*flc);
    AddDocTemplate(flc);
    auto* qsb = new CDocTemplateQsb;
    installQsbClasses(*qsb);
    AddDocTemplate(qsb);
    if (templateHook_) templateHook_(*this);
    RegisterFeatureCommands();
    // A new FLC document exists only while starting up with "reopen last document" on.
    CFlcDoc::reopenAtStartup() = [this] { return startup_ && loadDoc_; };

    CCommandLineInfoX info;
    if (!info.Parse(arguments_)) {
        std::fprintf(stderr, "%s\n", toPlainLineBreaks(info.error.toStdString()).c_str());
        exitCode_ = 2;
        return false;
    }
    if (info.m_bHelp) {
        std::fputs(CCommandLineInfoX::usage().toLocal8Bit().constData(), stdout);
        return false;
    }
    if (info.m_bVersion) {
        std::printf("%s\n", versionText().c_str());
        return false;
    }

    // The register and unregister switches confirm only what was done; a failure is
    // reported on the error stream (and in a box unless quiet) and ends with status 1.
    if (info.m_bRegister || info.m_bUnregister) {
        Status done;
        try {
            done = info.m_bRegister ? editorDocManager()->RegisterFileTypes() : editorDocManager()->UnregisterFileTypes();
        } catch (...) {
            done = Status::failure(formatMessage(str::IDS_UNKNOWN_ERROR, {"CEditorDocManager::RegisterShellFileTypes"}));
        }
        if (!done) {
            std::fprintf(stderr, "%s\n", toPlainLineBreaks(done.message).c_str());
            if (!info.m_bQuiet) AfxMessageBox(done.message, MB_ICONERROR);
            exitCode_ = 1;
            return false;
        }
        if (!info.m_bQuiet)
            AfxMessageBox(info.m_bRegister ? str::IDS_FILE_TYPE_REGISTERED : str::IDS_FILE_TYPE_UNREGISTERED,
                          info.m_bRegister ? MB_ICONINFORMATION : MB_OK);
        if (info.m_bRegister && info.m_bPostInstall) PostInstallCleanUp();
        return false;
    }
    if (info.m_bPostInstall) {
        PostInstallCleanUp();
        return false;
    }

    if (info.m_nShellCommand == CCommandLineInfoX::FileOpen) {
        // The running instance has its own current folder: hand over a full path.
        info.m_strFileName = QFileInfo(info.m_strFileName).absoluteFilePath();
        if (sendToRunningInstance(instanceServerName(), info.m_strFileName)) return false;
        startup_ = false;
    }

    auto* frame = new CMainFrame;
    setMainFrame(frame);
    if (!frame->LoadFrame()) {
        setMainFrame(nullptr);
        delete frame;
        return false;
    }
    qApp->installEventFilter(this);

    if (checkFileType_) {
        CEditorDocManager* dm = editorDocManager();
        if (!dm->CheckFileTypes()) {
            if (AfxMessageBox(str::IDS_ASK_REGISTER_FILE_TYPES, MB_YESNO | MB_ICONQUESTION) == IDYES)
                dm->RegisterShellFileTypes(true);
        }
    }
    ReadGameFolders();

    if (!ProcessShellCommand(info)) return false;
    startup_ = false;
    if (showMainWindow_ && !frame->isVisible()) frame->show();
    frame->UpdateCommandUI();
    return true;
}

int CEditorApp::ExitInstance()
{
    FlushProfile();
    return exitCode_;
}

bool CEditorApp::PostInstallCleanUp()
{
    const QDir folder(programFolder());
    const QString installer = folder.filePath(QStringLiteral("InstallQuorvane.exe"));
    int tries = 0;
    while (QFile::exists(installer)) {
        if (QFile::remove(installer)) break;
        if (++tries >= kCleanUpTries) return false;
        clock().sleepMs(kCleanUpIntervalMs);
    }
    QFile::remove(folder.filePath(QStringLiteral("msvcp60.dll")));
    return true;
}

void CEditorApp::ReadGameFolders()
{
    // The same look-up the civilization palettes use (the registry on Windows, the
    // program's settings elsewhere).
    const GameFolders g = readGameFolders();
    secondExpansionFound_ = g.secondFound;
    secondExpansionFolder_ = g.second;
    firstExpansionFound_ = g.firstFound;
    firstExpansionFolder_ = g.first;
    baseGameFound_ = g.baseFound;
    baseGameFolder_ = g.base;
    gameFolders_ = g.list();
}

// ---- Settings ----------------------------------------------------------------------------

void CEditorApp::LoadSettings()
{
    maxMru_ = readSetting(kMaxMru, kMaxMruMin, kMaxMruMax);
    loadDoc_ = readSetting(kLoadDoc) != 0;
    checkFileType_ = readSetting(kCheckFileType) != 0;
    palType_ = readSetting(kPalType, 0, 2);
    palTypeChosen_ = HasProfileValue(kOptions, kPalType.name);
    palDir_ = GetProfileString(kOptions, kPalDir);
    animType_ = readSetting(kAnimType, 0, 1);
    expOpen_ = readSetting(kExpOpen) != 0;
    expAsk_ = readSetting(kExpAsk) != 0;
    menuStyle_ = readSetting(kMenuStyle, 0, 3);
    menuSelection_ = readSetting(kMenuSelection);
    menuGloom_ = readSetting(kMenuGloom);
    buttonSettings_ = readSetting(kButtonSettings) & 3;

    // The two recent lists, with the new maximum.
    mru_.RemoveAll();
    mru_.AddList(ID_RECENT_FLC_FIRST, QString::fromLatin1(kRecentFlc), QStringLiteral("File%d"),
                 extensionFilter(QStringLiteral(".flc")), maxMru_);
    mru_.AddList(ID_RECENT_QSB_FIRST, QString::fromLatin1(kRecentQsb), QStringLiteral("File%d"),
                 extensionFilter(QStringLiteral(".qsb")), maxMru_);
    mru_.opener = [this](const QString& path) { return OpenDocumentFile(path) != nullptr; };
    if (CMainFrame* frame = mainWindow()) frame->RefreshRecentMenus();
}

// ---- Documents and commands --------------------------------------------------------------

CDocument* CEditorApp::OpenDocumentFile(const QString& path)
{
    if (path.isEmpty()) return nullptr;
    return docManager()->OpenDocumentFile(QFileInfo(path).absoluteFilePath());
}

bool CEditorApp::ProcessShellCommand(const CCommandLineInfoX& info)
{
    if (info.m_nShellCommand != CCommandLineInfoX::FileOpen) return CWinApp::ProcessShellCommand(info);
    if (OpenDocumentFile(info.m_strFileName)) return true;
    for (CNewMultiDocTemplate* t : docManager()->templates())
        if (auto* et = dynamic_cast<CEditorDocTemplate*>(t))
            if (et->lastOpenFailedInView()) return true;
    return false;
}

void CEditorApp::AddToRecentFileList(const QString& path) { mru_.Add(path); }

bool CEditorApp::RouteCommand(int id)
{
    // The recent lists see every command first.
    if (mru_.OnCommand(id)) return true;
    return CWinApp::RouteCommand(id);
}

bool CEditorApp::RouteUpdate(int id, CCmdUI& ui)
{
    if (mru_.OnUpdateCommand(id, ui)) return true;
    return CWinApp::RouteUpdate(id, ui);
}

bool CEditorApp::OnCommand(int id)
{
    switch (id) {
        case ID_CLOSE_ALL:
            // Unsaved changes are offered for saving first; Cancel closes nothing.
            if (docManager()->SaveAllModified()) docManager()->CloseAllDocuments(false);
            return true;
        case ID_FILE_OPEN: docManager()->OnFileOpen(); return true;
        default: break;
    }
    auto it = commandRegistry().find(id);
    if (it != commandRegistry().end() && it->second.handler) {
        if (!it->second.enabled || it->second.enabled()) it->second.handler();
        return true;
    }
    return false;
}

bool CEditorApp::OnUpdateCommand(int id, CCmdUI& ui)
{
    switch (id) {
        case ID_CLOSE_ALL: ui.Enable(docManager()->GetOpenDocumentCount() > 0); return true;
        case ID_FILE_OPEN: ui.Enable(true); return true;
        default: break;
    }
    auto it = commandRegistry().find(id);
    if (it != commandRegistry().end() && it->second.handler) {
        ui.Enable(!it->second.enabled || it->second.enabled());
        return true;
    }
    return false;
}

// ---- Keys --------------------------------------------------------------------------------

bool CEditorApp::HandKeyToView(int key, Qt::KeyboardModifiers modifiers)
{
    CMainFrame* frame = mainWindow();
    if (!frame) return false;
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (ctrl && key == Qt::Key_O) {
        docManager()->OnFileOpen();
        return true;
    }
    CView* view = frame->GetActiveView();
    if (ctrl && key == Qt::Key_S) {
        CDocument* doc = view ? view->GetDocument() : nullptr;
        if (doc && doc->GetDocTemplate() && doc->GetDocTemplate() == editorDocManager()->flcTemplate()) {
            view->OnCommand(ID_FILE_SAVE);
            return true;
        }
        return false;
    }
    if (!ctrl && key == Qt::Key_Pause && view) {
        view->OnCommand(ID_PAUSE);
        return true;
    }
    // Ctrl + plus (also Ctrl + = on keyboards where plus needs Shift) and Ctrl + minus zoom
    // the active view.
    if (ctrl && view && (key == Qt::Key_Plus || key == Qt::Key_Equal || key == Qt::Key_Minus)) {
        view->OnCommand(key == Qt::Key_Minus ? ID_VIEW_ZOOM_OUT : ID_VIEW_ZOOM_IN);
        return true;
    }
    if (!ctrl && key == Qt::Key_F5 && view) {
        view->OnCommand(ID_REFRESH);
        return true;
    }
    return false;
}

bool CEditorApp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // Only keys meant for the main window, its children and its floating control bar
        // (not for a dialog).
        auto* widget = qobject_cast<QWidget*>(watched);
        CMainFrame* frame = mainWindow();
        if (widget && frame) {
            QWidget* top = widget->window();
            if (top == frame || (top && top->parentWidget() == frame && qobject_cast<QDockWidget*>(top))) {
                auto* key = static_cast<QKeyEvent*>(event);
                if (HandKeyToView(key->key(), key->modifiers())) return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qv
