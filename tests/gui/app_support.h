// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Shared by the application-shell tests: settings and the desktop's file-type
// registration kept in temporary folders, and a document and view that accept anything.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

#include "app/animation_control.h"
#include "platform/ui/file_types.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/view.h"

namespace qvtest {

// The XDG base directories of the desktop (data, configuration and their search lists)
// in a temporary folder for the life of the object, so file-type registration never
// touches the real home. Child processes inherit them.
class ScratchDesktop {
public:
    ScratchDesktop()
    {
        for (const char* var : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"}) {
            const QString dir = root_.path() + QLatin1Char('/') + QLatin1String(var);
            QDir().mkpath(dir);
            qputenv(var, dir.toLocal8Bit());
        }
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    QString dataHome() const { return root_.path() + QStringLiteral("/XDG_DATA_HOME"); }
    QString mimeappsList() const { return root_.path() + QStringLiteral("/XDG_CONFIG_HOME/mimeapps.list"); }
    // The program's two types as its document manager describes them.
    static std::vector<qv::ShellFileType> types()
    {
        return {{QStringLiteral("FLC"), QStringLiteral("FLC Document"), QStringLiteral(".flc"), QStringLiteral("video/x-flic"), 1},
                {QStringLiteral("QSB"), QStringLiteral("QSB Document"), QStringLiteral(".qsb"),
                 QStringLiteral("application/x-quorvane-storyboard"), 2}};
    }

private:
    QTemporaryDir root_;
};

// Points QSettings (user and system scope) at fresh temporary folders for the life of
// the object, so tests neither read nor change the real settings. The desktop is a
// scratch one where this program already owns its file types, so starting the program
// asks no question about them.
class IsolatedSettings {
public:
    IsolatedSettings()
    {
        qv::RegisterShellTypes(ScratchDesktop::types(), QCoreApplication::applicationFilePath());
        QStandardPaths::setTestModeEnabled(true);
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, user_.path());
            QSettings::setPath(format, QSettings::SystemScope, system_.path());
        }
        qv::ReloadProfile();
    }
    QString userPath() const { return user_.path(); }
    QString systemPath() const { return system_.path(); }
    // Removes every value.
    void clear()
    {
        qv::ReloadProfile();
        QSettings s(QStringLiteral("Velmora"), QStringLiteral("Quorvane"));
        s.clear();
        s.sync();
    }

private:
    ScratchDesktop desktop_;
    QTemporaryDir user_;
    QTemporaryDir system_;
};

// A document that opens any path and refuses new documents unless told otherwise.
class AcceptingDoc : public qv::CDocument {
public:
    bool acceptNew = false;
    bool OnNewDocument() override { return acceptNew; }
    bool OnOpenDocument(const QString&) override { return true; }
};

// A view that records the commands it is given and claims the ones it handles.
class RecordingView : public qv::CView {
public:
    std::vector<int> commands;
    std::vector<int> handled;  // ids this view claims
    QSize preferred{242, 244};
    QSize GetPreferredSize() const override { return preferred; }
    bool OnCommand(int id) override
    {
        for (int h : handled)
            if (h == id) {
                commands.push_back(id);
                return true;
            }
        return false;
    }
    bool OnUpdateCommand(int id, qv::CCmdUI& ui) override
    {
        for (int h : handled)
            if (h == id) {
                ui.Enable(true);
                return true;
            }
        return false;
    }
};

}  // namespace qvtest
