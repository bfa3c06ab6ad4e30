// Readers of a set's dashboard files on the worst files within their size limits: a 64 MB layout
// of one-byte values (reading stops at the value limit), a 64 MB layout of long texts, and 4 MB
// gauge lists of 100,000 labels or of two million lines that cannot be read. Each must take well
// under a second; bytes per second are reported.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "dashboard/GaugeList.h"
#include "dashboard/LayoutFile.h"

namespace {

std::string Record(const std::string& properties) {
    return "TPF0" + std::string("\x06TLabel\x01N", 9) + properties + std::string(2, '\0');
}

// Records of a list of one-byte integers, as many as fit in 64 MB.
const std::string& SmallValuesLayout() {
    static const std::string layout = [] {
        std::string list = "\x04Many\x01";
        for (int i = 0; i < 999'900; ++i) {
            list += "\x02\x01";
        }
        list += '\0';
        std::string file;
        for (int record = 0; record < 33; ++record) {
            file += Record(list);
        }
        return file + std::string(24, '\0');
    }();
    return layout;
}

// 1,020 long strings of 64 KB of control bytes each: the most text a layout may hold.
const std::string& LongTextsLayout() {
    static const std::string layout = [] {
        std::string properties;
        const std::string text(65536, '\x01');
        for (int i = 0; i < 1020; ++i) {
            properties += "\x01S\x0C" + std::string("\x00\x00\x01\x00", 4) + text;
        }
        return Record(properties) + std::string(24, '\0');
    }();
    return layout;
}

void BM_ParseLayoutOfSmallValues(benchmark::State& state) {
    const std::string& data = SmallValuesLayout();
    for (auto _ : state) {
        benchmark::DoNotOptimize(vekaton::ParseLayout(data));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_ParseLayoutOfSmallValues)->Unit(benchmark::kMillisecond);

void BM_ParseLayoutOfLongTexts(benchmark::State& state) {
    const std::string& data = LongTextsLayout();
    for (auto _ : state) {
        benchmark::DoNotOptimize(vekaton::ParseLayout(data));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_ParseLayoutOfLongTexts)->Unit(benchmark::kMillisecond);

void BM_ParseGaugeListOfLabels(benchmark::State& state) {
    std::string text;
    for (int n = 1; n <= 100'000; ++n) {
        text += "USERLABEL" + std::to_string(n) + ",0,\r\n";
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(vekaton::ParseGaugeList(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseGaugeListOfLabels)->Unit(benchmark::kMillisecond);

void BM_ParseGaugeListOfBadLines(benchmark::State& state) {
    std::string text;
    for (int n = 0; n < 2'000'000; ++n) {
        text += "x\n";
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(vekaton::ParseGaugeList(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseGaugeListOfBadLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
