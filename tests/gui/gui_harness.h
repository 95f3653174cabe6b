// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Shared by the document, view and dialog tests: the program object with the FLC
// template, scripted message boxes, file dialogs and clock, a fresh temporary folder for
// each test, and the helpers to write, open and read animations there.
#pragma once

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <initializer_list>
#include <memory>

#include "core/file_io.h"
#include "core/flc_format.h"
#include "core/strings.h"
#include "flc/flc_template.h"
#include "flc/flc_view.h"
#include "platform/ui/cmd_target.h"
#include "platform/ui/document.h"
#include "platform/ui/profile.h"
#include "platform/ui/services.h"
#include "platform/ui/win_app.h"
#include "support/flc_builder.h"

namespace qvtest {

// Runs `work` on the modal widget of type T that the next event loop shows. When a check
// inside `work` fails, it returns before the widget is answered: the widget is then
// closed, so that the test fails at once instead of waiting in its event loop until the
// test runner gives up.
template <typename T>
void whenShown(QObject* context, std::function<void(T*)> work)
{
    QTimer::singleShot(0, context, [work] {
        T* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        QPointer<T> shown(dlg);
        work(dlg);
        if (QTest::currentTestFailed() && shown && shown->isVisible()) shown->close();
    });
}

// `format` with `args` filled in, as a message box shows it.
inline QString msg(const char* format, std::initializer_list<qv::MessageArg> args = {})
{
    return QString::fromStdString(qv::formatMessage(format, args));
}

// An animation of frames `w` x `h`, `frames` per direction: a unit of 8 directions or a
// leader head of one.
inline qv::test::AnimationShape shape(int w, int h, int frames, bool leaderHead = false)
{
    qv::test::AnimationShape anim;
    anim.width = w;
    anim.height = h;
    anim.framesPerDirection = frames;
    anim.leaderHead = leaderHead;
    anim.directions = leaderHead ? 1 : 8;
    return anim;
}

// A test class derives from QObject first and from this second, and calls startGui,
// resetGui, closeGui and stopGui from its initTestCase, init, cleanup and cleanupTestCase.
template <typename App = qv::CWinApp>
class GuiHarness {
protected:
    std::unique_ptr<App> app_;
    qv::CNewMultiDocTemplate* template_ = nullptr;
    qv::ScriptedMessageBoxes boxes_;
    qv::ScriptedFileDialogs dialogs_;
    qv::ManualClock clock_;
    std::unique_ptr<QTemporaryDir> dir_;

    // `profile` names the settings of this test program, apart from the real ones.
    void startGui(const char* profile, bool manualClock = true)
    {
        QStandardPaths::setTestModeEnabled(true);
        qv::setProfileNames(QStringLiteral("VelmoraTest"), QString::fromLatin1(profile));
        qv::setMessageBoxService(&boxes_);
        qv::setFileDialogService(&dialogs_);
        if (manualClock) qv::setClock(&clock_);
        app_ = std::make_unique<App>();
        template_ = qv::registerFlcTemplate(*app_);
    }
    // Removes the settings sections named, and starts a new folder and message record.
    void resetGui(std::initializer_list<const char*> sections)
    {
        for (const char* s : sections) qv::RemoveProfileValue(QString::fromLatin1(s));
        dir_ = std::make_unique<QTemporaryDir>();
        boxes_.clear();
        dialogs_ = qv::ScriptedFileDialogs();
    }
    void closeGui(bool deleteNow = true)
    {
        template_->CloseAllDocuments(true);
        if (deleteNow) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void stopGui()
    {
        app_.reset();
        qv::setMessageBoxService(nullptr);
        qv::setFileDialogService(nullptr);
        qv::setClock(nullptr);
    }

    QString path(const QString& name) const { return dir_->filePath(name); }
    QString writeFile(const QString& name, const qv::Bytes& bytes) const
    {
        qv::writeFileAtomic(path(name).toStdString(), bytes);
        return path(name);
    }
    static qv::Bytes readFile(const QString& path)
    {
        qv::Bytes b;
        qv::readWholeFile(path.toStdString(), b);
        return b;
    }
    // `anim` with the unit offsets given (leader heads have none) in a new file.
    QString writeFlc(const QString& name, const qv::test::AnimationShape& anim, int left = 0, int top = 0) const
    {
        qv::Bytes bytes = qv::test::buildAnimation(anim);
        if (!anim.leaderHead) {
            qv::putLE16(bytes.data() + 100, static_cast<uint16_t>(left));
            qv::putLE16(bytes.data() + 102, static_cast<uint16_t>(top));
        }
        return writeFile(name, bytes);
    }
    qv::CFlcView* openFile(const QString& file)
    {
        qv::CDocument* doc = template_->OpenDocumentFile(file);
        return doc ? qobject_cast<qv::CFlcView*>(doc->GetFirstView()) : nullptr;
    }
    // Writes `anim` to a file of a new name and opens it; the name goes to `file` if given.
    qv::CFlcView* openAnimation(const qv::test::AnimationShape& anim, int left = 0, int top = 0,
                                QString* file = nullptr)
    {
        static int n = 0;
        const QString p = writeFlc(QStringLiteral("anim%1.flc").arg(++n), anim, left, top);
        if (file) *file = p;
        return openFile(p);
    }

    // The texts of the messages shown since the last resetGui or boxes_.clear().
    QStringList messages() const
    {
        QStringList out;
        for (const auto& m : boxes_.shown()) out << m.text;
        return out;
    }
    // Whether `view` enables, or checks, command `id`.
    template <typename V>
    static bool enabled(V* view, int id)
    {
        qv::CCmdUI ui(id);
        return view->OnUpdateCommand(id, ui) && ui.enabled;
    }
    template <typename V>
    static bool checked(V* view, int id)
    {
        qv::CCmdUI ui(id);
        view->OnUpdateCommand(id, ui);
        return ui.checked;
    }
    // Moves the manual clock on by `ms` and lets `view` render.
    void tick(qv::CFlcView* view, uint32_t ms = 50)
    {
        clock_.advance(ms);
        view->RenderTick();
    }
    // Runs `work` on the modal dialog of type T that the next event loop shows.
    template <typename T>
    static void whenShown(std::function<void(T*)> work)
    {
        qvtest::whenShown<T>(QCoreApplication::instance(), std::move(work));
    }
};

// Sets the named child controls of `w` in the order of the words "name=value" in
// `settings`: a button is checked ("name" or "name=1") or unchecked ("name=0"), a spin box
// takes the number, a combo box the index, a line edit the text. False, with a warning,
// on a name no such control has.
inline bool setControls(QWidget* w, const QString& settings)
{
    for (const QString& word : settings.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = word.section(QLatin1Char('='), 0, 0);
        const QString value = word.section(QLatin1Char('='), 1);
        QWidget* c = w->findChild<QWidget*>(name);
        const bool button = c && c->inherits("QAbstractButton");
        const char* property = !c                         ? nullptr
                               : button                   ? "checked"
                               : c->inherits("QSpinBox")  ? "value"
                               : c->inherits("QComboBox") ? "currentIndex"
                               : c->inherits("QLineEdit") ? "text"
                                                          : nullptr;
        if (!property || !c->setProperty(property, button ? QVariant(value != QLatin1String("0")) : QVariant(value))) {
            qWarning() << "cannot set" << word;
            return false;
        }
    }
    return true;
}

}  // namespace qvtest
