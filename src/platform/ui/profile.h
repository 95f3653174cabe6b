// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Persistent settings by section and value name, over QSettings under the company and
// application names the application sets (QSettings("Velmora", "Quorvane")). A missing
// or unreadable value yields the default. A backslash in a section name separates
// sub-sections, as in "CtrlBars\CtrlBar". Writes are kept in memory until FlushProfile
// (the main window flushes when it closes; Qt also syncs while idle and at exit).
#pragma once

#include <QByteArray>
#include <QString>

class QSettings;

namespace qv {

// Sets the company and application names (until then "Velmora" and "Quorvane").
void setProfileNames(const QString& company, const QString& application);
QString profileCompany();
QString profileApplication();

int GetProfileInt(const QString& section, const QString& entry, int defaultValue);
QString GetProfileString(const QString& section, const QString& entry, const QString& defaultValue = {});
QByteArray GetProfileBinary(const QString& section, const QString& entry);
bool WriteProfileInt(const QString& section, const QString& entry, int value);
bool WriteProfileString(const QString& section, const QString& entry, const QString& value);
bool WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& value);
// Whether the value exists.
bool HasProfileValue(const QString& section, const QString& entry);
// Removes one value, or the whole section when `entry` is empty.
void RemoveProfileValue(const QString& section, const QString& entry = {});
// Writes pending changes to storage (and reads changes made by others).
void FlushProfile();
// Writes pending changes and forgets the settings object, so the next access opens the
// storage anew (after QSettings::setPath, for example).
void ReloadProfile();

}  // namespace qv
