#pragma once

#include <algorithm>
#include <vector>

#include "engine/EngineTestRig.h"
#include "sim/EngineSimulator.h"

namespace vekaton::testing {

// A port wired to the simulated module: what the engine writes goes to the module, and the
// module's answer waits in the inbox until the test delivers it.
class SimPort : public Port {
  public:
    SimPort(EngineSimulator& sim, const Clock& clock) : sim_(sim), clock_(clock) {}
    bool IsOpen() const override { return true; }
    bool Write(std::span<const std::uint8_t> bytes) override {
        const std::uint64_t before = sim_.Stats().frames;
        const Bytes answer = sim_.OnHostBytes(bytes, clock_.NowMs());
        if (sim_.Stats().frames != before) {
            made.emplace_back(sim_.LastFrame().begin(), sim_.LastFrame().end());
        }
        inbox.insert(inbox.end(), answer.begin(), answer.end());
        return true;
    }
    void FlushInput() override { inbox.clear(); }
    Bytes inbox;
    std::vector<Bytes> made;  // every frame the module made, as meant

  private:
    EngineSimulator& sim_;
    const Clock& clock_;
};

struct SimRig {
    explicit SimRig(SimulatorConfig config) : sim(std::move(config)) {}

    // Moves time on in 5 ms steps, handing over the module's bytes in pieces of up to 16, as
    // a serial port does.
    void RunFor(std::int64_t ms) {
        for (std::int64_t t = 0; t < ms; t += 5) {
            clock.Advance(5);
            const std::uint64_t before = sim.Stats().frames;
            const Bytes streamed = sim.Poll(clock.NowMs());
            if (sim.Stats().frames != before) {
                port.made.emplace_back(sim.LastFrame().begin(), sim.LastFrame().end());
            }
            port.inbox.insert(port.inbox.end(), streamed.begin(), streamed.end());
            DeliverInbox(port.inbox.size());
        }
    }
    // Hands over up to `count` bytes of what the module sent, in pieces of up to 16.
    void DeliverInbox(std::size_t count) {
        count = std::min(count, port.inbox.size());
        Bytes pending(port.inbox.begin(), port.inbox.begin() + static_cast<std::ptrdiff_t>(count));
        port.inbox.erase(port.inbox.begin(),
                         port.inbox.begin() + static_cast<std::ptrdiff_t>(count));
        for (std::size_t at = 0; at < pending.size(); at += 16) {
            const std::size_t n = std::min<std::size_t>(16, pending.size() - at);
            engine.OnBytesReceived(std::span(pending).subspan(at, n));
        }
    }
    // Moves time on until the module has sent something, without handing it over yet.
    void RunUntilSent(std::int64_t limitMs = 5000) {
        for (std::int64_t t = 0; t < limitMs && port.inbox.empty(); t += 5) {
            clock.Advance(5);
            const std::uint64_t before = sim.Stats().frames;
            const Bytes streamed = sim.Poll(clock.NowMs());
            if (sim.Stats().frames != before) {
                port.made.emplace_back(sim.LastFrame().begin(), sim.LastFrame().end());
            }
            port.inbox.insert(port.inbox.end(), streamed.begin(), streamed.end());
        }
    }
    void Start(const LinkSettings& settings) {
        engine.ApplySettings(settings);
        engine.PauseClick();
    }
    int CompletedFrames() const { return static_cast<int>(view.frames.size()); }
    bool DataMatchesLastFrame() const {
        const auto data = sim.LastData();
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (table.At(static_cast<int>(i) + 1).RawByte != data[i]) {
                return false;
            }
        }
        return !data.empty();
    }

    EngineSimulator sim;
    ManualClock clock;
    SimPort port{sim, clock};
    ParameterTable table;
    FormulaFrontEnd formulas;
    Decoder decoder{table, formulas};
    RecordingView view;
    Engine engine{port, clock, decoder, view};
};

}  // namespace vekaton::testing
