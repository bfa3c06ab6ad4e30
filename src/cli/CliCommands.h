#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace vekaton::cli {

inline constexpr int kExitUsage = 64;

// Dispatches to the subcommand named by args[0]; argc/argv are passed on for Qt.
int RunCli(int argc, char** argv, const std::vector<std::string>& args);

// `eval [--width N] FORMULA [A=v] ...`: args without the subcommand name.
int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `live [--dir DIR] [--set NAME] [--port DEVICE] [--frames N] [--seconds S] [-o FILE]
//  [--record LOG]`.
struct LiveOptions {
    std::string dir;         // empty: the current folder
    std::string setName;     // empty: the set the set pointer names
    std::string port;        // empty: the set's port
    std::string outputPath;  // empty or "-": standard output
    std::string recordPath;  // empty: no data log is recorded
    std::optional<int> frames;
    std::optional<double> seconds;
};
// Returns what is wrong with the arguments (after the subcommand name), or an empty text.
std::string ParseLiveOptions(const std::vector<std::string>& args, LiveOptions& options);
// Acquires through the serial port with the set's settings, one CSV row per completed frame.
// Runs a Qt event loop, creating the application object from argc/argv when there is none.
int RunLive(int argc, char** argv, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err);

// `decode [--dir DIR] [--set NAME] LOG [-o FILE]`.
struct DecodeOptions {
    std::string dir;
    std::string setName;
    std::string logPath;
    std::string outputPath;  // empty or "-": standard output
};
std::string ParseDecodeOptions(const std::vector<std::string>& args, DecodeOptions& options);
// Plays a data log through the decoder with the set's settings, one CSV row per record.
int RunDecode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `layout [--json] FILE`: prints a layout file (.dsf) or a single component stream, as text or
// as JSON. 0 when the whole file was read, 1 for a damaged or unreadable file (what was read
// is printed, the error with its byte offset goes to `err`).
inline constexpr const char kLayoutSynopsis[] = "vekaton-cli layout [--json] FILE\n";
inline constexpr const char kLayoutHelp[] =
    "  Prints a layout file (.dsf) or a single component stream: every control with its\n"
    "  properties, then the window's size, place, colour and page. --json prints every value\n"
    "  with its type code. Exit code 1 for a damaged file, after what could be read.\n";
int RunLayout(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vekaton::cli
