// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/single_instance.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QtEndian>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace qv {

namespace {

// Keeps a piece of a socket name to characters every platform accepts.
QString socketSafe(const QString& text)
{
    QString safe;
    for (const QChar c : text) safe += (c.isLetterOrNumber() || c == QLatin1Char('_')) ? c : QLatin1Char('_');
    return safe;
}

// The login session and display this process shows its windows on: a program started
// on another X display, Wayland display or login session is another instance.
QString sessionKey()
{
#ifdef Q_OS_WIN
    DWORD session = 0;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session)) return QString::number(session);
    return {};
#else
    QStringList parts;
    for (const char* name : {"XDG_SESSION_ID", "WAYLAND_DISPLAY", "DISPLAY"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) parts << value;
    }
    return parts.join(QLatin1Char('-'));
#endif
}

}  // namespace

QString instanceServerName()
{
    const QString override = qEnvironmentVariable("QUORVANE_INSTANCE_NAME");
    if (!override.isEmpty()) return override;
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    QString name = QStringLiteral("QuorvaneV2-") + (user.isEmpty() ? QStringLiteral("user") : socketSafe(user));
    const QString session = sessionKey();
    if (!session.isEmpty()) name += QLatin1Char('-') + socketSafe(session);
    // A local socket's path is short (about 100 bytes with its folder): a long name is
    // replaced by its hash.
    if (name.size() > 60)
        name = QStringLiteral("QuorvaneV2-") +
               QString::fromLatin1(QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(24));
    return name;
}

QByteArray encodeHandOff(const QString& path, uint32_t tag)
{
    QByteArray data = QFile::encodeName(path);
    data.append('\0');
    QByteArray out(8, '\0');
    qToLittleEndian<uint32_t>(tag, out.data());
    qToLittleEndian<uint32_t>(static_cast<uint32_t>(data.size()), out.data() + 4);
    return out + data;
}

bool sendToRunningInstance(const QString& serverName, const QString& path, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(encodeHandOff(path));
    const bool written = socket.waitForBytesWritten(timeoutMs) || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return written;
}

CInstanceServer::CInstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CInstanceServer::onNewConnection);
}

CInstanceServer::~CInstanceServer() { server_->close(); }

bool CInstanceServer::listen(const QString& serverName)
{
    if (server_->listen(serverName)) return true;
    if (server_->serverError() != QAbstractSocket::AddressInUseError) return false;
    // Someone answers on that name: leave it to them.
    QLocalSocket probe;
    probe.connectToServer(serverName);
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        return false;
    }
    // Nobody answers: a socket left behind by a program that did not end cleanly.
    QLocalServer::removeServer(serverName);
    return server_->listen(serverName);
}

bool CInstanceServer::isListening() const { return server_->isListening(); }

QString CInstanceServer::serverName() const { return server_->serverName(); }

void CInstanceServer::onNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // The socket is released only by onReadyRead (after its record) or when the
        // sender goes away before sending one, never while its own signal is running.
        QPointer<QLocalSocket> guard(socket);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, guard] {
            if (guard) onReadyRead(guard.data());
        });
        if (socket->bytesAvailable() > 0) onReadyRead(socket);
    }
}

void CInstanceServer::onReadyRead(QLocalSocket* socket)
{
    if (socket->bytesAvailable() < 8) return;
    uchar head[8];
    socket->peek(reinterpret_cast<char*>(head), 8);
    const uint32_t tag = qFromLittleEndian<uint32_t>(head);
    const uint32_t length = qFromLittleEndian<uint32_t>(head + 4);
    if (length > kHandOffMaxLength) {
        socket->disconnect(this);
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < 8 + static_cast<qint64>(length)) return;  // wait for the rest
    socket->read(8);
    const QByteArray data = socket->read(length);
    const bool accepted = tag == kHandOffTag && length != 0;
    socket->write(accepted ? "\1" : "\0", 1);
    if (!accepted) return;
    const int zero = static_cast<int>(data.indexOf('\0'));
    const QString path = QFile::decodeName(zero >= 0 ? data.left(zero) : data);
    if (path.isEmpty()) return;
    // One record per connection: the connection is done with. The file is opened from
    // the event loop, after this signal has returned: opening it may show a message box
    // whose own event loop would otherwise see the connection end and free the socket
    // under the code that is still reading it.
    socket->disconnect(this);
    socket->flush();
    socket->disconnectFromServer();
    QTimer::singleShot(0, this, [this, path] { emit fileReceived(path); });
}

}  // namespace qv
