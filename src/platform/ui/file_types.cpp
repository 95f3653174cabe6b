// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/file_types.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <optional>

#include "core/file_io.h"
#include "core/strings.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace qv {

#ifndef Q_OS_WIN

namespace {

const QString kEntryId = QStringLiteral("quorvane.desktop");
const QString kPackageName = QStringLiteral("quorvane.xml");
// Written into our desktop entry so unregistering never removes a file someone else made.
const QByteArray kMarker = "X-Quorvane-Registered=true";
const QByteArray kDefaultsSection = "[Default Applications]";

QString homeRelative(const char* var, const char* fallback)
{
    const QString v = qEnvironmentVariable(var);
    if (!v.isEmpty() && QDir::isAbsolutePath(v)) return QDir::cleanPath(v);
    return QDir::homePath() + QLatin1String(fallback);
}
QString dataHome() { return homeRelative("XDG_DATA_HOME", "/.local/share"); }
QString configHome() { return homeRelative("XDG_CONFIG_HOME", "/.config"); }

QStringList searchDirs(const char* var, const char* fallback)
{
    QStringList out;
    QString v = qEnvironmentVariable(var);
    if (v.isEmpty()) v = QLatin1String(fallback);
    for (const QString& d : v.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(d)) out << QDir::cleanPath(d);
    return out;
}

std::optional<QByteArray> readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

// ---- Desktop-entry Exec lines ----------------------------------------------------------

// The program as the first, quoted argument of an Exec line (the quoting of the desktop-
// entry format, then the backslash escaping of its string values).
QByteArray execLine(const QString& program)
{
    QString quoted;
    for (QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return "Exec=\"" + quoted.toUtf8() + "\" %f";
}

// The program an Exec value starts, as written (quoted or not).
QString execProgram(const QString& value)
{
    QString s;  // undo the string escapes first
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar n = value[++i];
            s += n == QLatin1Char('s') ? QChar(' ') : n == QLatin1Char('t') ? QChar('\t') : n;
        } else {
            s += value[i];
        }
    }
    s = s.trimmed();
    QString out;
    if (s.startsWith(QLatin1Char('"'))) {
        for (int i = 1; i < s.size() && s[i] != QLatin1Char('"'); ++i) {
            if (s[i] == QLatin1Char('\\') && i + 1 < s.size()) ++i;
            out += s[i];
        }
        return out;
    }
    return s.section(QLatin1Char(' '), 0, 0);
}

// The full path an Exec value's program resolves to ("" when none).
QString resolvedProgram(const QString& execValue)
{
    QString p = execProgram(execValue);
    if (p.isEmpty()) return {};
    if (!QDir::isAbsolutePath(p)) p = QStandardPaths::findExecutable(p);
    if (p.isEmpty()) return {};
    const QString canonical = QFileInfo(p).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(p) : canonical;
}

QString samePathForm(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

// The Exec value of a desktop entry's [Desktop Entry] group.
QString entryExec(const QByteArray& entry)
{
    bool inGroup = false;
    for (const QByteArray& raw : entry.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) inGroup = line == "[Desktop Entry]";
        else if (inGroup && line.startsWith("Exec") && line.mid(4).trimmed().startsWith('='))
            return QString::fromUtf8(line.mid(line.indexOf('=') + 1)).trimmed();
    }
    return {};
}

// The desktop entry with this id, searched in the user's and then the system's data folders.
QString findEntry(const QString& id)
{
    QStringList dirs{dataHome()};
    dirs << searchDirs("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    for (const QString& d : dirs) {
        const QString p = d + QStringLiteral("/applications/") + id;
        if (QFileInfo(p).isFile()) return p;
    }
    return {};
}

// ---- mimeapps.list ---------------------------------------------------------------------

// The entries `key`= in [Default Applications] of a mimeapps.list text.
QStringList defaultsFor(const QByteArray& list, const QString& mimeType)
{
    bool inDefaults = false;
    const QByteArray key = mimeType.toUtf8();
    for (const QByteArray& raw : list.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inDefaults = line == kDefaultsSection;
            continue;
        }
        const int eq = line.indexOf('=');
        if (inDefaults && eq > 0 && line.left(eq).trimmed() == key)
            return QString::fromUtf8(line.mid(eq + 1)).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    return {};
}

