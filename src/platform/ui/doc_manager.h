// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CDocManager: the list of document templates and the operations over all of them:
// opening a path with the template that suits it best (or re-activating the document
// that already has it), closing everything, the New and Open commands.
#pragma once

#include <QString>
#include <memory>
#include <vector>

namespace qv {

class CDocument;
class CNewMultiDocTemplate;

class CDocManager {
public:
    CDocManager();
    virtual ~CDocManager();

    // Takes ownership; templates are asked in the order they were added.
    void AddDocTemplate(CNewMultiDocTemplate* docTemplate);
    std::vector<CNewMultiDocTemplate*> templates() const;
    int GetDocTemplateCount() const { return static_cast<int>(templates_.size()); }

    // Opens `path`: a document that already has it is activated and returned; otherwise
    // the template that suits the path best opens it. nullptr when nothing could open it.
    virtual CDocument* OpenDocumentFile(const QString& path);
    // Every open document of every template.
    std::vector<CDocument*> documents() const;
    int GetOpenDocumentCount() const;
    // Asks every template to save its modified documents; false when cancelled.
    virtual bool SaveAllModified();
    // Closes every document without asking.
    virtual void CloseAllDocuments(bool endSession);

    // The New and Open commands; the base opens a new document of the first template,
    // respectively asks for a file with the file dialog service and opens it.
    virtual void OnFileNew();
    virtual void OnFileOpen();

    // Registration of the document types with the desktop; the base does nothing.
    virtual void RegisterShellFileTypes(bool compat);
    virtual void UnregisterShellFileTypes();

private:
    std::vector<std::unique_ptr<CNewMultiDocTemplate>> templates_;
};

}  // namespace qv
