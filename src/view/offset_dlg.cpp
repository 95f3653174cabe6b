// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/offset_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "core/compositor.h"
#include "core/strings.h"
#include "view/animation_view.h"

namespace qv {

namespace {

constexpr int kMaxOffset = 239;  // what the spin buttons offer

QSpinBox* makeOffsetBox(QWidget* parent, const QString& name, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, kMaxOffset);  // at most three characters
    box->setValue(value);
    return box;
}

}  // namespace

COffsetDlg::COffsetDlg(CAnimationView* view, QWidget* parent)
    : CDialogX(QStringLiteral("Dlg Offset"), parent, false), view_(view)
{
    setWindowTitle(QString::fromUtf8(str::IDS_OFFSET_TITLE));
    startLeft_ = view_->leftOffset();
    startTop_ = view_->topOffset();

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    left_ = makeOffsetBox(this, QStringLiteral("left"), startLeft_);
    top_ = makeOffsetBox(this, QStringLiteral("top"), startTop_);
    form->addRow(QString::fromUtf8(str::IDS_OFFSET_LEFT), left_);
    form->addRow(QString::fromUtf8(str::IDS_OFFSET_TOP), top_);
    layout->addLayout(form);
    current_ = new QLabel(QString::fromStdString(formatMessage(str::IDS_OFFSET_CURRENT, {startLeft_, startTop_})), this);
    current_->setObjectName(QStringLiteral("current"));
    layout->addWidget(current_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(left_, QOverload<int>::of(&QSpinBox::valueChanged), this, &COffsetDlg::onLeftChanged);
    connect(top_, QOverload<int>::of(&QSpinBox::valueChanged), this, &COffsetDlg::onTopChanged);
}

void COffsetDlg::onLeftChanged(int value)
{
    const int clamped = std::max(0, std::min(value, kBackgroundSide - view_->frameWidth()));
    if (clamped != value) {
        left_->setValue(clamped);  // comes back here with the kept value
        return;
    }
    view_->SetOffsets(clamped, view_->topOffset());
}

void COffsetDlg::onTopChanged(int value)
{
    const int clamped = std::max(0, std::min(value, kBackgroundSide - view_->frameHeight()));
    if (clamped != value) {
        top_->setValue(clamped);
        return;
    }
    view_->SetOffsets(view_->leftOffset(), clamped);
}

void COffsetDlg::done(int result)
{
    // However the dialog is left without OK, the frame goes back where it was.
    if (result != QDialog::Accepted) view_->SetOffsets(startLeft_, startTop_);
    CDialogX::done(result);
}

}  // namespace qv
