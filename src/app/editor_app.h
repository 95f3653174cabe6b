// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CEditorApp: the application object. It loads the settings, registers the two document
// types (FLC, then storyboard), reads the command line, hands a file to an instance that
// already runs, creates the main frame, reads the game's install folders and opens the
// start-up document. It owns the recent-file lists and handles the application commands
// (About, Close All, Open) and the keys Ctrl+O, Ctrl+S, Pause and F5.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

#include "platform/ui/mru.h"
#include "platform/ui/win_app.h"

namespace qv {

class CMainFrame;
class CEditorDocManager;
class CDocTemplateFlc;
class CDocTemplateQsb;

class CEditorApp : public QObject, public CWinApp {
    Q_OBJECT
public:
    CEditorApp();
    ~CEditorApp() override;

    static CEditorApp* instance();

    // The program's arguments after its name (by default the process's).
    void setArguments(const QStringList& arguments) { arguments_ = arguments; }
    // The program's own folder (by default the executable's), for the post-install
    // clean-up.
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }
    QString programFolder() const;
    // Whether InitInstance may show the main window (tests can keep it hidden).
    void setShowMainWindow(bool show) { showMainWindow_ = show; }
    // Called by InitInstance right after the two templates are registered (before the
    // command line is processed), for example to give a template other classes.
    void setTemplateHook(std::function<void(CEditorApp&)> hook) { templateHook_ = std::move(hook); }

    bool InitInstance() override;
    int ExitInstance() override;
    // The exit code when InitInstance returned false (0: a normal end such as a
    // hand-off; 1: the file types could not be registered or unregistered; 2: a bad
    // command line).
    int exitCode() const { return exitCode_; }

    // Reads every application setting; also run again after the Options dialog.
    void LoadSettings();

    CDocument* OpenDocumentFile(const QString& path) override;
    // As the framework's, except that a file whose window opened but whose view could not
    // load it (and said so) does not end the start-up.
    bool ProcessShellCommand(const CCommandLineInfoX& info) override;
    void AddToRecentFileList(const QString& path) override;
    bool RouteCommand(int id) override;
    bool RouteUpdate(int id, CCmdUI& ui) override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCmdUI& ui) override;

    CEditorDocManager* editorDocManager() const;
    CMruFileManager& recentFiles() { return mru_; }
    CMainFrame* mainWindow() const;

    // Commands whose features live elsewhere (dialogs, bulk opening, ...) register a
    // handler here; a command without a handler stays disabled. `enabled` may be empty
    // (always enabled).
    static void RegisterCommand(int id, std::function<void()> handler, std::function<bool()> enabled = {});
    static void UnregisterCommand(int id);

    // ---- Settings members ----
    bool baseGameFound() const { return baseGameFound_; }
    bool firstExpansionFound() const { return firstExpansionFound_; }
    bool secondExpansionFound() const { return secondExpansionFound_; }
    const QString& baseGameFolder() const { return baseGameFolder_; }
    const QString& firstExpansionFolder() const { return firstExpansionFolder_; }
    const QString& secondExpansionFolder() const { return secondExpansionFolder_; }
    // The game folders found, in the order second expansion, first expansion, base game.
    const QStringList& gameFolders() const { return gameFolders_; }
    int maxRecentFiles() const { return maxMru_; }
    bool reopenLastDocument() const { return loadDoc_; }
    bool isStartingUp() const { return startup_; }
    void setStartingUp(bool on) { startup_ = on; }
    bool checkFileTypes() const { return checkFileType_; }
    int animationType() const { return animType_; }
    bool openAfterExport() const { return expOpen_; }
    bool askOnExport() const { return expAsk_; }
    int paletteType() const { return palType_; }
    // The source the civilization palettes come from: "Pal Type", except that on a machine
    // without the game, while no source was ever chosen, the built-in schemes.
    int civPaletteSource() const { return !palTypeChosen_ && !baseGameFound_ && palType_ == 0 ? 1 : palType_; }
    bool usesBuiltinSchemesByDefault() const { return civPaletteSource() != palType_; }
    const QString& paletteFolder() const { return palDir_; }
    // The UI settings read at start-up ("Menu" and "ButtonX").
    int menuStyle() const { return menuStyle_; }
    int menuSelection() const { return menuSelection_; }
    int menuGloom() const { return menuGloom_; }
    int buttonSettings() const { return buttonSettings_; }

    // Reads the game's install folders (second expansion, first expansion, base game).
    void ReadGameFolders();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool PostInstallCleanUp();
    bool HandKeyToView(int key, Qt::KeyboardModifiers modifiers);

    QStringList arguments_;
    QString programFolder_;
    bool showMainWindow_ = true;
    std::function<void(CEditorApp&)> templateHook_;
    int exitCode_ = 0;
    CMruFileManager mru_;

    bool baseGameFound_ = false;
    bool firstExpansionFound_ = false;
    bool secondExpansionFound_ = false;
    QString baseGameFolder_;
    QString firstExpansionFolder_;
    QString secondExpansionFolder_;
    QStringList gameFolders_;
    int maxMru_ = 4;
    bool loadDoc_ = false;
    bool startup_ = true;
    bool checkFileType_ = true;
    int animType_ = 0;
    bool expOpen_ = true;
    bool expAsk_ = true;
    int palType_ = 0;
    bool palTypeChosen_ = false;
    QString palDir_;
    int menuStyle_ = 2;
    int menuSelection_ = 1;
    int menuGloom_ = 1;
    int buttonSettings_ = 0;
};

inline CEditorApp* theApp() { return CEditorApp::instance(); }

}  // namespace qv
