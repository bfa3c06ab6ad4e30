// A dashboard page of 20 instruments designed at 800x480, drawn scaled to fill 1920x1080:
// the frame time the full-screen dashboard costs (target: under 4 ms a frame), by day, at
// night, and with every instrument showing a warning.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <cmath>
#include <vector>

#include "widgets/NightMode.h"
#include "widgets/PageScaler.h"
#include "widgets/RangeInstrument.h"
#include "widgets/TAnalogDisplay.h"
#include "widgets/TAngularGauge.h"
#include "widgets/TLedBar.h"
#include "widgets/TLedRound.h"
#include "widgets/TOdometer.h"
#include "widgets/TSevenSegmentAnalog.h"
#include "widgets/TThermometer.h"

namespace vekaton {
namespace {

struct ScaledPage {
    QWidget page;
    std::vector<InstrumentWidget*> items;
    PageScaler scaler{&page};

    ScaledPage() {
        page.resize(800, 480);
        const auto add = [this](InstrumentWidget* item, int x, int y, int w, int h) {
            item->setParent(&page);
            item->setGeometry(x, y, w, h);
            items.push_back(item);
        };
        for (int i = 0; i < 6; ++i) {  // a row of six dials
            add(new TAngularGauge, 8 + (i % 3) * 160, 8 + (i / 3) * 160, 150, 150);
        }
        for (int i = 0; i < 3; ++i) {
            add(new TThermometer, 500 + i * 60, 8, 55, 200);
        }
        for (int i = 0; i < 3; ++i) {
            add(new TSevenSegmentAnalog, 500 + (i % 2) * 150, 220 + (i / 2) * 60, 140, 50);
        }
        for (int i = 0; i < 3; ++i) {
            add(new TAnalogDisplay, 8 + i * 160, 330, 150, 44);
        }
        for (int i = 0; i < 3; ++i) {
            add(new TLedRound, 8 + i * 40, 390, 30, 30);
        }
        add(new TLedBar, 150, 390, 330, 30);
        add(new TOdometer, 500, 400, 290, 72);
        page.resize(1920, 1080);
        scaler.SetEnabled(true);
    }

    void Drive(int step) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            const double value = 50 + 45 * std::sin(step * 0.07 + static_cast<double>(i));
            InstrumentWidget* item = items[i];
            if (auto* range = qobject_cast<RangeInstrument*>(item)) {
                range->SetPosition(value);
            } else if (auto* led = qobject_cast<TLedRound*>(item)) {
                led->SetActive(value > 50);
            } else {
                item->SetProperty("Value", PropertyValue::Float(value));
                item->SetProperty("Position", PropertyValue::Float(value));
            }
        }
    }
};

void RunFrames(benchmark::State& state, ScaledPage& page) {
    QImage screen(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    page.page.render(&screen);  // the backgrounds are drawn once
    int step = 0;
    for (auto _ : state) {
        page.Drive(++step);
        page.page.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.counters["scale"] = page.scaler.Fit().scale;
}

void BM_ScaledPageOf20Day(benchmark::State& state) {
    ScaledPage page;
    RunFrames(state, page);
}
BENCHMARK(BM_ScaledPageOf20Day)->Unit(benchmark::kMillisecond);

void BM_ScaledPageOf20Night(benchmark::State& state) {
    ScaledPage page;
    ApplyNightColours(&page.page, NightColours{true, NightTint::Amber, 0.6});
    RunFrames(state, page);
}
BENCHMARK(BM_ScaledPageOf20Night)->Unit(benchmark::kMillisecond);

void BM_ScaledPageOf20AllWarning(benchmark::State& state) {
    ScaledPage page;
    for (InstrumentWidget* item : page.items) {
        item->SetWarningLevel(WarningLevel::Warning);
    }
    RunFrames(state, page);
}
BENCHMARK(BM_ScaledPageOf20AllWarning)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vekaton

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
