// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/doc_template.h"

#include <QFileInfo>
#include <algorithm>

#include "platform/ui/document.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/view.h"
#include "platform/ui/win_app.h"

namespace qv {

CNewMultiDocTemplate::CNewMultiDocTemplate(int resourceId, const QString& docString, DocumentFactory makeDocument,
                                           FrameFactory makeFrame, ViewFactory makeView)
    : resourceId_(resourceId),
      docString_(docString),
      makeDocument_(std::move(makeDocument)),
      makeFrame_(std::move(makeFrame)),
      makeView_(std::move(makeView))
{
}

CNewMultiDocTemplate::~CNewMultiDocTemplate()
{
    for (CDocument* d : docs_) d->setDocTemplate(nullptr);
}

void CNewMultiDocTemplate::setFactories(DocumentFactory makeDocument, FrameFactory makeFrame, ViewFactory makeView)
{
    if (makeDocument) makeDocument_ = std::move(makeDocument);
    if (makeFrame) makeFrame_ = std::move(makeFrame);
    if (makeView) makeView_ = std::move(makeView);
}

QString CNewMultiDocTemplate::docString(DocStringIndex index) const
{
    const QStringList parts = docString_.split(QLatin1Char('\n'));
    return index < parts.size() ? parts.at(index) : QString();
}

bool CNewMultiDocTemplate::GetDocString(QString& out, DocStringIndex index) const
{
    out = docString(index);
    return !out.isEmpty();
}

CDocument* CNewMultiDocTemplate::CreateNewDocument()
{
    if (!makeDocument_) return nullptr;
    CDocument* doc = makeDocument_();
    if (doc) AddDocument(doc);
    return doc;
}

CNewMDIChildWnd* CNewMultiDocTemplate::CreateNewFrame(CDocument* doc)
{
    CNewMDIChildWnd* frame = makeFrame_ ? makeFrame_() : new CNewMDIChildWnd;
    CView* view = makeView_ ? makeView_() : nullptr;
    if (!frame) {
        delete view;
        return nullptr;
    }
    if (!view) view = new CView;
    frame->setView(view, doc);
    if (CWinApp* app = CWinApp::instance())
        if (CNewMDIFrameWnd* main = app->mainFrame()) main->addChildFrame(frame);
    return frame;
}

void CNewMultiDocTemplate::AddDocument(CDocument* doc)
{
    if (std::find(docs_.begin(), docs_.end(), doc) != docs_.end()) return;
    docs_.push_back(doc);
    doc->setDocTemplate(this);
}

void CNewMultiDocTemplate::RemoveDocument(CDocument* doc)
{
    auto it = std::find(docs_.begin(), docs_.end(), doc);
    if (it != docs_.end()) docs_.erase(it);
}

CDocument* CNewMultiDocTemplate::OpenDocumentFile(const QString& path, bool makeVisible)
{
    CDocument* doc = CreateNewDocument();
    if (!doc) return nullptr;
    CNewMDIChildWnd* frame = CreateNewFrame(doc);
    if (!frame) {
        RemoveDocument(doc);
        delete doc;
        return nullptr;
    }
    bool ok;
    if (path.isEmpty()) {
        // A new document is named after the type: "FLC1", "FLC2", ...
        static int untitled = 0;
        doc->SetTitle(docString(fileNewName) + QString::number(++untitled));
        ok = doc->OnNewDocument();
    } else {
        ok = doc->OnOpenDocument(path);
        if (ok) doc->SetPathName(path, false);
    }
    if (!ok) {
        // The refused document leaves no window behind.
        doc->OnCloseDocument();
        return nullptr;
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    // Only a file that opened goes to the recent lists (a view that could not load it
    // has closed its document by now).
    if (!path.isEmpty() && !doc->isClosing())
        if (CWinApp* app = CWinApp::instance()) app->AddToRecentFileList(path);
    return doc;
}

CNewMultiDocTemplate::Confidence CNewMultiDocTemplate::MatchDocType(const QString& path, CDocument*& match)
{
    match = nullptr;
    for (CDocument* d : docs_) {
        if (!d->isClosing() && d->GetPathName().compare(path, Qt::CaseInsensitive) == 0) {
            match = d;
            return yesAlreadyOpen;
        }
    }
    const QString ext = docString(filterExt);
    if (!ext.isEmpty() && path.size() > ext.size() && path.endsWith(ext, Qt::CaseInsensitive))
        return yesAttemptNative;
    return yesAttemptForeign;
}

void CNewMultiDocTemplate::InitialUpdateFrame(CNewMDIChildWnd* frame, CDocument*, bool makeVisible)
{
    if (CView* view = frame->GetActiveView()) view->OnInitialUpdate();
    if (makeVisible) {
        frame->show();
        if (CWinApp* app = CWinApp::instance())
            if (CNewMDIFrameWnd* main = app->mainFrame()) main->MDIActivate(frame);
    }
}

bool CNewMultiDocTemplate::SaveAllModified()
{
    const std::vector<CDocument*> docs = docs_;
    for (CDocument* d : docs)
        if (!d->SaveModified()) return false;
    return true;
}

void CNewMultiDocTemplate::CloseAllDocuments(bool)
{
    const std::vector<CDocument*> docs = docs_;
    for (CDocument* d : docs) d->OnCloseDocument();
}

}  // namespace qv
