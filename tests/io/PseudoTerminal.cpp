#include "PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <array>
#include <stdexcept>

#include "LineSpeed.h"

namespace vekaton::testing {

PseudoTerminal::PseudoTerminal() {
    std::array<char, 128> name{};
    if (openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        throw std::runtime_error("openpty failed");
    }
    slavePath_ = name.data();
    termios raw{};
    tcgetattr(slave_, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave_, TCSANOW, &raw);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal() {
    Close();
}

void PseudoTerminal::Close() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
}

void PseudoTerminal::Send(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size() && master_ >= 0) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else {
            pollfd pfd{master_, POLLOUT, 0};
            ::poll(&pfd, 1, 100);
        }
    }
}

void PseudoTerminal::Send(const std::string& text) {
    Send(std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> PseudoTerminal::Receive(std::size_t count, int timeoutMs) {
    std::vector<std::uint8_t> got;
    QDeadlineTimer deadline(timeoutMs);
    while (got.size() < count && master_ >= 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        pollfd pfd{master_, POLLIN, 0};
        if (::poll(&pfd, 1, 5) > 0 && (pfd.revents & POLLIN) != 0) {
            std::array<std::uint8_t, 4096> buffer{};
            const ssize_t n = ::read(master_, buffer.data(), buffer.size());
            if (n > 0) {
                got.insert(got.end(), buffer.begin(), buffer.begin() + n);
            }
        }
    }
    return got;
}

int PseudoTerminal::PendingAtSlave() const {
    int pending = 0;
    if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &pending) != 0) {
        return -1;
    }
    return pending;
}

int PseudoTerminal::SlaveOutputSpeed() const {
    return ReadOutputSpeed(slave_);
}

PortPathLink::~PortPathLink() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void PortPathLink::PointTo(const std::string& target) {
    // A new link beside the old one, renamed over it: the path never goes missing.
    const std::filesystem::path fresh = path_.string() + ".new";
    std::error_code ignored;
    std::filesystem::remove(fresh, ignored);
    std::filesystem::create_symlink(target, fresh);
    std::filesystem::rename(fresh, path_);
}

}  // namespace vekaton::testing
