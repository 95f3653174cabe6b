// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/preview_file_dlg.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "core/strings.h"
#include "platform/ui/profile.h"

namespace qv {

namespace {
const QString kPreview = QStringLiteral("Preview");
}

CPreviewFileDlg::CPreviewFileDlg(const QString& section, bool openDialog, const QString& defaultExt,
                                 const QString& fileName, unsigned flags, const QString& filter, QWidget* parent)
    : CFileDialogX(openDialog, defaultExt, fileName, flags, filter, parent), section_(section)
{
    preview_ = GetProfileInt(section_, kPreview, 1) != 0;
}

void CPreviewFileDlg::setPreviewOn(bool on)
{
    const bool changed = preview_ != on;
    preview_ = on;
    if (check_ && check_->isChecked() != on) check_->setChecked(on);
    previewChanged(changed);
}

QWidget* CPreviewFileDlg::makePreviewPanel(QWidget* parent, QVBoxLayout*& layout)
{
    auto* panel = new QWidget(parent);
    layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 0, 0, 0);
    check_ = new QCheckBox(QString::fromUtf8(str::IDS_FDLG_PREVIEW), panel);
    check_->setObjectName(QStringLiteral("preview"));
    check_->setChecked(preview_);
    layout->addWidget(check_);
    QObject::connect(check_, &QCheckBox::toggled, panel, [this](bool on) { setPreviewOn(on); });
    return panel;
}

void CPreviewFileDlg::savePreviewChoice() const { WriteProfileInt(section_, kPreview, preview_ ? 1 : 0); }

}  // namespace qv
