#pragma once

#include <cstdint>
#include <vector>

namespace vekaton {

// The alarm's sound, generated rather than shipped: two short beeps and a pause, repeated. Loud
// enough over road noise without being a siren, and clicks are faded out.
struct AlarmToneShape {
    int sampleRate = 22050;
    double frequency = 880.0;  // A5: cuts through engine rumble
    double beepSeconds = 0.18;
    double gapSeconds = 0.12;
    double pauseSeconds = 0.7;
    double amplitude = 0.6;  // of full scale
};

// One period of the tone as signed 16-bit mono samples; played in a loop it repeats seamlessly.
std::vector<std::int16_t> AlarmTonePcm(const AlarmToneShape& shape = {});

}  // namespace vekaton
