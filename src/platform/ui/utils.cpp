// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/utils.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "platform/ui/services.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace qv {

QString uGetFileExt(const QString& path)
{
    const QString name = GetFileName(path);
    const int dot = static_cast<int>(name.lastIndexOf(QLatin1Char('.')));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

bool uIsFileExist(const QString& path)
{
    if (path.isEmpty()) return false;
    const QFileInfo fi(path);
    return fi.exists() && !fi.isDir();
}

bool uIsDirExist(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

QString GetFolder(const QString& path)
{
    const int slash = static_cast<int>(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString uGetPathName(const QString& path) { return GetFolder(path); }

QString GetFileName(const QString& path) { return path.mid(GetFolder(path).size()); }

QString GetShortFileName(const QString& path)
{
    const QString name = GetFileName(path);
    const int dot = static_cast<int>(name.lastIndexOf(QLatin1Char('.')));
    return dot < 0 ? name : name.left(dot);
}

QString dialogStartPath(const QString& documentPath, const QString& lastFile)
{
    const QFileInfo last(lastFile);
    const bool lastExists = !lastFile.isEmpty() && last.exists();
    if (documentPath.isEmpty()) return lastExists ? lastFile : QString();
    const QFileInfo doc(documentPath);
    const QString folder = doc.absolutePath();
    if (lastExists && last.absolutePath() == folder) return lastFile;
    return QFileInfo(folder).isDir() ? folder : (lastExists ? lastFile : QString());
}

QString uGetTempFileName(const QString& ext)
{
    QString suffix = ext;
    if (!suffix.isEmpty() && !suffix.startsWith(QLatin1Char('.'))) suffix.prepend(QLatin1Char('.'));
    QTemporaryFile file(QDir::tempPath() + QLatin1String("/quorvane-XXXXXX") + suffix);
    file.setAutoRemove(false);
    if (!file.open()) return QString();
    return file.fileName();
}

QString uFormatString(const char* text, std::initializer_list<MessageArg> args)
{
    return QString::fromStdString(formatMessage(text, args));
}

QString uLoadString(const char* text) { return QString::fromUtf8(text); }

bool uBrowseFolder(QWidget* parent, const QString& title, const QString& start, QString& folder)
{
    return fileDialogService().browseFolder(parent, title, start, folder);
}

bool uCreateNewFolder(const QString& path) { return !path.isEmpty() && QDir().mkpath(path); }

void uLowerThreadPriority()
{
#ifdef Q_OS_WIN
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#elif defined(SYS_gettid)
    // Linux keeps a niceness per thread; Qt's thread priorities do not change it.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
#endif
}

}  // namespace qv
