// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"

#include <QApplication>
#include <QPalette>

#include "platform/ui/profile.h"

namespace qv::settings {

uint32_t buttonFaceColorRef()
{
    const QColor c = QApplication::palette().color(QPalette::Active, QPalette::Button);
    return (static_cast<uint32_t>(c.blue()) << 16) | (static_cast<uint32_t>(c.green()) << 8) |
           static_cast<uint32_t>(c.red());
}

int readSetting(const IntSetting& setting)
{
    return GetProfileInt(QString::fromLatin1(setting.section), QString::fromLatin1(setting.name),
                         setting.defaultValue);
}

int readSetting(const IntSetting& setting, int low, int high)
{
    const int v = readSetting(setting);
    return v < low || v > high ? setting.defaultValue : v;
}

void writeSetting(const IntSetting& setting, int value)
{
    WriteProfileInt(QString::fromLatin1(setting.section), QString::fromLatin1(setting.name), value);
}

void removeSetting(const IntSetting& setting)
{
    RemoveProfileValue(QString::fromLatin1(setting.section), QString::fromLatin1(setting.name));
}

}  // namespace qv::settings
