// Recording frames to a data log, and real-time playback of one.
#include <string>

#include "decode/Decoder.h"
#include "engine/Engine.h"
#include "engine/EngineTexts.h"

namespace vekaton {

namespace {

constexpr int kPrepareTicks = 4;

std::string SavingText(int frames) {
    return std::string(kSavingPrefix) + std::to_string(frames);
}

}  // namespace

void Engine::PrepareRecording(std::function<void()> ready) {
    if (prepareTimer_ != 0) {
        clock_.Cancel(prepareTimer_);
        prepareTimer_ = 0;
    }
    if (!preparing_) {
        pollWasEnabled_ = pollEnabled_;
        preparing_ = true;
    }
    SetPollTimer(false);
    // Let the answer in flight arrive, then drop it, so the log starts on a frame boundary.
    prepareTimer_ = clock_.CallLater(kPrepareTicks * kTickMs, [this, ready = std::move(ready)] {
        prepareTimer_ = 0;
        port_.FlushInput();
        ResetFrameState();
        if (ready) {
            ready();
        }
    });
}

void Engine::CancelRecording() {
    if (prepareTimer_ != 0) {
        clock_.Cancel(prepareTimer_);
        prepareTimer_ = 0;
    }
    if (preparing_) {
        preparing_ = false;
        if (pollWasEnabled_ && running_) {
            SetPollTimer(true);
        }
    }
}

std::optional<std::string> Engine::StartRecording(const std::filesystem::path& path) {
    if (log_.IsOpen()) {
        CloseLog();
    }
    auto error = log_.Create(path, settings_.sampleRate);
    if (!error) {
        frameCount_ = 0;
        stopRequested_ = false;
        pendingRecord_.clear();
        recording_ = true;
        view_.ShowRecordingLabel(SavingText(0));
    }
    CancelRecording();  // restarts the poll timer if Prepare stopped it
    return error;
}

void Engine::StopRecording() {
    if (!recording_) {
        return;
    }
    stopRequested_ = true;
    view_.ShowRecordingLabel("");
}

void Engine::FinishRecord() {
    // A frame whose start the log missed (recording began inside it) is left out whole.
    if (pendingRecord_.size() == static_cast<std::size_t>(RecordLength())) {
        if (auto error = log_.AppendRecord(pendingRecord_)) {
            pendingRecord_.clear();
            view_.ShowMessage(*error);
            CloseLog();
            return;
        }
        ++frameCount_;
    }
    pendingRecord_.clear();
    if (stopRequested_) {
        CloseLog();
    }
    view_.ShowRecordingLabel(SavingText(frameCount_));
}

void Engine::CloseLog() {
    if (auto error = log_.Close()) {
        view_.ShowMessage(*error);
    }
    const bool wasRecording = recording_;
    recording_ = false;
    stopRequested_ = false;
    if (wasRecording) {
        view_.RecordingStopped();
    }
}

std::optional<std::string> Engine::StartPlayback(const std::filesystem::path& path) {
    const RecordLayout layout = RecordLayout::From(settings_);
    auto reader = std::make_unique<DataLogReader>(path, layout.Size());
    if (reader->Error()) {
        return *reader->Error();
    }
    if (running_) {
        PauseClick();
    }
    StopPlayback();
    const int interval = reader->IntervalMs() > 0 ? reader->IntervalMs() : settings_.sampleRate;
    playback_ = std::move(reader);
    playbackLayout_ = layout;
    playbackIntervalMs_ = interval;
    playbackSecondsPerFrame_ = interval * 0.001;
    SetPollTimer(true);
    return std::nullopt;
}

void Engine::StopPlayback() {
    if (!playback_) {
        return;
    }
    playback_.reset();
    SetPollTimer(false);
}

void Engine::PlaybackStep() {
    const auto record = playback_->Next();
    if (record.empty()) {
        if (playback_->Error()) {
            view_.ShowMessage(*playback_->Error());
        } else if (playback_->TrailingBytes() > 0) {
            view_.ShowMessage(kPartialRecordMessage);
        }
        StopPlayback();
        view_.PlaybackEnded();
        return;
    }
    const double chartTime = elapsedSeconds_;
    const int sample = view_.AddChartSample(chartTime);
    const RecordOutcome outcome = FeedRecord(decoder_, record, playbackLayout_, sample);
    elapsedSeconds_ += playbackSecondsPerFrame_;
    view_.FrameCompleted(
        FrameSummary{sample, chartTime, outcome.hasChecksum, outcome.checksumGood, true});
}

}  // namespace vekaton
