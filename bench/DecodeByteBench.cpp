// DecodeByte over frames of 64 data bytes in which 48 positions carry formulas: single-byte
// scalings, two-byte values with a prefix, and a few digital and formula-less positions, with
// gauges bound to some of them as on a typical dashboard.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "dashboard/DashboardModel.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"

namespace {

constexpr int kDataBytes = 64;
constexpr int kFrames = 256;

const char* const kSingleByteFormulas[] = {
    "A*25", "A/2-40", "A*0.392", "(A-128)/2", "A*0.75-40", "A/51.2", "A*100/255", "A-64",
};

struct Setup {
    vekaton::ParameterTable table;
    vekaton::FormulaFrontEnd formulas;
    vekaton::DashboardModel items;
    vekaton::Decoder decoder{table, formulas};
    std::vector<std::uint8_t> frames;

    Setup() {
        int withFormula = 0;
        for (int position = 1; position <= kDataBytes; ++position) {
            vekaton::ParameterRecord& record = table.At(position);
            record.Descriptions[0] = "P" + std::to_string(position);
            if (position % 8 == 0) {
                record.IsDigital = true;  // 8 flag bytes
            } else if (position % 8 == 7) {
                // 8 positions without a formula
            } else if (position % 16 == 1) {
                record.ByteCount = 2;  // 4 two-byte values, each with formulas at both bytes
                record.SetFormula("[UINTEGER]A/4");
                table.At(position + 1).SetFormula("A*1");
                withFormula += 2;
                ++position;
            } else {
                record.SetFormula(kSingleByteFormulas[position % 8]);
                ++withFormula;
            }
        }
        if (withFormula != 48) {
            throw std::logic_error("bench set-up must have 48 formula positions");
        }
        decoder.SetItems(&items);
        for (int i = 0; i < 12; ++i) {
            const int id = *items.AddItem(
                i % 3 == 0 ? vekaton::ItemKind::AngularGauge : vekaton::ItemKind::AnalogDisplay, 0);
            decoder.BindItem(id, 1 + i * 5);
        }
        std::mt19937 random(42);
        frames.resize(static_cast<std::size_t>(kDataBytes) * kFrames);
        for (std::uint8_t& b : frames) {
            b = static_cast<std::uint8_t>(random());
        }
    }
};

void BM_DecodeByte(benchmark::State& state) {
    Setup setup;
    std::size_t frame = 0;
    for (auto _ : state) {
        const std::uint8_t* bytes = setup.frames.data() + frame * kDataBytes;
        setup.decoder.StartFrame();
        for (int position = 1; position <= kDataBytes; ++position) {
            setup.decoder.DecodeByte(position, bytes[position - 1]);
        }
        frame = (frame + 1) % kFrames;
    }
    benchmark::DoNotOptimize(setup.table.At(kDataBytes).Value);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDataBytes);
    state.counters["bytes/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kDataBytes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeByte);

}  // namespace

BENCHMARK_MAIN();
