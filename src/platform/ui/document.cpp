// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/document.h"

#include <QFileInfo>
#include <algorithm>

#include "core/strings.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/services.h"
#include "platform/ui/std_commands.h"
#include "platform/ui/view.h"
#include "platform/ui/win_app.h"

namespace qv {

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* v : views_) v->setDocument(nullptr);
    if (template_) template_->RemoveDocument(this);
}

bool CDocument::OnNewDocument()
{
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString&)
{
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString&)
{
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument()
{
    if (closing_) return;
    closing_ = true;
    // Frames go first: each one's view leaves the document as its window closes.
    const std::vector<CView*> views = views_;
    for (CView* v : views) {
        if (CNewMDIChildWnd* frame = v->GetParentFrame())
            frame->destroyFrame();
        else
            v->deleteLater();
        RemoveView(v);
    }
    if (template_) template_->RemoveDocument(this);
    template_ = nullptr;
    deleteLater();
}

bool CDocument::SaveModified()
{
    if (!modified_) return true;
    const QString name = title_.isEmpty() ? path_ : title_;
    const int answer = AfxMessageBox(formatMessage(str::IDS_ASK_TO_SAVE, {name.toStdString()}),
                                     MB_YESNOCANCEL | MB_SAVEDISCARD | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) return DoFileSave();
    return true;
}

bool CDocument::CanCloseFrame(CNewMDIChildWnd* frame)
{
    // Another window still shows the document: this one may go without asking.
    for (CView* v : views_)
        if (v->GetParentFrame() && v->GetParentFrame() != frame) return true;
    return SaveModified();
}

void CDocument::SetPathName(const QString& path, bool addToRecent)
{
    path_ = path;
    SetTitle(QFileInfo(path).fileName());
    if (addToRecent)
        if (CWinApp* app = CWinApp::instance()) app->AddToRecentFileList(path);
}

void CDocument::SetTitle(const QString& title)
{
    title_ = title;
    emit titleChanged(title_);
}

void CDocument::SetModifiedFlag(bool modified)
{
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

bool CDocument::DoSave(const QString& path, bool replace)
{
    QString target = path;
    if (target.isEmpty()) {
        QString filter, ext;
        if (template_) {
            const QString name = template_->docString(CNewMultiDocTemplate::filterName);
            ext = template_->docString(CNewMultiDocTemplate::filterExt);
            if (!name.isEmpty() && !ext.isEmpty())
                filter = name + QLatin1Char('|') + QLatin1Char('*') + ext + QLatin1String("||");
        }
        CFileDialogX dlg(false, ext.mid(1), title_, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
        if (dlg.DoModal() != IDOK) return false;
        target = dlg.GetPathName();
    }
    if (!OnSaveDocument(target)) return false;
    if (replace) SetPathName(target);
    return true;
}

bool CDocument::DoFileSave() { return DoSave(path_); }

void CDocument::AddView(CView* view)
{
    if (!view || std::find(views_.begin(), views_.end(), view) != views_.end()) return;
    views_.push_back(view);
    view->setDocument(this);
}

void CDocument::RemoveView(CView* view)
{
    auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end()) return;
    views_.erase(it);
    view->setDocument(nullptr);
}

void CDocument::UpdateAllViews(CView* sender, int hint)
{
    for (CView* v : views_)
        if (v != sender) v->OnUpdate(sender, hint);
}

bool CDocument::OnCommand(int id)
{
    if (id == ID_FILE_CLOSE) {
        if (SaveModified()) OnCloseDocument();
        return true;
    }
    return false;
}

bool CDocument::OnUpdateCommand(int id, CCmdUI& ui)
{
    if (id == ID_FILE_CLOSE) {
        ui.Enable(true);
        return true;
    }
    return false;
}

}  // namespace qv
