// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CFileDialogX: an open or save dialog with hooks for a preview area. The dialog itself
// is run by the file dialog service (services.h), so tests can pick files for it.
// Filters are written the way the program has always written them:
// "Description|*.a;*.b|Other|*.c||".
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace qv {

// Dialog options (a subset of the classic open-file-name flags, same values).
enum FileDialogFlags : unsigned {
    OFN_READONLY = 0x1,
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_ALLOWMULTISELECT = 0x200,
    OFN_PATHMUSTEXIST = 0x800,
    OFN_FILEMUSTEXIST = 0x1000,
    OFN_EXPLORER = 0x80000,
    OFN_LONGNAMES = 0x200000,
    OFN_ENABLESIZING = 0x800000,
    OFN_ENABLETEMPLATE = 0x40,
};

class CFileDialogX {
public:
    CFileDialogX(bool openDialog, const QString& defaultExt = {}, const QString& fileName = {},
                 unsigned flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const QString& filter = {},
                 QWidget* parent = nullptr);
    virtual ~CFileDialogX();

    // Runs the dialog through the file dialog service: IDOK or IDCANCEL.
    int DoModal();

    bool isOpenDialog() const { return open_; }
    QWidget* parent() const { return parent_; }
    unsigned flags() const { return flags_; }
    void setFlags(unsigned f) { flags_ = f; }
    const QString& filter() const { return filter_; }
    const QString& defaultExt() const { return defaultExt_; }

    QString title;        // empty: "Open" or "Save As" from the dialog service
    QString initialPath;  // a folder, or a file whose folder the dialog starts in
    QString fileName;     // the proposed file name
    int filterIndex = 1;  // 1-based, as the program stores it

    // The filter as (description, patterns) pairs, and in Qt's "Desc (*.a *.b)" form.
    QList<QPair<QString, QStringList>> filterEntries() const;
    QStringList qtFilters() const;

    // Result after OK.
    QString GetPathName() const { return paths_.isEmpty() ? QString() : paths_.front(); }
    QStringList GetPathNames() const { return paths_; }
    QString GetFileName() const;  // the name without folder
    QString GetFileExt() const;   // the extension without the dot
    void setResult(const QStringList& paths, int chosenFilterIndex);

    // Preview hooks, for dialogs that show what is selected. The service calls them.
    // A widget for the dialog's extra area (the custom template), or nullptr for none.
    virtual QWidget* CreateCustomArea(QWidget* parent);
    virtual void OnFileNameChange(const QString& path);
    virtual void OnFolderChange(const QString& folder);
    virtual void OnTypeChange(int filterIndex);
    // OK was pressed with the result already stored (GetPathName, filterIndex): true
    // accepts; false keeps the dialog open (after telling the user why).
    virtual bool OnFileOK();
    // Called once the dialog has ended, before DoModal returns.
    virtual void OnDialogEnd(bool accepted);

private:
    bool open_;
    QString defaultExt_;
    unsigned flags_;
    QString filter_;
    QWidget* parent_;
    QStringList paths_;
};

}  // namespace qv
