#pragma once

#include "app/car/ToneSink.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vekaton {

// The alarm's repeating tone. Start sounds it, Acknowledge silences it until the alarm has
// ended (Stop), so an acknowledged alarm that is still on stays quiet; Follow does all three from
// the warnings' own answer to "does an alarm sound?".
class AlarmSound {
  public:
    // A null sink takes the system's (MakeToneSink).
    explicit AlarmSound(std::unique_ptr<ToneSink> sink = nullptr);

    void Start();
    void Stop();
    void Acknowledge();
    // Sounding when `alarm` is true, unless acknowledged; Stop when it is false.
    void Follow(bool alarm);

    bool Sounding() const { return sounding_; }
    bool Acknowledged() const { return acknowledged_; }
    const ToneSink& Sink() const { return *sink_; }

  private:
    std::unique_ptr<ToneSink> sink_;
    std::vector<std::int16_t> tone_;
    int sampleRate_;
    bool sounding_ = false;
    bool acknowledged_ = false;
};

}  // namespace vekaton
