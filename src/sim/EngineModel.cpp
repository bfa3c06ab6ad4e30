#include "sim/EngineModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vekaton {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// A slow wave of the given period in seconds, -1 to 1.
double Wave(double t, double periodS, double phase) {
    return std::sin(kTwoPi * t / periodS + phase);
}

double SmoothStep(double edge0, double edge1, double x) {
    const double u = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return u * u * (3.0 - 2.0 * u);
}

std::uint8_t Byte(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

void PutWord(std::span<std::uint8_t> data, std::size_t index, double value) {
    const long word = std::clamp(std::lround(value), 0L, 65535L);
    if (index < data.size()) {
        data[index] = static_cast<std::uint8_t>(word >> 8);
    }
    if (index + 1 < data.size()) {
        data[index + 1] = static_cast<std::uint8_t>(word & 0xFF);
    }
}

std::uint8_t Flags(std::initializer_list<bool> bits) {
    unsigned value = 0;
    unsigned bit = 1;
    for (const bool on : bits) {
        value |= on ? bit : 0u;
        bit <<= 1;
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

EngineModel::EngineModel(std::uint32_t seed) {
    std::uint64_t state = seed;
    ambientC_ = 10.0 + static_cast<double>(SplitMix(state) % 16);
    for (double& phase : phase_) {
        phase = kTwoPi * static_cast<double>(SplitMix(state) % 10000) / 10000.0;
    }
}

EngineSample EngineModel::At(std::int64_t ms) const {
    const double t = static_cast<double>(std::max<std::int64_t>(ms, 0)) / 1000.0;
    EngineSample s;
    s.running = true;

    // Driving: stretches of idling alternate with cruising, on which the driver works the pedal.
    const double cruise = SmoothStep(-0.2, 0.4, Wave(t, 47.0, phase_[4]));
    const double pedal = 0.25 + 0.15 * Wave(t, 9.7, phase_[0]) + 0.08 * Wave(t, 3.3, phase_[1]);
    s.throttlePct = 100.0 * std::clamp(0.01 + cruise * pedal, 0.0, 1.0);
    s.rpm = 750.0 + 45.0 * s.throttlePct + 25.0 * Wave(t, 1.7, phase_[2]);
    s.mapKpa = 30.0 + 0.68 * s.throttlePct + 1.5 * Wave(t, 2.3, phase_[3]);
    s.baroKpa = 98.0 + 0.4 * Wave(t, 300.0, phase_[1]);
    s.speedKmh = std::max(0.0, s.rpm - 800.0) * 0.032;

    // Warm-up from the ambient temperature to the thermostat, which then cycles slowly.
    const double warm = 1.0 - std::exp(-t / 120.0);
    s.coolantC = ambientC_ + (88.0 - ambientC_) * warm + 5.0 * warm * Wave(t, 90.0, phase_[0]);
    s.airC = ambientC_ + 15.0 * (1.0 - std::exp(-t / 300.0)) + 2.0 * Wave(t, 60.0, phase_[2]);
    s.fanOn = s.coolantC > 91.0;
    s.acRequest = Wave(t, 200.0, phase_[3]) > 0.3;

    s.powerEnrichment = s.throttlePct > 70.0;
    s.closedLoop = t > 20.0 && s.coolantC > 45.0 && !s.powerEnrichment;
    if (s.closedLoop) {
        s.o2mV = 450.0 + 350.0 * Wave(t, 1.3, phase_[1]);
        s.integrator = 128.0 - 10.0 * Wave(t, 1.3, phase_[1]);
    } else {
        s.o2mV = s.powerEnrichment ? 850.0 : std::min(450.0, 150.0 + 10.0 * t);
        s.integrator = 128.0;
    }
    s.rich = s.o2mV > 450.0;
    s.blockLearn = 128.0 + 6.0 * Wave(t, 120.0, phase_[4]);

    s.batteryV = 14.1 + 0.15 * Wave(t, 13.0, phase_[2]) - (s.fanOn ? 0.2 : 0.0);
    s.knock = s.throttlePct > 60.0 && Wave(t, 2.9, phase_[3]) > 0.8;
    s.sparkDeg = 12.0 + (s.rpm - 750.0) / 130.0 - (s.mapKpa - 30.0) * 0.12 - (s.knock ? 4.0 : 0.0);
    s.idle = s.throttlePct < 3.0;
    s.iacSteps = 25.0 + 20.0 * (1.0 - cruise) + 5.0 * Wave(t, 5.0, phase_[0]);
    s.injectorMs = s.mapKpa / 100.0 * 8.0 * (s.closedLoop ? 1.0 : 1.15);
    s.runSeconds = std::floor(t);
    s.knockCount = std::floor(t / 37.0);
    s.fuelPct = std::max(5.0, 75.0 - t / 600.0);
    s.parkNeutral = s.speedKmh < 1.0;
    s.decelCutoff = s.throttlePct < 2.0 && s.rpm > 1500.0;
    s.converterLocked = s.speedKmh > 60.0 && s.throttlePct < 50.0;
    return s;
}

void EngineModel::Encode(const EngineSample& s, std::uint32_t frameNumber,
                         std::span<std::uint8_t> data) {
    std::fill(data.begin(), data.end(), std::uint8_t{0});
    std::uint8_t bytes[kLayoutBytes] = {};
    const auto put = [&bytes](int position, std::uint8_t value) { bytes[position - 1] = value; };
    put(1, Byte((s.coolantC + 40.0) / 0.75));
    put(2, Byte((s.airC + 40.0) / 0.75));
    put(3, Byte(s.throttlePct * 2.55));
    put(6, Byte((s.mapKpa - 10.0) / 0.4));
    put(7, Byte(s.o2mV / 4.44));
    put(8, Byte(s.batteryV * 10.0));
    put(9, Byte((s.sparkDeg + 10.0) * 2.0));
    put(10, Byte(s.speedKmh));
    put(11, Byte(s.iacSteps));
    put(16, Byte(s.blockLearn));
    put(17, Byte(s.integrator));
    put(18, Flags({s.closedLoop, s.fanOn, s.acRequest, s.running, s.rich, s.idle, s.powerEnrichment,
                   s.checkEngine}));
    put(19, Flags({s.parkNeutral, s.knock, s.decelCutoff, s.converterLocked}));
    put(20, static_cast<std::uint8_t>(static_cast<long>(s.knockCount) & 0xFF));
    put(21, Byte((s.baroKpa - 10.0) / 0.4));
    put(22, Byte(s.fuelPct * 2.55));
    put(23, static_cast<std::uint8_t>(frameNumber & 0xFFu));
    std::span<std::uint8_t> layout(bytes);
    PutWord(layout, 3, s.rpm);                   // positions 4 and 5
    PutWord(layout, 11, s.injectorMs * 1000.0);  // positions 12 and 13
    PutWord(layout, 13, s.runSeconds);           // positions 14 and 15
    std::copy_n(bytes, std::min<std::size_t>(data.size(), kLayoutBytes), data.begin());
}

}  // namespace vekaton
