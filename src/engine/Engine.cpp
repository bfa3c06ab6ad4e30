#include "engine/Engine.h"

#include <algorithm>

#include "chart/ChartStore.h"
#include "decode/Decoder.h"
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
      trigger_(clock),
      sender_(port, clock) {
    trigger_.SetOnPacket([this](std::span<const std::uint8_t> data) { PacketTriggerPacket(data); });
}

Engine::~Engine() {
    SetPollTimer(false);
    SetSyncTimer(false);
    if (prepareTimer_ != 0) {
        clock_.Cancel(prepareTimer_);
    }
}

void Engine::ApplySettings(const LinkSettings& settings) {
    // A log is read with the layout of the settings in force: playback of a log cannot go on
    // under another layout, and a recording cannot change its record length half-way.
    if (playback_) {
        EndPlayback(std::nullopt);
    }
    if (log_.IsOpen() &&
        RecordLayout::From(settings).Size() != RecordLayout::From(settings_).Size()) {
        CloseRecordingNow(kLayoutChangedReason);
    }
    settings_ = settings;
    // Counts beyond the frame limit would only make the arithmetic below overflow.
    settings_.responseBytes = std::clamp(settings_.responseBytes, 0, kMaxDataBytes);
    settings_.dataBytes = std::clamp(settings_.dataBytes, 0, kMaxDataBytes);

    bool truncated = false;
    requestBytes_ = RequestTextToBytes(settings_.requestString, &truncated);
    if (truncated) {
        view_.ShowMessage(kRequestTruncatedMessage);
    }
    dataOffset_ =
        ComputeDataOffset(RequestLength(), settings_.responseBytes, settings_.requestEchoed);
    checksumFirst_ = settings_.requestEchoed ? RequestLength() : 0;
    checksumLast_ = checksumFirst_ + settings_.responseBytes + settings_.dataBytes;
    // Always from the settings just taken, whoever applies them: a stale 0.1 would make the
    // elapsed time and the chart run five times slow at the default 500 ms.
    secondsPerFrame_ = settings_.sampleRate * 0.001;

    // The trigger takes its start string and size when armed, so it is armed after they are
    // set, with the request converted above.
    trigger_.SetEnabled(false);
    if (settings_.syncMode == SyncMode::Aldl160) {
        trigger_.SetStartString(LiteralStartString(requestBytes_));
        trigger_.SetPacketSize(RequestLength() + settings_.dataBytes);
        trigger_.SetEnabled(true);
    }
    if (!settings_.useCheckSum) {
        view_.ShowChecksumLabel(false);
    }
    ResetFrameState();
    if (running_) {
        SetPollTimer(false);
        SetSyncTimer(false);
        SetPollTimer(settings_.syncMode == SyncMode::TalkListen);
        SetSyncTimer(settings_.syncMode == SyncMode::ListenOnly);
    }
}

void Engine::SetChart(ChartStore* chart) {
    chart_ = chart;
    decoder_.SetChart(chart);
}

// The end of every frame, received or played: its sample in the chart at x, and the decoder's
// point for each channel on it.
std::int64_t Engine::PlotFrame(double x) {
    const std::int64_t sample = chart_ != nullptr ? chart_->AddSample(x) : 0;
    decoder_.EndOfFrame(sample);
    return sample;
}

int Engine::ExpectedFrameLength() const {
    return settings_.dataBytes + dataOffset_ + (settings_.useCheckSum ? 1 : 0);
}

int Engine::RecordLength() const {
    return static_cast<int>(RecordLayout::From(settings_).Size());
}

std::string_view Engine::RunCaption() const {
    return running_ ? kPauseCaption : kRunCaption;
}

