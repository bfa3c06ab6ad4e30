#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/Port.h"

namespace vekaton::testing {

// Records what the engine writes; FlushInput calls are counted.
class FakePort : public Port {
  public:
    bool IsOpen() const override { return open; }
    bool Write(std::span<const std::uint8_t> bytes) override {
        if (!open) {
            return false;
        }
        written.insert(written.end(), bytes.begin(), bytes.end());
        writes.emplace_back(bytes.begin(), bytes.end());
        return true;
    }
    void FlushInput() override { ++flushes; }
    void DeliverReceived() override {
        if (deliver) {
            deliver();
        }
    }

    bool open = true;
    std::vector<std::uint8_t> written;              // every byte, in order
    std::vector<std::vector<std::uint8_t>> writes;  // one entry per Write call
    int flushes = 0;
    std::function<void()> deliver;  // what DeliverReceived does; nothing by default
};

}  // namespace vekaton::testing
