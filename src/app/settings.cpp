// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"

#include <QApplication>
#include <QPalette>

namespace qv::settings {

uint32_t buttonFaceColorRef()
{
    const QColor c = QApplication::palette().color(QPalette::Active, QPalette::Button);
    return (static_cast<uint32_t>(c.blue()) << 16) | (static_cast<uint32_t>(c.green()) << 8) |
           static_cast<uint32_t>(c.red());
}

}  // namespace qv::settings
