#pragma once

#include <optional>
#include <utility>

namespace vekaton {

// The range an auto-scaled chart channel is drawn over. It grows at once to take in every
// value, shrinks only slowly towards the values' own range, and is never narrower than a small
// share of the values' size, so that a new channel's first few values do not make its scale
// swing from a wide guess to the noise of a nearly flat signal.
class SettlingRange {
  public:
    // Share of the way to a narrower range taken at each update.
    static constexpr double kShrinkShare = 0.1;
    // The narrowest range, as a share of the values' size.
    static constexpr double kNarrowest = 0.02;
    // Nearer to the values' edge than this share of the range shown is on it.
    static constexpr double kSettled = 0.002;

    // The values' lowest and highest now; returns the range to draw over.
    std::pair<double, double> Follow(double lowest, double highest);
    std::optional<std::pair<double, double>> Shown() const { return shown_; }
    void Reset() { shown_.reset(); }

  private:
    std::optional<std::pair<double, double>> shown_;
};

}  // namespace vekaton
