#include "definitions/LookupFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vekaton {
namespace {

constexpr double kUnreachable = std::numeric_limits<double>::infinity();

}  // namespace

double LookupPoints::At(double input) const {
    if (x.empty()) {
        return 0.0;
    }
    if (input <= x.front()) {
        return y.front();
    }
    if (input >= x.back()) {
        return y.back();
    }
    const auto upper = std::upper_bound(x.begin(), x.end(), input);
    const auto i = static_cast<std::size_t>(upper - x.begin());
    const double t = (input - x[i - 1]) / (x[i] - x[i - 1]);
    return y[i - 1] + (y[i] - y[i - 1]) * t;
}

LookupFitter::LookupFitter(const LookupPoints& points) : points_(points) {
    const std::size_t n = points.Size();
    chord_.assign(n * n, 0.0);
    for (std::size_t from = 0; from < n; ++from) {
        for (std::size_t to = from + 2; to < n; ++to) {
            chord_[from * n + to] = ChordError(from, to);
        }
    }
    // No segment yet: only the first point is reached.
    best_.push_back(std::vector<double>(n, kUnreachable));
    parent_.push_back(std::vector<std::size_t>(n, 0));
    if (n > 0) {
        best_[0][0] = 0.0;
    }
}

double LookupFitter::ChordError(std::size_t from, std::size_t to) const {
    const auto& x = points_.x;
    const auto& y = points_.y;
    const double slope = (y[to] - y[from]) / (x[to] - x[from]);
    double worst = 0.0;
    for (std::size_t m = from + 1; m < to; ++m) {
        worst = std::max(worst, std::abs(y[m] - (y[from] + slope * (x[m] - x[from]))));
    }
    return worst;
}

void LookupFitter::Extend(int segments) {
    const std::size_t n = points_.Size();
    while (static_cast<int>(best_.size()) <= segments) {
        const std::vector<double>& previous = best_.back();
        std::vector<double> best(n, kUnreachable);
        std::vector<std::size_t> parent(n, 0);
        for (std::size_t to = 1; to < n; ++to) {
            for (std::size_t from = 0; from < to; ++from) {
                if (previous[from] == kUnreachable) {
                    continue;
                }
                const double error = std::max(previous[from], chord_[from * n + to]);
                if (error < best[to]) {
                    best[to] = error;
                    parent[to] = from;
                }
            }
        }
        best_.push_back(std::move(best));
        parent_.push_back(std::move(parent));
    }
}

double LookupFitter::Error(int segments) {
    if (points_.Size() <= 1) {
        return 0.0;
    }
    return best_[static_cast<std::size_t>(BestCount(segments))][points_.Size() - 1];
}

int LookupFitter::BestCount(int segments) {
    segments = std::clamp(segments, 1, TableSegments());
    Extend(segments);
    // Exactly k segments may do worse than fewer, so the best of all counts up to k is taken,
    // the fewest segments among equals.
    int count = 1;
    const std::size_t last = points_.Size() - 1;
    for (int k = 2; k <= segments; ++k) {
        if (best_[static_cast<std::size_t>(k)][last] <
            best_[static_cast<std::size_t>(count)][last]) {
            count = k;
        }
    }
    return count;
}

std::vector<std::size_t> LookupFitter::Breakpoints(int segments) {
    const std::size_t n = points_.Size();
    if (n <= 1) {
        return std::vector<std::size_t>(n, 0);
    }
    segments = BestCount(segments);
    std::vector<std::size_t> points{n - 1};
    for (auto k = static_cast<std::size_t>(segments); k > 0; --k) {
        points.push_back(parent_[k][points.back()]);
    }
    std::reverse(points.begin(), points.end());
    return points;
}

}  // namespace vekaton
