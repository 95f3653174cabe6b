// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Shared by the application-shell tests: settings and the desktop's file-type
// registration kept in temporary folders, a document and view that accept anything, an
// animation whose state a test sets, and the whole program started as a user starts it.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "app/animation_control.h"
#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "gui_harness.h"
#include "platform/ui/document.h"
#include "platform/ui/file_types.h"
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
        return {{QStringLiteral("FLC"), QStringLiteral("FLC Document"), QStringLiteral(".flc"),
                 QStringLiteral("video/x-flic"), 1},
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
    explicit RecordingView(std::vector<int> claimed = {}) : handled(std::move(claimed)) {}
    std::vector<int> commands;
    std::vector<int> handled;  // ids this view claims
    QSize GetPreferredSize() const override { return {242, 244}; }
    bool claims(int id) const { return std::find(handled.begin(), handled.end(), id) != handled.end(); }
    bool OnCommand(int id) override
    {
        if (claims(id)) commands.push_back(id);
        return claims(id);
    }
    bool OnUpdateCommand(int id, qv::CCmdUI& ui) override
    {
        if (claims(id)) ui.Enable(true);
        return claims(id);
    }
};

// An animation whose state the test sets directly; its operations are recorded.
class FakeAnimation : public qv::IAnimationControl {
public:
    bool loaded = true, running = true, paused = false, leader = false, windBack = false, windForward = false;
    int directions = 8, dir = 0, mode = 1, delay = 100, speed = 55, number = 3, count = 10;
    bool alphaOption = false, alpha = false, paletteDialog = false;
    QStringList calls;

    bool isLoaded() const override { return loaded; }
    bool isRunning() const override { return running; }
    bool isPaused() const override { return paused; }
    int directionCount() const override { return directions; }
    int direction() const override { return dir; }
    int delayMode() const override { return mode; }
    int customDelay() const override { return delay; }
    int fileSpeed() const override { return speed; }
    int frameNumber() const override { return number; }
    int frameCount() const override { return count; }
    bool isWindingBack() const override { return windBack; }
    bool isWindingForward() const override { return windForward; }
    bool isLeaderHead() const override { return leader; }
    bool hasAlphaBlendOption() const override { return alphaOption; }
    bool isAlphaBlend() const override { return alpha; }
    bool hasPaletteDialog() const override { return paletteDialog; }

    void play() override { calls << QStringLiteral("play"); }
    void togglePause() override { calls << QStringLiteral("pause"); }
    void stop() override { calls << QStringLiteral("stop"); }
    void navigate(NavigateKind k) override { calls << QStringLiteral("nav%1").arg(k); }
    void toggleWindBack() override { calls << QStringLiteral("back"); }
    void toggleWindForward() override { calls << QStringLiteral("forward"); }
    void setDirection(int d) override { calls << QStringLiteral("dir%1").arg(d); }
    void setDelayMode(int m) override { calls << QStringLiteral("mode%1").arg(m); }
    void setCustomDelay(int ms) override { calls << QStringLiteral("delay%1").arg(ms); }
    void frameSliderReleased(int p) override { calls << QStringLiteral("slider%1").arg(p); }
    void showInfo() override { calls << QStringLiteral("info"); }
    void changed(unsigned what = kAllPanels) { notifyControlChanged(what); }
};

inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The whole program (CEditorApp) with the harness's scripted services, its settings and
// desktop kept apart. A test class calls startEditorServices from initTestCase,
// resetEditor from init, and stopEditor from cleanupTestCase.
class EditorHarness : public GuiHarness<qv::CEditorApp> {
protected:
    IsolatedSettings settings_;

    // `instance` tells this program's single-instance socket from other test programs'.
    void startEditorServices(const char* instance)
    {
        qputenv("QUORVANE_INSTANCE_NAME",
                QByteArray("QuorvaneV2-") + instance + '-' + QByteArray::number(QCoreApplication::applicationPid()));
        qv::setMessageBoxService(&boxes_);
        qv::setFileDialogService(&dialogs_);
        qv::setClock(&clock_);
    }
    // Ends the program if one runs, clears the settings and starts a new folder and record.
    void resetEditor()
    {
        closeEditor();
        settings_.clear();
        dir_ = std::make_unique<QTemporaryDir>();
        boxes_.clear();
        dialogs_ = qv::ScriptedFileDialogs();
    }
    // Runs the program's start-up with `args`; false when the start-up ended the program.
    bool startEditor(const QStringList& args = {}, std::function<void(qv::CEditorApp&)> templateHook = {})
    {
        closeEditor();
        app_ = std::make_unique<qv::CEditorApp>();
        app_->setArguments(args);
        app_->setShowMainWindow(false);
        app_->setProgramFolder(dir_->path());
        if (templateHook) app_->setTemplateHook(std::move(templateHook));
        return app_->InitInstance();
    }
    void closeEditor()
    {
        if (app_) app_->docManager()->CloseAllDocuments(true);
        flushDeletes();
        app_.reset();
    }
    void stopEditor()
    {
        closeEditor();
        stopGui();
    }
    // Both of the program's document types open any path into views that claim `handled`.
    void acceptEverything(const std::vector<int>& handled = {})
    {
        for (qv::CNewMultiDocTemplate* t : app_->docManager()->templates())
            t->setFactories([] { return new AcceptingDoc; }, {}, [handled] { return new RecordingView(handled); });
    }
    // A one-byte file of that name in the test's folder.
    QString touch(const QString& name) const { return writeFile(name, qv::Bytes{'x'}); }
    QStringList openPaths() const
    {
        QStringList out;
        for (qv::CDocument* d : app_->docManager()->documents())
            if (!d->isClosing()) out << d->GetPathName();
        return out;
    }
};

}  // namespace qvtest
