#pragma once

#include <optional>
#include <string>

namespace vekaton::cli {

// The master side of a pseudo-terminal whose slave stands in for the adapter's serial device.
//
// The slave is opened once at start to set it raw, then closed again: until a program opens it,
// the master reports a hang-up, which is how the simulator knows that nobody listens (and holds
// its frames back rather than fill the line with stale ones).
class SimPty {
  public:
    SimPty() = default;
    ~SimPty();
    SimPty(const SimPty&) = delete;
    SimPty& operator=(const SimPty&) = delete;

    // Opens a non-blocking master and sets the line raw, 8 data bits, at the given speed (the
    // nearest standard one for speeds termios cannot name; a pty ignores it anyway).
    std::optional<std::string> Open(int baudRate);
    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    std::string slavePath_;
};

// A symbolic link that names the device for the other side, removed again on exit if it still
// points where this program made it point.
class SimDeviceLink {
  public:
    SimDeviceLink() = default;
    ~SimDeviceLink();
    SimDeviceLink(const SimDeviceLink&) = delete;
    SimDeviceLink& operator=(const SimDeviceLink&) = delete;

    // Makes linkPath point at target. An existing symbolic link is replaced atomically; any
    // other file at that path is left alone and reported.
    std::optional<std::string> Create(const std::string& linkPath, const std::string& target);
    void Remove();

  private:
    std::string linkPath_;
    std::string target_;
};

}  // namespace vekaton::cli
