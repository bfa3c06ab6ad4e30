#include "E2eSupport.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

extern char** environ;

namespace vekaton::testing {

namespace {

using Clock = std::chrono::steady_clock;

struct AnalogEntry {
    int position;
    int byteCount;
    const char* description;
    const char* formula;
    std::function<double(double a, double b)> value;  // the formula, computed here
};

// The layout documented with the simulated engine model.
const std::vector<AnalogEntry>& AnalogLayout() {
    static const std::vector<AnalogEntry> layout = {
        {1, 1, "Coolant temperature", "A*0.75-40", [](double a, double) { return a * 0.75 - 40; }},
        {2, 1, "Intake air temperature", "A*0.75-40",
         [](double a, double) { return a * 0.75 - 40; }},
        {3, 1, "Throttle position", "A/2.55", [](double a, double) { return a / 2.55; }},
        {4, 2, "Engine speed", "A*256+B", [](double a, double b) { return a * 256 + b; }},
        {6, 1, "Manifold pressure", "A*0.4+10", [](double a, double) { return a * 0.4 + 10; }},
        {7, 1, "Oxygen sensor", "A*4.44", [](double a, double) { return a * 4.44; }},
        {8, 1, "Battery voltage", "A/10", [](double a, double) { return a / 10; }},
        {9, 1, "Spark advance", "A/2-10", [](double a, double) { return a / 2 - 10; }},
        {10, 1, "Vehicle speed", "A*1", [](double a, double) { return a; }},
        {11, 1, "Idle air control", "A*1", [](double a, double) { return a; }},
        {12, 2, "Injector pulse width", "(A*256+B)/1000",
         [](double a, double b) { return (a * 256 + b) / 1000; }},
        {14, 2, "Engine run time", "A*256+B", [](double a, double b) { return a * 256 + b; }},
        {16, 1, "Block learn", "A*1", [](double a, double) { return a; }},
        {17, 1, "Integrator", "A*1", [](double a, double) { return a; }},
        {20, 1, "Knock count", "A*1", [](double a, double) { return a; }},
        {21, 1, "Barometric pressure", "A*0.4+10", [](double a, double) { return a * 0.4 + 10; }},
        {22, 1, "Fuel level", "A/2.55", [](double a, double) { return a / 2.55; }},
        {kFrameCounterPosition, 1, kFrameCounterName, "A*1", [](double a, double) { return a; }},
    };
    return layout;
}

struct BitEntry {
    int position;
    int bit;
    const char* description;
};

const std::vector<BitEntry>& BitLayout() {
    static const std::vector<BitEntry> layout = {
        {18, 0, "Closed loop"},
        {18, 1, "Fan on"},
        {18, 2, "A/C request"},
        {18, 3, "Engine running"},
        {18, 4, "Rich"},
        {18, 5, "Idle"},
        {18, 6, "Power enrichment"},
        {18, 7, "Check engine lamp"},
        {19, 0, "Park/neutral"},
        {19, 1, "Knock"},
        {19, 2, "Decel fuel cut-off"},
        {19, 3, "Converter clutch locked"},
    };
    return layout;
}

}  // namespace

std::string CliProgram() {
    return VEKATON_BINARY_DIR "/src/vekaton-cli";
}

std::string SimProgram() {
    return VEKATON_BINARY_DIR "/src/vekaton-sim";
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::filesystem::path& stdoutPath,
                           const std::filesystem::path& stderrPath) {
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        pid_ = pid;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        Signal(SIGKILL);
        Wait(5000);
    }
}

bool ChildProcess::Running() {
    return Started() && !Wait(0).has_value();
}

void ChildProcess::Signal(int signal) {
    if (Started() && !status_) {
        ::kill(pid_, signal);
    }
}

std::optional<int> ChildProcess::Wait(int timeoutMs) {
    if (!Started() || status_) {
        return status_;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_;
        }
        if (done < 0 || Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

SimProcess::SimProcess(const std::filesystem::path& folder, std::vector<std::string> args,
                       const std::string& name)
    : folder_(folder),
      name_(name),
      process_(
          SimProgram(),
          [&] {
              args.insert(args.end(), {"--link", (folder / "ecm").string(), "--sent-log",
                                       (folder / (name + "-sent.Dat")).string()});
              return args;
          }(),
          folder / (name + ".out"), folder / (name + ".err")) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline && process_.Running()) {
        const std::string out = ReadWholeFile(folder_ / (name_ + ".out"));
        if (const auto end = out.find('\n'); end != std::string::npos) {
            devicePath_ = out.substr(0, end);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::vector<std::vector<std::uint8_t>> ReadLogRecords(const std::filesystem::path& path,
                                                      std::size_t recordSize) {
    const std::string bytes = ReadWholeFile(path);
    std::vector<std::vector<std::uint8_t>> records;
    for (std::size_t at = 2; recordSize > 0 && at + recordSize <= bytes.size(); at += recordSize) {
        records.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + recordSize));
    }
    return records;
}

int CsvTable::Column(const std::string& name) const {
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CsvTable ReadCsv(const std::filesystem::path& path) {
    const std::string text = ReadWholeFile(path);
    CsvTable table;
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        const auto end = text.find("\r\n", at);
        const bool torn = end == std::string::npos;
        const std::string line = text.substr(at, torn ? std::string::npos : end - at);
        at = torn ? text.size() : end + 2;
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const auto comma = line.find(',', start);
            fields.push_back(line.substr(start, comma - start));
            if (comma == std::string::npos) {
                break;
            }
            start = comma + 1;
        }
        if (first) {
            table.header = std::move(fields);
            first = false;
        } else if (torn || fields.size() != table.header.size()) {
            ++table.malformedLines;
        } else {
            table.rows.push_back(std::move(fields));
        }
    }
    return table;
}

std::string EngineModelParameterFile() {
    ParameterSetUp setUp{{"; the simulated engine module"}, {}};
    for (const AnalogEntry& entry : AnalogLayout()) {
        setUp.lines.push_back(
            Analog(entry.position, entry.byteCount, entry.description, entry.formula));
    }
    for (const BitEntry& entry : BitLayout()) {
        setUp.lines.push_back(Bit(entry.position, entry.bit, entry.description));
    }
    return ParameterFile(setUp);
}

std::map<std::string, double> EngineModelValues(const std::vector<std::uint8_t>& data) {
    std::map<std::string, double> values;
    const auto byte = [&data](int position) {
        return position >= 1 && position <= static_cast<int>(data.size())
                   ? static_cast<double>(data[static_cast<std::size_t>(position - 1)])
                   : 0.0;
    };
    for (const AnalogEntry& entry : AnalogLayout()) {
        values[entry.description] =
            entry.byteCount == 2 ? entry.value(byte(entry.position), byte(entry.position + 1))
                                 : entry.value(byte(entry.position), 0.0);
    }
    for (const BitEntry& entry : BitLayout()) {
        values[entry.description] =
            (static_cast<int>(byte(entry.position)) >> entry.bit) & 1 ? 1.0 : 0.0;
    }
    return values;
}

}  // namespace vekaton::testing
