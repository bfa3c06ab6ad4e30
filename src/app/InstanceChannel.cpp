#include "app/InstanceChannel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <cstdio>

#include "io/InstanceLock.h"

namespace vekaton {

namespace {

constexpr qsizetype kLongestRequest = 64;
constexpr int kRaiseTimeoutMs = 5000;  // the running instance may still be starting
constexpr int kDoubtTimeoutMs = 2000;
constexpr int kRetryMs = 100;

}  // namespace

InstanceServer::InstanceServer(const QString& name, QObject* parent)
    : QObject(parent),
      name_(name),
      server_(new QLocalServer(this)),
      testHooks_(!qEnvironmentVariableIsEmpty(kTestHooksVariable)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::Listen(QString* error) {
    QLocalServer::removeServer(name_);
    if (server_->listen(name_)) {
        return true;
    }
    *error = QStringLiteral("Cannot listen on %1: %2").arg(name_, server_->errorString());
    return false;
}

void InstanceServer::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
        if (socket->bytesAvailable() > 0) {
            Answer(socket);
        }
    }
}

void InstanceServer::Answer(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        const QByteArray request = socket->readLine(kLongestRequest + 1).trimmed();
        socket->write(Handle(request).toUtf8() + '\n');
        socket->flush();
    }
    // Anyone may connect as this user; a request that never ends is not waited on.
    if (socket->bytesAvailable() > kLongestRequest) {
        socket->abort();
    }
}

QString InstanceServer::Handle(const QByteArray& request) {
    if (window_ == nullptr) {
        return QStringLiteral("starting");
    }
    if (request == "raise") {
        ++raises_;
        RaiseWindow(*window_);
        std::fprintf(stderr,
                     "vekaton: another start asked for this window; it is brought to "
                     "the front\n");
        return QStringLiteral("raised ") + DescribeWindowState(*window_);
    }
    if (request == "state") {
        return DescribeWindowState(*window_);
    }
    if (request == "minimize" && testHooks_) {
        window_->showMinimized();
        return DescribeWindowState(*window_);
    }
    if (testHooks_ && testCommand_) {
        if (auto answer = testCommand_(request)) {
            return *answer;
        }
    }
    return QStringLiteral("unknown request");
}

void RaiseWindow(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

QString DescribeWindowState(const QWidget& window) {
    return QStringList{
        window.isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden"),
        window.isMinimized() ? QStringLiteral("minimized") : QStringLiteral("normal"),
        window.isActiveWindow() ? QStringLiteral("active") : QStringLiteral("inactive")}
        .join(QLatin1Char(' '));
}

QString ModalDialogText() {
    const QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) {
        return {};
    }
    QStringList texts;
    for (const QLabel* label : box->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            texts.append(label->text());
        }
    }
    return texts.join(QLatin1Char('\n')).replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

std::optional<QString> AskRunningInstance(const QString& serverName, const QByteArray& request,
                                          int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            QThread::msleep(kRetryMs);
            continue;
        }
        socket.write(request + '\n');
        socket.flush();
        while (!socket.canReadLine() &&
               socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
        }
        if (socket.canReadLine()) {
            const QString answer = QString::fromUtf8(socket.readLine(256)).trimmed();
            if (answer != QLatin1String("starting")) {
                return answer;
            }
        }
        QThread::msleep(kRetryMs);  // its window is not up yet: ask again
    }
    return std::nullopt;
}

StartDecision DecideStart(InstanceLock& lock, int argc, char** argv) {
    StartDecision decision;
    if (lock.TryAcquire()) {
        if (!lock.TakeOverReason().isEmpty()) {
            std::fprintf(stderr, "vekaton: took over the lock %s: %s\n",
                         qPrintable(lock.FilePath()), qPrintable(lock.TakeOverReason()));
        }
        return decision;
    }
    if (!lock.HeldByAnother()) {
        // Without a usable lock the program still starts: it must start every time.
        std::fprintf(stderr, "vekaton: %s; starting without the single-instance lock\n",
                     qPrintable(lock.ErrorString()));
        return decision;
    }
    std::optional<QString> answer;
    {
        QCoreApplication asking(argc, argv);
        const bool certain = lock.GetState() == InstanceLock::State::HeldByRunning;
        answer = AskRunningInstance(lock.ServerName(), "raise",
                                    certain ? kRaiseTimeoutMs : kDoubtTimeoutMs);
        if (!answer && !certain) {
            decision.proceed = false;
            decision.exitCode = 1;
            decision.refusal =
                QStringLiteral(
                    "Vekaton did not start: its lock file %1 names process %2, which is running "
                    "on this computer, but no Vekaton window answers.\n\nIf no Vekaton window is "
                    "open, that process is another program: delete %1 and start Vekaton again.")
                    .arg(lock.FilePath())
                    .arg(lock.HolderPid());
            return decision;
        }
    }
    decision.proceed = false;
    decision.exitCode = 0;
    const QString pid =
        lock.HolderPid() > 0 ? QStringLiteral(" (process %1)").arg(lock.HolderPid()) : QString();
    if (answer) {
        std::fprintf(stderr,
                     "vekaton: Vekaton is already running%s; its window is brought to "
                     "the front.\n",
                     qPrintable(pid));
    } else {
        std::fprintf(stderr,
                     "vekaton: Vekaton is already running%s but did not answer; this "
                     "start ends.\n",
                     qPrintable(pid));
    }
    return decision;
}

}  // namespace vekaton
