// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// File-type registration on a scratch freedesktop home: register, the association
// check, unregister, taking the types over from another program, other programs'
// entries kept byte for byte, an unwritable data folder, and the start-up switches.
#include <QtTest>
#include <tuple>

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
    void registerAndUnregisterLeaveOtherProgramsIntact()
    {
        qvtest::ScratchDesktop desk;
        write(desk.mimeappsList(), kForeignList);
        QVERIFY(RegisterShellTypes(desk.types(), program_));
        QVERIFY(associated(program_));
        QVERIFY(!associated(program_ + QStringLiteral("-elsewhere")));  // another copy of the program
        const QByteArray list = read(desk.mimeappsList());
        QVERIFY(list.startsWith(kForeignList.left(kForeignList.indexOf("\n\n[Removed"))));
        QVERIFY(list.contains("image/png = gimp.desktop\nvideo/x-flic=quorvane.desktop\n"));
        QVERIFY(list.endsWith("[Removed Associations]\nimage/gif=eog.desktop;\n"));
        for (const char* f :
             {"/applications/quorvane.desktop", "/mime/packages/quorvane.xml",
              "/icons/hicolor/scalable/mimetypes/video-x-flic.svg", "/icons/hicolor/scalable/apps/quorvane.svg"})
            QVERIFY2(QFile::exists(desk.dataHome() + QLatin1String(f)), f);

        QVERIFY(RegisterShellTypes(desk.types(), program_));  // again: still one line per type
        QCOMPARE(read(desk.mimeappsList()).count("=quorvane.desktop"), 2);

        QVERIFY(UnregisterShellTypes(desk.types(), program_));
        QCOMPARE(read(desk.mimeappsList()), kForeignList);
        QVERIFY(!associated(program_));
        QVERIFY(!QFile::exists(desk.dataHome() + QStringLiteral("/applications/quorvane.desktop")));

        // Another program owns FLC files: registering takes them over.
        write(desk.dataHome() + QStringLiteral("/applications/vlc.desktop"),
              "[Desktop Entry]\nType=Application\nName=VLC\nExec=/usr/bin/vlc %U\n");
        write(desk.mimeappsList(), "[Default Applications]\nvideo/x-flic=vlc.desktop\n");
        QVERIFY(RegisterShellTypes(desk.types(), program_));
        QCOMPARE(read(desk.mimeappsList()), QByteArray("[Default Applications]\nvideo/x-flic=quorvane.desktop\n"
                                                       "application/x-quorvane-storyboard=quorvane.desktop\n"));

        // A user's own quorvane.desktop (not written by registering) is never removed.
        QVERIFY(UnregisterShellTypes(desk.types(), program_));
        QVERIFY(!QFile::exists(desk.mimeappsList()));
        write(desk.dataHome() + QStringLiteral("/applications/quorvane.desktop"), "[Desktop Entry]\nExec=quorvane\n");
        QVERIFY(UnregisterShellTypes(desk.types(), program_));
        QVERIFY(QFile::exists(desk.dataHome() + QStringLiteral("/applications/quorvane.desktop")));
    }

    // The switches and the start-up question, also on a desktop whose data folder cannot
    // be written, which is left as it was.
    void switchesConfirmOnlyAfterSuccessAndTheStartupQuestion()
    {
        qvtest::IsolatedSettings settings;
        qvtest::ScratchDesktop desk;  // a fresh desktop where nothing is registered yet
        ScriptedMessageBoxes boxes;
        setMessageBoxService(&boxes);
        // {switches, exit code (-1 the program runs), the message (null none, "" any; the
        // error names the file first), its flags, associated afterwards}
        const std::tuple<const char*, int, const char*, unsigned, bool> runs[] = {
            {"-r -q", 0, nullptr, 0, true},
            {"-r", 0, "The file type '.FLC' is registered.", MB_ICONINFORMATION, true},
            {"-u", 0, "The file type '.FLC' is unregistered.", MB_OK, false},
            {"", -1, "", MB_YESNO | MB_ICONQUESTION, false},  // not associated: asked, No
            {"-r", 1, "Cannot write the file. The file types are left as they were.", MB_ICONERROR, false},
            {"-r -q", 1, nullptr, 0, false}};  // quiet: the error stream only
        for (auto [args, exitCode, message, flags, linked] : runs) {
            if (exitCode == 1 && !QFileInfo(desk.dataHome()).isFile()) {
                write(desk.mimeappsList(), kForeignList);
                QDir(desk.dataHome()).removeRecursively();
                write(desk.dataHome(), "not a folder");
            }
            boxes.clear();
            if (exitCode == -1) boxes.answer(IDNO);
            CEditorApp app;
            app.setArguments(QString::fromLatin1(args).split(QLatin1Char(' '), Qt::SkipEmptyParts));
            app.setShowMainWindow(false);
            const int exit = app.InitInstance() && app.mainWindow() ? -1 : app.exitCode();
            QVERIFY2(exit == exitCode, args);
            QCOMPARE(boxes.shown().size(), size_t(message ? 1 : 0));
            if (message) {
                const QString text = boxes.shown()[0].text, expected = QString::fromUtf8(message);
                QVERIFY2(exitCode == 1 ? text.endsWith(expected) : text == expected || !*message, qPrintable(text));
                QCOMPARE(boxes.shown()[0].flags, flags);
            }
            QVERIFY2(associated(program_) == linked, args);
        }
        QCOMPARE(read(desk.mimeappsList()), kForeignList);
        setMessageBoxService(nullptr);
    }
};

QTEST_MAIN(FileTypesTest)
#include "file_types_test.moc"
