// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Single-instance hand-off between two processes. This program starts a second copy of
// itself ("--second-start FILE"), which runs the application's real start-up with FILE
// on its command line; the first copy listens the way a running program does. Run it
// in a sanitizer build too: the hand-off must never touch a connection that is gone.
// Both copies run, as the program does, under the application object that reports an
// exception escaping an event and goes on.
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <new>
#include <stdexcept>

#include "app/main_frame.h"
#include "app_support.h"
#include "core/strings.h"
#include "platform/ui/guarded_application.h"
#include "platform/ui/single_instance.h"
#include "support/flc_builder.h"

using namespace qv;

namespace {

// Throws what it is given from its event handler, as a failing operation would.
class Failing : public QObject {
    Q_OBJECT
public:
    std::function<void()> fail;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) fail();
        return QObject::event(e);
    }
};

// The second start: the application's start-up with a file named; 0 when it handed the
// file over and ended, 3 when it went on by itself (made its window and tried the file).
int secondStart(const QString& file)
{
    qvtest::IsolatedSettings settings;
    CEditorApp app;
    app.setArguments({file});
    app.setShowMainWindow(false);
    ScriptedMessageBoxes boxes;
    setMessageBoxService(&boxes);
    const bool ranOn = app.InitInstance();
    setMessageBoxService(nullptr);
    return ranOn || !boxes.shown().empty() || app.mainWindow() ? 3 : app.exitCode();
}

}  // namespace

class SingleInstanceTest : public QObject, public qvtest::EditorHarness {
    Q_OBJECT
    QString name_;

