#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/LogAnalysis.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "log/RecordPlayback.h"

namespace vekaton {

// What an analysis of a log needs, all of it copied: the thread touches nothing of the window.
struct AnalysisJobInput {
    std::string logPath;
    RecordLayout layout;
    std::unique_ptr<ParameterTable> table;
    DetailsTable details;
    AnalysisSetup setup;
    AccumulatorOptions options;
    FrameRange range;
};

// A log analysis on a thread of its own, so that the window and its dashboards go on while it
// reads. The thread opens the log itself (a DataLogFile of its own, never the viewer's), plays
// it through a copy of the definitions, and can be cancelled between two steps. The window
// reads Progress() when it likes and hears finished() once, on its own thread.
class AnalysisJob : public QObject {
    Q_OBJECT

  public:
    explicit AnalysisJob(AnalysisJobInput input, QObject* parent = nullptr);
    // Cancels the work and waits for the thread.
    ~AnalysisJob() override;

    void Cancel() { cancel_.store(true); }
    double Progress() const { return progress_.load(); }
    bool Done() const { return done_.load(); }

    // Once finished: the result (null when cancelled or failed), why it failed, and the
    // formula faults met on the way (each once).
    std::unique_ptr<FrameAccumulator> TakeResult();
    bool Cancelled() const { return Done() && cancelled_; }
    const std::optional<std::string>& Error() const { return error_; }
    const std::vector<std::string>& Messages() const { return messages_; }

  signals:
    void finished();

  private:
    void Work();

    AnalysisJobInput input_;
    std::atomic<bool> cancel_{false};
    std::atomic<double> progress_{0.0};
    std::atomic<bool> done_{false};
    // Written by the thread before done_, read by the window after it.
    std::unique_ptr<FrameAccumulator> result_;
    std::optional<std::string> error_;
    std::vector<std::string> messages_;
    bool cancelled_ = false;
    std::thread thread_;  // last: it starts once everything above is made
};

}  // namespace vekaton
