// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CWinApp: the application object of a document/view program. It owns the document
// manager and knows the main window; commands nobody else handled end here. There is
// one at a time, reached through CWinApp::instance() (AfxGetApp()).
#pragma once

#include <QString>
#include <memory>

#include "platform/ui/cmd_target.h"

class QWidget;

namespace qv {

class CDocManager;
class CDocument;
class CNewMDIFrameWnd;
class CNewMultiDocTemplate;
class CCommandLineInfoX;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* instance();

    // Start-up: true runs the event loop, false ends the program.
    virtual bool InitInstance();
    // Called after the event loop ends; returns the exit code.
    virtual int ExitInstance();

    // The settings' company name (QSettings organisation); the application name is
    // the application title.
    void SetRegistryKey(const QString& company);

    // The document manager (created on first use when none was installed).
    CDocManager* docManager();
    void setDocManager(CDocManager* manager);  // takes ownership
    void AddDocTemplate(CNewMultiDocTemplate* docTemplate);

    CNewMDIFrameWnd* mainFrame() const { return mainFrame_; }
    void setMainFrame(CNewMDIFrameWnd* frame) { mainFrame_ = frame; }

    // Opens a document through the document manager.
    virtual CDocument* OpenDocumentFile(const QString& path);
    // Called after a document was opened or saved under `path`; the base does nothing.
    virtual void AddToRecentFileList(const QString& path);
    // Runs the shell command of a parsed command line: opens the file, or the New
    // command when none was given. False when a named file could not be opened, or when
    // there is no main window afterwards.
    virtual bool ProcessShellCommand(const CCommandLineInfoX& info);

    // The application's end of command routing: OnCommand / OnUpdateCommand, then the
    // document manager's New and Open.
    virtual bool RouteCommand(int id);
    virtual bool RouteUpdate(int id, CCmdUI& ui);

    QString appTitle() const { return appTitle_; }
    void setAppTitle(const QString& title) { appTitle_ = title; }

private:
    std::unique_ptr<CDocManager> docManager_;
    CNewMDIFrameWnd* mainFrame_ = nullptr;
    QString appTitle_ = QStringLiteral("Quorvane");
};

inline CWinApp* AfxGetApp() { return CWinApp::instance(); }

}  // namespace qv
