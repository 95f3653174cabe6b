// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CNewMultiDocTemplate: one document type. It knows the type's strings (extension,
// filter name, registered type id and name), makes documents, views and child frames
// through factories, and keeps the list of its open documents.
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace qv {

class CDocument;
class CView;
class CNewMDIChildWnd;
class CDocManager;

class CNewMultiDocTemplate {
public:
    using DocumentFactory = std::function<CDocument*()>;
    using ViewFactory = std::function<CView*()>;
    using FrameFactory = std::function<CNewMDIChildWnd*()>;

    // The parts of the document string "\nFLC\nFLC\nflc\n.flc\nFLC\nFLC Document".
    enum DocStringIndex {
        windowTitle = 0,
        docName = 1,
        fileNewName = 2,
        filterName = 3,
        filterExt = 4,
        regFileTypeId = 5,
        regFileTypeName = 6,
    };
    // How well a path suits a template, best last.
    enum Confidence {
        noAttempt = 0,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen,
    };

    CNewMultiDocTemplate(int resourceId, const QString& docString, DocumentFactory makeDocument, FrameFactory makeFrame,
                         ViewFactory makeView);
    virtual ~CNewMultiDocTemplate();

    int resourceId() const { return resourceId_; }
    // A part of the document string; false (and `out` empty) when that part is empty.
    bool GetDocString(QString& out, DocStringIndex index) const;
    QString docString(DocStringIndex index) const;

    // Opens `path` as a new document of this type in a new child window; an empty path
    // makes a new document (OnNewDocument). Returns the document, or nullptr when the
    // document refused (its window is then discarded).
    virtual CDocument* OpenDocumentFile(const QString& path, bool makeVisible = true);
    // How well `path` suits this template. When a document of this template already has
    // the path, that document is returned in `match` with yesAlreadyOpen. The base
    // compares the path with open documents and its extension with the template's.
    virtual Confidence MatchDocType(const QString& path, CDocument*& match);
    // Shows the new frame and runs the view's first update.
    virtual void InitialUpdateFrame(CNewMDIChildWnd* frame, CDocument* doc, bool makeVisible = true);

    CDocument* CreateNewDocument();
    CNewMDIChildWnd* CreateNewFrame(CDocument* doc);

    const std::vector<CDocument*>& documents() const { return docs_; }
    CDocument* GetFirstDocument() const { return docs_.empty() ? nullptr : docs_.front(); }
    void AddDocument(CDocument* doc);
    void RemoveDocument(CDocument* doc);
    // Asks every document to save if modified; false when the user cancelled.
    bool SaveAllModified();
    // Closes every document of the template without asking.
    void CloseAllDocuments(bool endSession);

    CDocManager* docManager() const { return docManager_; }
    void setDocManager(CDocManager* manager) { docManager_ = manager; }

    // The factories (derived templates may replace them, for example once the classes
    // of a document type exist).
    void setFactories(DocumentFactory makeDocument, FrameFactory makeFrame, ViewFactory makeView);

private:
    int resourceId_;
    QString docString_;
    DocumentFactory makeDocument_;
    FrameFactory makeFrame_;
    ViewFactory makeView_;
    std::vector<CDocument*> docs_;
    CDocManager* docManager_ = nullptr;
};

}  // namespace qv
