#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/AnalysisViewText.h"
#include "analysis/FrameAccumulator.h"

class QWidget;

namespace vekaton {

class AnalysisJob;
class Decoder;
class LogViewer;
class Session;
struct FrameSummary;

// What every view works with: the session (definitions, details, decoder, link settings), the
// log viewer (the open log, its cursors), the window, and where messages go.
struct AnalysisContext {
    Session& session;
    LogViewer& logView;
    QWidget& window;
    std::function<void(const QString&)> post;
};

// Turns a view's definition into its result: a log read on a worker thread (whole, or between
// the viewer's cursors), or live frames added as they complete until reset. The result stays
// until the next one replaces it, so a view shows the last numbers while new ones are computed.
class ViewComputation : public QObject {
    Q_OBJECT

  public:
    // Dots a scatter keeps for drawing, whatever the length of the log.
    static constexpr std::size_t kScatterDots = 20000;

    explicit ViewComputation(AnalysisContext& context, QObject* parent = nullptr);
    ~ViewComputation() override;

    // Starts from the definition's source; false with the reason when it cannot start
    // (positions unknown, no log open, no cursors, live edges unknown).
    bool Start(const ViewDefinition& view, QString* why);
    void Cancel();
    bool Busy() const { return job_ != nullptr; }
    double Progress() const;
    bool Live() const { return live_; }
    const FrameAccumulator* Result() const { return result_.get(); }
    // The log the result's frames are from (empty for live data), and its first frame.
    const QString& ResultLog() const { return resultLog_; }
    QString SourceText() const { return sourceText_; }

    // Live frames: the one the decoder holds now.
    void AddFrame(const Decoder& decoder, const FrameSummary& frame);
    void BreakRun();
    void ResetLive();
    // The cell the latest live frame fell in (-1: none); whether frames came since last asked.
    int LiveCell() const { return liveCell_; }
    bool TakeLiveChange();

  signals:
    // A log analysis ended: `ok` with a new result, else `message` says why (empty when
    // cancelled).
    void finished(bool ok, const QString& message);

  private:
    bool StartLive(const ViewDefinition& view, QString* why);
    bool StartLog(const ViewDefinition& view, QString* why);
    void JobFinished();

    AnalysisContext& context_;
    std::unique_ptr<FrameAccumulator> result_;
    AnalysisJob* job_ = nullptr;
    QString jobLog_;
    QString jobSource_;
    QString resultLog_;
    QString sourceText_;
    bool live_ = false;
    std::int64_t liveFrames_ = 0;
    int liveCell_ = -1;
    bool liveChanged_ = false;
};

// How many frames went where, as the command line's summary says it.
QString TallyText(const FrameTally& tally);

}  // namespace vekaton