    // Runs the second start; returns its exit code.
    int runSecondStart(const QString& file, QString* output = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUORVANE_INSTANCE_NAME"), name_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--second-start"), file});
        // Keep serving the socket while the second start runs.
        QElapsedTimer t;
        t.start();
        while (p.state() != QProcess::NotRunning && t.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            p.waitForFinished(20);
        }
        QCoreApplication::processEvents();
        if (output) *output = QString::fromLocal8Bit(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

private slots:
    void initTestCase()
    {
        startEditorServices("test");
        name_ = instanceServerName();
    }
    void cleanupTestCase() { stopEditor(); }
    void init() { resetEditor(); }

    void exceptionsInEventsAreReportedAndTheProgramGoesOn()
    {
        Failing target;
        const std::pair<std::function<void()>, const char*> cases[] = {
            {[] { throw std::bad_alloc(); }, str::IDS_NOT_ENOUGH_MEMORY},
            {[] { throw std::runtime_error("x"); }, str::IDS_UNKNOWN_ERROR}};
        for (const auto& [fail, message] : cases) {
            boxes_.clear();
            target.fail = fail;
            QEvent event(QEvent::User);
            QCoreApplication::sendEvent(&target, &event);
            QCOMPARE(boxes_.shown().size(), size_t(1));
            QCOMPARE(boxes_.shown()[0].text, QString::fromStdString(formatMessage(message, {"Failing"})));
            QCOMPARE(boxes_.shown()[0].flags & MB_ICONMASK, unsigned(MB_ICONSTOP));
        }
    }

    void theNameTellsDisplaysApart()
    {
        const QByteArray display = qgetenv("DISPLAY");
        qunsetenv("QUORVANE_INSTANCE_NAME");
        qputenv("DISPLAY", ":0");
        const QString first = instanceServerName();
        qputenv("DISPLAY", "otherhost:1.0");
        const QString second = instanceServerName();
        qputenv("DISPLAY", display);
        qputenv("QUORVANE_INSTANCE_NAME", name_.toUtf8());
        QVERIFY(first.startsWith(QLatin1String("QuorvaneV2-")));
        QVERIFY(first != second);
    }

    void fiftyRefusedFilesInARowLeaveTheRunningProgramStanding()
    {
        // Each refused file shows a message whose event loop runs (as a modal box's does
        // while it is read) while the sender closes its connection.
        CInstanceServer* server = nullptr;
        int openWhileShown = 0;
        boxes_.onShow = [&server, &openWhileShown](const ScriptedMessageBoxes::Shown&) {
            // The connection that brought the file is closed before the file is opened.
            if (server)
                for (QLocalSocket* s : server->findChildren<QLocalSocket*>())
                    if (s->state() == QLocalSocket::ConnectedState) ++openWhileShown;
            QEventLoop loop;
            QTimer::singleShot(30, &loop, &QEventLoop::quit);
            loop.exec();
        };
        QVERIFY(startEditor());
        server = app_->mainWindow()->instanceServer();
        const qv::Bytes whole = qv::test::buildAnimation({});
        const QString cut = writeFile("Cut.flc", qv::Bytes(whole.begin(), whole.begin() + 128));
        const QString png = writeFile("Picture.flc", qv::Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
        const QString qsb = touch("Sheet.qsb");
        boxes_.clear();
        // The running program opens the handed file through its document manager.
        QCOMPARE(runSecondStart(qsb), 0);
        QTRY_COMPARE(boxes_.shown().size(), size_t(1));
        QCOMPARE(boxes_.shown().front().text,
                 QStringLiteral("Cannot read QSB file.\r\nInvalid or unsupported document format."));
        for (int i = 1; i < 50; ++i) QCOMPARE(runSecondStart(i % 2 ? cut : png), 0);
        QTRY_COMPARE_WITH_TIMEOUT(boxes_.shown().size(), size_t(50), 10000);
        QCOMPARE(openWhileShown, 0);
        QVERIFY(server->isListening());
        boxes_.onShow = {};
    }

    void theRunningInstanceReceivesFullPathsAndIgnoresOtherRecords()
    {
        CInstanceServer server;
        QVERIFY(server.listen(name_));
        QSignalSpy received(&server, &CInstanceServer::fileReceived);
        const QString file = path("Warrior Run.flc");
        QString output;
        QCOMPARE(runSecondStart(file, &output), 0);
        QVERIFY2(!output.contains(QLatin1String("Quorvane")), qPrintable(output));
        // Relative names arrive as full paths.
        QCOMPARE(runSecondStart(QStringLiteral("unit.flc")), 0);
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received[0].front().toString(), file);
        const QString relative = received[1].front().toString();
        QVERIFY2(QDir::isAbsolutePath(relative) && relative.endsWith(QLatin1String("/unit.flc")), qPrintable(relative));

        // A record (tag, name length, zero-terminated name) with another tag or no name is
        // answered 0 and dropped.
        auto sendRaw = [this](const QByteArray& bytes, char answer) {
            QLocalSocket s;
            s.connectToServer(name_);
            QVERIFY(s.waitForConnected(3000));
            s.write(bytes);
            s.waitForBytesWritten(3000);
            QTRY_VERIFY_WITH_TIMEOUT(s.bytesAvailable() > 0 || s.waitForReadyRead(50), 5000);
            QCOMPARE(s.read(1), QByteArray(1, answer));
        };
        sendRaw(encodeHandOff(QStringLiteral("/a.flc"), 0x12345678u), 0);
        sendRaw(QByteArray("\xB7\xFF\xFF\xFF\0\0\0\0", 8), 0);
        sendRaw(QByteArray("\xB7\xFF\xFF\xFF\x08\0\0\0/ok.flc\0", 16), 1);
        QTRY_COMPARE(received.size(), 3);
        QCOMPARE(received[2].front().toString(), QStringLiteral("/ok.flc"));
    }

    void withoutARunningInstanceTheSecondStartRunsItself()
    {
        // Nobody listens: the start goes on to make its own window (and its own socket).
        QVERIFY(!sendToRunningInstance(name_, QStringLiteral("/x.flc"), 500));
        QCOMPARE(runSecondStart(path("missing.qsb")), 3);
    }
};

int main(int argc, char** argv)
{
    GuardedApplication qapp(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--second-start") return secondStart(QString::fromLocal8Bit(argv[2]));
    SingleInstanceTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "app_single_instance.moc"
