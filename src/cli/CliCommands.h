#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton::cli {

// Exit codes of vekaton-cli, each explained in the help.
inline constexpr int kExitFailed = 1;           // the set, a file, the port or the output failed
inline constexpr int kExitBuildFailed = 2;      // eval: the formula cannot be built
inline constexpr int kExitArithmeticFault = 3;  // eval: the evaluation faulted
inline constexpr int kExitNoFrame = 4;          // live: the run ended without a frame
inline constexpr int kExitUsage = 64;           // wrong usage

// What a subcommand is given besides its arguments.
struct CliContext {
    int argc = 0;
    char** argv = nullptr;  // for Qt
    std::ostream& out;
    std::ostream& err;
};

// One subcommand of vekaton-cli: one entry of the table that both the dispatch and the help are
// made from. A new subcommand is one more entry.
struct Subcommand {
    std::string_view name;
    std::string_view usage;  // the synopsis, one or more lines, each ended by '\n'
    std::string_view help;   // what it does, its options with their defaults, examples, exit codes
    int (*run)(const CliContext& context, const std::vector<std::string>& args);
};
std::span<const Subcommand> Subcommands();
const Subcommand* FindSubcommand(std::string_view name);

// Dispatches to the subcommand named by args[0]; argc/argv are passed on for Qt. "--help",
// "-h" and "help" at any level print the help on standard output and return 0.
int RunCli(int argc, char** argv, const std::vector<std::string>& args);

// The help of one subcommand, or of all of them with the exit codes; the short usage for
// mistakes.
std::string SubcommandHelp(const Subcommand& command);
std::string FullHelp();
std::string ShortUsage();
// Prints what was wrong and the subcommand's synopsis on `err`; returns kExitUsage.
int UsageError(std::ostream& err, const Subcommand& command, const std::string& problem);

// `eval [--width N] FORMULA [A=v] ...`: args without the subcommand name.
int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `live [--dir DIR] [--set NAME] [--port DEVICE] [--frames N] [--seconds S] [-o FILE] ...`.
struct LiveOptions {
    std::string dir;         // empty: the current folder
    std::string setName;     // empty: the set the set pointer names
    std::string port;        // empty: the set's port
    std::string outputPath;  // empty or "-": standard output
    std::string recordPath;  // empty: no data log is recorded
    std::optional<int> frames;
    std::optional<double> seconds;
    bool exact = false;  // numbers in full rather than to 10 significant digits
    bool force = false;  // go on with a settings file that was not read whole or is out of range
};
// Returns what is wrong with the arguments (after the subcommand name), or an empty text.
std::string ParseLiveOptions(const std::vector<std::string>& args, LiveOptions& options);
// Acquires through the serial port with the set's settings, one CSV row per completed frame.
// Runs a Qt event loop, creating the application object from argc/argv when there is none.
int RunLive(int argc, char** argv, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err);

// `decode [--dir DIR] [--set NAME] LOG [-o FILE] [--exact] [--force]`.
struct DecodeOptions {
    std::string dir;
    std::string setName;
    std::string logPath;
    std::string outputPath;  // empty or "-": standard output
    bool exact = false;
    bool force = false;
};
std::string ParseDecodeOptions(const std::vector<std::string>& args, DecodeOptions& options);
// Plays a data log through the decoder with the set's settings, one CSV row per record.
int RunDecode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `table`, `histogram` and `scatter --dir DIR [--set NAME] LOG --x POS ...`: a cell table, a
// histogram or a scatter's density of a data log, as CSV (see the help texts for the options).
int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunHistogram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunScatter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `layout [--json] FILE`: prints a layout file (.dsf) or a single component stream, as text or
// as JSON. 0 when the whole file was read, 1 for a damaged or unreadable file (what was read
// is printed, the error with its byte offset goes to `err`).
int RunLayout(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `new-set --list` or `new-set --definition ID --dir DIR [--set NAME] [--port PORT]
// [--start-string HEX] [--page WxH]`: a set from the library of bundled definitions.
struct NewSetOptions {
    bool list = false;
    std::string definition;
    std::string dir;
    std::string setName;
    std::string port;
    std::string startString;
    std::optional<std::pair<int, int>> page;  // width and height
};
std::string ParseNewSetOptions(const std::vector<std::string>& args, NewSetOptions& options);
// `library` is where the definitions are; empty: where the installed program finds them.
int RunNewSet(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const std::filesystem::path& library = {});

// `import-adx FILE --dir DIR [--set NAME]`: a configuration set made from an ADX file.
struct ImportAdxOptions {
    std::string file;
    std::string dir;
    std::string setName;  // empty: the file's base name
};
std::string ParseImportAdxOptions(const std::vector<std::string>& args, ImportAdxOptions& options);
// Writes the set, prints the import report (one line per object of the file) on `out`. 0 when
// the set was written, 1 when the file cannot be read as ADX or the set cannot be written
// (nothing is left behind then), 64 for wrong usage.
int RunImportAdx(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vekaton::cli
