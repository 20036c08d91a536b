#include "app/single_instance.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

#include "app/instance_lock.h"

namespace vantrel {
namespace {

const QByteArray kShowRequest = QByteArrayLiteral("show\n");

// Long enough for a Vantrel that has just taken the lock to start listening, on a busy machine.
constexpr int kPatienceMs = 5000;

bool AskToShow(const QString& socket) {
    QLocalSocket client;
    client.connectToServer(socket);
    if (!client.waitForConnected(500)) return false;
    client.write(kShowRequest);
    const bool sent = client.waitForBytesWritten(2000);
    client.disconnectFromServer();
    if (client.state() != QLocalSocket::UnconnectedState) client.waitForDisconnected(1000);
    return sent;
}

}  // namespace

SingleInstance::SingleInstance(std::filesystem::path lockFile)
    : lockFile_(std::move(lockFile)), socketFile_(lockFile_.parent_path() / "vantrel.socket") {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_.nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                while (client->canReadLine()) {
                    if (client->readLine() == kShowRequest) Asked();
                }
            });
        }
    });
}

SingleInstance::~SingleInstance() {
    server_.close();
    if (lockFd_ >= 0) ::close(lockFd_);
}

SingleInstance::Outcome SingleInstance::Claim(bool askToShow) {
    const QString socket = QString::fromStdString(socketFile_.string());
    const QDeadlineTimer patience(kPatienceMs);
    for (;;) {
        const LockAttempt lock = TryLockFile(lockFile_);
        if (lock.state == InstanceLockState::Unavailable) return Outcome::First;
        if (lock.state == InstanceLockState::Held) {
            lockFd_ = lock.fd;
            // Only the lock holder gets here: a socket file left by one that crashed is stale.
            QLocalServer::removeServer(socket);
            server_.setSocketOptions(QLocalServer::UserAccessOption);
            server_.listen(socket);
            return Outcome::First;
        }
        if (!askToShow) return Outcome::OtherRunning;
        if (AskToShow(socket)) return Outcome::OtherRunning;
        if (patience.hasExpired()) return Outcome::OtherSilent;
        QThread::msleep(50);  // it may have just taken the lock, or just ended
    }
}

void SingleInstance::OnShowAsked(std::function<void()> show) {
    show_ = std::move(show);
    if (pending_ && show_) {
        pending_ = false;
        show_();
    }
}

void SingleInstance::Asked() {
    if (show_) {
        show_();
    } else {
        pending_ = true;
    }
}

}  // namespace vantrel
