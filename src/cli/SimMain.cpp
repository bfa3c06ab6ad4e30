// vekaton-sim: a simulated engine module on a pseudo-terminal.
#ifndef __linux__
#error "vekaton-sim is Linux-only: it serves a pseudo-terminal and takes signals through signalfd()"
#endif

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/SimOptions.h"
#include "cli/SimPty.h"
#include "cli/SimServer.h"
#include "log/DataLog.h"

namespace {

using vekaton::cli::SimOptions;

// Stops are read from a descriptor in the poll loop rather than handled asynchronously, so the
// link is removed and the logs closed on the normal path.
int OpenStopSignals() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &stops, nullptr) != 0) {
        return -1;
    }
    return signalfd(-1, &stops, SFD_CLOEXEC | SFD_NONBLOCK);
}

void PrintStats(const vekaton::EngineSimulator& simulator) {
    const auto& stats = simulator.Stats();
    std::cerr << "vekaton-sim: " << stats.frames << " frames";
    for (int k = 0; k < vekaton::kSimFaultKinds; ++k) {
        const auto count = stats.faults[static_cast<std::size_t>(k)];
        if (count > 0) {
            std::cerr << ", " << vekaton::SimFaultName(static_cast<vekaton::SimFault>(k)) << ' '
                      << count;
        }
    }
    std::cerr << '\n';
}

int Serve(const SimOptions& options) {
    vekaton::EngineSimulator simulator(options.config);
    if (!options.replayPath.empty()) {
        if (const auto error = simulator.ReplayLog(options.replayPath)) {
            std::cerr << "vekaton-sim: cannot replay " << options.replayPath << ": " << *error
                      << '\n';
            return 1;
        }
    }
    vekaton::DataLogWriter sentLog;
    if (!options.sentLogPath.empty()) {
        if (const auto error = sentLog.Create(options.sentLogPath, options.config.intervalMs)) {
            std::cerr << "vekaton-sim: " << *error << '\n';
            return 1;
        }
    }
    const int stopFd = OpenStopSignals();
    if (stopFd < 0) {
        std::perror("vekaton-sim: cannot watch for stop signals");
        return 1;
    }
    vekaton::cli::SimPty pty;
    if (const auto error = pty.Open(options.baudRate > 0 ? options.baudRate : 8192)) {
        std::cerr << "vekaton-sim: " << *error << '\n';
        ::close(stopFd);
        return 1;
    }
    vekaton::cli::SimDeviceLink link;
    if (!options.linkPath.empty()) {
        if (const auto error = link.Create(options.linkPath, pty.SlavePath())) {
            std::cerr << "vekaton-sim: " << *error << '\n';
            ::close(stopFd);
            return 1;
        }
    }
    std::cout << pty.SlavePath() << std::endl;

    vekaton::cli::SimServer server(simulator, pty.MasterFd(), stopFd, options.baudRate,
                                   sentLog.IsOpen() ? &sentLog : nullptr);
    const int status = server.Run();
    ::close(stopFd);
    link.Remove();
    if (const auto error = sentLog.Close()) {
        std::cerr << "vekaton-sim: " << *error << '\n';
    }
    PrintStats(simulator);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = vekaton::cli::ParseSimOptions(args);
    if (!parsed.error.empty()) {
        std::cerr << "vekaton-sim: " << parsed.error
                  << "\n(vekaton-sim --help lists the options)\n";
        return vekaton::cli::kExitUsage;
    }
    if (parsed.options.help) {
        std::cout << vekaton::cli::SimUsage();
        return 0;
    }
    if (!parsed.options.setDir.empty()) {
        vekaton::LinkSettings settings;
        if (const auto error = vekaton::cli::LoadSimSet(parsed.options, settings)) {
            std::cerr << "vekaton-sim: " << *error << '\n';
            return 1;
        }
        vekaton::cli::ApplySetLink(parsed.options, settings);
    }
    // A reader of the first line that goes away must not end the simulator.
    ::signal(SIGPIPE, SIG_IGN);
    return Serve(parsed.options);
}
