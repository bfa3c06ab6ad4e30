#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/SetFilesForTest.h"

namespace vekaton::testing {

// The programs under test, as built next to this test program.
std::string CliProgram();
std::string SimProgram();

std::string ReadWholeFile(const std::filesystem::path& path);

// A program started for one test, its output and errors going to files. Whatever happens in the
// test, the destructor leaves no process behind.
class ChildProcess {
  public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::filesystem::path& stdoutPath, const std::filesystem::path& stderrPath);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    bool Running();
    void Signal(int signal);
    // The exit code, or 128 + the signal that ended it; nullopt if it still runs after timeoutMs.
    std::optional<int> Wait(int timeoutMs);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// vekaton-sim in a folder: reachable through the link folder/"ecm", writing every frame it makes
// to folder/"sent.Dat".
class SimProcess {
  public:
    SimProcess(const std::filesystem::path& folder, std::vector<std::string> args,
               const std::string& name = "sim");
    // The device path the simulator printed on its first line; empty if it printed none.
    const std::string& DevicePath() const { return devicePath_; }
    std::string LinkPath() const { return (folder_ / "ecm").string(); }
    std::filesystem::path SentLogPath() const { return folder_ / (name_ + "-sent.Dat"); }
    std::string Errors() const { return ReadWholeFile(folder_ / (name_ + ".err")); }
    ChildProcess& Process() { return process_; }

  private:
    std::filesystem::path folder_;
    std::string name_;
    ChildProcess process_;
    std::string devicePath_;
};

// The records of a data log whose records are recordSize bytes long.
std::vector<std::vector<std::uint8_t>> ReadLogRecords(const std::filesystem::path& path,
                                                      std::size_t recordSize);

// A CSV file as written by vekaton-cli: header names and rows of fields. The names used in these
// tests need no quoting, so fields are split at every comma.
struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    // Lines that did not end with CR LF, or rows of the wrong width: written only when torn.
    int malformedLines = 0;

    int Column(const std::string& name) const;  // -1 when absent
};
CsvTable ReadCsv(const std::filesystem::path& path);

// The parameter file of the simulated engine's frame layout, with its formulas.
std::string EngineModelParameterFile();

// The engineering values of one frame's data bytes (position 1 first) by the documented layout,
// keyed by the parameter file's descriptions: what `live` must print for that frame.
std::map<std::string, double> EngineModelValues(const std::vector<std::uint8_t>& data);

// The position of the frame counter, which numbers the frames the simulator makes.
inline constexpr int kFrameCounterPosition = 23;
inline constexpr const char* kFrameCounterName = "Frame counter";

}  // namespace vekaton::testing
