#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "sim/EngineModel.h"

namespace vekaton {
namespace {

std::array<std::uint8_t, 30> Frame(const EngineModel& model, std::int64_t ms, std::uint32_t n) {
    std::array<std::uint8_t, 30> data{};
    data.fill(0xEE);
    EngineModel::Encode(model.At(ms), n, data);
    return data;
}

int Word(const std::array<std::uint8_t, 30>& data, int position) {
    return data[static_cast<std::size_t>(position - 1)] * 256 +
           data[static_cast<std::size_t>(position)];
}

TEST(EngineModelTest, SameSeedAndTimeGiveTheSameBytesOtherSeedsDiffer) {
    const EngineModel a(7), b(7), c(8);
    EXPECT_EQ(Frame(a, 12345, 3), Frame(b, 12345, 3));
    EXPECT_NE(Frame(a, 12345, 3), Frame(c, 12345, 3));
}

TEST(EngineModelTest, BytesDecodeBackThroughTheDocumentedFormulas) {
    const EngineModel model(3);
    for (const std::int64_t ms : {0LL, 30'000LL, 400'000LL}) {
        const EngineSample s = model.At(ms);
        const auto d = Frame(model, ms, 300);
        EXPECT_NEAR(d[0] * 0.75 - 40, s.coolantC, 0.4);
        EXPECT_NEAR(d[1] * 0.75 - 40, s.airC, 0.4);
        EXPECT_NEAR(d[2] / 2.55, s.throttlePct, 0.2);
        EXPECT_NEAR(Word(d, 4), s.rpm, 0.5);
        EXPECT_NEAR(d[5] * 0.4 + 10, s.mapKpa, 0.2);
        EXPECT_NEAR(d[6] * 4.44, s.o2mV, 2.3);
        EXPECT_NEAR(d[7] / 10.0, s.batteryV, 0.05);
        EXPECT_NEAR(d[8] / 2.0 - 10, s.sparkDeg, 0.25);
        EXPECT_NEAR(d[9], s.speedKmh, 0.5);
        EXPECT_NEAR(Word(d, 12) / 1000.0, s.injectorMs, 0.0005);
        EXPECT_EQ(Word(d, 14), static_cast<int>(s.runSeconds));
        EXPECT_EQ(d[17] & 1, s.closedLoop ? 1 : 0);
        EXPECT_EQ((d[17] >> 1) & 1, s.fanOn ? 1 : 0);
        EXPECT_EQ((d[17] >> 3) & 1, 1);  // engine running
        EXPECT_EQ(d[18] & 1, s.parkNeutral ? 1 : 0);
        EXPECT_NEAR(d[20] * 0.4 + 10, s.baroKpa, 0.2);
        EXPECT_EQ(d[22], 300 % 256);  // frame counter wraps
        for (std::size_t i = EngineModel::kLayoutBytes; i < d.size(); ++i) {
            EXPECT_EQ(d[i], 0) << "position " << i + 1;
        }
    }
}

TEST(EngineModelTest, ShortFramesEndEarlyWithoutWritingPastTheirEnd) {
    const EngineModel model(1);
    std::array<std::uint8_t, 8> guarded{};
    guarded.fill(0x5A);
    EngineModel::Encode(model.At(5000), 0, std::span(guarded).first(4));  // cuts engine speed
    EXPECT_EQ(guarded[4], 0x5A);
    EngineModel::Encode(model.At(5000), 0, std::span<std::uint8_t>());
}

TEST(EngineModelTest, ARunLooksLikeAWarmingDrivenEngineAndChangesSmoothly) {
    const EngineModel model(11);
    EngineSample previous = model.At(0);
    bool sawClosedLoop = false, sawOpenLoop = false, sawFan = false, sawIdle = false;
    double maxRpm = 0, minRpm = 1e9;
    for (std::int64_t ms = 100; ms <= 20 * 60 * 1000; ms += 100) {
        const EngineSample s = model.At(ms);
        // One frame apart at 10 frames a second, nothing jumps.
        ASSERT_LT(std::abs(s.rpm - previous.rpm), 250.0) << ms;
        ASSERT_LT(std::abs(s.coolantC - previous.coolantC), 0.5) << ms;
        ASSERT_LT(std::abs(s.throttlePct - previous.throttlePct), 5.0) << ms;
        ASSERT_GE(s.batteryV, 13.0);
        ASSERT_LE(s.batteryV, 14.5);
        ASSERT_GE(s.o2mV, 0.0);
        ASSERT_LE(s.o2mV, 1000.0);
        ASSERT_GE(s.sparkDeg, 0.0);
        ASSERT_LE(s.sparkDeg, 50.0);
        ASSERT_GE(s.mapKpa, 20.0);
        ASSERT_LE(s.mapKpa, 105.0);
        maxRpm = std::max(maxRpm, s.rpm);
        minRpm = std::min(minRpm, s.rpm);
        sawClosedLoop |= s.closedLoop;
        sawOpenLoop |= !s.closedLoop;
        sawFan |= s.fanOn;
        sawIdle |= s.idle;
        previous = s;
    }
    EXPECT_GT(minRpm, 650.0);
    EXPECT_LT(minRpm, 900.0);   // it idles
    EXPECT_GT(maxRpm, 2000.0);  // and it is driven
    EXPECT_LT(maxRpm, 6500.0);
    EXPECT_TRUE(sawClosedLoop && sawOpenLoop && sawFan && sawIdle);
    EXPECT_LT(model.At(0).coolantC, 30.0);
    EXPECT_GT(model.At(10 * 60 * 1000).coolantC, 80.0);
}

}  // namespace
}  // namespace vekaton
