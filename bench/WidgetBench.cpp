// Repaint cost of the instruments, offscreen: one angular gauge with its background cached,
// a page of 50 instruments of mixed kinds at 200 x 200 with changing values, and a strip
// chart window holding a million points.
#include "widgets/TAnalogDisplay.h"
#include "widgets/TAngularGauge.h"
#include "widgets/TLedBar.h"
#include "widgets/TLedRound.h"
#include "widgets/TOdometer.h"
#include "widgets/TSevenSegmentAnalog.h"
#include "widgets/TStripChart.h"
#include "widgets/TThermometer.h"

#include <QApplication>
#include <QGridLayout>
#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace vekaton {
namespace {

constexpr int kPageSize = 50;

void Tachometer(TAngularGauge& gauge) {
    gauge.SetMaximum(8000);
    gauge.SetMajorTicks(8);
    gauge.SetCaption("Engine");
    gauge.SetUnits("rpm");
    gauge.SetSection(1, 0, 5500, RgbColour(0, 170, 60));
    gauge.SetSection(2, 5500, 6500, RgbColour(255, 190, 0));
    gauge.SetSection(3, 6500, 8000, RgbColour(230, 20, 20));
}

// Sets a widget's live value to a fraction (0 to 1) of its range.
void Drive(InstrumentWidget& widget, double fraction) {
    if (auto* gauge = dynamic_cast<RangeInstrument*>(&widget)) {
        gauge->SetPosition(gauge->Minimum() + fraction * (gauge->Maximum() - gauge->Minimum()));
    } else if (auto* segments = dynamic_cast<TSevenSegmentAnalog*>(&widget)) {
        segments->SetValue(fraction * 100.0);
    } else if (auto* display = dynamic_cast<TAnalogDisplay*>(&widget)) {
        display->SetValue(fraction * 20.0);
    } else if (auto* odometer = dynamic_cast<TOdometer*>(&widget)) {
        odometer->SetValue(odometer->Value() + fraction);
    } else if (auto* bar = dynamic_cast<TLedBar*>(&widget)) {
        bar->SetPosition(fraction * 100.0);
    } else if (auto* led = dynamic_cast<TLedRound*>(&widget)) {
        led->SetActive(fraction > 0.5);
    }
}

// A dashboard page: 10 x 5 instruments of 200 x 200, most of them dials.
struct Page {
    QWidget window;
    std::vector<InstrumentWidget*> widgets;

