// The whole receive path: bytes handed to the engine as a serial port delivers them (echo,
// header, 64 data bytes with 48 formula positions, checksum), counted, checksum-summed, decoded
// and ended as frames; and the playback path that plays data log records through the decoder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "engine/Engine.h"
#include "log/RecordPlayback.h"

namespace {

constexpr int kDataBytes = 64;
constexpr int kFrames = 256;

class NullPort : public vekaton::Port {
  public:
    bool IsOpen() const override { return true; }
    bool Write(std::span<const std::uint8_t>) override { return true; }
    void FlushInput() override {}
};

class StillClock : public vekaton::Clock {
  public:
    std::int64_t NowMs() const override { return 0; }
    TimerId CallLater(std::int64_t, std::function<void()>) override { return ++next_; }
    void Cancel(TimerId) override {}

  private:
    TimerId next_ = 0;
};

void DefineTable(vekaton::ParameterTable& table) {
    static const char* const kFormulas[] = {"A*25",      "A/2-40", "A*0.392",  "(A-128)/2",
                                            "A*0.75-40", "A/51.2", "A*100/255"};
    for (int position = 1; position <= kDataBytes; ++position) {
        vekaton::ParameterRecord& record = table.At(position);
        if (position % 8 == 0) {
            record.IsDigital = true;
        } else if (position % 8 == 7) {
            // no formula
        } else if (position % 16 == 1) {
            record.ByteCount = 2;
            record.SetFormula("[UINTEGER]A/4");
            table.At(++position).SetFormula("A*1");
        } else {
            record.SetFormula(kFormulas[position % 7]);
        }
    }
}

// Echo (5), header (3), data (64), checksum: one answer per frame, varied from frame to frame.
std::vector<std::uint8_t> Answers() {
    std::vector<std::uint8_t> bytes;
    for (int f = 0; f < kFrames; ++f) {
        const std::uint8_t echo[] = {0xF4, 0x57, 0x01, 0x00, 0xB4};
        bytes.insert(bytes.end(), std::begin(echo), std::end(echo));
        unsigned sum = 0xF4 + 0x96 + 0x01;
        bytes.insert(bytes.end(), {0xF4, 0x96, 0x01});
        for (int p = 0; p < kDataBytes; ++p) {
            const auto b = static_cast<std::uint8_t>(f * 7 + p * 13);
            bytes.push_back(b);
            sum += b;
        }
        bytes.push_back(static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF));
    }
    return bytes;
}

void BM_EngineReceive(benchmark::State& state) {
    vekaton::ParameterTable table;
    DefineTable(table);
    vekaton::FormulaFrontEnd formulas;
    vekaton::Decoder decoder(table, formulas);
    NullPort port;
    StillClock clock;
    vekaton::EngineView view;
    vekaton::Engine engine(port, clock, decoder, view);
    vekaton::LinkSettings settings;
    settings.requestString = "$F4 $57 $01 $00 $B4";
    settings.responseBytes = 3;
    settings.dataBytes = kDataBytes;
    settings.useCheckSum = true;
    settings.requestEchoed = true;
    engine.ApplySettings(settings);
    engine.PauseClick();
    const std::vector<std::uint8_t> answers = Answers();
    const std::size_t frameSize = answers.size() / kFrames;
    const std::size_t chunk = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        for (std::size_t f = 0; f < answers.size(); f += frameSize) {
            engine.ResetFrameState();  // the poll tick
            for (std::size_t at = f; at < f + frameSize; at += chunk) {
                const std::size_t n = std::min(chunk, f + frameSize - at);
                engine.OnBytesReceived(std::span(answers).subspan(at, n));
            }
        }
        benchmark::DoNotOptimize(table.At(kDataBytes).Value);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(answers.size()));
}
BENCHMARK(BM_EngineReceive)->Arg(1)->Arg(16)->Arg(73);

void BM_FeedRecord(benchmark::State& state) {
    vekaton::ParameterTable table;
    DefineTable(table);
    vekaton::FormulaFrontEnd formulas;
    vekaton::Decoder decoder(table, formulas);
    const std::vector<std::uint8_t> answers = Answers();
    const std::size_t frameSize = answers.size() / kFrames;
    const vekaton::RecordLayout layout{3, kDataBytes, true};
    int sample = 0;
    for (auto _ : state) {
        for (std::size_t f = 0; f < answers.size(); f += frameSize) {
            // A record is the answer without the echo.
            const auto record = std::span(answers).subspan(f + 5, frameSize - 5);
            benchmark::DoNotOptimize(vekaton::FeedRecord(decoder, record, layout, sample++));
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFrames *
                            static_cast<std::int64_t>(frameSize - 5));
}
BENCHMARK(BM_FeedRecord);

}  // namespace

BENCHMARK_MAIN();
