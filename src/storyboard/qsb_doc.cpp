// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "storyboard/qsb_doc.h"

#include <QApplication>
#include <QFileInfo>
#include <exception>
#include <new>

#include "core/strings.h"
#include "platform/ui/services.h"
#include "view/animation_view.h"

namespace qv {

namespace {

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Change notifications come in bursts (an editor truncates, writes and renames); the
// question waits until they have settled.
constexpr int kSettleMs = 300;
// How many settle periods a vanished file is waited for before the question is asked.
constexpr int kMissingWaits = 5;

}  // namespace

CQsbDoc::CQsbDoc()
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &CQsbDoc::CheckDiskState);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &CQsbDoc::OnFileChanged);
}

bool CQsbDoc::OnOpenDocument(const QString& path)
{
    if (!CDocument::OnOpenDocument(path)) return false;
    return ReadStoryboard(path);
}

bool CQsbDoc::OnSaveDocument(const QString& path)
{
    CDocument::OnSaveDocument(path);
    return true;
}

void CQsbDoc::SetPathName(const QString& path, bool addToRecent)
{
    CDocument::SetPathName(path, addToRecent);
    WatchFiles();
    // Opening reads the files before the document has its path, so only now can their state
    // be taken as the one later changes by other programs are measured against.
    AcceptDiskState();
}

bool CQsbDoc::ReadStoryboard(const QString& path)
{
    WaitCursor wait;
    info_ = StoryboardInfo{};
    sheet_ = Bitmap{};
    try {
        StoryboardInfo info;
        Bitmap sheet;
        const Status st = StoryboardToFlc(path.toStdString(), info, sheet);
        if (!st) {
            // An unreadable description is reported in a plain box, the sheet's checks
            // with the stop icon.
            AfxMessageBox(st.message, st.message == str::IDS_QSB_CANNOT_READ ? MB_OK : MB_ICONSTOP);
            return false;
        }
        info_ = info;
        sheet_ = std::move(sheet);
    } catch (const std::exception&) {
        sheet_ = Bitmap{};
        AfxMessageBox(formatMessage(str::IDS_UNKNOWN_ERROR, {"CFlcImage::StoryboardToFlc"}), MB_ICONSTOP);
        return false;
    }
    WatchFiles();
    AcceptDiskState();
    return true;
}

QStringList CQsbDoc::watchedFiles() const
{
    if (GetPathName().isEmpty()) return {};
    const std::string qsb = GetPathName().toStdString();
    QStringList files{GetPathName()};
    if (info_.sheetWidth != 0) files << QString::fromStdString(storyboardSheetPath(qsb, info_));
    return files;
}

QList<CQsbDoc::FileState> CQsbDoc::currentState() const
{
    QList<FileState> states;
    for (const QString& f : watchedFiles()) {
        const QFileInfo fi(f);
        FileState s;
        s.exists = fi.exists();
        if (s.exists) {
            s.size = fi.size();
            s.modified = fi.lastModified();
        }
        states << s;
    }
    return states;
}

void CQsbDoc::AcceptDiskState()
{
    known_ = currentState();
}

void CQsbDoc::WatchFiles()
{
    // Editors save by writing a new file and renaming it over the old one, which ends the
    // watch on the old file: the paths are added again whenever they exist.
    const QStringList wanted = watchedFiles();
    const QStringList watched = watcher_.files();
    for (const QString& f : watched)
        if (!wanted.contains(f)) watcher_.removePath(f);
    for (const QString& f : wanted)
        if (!watcher_.files().contains(f) && QFileInfo::exists(f)) watcher_.addPath(f);
}

void CQsbDoc::OnFileChanged(const QString&)
{
    WatchFiles();
    settle_.start();
}

void CQsbDoc::CheckDiskState()
{
    WatchFiles();
    if (asking_ || isClosing() || known_.isEmpty()) return;
    const QList<FileState> now = currentState();
    if (now == known_) return;
    // A file that is gone may be in the middle of being replaced: wait for it.
    for (const FileState& s : now)
        if (!s.exists && missingWaits_ < kMissingWaits) {
            ++missingWaits_;
            settle_.start();
            return;
        }
    missingWaits_ = 0;
    known_ = now;
    asking_ = true;
    const int answer = AfxMessageBox(formatMessage(str::IDS_QSB_CHANGED_ON_DISK, {GetPathName().toStdString()}),
                                     MB_YESNO | MB_ICONQUESTION);
    asking_ = false;
    if (answer != IDYES || isClosing()) return;
    if (auto* view = dynamic_cast<CAnimationView*>(GetFirstView())) view->RefreshAnimation();
}

}  // namespace qv
