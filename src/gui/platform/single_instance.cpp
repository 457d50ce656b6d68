#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace parvex {

Single_Instance::Single_Instance(const QString& settings_folder, QObject* parent)
    : QObject(parent), name_(Server_Name(settings_folder)) {}

QString Single_Instance::Server_Name(const QString& settings_folder) {
    QFileInfo info(settings_folder);
    QString folder = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(settings_folder);
    const QByteArray hash =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(20);
    return QStringLiteral("parvex-") + QString::fromLatin1(hash);
}

bool Single_Instance::hand_over(const QStringList& files, int timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeout_ms))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << files;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeout_ms))
        return false;
    // The running program answers once it has the files: only then may this start end.
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeout_ms))
            return false;
    return socket.read(1) == "1";
}

bool Single_Instance::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // Nobody answers on the name (a program that ended without cleaning up): take it over.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_))
            return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, s, [this, s] {
                QDataStream in(s);
                in.startTransaction();
                QStringList files;
                in >> files;
                if (!in.commitTransaction())
                    return; // the rest is still on its way
                s->write("1");
                s->flush();
                emit filesReceived(files);
            });
        }
    });
    return true;
}

} // namespace parvex
