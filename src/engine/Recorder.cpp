#include "engine/Recorder.h"

#include "engine/EngineTexts.h"
#include "engine/EngineView.h"

namespace vekaton {

namespace {

std::string SavingText(int frames) {
    return std::string(kSavingPrefix) + std::to_string(frames);
}

}  // namespace

std::optional<std::string> Recorder::Start(const std::filesystem::path& path, int intervalMs) {
    if (log_.IsOpen()) {
        Close();
    }
    auto error = log_.Create(path, intervalMs);
    if (error) {
        *error += kRecordingNotStarted;
        return error;
    }
    frameCount_ = 0;
    stopRequested_ = false;
    pendingRecord_.clear();
    recording_ = true;
    view_.ShowRecordingLabel(SavingText(0));
    return std::nullopt;
}

void Recorder::RequestStop() {
    if (!recording_) {
        return;
    }
    stopRequested_ = true;
    view_.ShowRecordingLabel("");
}

void Recorder::FinishRecord(std::size_t recordLength) {
    if (pendingRecord_.size() == recordLength) {
        if (auto error = log_.AppendRecord(pendingRecord_)) {
            pendingRecord_.clear();
            view_.ShowMessage(*error + RecordingStoppedText(frameCount_));
            Close();
            return;
        }
        ++frameCount_;
    }
    pendingRecord_.clear();
    if (stopRequested_) {
        Close();
    }
    view_.ShowRecordingLabel(SavingText(frameCount_));
}

std::optional<std::string> Recorder::CloseNow(std::string_view why) {
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

void Recorder::Close() {
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
