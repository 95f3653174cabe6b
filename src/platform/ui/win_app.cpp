// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/win_app.h"

#include "core/strings.h"
#include "platform/ui/command_line.h"
#include "platform/ui/doc_manager.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/profile.h"
#include "platform/ui/std_commands.h"

namespace qv {

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp()
{
    appTitle_ = QString::fromUtf8(str::IDS_APP_TITLE);
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = nullptr;
}

CWinApp* CWinApp::instance() { return g_app; }

bool CWinApp::InitInstance() { return true; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetRegistryKey(const QString& company) { setProfileNames(company, appTitle_); }

CDocManager* CWinApp::docManager()
{
    if (!docManager_) docManager_ = std::make_unique<CDocManager>();
    return docManager_.get();
}

void CWinApp::setDocManager(CDocManager* manager) { docManager_.reset(manager); }

void CWinApp::AddDocTemplate(CNewMultiDocTemplate* docTemplate) { docManager()->AddDocTemplate(docTemplate); }

CDocument* CWinApp::OpenDocumentFile(const QString& path) { return docManager()->OpenDocumentFile(path); }

void CWinApp::AddToRecentFileList(const QString&) {}

bool CWinApp::ProcessShellCommand(const CCommandLineInfoX& info)
{
    switch (info.m_nShellCommand) {
        case CCommandLineInfoX::FileNew:
            if (!RouteCommand(ID_FILE_NEW)) docManager()->OnFileNew();
            return mainFrame_ != nullptr;
        case CCommandLineInfoX::FileOpen: return OpenDocumentFile(info.m_strFileName) != nullptr;
        case CCommandLineInfoX::FileNothing: return true;
    }
    return true;
}

bool CWinApp::RouteCommand(int id)
{
    if (OnCommand(id)) return true;
    switch (id) {
        case ID_FILE_NEW: docManager()->OnFileNew(); return true;
        case ID_FILE_OPEN: docManager()->OnFileOpen(); return true;
        default: return false;
    }
}

bool CWinApp::RouteUpdate(int id, CCmdUI& ui)
{
    if (OnUpdateCommand(id, ui)) return true;
    if (id == ID_FILE_NEW || id == ID_FILE_OPEN) {
        ui.Enable(true);
        return true;
    }
    return false;
}

}  // namespace qv
