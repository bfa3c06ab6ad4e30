#pragma once
// A set and a data log like the captured module's, for the benchmarks of the CLI commands that
// stream whole logs, and the process's peak memory that they report.
#include <sys/resource.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>

#include "sim/EngineModel.h"

namespace vekaton::bench {

namespace fs = std::filesystem;

constexpr int kHeaderBytes = 3;
constexpr int kDataBytes = 63;
constexpr int kRecordBytes = kHeaderBytes + kDataBytes + 1;
constexpr int kIntervalMs = 110;

// A set like the captured module's: 3 header bytes, 63 data bytes and a checksum; the simulated
// engine's layout at positions 1 to 23 (18 values and 4 flag bits), and `extra` more positions
// with formulas after it.
inline void WriteSet(const fs::path& folder, int extra) {
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
    for (int p = 30; p < 30 + extra; ++p) {
        cfg << p << ",1,0,Extra " << p << ",A*" << (p % 7 + 1) << "/3+" << p << "\r\n";
    }
    cfg << "END\r\n";
}

// Writes about `megabytes` MB of records of a running engine, frame after frame at the log's
// interval, with random bytes at the extra positions.
inline std::uintmax_t WriteLog(const fs::path& path, int megabytes) {
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

inline double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace vekaton::bench
