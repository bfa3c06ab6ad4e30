#pragma once

#include <cstdint>
#include <optional>

namespace vekaton {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

// The colours of cells by value. Without a centre the scale runs from the lowest value shown
// (pale yellow) through orange to the highest (dark red). With a centre it diverges: the centre
// is white, values below it turn blue and values above it red, equally strong for equal
// distances on either side (the farther of the lowest and highest value sets full colour), so
// that 126 and 130 around a block learn of 128 look equally far off.
class ColourScale {
  public:
    ColourScale(double low, double high, std::optional<double> centre = std::nullopt);

    Rgb Of(double value) const;
    // Where the value lies on the scale, 0 to 1 (0.5 is the centre of a diverging scale).
    double PlaceOf(double value) const;
    // The colour at a place 0 to 1, for drawing the scale's legend.
    Rgb AtPlace(double place) const;

    double Low() const { return low_; }
    double High() const { return high_; }
    const std::optional<double>& Centre() const { return centre_; }

  private:
    double low_;
    double high_;
    std::optional<double> centre_;
    double reach_ = 0.0;  // a diverging scale's distance from the centre to full colour
};

// Whether text on this colour reads better in black than in white.
bool DarkTextOn(Rgb background);

}  // namespace vekaton
