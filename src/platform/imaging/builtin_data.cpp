// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/builtin_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace qv {

namespace {

// Organisation and program names of the settings and of the per-user data folder. Fixed
// here rather than taken from the running application, so that quorvane-cli and the
// desktop program share them.
const char* const kOrganization = "Velmora";
const char* const kApplication = "Quorvane";

std::string toNative(const QString& path) { return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString(); }

bool writeWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

QString programFolder()
{
    if (!QCoreApplication::instance()) return {};
    return QCoreApplication::applicationDirPath();
}

QString userDataFolder()
{
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (generic.isEmpty()) return {};
    return generic + QLatin1Char('/') + QLatin1String(kOrganization) + QLatin1Char('/') + QLatin1String(kApplication);
}

QStringList builtinDataFolders()
{
    QStringList folders;
    const QString program = programFolder();
    if (program.isEmpty()) return folders;  // without the program's own path nothing is unpacked
    folders << program;
    const QString user = userDataFolder();
    if (!user.isEmpty() && user != program) folders << user;
    return folders;
}

bool builtinDataFile(const QString& name, QByteArray& out)
{
    QFile file(QStringLiteral(":/data/") + name);
    if (!file.open(QIODevice::ReadOnly)) return false;
    out = file.readAll();
    return !out.isEmpty();
}

QString backgroundPictureFileName(BackgroundPicture kind)
{
    return kind == BackgroundPicture::Sea ? QStringLiteral("Sea.pcx") : QStringLiteral("Land.pcx");
}

bool provideBackgroundPicture(BackgroundPicture kind, QString& path, const QStringList& folders)
{
    if (kind != BackgroundPicture::Sea && kind != BackgroundPicture::Land) return false;
    const QString name = backgroundPictureFileName(kind);
    for (const QString& folder : folders) {
        const QString candidate = QDir(folder).filePath(name);
        if (QFileInfo(candidate).isFile()) {
            path = candidate;
            return true;
        }
    }
    QByteArray bytes;
    if (!builtinDataFile(name, bytes)) return false;
    for (const QString& folder : folders) {
        if (!QDir().mkpath(folder)) continue;
        const QString candidate = QDir(folder).filePath(name);
        if (writeWhole(candidate, bytes)) {
            path = candidate;
            return true;
        }
    }
    return false;
}

QStringList GameFolders::list() const
{
    QStringList out;
    if (secondFound) out << second;
    if (firstFound) out << first;
    if (baseFound) out << base;
    return out;
}

GameFolders readGameFolders()
{
    GameFolders g;
    auto read = [](QSettings& settings, const QString& key, bool& found, QString& folder) {
        if (!settings.contains(key)) return;
        folder = settings.value(key).toString();
        found = true;
    };
#ifdef Q_OS_WIN
    // The game is a 32-bit program: its keys live in the 32-bit view of the registry.
    QSettings base(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Parvex Interactive\\Dominara"),
                   QSettings::Registry32Format);
    QSettings first(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Parvex\\Tolvaris"), QSettings::Registry32Format);
    QSettings second(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Parvex\\Brevundi"), QSettings::Registry32Format);
    const QString key = QStringLiteral("Install_Path");
    read(second, key, g.secondFound, g.second);
    read(first, key, g.firstFound, g.first);
    read(base, key, g.baseFound, g.base);
#else
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QLatin1String(kOrganization),
                       QLatin1String(kApplication));
    read(settings, QStringLiteral("Brevundi/Install_Path"), g.secondFound, g.second);
    read(settings, QStringLiteral("Tolvaris/Install_Path"), g.firstFound, g.first);
    read(settings, QStringLiteral("Game/Install_Path"), g.baseFound, g.base);
#endif
    return g;
}

CivPaletteSources civPaletteSources(int palType, const QString& palDir, const GameFolders& game,
                                    const QStringList& folders)
{
    CivPaletteSources s;
    s.palType = palType;
    s.gameFound = game.baseFound;
    s.gameFolder = toNative(game.base);
    for (const QString& folder : folders) s.builtinFolders.push_back(toNative(folder));
    s.builtinScheme = [](int fileNumber, Bytes& out) {
        QByteArray bytes;
        if (!builtinDataFile(QString::fromStdString(civPaletteFileName(fileNumber)), bytes)) return false;
        out.assign(bytes.begin(), bytes.end());
        return true;
    };
    s.paletteFolder = toNative(palDir);
    return s;
}

}  // namespace qv
