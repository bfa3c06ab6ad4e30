// Reads arbitrary bytes as a data log: the first byte picks the record size, the rest is the
// file. The reader must refuse exactly what cannot be a log, and otherwise account for every
// byte: the header's interval, whole records that are the file's bytes in order (one at a time
// or in batches), a partial record counted and never returned; and seeking must give the decoder
// state that playing the log from its start gives, at every frame.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
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
    vekaton::DataLogFile log;
    const auto openError = log.Open(vekaton::MemoryLogBytes(file), recordSize);
    const bool canBeALog = recordSize > 0 && file.size() >= vekaton::kDataLogHeaderSize;
    if (openError.has_value() == canBeALog || log.IsOpen() != canBeALog) {
        std::abort();
    }
    if (openError) {
        return 0;
    }
    const std::size_t body = file.size() - vekaton::kDataLogHeaderSize;
    if (log.IntervalMs() != (file[0] | (file[1] << 8)) || log.FileSize() != file.size() ||
        static_cast<std::size_t>(log.RecordCount()) != body / recordSize ||
        log.TrailingBytes() != body % recordSize) {
        std::abort();
    }
    const auto bytesOf = [&](std::int64_t first, std::int64_t count) {
        return file.subspan(
            vekaton::kDataLogHeaderSize + static_cast<std::size_t>(first) * recordSize,
            static_cast<std::size_t>(count) * recordSize);
    };
    std::vector<std::uint8_t> random;
    std::string error;
    for (std::int64_t index = 0; index < log.RecordCount(); ++index) {
        const auto expected = bytesOf(index, 1);
        if (!log.ReadRecord(index, random, error) ||
            !std::equal(expected.begin(), expected.end(), random.begin(), random.end())) {
            std::abort();
        }
    }
    if (log.ReadRecord(log.RecordCount(), random, error) || log.ReadRecord(-1, random, error)) {
        std::abort();
    }
    // Batches, clipped to the log, whatever the first record and count asked for.
    const std::int64_t batch = 1 + static_cast<std::int64_t>(size % 5);
    for (std::int64_t first = -1; first <= log.RecordCount() + 1; first += batch) {
        const auto read = log.Read(first, batch, random, error);
        const std::int64_t from = std::clamp<std::int64_t>(first, 0, log.RecordCount());
        const std::int64_t count = std::clamp<std::int64_t>(batch, 0, log.RecordCount() - from);
        const auto expected = count > 0 ? bytesOf(from, count) : std::span<const std::uint8_t>();
        if (!read || *read != count ||
            !std::equal(expected.begin(), expected.end(), random.begin(), random.end())) {
            std::abort();
        }
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
