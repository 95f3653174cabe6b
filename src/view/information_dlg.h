// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CInformationDlg: a resizable report window ("Dlg Info"): an icon, a bold dark-blue
// header, the text in a read-only box, and "&Save", which writes the header and the
// text, separated by an empty line, into a text file the user chooses.
#pragma once

#include "platform/ui/dialog_x.h"

class QPlainTextEdit;

namespace qv {

class CInformationDlg : public CDialogX {
    Q_OBJECT
public:
    // The icon shown: 0 information, 1 exclamation, 2 stop.
    enum Kind { kInformation = 0, kExclamation = 1, kStop = 2 };
    CInformationDlg(const QString& title, Kind kind, const QString& header, const QString& text,
                    QWidget* parent = nullptr);

    const QString& header() const { return header_; }
    const QString& text() const { return text_; }
    // "&Save": asks for a file name, then writes header + "\r\n\r\n" + text in one piece.
    // False when cancelled or the file cannot be written (which is reported).
    bool Save();

private:
    QString header_;
    QString text_;
};

}  // namespace qv
