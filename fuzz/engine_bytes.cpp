// The acquisition engine fed arbitrary bytes under arbitrary settings and an arbitrary parameter
// table. The first bytes choose the settings and the table, the rest is a script of received
// chunks, packets, clock steps and commands. Nothing may crash, read or write out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "chart/ChartStore.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "engine/Engine.h"

namespace {

using vekaton::Clock;

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int Word() { return Byte() | (Byte() << 8); }
    std::span<const uint8_t> Take(size_t n) {
        n = std::min(n, size_ - std::min(at_, size_));
        std::span<const uint8_t> out(data_ + at_, n);
        at_ += n;
        return out;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

class FuzzClock : public Clock {
  public:
    std::int64_t NowMs() const override { return now_; }
    TimerId CallLater(std::int64_t delayMs, std::function<void()> callback) override {
        const TimerId id = next_++;
        timers_.emplace(std::make_pair(now_ + std::max<std::int64_t>(delayMs, 0), id),
                        std::move(callback));
        return id;
    }
    void Cancel(TimerId id) override {
        std::erase_if(timers_, [id](const auto& t) { return t.first.second == id; });
    }
    void Advance(std::int64_t ms) {
        const std::int64_t end = now_ + ms;
        while (!timers_.empty() && timers_.begin()->first.first <= end) {
            auto node = timers_.extract(timers_.begin());
            now_ = node.key().first;
            node.mapped()();
        }
        now_ = end;
    }

  private:
    std::int64_t now_ = 0;
    TimerId next_ = 1;
    std::map<std::pair<std::int64_t, TimerId>, std::function<void()>> timers_;
};

class FuzzPort : public vekaton::Port {
  public:
    bool IsOpen() const override { return open; }
    bool Write(std::span<const std::uint8_t> bytes) override {
        written += bytes.size();
        return open;
    }
    void FlushInput() override {}
    bool open = true;
    size_t written = 0;
};

class FuzzView : public vekaton::EngineView {
  public:
    bool DebugPageActive() const override { return debug; }
    bool debug = false;
};

const char* const kFormulas[] = {
    "",    "A*1",      "A*256+B", "[INTEGER]A", "[UINTEGER]A/10", "1/(A-A)", "SQRT(A-100)",
    "A B", "MAX(A,B)", "LN(A)",   "A*0.75-40",  "(A*256+B)/1000"};

std::string RequestText(Input& in) {
    std::string text;
    const int length = in.Byte() % 12;
    for (int i = 0; i < length; ++i) {
        text += "$" + std::to_string(in.Byte()) + " ";  // decimal after "$" still converts
    }
    return text;
}

vekaton::LinkSettings Settings(Input& in) {
    vekaton::LinkSettings s;
    const uint8_t flags = in.Byte();
    s.syncMode = static_cast<vekaton::SyncMode>(1 + flags % 3);
    s.useCheckSum = (flags & 0x04) != 0;
    s.requestEchoed = (flags & 0x08) != 0;
    s.responseBytes = static_cast<int8_t>(in.Byte());  // negative values too
    s.dataBytes = in.Word() - 100;
    s.sampleRate = in.Byte() * 4 - 8;
    s.syncTime = in.Byte() * 4 - 8;
    s.requestString = RequestText(in);
    s.startCommand = (flags & 0x10) != 0 ? RequestText(in) : "";
    s.stopCommand = (flags & 0x20) != 0 ? "(D110) $01" : "";
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    FuzzClock clock;
    FuzzPort port;
    FuzzView view;
    vekaton::ParameterTable table;
    vekaton::FormulaFrontEnd formulas;
    vekaton::Decoder decoder(table, formulas);
    vekaton::Engine engine(port, clock, decoder, view);

    const int records = in.Byte() % 24;
    for (int r = 0; r < records; ++r) {
        const int position = in.Word() % 520;  // some outside the table on purpose
        vekaton::ParameterRecord* record = table.Find(position);
        const int byteCount = static_cast<int16_t>(in.Word());
        const uint8_t kind = in.Byte();
        if (record == nullptr) {
            continue;
        }
        record->ByteCount = byteCount;
        record->IsDigital = (kind & 0x80) != 0;
        record->SetFormula(kFormulas[kind % std::size(kFormulas)]);
    }
    engine.ApplySettings(Settings(in));
    const bool raw = (in.Byte() & 1) != 0;
    decoder.SetRawMode(raw);
    // A small chart, so that dropping the oldest samples is reached too: an analog channel on
    // a multi-byte value's first position and a bit of another.
    vekaton::ChartStore chart(64);
    chart.AddChannel(vekaton::ChartChannel("a", 0, 1.0, 0.0, 1, 0));
    chart.AddChannel(vekaton::ChartChannel("b", 0, 1.0, 0.0, 3, 5));
    chart.SetTable(&table);
    chart.SetRawMode(raw);
    engine.SetChart(&chart);

    int steps = 0;
    while (!in.Empty() && steps++ < 2000) {
        const uint8_t op = in.Byte();
        switch (op % 12) {
            case 0:
            case 1:
            case 2:
                engine.OnBytesReceived(in.Take(in.Byte()));
                break;
            case 3:
                engine.PacketTriggerPacket(in.Take(in.Word() % 700));
                break;
            case 4:
                clock.Advance(in.Byte() * 8);
                break;
            case 5:
                engine.PauseClick();
                break;
            case 6:
                if (engine.Recording()) {
                    engine.StopRecording();
                } else {
                    engine.StartRecording("/dev/null");
                }
                break;
            case 7:
                engine.ApplySettings(Settings(in));
                break;
            case 8:
                engine.SetLoopBackEnabled(!engine.LoopBackEnabled());
                engine.SetTestDataChoice(op >> 4);
                break;
            case 9:
                view.debug = !view.debug;
                break;
            case 10:
                port.open = !port.open;
                break;
            default:
                engine.NormalTrigger(in.Take(in.Byte()));
                break;
        }
        if (engine.ByteCounter() < 0 || engine.Trace().LineCount() > vekaton::HexTrace::kMaxLines ||
            chart.Data().SampleCount() > chart.Data().Capacity()) {
            std::abort();
        }
    }
    clock.Advance(10000);
    return 0;
}
