// The engine's playback commands: acquisition and recording stop for a log, the poll timer
// plays it at its pace, and the one way out of it puts everything back.
#include "engine/Engine.h"
#include "engine/EngineTexts.h"

namespace vekaton {

std::optional<std::string> Engine::StartPlayback(const std::filesystem::path& path,
                                                 std::int64_t startFrame) {
    std::string error;
    auto session = Player::Open(path, RecordLayout::From(settings_), decoder_.Table(), error);
    if (!session) {
        return error;
    }
    if (Running()) {
        PauseClick();
    }
    if (player_.Active()) {
        EndPlayback(std::nullopt);
    }
    // Recording goes with acquisition; a log left open would only wait for frames that cannot
    // come.
    CloseRecordingNow(kPlaybackStartedReason);
    if (auto failed =
            player_.Begin(std::move(session), settings_.sampleRate, startFrame, ElapsedSeconds())) {
        return failed;
    }
    frames_.SetElapsedSeconds(player_.PositionTime());
    view_.ShowElapsed(ElapsedSeconds());
    view_.PlaybackMoved(player_.Session().Position(), player_.Session().Frames());
    scheduler_.SetPoll(true);
    return std::nullopt;
}

void Engine::StopPlayback() {
    if (player_.Active()) {
        EndPlayback(std::nullopt);
    }
}

void Engine::EndPlayback(std::optional<std::string> message) {
    player_.Close();
    scheduler_.SetPoll(false);
    // As after any change of the request: converted again, the frame state fresh.
    ApplySettings(settings_);
    frames_.SetRunning(false);
    frames_.SetElapsedSeconds(player_.PutBackLiveState());
    view_.ShowElapsed(ElapsedSeconds());
    view_.ShowRunState(kRunCaption);
    if (message) {
        view_.ShowMessage(*message);
    }
    view_.PlaybackEnded();
}

void Engine::SetPlaybackPaused(bool paused) {
    if (!player_.Active() || player_.Session().Paused() == paused) {
        return;
    }
    player_.Session().SetPaused(paused);
    scheduler_.SetPoll(!paused);
}

bool Engine::PlaybackPaused() const {
    return player_.Active() && player_.Session().Paused();
}

void Engine::StepPlayback() {
    if (!player_.Active()) {
        return;
    }
    SetPlaybackPaused(true);
    ResetFrameState();
    PlaybackStep();
}

void Engine::SeekPlayback(std::int64_t frame) {
    if (!player_.Active()) {
        return;
    }
    if (auto error = player_.Seek(frame)) {
        EndPlayback("Playback stopped: " + *error);
        return;
    }
    ResetFrameState();
    frames_.SetElapsedSeconds(player_.PositionTime());
    view_.ShowElapsed(ElapsedSeconds());
    view_.PlaybackJumped();
    view_.PlaybackMoved(player_.Session().Position(), player_.Session().Frames());
}

void Engine::SetPlaybackSpeed(double speed) {
    if (!player_.Active()) {
        return;
    }
    player_.Session().SetSpeed(speed);
    scheduler_.RestartPoll();
}

double Engine::PlaybackSpeed() const {
    return player_.Active() ? player_.Session().Speed() : 1.0;
}

std::int64_t Engine::PlaybackPosition() const {
    return player_.Active() ? player_.Session().Position() : 0;
}

std::int64_t Engine::PlaybackFrames() const {
    return player_.Active() ? player_.Session().Frames() : 0;
}

int Engine::PlaybackIntervalMs() const {
    return player_.Active() ? player_.Session().IntervalMs() : 0;
}

std::filesystem::path Engine::PlaybackPath() const {
    return player_.Active() ? player_.Session().Log().Path() : std::filesystem::path();
}

void Engine::PlaybackStep() {
    const Player::Played played = player_.PlayNext(plot_);
    if (!played.played) {
        EndPlayback(played.message);
        return;
    }
    frames_.SetElapsedSeconds(player_.PositionTime());
    view_.FrameCompleted(played.frame);
    // The view may have ended playback from FrameCompleted.
    if (player_.Active()) {
        view_.PlaybackMoved(player_.Session().Position(), player_.Session().Frames());
    }
}

}  // namespace vekaton
