#include "app/logview/LogViewer.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QScrollBar>
#include <algorithm>

#include "app/AppTexts.h"
#include "app/GraphsPage.h"
#include "app/WindowCaption.h"
#include "app/logview/LogExport.h"
#include "app/logview/LogViewBar.h"
#include "engine/Engine.h"
#include "log/LogReplay.h"
#include "log/LogScan.h"
#include "set/ConfigurationSet.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

// Records decoded between two looks at the progress bar: a few milliseconds of work.
constexpr std::int64_t kRecordsPerStep = 8192;
// The live chart's own capacity, given back when the log is closed.
constexpr std::size_t kLiveCapacity = 4'000'000;

}  // namespace

LogViewer::LogViewer(const Parts& parts, std::function<void(const QString&)> post)
    : QObject(&parts.window),
      parts_(parts),
      post_(std::move(post)),
      decoder_(parts.decoder.Table(), formulas_) {
    decoder_.SetChart(&parts_.graphs.Store());
    decoder_.SetDispatchEnabled(false);  // the pass draws; only the cursor's frame moves gauges
    decoder_.SetMessageHandler([this](const DecoderMessage& message) {
        QString text = QString::fromStdString(message.text);
        if (!message.informative.empty()) {
            text += "\n\n" + QString::fromStdString(message.informative);
        }
        post_(text);
    });
    bar_ = new LogViewBar;
    bar_->hide();
    parts_.graphs.AddBar(bar_);
    TStripChart* chart = parts_.graphs.Chart();
    connect(chart, &TStripChart::cursorsChanged, this, &LogViewer::CursorsChanged);
    connect(chart, &TStripChart::viewChanged, this, &LogViewer::ViewChanged);
    connect(bar_, &LogViewBar::closeClicked, this, &LogViewer::Close);
    connect(bar_, &LogViewBar::scrolled, this, &LogViewer::Scrolled);
    connect(bar_, &LogViewBar::playClicked, this, &LogViewer::PlayFromCursor);
    connect(bar_, &LogViewBar::exportClicked, this, &LogViewer::ExportClicked);
}

LogViewer::~LogViewer() = default;

void LogViewer::OpenClicked() {
    QString path;
    if (chooseFile_) {
        path = chooseFile_();
    } else {
        path = QFileDialog::getOpenFileName(&parts_.window, tr("Open Data Log"),
                                            QString::fromStdString(parts_.set.Folder().string()),
                                            texts::kDataLogFilter);
    }
    if (!path.isEmpty()) {
        Open(path);
    }
}

void LogViewer::ExportClicked() {
    if (!IsOpen()) {
        post_(
            tr("Open a data log first (File > Open Data Log...): Export CSV writes the log "
               "being viewed."));
        return;
    }
    QString path;
    if (chooseExport_) {
        path = chooseExport_();
    } else {
        const QFileInfo log(path_);
        path = QFileDialog::getSaveFileName(&parts_.window, tr("Export CSV"),
                                            log.dir().filePath(log.completeBaseName() + ".csv"),
                                            tr("CSV Files (*.csv);;All Files (*)"));
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
            path += ".csv";
        }
    }
    if (!path.isEmpty()) {
        ExportCsv(path);
    }
}

bool LogViewer::ExportCsv(const QString& path) {
    if (!IsOpen()) {
        return false;
    }
    QString error;
    const ExportOutcome outcome =
        ExportLogCsv(&parts_.window, log_, layout_, parts_.decoder.Table(), &parts_.details, path,
                     &error, cancelCheck_);
    if (outcome == ExportOutcome::Failed) {
        post_(error);
    } else if (outcome == ExportOutcome::Written) {
        bar_->ShowNote(tr("Written to %1").arg(QFileInfo(path).fileName()));
    }
    return outcome == ExportOutcome::Written;
}

double LogViewer::TimeOf(std::int64_t frame) const {
    return static_cast<double>(frame) * intervalMs_ / 1000.0;
}

