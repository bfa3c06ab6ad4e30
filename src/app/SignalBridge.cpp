#include "app/SignalBridge.h"

// Signals reach the event loop through a socket pair, as POSIX systems deliver them.
#ifdef _WIN32
#error "SignalBridge is POSIX-only: Windows ends console programs through its control handler"
#endif

#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>

namespace vekaton {
namespace {

// The one write end a signal handler may touch; set once before the handlers are installed.
int signalWriteFd = -1;  // NOLINT: async-signal-safe handoff needs a plain global

void OnSignal(int signalNumber) {
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(signalWriteFd, &byte, 1);
}

}  // namespace

SignalBridge::SignalBridge(QObject* parent) : QObject(parent) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
        return;
    }
    signalWriteFd = fds[0];
    notifier_ = new QSocketNotifier(fds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::OnReadable);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

SignalBridge::~SignalBridge() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

void SignalBridge::OnReadable() {
    unsigned char byte = 0;
    if (::read(static_cast<int>(notifier_->socket()), &byte, 1) == 1) {
        emit terminationRequested(byte);
    }
}

}  // namespace vekaton
