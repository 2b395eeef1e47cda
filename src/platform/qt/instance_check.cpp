// One program per user and data folder, over a local socket.
#include "platform/qt/instance_check.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QString>

namespace qv {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kLockTimeoutMs = 3000;
constexpr QByteArrayView kRaiseMessage = "raise\n";

// The per-user runtime folder when the session has one that is ours, else the temporary folder.
QString SocketFolder() {
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (runtime && *runtime == '/' && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == getuid()) {
        return QString::fromLocal8Bit(runtime);
    }
    return QDir::tempPath();
}

std::string MakeSocketName(const std::filesystem::path& dataDir) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::weakly_canonical(dataDir, ec);
    if (ec) folder = std::filesystem::absolute(dataDir, ec);
    if (ec) folder = dataDir;
    const std::string& text = folder.native();
    const QByteArray hash =
        QCryptographicHash::hash(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QString name =
        QStringLiteral("quorvella-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
    return (SocketFolder() + QLatin1Char('/') + name).toStdString();
}

// Connects and sends the raise request; true when it was delivered.
bool AskToRaise(QLocalSocket& socket, const QString& name) {
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kRaiseMessage.data(), kRaiseMessage.size());
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool OwnedByStranger(const std::string& socketName) {
    struct stat st {};
    return lstat(socketName.c_str(), &st) == 0 && st.st_uid != getuid();
}

}  // namespace

bool QtInstanceCheck::AskRunningToRaise() {
    // A stranger's socket under our name is not spoken to.
    if (OwnedByStranger(socketName_)) return false;
    QLocalSocket socket;
    return AskToRaise(socket, QString::fromStdString(socketName_));
}

QtInstanceCheck::QtInstanceCheck(const std::filesystem::path& dataDir)
    : socketName_(MakeSocketName(dataDir)) {}

QtInstanceCheck::~QtInstanceCheck() {
    if (server_) server_->close();  // removes the socket file
}

bool QtInstanceCheck::IsListening() const {
    return server_ && server_->isListening();
}

bool QtInstanceCheck::RaiseRunningInstance(const std::u16string&, const std::u16string&) {
    if (IsListening()) return false;
    const QString name = QString::fromStdString(socketName_);

    // Two starts at the same moment take turns, so neither removes the socket the other has
    // just made. A lock that cannot be had in time is passed over rather than waited for.
    QLockFile lock(name + QStringLiteral(".lock"));
    lock.setStaleLockTime(kLockTimeoutMs * 2);
    lock.tryLock(kLockTimeoutMs);

    // A socket another user put under our name is neither asked nor removed: this start runs
    // without it (the data folder's lock still guards the data) rather than being sent away
    // by a stranger.
    if (OwnedByStranger(socketName_)) return false;

    QLocalSocket socket;
    if (AskToRaise(socket, name)) return true;
    switch (socket.error()) {
        case QLocalSocket::ServerNotFoundError:
        case QLocalSocket::ConnectionRefusedError:
            // Nobody listens: a socket file left by a crash goes, then this instance listens.
            QLocalServer::removeServer(name);
            break;
        case QLocalSocket::SocketTimeoutError:
            // Someone holds the socket but does not answer: a running instance that is busy.
            return true;
        default:
            break;
    }

    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) return false;  // runs, only not raisable by later starts
    server_ = std::move(server);
    AcceptConnections();
    return false;  // the lock is let go here, with the socket already listening
}

void QtInstanceCheck::AcceptConnections() {
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client,
                             &QLocalSocket::deleteLater);
            auto readRequest = [this, client] {
                // Only the short raise request is understood; anything else is dropped.
                if (client->bytesAvailable() < kRaiseMessage.size()) return;
                const QByteArray message = client->read(kRaiseMessage.size());
                client->disconnectFromServer();
                if (message == kRaiseMessage && onRaise) onRaise();
            };
            QObject::connect(client, &QLocalSocket::readyRead, client, readRequest);
            readRequest();  // the request may have come in before the connection was taken
        }
    });
}

}  // namespace qv
