// `vekaton-cli table` over a large data log: throughput in log bytes per second, and the peak
// memory of the process, which must stay flat however long the log (the log is streamed).
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "support/CapturedLikeLog.h"

namespace {

namespace fs = std::filesystem;

using vekaton::bench::PeakRssMegabytes;
using vekaton::bench::WriteLog;
using vekaton::bench::WriteSet;

// Args: the log's size in MB; 1 for typed edges (one pass), 0 for automatic edges from the
// values (two passes). Block learn by engine speed and load, closed loop, warm, settled 2 s.
void BM_TableOfLog(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() /
                            ("vekaton-table-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    WriteSet(folder, 30);
    const fs::path logPath = folder / "run.Dat";
    const std::uintmax_t logBytes = WriteLog(logPath, static_cast<int>(state.range(0)));
    std::vector<std::string> args{"--dir",
                                  folder.string(),
                                  logPath.string(),
                                  "--x",
                                  "4",
                                  "--y",
                                  "6",
                                  "--z",
                                  "16",
                                  "--where",
                                  "18.0=1",
                                  "--where",
                                  "1>=70",
                                  "--settle",
                                  "2",
                                  "-o",
                                  (folder / "table.csv").string()};
    if (state.range(1) == 1) {
        args.insert(args.end(), {"--x-edges", "500,1000,1500,2000,2500,3000,4000,5000", "--y-edges",
                                 "20,30,40,50,60,70,80,90,100"});
    }
    const double rssBefore = PeakRssMegabytes();
    std::ostringstream out;
    std::ostringstream err;
    for (auto _ : state) {
        err.str("");
        if (vekaton::cli::RunTable(args, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(logBytes) * state.iterations());
    state.counters["log_MB"] = static_cast<double>(logBytes) / 1e6;
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
    state.counters["rss_growth_MB"] = PeakRssMegabytes() - rssBefore;
    std::error_code ec;
    fs::remove_all(folder, ec);
}
BENCHMARK(BM_TableOfLog)
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({100, 0})
    ->ArgNames({"MB", "typed_edges"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
