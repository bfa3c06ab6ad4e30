#include "analysis/PointSample.h"

namespace vekaton {

namespace {

constexpr std::uint64_t kSeed = 0x5EED5A3D1E5C0FFEULL;

}  // namespace

PointSample::PointSample(std::size_t capacity) : capacity_(capacity), state_(kSeed) {}

std::uint64_t PointSample::NextRandom() {
    // SplitMix64: fast, and good enough to pick which points stay.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

void PointSample::Offer(const ScatterPoint& point) {
    ++offered_;
    if (capacity_ == 0) {
        return;
    }
    if (points_.size() < capacity_) {
        points_.push_back(point);
        return;
    }
    // Algorithm R: the n-th point replaces a kept one with probability capacity / n.
    const std::uint64_t slot = NextRandom() % static_cast<std::uint64_t>(offered_);
    if (slot < capacity_) {
        points_[static_cast<std::size_t>(slot)] = point;
    }
}

void PointSample::Clear() {
    points_.clear();
    offered_ = 0;
    state_ = kSeed;
}

}  // namespace vekaton
