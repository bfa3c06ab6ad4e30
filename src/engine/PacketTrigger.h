#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/Clock.h"

namespace vekaton {

// Cuts the incoming byte stream into packets that begin with a start string (ALDL 160 interface
// mode). Matching ignores letter case; in the start string "\" makes the next character literal
// and "?" matches any byte. The start string is not part of a delivered packet.
class PacketTrigger {
  public:
    // data is the packet without its start string.
    using PacketHandler = std::function<void(std::span<const std::uint8_t> data)>;

    static constexpr std::int64_t kTimeoutMs = 2184LL * 55;  // about two minutes

    explicit PacketTrigger(Clock& clock);
    ~PacketTrigger();
    PacketTrigger(const PacketTrigger&) = delete;
    PacketTrigger& operator=(const PacketTrigger&) = delete;

    // Take effect at the next arming, never on the packet being waited for.
    void SetStartString(std::string startString);
    // Size that ends a packet, counted from the first byte of the start string.
    void SetPacketSize(int size);
    void SetOnPacket(PacketHandler handler);

    // Arming takes the current start string and packet size.
    void SetEnabled(bool enabled);
    bool Enabled() const;

    // Feed received bytes, in order.
    void Receive(std::span<const std::uint8_t> bytes);

    // Packets started but not completed within the timeout; the trigger re-arms after each.
    int AbandonedPackets() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vekaton