bool LogViewer::Open(const QString& path) {
    Engine& engine = parts_.engine;
    if (engine.Recording()) {
        post_(tr("Stop recording before opening a data log."));
        return false;
    }
    Close();
    engine.StopPlayback();
    if (engine.Running()) {
        engine.PauseClick();
    }
    layout_ = RecordLayout::From(engine.Settings());
    if (auto error = log_.Open(path.toStdString(), layout_.Size())) {
        post_(QString::fromStdString(*error));
        return false;
    }
    if (log_.RecordCount() == 0) {
        const QString why =
            log_.TrailingBytes() > 0
                ? tr("\"%1\" holds no whole record: it has %2 bytes after its header, and a "
                     "record is %3 bytes with this set's settings.")
                      .arg(path)
                      .arg(log_.TrailingBytes())
                      .arg(log_.RecordSize())
                : tr("\"%1\" holds no frames.").arg(path);
        log_.Close();
        post_(why);
        return false;
    }
    path_ = path;
    intervalMs_ = log_.IntervalMs() > 0 ? log_.IntervalMs() : engine.Settings().sampleRate;
    liveState_ = parts_.decoder.SaveState();
    engine.SetFileViewMode(true);
    TStripChart* chart = parts_.graphs.Chart();
    parts_.graphs.Store().SetCapacity(
        std::max<std::size_t>(kLiveCapacity, static_cast<std::size_t>(log_.RecordCount()) + 16));
    if (!DecodeAll()) {
        Close();
        return false;
    }
    const double end = TimeOf(log_.RecordCount() - 1);
    const std::pair<double, double> whole{0.0, std::max(end, intervalMs_ / 1000.0)};
    chart->SetHomeWindow(whole);
    chart->ResetView();
    parts_.graphs.SetRecordEnabled(false);
    parts_.caption.ShowFile(path);
    bar_->ShowLog(QFileInfo(path).fileName(), log_.RecordCount(), TimeOf(log_.RecordCount()));
    bar_->ShowWarning(warning_);
    ShowCursorText();
    ViewChanged();
    bar_->show();
    if (!warning_.isEmpty()) {
        post_(tr("\"%1\" does not fit this configuration set.\n\n%2")
                  .arg(QFileInfo(path).fileName(), warning_));
    }
    emit opened();
    return true;
}

