// The engine's recording commands: the poll timer stops while a log is being chosen, so that the
// log starts on a frame boundary; the recorder does the rest.
#include <string>

#include "engine/Engine.h"

namespace vekaton {

namespace {

constexpr int kPrepareTicks = 4;

}  // namespace

void Engine::PrepareRecording(std::function<void()> ready) {
    if (prepareTimer_ != 0) {
        clock_.Cancel(prepareTimer_);
        prepareTimer_ = 0;
    }
    if (!preparing_) {
        pollWasEnabled_ = scheduler_.PollEnabled();
        preparing_ = true;
    }
    scheduler_.SetPoll(false);
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
        if (pollWasEnabled_ && Running()) {
            scheduler_.SetPoll(true);
        }
    }
}

std::optional<std::string> Engine::StartRecording(const std::filesystem::path& path) {
    auto error = recorder_.Start(path, settings_.sampleRate);
    CancelRecording();  // restarts the poll timer if Prepare stopped it
    return error;
}

}  // namespace vekaton
