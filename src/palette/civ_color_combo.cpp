// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette/civ_color_combo.h"

#include <QPainter>
#include <QPixmap>

#include "core/civ_palettes.h"
#include "core/strings.h"

namespace qv {

namespace {

QColor fromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

}  // namespace

CCivColorCombo::CCivColorCombo(QWidget* parent) : QComboBox(parent)
{
    setIconSize(QSize(24, 12));
    for (int i = 0; i < kEntries; ++i) {
        const QString name = i == 0 ? QString::fromUtf8(str::IDS_CIV_LIST_DEFAULT)
                                    : QString::fromStdString(formatMessage(str::IDS_CIV_LIST_ENTRY, {i}));
        addItem(name);
        swatches_[static_cast<size_t>(i)] = kCivSwatchColorRefs[static_cast<size_t>(i)];
        updateSwatchIcon(i);
    }
    setCurrentIndex(0);
}

void CCivColorCombo::SetSwatch(int index, uint32_t colorRef)
{
    if (index < 0 || index >= kEntries) return;
    colorRef &= 0x00FFFFFFu;
    if (swatches_[static_cast<size_t>(index)] == colorRef) return;
    swatches_[static_cast<size_t>(index)] = colorRef;
    updateSwatchIcon(index);
}

uint32_t CCivColorCombo::Swatch(int index) const
{
    if (index < 0 || index >= kEntries) return kCivSwatchColorRefs[0];
    return swatches_[static_cast<size_t>(index)];
}

void CCivColorCombo::RefreshSwatches()
{
    for (int i = 0; i < kEntries; ++i) updateSwatchIcon(i);
}

void CCivColorCombo::updateSwatchIcon(int index)
{
    if (index >= count()) return;
    // A filled bar with a dark outline in front of the entry's name.
    QPixmap pm(iconSize());
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(fromColorRef(swatches_[static_cast<size_t>(index)]));
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    p.end();
    setItemIcon(index, QIcon(pm));
}

}  // namespace qv
