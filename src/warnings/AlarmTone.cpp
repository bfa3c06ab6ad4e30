#include "warnings/AlarmTone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vekaton {

std::vector<std::int16_t> AlarmTonePcm(const AlarmToneShape& shape) {
    const int rate = std::clamp(shape.sampleRate, 8000, 192000);
    const auto samples = [rate](double seconds) {
        return static_cast<std::size_t>(std::lround(std::clamp(seconds, 0.0, 10.0) * rate));
    };
    const std::size_t beep = samples(shape.beepSeconds);
    const std::size_t gap = samples(shape.gapSeconds);
    const std::size_t period = 2 * beep + gap + samples(shape.pauseSeconds);
    const std::size_t fade = std::min(beep / 2, samples(0.005));
    const double amplitude = std::clamp(shape.amplitude, 0.0, 1.0) * 32767.0;
    std::vector<std::int16_t> pcm(period, 0);
    for (const std::size_t start : {std::size_t{0}, beep + gap}) {
        for (std::size_t i = 0; i < beep; ++i) {
            const std::size_t edge = std::min(i, beep - 1 - i);
            const double envelope = fade > 0 && edge < fade
                                        ? static_cast<double>(edge) / static_cast<double>(fade)
                                        : 1.0;
            const double phase =
                2.0 * std::numbers::pi * shape.frequency * static_cast<double>(i) / rate;
            pcm[start + i] =
                static_cast<std::int16_t>(std::lround(amplitude * envelope * std::sin(phase)));
        }
    }
    return pcm;
}

}  // namespace vekaton