void Engine::PauseClick() {
    if (fileViewMode_ || playback_) {
        return;
    }
    if (!running_) {
        if (!port_.IsOpen()) {
            view_.ShowMessage(kNoPortMessage);
            return;
        }
        running_ = true;
        view_.ShowRunState(kPauseCaption);
        if (settings_.syncMode == SyncMode::TalkListen) {
            // The poll timer starts once the start command is out and its answer discarded.
            SendCommand(settings_.startCommand, [this] {
                if (running_ && settings_.syncMode == SyncMode::TalkListen) {
                    SetPollTimer(true);
                }
            });
        } else if (settings_.syncMode == SyncMode::ListenOnly) {
            SetSyncTimer(true);
        }
        return;
    }
    running_ = false;
    pollOutstanding_ = false;  // a stop cuts the last answer short; that is no fault of the link
    view_.ShowRunState(kRunCaption);
    SetPollTimer(false);
    SetSyncTimer(false);
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

std::int64_t Engine::PollIntervalMs() const {
    return playback_ ? playback_->TickMs() : settings_.sampleRate;
}

void Engine::RestartPollTimer() {
    if (pollEnabled_) {
        SetPollTimer(false);
        SetPollTimer(true);
    }
}

void Engine::SetPollTimer(bool on) {
    if (on == pollEnabled_) {
        return;
    }
    pollEnabled_ = on;
    if (on) {
        SchedulePoll();
    } else if (pollTimer_ != 0) {
        clock_.Cancel(pollTimer_);
        pollTimer_ = 0;
    }
}

void Engine::SchedulePoll() {
    const std::int64_t interval = PollIntervalMs();
    if (interval <= 0) {
        return;  // a timer with no interval never fires
    }
    pollTimer_ = clock_.CallLater(interval, [this] {
        pollTimer_ = 0;
        Timer1Timer();
        if (pollEnabled_ && pollTimer_ == 0) {
            SchedulePoll();
        }
    });
}

void Engine::SetSyncTimer(bool on) {
    if (on == syncEnabled_) {
        return;
    }
    syncEnabled_ = on;
    if (on) {
        ScheduleSync();
    } else if (syncTimer_ != 0) {
        clock_.Cancel(syncTimer_);
        syncTimer_ = 0;
    }
}

void Engine::ScheduleSync() {
    if (syncTimer_ != 0) {
        clock_.Cancel(syncTimer_);
        syncTimer_ = 0;
    }
    if (settings_.syncTime <= 0) {
        return;
    }
    syncTimer_ = clock_.CallLater(settings_.syncTime, [this] {
        syncTimer_ = 0;
        SyncTimerTimer();
        if (syncEnabled_ && syncTimer_ == 0) {
            ScheduleSync();
        }
    });
}

// How long a request and its whole answer take on the line at the set speed, with time to
// spare for the adapter and the system's buffers.
std::int64_t Engine::AnswerTimeMs() const {
    constexpr std::int64_t kSlackMs = 50;
    const std::int64_t baud = settings_.baudRate > 0 ? settings_.baudRate : 8192;
    const std::int64_t bytes = RequestLength() + ExpectedFrameLength();
    return (bytes * 10 * 1000 + baud - 1) / baud + kSlackMs;
}

void Engine::Timer1Timer() {
    if (!playback_) {
        port_.DeliverReceived();
    }
    // A tick that comes while the answer to the last request can still be on its way leaves it
    // be: cutting it short would lose the frame, and a second request would make the module
    // answer twice into one frame. Only poll intervals shorter than an answer ever wait here.
    if (!playback_ && !loopBackEnabled_ && pollOutstanding_ && clock_.NowMs() < answerDueMs_) {
        view_.ShowElapsed(elapsedSeconds_);
        return;
    }
    ResetFrameState();
    if (playback_) {
        PlaybackStep();
    } else if (loopBackEnabled_) {
        if (settings_.requestEchoed && !requestBytes_.empty()) {
            port_.Write(requestBytes_);
        }
        port_.Write(LoopBackAnswer(testDataChoice_));
    } else if (!requestBytes_.empty()) {
        if (pollOutstanding_) {
            ++counters_.pollsUnanswered;
        }
        port_.Write(requestBytes_);
        ++counters_.polls;
        pollOutstanding_ = true;
        answerDueMs_ = clock_.NowMs() + AnswerTimeMs();
    }
    view_.ShowElapsed(elapsedSeconds_);
}

void Engine::ClearTrace() {
    trace_.Clear();
    FlushTrace();
}

void Engine::FlushTrace() {
    TraceUpdate update = trace_.TakeUpdate();
    if (!update.Empty()) {
        view_.TraceUpdated(update);
    }
}

void Engine::ResetSyncErrors() {
    syncErrorCount_ = 0;
    view_.ShowSyncErrors(0);
}

void Engine::SetElapsedSeconds(double seconds) {
    elapsedSeconds_ = seconds;
    view_.ShowElapsed(elapsedSeconds_);
}

}  // namespace vekaton
