#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>

#ifdef Q_OS_LINUX
#include <sys/socket.h>
#endif
#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orlix::shell {

namespace {
const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n";

// The user at the other end of a connected local socket is this process's user. Where the
// system cannot tell, the socket's folder is the only guard.
bool peerIsThisUser(const QLocalSocket& socket) {
#ifdef Q_OS_LINUX
    ucred peer{};
    socklen_t length = sizeof peer;
    const auto fd = static_cast<int>(socket.socketDescriptor());
    if (fd < 0 || ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) return false;
    return peer.uid == ::geteuid();
#else
    Q_UNUSED(socket);
    return true;
#endif
}
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
    const QString named = user.isEmpty() ? base : base + QLatin1Char('-') + user;
    const QString folder = privateFolder(QDir::tempPath());
    if (!folder.isEmpty()) {
        const QString path = QDir(folder).filePath(base);
        if (path.toLocal8Bit().size() <= kLongestSocketPath) return path;
    }
    return named;
}

QString SingleInstance::privateFolder(const QString& base) {
#ifdef Q_OS_UNIX
    const QString folder = QDir(base).filePath(
        QStringLiteral("orlix-editor-%1").arg(static_cast<qulonglong>(::geteuid())));
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return {};
    // Another user may have made the folder first: use it only when it is ours, a real folder
    // and closed to everyone else.
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return {};
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) return {};
    return folder;
#else
    Q_UNUSED(base);
    return {};
#endif
}

bool SingleInstance::raiseRunningCopy(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    if (!peerIsThisUser(socket)) return false;
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
