#include "cli/SimPty.h"

// Pseudo-terminals are POSIX-only; on Windows the simulator would need a virtual COM port pair.
#ifdef _WIN32
#error "SimPty is POSIX-only: Windows has no pseudo-terminals to stand in for a serial port"
#endif

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vekaton::cli {

namespace {

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

speed_t NearestSpeed(int baudRate) {
    struct Entry {
        int rate;
        speed_t speed;
    };
    static constexpr std::array<Entry, 11> kSpeeds{{{300, B300},
                                                    {1200, B1200},
                                                    {2400, B2400},
                                                    {4800, B4800},
                                                    {9600, B9600},
                                                    {19200, B19200},
                                                    {38400, B38400},
                                                    {57600, B57600},
                                                    {115200, B115200},
                                                    {230400, B230400},
                                                    {460800, B460800}}};
    speed_t best = B9600;
    int bestDistance = -1;
    for (const Entry& entry : kSpeeds) {
        const int distance = std::abs(entry.rate - baudRate);
        if (bestDistance < 0 || distance < bestDistance) {
            best = entry.speed;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

SimPty::~SimPty() {
    if (master_ >= 0) {
        ::close(master_);
    }
}

std::optional<std::string> SimPty::Open(int baudRate) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0) {
        return SystemError("cannot open a pseudo-terminal");
    }
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        return SystemError("cannot unlock the pseudo-terminal");
    }
    std::array<char, 128> name{};
    if (::ptsname_r(master_, name.data(), name.size()) != 0) {
        return SystemError("cannot name the pseudo-terminal");
    }
    slavePath_ = name.data();

    // A new slave starts cooked, with echo: made raw here, it stays raw for whoever opens it.
    const int slave = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        return SystemError("cannot open " + slavePath_);
    }
    termios tio{};
    bool ok = ::tcgetattr(slave, &tio) == 0;
    if (ok) {
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        const speed_t speed = NearestSpeed(baudRate);
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        ok = ::tcsetattr(slave, TCSANOW, &tio) == 0;
    }
    const std::string error = ok ? std::string() : SystemError("cannot set " + slavePath_ + " raw");
    ::close(slave);
    if (!ok) {
        return error;
    }
    // The master side passes bytes through untouched as well.
    if (::tcgetattr(master_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(master_, TCSANOW, &tio);
    }
    return std::nullopt;
}

SimDeviceLink::~SimDeviceLink() {
    Remove();
}

std::optional<std::string> SimDeviceLink::Create(const std::string& linkPath,
                                                 const std::string& target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(linkPath, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        return linkPath + " exists and is not a symbolic link; it was left alone";
    }
    // Made beside the target name and renamed over it, so the path never goes missing for a
    // program that reopens it.
    const std::string temporary = linkPath + ".tmp" + std::to_string(::getpid());
    fs::remove(temporary, ec);
    fs::create_symlink(target, temporary, ec);
    if (ec) {
        return "cannot create the link " + linkPath + ": " + ec.message();
    }
    fs::rename(temporary, linkPath, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return "cannot create the link " + linkPath + ": " + ec.message();
    }
    linkPath_ = linkPath;
    target_ = target;
    return std::nullopt;
}

void SimDeviceLink::Remove() {
    if (linkPath_.empty()) {
        return;
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    // Another simulator may have taken the name over since: its link is not ours to remove.
    if (fs::is_symlink(fs::symlink_status(linkPath_, ec)) &&
        fs::read_symlink(linkPath_, ec) == fs::path(target_)) {
        fs::remove(linkPath_, ec);
    }
    linkPath_.clear();
}

}  // namespace vekaton::cli
