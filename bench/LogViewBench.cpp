// The log viewer with a 100 MB data log: the time from "open" until the whole log is drawn (the
// same path as File > Open Data Log, progress steps included), the memory it takes per byte of
// log, and the redraw after scrolling and zooming it. Offscreen; reported, never asserted.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>

#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/logview/LogViewer.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

constexpr std::size_t kLogBytes = 100u * 1000u * 1000u;
constexpr int kHeader = 3;
constexpr int kData = 63;
constexpr std::size_t kRecord = kHeader + kData + 1;  // 67 bytes, as the real capture's

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// A set like the real module's (3 header bytes, 63 data bytes, a checksum) with formulas at
// many positions, and a 100 MB log of frames that change the way a drive does.
struct LogFixture {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    QString log;

    LogFixture() {
        QDir::setCurrent(dir.path());
        QFile ini(dir.filePath("Default.Ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(
            "ComPort=0\r\nBaudRate=8192\r\nSampleRate=110\r\nRequestString=$f4 $57 $01 $00 "
            "$b4\r\nResponseBytes=3\r\n# Bytes of Data=63\r\nUse CheckSum=TRUE\r\n"
            "RequestEchoed=TRUE\r\nAutoRun=FALSE\r\nSyncMode=2\r\nSyncTime=500\r\n"
            "StartCommand=\r\nStopCommand=\r\nPortName=Simulated ECM\r\n");
        QFile cfg(dir.filePath("Default.cfg"));
        cfg.open(QIODevice::WriteOnly);
        QByteArray text;
        for (int p = 1; p <= kData; ++p) {
            if (p == 20) {
                text += "20,1,1,0,Closed loop\r\n20,1,1,3,Engine running\r\n";
            } else if (p == 4) {
                text += "4,2,0,Engine speed,A*256+B\r\n";
            } else if (p != 5) {
                text += QByteArray::number(p) + ",1,0,Value " + QByteArray::number(p) +
                        ",A*0.75-40\r\n";
            }
        }
        cfg.write(text + "END\r\n");

        log = dir.filePath("drive.Dat");
        std::ofstream out(log.toStdString(), std::ios::binary);
        out.put(110).put(0);
        std::vector<char> record(kRecord);
        const std::size_t frames = (kLogBytes - 2) / kRecord;
        for (std::size_t f = 0; f < frames; ++f) {
            record[0] = '\xF4';
            record[1] = '\x95';
            record[2] = '\x01';
            unsigned sum = 0xF4 + 0x95 + 0x01;
            const double t = static_cast<double>(f) * 0.11;
            for (int i = 0; i < kData; ++i) {
                const auto b = static_cast<unsigned char>(
                    128 + 100 * std::sin(t * (0.05 + i * 0.013)) + ((f * 7 + i) % 5));
                record[static_cast<std::size_t>(kHeader + i)] = static_cast<char>(b);
                sum += b;
            }
            record[kRecord - 1] = static_cast<char>((256 - (sum & 0xFF)) & 0xFF);
            out.write(record.data(), static_cast<std::streamsize>(record.size()));
        }
    }
    ~LogFixture() { QDir::setCurrent(previous); }
};

LogFixture& Fixture() {
    static LogFixture fixture;
    return fixture;
}

void ChooseChannels(MainWindow& window) {
    // No question may wait for an answer that never comes.
    window.SetPortPrompt([](const QString&, LinkSettings&) { return false; });
    window.Rooms().graphs.RebuildChannelChoices(window.Rooms().session.Table());
    for (const int position : {1, 2, 3, 4, 6, 7, 8, 9}) {
        window.Rooms().graphs.ChooseChannel(position, 0);
    }
    window.Rooms().graphs.ChooseChannel(20, 3);
}

void BM_OpenHundredMegabyteLog(benchmark::State& state) {
    LogFixture& fixture = Fixture();
    const double logBytes = static_cast<double>(QFile(fixture.log).size());
    double bytesPerLogByte = 0;
    for (auto _ : state) {
        MainWindow window;
        window.resize(1366, 768);
        ChooseChannels(window);
        TStripChart& chart = *window.Rooms().graphs.Chart();
        chart.resize(1000, 560);
        QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
        const std::size_t before = ResidentBytes();
        const auto start = std::chrono::steady_clock::now();
        if (!window.Rooms().logView.Open(fixture.log)) {
            state.SkipWithError("the log did not open");
            return;
        }
        chart.render(&image);  // drawn whole
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        bytesPerLogByte = static_cast<double>(ResidentBytes() - before) / logBytes;
        state.counters["frames"] = static_cast<double>(window.Rooms().logView.Log().RecordCount());
        state.counters["chart_bytes_per_log_byte"] =
            static_cast<double>(chart.Data().MemoryBytes()) / logBytes;
        window.Rooms().logView.Close();
    }
    state.counters["log_MB"] = logBytes / 1e6;
    state.counters["rss_bytes_per_log_byte"] = bytesPerLogByte;
}
BENCHMARK(BM_OpenHundredMegabyteLog)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

// The window kept open across the redraw benchmarks.
struct OpenLog {
    MainWindow window;
    OpenLog() {
        window.resize(1366, 768);
        ChooseChannels(window);
        window.Rooms().graphs.Chart()->resize(1000, 560);
        window.Rooms().logView.Open(Fixture().log);
    }
};

OpenLog& Opened() {
    static OpenLog open;
    return open;
}

void BM_ScrollWholeLogRedraw(benchmark::State& state) {
    TStripChart& chart = *Opened().window.Rooms().graphs.Chart();
    const double end = *chart.Data().LastX();
    const double width = end * static_cast<double>(state.range(0)) / 100.0;
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    double left = 0;
    for (auto _ : state) {
        left += width / 10;
        if (left + width > end) {
            left = 0;
        }
        chart.SetViewWindow(left, left + width);
        chart.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["window_percent"] = static_cast<double>(state.range(0));
}
// A window of the whole log (the worst case: every sample in view), a tenth, a hundredth.
BENCHMARK(BM_ScrollWholeLogRedraw)->Arg(100)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ZoomRedraw(benchmark::State& state) {
    TStripChart& chart = *Opened().window.Rooms().graphs.Chart();
    const double end = *chart.Data().LastX();
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    chart.SetViewWindow(0, end);
    int step = 0;
    for (auto _ : state) {
        // In and out about the middle, as the wheel does.
        chart.ZoomX(step++ % 20 < 10 ? 0.8 : 1.25, end / 2);
        chart.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ZoomRedraw)->Unit(benchmark::kMillisecond);

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
