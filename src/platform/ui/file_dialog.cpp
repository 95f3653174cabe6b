// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/file_dialog.h"

#include <QFileInfo>

#include "platform/ui/services.h"

namespace qv {

CFileDialogX::CFileDialogX(bool openDialog, const QString& defaultExt, const QString& name, unsigned flags,
                           const QString& filter, QWidget* parent)
    : fileName(name), open_(openDialog), defaultExt_(defaultExt), flags_(flags), filter_(filter), parent_(parent)
{
}

CFileDialogX::~CFileDialogX() = default;

int CFileDialogX::DoModal()
{
    paths_.clear();
    const bool ok = fileDialogService().runFileDialog(*this);
    OnDialogEnd(ok);
    return ok ? IDOK : IDCANCEL;
}

QList<QPair<QString, QStringList>> CFileDialogX::filterEntries() const
{
    // "Desc|*.a;*.b|Desc2|*.c||": pairs of description and patterns; an empty
    // description ends the list.
    QList<QPair<QString, QStringList>> out;
    const QStringList parts = filter_.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty()) break;
        out.append({parts.at(i), parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)});
    }
    return out;
}

QStringList CFileDialogX::qtFilters() const
{
    QStringList out;
    for (const auto& e : filterEntries()) {
        // Qt reads the patterns from the last parentheses, so the description's own
        // "(.FLC, .QSB)" is kept and the patterns follow in a pair of their own.
        out.append(e.first + QLatin1String(" (") + e.second.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return out;
}

QString CFileDialogX::GetFileName() const { return QFileInfo(GetPathName()).fileName(); }

QString CFileDialogX::GetFileExt() const { return QFileInfo(GetPathName()).suffix(); }

void CFileDialogX::setResult(const QStringList& paths, int chosenFilterIndex)
{
    paths_ = paths;
    filterIndex = chosenFilterIndex;
}

QWidget* CFileDialogX::CreateCustomArea(QWidget*) { return nullptr; }
void CFileDialogX::OnFileNameChange(const QString&) {}
void CFileDialogX::OnFolderChange(const QString&) {}
void CFileDialogX::OnTypeChange(int) {}
bool CFileDialogX::OnFileOK() { return true; }
void CFileDialogX::OnDialogEnd(bool) {}

}  // namespace qv
