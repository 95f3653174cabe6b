// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/doc_manager.h"

#include <QFileInfo>

#include "core/strings.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/document.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/services.h"
#include "platform/ui/view.h"
#include "platform/ui/win_app.h"

namespace qv {

CDocManager::CDocManager() = default;
CDocManager::~CDocManager() = default;

void CDocManager::AddDocTemplate(CNewMultiDocTemplate* docTemplate)
{
    if (!docTemplate) return;
    docTemplate->setDocManager(this);
    templates_.emplace_back(docTemplate);
}

std::vector<CNewMultiDocTemplate*> CDocManager::templates() const
{
    std::vector<CNewMultiDocTemplate*> out;
    for (const auto& t : templates_) out.push_back(t.get());
    return out;
}

CDocument* CDocManager::OpenDocumentFile(const QString& path)
{
    if (path.isEmpty()) return nullptr;
    CNewMultiDocTemplate* best = nullptr;
    CNewMultiDocTemplate::Confidence bestMatch = CNewMultiDocTemplate::noAttempt;
    CDocument* open = nullptr;
    for (const auto& t : templates_) {
        CDocument* match = nullptr;
        const auto c = t->MatchDocType(path, match);
        if (c > bestMatch) {
            bestMatch = c;
            best = t.get();
            open = match;
        }
        if (c == CNewMultiDocTemplate::yesAlreadyOpen) break;
    }
    if (open) {
        // Already open: bring its first window forward.
        for (CView* v : open->GetViews()) {
            if (CNewMDIChildWnd* frame = v->GetParentFrame()) {
                if (CWinApp* app = CWinApp::instance())
                    if (CNewMDIFrameWnd* main = app->mainFrame()) main->MDIActivate(frame);
                break;
            }
        }
        return open;
    }
    if (!best) return nullptr;
    return best->OpenDocumentFile(path);
}

std::vector<CDocument*> CDocManager::documents() const
{
    std::vector<CDocument*> out;
    for (const auto& t : templates_)
        for (CDocument* d : t->documents()) out.push_back(d);
    return out;
}

int CDocManager::GetOpenDocumentCount() const { return static_cast<int>(documents().size()); }

bool CDocManager::SaveAllModified()
{
    for (const auto& t : templates_)
        if (!t->SaveAllModified()) return false;
    return true;
}

void CDocManager::CloseAllDocuments(bool endSession)
{
    for (const auto& t : templates_) t->CloseAllDocuments(endSession);
}

void CDocManager::OnFileNew()
{
    if (templates_.empty()) {
        AfxMessageBox(str::IDS_FAILED_TO_CREATE_DOC, MB_ICONSTOP);
        return;
    }
    templates_.front()->OpenDocumentFile(QString());
}

void CDocManager::OnFileOpen()
{
    QString filter;
    for (const auto& t : templates_) {
        const QString name = t->docString(CNewMultiDocTemplate::filterName);
        const QString ext = t->docString(CNewMultiDocTemplate::filterExt);
        if (!name.isEmpty() && !ext.isEmpty()) filter += name + QLatin1String("|*") + ext + QLatin1Char('|');
    }
    if (!filter.isEmpty()) filter += QLatin1Char('|');
    CFileDialogX dlg(true, QString(), QString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter);
    if (dlg.DoModal() != IDOK) return;
    if (CWinApp* app = CWinApp::instance())
        app->OpenDocumentFile(dlg.GetPathName());
    else
        OpenDocumentFile(dlg.GetPathName());
}

void CDocManager::RegisterShellFileTypes(bool) {}
void CDocManager::UnregisterShellFileTypes() {}

}  // namespace qv
