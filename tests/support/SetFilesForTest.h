#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vekaton::testing {

// The files of a configuration set as a test lays them out: written here as text, in the
// formats' exact lines, independently of the program's own writers, so that a reader's test
// never leans on the writer it may share a fault with.

// The settings file: thirteen lines by position, then the keyed lines that are set.
struct LinkSetUp {
    int comPort = 0;
    int baudRate = 8192;
    int sampleRate = 100;
    std::string request = "$F4 $57 $01 $00 $B4";
    int responseBytes = 3;
    int dataBytes = 23;
    bool checksum = true;
    bool echoed = false;
    bool autoRun = false;
    int syncMode = 2;
    int syncTime = 500;
    std::string startCommand{};
    std::string stopCommand{};
    std::optional<std::string> portName{};  // "PortName=" (also when empty)
    std::optional<std::string> loader{};    // "Loader="
};
std::string SettingsFile(const LinkSetUp& setUp);

// One line of the parameter file: an analog definition, or one bit of a digital position.
struct ParameterLine {
    int position = 1;
    int byteCount = 1;
    std::optional<int> bit;  // set: a digital line for this bit
    std::string description;
    std::string formula;
};
ParameterLine Analog(int position, int byteCount, std::string description, std::string formula);
ParameterLine Bit(int position, int bit, std::string description);

// The parameter file: the comment lines, an empty line, the definitions as given, "END".
struct ParameterSetUp {
    std::vector<std::string> comments;  // each written as it stands (begin it with ";")
    std::vector<ParameterLine> lines;
};
std::string ParameterFile(const ParameterSetUp& setUp);

// The one-line set pointer naming `setName`.
std::string SetPointerFile(const std::string& setName);

// A whole set. Without a set name the files take the names a fresh start reads ("Default.Ini",
// "Default.cfg") and no pointer is written; with one, "<name>.ini", "<name>.cfg" and the
// pointer "Vekaton.Ini".
struct SetFiles {
    std::string setName;
    std::optional<LinkSetUp> settings;
    std::optional<ParameterSetUp> parameters;

    void WriteTo(const std::filesystem::path& folder) const;
};

}  // namespace vekaton::testing
