#include "app/analysis/AnalysisJob.h"

#include <algorithm>

#include "log/DataLogFile.h"

namespace vekaton {

namespace {

constexpr std::size_t kMaxMessages = 5;

}  // namespace

AnalysisJob::AnalysisJob(AnalysisJobInput input, QObject* parent)
    : QObject(parent), input_(std::move(input)), thread_([this] { Work(); }) {}

AnalysisJob::~AnalysisJob() {
    Cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::unique_ptr<FrameAccumulator> AnalysisJob::TakeResult() {
    return Done() ? std::move(result_) : nullptr;
}

void AnalysisJob::Work() {
    DataLogFile log;
    if (auto error = log.Open(std::filesystem::path(input_.logPath), input_.layout.Size())) {
        error_ = std::move(*error);
    } else {
        LogAnalysis analysis(log, input_.layout, *input_.table, &input_.details, input_.setup,
                             input_.options, input_.range);
        analysis.SetMessageHandler([this](const DecoderMessage& message) {
            if (messages_.size() < kMaxMessages &&
                std::find(messages_.begin(), messages_.end(), message.text) == messages_.end()) {
                messages_.push_back(message.text);
            }
        });
        const bool whole = analysis.Run(&cancel_, [this](double done) { progress_.store(done); });
        if (whole) {
            result_ = analysis.TakeResult();
        } else if (analysis.Error()) {
            error_ = analysis.Error();
        } else {
            cancelled_ = true;
        }
    }
    progress_.store(1.0);
    done_.store(true);
    // Posted to this object: dropped if the window lets the job go first.
    QMetaObject::invokeMethod(
        this, [this] { emit finished(); }, Qt::QueuedConnection);
}

}  // namespace vekaton
