#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vekaton::testing {

// A pseudo-terminal standing in for a serial adapter. The test talks on the master side; the
// program under test opens the slave, usually through a symbolic link (see PortPathLink) so that
// a new terminal can take the old path. Both ends are raw.
class PseudoTerminal {
  public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool IsOpen() const { return master_ >= 0; }
    const std::string& SlavePath() const { return slavePath_; }

    // Sends bytes to whoever has the slave open.
    void Send(const std::vector<std::uint8_t>& bytes);
    void Send(const std::string& text);
    // Reads what the other side wrote until `count` bytes came or the wait ran out, running the
    // Qt event loop meanwhile (QSerialPort writes from it).
    std::vector<std::uint8_t> Receive(std::size_t count, int timeoutMs = 5000);
    // Bytes waiting in the slave's input queue, not yet read by anyone.
    int PendingAtSlave() const;
    // The slave's line speed as the kernel holds it (termios2), or -1.
    int SlaveOutputSpeed() const;

    // Hangs up: closes both ends, as when an adapter is pulled.
    void Close();

  private:
    int master_ = -1;
    int slave_ = -1;  // kept open so the master does not read a hang-up between openings
    std::string slavePath_;
};

// A symbolic link standing for a device path, re-pointed atomically.
class PortPathLink {
  public:
    explicit PortPathLink(const std::filesystem::path& linkPath) : path_(linkPath) {}
    ~PortPathLink();
    void PointTo(const std::string& target);
    std::string Path() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace vekaton::testing
