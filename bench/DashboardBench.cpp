// One frame of 64 positions decoded and dispatched to 40 instruments bound on a dashboard page,
// then the page repainted offscreen, as the window does for every frame it receives.
#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/dashboard/DashboardPage.h"
#include "app/dashboard/DashboardView.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/ItemDefaults.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"

namespace vekaton {
namespace {

constexpr int kPositions = 64;
constexpr int kInstruments = 40;

// A page of 40 instruments bound to a frame of 64 positions: 16 dials, 8 thermometers, 6 LED
// displays, 6 numerical displays (two holding their maximum) and 4 LEDs on a flag byte.
struct BoundPage {
    ParameterTable table;
    FormulaFrontEnd formulas;
    DashboardModel model;
    Decoder decoder{table, formulas};
    DashboardPage page{0};
    std::unique_ptr<DashboardView> view;

    BoundPage() {
        for (int p = 1; p <= kPositions; ++p) {
            ParameterRecord& record = table.At(p);
            record.Descriptions[0] = "Value " + std::to_string(p);
            record.SetFormula(p % 3 == 0 ? "A/2.55" : "A*0.75-40");
        }
        table.At(10).ByteCount = 2;
        table.At(10).SetFormula("A*256+B");
        table.At(64).IsDigital = true;
        decoder.SetItems(&model);
        page.resize(1300, 900);
        view = std::make_unique<DashboardView>(model, std::vector<DashboardPage*>{&page});

        const struct {
            ItemKind kind;
            int count;
            int width;
            int height;
        } kinds[] = {
            {ItemKind::AngularGauge, 16, 160, 160},
            {ItemKind::Thermometer, 8, 70, 200},
            {ItemKind::SevenSegmentAnalog, 6, 120, 48},
            {ItemKind::AnalogDisplay, 6, 140, 44},
            {ItemKind::LedRound, 4, 15, 15},
        };
        int n = 0;
        int x = 0;
        int y = 0;
        int rowHeight = 0;
        for (const auto& kind : kinds) {
            for (int i = 0; i < kind.count; ++i, ++n) {
                const int id = *model.AddItem(kind.kind, 0);
                const int movable = view->MovableItem(id);
                if (x + kind.width > 1300) {
                    x = 0;
                    y += rowHeight;
                    rowHeight = 0;
                }
                PropertyBag bag = model.Find(movable)->properties;
                PutGeometry(bag, {x, y, kind.kind == ItemKind::LedRound ? 120 : kind.width,
                                  kind.kind == ItemKind::LedRound ? 17 : kind.height});
                model.SetProperties(movable, bag);
                x += kind.kind == ItemKind::LedRound ? 120 : kind.width;
                rowHeight = std::max(rowHeight, kind.height);
                if (kind.kind == ItemKind::AngularGauge) {
                    model.SetProperty(
                        id, "Maximum",
                        PropertyValue::Float(kind.count == 16 && i == 0 ? 8000 : 200));
                }
                const int position = kind.kind == ItemKind::LedRound ? 64 : 1 + (n * 7) % 60;
                decoder.BindItem(id, position);
                if (kind.kind == ItemKind::LedRound) {
                    model.SetBinding(id, {64, i, 0});
                }
                if (kind.kind == ItemKind::AnalogDisplay && i < 2) {
                    model.SetHoldMode(id, kHoldMax);
                }
            }
        }
        decoder.BindItem(model.LiveIds().front(), 10);
    }

    void Frame(int step) {
        decoder.StartFrame();
        for (int p = 1; p <= kPositions; ++p) {
            const double wave = 0.5 + 0.45 * std::sin(step * 0.07 + p * 0.5);
            decoder.DecodeByte(p, static_cast<std::uint8_t>(wave * 255.0));
        }
    }
};

void BM_FrameOf64To40InstrumentsRepainted(benchmark::State& state) {
    BoundPage bench;
    QImage image(bench.page.size(), QImage::Format_ARGB32_Premultiplied);
    bench.page.render(&image);  // backgrounds cached, as after the first paint on screen
    int step = 0;
    for (auto _ : state) {
        bench.Frame(++step);
        bench.page.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["instruments"] = static_cast<double>(bench.model.LiveIds().size() - 4);
}
BENCHMARK(BM_FrameOf64To40InstrumentsRepainted)->Unit(benchmark::kMillisecond);

// The dispatch alone: what a frame costs before anything is painted.
void BM_FrameOf64To40InstrumentsDispatch(benchmark::State& state) {
    BoundPage bench;
    int step = 0;
    for (auto _ : state) {
        bench.Frame(++step);
    }
}
BENCHMARK(BM_FrameOf64To40InstrumentsDispatch)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vekaton

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