    Page() {
        auto* grid = new QGridLayout(&window);
        grid->setSpacing(0);
        grid->setContentsMargins(0, 0, 0, 0);
        for (int i = 0; i < kPageSize; ++i) {
            InstrumentWidget* widget = nullptr;
            switch (i % 10) {
                case 0:
                case 1:
                case 2:
                case 3: {
                    auto* gauge = new TAngularGauge;
                    Tachometer(*gauge);
                    widget = gauge;
                    break;
                }
                case 4:
                case 5:
                    widget = new TThermometer;
                    break;
                case 6:
                    widget = new TSevenSegmentAnalog;
                    break;
                case 7:
                    widget = new TAnalogDisplay;
                    break;
                case 8:
                    widget = i % 20 == 8 ? static_cast<InstrumentWidget*>(new TOdometer)
                                         : static_cast<InstrumentWidget*>(new TLedBar);
                    break;
                default:
                    widget = new TLedRound;
                    break;
            }
            widget->setFixedSize(200, 200);
            grid->addWidget(widget, i / 10, i % 10);
            widgets.push_back(widget);
        }
        window.show();
        QApplication::processEvents();
    }
};

// Sets this many repaints per iteration as the reported unit: time per widget repaint.
void ReportPerWidget(benchmark::State& state, int repaintsPerIteration) {
    state.counters["per_widget_repaint"] =
        benchmark::Counter(repaintsPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

void BM_AngularGaugeRepaintCached(benchmark::State& state) {
    TAngularGauge gauge;
    Tachometer(gauge);
    gauge.resize(200, 200);
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    gauge.render(&image);  // builds the cached background
    int step = 0;
    for (auto _ : state) {
        gauge.SetPosition((step++ * 37) % 8000);
        gauge.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["background_builds"] = gauge.StaticCacheBuilds();
}
BENCHMARK(BM_AngularGaugeRepaintCached)->Unit(benchmark::kMicrosecond);

void BM_AngularGaugeRepaintUncached(benchmark::State& state) {
    TAngularGauge gauge;
    Tachometer(gauge);
    gauge.resize(200, 200);
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        // A different maximum every time forces the background to be drawn again.
        gauge.SetMaximum(8000 + (step++ % 2));
        gauge.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_AngularGaugeRepaintUncached)->Unit(benchmark::kMicrosecond);

// The whole page is repainted through the window's backing store, as on screen.
void BM_PageOf50MixedRepaint(benchmark::State& state) {
    Page page;
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (size_t i = 0; i < page.widgets.size(); ++i) {
            Drive(*page.widgets[i], 0.5 + 0.5 * std::sin(step * 0.1 + static_cast<double>(i)));
        }
        page.window.repaint();
    }
    ReportPerWidget(state, kPageSize);
}
BENCHMARK(BM_PageOf50MixedRepaint)->Unit(benchmark::kMillisecond);

// Each instrument of the page rendered on its own into an image.
void BM_PageOf50MixedRender(benchmark::State& state) {
    Page page;
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (size_t i = 0; i < page.widgets.size(); ++i) {
            Drive(*page.widgets[i], 0.5 + 0.5 * std::sin(step * 0.1 + static_cast<double>(i)));
            page.widgets[i]->render(&image);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    ReportPerWidget(state, kPageSize);
}
BENCHMARK(BM_PageOf50MixedRender)->Unit(benchmark::kMillisecond);

// Storing values is what happens per received byte: it must cost next to nothing.
void BM_SetPositionWithoutPainting(benchmark::State& state) {
    TAngularGauge gauge;
    Tachometer(gauge);
    int step = 0;
    for (auto _ : state) {
        gauge.SetPosition(step++ % 8000);
    }
}
BENCHMARK(BM_SetPositionWithoutPainting);

void FillChart(TStripChart& chart, int channels, int points) {
    for (int c = 0; c < channels; ++c) {
        chart.AddChannel({"Channel " + std::to_string(c)});
    }
    for (int i = 0; i < points; ++i) {
        const double t = i * 1e-3;
        const auto sample = chart.Store().AddSample(t);
        for (int c = 0; c < channels; ++c) {
            chart.Store().AddPoint(
                c, sample, 128 + 100 * std::sin(t * (0.3 + c * 0.2)) + 20 * std::sin(t * 37.0));
        }
    }
    chart.SetWindowSeconds(points * 1e-3);  // every point inside the window
}

void BM_StripChartMillionPointWindow(benchmark::State& state) {
    const int channels = static_cast<int>(state.range(0));
    TStripChart chart;
    chart.resize(800, 400);
    FillChart(chart, channels, 1'000'000);
    QImage image(800, 400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        chart.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points_per_channel"] = 1'000'000;
}
BENCHMARK(BM_StripChartMillionPointWindow)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_StripChartDecimateMillion(benchmark::State& state) {
    StripChartData data;
    data.AddChannel({"A"});
    for (int i = 0; i < 1'000'000; ++i) {
        data.AddPoint(0, data.AddSample(i * 1e-3), std::sin(i * 1e-3));
    }
    DecimatedTrace trace;
    for (auto _ : state) {
        data.Decimate(0, 0.0, 1000.0, 760, trace);
        benchmark::DoNotOptimize(trace.columns.data());
    }
}
BENCHMARK(BM_StripChartDecimateMillion)->Unit(benchmark::kMillisecond);

// One frame's worth of chart work: a sample and a point per channel in an update batch.
void BM_StripChartAddFrame(benchmark::State& state) {
    TStripChart chart;
    for (int c = 0; c < 8; ++c) {
        chart.AddChannel({"Channel " + std::to_string(c)});
    }
    chart.Store().SetCapacity(1'000'000);
    double t = 0;
    for (auto _ : state) {
        chart.Store().BeginUpdate();
        const auto sample = chart.Store().AddSample(t += 0.05);
        for (int c = 0; c < 8; ++c) {
            chart.Store().AddPoint(c, sample, c * 10.0);
        }
        chart.Store().EndUpdate();
    }
}
BENCHMARK(BM_StripChartAddFrame);

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
