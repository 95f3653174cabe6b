// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CPreviewFileDlg: what the file dialogs with a "Preview" check beside the file list have
// in common. The check's state is kept under "Preview" in the dialog's own section (on
// when nothing is stored) and follows setPreviewOn both ways.
#pragma once

#include <QPointer>
#include <QString>

#include "platform/ui/file_dialog.h"

class QCheckBox;
class QVBoxLayout;

namespace qv {

class CPreviewFileDlg : public CFileDialogX {
public:
    bool previewOn() const { return preview_; }
    // Turns the preview on or off (the check with it); the dialog then shows or plays
    // what it should.
    void setPreviewOn(bool on);

protected:
    CPreviewFileDlg(const QString& section, bool openDialog, const QString& defaultExt, const QString& fileName,
                    unsigned flags, const QString& filter, QWidget* parent);

    // What the dialog does after the preview was turned on or off (`changed` false when
    // it already was).
    virtual void previewChanged(bool changed) = 0;
    // The panel beside the list, with the "Preview" check at the top of `layout`.
    QWidget* makePreviewPanel(QWidget* parent, QVBoxLayout*& layout);
    // Stores the check's state.
    void savePreviewChoice() const;

    bool preview_ = true;

private:
    QString section_;
    QPointer<QCheckBox> check_;
};

}  // namespace qv