bool isOurDefaultLine(const QByteArray& line, const QList<QByteArray>& keys)
{
    const int eq = line.indexOf('=');
    if (eq <= 0) return false;
    const QByteArray value = line.mid(eq + 1).trimmed();
    return keys.contains(line.left(eq).trimmed()) && (value == kEntryId.toUtf8() || value == kEntryId.toUtf8() + ';');
}

// `list` with each type's default set to our entry: existing lines for the types are
// replaced where they stand, missing ones are added at the end of the section (a new
// section at the end of the file when there is none). Every other byte stays.
QByteArray withOurDefaults(QByteArray list, const QList<QByteArray>& keys)
{
    QList<QByteArray> lines = list.split('\n');
    const bool endsWithNewline = list.isEmpty() || list.endsWith('\n');
    if (endsWithNewline) lines.removeLast();
    QList<QByteArray> missing = keys;
    int section = -1, sectionEnd = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray t = lines[i].trimmed();
        if (t.startsWith('[')) {
            if (section >= 0 && sectionEnd < 0) sectionEnd = i;
            if (t == kDefaultsSection && section < 0) section = i;
            continue;
        }
        const int eq = t.indexOf('=');
        if (section >= 0 && sectionEnd < 0 && eq > 0 && missing.contains(t.left(eq).trimmed())) {
            const QByteArray key = t.left(eq).trimmed();
            lines[i] = key + '=' + kEntryId.toUtf8();
            missing.removeAll(key);
        }
    }
    QList<QByteArray> added;
    for (const QByteArray& k : missing) added << k + '=' + kEntryId.toUtf8();
    if (section < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << QByteArray();
        lines << kDefaultsSection << added;
    } else {
        int at = sectionEnd < 0 ? int(lines.size()) : sectionEnd;
        while (at > section + 1 && lines[at - 1].trimmed().isEmpty()) --at;  // before blank lines
        for (int i = 0; i < added.size(); ++i) lines.insert(at + i, added[i]);
    }
    return lines.join('\n') + '\n';
}

// `list` without our default lines for the types; a file that then holds nothing but an
// empty defaults section (the one registering created) becomes empty.
QByteArray withoutOurDefaults(const QByteArray& list, const QList<QByteArray>& keys)
{
    QList<QByteArray> lines = list.split('\n');
    bool inDefaults = false;
    QList<QByteArray> kept;
    for (const QByteArray& line : lines) {
        const QByteArray t = line.trimmed();
        if (t.startsWith('[')) inDefaults = t == kDefaultsSection;
        if (inDefaults && isOurDefaultLine(t, keys)) continue;
        kept << line;
    }
    const QByteArray out = kept.join('\n');
    if (out.trimmed() == kDefaultsSection) return {};
    return out;
}

// ---- Changes applied together ----------------------------------------------------------

struct Change {
    QString path;
    std::optional<QByteArray> content;  // nullopt: remove the file
};

// Applies every change, or none: on a failure the files already changed get their old
// content back. Returns the path that could not be written ("" on success).
QString applyAll(const std::vector<Change>& changes)
{
    std::vector<std::pair<QString, std::optional<QByteArray>>> done;
    auto rollBack = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            if (it->second) writeFileAtomic(it->first.toStdString(), Bytes(it->second->begin(), it->second->end()));
            else QFile::remove(it->first);
        }
    };
    for (const Change& c : changes) {
        std::optional<QByteArray> old = readAll(c.path);
        if (!QFileInfo::exists(c.path)) old.reset();
        bool ok;
        if (c.content) {
            ok = QDir().mkpath(QFileInfo(c.path).absolutePath()) &&
                 writeFileAtomic(c.path.toStdString(), Bytes(c.content->begin(), c.content->end()));
        } else {
            ok = !QFileInfo::exists(c.path) || QFile::remove(c.path);
        }
        if (!ok) {
            rollBack();
            return c.path;
        }
        done.emplace_back(c.path, old);
    }
    return {};
}

// Runs a database tool when it is installed; its outcome does not decide anything (the
// files are in place, the desktop rereads them anyway).
void refresh(const char* tool, const QString& folder)
{
    const QString exe = QStandardPaths::findExecutable(QLatin1String(tool));
    if (exe.isEmpty() || !QFileInfo(folder).isDir()) return;
    QProcess p;
    p.start(exe, {folder});
    if (!p.waitForFinished(30000)) p.kill();
}

