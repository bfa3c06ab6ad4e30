#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/ChartStore.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "engine/Engine.h"
#include "engine/EngineView.h"
#include "support/FakePort.h"
#include "support/ManualClock.h"

namespace vekaton::testing {

using Bytes = std::vector<std::uint8_t>;

// Records everything the engine shows.
class RecordingView : public EngineView {
  public:
    bool debugPage = false;
    std::string trace;  // the trace window's text, rebuilt from the updates
    int traceClears = 0;
    std::optional<bool> checksumLabel;  // last shown/hidden; nullopt: never touched
    int checksumLabelShows = 0;
    int syncErrors = 0;
    double elapsed = 0.0;
    std::vector<std::pair<int, bool>> packets;
    std::vector<std::string> recordingLabels;
    int recordingStopped = 0;
    std::vector<std::string> runStates;
    std::vector<std::string> messages;
    std::vector<FrameSummary> frames;
    int playbackEnded = 0;
    std::int64_t playbackPosition = -1;
    std::int64_t playbackFrames = -1;
    int playbackJumps = 0;
    std::function<void(const FrameSummary&)> onFrame;  // called for every completed frame

    bool DebugPageActive() const override { return debugPage; }
    void TraceUpdated(const TraceUpdate& update) override {
        if (update.cleared) {
            trace.clear();
            ++traceClears;
        }
        trace += update.appended;
    }
    void ShowChecksumLabel(bool visible) override {
        checksumLabel = visible;
        checksumLabelShows += visible ? 1 : 0;
    }
    void ShowSyncErrors(int count) override { syncErrors = count; }
    void ShowElapsed(double seconds) override { elapsed = seconds; }
    void ShowPacket(int size, bool ledLit) override { packets.emplace_back(size, ledLit); }
    void ShowRecordingLabel(std::string_view text) override { recordingLabels.emplace_back(text); }
    void RecordingStopped() override { ++recordingStopped; }
    void ShowRunState(std::string_view caption) override { runStates.emplace_back(caption); }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void FrameCompleted(const FrameSummary& frame) override {
        frames.push_back(frame);
        if (onFrame) {
            onFrame(frame);
        }
    }
    void PlaybackEnded() override { ++playbackEnded; }
    void PlaybackMoved(std::int64_t frame, std::int64_t total) override {
        playbackPosition = frame;
        playbackFrames = total;
    }
    void PlaybackJumped() override { ++playbackJumps; }

    int BadFrames() const {
        int bad = 0;
        for (const auto& f : frames) {
            bad += (f.hasChecksum && !f.checksumGood) ? 1 : 0;
        }
        return bad;
    }
};

// An engine with a real decoder, a fake port, a manual clock, a recording view and a chart.
struct EngineRig {
    ManualClock clock;
    FakePort port;
    ParameterTable table;
    FormulaFrontEnd formulas;
    Decoder decoder{table, formulas};
    RecordingView view;
    ChartStore chart;
    Engine engine{port, clock, decoder, view};

    EngineRig() { engine.SetChart(&chart); }

    // The X of every sample the chart holds, in order.
    std::vector<double> ChartX() const {
        std::vector<double> xs;
        for (auto s = chart.Data().FirstSample(); s < chart.Data().EndSample(); ++s) {
            xs.push_back(chart.Data().X(s).value_or(-1.0));
        }
        return xs;
    }

    static LinkSettings Settings(SyncMode mode, std::string request, int responseBytes,
                                 int dataBytes, bool checksum, bool echoed) {
        LinkSettings s;
        s.syncMode = mode;
        s.requestString = std::move(request);
        s.responseBytes = responseBytes;
        s.dataBytes = dataBytes;
        s.useCheckSum = checksum;
        s.requestEchoed = echoed;
        return s;
    }

    // Starts acquisition and lets the start command (and its two-tick settling) pass.
    void Run() {
        engine.PauseClick();
        clock.Advance(2 * kTickMs);
    }
    void Feed(const Bytes& bytes) { engine.OnBytesReceived(bytes); }
    int RawAt(int position) const { return table.At(position).RawByte; }
};

// Header and data bytes followed by the checksum byte that makes them all add up to 0.
inline Bytes WithChecksum(Bytes frame) {
    unsigned sum = 0;
    for (const std::uint8_t b : frame) {
        sum += b;
    }
    frame.push_back(static_cast<std::uint8_t>((256u - (sum & 0xFFu)) & 0xFFu));
    return frame;
}

inline Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace vekaton::testing
