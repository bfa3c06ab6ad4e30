// Runs arbitrary text as a command and as a request. Delays stay within the cap, requests
// within 84 bytes, and the sender writes exactly the planned bytes and always finishes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "common/LinkSettings.h"
#include "engine/CommandString.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class RecordingPort : public vekaton::Port {
  public:
    bool IsOpen() const override { return true; }
    bool Write(std::span<const std::uint8_t> bytes) override {
        written.insert(written.end(), bytes.begin(), bytes.end());
        return true;
    }
    void FlushInput() override { ++flushes; }
    std::vector<std::uint8_t> written;
    int flushes = 0;
};

class StepClock : public vekaton::Clock {
  public:
    std::int64_t NowMs() const override { return now; }
    TimerId CallLater(std::int64_t delayMs, std::function<void()> callback) override {
        const TimerId id = next++;
        pending.emplace(id, std::make_pair(now + delayMs, std::move(callback)));
        return id;
    }
    void Cancel(TimerId id) override { pending.erase(id); }
    // Runs the earliest call; false when none is left.
    bool Step() {
        if (pending.empty()) {
            return false;
        }
        auto node = pending.extract(pending.begin());
        now = node.mapped().first;
        node.mapped().second();
        return true;
    }
    std::int64_t now = 0;
    TimerId next = 1;
    std::map<TimerId, std::pair<std::int64_t, std::function<void()>>> pending;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const vekaton::CommandPlan plan = vekaton::ParseCommand(text);
    std::vector<std::uint8_t> planned;
    int ticks = 0;
    for (const auto& step : plan.steps) {
        if (step.kind == vekaton::CommandStep::Kind::SendByte) {
            planned.push_back(step.byte);
        } else {
            Check(step.ticks > 0);
            ticks += step.ticks;
        }
    }
    Check(ticks <= vekaton::kMaxCommandDelayMs / vekaton::kTickMs);
    Check(planned.size() <= text.size() + 1);  // "," alone is two bytes

    bool truncated = false;
    const auto request = vekaton::RequestTextToBytes(text, &truncated);
    Check(request.size() <= static_cast<std::size_t>(vekaton::kMaxRequestBytes));
    Check(!truncated || request.size() == static_cast<std::size_t>(vekaton::kMaxRequestBytes));

    RecordingPort port;
    StepClock clock;
    vekaton::CommandSender sender(port, clock);
    int done = 0;
    const auto error = sender.Send(text, [&] { ++done; });
    Check(error == plan.error);
    int steps = 0;
    while (clock.Step()) {
        Check(++steps <= static_cast<int>(plan.steps.size()) + 1);
    }
    Check(done == 1 && port.flushes == 1 && !sender.Busy());
    Check(port.written == planned);
    Check(clock.now <= static_cast<std::int64_t>(vekaton::kMaxCommandDelayMs) +
                           vekaton::CommandSender::kSettleTicks * vekaton::kTickMs);
    return 0;
}
