#include "gui/single_instance.h"

#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

namespace gui {

namespace {

// What a second start sends, and what the running program answers.
const QByteArray Request = "front\n";
const QByteArray Answer = "ok\n";

}  // namespace

QString instanceServerName(const std::string& resolvedFolder) {
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(resolvedFolder),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(24);
    return QStringLiteral("zelbrin-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

InstanceServer::InstanceServer(const QString& name, std::function<void()> toFront)
    : toFront_(std::move(toFront)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name)) {
        QLocalServer::removeServer(name);
        server_.listen(name);
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) return;
                const QByteArray line = socket->readLine();
                if (line != Request) {
                    socket->disconnectFromServer();
                    return;
                }
                socket->write(Answer);
                socket->flush();
                socket->disconnectFromServer();
                if (toFront_) toFront_();
            });
        }
    });
}

bool askToFront(const QString& name, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) break;
        if (deadline.hasExpired()) return false;
        // Not listening yet: the first program is still starting.
        socket.abort();
        QThread::msleep(50);
        if (deadline.hasExpired()) return false;
    }
    socket.write(Request);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (socket.bytesAvailable() == 0) {
            socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
            if (socket.bytesAvailable() == 0) return false;  // no answer, or it went away
        }
        reply += socket.readAll();
    }
    return reply == Answer;
}

void bringToFront(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace gui
