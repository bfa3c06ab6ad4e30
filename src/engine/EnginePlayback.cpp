// Real-time playback of a data log: one record per poll tick, with pause, single step, seeking
// and speed; and the one way out of it that puts everything back.
#include "decode/Decoder.h"
#include "engine/Engine.h"
#include "engine/EngineTexts.h"

namespace vekaton {

std::optional<std::string> Engine::StartPlayback(const std::filesystem::path& path,
                                                 std::int64_t startFrame) {
    auto session =
        std::make_unique<PlaybackSession>(path, RecordLayout::From(settings_), decoder_.Table());
    if (session->Error()) {
        return *session->Error();
    }
    if (session->Log().RecordCount() == 0) {
        if (session->Log().TrailingBytes() > 0) {
            return "Data log \"" + path.string() + "\" holds no whole record. " +
                   PartialRecordText(session->Log().TrailingBytes(), session->Log().RecordSize());
        }
        return "Data log \"" + path.string() + "\" holds no frames.";
    }
    if (running_) {
        PauseClick();
    }
    if (playback_) {
        EndPlayback(std::nullopt);
    }
    // Recording goes with acquisition; a log left open would only wait for frames that cannot
    // come.
    CloseRecordingNow(kPlaybackStartedReason);
    session->SetDefaultInterval(settings_.sampleRate);
    std::string error;
    const auto state = session->Replay().StateAt(startFrame, error);
    if (!state) {
        return "Data log \"" + path.string() + "\": " + error;
    }
    liveElapsedSeconds_ = elapsedSeconds_;
    liveDecoderState_ = decoder_.SaveState();
    playback_ = std::move(session);
    playback_->SetPosition(startFrame);
    decoder_.RestoreState(*state);
    elapsedSeconds_ = playback_->TimeOf(playback_->Position());
    view_.ShowElapsed(elapsedSeconds_);
    view_.PlaybackMoved(playback_->Position(), playback_->Frames());
    SetPollTimer(true);
    return std::nullopt;
}

void Engine::StopPlayback() {
    if (playback_) {
        EndPlayback(std::nullopt);
    }
}

void Engine::EndPlayback(std::optional<std::string> message) {
    playback_.reset();
    SetPollTimer(false);
    // As after any change of the request: converted again, the frame state fresh.
    ApplySettings(settings_);
    running_ = false;
    decoder_.RestoreState(liveDecoderState_);
    elapsedSeconds_ = liveElapsedSeconds_;
    view_.ShowElapsed(elapsedSeconds_);
    view_.ShowRunState(kRunCaption);
    if (message) {
        view_.ShowMessage(*message);
    }
    view_.PlaybackEnded();
}

void Engine::SetPlaybackPaused(bool paused) {
    if (!playback_ || playback_->Paused() == paused) {
        return;
    }
    playback_->SetPaused(paused);
    SetPollTimer(!paused);
}

bool Engine::PlaybackPaused() const {
    return playback_ && playback_->Paused();
}

void Engine::StepPlayback() {
    if (!playback_) {
        return;
    }
    SetPlaybackPaused(true);
    ResetFrameState();
    PlaybackStep();
}

void Engine::SeekPlayback(std::int64_t frame) {
    if (!playback_) {
        return;
    }
    std::string error;
    const auto state = playback_->Replay().StateAt(frame, error);
    if (!state) {
        EndPlayback("Playback stopped: " + error);
        return;
    }
    playback_->SetPosition(frame);
    decoder_.RestoreState(*state);
    ResetFrameState();
    elapsedSeconds_ = playback_->TimeOf(playback_->Position());
    view_.ShowElapsed(elapsedSeconds_);
    view_.PlaybackJumped();
    view_.PlaybackMoved(playback_->Position(), playback_->Frames());
}

void Engine::SetPlaybackSpeed(double speed) {
    if (!playback_) {
        return;
    }
    playback_->SetSpeed(speed);
    RestartPollTimer();
}

double Engine::PlaybackSpeed() const {
    return playback_ ? playback_->Speed() : 1.0;
}

std::int64_t Engine::PlaybackPosition() const {
    return playback_ ? playback_->Position() : 0;
}

std::int64_t Engine::PlaybackFrames() const {
    return playback_ ? playback_->Frames() : 0;
}

int Engine::PlaybackIntervalMs() const {
    return playback_ ? playback_->IntervalMs() : 0;
}

std::filesystem::path Engine::PlaybackPath() const {
    return playback_ ? playback_->Log().Path() : std::filesystem::path();
}

void Engine::PlaybackStep() {
    if (playback_->AtEnd()) {
        std::optional<std::string> message;
        if (playback_->Log().TrailingBytes() > 0) {
            message =
                PartialRecordText(playback_->Log().TrailingBytes(), playback_->Log().RecordSize());
        }
        EndPlayback(std::move(message));
        return;
    }
    std::string error;
    const std::int64_t frame = playback_->Position();
    const auto record = playback_->Current(error);
    if (record.empty()) {
        EndPlayback("Playback stopped at frame " + std::to_string(frame + 1) + ": " + error);
        return;
    }
    playback_->Replay().NoteFrameStart(frame, decoder_);
    const double chartTime = playback_->TimeOf(frame);
    FeedRecordBytes(decoder_, record, playback_->Layout());
    const std::int64_t sample = PlotFrame(chartTime);
    const RecordOutcome outcome{playback_->Layout().useCheckSum,
                                RecordChecksumGood(record, playback_->Layout())};
    playback_->SetPosition(frame + 1);
    elapsedSeconds_ = playback_->TimeOf(frame + 1);
    view_.FrameCompleted(
        FrameSummary{sample, chartTime, outcome.hasChecksum, outcome.checksumGood, true});
    // The view may have ended playback from FrameCompleted.
    if (playback_) {
        view_.PlaybackMoved(playback_->Position(), playback_->Frames());
    }
}

}  // namespace vekaton
