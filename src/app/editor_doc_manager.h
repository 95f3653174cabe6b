// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The program's document manager and its two document templates.
//
// CDocTemplateFlc (".flc", "Recent FLC Files", menu 129) and CDocTemplateQsb (".qsb",
// "Recent QSB Files", menu 130): opening reopens the first recent file instead while the
// program starts up with "reopen last document" on; a path matches a template when a
// document of it already has that path (compared without regard to case) or when the
// path ends in the template's extension. Both discard a window whose view could not load
// its animation.
//
// CEditorDocManager: the start-up document (OnFileNew), the Open command (OnFileOpen)
// and the look-ups of the two templates.
#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/doc_manager.h"
#include "platform/ui/doc_template.h"
#include "platform/ui/file_types.h"

namespace qv {

class CFileDialogX;

class CEditorDocTemplate : public CNewMultiDocTemplate {
public:
    CEditorDocTemplate(int resourceId, const QString& docString, const QString& extension, const QString& recentSection,
                       DocumentFactory makeDocument, ViewFactory makeView);
    const QString& extension() const { return extension_; }
    const QString& recentSection() const { return recentSection_; }

    CDocument* OpenDocumentFile(const QString& path, bool makeVisible = true) override;
    Confidence MatchDocType(const QString& path, CDocument*& match) override;
    // Shows the window; a window whose view could not load its file is discarded.
    void InitialUpdateFrame(CNewMDIChildWnd* frame, CDocument* doc, bool makeVisible = true) override;

    // Whether the last OpenDocumentFile got as far as a window whose view then could not
    // load the file (the view has said why; the window is gone again).
    bool lastOpenFailedInView() const { return lastOpenFailedInView_; }

private:
    bool lastOpenFailedInView_ = false;
    QString extension_;
    QString recentSection_;
};

class CDocTemplateFlc : public CEditorDocTemplate {
public:
    CDocTemplateFlc();
};

class CDocTemplateQsb : public CEditorDocTemplate {
public:
    // Until the storyboard classes are installed (setFactories), opening a storyboard
    // shows the format message and opens nothing.
    CDocTemplateQsb();
};

class CEditorDocManager : public CDocManager {
public:
    CEditorDocManager();

    // The first template of each kind in the template list, or nullptr.
    CDocTemplateFlc* flcTemplate() const;
    CDocTemplateQsb* qsbTemplate() const;

    // The start-up document: closes everything (asking to save), then reopens the last
    // document at start-up or asks the FLC template for a new one.
    void OnFileNew() override;
    // The Open command: the open dialog, then the FLC template for ".flc" and the
    // storyboard template for anything else.
    void OnFileOpen() override;

    // Whether the FLC and storyboard types open with this program, at its present path,
    // for the current user; the start-up check asks to register them when not.
    virtual bool CheckFileTypes();
    // The desktop registration of both types; the Status says what failed. The Shell
    // variants report a failure in a message box.
    Status RegisterFileTypes();
    Status UnregisterFileTypes();
    void RegisterShellFileTypes(bool compat) override;
    void UnregisterShellFileTypes() override;
    std::vector<ShellFileType> shellFileTypes() const;
    // The program the types are registered to; empty means the running executable.
    static QString& programPath();

    // Open INI: the unit INI file the user picks, the FLC animations its "[Animations]"
    // section names (in the key table's order), a confirmation, then every one opened.
    void OpenIni();
    // Open Multi: up to 20 FLC and storyboard files of the folder the user picks (in the
    // file system's order), a confirmation, then every one opened.
    void OpenMulti();
    // Opens `paths` in order, each in a new visible window, with the animations decoded
    // ahead on worker threads. A progress window with Cancel appears when this takes
    // longer than a moment. What could not be opened (the documents' own messages) and
    // `problems` (lines naming files that were not found) are reported together at the
    // end, in one message about `source`. Each file opens with the template its extension
    // names, or with the FLC template when `flcTemplateForAll` is set.
    void OpenFiles(const QString& source, const QStringList& paths, const QStringList& problems = {},
                   bool flcTemplateForAll = false);

    // Opens `path` with the template its extension names ("flc" or anything else).
    CDocument* OpenByExtension(const QString& path);

    // The open dialog used by OnFileOpen; replaceable (for example by one with preview).
    using OpenDialogFactory = std::function<std::unique_ptr<CFileDialogX>()>;
    static OpenDialogFactory& openDialogFactory();
};

}  // namespace qv
