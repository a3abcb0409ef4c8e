#include "shell/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>

namespace orlix::shell {

namespace {
const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n";
} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

QString SingleInstance::defaultName() {
    const QString base = QStringLiteral("orlix-gaming-mouse-v1.0");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    // A local socket's path must fit the 108 bytes of sockaddr_un.
    constexpr qsizetype kLongestSocketPath = 100;
    if (!runtime.isEmpty()) {
        const QString path = QDir(QString::fromLocal8Bit(runtime)).filePath(base);
        if (path.toLocal8Bit().size() <= kLongestSocketPath) return path;
    }
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return user.isEmpty() ? base : base + QLatin1Char('-') + user;
}

bool SingleInstance::raiseRunningCopy(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The answer says the other copy is alive, not just a stale socket file.
    while (socket.bytesAvailable() < kRaised.size()) {
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    }
    return socket.readAll().startsWith(kRaised);
}

SingleInstance::Start SingleInstance::start(std::function<void()> raise) {
    raise_ = std::move(raise);
    if (raiseRunningCopy()) return Start::AlreadyRunning;
    if (listen()) return Start::First;
    // Another copy may have started in between; otherwise the socket file is a leftover of a
    // copy that ended without cleaning up, and nobody answers on it.
    if (raiseRunningCopy()) return Start::AlreadyRunning;
    QLocalServer::removeServer(name_);
    return listen() ? Start::First : Start::Unguarded;
}

bool SingleInstance::listen() {
    disconnect(&server_, nullptr, this, nullptr);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->readAll().startsWith(kRaise)) return;
                if (raise_) raise_();
                socket->write(kRaised);
                socket->flush();
            });
        }
    });
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(name_);
}

} // namespace orlix::shell
