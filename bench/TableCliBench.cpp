// `vekaton-cli table` over a large data log: throughput in log bytes per second, and the peak
// memory of the process, which must stay flat however long the log (the log is streamed).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "sim/EngineModel.h"

namespace {

namespace fs = std::filesystem;

constexpr int kHeaderBytes = 3;
constexpr int kDataBytes = 63;
constexpr int kRecordBytes = kHeaderBytes + kDataBytes + 1;
constexpr int kIntervalMs = 110;

// A set like the captured module's (3 header bytes, 63 data bytes, a checksum) with the
// simulated engine's layout at positions 1 to 23 and 30 more positions with formulas.
void WriteSet(const fs::path& folder) {
    std::ofstream settings(folder / "Default.Ini", std::ios::binary);
    settings << "ComPort=0\r\nBaudRate=8192\r\nSampleRate=110\r\n"
                "RequestString=$F4 $57 $01 $00 $B4\r\nResponseBytes=3\r\n# Bytes of Data=63\r\n"
                "Use CheckSum=TRUE\r\nRequestEchoed=TRUE\r\nAutoRun=FALSE\r\nSyncMode=2\r\n"
                "SyncTime=500\r\nStartCommand=\r\nStopCommand=\r\n";
    std::ofstream cfg(folder / "Default.cfg", std::ios::binary);
    cfg << "1,1,0,Coolant temperature,A*0.75-40\r\n2,1,0,Intake air temperature,A*0.75-40\r\n"
           "3,1,0,Throttle position,A/2.55\r\n4,2,0,Engine speed,A*256+B\r\n"
           "6,1,0,Manifold pressure,A*0.4+10\r\n7,1,0,Oxygen sensor,A*4.44\r\n"
           "8,1,0,Battery voltage,A/10\r\n9,1,0,Spark advance,A/2-10\r\n"
           "10,1,0,Vehicle speed,A*1\r\n11,1,0,Idle air control,A*1\r\n"
           "12,2,0,Injector pulse width,(A*256+B)/1000\r\n14,2,0,Engine run time,A*256+B\r\n"
           "16,1,0,Block learn,A*1\r\n17,1,0,Integrator,A*1\r\n"
           "18,1,1,0,Closed loop\r\n18,1,1,1,Fan on\r\n18,1,1,3,Engine running\r\n"
           "19,1,1,1,Knock\r\n20,1,0,Knock count,A*1\r\n21,1,0,Barometric pressure,A*0.4+10\r\n"
           "22,1,0,Fuel level,A/2.55\r\n23,1,0,Frame counter,A*1\r\n";
    for (int p = 30; p < 60; ++p) {
        cfg << p << ",1,0,Extra " << p << ",A*" << (p % 7 + 1) << "/3+" << p << "\r\n";
    }
    cfg << "END\r\n";
}

// About `megabytes` MB of records of a running engine at the log's interval.
std::uintmax_t WriteLog(const fs::path& path, int megabytes) {
    std::ofstream log(path, std::ios::binary);
    log.put(static_cast<char>(kIntervalMs & 0xFF)).put(static_cast<char>(kIntervalMs >> 8));
    const vekaton::EngineModel model(1);
    std::mt19937 random(7);
    const std::size_t records = static_cast<std::size_t>(megabytes) * 1000000 / kRecordBytes;
    std::array<std::uint8_t, kRecordBytes> frame{0xF4, 0x95, 0x01};
    const auto data = std::span<std::uint8_t>(frame).subspan(kHeaderBytes, kDataBytes);
    for (std::size_t r = 0; r < records; ++r) {
        vekaton::EngineModel::Encode(model.At(static_cast<std::int64_t>(r) * kIntervalMs),
                                     static_cast<std::uint32_t>(r), data);
        for (std::size_t p = 29; p < 60; ++p) {
            data[p] = static_cast<std::uint8_t>(random());
        }
        unsigned sum = 0;
        for (int i = 0; i < kRecordBytes - 1; ++i) {
            sum += frame[static_cast<std::size_t>(i)];
        }
        frame[kRecordBytes - 1] = static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
        log.write(reinterpret_cast<const char*>(frame.data()), kRecordBytes);
    }
    log.close();
    return fs::file_size(path);
}

double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Args: the log's size in MB; 1 for typed edges (one pass), 0 for automatic edges from the
// values (two passes). Block learn by engine speed and load, closed loop, warm, settled 2 s.
void BM_TableOfLog(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() /
                            ("vekaton-table-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    WriteSet(folder);
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
