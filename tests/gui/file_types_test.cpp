// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// File-type registration on a scratch freedesktop home: register, the association
// check, unregister, the answer of the desktop's own xdg-mime, another program's
// entries kept byte for byte, an unwritable data folder, and the start-up switches.
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "app/editor_app.h"
#include "app/editor_doc_manager.h"
#include "app_support.h"
#include "platform/ui/services.h"

using namespace qv;

namespace {

const QByteArray kForeignList =
    "# chosen by the user\n[Added Associations]\nvideo/x-flic=vlc.desktop;\n\n[Default Applications]\n"
    "text/plain=org.gnome.gedit.desktop\nimage/png = gimp.desktop\n\n[Removed Associations]\nimage/gif=eog.desktop;\n";

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// What the desktop's own tool says opens `mimeType` ("" when it is not installed).
QString xdgMimeDefault(const QString& mimeType)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty()) return {};
    QProcess p;
    p.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

bool associated(const QString& program)
{
    for (const ShellFileType& t : qvtest::ScratchDesktop::types())
        if (!IsShellTypeAssociated(t, program)) return false;
    return true;
}

}  // namespace

class FileTypesTest : public QObject {
    Q_OBJECT
    QString program_ = QCoreApplication::applicationFilePath();

private slots:
    void registerThenUnregisterLeavesOtherProgramsIntact()
    {
        qvtest::ScratchDesktop desk;
        write(desk.mimeappsList(), kForeignList);
        QVERIFY(!associated(program_));

        QVERIFY(RegisterShellTypes(desk.types(), program_));
        QVERIFY(associated(program_));
        QVERIFY(!associated(program_ + QStringLiteral("-elsewhere")));  // another copy of the program
        const bool haveXdgMime = !QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty();
        if (haveXdgMime) {
            QCOMPARE(xdgMimeDefault(QStringLiteral("video/x-flic")), QStringLiteral("quorvane.desktop"));
            QCOMPARE(xdgMimeDefault(QStringLiteral("application/x-quorvane-storyboard")), QStringLiteral("quorvane.desktop"));
        }
        const QByteArray list = read(desk.mimeappsList());
        QVERIFY(list.startsWith(kForeignList.left(kForeignList.indexOf("\n\n[Removed"))));
        QVERIFY(list.contains("image/png = gimp.desktop\nvideo/x-flic=quorvane.desktop\n"));
        QVERIFY(list.endsWith("[Removed Associations]\nimage/gif=eog.desktop;\n"));
        for (const char* f : {"/applications/quorvane.desktop", "/mime/packages/quorvane.xml",
                              "/icons/hicolor/scalable/mimetypes/video-x-flic.svg",
                              "/icons/hicolor/scalable/apps/quorvane.svg"})
            QVERIFY2(QFile::exists(desk.dataHome() + QLatin1String(f)), f);

        QVERIFY(RegisterShellTypes(desk.types(), program_));  // again: still one line per type
        QCOMPARE(read(desk.mimeappsList()).count("=quorvane.desktop"), 2);

        QVERIFY(UnregisterShellTypes(desk.types(), program_));
        QCOMPARE(read(desk.mimeappsList()), kForeignList);
        QVERIFY(!associated(program_));
        QVERIFY(!QFile::exists(desk.dataHome() + QStringLiteral("/applications/quorvane.desktop")));
        QVERIFY(!QFile::exists(desk.dataHome() + QStringLiteral("/mime/packages/quorvane.xml")));
        if (haveXdgMime) QCOMPARE(xdgMimeDefault(QStringLiteral("video/x-flic")), QString());
    }

