// Recording frames to a data log.
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
    if (error) {
        *error += kRecordingNotStarted;
    } else {
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
            view_.ShowMessage(*error + RecordingStoppedText(frameCount_));
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

std::optional<std::string> Engine::CloseRecordingNow(std::string_view why) {
    if (!log_.IsOpen()) {
        return std::nullopt;
    }
    // While recording, the frame in progress has its bytes here and nowhere else.
    const std::size_t leftOver = recording_ ? pendingRecord_.size() : 0;
    const std::string path = log_.Path().string();
    pendingRecord_.clear();
    std::string message = RecordingClosedText(why, path, frameCount_, leftOver);
    if (auto error = log_.Close()) {
        message += "\n" + *error;
    }
    const bool wasRecording = recording_;
    recording_ = false;
    stopRequested_ = false;
    if (wasRecording) {
        view_.ShowRecordingLabel("");
        view_.RecordingStopped();
    }
    view_.ShowMessage(message);
    return message;
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

}  // namespace vekaton
