#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/FrameAccumulator.h"
#include "analysis/LogAnalysis.h"
#include "decode/ParameterTable.h"
#include "log/DataLogFile.h"
#include "log/RecordPlayback.h"

namespace vekaton::testing {

// A small data log written by hand: a header byte, five data bytes and a checksum per record.
// The table reads position 1 as X, 2 as Y, 3 as Z (halves: A/2), 4 as flag bits (bit 0 closed
// loop, bit 1 fan) and 5 as a coolant reading A-40.
class AnalysisTestLog {
  public:
    static constexpr int kIntervalMs = 100;
    static constexpr int kDataBytes = 5;
    static inline const RecordLayout kLayout{1, kDataBytes, true};

    AnalysisTestLog() {
        bytes_ = {kIntervalMs, 0};
        DefineTable(table);
    }

    static void DefineTable(ParameterTable& table) {
        table.Reset();
        table.At(1).Descriptions[0] = "X";
        table.At(1).SetFormula("A*1");
        table.At(2).Descriptions[0] = "Y";
        table.At(2).SetFormula("A*1");
        table.At(3).Descriptions[0] = "Z";
        table.At(3).SetFormula("A/2");
        table.At(4).IsDigital = true;
        table.At(4).Descriptions[0] = "Closed loop";
        table.At(4).Descriptions[1] = "Fan";
        table.At(5).Descriptions[0] = "Coolant";
        table.At(5).SetFormula("A-40");
    }

    // One record: x, y, the raw byte of Z (twice the value), flags, the coolant byte.
    void Add(std::uint8_t x, std::uint8_t y, std::uint8_t zRaw, std::uint8_t flags = 1,
             std::uint8_t coolant = 130, bool goodChecksum = true) {
        const std::vector<std::uint8_t> record{0xF4, x, y, zRaw, flags, coolant};
        unsigned sum = 0;
        for (const std::uint8_t b : record) {
            bytes_.push_back(b);
            sum += b;
        }
        bytes_.push_back(ChecksumFor(static_cast<int>(sum + (goodChecksum ? 0 : 1))));
    }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

    // The log opened from memory.
    std::unique_ptr<DataLogFile> Open() const {
        auto log = std::make_unique<DataLogFile>();
        if (log->Open(MemoryLogBytes(bytes_), kLayout.Size())) {
            return nullptr;
        }
        return log;
    }

    // The whole analysis of the log, run to its end.
    std::unique_ptr<FrameAccumulator> Analyse(const AnalysisSetup& setup,
                                              const DetailsTable* details = nullptr,
                                              FrameRange range = {},
                                              AccumulatorOptions options = {}) const {
        auto log = Open();
        LogAnalysis analysis(*log, kLayout, table, details, setup, options, range);
        if (!analysis.Run()) {
            return nullptr;
        }
        return analysis.TakeResult();
    }

    ParameterTable table;

  private:
    std::vector<std::uint8_t> bytes_;
};

// A table of Z by X and Y over explicit edges.
inline AnalysisSetup TableSetup(std::vector<double> xEdges, std::vector<double> yEdges) {
    AnalysisSetup setup;
    setup.kind = AnalysisKind::Table;
    setup.x = ValueRef{1, -1};
    setup.y = ValueRef{2, -1};
    setup.z = ValueRef{3, -1};
    setup.xEdges = BinEdges::FromList(std::move(xEdges));
    setup.yEdges = BinEdges::FromList(std::move(yEdges));
    return setup;
}

}  // namespace vekaton::testing
