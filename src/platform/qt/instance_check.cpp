// One program per user and data folder, over a local socket.
#include "platform/qt/instance_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QString>
#include <memory>

namespace qv {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kLockTimeoutMs = 3000;
// The requests (instance_socket.h): a raise, and a command and its answer.
constexpr QByteArrayView kRaiseMessage(kRaiseRequest.data(), kRaiseRequest.size());
constexpr QByteArrayView kRunMessage(kRunRequest.data(), kRunRequest.size());

// Connects and sends the raise request; true when it was delivered.
bool AskToRaise(QLocalSocket& socket, const QString& name) {
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kRaiseMessage.data(), kRaiseMessage.size());
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

// The first line of an answer, or of a command after "run ": its numbers; none while it is
// incomplete, and an empty list when it is not numbers.
std::optional<std::vector<qsizetype>> HeaderNumbers(const QByteArray& buffer, qsizetype from,
                                                    qsizetype& end) {
    end = buffer.indexOf('\n', from);
    if (end < 0) return std::nullopt;
    std::vector<qsizetype> numbers;
    for (const QByteArray& word : buffer.mid(from, end - from).split(' ')) {
        bool ok = false;
        const qsizetype n = word.toLongLong(&ok);
        if (!ok || n < 0) return std::vector<qsizetype>{};
        numbers.push_back(n);
    }
    ++end;
    return numbers;
}

}  // namespace

bool QtInstanceCheck::AskRunningToRaise() {
    // A stranger's socket under our name is not spoken to.
    if (OwnedByStranger(socketName_)) return false;
    QLocalSocket socket;
    return AskToRaise(socket, QString::fromStdString(socketName_));
}

QtInstanceCheck::QtInstanceCheck(const std::filesystem::path& dataDir)
    : socketName_(InstanceSocketPath(dataDir)) {}

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
            auto buffer = std::make_shared<QByteArray>();
            auto readRequest = [this, client, buffer] {
                // The short raise request and commands are understood; anything else is dropped.
                if (client->state() != QLocalSocket::ConnectedState) return;
                buffer->append(client->readAll());
                if (buffer->startsWith(kRaiseMessage)) {
                    client->disconnectFromServer();
                    if (onRaise) onRaise();
                } else if (buffer->startsWith(kRunMessage)) {
                    RunRequest(*client, *buffer);
                } else if (!kRaiseMessage.startsWith(*buffer) && !kRunMessage.startsWith(*buffer)) {
                    client->disconnectFromServer();
                }
            };
            QObject::connect(client, &QLocalSocket::readyRead, client, readRequest);
            readRequest();  // the request may have come in before the connection was taken
        }
    });
}

void QtInstanceCheck::RunRequest(QLocalSocket& client, QByteArray& buffer) {
    qsizetype end = 0;
    const auto numbers = HeaderNumbers(buffer, kRunMessage.size(), end);
    if (!numbers) {
        if (buffer.size() > 32) client.disconnectFromServer();
        return;
    }
    if (numbers->size() != 1 || (*numbers)[0] > static_cast<qsizetype>(kMostCommandBytes)) {
        client.disconnectFromServer();
        return;
    }
    if (buffer.size() < end + (*numbers)[0]) return;  // more to come
    std::vector<std::string> args;
    QByteArray payload = buffer.mid(end, (*numbers)[0]);
    buffer.clear();  // taken: a read while the command runs finds nothing more to run
    if (payload.endsWith('\0')) payload.chop(1);
    for (const QByteArray& arg : payload.split('\0')) args.push_back(arg.toStdString());
    const InstanceAnswer answer =
        onCommand ? onCommand(args) : InstanceAnswer{1, {}, "quorvella: not understood\n"};
    client.write(QByteArray::number(answer.status) + ' ' +
                 QByteArray::number(static_cast<qsizetype>(answer.out.size())) + ' ' +
                 QByteArray::number(static_cast<qsizetype>(answer.err.size())) + '\n');
    client.write(answer.out.data(), static_cast<qsizetype>(answer.out.size()));
    client.write(answer.err.data(), static_cast<qsizetype>(answer.err.size()));
    client.disconnectFromServer();  // once everything is written
}

}  // namespace qv
