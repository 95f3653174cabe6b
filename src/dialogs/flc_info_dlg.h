// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// CFlcInfoDlg ("FLC Info"): the header values of a loaded FLC file on the "General Info"
// page and its frames and chunks with their file positions and sizes on the "Extended
// Info" page. Save writes the information report as a text file, Ctrl+C copies it; it
// is the same text quorvane-cli info writes. The dialog keeps its place, its column
// widths and the last report's path in "Dlg FlcInfo".
#pragma once

#include <string>
#include <vector>

#include "core/flc_format.h"
#include "platform/ui/dialog_x.h"

class QTreeWidget;

namespace qv {

class CFlcInfoDlg : public CDialogX {
    Q_OBJECT
public:
    CFlcInfoDlg(const QString& path, const FlcHeader& header, const std::vector<FlcFrameInfo>& records,
                QWidget* parent = nullptr);
    ~CFlcInfoDlg() override;

    // The report, byte for byte as Save writes it.
    std::string reportText() const;
    // Save: asks for the file and writes the report. False when cancelled or failed (the
    // dialog stays open either way).
    bool saveReport();
    // Puts the report on the clipboard.
    void copyReport();

    QTreeWidget* generalList() const { return general_; }
    QTreeWidget* extendedList() const { return extended_; }

    void done(int result) override;

private:
    void fillLists();

    QString path_;
    FlcHeader header_;
    const std::vector<FlcFrameInfo>& records_;
    QTreeWidget* general_ = nullptr;
    QTreeWidget* extended_ = nullptr;
};

}  // namespace qv
