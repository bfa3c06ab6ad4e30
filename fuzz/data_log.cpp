// Reads arbitrary bytes as a data log: the first byte picks the record size, the rest is the
// file. The streaming reader and the viewer's random-access reader must agree record for record,
// every record must be whole and the byte count must add up; and the viewer's seeking must give
// the decoder state that playing the log from its start gives, at every frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "log/DataLog.h"
#include "log/DataLogFile.h"
#include "log/LogReplay.h"
#include "log/LogScan.h"
#include "log/RecordPlayback.h"

namespace {

// Multi-byte values that carry from frame to frame whatever the record size.
void Define(vekaton::ParameterTable& table) {
    table.At(1).ByteCount = 2;
    table.At(1).SetFormula("A*256+B");
    table.At(3).ByteCount = 3;
    table.At(3).SetFormula("[UINTEGER]A");
    table.At(5).IsDigital = true;
    table.At(7).ByteCount = 4;
    table.At(7).SetFormula("A+B+C+D");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::size_t recordSize = data[0];  // 0 must be refused, not divided by
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    std::istringstream in(std::string(reinterpret_cast<const char*>(file.data()), file.size()));
    vekaton::DataLogReader reader(in, recordSize);
    vekaton::DataLogFile log;
    const auto openError = log.Open(vekaton::MemoryLogBytes(file), recordSize);
    if (reader.Error().has_value() != openError.has_value()) {
        std::abort();
    }
    if (reader.Error()) {
        return 0;
    }
    std::size_t total = 0;
    std::vector<std::uint8_t> random;
    std::string error;
    std::int64_t index = 0;
    for (auto record = reader.Next(); !record.empty(); record = reader.Next(), ++index) {
        if (record.size() != recordSize || !log.ReadRecord(index, random, error) ||
            !std::equal(record.begin(), record.end(), random.begin(), random.end())) {
            std::abort();
        }
        total += record.size();
    }
    if (total + reader.TrailingBytes() + vekaton::kDataLogHeaderSize != size - 1 ||
        reader.TrailingBytes() >= recordSize || index != log.RecordCount() ||
        log.TrailingBytes() != reader.TrailingBytes() || log.ReadRecord(index, random, error)) {
        std::abort();
    }

    // Seeking against playing straight through, with a header of one byte when there is room.
    vekaton::ParameterTable table;
    Define(table);
    vekaton::FormulaFrontEnd formulas;
    const vekaton::RecordLayout layout{
        recordSize > 1 ? 1 : 0, static_cast<int>(recordSize > 1 ? recordSize - 1 : 1), false};
    vekaton::Decoder straight(table, formulas);
    std::vector<vekaton::Decoder::State> states;
    for (std::int64_t f = 0; f < log.RecordCount(); ++f) {
        states.push_back(straight.SaveState());
        if (!log.ReadRecord(f, random, error)) {
            std::abort();
        }
        vekaton::FeedRecord(straight, random, layout, 0);
    }
    states.push_back(straight.SaveState());

    vekaton::LogReplay replay(log, layout, table);
    vekaton::Decoder scanned(table, formulas);
    vekaton::LogScan scan(log, replay, layout, scanned);
    while (scan.Step(50, {})) {
    }
    if (scan.Error() || scan.Done() != log.RecordCount() ||
        !(scanned.SaveState() == states.back())) {
        std::abort();
    }
    for (std::int64_t f = log.RecordCount(); f >= 0; f -= 1 + f / 7) {
        const auto state = replay.StateAt(f, error);
        if (!state || !(*state == states[static_cast<std::size_t>(f)])) {
            std::abort();
        }
    }
    return 0;
}
