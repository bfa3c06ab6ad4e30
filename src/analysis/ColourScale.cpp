#include "analysis/ColourScale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vekaton {

namespace {

// Stops of the one-sided scale and of the two halves of the diverging one, chosen to stay
// readable for the common kinds of colour blindness.
constexpr std::array<Rgb, 5> kSequential{{
    {255, 255, 204},
    {254, 217, 118},
    {253, 141, 60},
    {227, 26, 28},
    {128, 0, 38},
}};
constexpr std::array<Rgb, 5> kDiverging{{
    {33, 102, 172},
    {146, 197, 222},
    {247, 247, 247},
    {244, 165, 130},
    {178, 24, 43},
}};

std::uint8_t Mix(std::uint8_t a, std::uint8_t b, double t) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

template <std::size_t N>
Rgb Along(const std::array<Rgb, N>& stops, double place) {
    place = std::clamp(std::isfinite(place) ? place : 0.5, 0.0, 1.0);
    const double scaled = place * static_cast<double>(N - 1);
    const auto index = std::min(static_cast<std::size_t>(scaled), N - 2);
    const double t = scaled - static_cast<double>(index);
    const Rgb& a = stops[index];
    const Rgb& b = stops[index + 1];
    return Rgb{Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}

}  // namespace

ColourScale::ColourScale(double low, double high, std::optional<double> centre)
    : low_(std::min(low, high)), high_(std::max(low, high)), centre_(centre) {
    if (centre_) {
        reach_ = std::max(std::abs(high_ - *centre_), std::abs(*centre_ - low_));
    }
}

double ColourScale::PlaceOf(double value) const {
    if (centre_) {
        if (!(reach_ > 0.0)) {
            return 0.5;
        }
        return std::clamp(0.5 + (value - *centre_) / (2.0 * reach_), 0.0, 1.0);
    }
    if (!(high_ > low_)) {
        return 0.5;  // one value: the middle of the scale
    }
    return std::clamp((value - low_) / (high_ - low_), 0.0, 1.0);
}

Rgb ColourScale::AtPlace(double place) const {
    return centre_ ? Along(kDiverging, place) : Along(kSequential, place);
}

Rgb ColourScale::Of(double value) const {
    return AtPlace(PlaceOf(value));
}

bool DarkTextOn(Rgb background) {
    // Relative luminance by the usual weights; above the middle, black reads better.
    const double luminance = 0.2126 * background.r + 0.7152 * background.g + 0.0722 * background.b;
    return luminance > 140.0;
}

}  // namespace vekaton