QByteArray resource(const QString& name)
{
    QFile f(QStringLiteral(":/desktop/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString iconPath(const QString& mimeType)
{
    return dataHome() + QStringLiteral("/icons/hicolor/scalable/mimetypes/") + QString(mimeType).replace('/', '-') +
           QStringLiteral(".svg");
}

QString entryPath() { return dataHome() + QStringLiteral("/applications/") + kEntryId; }
QString packagePath() { return dataHome() + QStringLiteral("/mime/packages/") + kPackageName; }
QString appIconPath() { return dataHome() + QStringLiteral("/icons/hicolor/scalable/apps/quorvane.svg"); }
QString listPath() { return configHome() + QStringLiteral("/mimeapps.list"); }

QList<QByteArray> mimeKeys(const std::vector<ShellFileType>& types)
{
    QList<QByteArray> keys;
    for (const ShellFileType& t : types) keys << t.mimeType.toUtf8();
    return keys;
}

bool entryIsOurs(const QString& path)
{
    const auto content = readAll(path);
    return content && content->contains(kMarker);
}

Status failedAt(const QString& path)
{
    return Status::failure(formatMessage(str::IDS_FILE_TYPES_CANNOT_WRITE, {path.toStdString()}));
}

void refreshAll()
{
    refresh("update-mime-database", dataHome() + QStringLiteral("/mime"));
    refresh("update-desktop-database", dataHome() + QStringLiteral("/applications"));
}

}  // namespace

QString DefaultDesktopEntry(const QString& mimeType)
{
    // mimeapps.list in its order of precedence: desktop-specific before generic, the
    // user's configuration, the system's, then the data folders.
    QStringList desktops;
    for (const QString& d : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        desktops << d.toLower();
    auto listsIn = [&](const QString& dir) {
        QStringList out;
        for (const QString& d : desktops) out << dir + QLatin1Char('/') + d + QStringLiteral("-mimeapps.list");
        out << dir + QStringLiteral("/mimeapps.list");
        return out;
    };
    QStringList lists = listsIn(configHome());
    for (const QString& d : searchDirs("XDG_CONFIG_DIRS", "/etc/xdg")) lists << listsIn(d);
    lists << listsIn(dataHome() + QStringLiteral("/applications"));
    for (const QString& d : searchDirs("XDG_DATA_DIRS", "/usr/local/share:/usr/share"))
        lists << listsIn(d + QStringLiteral("/applications"));
    for (const QString& list : lists) {
        const auto content = readAll(list);
        if (!content) continue;
        for (const QString& id : defaultsFor(*content, mimeType))
            if (!findEntry(id.trimmed()).isEmpty()) return id.trimmed();
    }
    return {};
}

Status RegisterShellTypes(const std::vector<ShellFileType>& types, const QString& program)
{
    // The shipped desktop entry, with the program at its full path and our marker.
    QByteArray entry;
    for (const QByteArray& line : resource(QStringLiteral("quorvane.desktop")).split('\n')) {
        if (line.startsWith("Exec=")) entry += execLine(program) + '\n';
        else if (!line.isEmpty()) entry += line + '\n';
    }
    entry += kMarker + '\n';
    std::vector<Change> changes{{entryPath(), entry},
                                {packagePath(), resource(QStringLiteral("quorvane-mime.xml"))},
                                {appIconPath(), [] {
                                     QFile f(QStringLiteral(":/icons/app.svg"));
                                     return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
                                 }()}};
    for (const ShellFileType& t : types)
        changes.push_back({iconPath(t.mimeType), resource(QString(t.mimeType).replace('/', '-') + QStringLiteral(".svg"))});
    changes.push_back({listPath(), withOurDefaults(readAll(listPath()).value_or(QByteArray()), mimeKeys(types))});
    const QString failed = applyAll(changes);
    if (!failed.isEmpty()) return failedAt(failed);
    refreshAll();
    return Status::success();
}

Status UnregisterShellTypes(const std::vector<ShellFileType>& types, const QString&)
{
    std::vector<Change> changes;
    if (entryIsOurs(entryPath())) {
        changes = {{entryPath(), std::nullopt}, {packagePath(), std::nullopt}, {appIconPath(), std::nullopt}};
        for (const ShellFileType& t : types) changes.push_back({iconPath(t.mimeType), std::nullopt});
    }
    if (const auto list = readAll(listPath())) {
        const QByteArray kept = withoutOurDefaults(*list, mimeKeys(types));
        if (kept.isEmpty()) changes.push_back({listPath(), std::nullopt});
        else if (kept != *list) changes.push_back({listPath(), kept});
    }
    const QString failed = applyAll(changes);
    if (!failed.isEmpty()) return failedAt(failed);
    refreshAll();
    return Status::success();
}

bool IsShellTypeAssociated(const ShellFileType& type, const QString& program)
{
    const QString id = DefaultDesktopEntry(type.mimeType);
    if (id.isEmpty()) return false;
    const auto entry = readAll(findEntry(id));
    if (!entry) return false;
    const QString target = resolvedProgram(entryExec(*entry));
    return !target.isEmpty() && target == samePathForm(program);
}

#else  // Windows: the classes-root entries of each type.

namespace {

std::wstring wide(const QString& s) { return s.toStdWString(); }

bool setDefault(HKEY root, const QString& key, const QString& value)
{
    return RegSetValueW(root, wide(key).c_str(), REG_SZ, wide(value).c_str(), DWORD(value.size() * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

QString shortPath(const QString& program)
{
    const std::wstring full = wide(QDir::toNativeSeparators(program));
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetShortPathNameW(full.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? QString::fromWCharArray(buffer, int(n)) : QString::fromStdWString(full);
}

QString openKey(const ShellFileType& t) { return t.typeId + QStringLiteral("\\shell\\open\\command"); }

}  // namespace

Status RegisterShellTypes(const std::vector<ShellFileType>& types, const QString& program)
{
    const QString command = shortPath(program) + QStringLiteral(" \"%1\"");
    const QString full = QDir::toNativeSeparators(program);
    for (const ShellFileType& t : types) {
        if (!t.typeId.isEmpty()) {
            const QString name = t.typeName.isEmpty() ? t.typeId : t.typeName;
            if (!setDefault(HKEY_CLASSES_ROOT, t.typeId, name) || !setDefault(HKEY_CLASSES_ROOT, openKey(t), command) ||
                (!t.extension.isEmpty() && !setDefault(HKEY_CLASSES_ROOT, t.extension, t.typeId)))
                return Status::failure(formatMessage(str::IDS_FILE_TYPES_CANNOT_WRITE, {t.typeId.toStdString()}));
            HKEY user;
            const QString exts = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\") +
                                 t.extension;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(exts).c_str(), 0, KEY_SET_VALUE, &user) == ERROR_SUCCESS) {
                RegDeleteValueW(user, L"Application");
                RegCloseKey(user);
            }
        }
        // The icon is a nicety: failing to set it does not undo the association.
        setDefault(HKEY_CLASSES_ROOT, t.typeId + QStringLiteral("\\DefaultIcon"),
                   QStringLiteral("\"%1\",%2").arg(full).arg(t.iconIndex));
    }
    return Status::success();
}

Status UnregisterShellTypes(const std::vector<ShellFileType>& types, const QString&)
{
    for (const ShellFileType& t : types) {
        if (t.typeId.isEmpty()) continue;
        wchar_t value[MAX_PATH];
        LONG size = sizeof(value);
        if (!t.extension.isEmpty() && RegQueryValueW(HKEY_CLASSES_ROOT, wide(t.extension).c_str(), value, &size) ==
                                          ERROR_SUCCESS && QString::fromWCharArray(value) == t.typeId)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, wide(t.extension).c_str());
        const LONG r = RegDeleteTreeW(HKEY_CLASSES_ROOT, wide(t.typeId).c_str());
        if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND)
            return Status::failure(formatMessage(str::IDS_FILE_TYPES_CANNOT_WRITE, {t.typeId.toStdString()}));
    }
    return Status::success();
}

bool IsShellTypeAssociated(const ShellFileType& type, const QString& program)
{
    if (type.typeId.isEmpty()) return false;
    wchar_t value[MAX_PATH];
    LONG size = sizeof(value);
    if (RegQueryValueW(HKEY_CLASSES_ROOT, wide(openKey(type)).c_str(), value, &size) != ERROR_SUCCESS) return false;
    const QString expected = shortPath(program) + QStringLiteral(" \"%1\"");
    return QString::fromWCharArray(value).compare(expected, Qt::CaseInsensitive) == 0;
}

#endif

}  // namespace qv
