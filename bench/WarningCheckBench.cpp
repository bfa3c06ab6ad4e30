// The warning checks run once per frame for every watched value: they must stay far below the
// decoding itself (target: under 1 microsecond per value a frame).
#include <benchmark/benchmark.h>

#include <string>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "warnings/WarningMonitor.h"

namespace vekaton {
namespace {

// `count` analog values with limits, half of them crossing a limit now and then.
void WarningUpdate(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ParameterTable table;
    DetailsTable details;
    for (int p = 1; p <= count; ++p) {
        table.At(p).Descriptions[0] = "Value " + std::to_string(p);
        table.At(p).SetFormula("A*0.5");
        details.At(p).warnLow = 10;
        details.At(p).warnHigh = 100;
        details.At(p).displayMin = 0;
        details.At(p).displayMax = 128;
    }
    FormulaFrontEnd formulas;
    Decoder decoder(table, formulas);
    WarningMonitor monitor;
    monitor.SetWatches(WarningWatches(table, details, count));
    double now = 0.0;
    int frame = 0;
    for (auto _ : state) {
        state.PauseTiming();
        decoder.StartFrame();
        for (int p = 1; p <= count; ++p) {
            decoder.DecodeByte(p, static_cast<std::uint8_t>((frame * 7 + p * 13) & 0xFF));
        }
        ++frame;
        now += 0.05;
        state.ResumeTiming();
        benchmark::DoNotOptimize(monitor.Update(decoder, now));
    }
    state.counters["per_value"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * count,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(WarningUpdate)->Arg(20)->Arg(100)->Arg(500);

}  // namespace
}  // namespace vekaton

BENCHMARK_MAIN();
