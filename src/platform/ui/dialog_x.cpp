// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/dialog_x.h"

#include <QShowEvent>

namespace qv {

CDialogX::CDialogX(const QString& section, QWidget* parent, bool resizable)
    : QDialog(parent),
      section_(section),
      position_(resizable ? std::make_unique<CFramePosition>(section) : std::make_unique<CNoSizePosition>(section))
{
    setSizeGripEnabled(resizable);
}

CDialogX::~CDialogX() = default;

void CDialogX::showEvent(QShowEvent* event)
{
    if (!restored_) {
        restored_ = true;
        position_->Load(this);
    }
    QDialog::showEvent(event);
}

void CDialogX::done(int result)
{
    if (isVisible()) position_->Save(this);
    QDialog::done(result);
}

}  // namespace qv
