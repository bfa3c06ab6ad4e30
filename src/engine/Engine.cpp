#include "engine/Engine.h"

#include <algorithm>

#include "engine/EngineTexts.h"
#include "engine/LoopBackData.h"

namespace vekaton {

namespace {

// The packet trigger reads "\" and "?" in its start string as an escape and a wildcard; the
// request is raw bytes, so those two are escaped to match only themselves.
std::string LiteralStartString(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        if (b == '\\' || b == '?') {
            text.push_back('\\');
        }
        text.push_back(static_cast<char>(b));
    }
    return text;
}

}  // namespace

Engine::Engine(Port& port, Clock& clock, Decoder& decoder, EngineView& view)
    : port_(port),
      clock_(clock),
      decoder_(decoder),
      view_(view),
      plot_(decoder),
      recorder_(view),
      frames_(decoder, view, recorder_, plot_, counters_, clock),
      player_(decoder),
      scheduler_(
          clock,
          [this]() -> std::int64_t {
              return player_.Active() ? player_.Session().TickMs() : settings_.sampleRate;
          },
          [this]() -> std::int64_t { return settings_.syncTime; }, [this] { Timer1Timer(); },
          [this] { SyncTimerTimer(); }),
      trigger_(clock),
      sender_(port, clock) {
    trigger_.SetOnPacket([this](std::span<const std::uint8_t> data) { PacketTriggerPacket(data); });
}

Engine::~Engine() {
    scheduler_.SetPoll(false);
    scheduler_.SetSync(false);
    if (prepareTimer_ != 0) {
        clock_.Cancel(prepareTimer_);
    }
}

void Engine::ApplySettings(const LinkSettings& settings) {
    // A log is read with the layout of the settings in force: playback of a log cannot go on
    // under another layout, and a recording cannot change its record length half-way.
    if (player_.Active()) {
        EndPlayback(std::nullopt);
    }
    if (recorder_.IsOpen() &&
        RecordLayout::From(settings).Size() != RecordLayout::From(settings_).Size()) {
        CloseRecordingNow(kLayoutChangedReason);
    }
    settings_ = settings;
    // Counts beyond the frame limit would only make the arithmetic below overflow.
    settings_.responseBytes = std::clamp(settings_.responseBytes, 0, kMaxDataBytes);
    settings_.dataBytes = std::clamp(settings_.dataBytes, 0, kMaxDataBytes);

    bool truncated = false;
    std::vector<std::uint8_t> request = RequestTextToBytes(settings_.requestString, &truncated);
    if (truncated) {
        view_.ShowMessage(kRequestTruncatedMessage);
    }
    frames_.Configure(settings_, std::move(request));

    // The trigger takes its start string and size when armed, so it is armed after they are
    // set, with the request converted above.
    trigger_.SetEnabled(false);
    if (settings_.syncMode == SyncMode::Aldl160) {
        trigger_.SetStartString(LiteralStartString(RequestBytes()));
        trigger_.SetPacketSize(RequestLength() + settings_.dataBytes);
        trigger_.SetEnabled(true);
    }
    if (!settings_.useCheckSum) {
        view_.ShowChecksumLabel(false);
    }
    ResetFrameState();
    if (Running()) {
        scheduler_.SetPoll(false);
        scheduler_.SetSync(false);
        scheduler_.SetPoll(settings_.syncMode == SyncMode::TalkListen);
        scheduler_.SetSync(settings_.syncMode == SyncMode::ListenOnly);
    }
}

std::string_view Engine::RunCaption() const {
    return Running() ? kPauseCaption : kRunCaption;
}

void Engine::PauseClick() {
    if (fileViewMode_ || player_.Active()) {
        return;
    }
    if (!Running()) {
        if (!port_.IsOpen()) {
            view_.ShowMessage(kNoPortMessage);
            return;
        }
        frames_.SetRunning(true);
        view_.ShowRunState(kPauseCaption);
        if (settings_.syncMode == SyncMode::TalkListen) {
            // The poll timer starts once the start command is out and its answer discarded.
            SendCommand(settings_.startCommand, [this] {
                if (Running() && settings_.syncMode == SyncMode::TalkListen) {
                    scheduler_.SetPoll(true);
                }
            });
        } else if (settings_.syncMode == SyncMode::ListenOnly) {
            scheduler_.SetSync(true);
        }
        return;
    }
    frames_.SetRunning(false);
    frames_.ForgetRequest();
    view_.ShowRunState(kRunCaption);
    scheduler_.SetPoll(false);
    scheduler_.SetSync(false);
    if (settings_.syncMode == SyncMode::TalkListen) {
        SendCommand(settings_.stopCommand, {});
    }
}

void Engine::SendCommand(const std::string& text, std::function<void()> then) {
    const auto error = sender_.Send(text, [this, then = std::move(then)] {
        ResetFrameState();
        if (then) {
            then();
        }
    });
    if (error) {
        view_.ShowMessage(*error);
    }
}

void Engine::GetAldl() {
    SendCommand(settings_.requestString, {});
}

void Engine::Timer1Timer() {
    if (!player_.Active()) {
        port_.DeliverReceived();
    }
    // A tick that comes while the answer to the last request can still be on its way leaves it
    // be: cutting it short would lose the frame, and a second request would make the module
    // answer twice into one frame. Only poll intervals shorter than an answer ever wait here.
    if (!player_.Active() && !loopBackEnabled_ && frames_.AwaitingAnswer(clock_.NowMs())) {
        view_.ShowElapsed(ElapsedSeconds());
        return;
    }
    ResetFrameState();
    if (player_.Active()) {
        PlaybackStep();
    } else if (loopBackEnabled_) {
        if (settings_.requestEchoed && !RequestBytes().empty()) {
            port_.Write(RequestBytes());
        }
        port_.Write(LoopBackAnswer(testDataChoice_));
    } else if (!RequestBytes().empty()) {
        if (frames_.RequestOutstanding()) {
            ++counters_.pollsUnanswered;
        }
        port_.Write(RequestBytes());
        ++counters_.polls;
        frames_.NoteRequestSent(clock_.NowMs());
    }
    view_.ShowElapsed(ElapsedSeconds());
}

void Engine::ResetFrameState() {
    frames_.ResetFrameState();
}

void Engine::OnBytesReceived(std::span<const std::uint8_t> bytes) {
    if (settings_.syncMode == SyncMode::Aldl160) {
        trigger_.Receive(bytes);
    } else {
        NormalTrigger(bytes);
    }
}

void Engine::NormalTrigger(std::span<const std::uint8_t> bytes) {
    scheduler_.RestartSync();  // the sync timer fires only after SyncTime ms without data
    frames_.Receive(bytes);
}

void Engine::PacketTriggerPacket(std::span<const std::uint8_t> data) {
    frames_.ReceivePacket(data);
}

void Engine::SyncTimerTimer() {
    frames_.Silence();
}

void Engine::SetElapsedSeconds(double seconds) {
    frames_.SetElapsedSeconds(seconds);
    view_.ShowElapsed(seconds);
}

}  // namespace vekaton
