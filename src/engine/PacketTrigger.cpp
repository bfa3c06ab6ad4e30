#include "engine/PacketTrigger.h"

#include <algorithm>
#include <utility>

namespace vekaton {

namespace {

std::uint8_t UpperByte(std::uint8_t b) {
    return (b >= 'a' && b <= 'z') ? static_cast<std::uint8_t>(b - ('a' - 'A')) : b;
}

struct PatternByte {
    std::uint8_t value = 0;  // upper-cased
    bool any = false;        // "?"
};

// "\" takes the next character literally ("\?" is a question mark, "\\" a backslash); a
// backslash at the very end stands for itself.
std::vector<PatternByte> CompilePattern(const std::string& text) {
    std::vector<PatternByte> pattern;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        if (c == '\\' && i + 1 < text.size()) {
            ++i;
            pattern.push_back({UpperByte(static_cast<std::uint8_t>(text[i])), false});
        } else if (c == '?') {
            pattern.push_back({0, true});
        } else {
            pattern.push_back({UpperByte(c), false});
        }
    }
    return pattern;
}

}  // namespace

struct PacketTrigger::Impl {
    explicit Impl(Clock& c) : clock(c) {}

    // Settings as last written; taken over at every arming.
    std::string startString;
    int packetSize = 0;
    PacketHandler onPacket;

    // The armed state.
    bool enabled = false;
    std::uint64_t armings = 0;  // tells a handler's own re-arming apart from ours
    std::vector<PatternByte> pattern;
    int size = 0;
    std::vector<std::uint8_t> candidate;  // bytes that match the start of the pattern so far
    bool collecting = false;
    std::vector<std::uint8_t> packet;  // bytes after the start string
    Clock& clock;
    Clock::TimerId timer = 0;
    int abandoned = 0;

    void StopTimer() {
        if (timer != 0) {
            clock.Cancel(timer);
            timer = 0;
        }
    }

    void Arm() {
        StopTimer();
        enabled = true;
        ++armings;
        pattern = CompilePattern(startString);
        size = packetSize;
        candidate.clear();
        packet.clear();
        collecting = false;
    }

    void Disarm() {
        StopTimer();
        enabled = false;
        ++armings;
        candidate.clear();
        packet.clear();
        collecting = false;
    }

    bool CandidateMatches() const {
        for (std::size_t i = 0; i < candidate.size(); ++i) {
            if (!pattern[i].any && UpperByte(candidate[i]) != pattern[i].value) {
                return false;
            }
        }
        return true;
    }

    // Counted from the first byte of the start string, as the packet size is.
    bool PacketComplete() const {
        return static_cast<long long>(pattern.size() + packet.size()) >= size;
    }

    void StartCollecting() {
        collecting = true;
        candidate.clear();
        packet.clear();
        timer = clock.CallLater(kTimeoutMs, [this] {
            timer = 0;
            ++abandoned;
            Arm();
        });
    }

    void Deliver() {
        StopTimer();
        const std::vector<std::uint8_t> data = std::move(packet);
        packet.clear();
        collecting = false;
        const std::uint64_t before = armings;
        if (onPacket) {
            onPacket(data);
        }
        // A handler that disabled or re-armed the trigger has decided; otherwise re-arm with the
        // values written so far, so changes apply from the next packet on.
        if (before == armings && enabled) {
            Arm();
        }
    }

    void Feed(std::uint8_t byte) {
        if (collecting) {
            packet.push_back(byte);
            if (PacketComplete()) {
                Deliver();
            }
            return;
        }
        if (pattern.empty()) {
            // No start string: a packet starts with any byte.
            StartCollecting();
            packet.push_back(byte);
            if (PacketComplete()) {
                Deliver();
            }
            return;
        }
        // After a false start the match may begin later inside the bytes already seen
        // ("F4F4X" in "F4F4F4X"), so drop leading bytes until the rest fits again.
        candidate.push_back(byte);
        while (!candidate.empty() && !CandidateMatches()) {
            candidate.erase(candidate.begin());
        }
        if (candidate.size() == pattern.size()) {
            StartCollecting();
            if (PacketComplete()) {
                Deliver();  // start string at least as long as the packet: an empty packet
            }
        }
    }
};

PacketTrigger::PacketTrigger(Clock& clock) : impl_(std::make_unique<Impl>(clock)) {}

PacketTrigger::~PacketTrigger() {
    impl_->StopTimer();
}

void PacketTrigger::SetStartString(std::string startString) {
    impl_->startString = std::move(startString);
}

void PacketTrigger::SetPacketSize(int size) {
    impl_->packetSize = size;
}

void PacketTrigger::SetOnPacket(PacketHandler handler) {
    impl_->onPacket = std::move(handler);
}

void PacketTrigger::SetEnabled(bool enabled) {
    if (enabled == impl_->enabled) {
        return;  // arming an armed trigger keeps the packet being waited for
    }
    if (enabled) {
        impl_->Arm();
    } else {
        impl_->Disarm();
    }
}

bool PacketTrigger::Enabled() const {
    return impl_->enabled;
}

void PacketTrigger::Receive(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        if (!impl_->enabled) {
            return;
        }
        impl_->Feed(byte);
    }
}

int PacketTrigger::AbandonedPackets() const {
    return impl_->abandoned;
}

}  // namespace vekaton
