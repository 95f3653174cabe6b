// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/profile.h"

#include <QSettings>

namespace qv {

namespace {

QString g_company = QStringLiteral("Velmora");
QString g_application = QStringLiteral("Quorvane");

QString keyOf(const QString& section, const QString& entry)
{
    QString s = section;
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return entry.isEmpty() ? s : s + QLatin1Char('/') + entry;
}

}  // namespace

void setProfileNames(const QString& company, const QString& application)
{
    g_company = company;
    g_application = application;
}
QString profileCompany() { return g_company; }
QString profileApplication() { return g_application; }

int GetProfileInt(const QString& section, const QString& entry, int defaultValue)
{
    QSettings s(g_company, g_application);
    const QVariant v = s.value(keyOf(section, entry));
    if (!v.isValid()) return defaultValue;
    bool ok = false;
    // Stored as a 32-bit number; a larger or malformed value counts as missing.
    const qlonglong n = v.toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > UINT32_MAX) return defaultValue;
    return static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(n)));
}

QString GetProfileString(const QString& section, const QString& entry, const QString& defaultValue)
{
    QSettings s(g_company, g_application);
    const QVariant v = s.value(keyOf(section, entry));
    if (!v.isValid() || !v.canConvert<QString>()) return defaultValue;
    return v.toString();
}

QByteArray GetProfileBinary(const QString& section, const QString& entry)
{
    QSettings s(g_company, g_application);
    return s.value(keyOf(section, entry)).toByteArray();
}

bool WriteProfileInt(const QString& section, const QString& entry, int value)
{
    QSettings s(g_company, g_application);
    s.setValue(keyOf(section, entry), value);
    return s.status() == QSettings::NoError;
}

bool WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    QSettings s(g_company, g_application);
    s.setValue(keyOf(section, entry), value);
    return s.status() == QSettings::NoError;
}

bool WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& value)
{
    QSettings s(g_company, g_application);
    s.setValue(keyOf(section, entry), value);
    return s.status() == QSettings::NoError;
}

bool HasProfileValue(const QString& section, const QString& entry)
{
    QSettings s(g_company, g_application);
    return s.contains(keyOf(section, entry));
}

void RemoveProfileValue(const QString& section, const QString& entry)
{
    QSettings s(g_company, g_application);
    s.remove(keyOf(section, entry));
}

void FlushProfile()
{
    QSettings s(g_company, g_application);
    s.sync();
}

}  // namespace qv