    void takesOverAnotherOwnerAndLeavesAForeignEntryAlone()
    {
        qvtest::ScratchDesktop desk;
        write(desk.dataHome() + QStringLiteral("/applications/vlc.desktop"),
              "[Desktop Entry]\nType=Application\nName=VLC\nExec=/usr/bin/vlc %U\n");
        write(desk.mimeappsList(), "[Default Applications]\nvideo/x-flic=vlc.desktop\n");
        QCOMPARE(DefaultDesktopEntry(QStringLiteral("video/x-flic")), QStringLiteral("vlc.desktop"));
        QVERIFY(!associated(program_));
        QVERIFY(RegisterShellTypes(desk.types(), program_));
        QCOMPARE(read(desk.mimeappsList()),
                 QByteArray("[Default Applications]\nvideo/x-flic=quorvane.desktop\n"
                            "application/x-quorvane-storyboard=quorvane.desktop\n"));
        QVERIFY(associated(program_));

        // A user's own quorvane.desktop (not written by registering) is never removed.
        QVERIFY(UnregisterShellTypes(desk.types(), program_));
        QVERIFY(!QFile::exists(desk.mimeappsList()));
        write(desk.dataHome() + QStringLiteral("/applications/quorvane.desktop"), "[Desktop Entry]\nExec=quorvane\n");
        QVERIFY(UnregisterShellTypes(desk.types(), program_));
        QVERIFY(QFile::exists(desk.dataHome() + QStringLiteral("/applications/quorvane.desktop")));
    }

    void unwritableDataFolderFailsAndWritesNothing()
    {
        qvtest::ScratchDesktop desk;
        write(desk.mimeappsList(), kForeignList);
        QDir(desk.dataHome()).removeRecursively();
        write(desk.dataHome(), "a file where the folder should be");
        const Status s = RegisterShellTypes(desk.types(), program_);
        QVERIFY(!s);
        QVERIFY(QString::fromStdString(s.message).contains(QStringLiteral("Cannot write the file.")));
        QCOMPARE(read(desk.mimeappsList()), kForeignList);
    }

    void switchesConfirmOnlyAfterSuccessAndTheStartupQuestion()
    {
        qvtest::IsolatedSettings settings;
        qvtest::ScratchDesktop desk;  // a fresh desktop where nothing is registered yet
        ScriptedMessageBoxes boxes;
        setMessageBoxService(&boxes);
        auto run = [&](const QStringList& args) {
            boxes.clear();
            CEditorApp app;
            app.setArguments(args);
            app.setShowMainWindow(false);
            const bool running = app.InitInstance();
            const bool startedUp = running && app.mainWindow();
            return startedUp ? -1 : app.exitCode();
        };

        QCOMPARE(run({QStringLiteral("-r"), QStringLiteral("-q")}), 0);
        QVERIFY(boxes.shown().empty());
        QVERIFY(associated(program_));
        QCOMPARE(run({QStringLiteral("-u")}), 0);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("The file type '.FLC' is unregistered."));
        QCOMPARE(boxes.shown()[0].flags, unsigned(MB_OK));
        QVERIFY(!associated(program_));
        QCOMPARE(run({QStringLiteral("-r")}), 0);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("The file type '.FLC' is registered."));
        QCOMPARE(boxes.shown()[0].flags, unsigned(MB_ICONINFORMATION));
        QCOMPARE(run({QStringLiteral("-u"), QStringLiteral("-q")}), 0);
        QVERIFY(boxes.shown().empty());
        QVERIFY(!associated(program_));

        // Not associated: the start-up question; No leaves the desktop alone.
        boxes.answer(IDNO);
        QCOMPARE(run({}), -1);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
        QVERIFY(!associated(program_));

        write(desk.mimeappsList(), kForeignList);
        QDir(desk.dataHome()).removeRecursively();
        write(desk.dataHome(), "not a folder");
        QCOMPARE(run({QStringLiteral("-r")}), 1);
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].flags, unsigned(MB_ICONERROR));
        QCOMPARE(run({QStringLiteral("-r"), QStringLiteral("-q")}), 1);  // quiet: the error stream only
        QVERIFY(boxes.shown().empty());
        QCOMPARE(read(desk.mimeappsList()), kForeignList);
        setMessageBoxService(nullptr);
    }
};

QTEST_MAIN(FileTypesTest)
#include "file_types_test.moc"
