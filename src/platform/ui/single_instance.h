// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Single-instance hand-off. A running program listens on a local socket named after
// "QuorvaneV2", the user and the login session or display; a second start in the same
// session that names a file sends it there and ends.
// The message is the copy-data record the program has always used: a 32-bit data tag
// (0xFFFFFFB7), a 32-bit length, and the file name as bytes with a terminating zero,
// all little-endian. The receiver opens the file only for that tag and a non-zero
// length; the sender does not wait for the answer.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

class QLocalServer;
class QLocalSocket;

namespace qv {

constexpr uint32_t kHandOffTag = 0xFFFFFFB7u;  // -73 as a 32-bit signed value
constexpr uint32_t kHandOffMaxLength = 64 * 1024;

// "QuorvaneV2-<user>-<session>", where the session part names the login session and the
// display (X or Wayland; the session number on Windows), so a start on another display
// or in another login session is an instance of its own. A long name is shortened to a
// hash. The environment variable QUORVANE_INSTANCE_NAME, when set, replaces the whole
// name: tests use it to keep their instances apart.
QString instanceServerName();

// The bytes of a hand-off record for `path`.
QByteArray encodeHandOff(const QString& path, uint32_t tag = kHandOffTag);

// Sends `path` to the instance listening on `serverName`. True when an instance took the
// record (it was written to a live connection), false when none is running.
bool sendToRunningInstance(const QString& serverName, const QString& path, int timeoutMs = 3000);

// The receiving end, owned by the main window.
class CInstanceServer : public QObject {
    Q_OBJECT
public:
    explicit CInstanceServer(QObject* parent = nullptr);
    ~CInstanceServer() override;
    // Starts listening. A name left behind by a program that ended abnormally is taken
    // over; a name a live program listens on is left to it (false).
    bool listen(const QString& serverName);
    bool isListening() const;
    QString serverName() const;

signals:
    // A record with the right tag and a non-zero length arrived. Emitted from the event
    // loop once the connection that brought it has been closed, so a receiver may run a
    // modal dialog.
    void fileReceived(const QString& path);

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);
    QLocalServer* server_;
};

}  // namespace qv
