// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "flc/flc_doc.h"

#include <QApplication>
#include <exception>

#include "core/file_io.h"
#include "core/flc_reader.h"
#include "core/strings.h"
#include "flc/flc_view.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"

namespace qv {

namespace {

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// The open check without messages.
bool passesOpenCheck(const QString& path) { return checkFlcFile(path.toStdString()).ok; }

}  // namespace

std::function<bool()>& CFlcDoc::reopenAtStartup()
{
    static std::function<bool()> hook;
    return hook;
}

bool CFlcDoc::OnOpenDocument(const QString& path)
{
    WaitCursor wait;
    if (!CDocument::OnOpenDocument(path)) return false;
    try {
        const Status status = checkFlcFile(path.toStdString());
        if (!status) {
            AfxMessageBox(status.message.empty() ? formatMessage(str::IDS_INVALID_FORMAT, {path.toStdString()})
                                                 : status.message,
                          MB_ICONERROR);
            return false;
        }
    } catch (const std::exception&) {
        AfxMessageBox(formatMessage(str::IDS_INVALID_FORMAT, {path.toStdString()}), MB_ICONERROR);
        return false;
    }
    return true;
}

bool CFlcDoc::OnNewDocument()
{
    const auto& reopen = reopenAtStartup();
    if (!reopen || !reopen()) return false;
    const QString last = GetProfileString(QStringLiteral("Recent FLC Files"), QStringLiteral("File1"));
    if (last.isEmpty() || !fileExists(last.toStdString()) || !passesOpenCheck(last)) return false;
    SetPathName(last, false);
    SetModifiedFlag(false);
    return true;
}

bool CFlcDoc::OnSaveDocument(const QString& path)
{
    for (CView* v : GetViews()) {
        auto* view = qobject_cast<CFlcView*>(v);
        if (!view || !view->isLoaded()) continue;
        if (!view->SaveFLC(path)) return false;
        SetModifiedFlag(false);
        return true;
    }
    return false;
}

}  // namespace qv
