// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/profile.h"

#include <QSettings>
#include <memory>

namespace qv {

namespace {

QString g_company = QStringLiteral("Velmora");
QString g_application = QStringLiteral("Quorvane");

// One settings object for the whole program: writes collect in memory and reach the
// file when it is flushed (or when Qt syncs it while idle, or at exit), instead of the
// file being rewritten for every value.
std::unique_ptr<QSettings>& cached()
{
    static std::unique_ptr<QSettings> settings;
    return settings;
}

QSettings& store()
{
    auto& s = cached();
    if (!s) s = std::make_unique<QSettings>(g_company, g_application);
    return *s;
}

QString keyOf(const QString& section, const QString& entry)
{
    QString s = section;
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return entry.isEmpty() ? s : s + QLatin1Char('/') + entry;
}

}  // namespace

void setProfileNames(const QString& company, const QString& application)
{
    if (company == g_company && application == g_application) return;
    FlushProfile();
    g_company = company;
    g_application = application;
    cached().reset();
}

void ReloadProfile()
{
    if (cached()) cached()->sync();
    cached().reset();
}
QString profileCompany() { return g_company; }
QString profileApplication() { return g_application; }

int GetProfileInt(const QString& section, const QString& entry, int defaultValue)
{
    QSettings& s = store();
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
    QSettings& s = store();
    const QVariant v = s.value(keyOf(section, entry));
    if (!v.isValid() || !v.canConvert<QString>()) return defaultValue;
    return v.toString();
}

QByteArray GetProfileBinary(const QString& section, const QString& entry)
{
    QSettings& s = store();
    return s.value(keyOf(section, entry)).toByteArray();
}

bool WriteProfileInt(const QString& section, const QString& entry, int value)
{
    QSettings& s = store();
    s.setValue(keyOf(section, entry), value);
    return s.status() == QSettings::NoError;
}

bool WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    QSettings& s = store();
    s.setValue(keyOf(section, entry), value);
    return s.status() == QSettings::NoError;
}

bool WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& value)
{
    QSettings& s = store();
    s.setValue(keyOf(section, entry), value);
    return s.status() == QSettings::NoError;
}

bool HasProfileValue(const QString& section, const QString& entry)
{
    QSettings& s = store();
    return s.contains(keyOf(section, entry));
}

void RemoveProfileValue(const QString& section, const QString& entry)
{
    QSettings& s = store();
    s.remove(keyOf(section, entry));
}

void FlushProfile()
{
    if (cached()) cached()->sync();
}

}  // namespace qv
