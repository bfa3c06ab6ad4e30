#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vekaton {

struct ScatterPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;  // the colour value
    std::int64_t frame = 0;

    bool operator==(const ScatterPoint&) const = default;
};

// A uniform random sample of at most `capacity` of the points offered (reservoir sampling), so
// that a scatter of a million frames draws a bounded number of dots. Every point is kept while
// there are no more than `capacity`. The generator has a fixed seed: the same points offered in
// the same order give the same sample, from a log or live.
class PointSample {
  public:
    explicit PointSample(std::size_t capacity = 0);

    void Offer(const ScatterPoint& point);
    const std::vector<ScatterPoint>& Points() const { return points_; }
    std::size_t Capacity() const { return capacity_; }
    // Points offered since the start or the last Clear.
    std::int64_t Offered() const { return offered_; }
    void Clear();

  private:
    std::uint64_t NextRandom();

    std::size_t capacity_;
    std::vector<ScatterPoint> points_;
    std::int64_t offered_ = 0;
    std::uint64_t state_;
};

}  // namespace vekaton
