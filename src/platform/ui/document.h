// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CDocument: one open file. It keeps the file's path, its title (the name shown on its
// windows), the modified flag and the views that show it. Derived documents override
// the hooks OnNewDocument, OnOpenDocument and OnSaveDocument.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "platform/ui/cmd_target.h"

namespace qv {

class CView;
class CNewMultiDocTemplate;
class CNewMDIChildWnd;

class CDocument : public QObject, public CCmdTarget {
    Q_OBJECT
public:
    CDocument();
    ~CDocument() override;

    // ---- Hooks for derived documents ----
    // A new, empty document; false refuses it (no window is then shown).
    virtual bool OnNewDocument();
    // Opening `path`; false refuses it (the document and its window are discarded).
    // The base clears the modified flag and returns true.
    virtual bool OnOpenDocument(const QString& path);
    // Saving to `path`; the base clears the modified flag and returns true.
    virtual bool OnSaveDocument(const QString& path);
    // Closes every window of the document and discards it (after the current event).
    virtual void OnCloseDocument();
    // Whether the document may be closed now: asks to save when modified.
    virtual bool SaveModified();
    // Called by a closing frame; true when that frame may close.
    virtual bool CanCloseFrame(CNewMDIChildWnd* frame);

    // ---- Path, title, modified ----
    const QString& GetPathName() const { return path_; }
    // Sets the path and makes its file name the title; adds it to the recent-file
    // lists when `addToRecent` is set.
    virtual void SetPathName(const QString& path, bool addToRecent = true);
    const QString& GetTitle() const { return title_; }
    virtual void SetTitle(const QString& title);
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true);

    // Saves to the current path (or asks for one when there is none): OnSaveDocument,
    // then the path becomes the document's and goes to the recent lists.
    bool DoSave(const QString& path, bool replace = true);
    bool DoFileSave();

    // ---- Views ----
    const std::vector<CView*>& GetViews() const { return views_; }
    CView* GetFirstView() const { return views_.empty() ? nullptr : views_.front(); }
    void AddView(CView* view);
    void RemoveView(CView* view);
    // Calls OnUpdate of every view except `sender`.
    void UpdateAllViews(CView* sender, int hint = 0);

    CNewMultiDocTemplate* GetDocTemplate() const { return template_; }
    void setDocTemplate(CNewMultiDocTemplate* t) { template_ = t; }

    // Close (57602) is a document command.
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCmdUI& ui) override;

    bool isClosing() const { return closing_; }

signals:
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);

private:
    QString path_;
    QString title_;
    bool modified_ = false;
    bool closing_ = false;
    std::vector<CView*> views_;
    CNewMultiDocTemplate* template_ = nullptr;
};

}  // namespace qv
