#include "app/analysis/ViewComputation.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

#include "app/analysis/AnalysisJob.h"
#include "app/logview/LogViewer.h"
#include "engine/EngineView.h"
#include "session/Session.h"

namespace vekaton {

QString TallyText(const FrameTally& tally) {
    return QObject::tr(
               "%1 frames read, %2 used; left out: %3 by checksum, %4 by filter, %5 by "
               "settling, %6 out of range")
        .arg(tally.read)
        .arg(tally.used)
        .arg(tally.badChecksum)
        .arg(tally.filtered)
        .arg(tally.settling)
        .arg(tally.outOfRange);
}

ViewComputation::ViewComputation(AnalysisContext& context, QObject* parent)
    : QObject(parent), context_(context) {}

ViewComputation::~ViewComputation() {
    delete job_;  // cancels and waits for its thread
}

bool ViewComputation::Start(const ViewDefinition& view, QString* why) {
    Cancel();
    const Session& session = context_.session;
    const int dataBytes = view.source == ViewSource::Live || !context_.logView.IsOpen()
                              ? session.Settings().dataBytes
                              : context_.logView.Layout().dataBytes;
    const std::vector<std::string> problems = SetupProblems(view.setup, session.Table(), dataBytes);
    if (!problems.empty()) {
        QStringList lines;
        for (const std::string& problem : problems) {
            lines << QString::fromStdString(problem);
        }
        *why = lines.join('\n');
        return false;
    }
    return view.source == ViewSource::Live ? StartLive(view, why) : StartLog(view, why);
}

bool ViewComputation::StartLive(const ViewDefinition& view, QString* why) {
    const AnalysisSetup& setup = view.setup;
    const KnownEdges edges = EdgesBeforeData(setup, &context_.session.Details());
    const bool needsY = setup.kind != AnalysisKind::Histogram;
    if (!edges.x || (needsY && !edges.y)) {
        const ValueRef missing = !edges.x ? setup.x : *setup.y;
        *why = tr("Live data has no log to take the range of %1 from: type its %2 edges, or give "
                  "it a display range (min and max in the set's details file).")
                   .arg(QString::fromStdString(ValueRefName(context_.session.Table(), missing)),
                        !edges.x ? "X" : "Y");
        return false;
    }
    AccumulatorOptions options;
    options.pointCapacity = setup.kind == AnalysisKind::Scatter ? kScatterDots : 0;
    result_ = std::make_unique<FrameAccumulator>(setup, *edges.x, needsY ? edges.y : std::nullopt,
                                                 options);
    live_ = true;
    liveFrames_ = 0;
    liveCell_ = -1;
    liveChanged_ = true;
    resultLog_.clear();
    sourceText_ = tr("live data");
    return true;
}

bool ViewComputation::StartLog(const ViewDefinition& view, QString* why) {
    LogViewer& viewer = context_.logView;
    if (!viewer.IsOpen()) {
        *why = tr("Open a data log first (File > Open Data Log..., Ctrl+L), or choose live data.");
        return false;
    }
    FrameRange range;
    const QString name = QFileInfo(viewer.Path()).fileName();
    jobSource_ = name;
    if (view.source == ViewSource::Cursors) {
        const std::int64_t a = viewer.CursorFrame();
        const std::int64_t b = viewer.CursorFrameB();
        if (a < 0 || b < 0) {
            *why =
                tr("Put both cursors on the log's chart first: click for cursor A, Shift+click "
                   "for cursor B.");
            return false;
        }
        range.first = std::min(a, b);
        range.count = std::max(a, b) - range.first + 1;
        jobSource_ =
            tr("%1, frames %2 to %3").arg(name).arg(range.first + 1).arg(std::max(a, b) + 1);
    }
    AnalysisJobInput input;
    input.logPath = QFile::encodeName(viewer.Path()).toStdString();
    input.layout = viewer.Layout();
    input.table = std::make_unique<ParameterTable>(context_.session.Table());
    input.details = context_.session.Details();
    input.setup = view.setup;
    input.options.keepCellFrames = true;  // a cell's frames, for stepping through them
    input.options.pointCapacity = view.setup.kind == AnalysisKind::Scatter ? kScatterDots : 0;
    input.range = range;
    jobLog_ = viewer.Path();
    job_ = new AnalysisJob(std::move(input), this);
    connect(job_, &AnalysisJob::finished, this, &ViewComputation::JobFinished);
    return true;
}

void ViewComputation::JobFinished() {
    AnalysisJob* job = job_;
    if (job == nullptr || !job->Done()) {
        return;
    }
    job_ = nullptr;
    job->deleteLater();  // not inside its own signal
    if (job->Cancelled()) {
        emit finished(false, QString());
        return;
    }
    if (job->Error()) {
        emit finished(
            false,
            tr("Reading \"%1\" failed: %2").arg(jobLog_, QString::fromStdString(*job->Error())));
        return;
    }
    result_ = job->TakeResult();
    live_ = false;
    liveCell_ = -1;
    resultLog_ = jobLog_;
    sourceText_ = jobSource_;
    QString message;
    if (!job->Messages().empty()) {
        message = tr("Formula faults while reading: %1")
                      .arg(QString::fromStdString(job->Messages().front()));
    }
    emit finished(result_ != nullptr, message);
}

void ViewComputation::Cancel() {
    delete job_;  // its thread stops between two steps; nothing else was changed
    job_ = nullptr;
}

double ViewComputation::Progress() const {
    return job_ != nullptr ? job_->Progress() : 0.0;
}

void ViewComputation::AddFrame(const Decoder& decoder, const FrameSummary& frame) {
    if (!live_ || result_ == nullptr) {
        return;
    }
    const bool good = !frame.hasChecksum || frame.checksumGood;
    const auto timeUs = std::llround(frame.chartTime * 1e6);
    liveCell_ = result_->Add(decoder, good, timeUs, liveFrames_++).cell;
    liveChanged_ = true;
}

void ViewComputation::BreakRun() {
    if (live_ && result_ != nullptr) {
        result_->BreakRun();
    }
}

void ViewComputation::ResetLive() {
    if (live_ && result_ != nullptr) {
        result_->Reset();
        liveFrames_ = 0;
        liveCell_ = -1;
        liveChanged_ = true;
    }
}

bool ViewComputation::TakeLiveChange() {
    const bool changed = liveChanged_;
    liveChanged_ = false;
    return changed;
}

}  // namespace vekaton
