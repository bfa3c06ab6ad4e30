#include "app/logview/LogWarnings.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <algorithm>
#include <sstream>

#include "app/GraphsPage.h"
#include "app/car/WarningTiming.h"
#include "app/logview/LogViewBar.h"
#include "app/logview/LogViewer.h"
#include "files/SafeFile.h"
#include "log/DataLogFile.h"
#include "warnings/WarningEventsCsv.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

constexpr std::int64_t kRecordsPerStep = 8192;

}  // namespace

std::vector<FrameSpan> JoinedSpans(const std::vector<WarningSpans>& spans) {
    std::vector<FrameSpan> all;
    for (const WarningSpans& value : spans) {
        all.insert(all.end(), value.spans.begin(), value.spans.end());
    }
    std::sort(all.begin(), all.end(), [](const FrameSpan& a, const FrameSpan& b) {
        return a.first < b.first || (a.first == b.first && a.last < b.last);
    });
    std::vector<FrameSpan> joined;
    for (const FrameSpan& span : all) {
        if (!joined.empty() && span.first <= joined.back().last + 1) {
            joined.back().last = std::max(joined.back().last, span.last);
        } else {
            joined.push_back(span);
        }
    }
    return joined;
}

LogWarnings::LogWarnings(const Parts& parts, std::function<void(const QString&)> post)
    : QObject(&parts.window), parts_(parts), post_(std::move(post)) {
    connect(&parts_.viewer, &LogViewer::decoded, this, &LogWarnings::Scan);
    connect(&parts_.viewer, &LogViewer::closed, this, &LogWarnings::Clear);
}

void LogWarnings::Clear() {
    shaded_.clear();
    events_.clear();
    parts_.graphs.Chart()->SetShadedSpans({});
}

bool LogWarnings::Scan() {
    Clear();
    const LogViewer& viewer = parts_.viewer;
    if (!viewer.IsOpen()) {
        return false;
    }
    const RecordLayout& layout = viewer.Layout();
    const WarningSettings timing = LoadWarningTiming();
    if (WarningWatches(parts_.table, parts_.details, layout.dataBytes, timing).empty()) {
        return true;  // nothing has limits: nothing to read the log for
    }
    // A reader of its own: the viewer's stays where its cursor is.
    DataLogFile log;
    if (const auto error = log.Open(viewer.Path().toStdString(), layout.Size())) {
        post_(tr("The warnings of the log could not be read: %1")
                  .arg(QString::fromStdString(*error)));
        return false;
    }
    LogWarningScan scan(log, layout, parts_.table, parts_.details, timing);
    QProgressDialog progress(
        tr("Looking for warnings in %1...").arg(QFileInfo(viewer.Path()).fileName()), tr("Cancel"),
        0, 1000, &parts_.window);
    progress.setWindowTitle(tr("Open Data Log"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    while (scan.Step(kRecordsPerStep)) {
        progress.setValue(
            static_cast<int>(scan.Done() * 1000 / std::max<std::int64_t>(scan.Total(), 1)));
        QApplication::processEvents();
        if (progress.wasCanceled() || (cancelCheck_ && cancelCheck_(scan.Done()))) {
            return false;  // no shading rather than half of it
        }
    }
    progress.reset();
    if (scan.ReadError()) {
        post_(tr("The warnings of the log could not be read: %1")
                  .arg(QString::fromStdString(*scan.ReadError())));
        return false;
    }
    shaded_ = JoinedSpans(scan.Spans());
    events_ = scan.Events();
    Shade();
    return true;
}

void LogWarnings::Shade() {
    const std::int64_t first = parts_.viewer.FirstSample();
    std::vector<TStripChart::SampleSpan> samples;
    samples.reserve(shaded_.size());
    for (const FrameSpan& span : shaded_) {
        samples.emplace_back(first + span.first - 1, first + span.last - 1);
    }
    parts_.graphs.Chart()->SetShadedSpans(std::move(samples));
}

void LogWarnings::ExportClicked() {
    if (!parts_.viewer.IsOpen()) {
        post_(
            tr("Open a data log first (File > Open Data Log...): the warning events are those "
               "of the log being viewed."));
        return;
    }
    QString path;
    if (chooseExport_) {
        path = chooseExport_();
    } else {
        const QFileInfo log(parts_.viewer.Path());
        path = QFileDialog::getSaveFileName(
            &parts_.window, tr("Export Warning Events"),
            log.dir().filePath(log.completeBaseName() + "-warnings.csv"),
            tr("CSV Files (*.csv);;All Files (*)"));
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
            path += ".csv";
        }
    }
    if (!path.isEmpty()) {
        ExportEvents(path);
    }
}

bool LogWarnings::ExportEvents(const QString& path) {
    if (!parts_.viewer.IsOpen()) {
        return false;
    }
    const QFileInfo target(path);
    if (target.exists() &&
        target.canonicalFilePath() == QFileInfo(parts_.viewer.Path()).canonicalFilePath()) {
        post_(tr("\"%1\" is the data log itself; choose another name for the list of warnings.")
                  .arg(target.fileName()));
        return false;
    }
    std::ostringstream csv;
    WriteWarningEventsCsv(csv, events_);
    if (const auto error = WriteFileAtomically(path.toStdString(), csv.str())) {
        post_(QString::fromStdString(*error));
        return false;
    }
    parts_.viewer.Bar().ShowNote(
        events_.empty()
            ? tr("No warnings: an empty list written to %1").arg(QFileInfo(path).fileName())
            : tr("%1 warning(s) written to %2")
                  .arg(events_.size())
                  .arg(QFileInfo(path).fileName()));
    return true;
}

}  // namespace vekaton
