// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CQsbDoc: a storyboard opened as a document. It holds the description record and the
// loaded sheet (read and checked by the core, each refusal shown with its message), and
// watches the description and the sheet on disk: when another program saves either of
// them, it asks once whether to reload the storyboard.
#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QTimer>

#include "core/bitmap.h"
#include "core/storyboard.h"
#include "platform/ui/document.h"

namespace qv {

class CQsbDoc : public CDocument {
    Q_OBJECT
public:
    CQsbDoc();

    // The framework's open, then the storyboard read with its checks; false (after the
    // check's message) refuses the document.
    bool OnOpenDocument(const QString& path) override;
    // Storyboards are made by the wizards and the import, never as empty documents.
    bool OnNewDocument() override { return false; }
    // The files are written by the view; saving the document only confirms its path.
    bool OnSaveDocument(const QString& path) override;
    void SetPathName(const QString& path, bool addToRecent = true) override;

    // Reads the description at `path` and loads its sheet (StoryboardToFlc). On failure
    // the message is shown and the record and sheet are left empty.
    bool ReadStoryboard(const QString& path);

    const StoryboardInfo& info() const { return info_; }
    // After Save As: the record now written (its base name names the sheet watched).
    void SetInfo(const StoryboardInfo& info)
    {
        info_ = info;
        WatchFiles();
    }
    const Bitmap& sheet() const { return sheet_; }

    // The files the document watches, and what they were when last read or written.
    QStringList watchedFiles() const;
    // Takes the watched files' current state as the document's own (after a save or a
    // reload), so that only changes made by others are offered for reloading.
    void AcceptDiskState();
    // Checks the watched files now: when they changed since AcceptDiskState, asks once
    // whether to reload, and reloads on Yes. Called after the change notifications
    // settle; public for tests.
    void CheckDiskState();

private:
    struct FileState {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileState& o) const
        {
            return exists == o.exists && size == o.size && modified == o.modified;
        }
    };
    QList<FileState> currentState() const;
    void WatchFiles();
    void OnFileChanged(const QString& path);

    StoryboardInfo info_;
    Bitmap sheet_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QList<FileState> known_;
    bool asking_ = false;
    int missingWaits_ = 0;
};

}  // namespace qv
