// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/single_instance.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

namespace qv {

QString instanceServerName()
{
    const QString override = qEnvironmentVariable("QUORVANE_INSTANCE_NAME");
    if (!override.isEmpty()) return override;
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    // Keep the name to characters every platform accepts in a socket name.
    QString safe;
    for (const QChar c : user) safe += (c.isLetterOrNumber() || c == QLatin1Char('_')) ? c : QLatin1Char('_');
    return QStringLiteral("QuorvaneV2-") + (safe.isEmpty() ? QStringLiteral("user") : safe);
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
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
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
    if (!path.isEmpty()) emit fileReceived(path);
}

}  // namespace qv
