#include "cli/SimServer.h"

// The simulator waits on its pseudo-terminal and on signals at once, with poll() and signalfd().
#ifndef __linux__
#error "SimServer is Linux-only: it waits on signals through signalfd()"
#endif

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>

#include "log/DataLog.h"

namespace vekaton::cli {

namespace {

// With pacing, bytes are written in small bursts that run at most this far ahead of the line.
constexpr double kAheadMs = 5.0;
// Even with nothing due the loop looks at the line this often.
constexpr int kMaxWaitMs = 250;

bool IsHangUp(int error) {
    return error == EIO || error == EPIPE || error == ECONNRESET || error == ENXIO;
}

}  // namespace

SimServer::SimServer(EngineSimulator& simulator, int masterFd, int stopFd, int baudRate,
                     DataLogWriter* sentLog)
    : simulator_(simulator),
      masterFd_(masterFd),
      stopFd_(stopFd),
      msPerByte_(baudRate > 0 ? 10000.0 / baudRate : 0.0),
      sentLog_(sentLog) {}

std::int64_t SimServer::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SimServer::ProbeConnection() {
    pollfd probe{masterFd_, POLLIN, 0};
    if (::poll(&probe, 1, 0) < 0) {
        return;
    }
    const bool hangUp = (probe.revents & (POLLHUP | POLLERR)) != 0;
    if (hangUp && connected_) {
        connected_ = false;
    } else if (!hangUp && !connected_) {
        connected_ = true;
        lineFreeAtMs_ = 0.0;
    }
    if (!connected_) {
        // Nobody reads: what was waiting would reach the next program as a torn frame.
        pending_.clear();
    }
}

void SimServer::NoteFramesMade() {
    const std::uint64_t made = simulator_.Stats().frames;
    if (made == framesLogged_) {
        return;
    }
    framesLogged_ = made;
    if (sentLog_ == nullptr) {
        return;
    }
    if (const auto error = sentLog_->AppendRecord(simulator_.LastFrame())) {
        std::cerr << "vekaton-sim: the sent log stopped: " << *error << '\n';
        sentLog_ = nullptr;
    }
}

void SimServer::Queue(const std::vector<std::uint8_t>& bytes) {
    if (!connected_ || bytes.empty() || pending_.size() + bytes.size() > kMaxPendingBytes) {
        return;
    }
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
}

void SimServer::ReadHost(std::int64_t now) {
    std::array<std::uint8_t, 4096> buffer{};
    for (;;) {
        const ssize_t got = ::read(masterFd_, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                connected_ = false;
                pending_.clear();
            }
            return;
        }
        if (got == 0) {
            connected_ = false;
            pending_.clear();
            return;
        }
        // One byte at a time, so that every frame a request completes is seen (and logged).
        for (ssize_t i = 0; i < got; ++i) {
            const auto reply =
                simulator_.OnHostBytes(std::span<const std::uint8_t>(&buffer[i], 1), now);
            NoteFramesMade();
            Queue(reply);
        }
    }
}

void SimServer::WritePending(std::int64_t now) {
    blocked_ = false;
    if (!connected_ || pending_.empty()) {
        return;
    }
    std::size_t count = pending_.size();
    if (msPerByte_ > 0.0) {
        lineFreeAtMs_ = std::max(lineFreeAtMs_, static_cast<double>(now));
        const double budgetMs = static_cast<double>(now) + kAheadMs - lineFreeAtMs_;
        if (budgetMs <= 0.0) {
            return;
        }
        count = std::min(count, static_cast<std::size_t>(std::ceil(budgetMs / msPerByte_)));
    }
    std::vector<std::uint8_t> chunk(pending_.begin(),
                                    pending_.begin() + static_cast<std::ptrdiff_t>(count));
    const ssize_t written = ::write(masterFd_, chunk.data(), chunk.size());
    if (written < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            blocked_ = true;
        } else if (errno != EINTR) {
            if (!IsHangUp(errno)) {
                std::cerr << "vekaton-sim: write failed: " << std::strerror(errno) << '\n';
            }
            connected_ = false;
            pending_.clear();
        }
        return;
    }
    pending_.erase(pending_.begin(), pending_.begin() + written);
    lineFreeAtMs_ += static_cast<double>(written) * msPerByte_;
}

int SimServer::NextWakeMs(std::int64_t now) const {
    std::int64_t wait = connected_ ? kMaxWaitMs : kIdleWaitMs;
    const std::int64_t due = simulator_.NextDueMs();
    if (due != std::numeric_limits<std::int64_t>::max()) {
        wait = std::min(wait, std::max<std::int64_t>(due - now, 0));
    }
    if (connected_ && !pending_.empty() && !blocked_ && msPerByte_ > 0.0) {
        // When the line has room for at least one more byte.
        const double at = lineFreeAtMs_ - kAheadMs + msPerByte_;
        wait = std::min(
            wait, std::max<std::int64_t>(
                      static_cast<std::int64_t>(std::ceil(at - static_cast<double>(now))), 1));
    }
    return static_cast<int>(wait);
}

int SimServer::Run() {
    for (;;) {
        std::int64_t now = NowMs();
        ProbeConnection();
        if (now >= simulator_.NextDueMs()) {
            const auto frame = simulator_.Poll(now);
            NoteFramesMade();
            Queue(frame);
        }
        WritePending(now);

        std::array<pollfd, 2> fds{};
        fds[0] = pollfd{stopFd_, POLLIN, 0};
        nfds_t count = 1;
        if (connected_) {
            fds[1] = pollfd{masterFd_, static_cast<short>(POLLIN | (blocked_ ? POLLOUT : 0)), 0};
            count = 2;
        }
        const int ready = ::poll(fds.data(), count, NextWakeMs(now));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::cerr << "vekaton-sim: poll failed: " << std::strerror(errno) << '\n';
            return 1;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            signalfd_siginfo info{};
            [[maybe_unused]] const ssize_t got = ::read(stopFd_, &info, sizeof info);
            return 0;
        }
        if (count == 2) {
            now = NowMs();
            if ((fds[1].revents & POLLIN) != 0) {
                ReadHost(now);
            }
            if ((fds[1].revents & (POLLHUP | POLLERR)) != 0) {
                connected_ = false;
                pending_.clear();
            }
        }
    }
}

}  // namespace vekaton::cli
