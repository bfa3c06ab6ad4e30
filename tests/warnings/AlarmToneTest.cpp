// The generated alarm tone: two beeps at the chosen pitch, a pause, no click at the loop's seam.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "warnings/AlarmTone.h"

namespace vekaton {
namespace {

TEST(AlarmTone, TwoBeepsAtThePitchThenSilenceThatLoopsWithoutAClick) {
    const AlarmToneShape shape;  // 22050 Hz, 880 Hz, 0.18 s beeps 0.12 s apart, 0.7 s pause
    const auto pcm = AlarmTonePcm(shape);
    ASSERT_EQ(pcm.size(), static_cast<std::size_t>((0.18 * 2 + 0.12 + 0.7) * 22050 + 0.5));

    // Rising zero crossings of the first beep count its cycles: 880 a second.
    const std::size_t beep = static_cast<std::size_t>(0.18 * 22050);
    int crossings = 0;
    for (std::size_t i = 1; i < beep; ++i) {
        crossings += pcm[i - 1] < 0 && pcm[i] >= 0 ? 1 : 0;
    }
    EXPECT_NEAR(crossings, 880 * 0.18, 2);

    const auto loudest = [&](std::size_t from, std::size_t to) {
        int peak = 0;
        for (std::size_t i = from; i < to; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(pcm[i])));
        }
        return peak;
    };
    EXPECT_NEAR(loudest(0, beep), 0.6 * 32767, 200);
    EXPECT_EQ(loudest(beep, beep + static_cast<std::size_t>(0.12 * 22050)), 0);  // the gap
    const std::size_t second = beep + static_cast<std::size_t>(0.12 * 22050);
    EXPECT_GT(loudest(second, second + beep), 15000);
    EXPECT_EQ(loudest(second + beep, pcm.size()), 0);  // the pause
    // Faded in and out: the first and last samples of a beep are silent, so the loop's seam
    // and the beep's edges do not click.
    EXPECT_EQ(pcm.front(), 0);
    EXPECT_LT(std::abs(static_cast<int>(pcm[beep - 1])), 500);
}

TEST(AlarmTone, ShapesOutsideReasonAreHeldToIt) {
    AlarmToneShape shape;
    shape.sampleRate = 10;  // held to 8000
    shape.amplitude = 7;    // held to full scale
    shape.pauseSeconds = -1;
    const auto pcm = AlarmTonePcm(shape);
    EXPECT_EQ(pcm.size(), static_cast<std::size_t>(std::lround((0.18 * 2 + 0.12) * 8000)));
    int peak = 0;
    for (const auto sample : pcm) {
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    EXPECT_GT(peak, 32000);
}

}  // namespace
}  // namespace vekaton
