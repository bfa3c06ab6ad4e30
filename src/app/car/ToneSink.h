#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vekaton {

// Where the alarm's tone goes: a sound device, or the desktop's bell where there is none.
// Tests put a recording sink in its place.
class ToneSink {
  public:
    virtual ~ToneSink() = default;
    // Plays one period of 16-bit mono samples over and over until Stop.
    virtual void Start(const std::vector<std::int16_t>& period, int sampleRate) = 0;
    virtual void Stop() = 0;
    // What the sink plays through, for the user ("sound device", "system bell").
    virtual const char* Kind() const = 0;
};

// The sound device's sink when the system has an audio output, else the bell.
std::unique_ptr<ToneSink> MakeToneSink();

}  // namespace vekaton
