#pragma once

#include <cstdint>
#include <span>

namespace vekaton {

// What the engine needs of the serial link. The shell implements it over QSerialPort; tests use a
// fake. Received bytes do not come through here: the shell hands them to the engine as they arrive.
class Port {
  public:
    virtual ~Port() = default;

    virtual bool IsOpen() const = 0;
    // Queues the bytes for sending and returns at once; false when the port is closed or failed.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // Discards everything received and not yet handed to the engine.
    virtual void FlushInput() = 0;
    // Hands the engine, now, whatever has arrived and not been handed over yet. A poll tick
    // calls it first: on a busy machine the tick can come before the event that would deliver
    // the last answer's bytes, which would then be counted into the next frame.
    virtual void DeliverReceived() {}
};

}  // namespace vekaton