bool LogViewer::DecodeAll() {
    GraphsPage& graphs = parts_.graphs;
    TStripChart* chart = graphs.Chart();
    ChartStore& store = graphs.Store();
    const auto cursorA = CursorFrame();
    const auto cursorB = chart->Cursor(TStripChart::kCursorB);
    const std::int64_t cursorFrameB = cursorB ? *cursorB - firstSample_ : -1;
    const bool keepWindow = !chart->Following() && chart->Data().SampleCount() > 0;
    const double left = chart->ViewLeft();
    const double right = chart->ViewRight();

    replay_ = std::make_unique<LogReplay>(log_, layout_, parts_.decoder.Table());
    decoder_.SetRawMode(parts_.decoder.RawMode());
    LogScan scan(log_, *replay_, layout_, decoder_);
    scan.SetDefaultInterval(intervalMs_);
    graphs.ClearChart();
    store.Reserve(static_cast<std::size_t>(log_.RecordCount()));

    QProgressDialog progress(tr("Reading %1...").arg(QFileInfo(path_).fileName()), tr("Cancel"), 0,
                             1000, &parts_.window);
    progress.setWindowTitle(tr("Open Data Log"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    std::int64_t first = -1;
    const LogScan::AddSample addSample = [&](double seconds) {
        const std::int64_t sample = store.AddSample(seconds);
        if (first < 0) {
            first = sample;
        }
        return sample;
    };
    bool cancelled = false;
    store.BeginUpdate();
    while (!scan.Finished()) {
        scan.Step(kRecordsPerStep, addSample);
        progress.setValue(
            static_cast<int>(scan.Done() * 1000 / std::max<std::int64_t>(scan.Total(), 1)));
        QApplication::processEvents();
        if (progress.wasCanceled() || (cancelCheck_ && cancelCheck_(scan.Done()))) {
            cancelled = true;
            break;
        }
    }
    store.EndUpdate();
    progress.reset();
    if (cancelled) {
        return false;
    }
    if (scan.Error()) {
        post_(tr("Reading \"%1\" stopped at frame %2: %3")
                  .arg(path_)
                  .arg(scan.Done() + 1)
                  .arg(QString::fromStdString(*scan.Error())));
        return false;
    }
    firstSample_ = first;
    const auto warning = LogFitWarning(log_.TrailingBytes(), log_.RecordSize(), scan.Done(),
                                       scan.BadChecksums(), layout_.useCheckSum);
    warning_ = warning ? QString::fromStdString(*warning) : QString();
    if (keepWindow) {
        chart->SetViewWindow(left, right);
    }
    if (cursorFrameB >= 0) {
        chart->SetCursor(TStripChart::kCursorB, firstSample_ + cursorFrameB);
    }
    if (cursorA >= 0) {
        SetCursorFrame(cursorA);
    }
    return true;
}

bool LogViewer::Redraw() {
    if (!IsOpen()) {
        return false;
    }
    if (!DecodeAll()) {
        Close();
        return false;
    }
    return true;
}

void LogViewer::Close() {
    if (!IsOpen()) {
        return;
    }
    log_.Close();
    replay_.reset();
    path_.clear();
    warning_.clear();
    Engine& engine = parts_.engine;
    engine.SetFileViewMode(false);
    parts_.decoder.RestoreState(liveState_);
    TStripChart* chart = parts_.graphs.Chart();
    parts_.graphs.ClearChart();
    parts_.graphs.Store().SetCapacity(kLiveCapacity);
    chart->SetHomeWindow(std::nullopt);
    chart->ResetView();
    parts_.graphs.SetRecordEnabled(true);
    parts_.caption.ShowBase();
    bar_->hide();
    emit closed();
    emit cursorFrameChanged(-1);
}

std::int64_t LogViewer::CursorFrame() const {
    if (!IsOpen()) {
        return -1;
    }
    const auto cursor = parts_.graphs.Chart()->Cursor(TStripChart::kCursorA);
    return cursor ? *cursor - firstSample_ : -1;
}

void LogViewer::SetCursorFrame(std::int64_t frame) {
    if (!IsOpen()) {
        return;
    }
    frame = std::clamp<std::int64_t>(frame, 0, log_.RecordCount() - 1);
    parts_.graphs.Chart()->SetCursor(TStripChart::kCursorA, firstSample_ + frame);
}

void LogViewer::CursorsChanged() {
    if (!IsOpen() || replay_ == nullptr) {
        return;
    }
    ShowCursorText();
    const std::int64_t frame = CursorFrame();
    if (frame < 0 || frame >= log_.RecordCount()) {
        emit cursorFrameChanged(-1);
        return;
    }
    // The frame's values as playing the log from its start gives them.
    std::string error;
    const auto state = replay_->StateAt(frame, error);
    if (!state || !log_.ReadRecord(frame, record_, error)) {
        post_(tr("Reading \"%1\" failed: %2").arg(path_, QString::fromStdString(error)));
        return;
    }
    Decoder& decoder = parts_.decoder;
    decoder.RestoreState(*state);
    FeedRecordBytes(decoder, record_, layout_);
    emit cursorFrameChanged(frame);
}

void LogViewer::ShowCursorText() {
    const TStripChart* chart = parts_.graphs.Chart();
    QStringList parts;
    for (const int which : {TStripChart::kCursorA, TStripChart::kCursorB}) {
        if (const auto cursor = chart->Cursor(which)) {
            const std::int64_t frame = *cursor - firstSample_;
            parts << tr("%1: frame %2")
                         .arg(which == TStripChart::kCursorA ? "A" : "B")
                         .arg(frame + 1);
        }
    }
    bar_->ShowCursor(parts.isEmpty() ? tr("Click the chart to read a frame") : parts.join("   "));
}

void LogViewer::ViewChanged() {
    if (!IsOpen() || intervalMs_ <= 0) {
        return;
    }
    const TStripChart* chart = parts_.graphs.Chart();
    const double interval = intervalMs_ / 1000.0;
    const auto first = static_cast<std::int64_t>(std::max(0.0, chart->ViewLeft() / interval));
    const auto visible =
        static_cast<std::int64_t>((chart->ViewRight() - chart->ViewLeft()) / interval);
    bar_->ShowWindow(first, visible, log_.RecordCount());
}

void LogViewer::Scrolled(std::int64_t first) {
    TStripChart* chart = parts_.graphs.Chart();
    const double width = chart->ViewRight() - chart->ViewLeft();
    const double left = TimeOf(first);
    chart->SetViewWindow(left, left + width);
}

void LogViewer::PlayFromCursor() {
    if (!IsOpen()) {
        return;
    }
    const QString path = path_;
    const std::int64_t frame = std::max<std::int64_t>(CursorFrame(), 0);
    emit playRequested(path, frame);
}

}  // namespace vekaton
