// `vekaton-cli decode` of a large data log to a CSV file: throughput in log bytes per second, and
// the peak memory of the process, which must not grow with the log's size.
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

// Args: the log's size in MB, and the positions described beyond the engine's 23 (30: a value
// column for 53 of the 63 data bytes, most of them long fractions). Small logs run first: the
// peak memory after a large one must be about the same.
void BM_DecodeLogToCsv(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() /
                            ("vekaton-decode-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    WriteSet(folder, static_cast<int>(state.range(1)));
    const fs::path logPath = folder / "run.Dat";
    const std::uintmax_t logBytes = WriteLog(logPath, static_cast<int>(state.range(0)));
    const double rssBefore = PeakRssMegabytes();
    const std::vector<std::string> args{"--dir", folder.string(), logPath.string(), "-o",
                                        (folder / "run.csv").string()};
    std::ostringstream out;
    std::ostringstream err;
    for (auto _ : state) {
        if (vekaton::cli::RunDecode(args, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(logBytes) * state.iterations());
    state.counters["log_MB"] = static_cast<double>(logBytes) / 1e6;
    state.counters["csv_MB"] = static_cast<double>(fs::file_size(folder / "run.csv")) / 1e6;
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
    state.counters["rss_growth_MB"] = PeakRssMegabytes() - rssBefore;
    std::error_code ec;
    fs::remove_all(folder, ec);
}
BENCHMARK(BM_DecodeLogToCsv)
    ->Args({10, 0})
    ->Args({10, 30})
    ->Args({100, 0})
    ->Args({100, 30})
    ->ArgNames({"MB", "extra"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
