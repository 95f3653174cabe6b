// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Shared by the application-shell tests: settings kept in a temporary folder (per-user
// and system-wide), and a document and view that accept anything.
#pragma once

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

#include "app/animation_control.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/view.h"

namespace qvtest {

// Points QSettings (user and system scope) at fresh temporary folders for the life of
// the object, so tests neither read nor change the real settings.
class IsolatedSettings {
public:
    IsolatedSettings()
    {
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
