#pragma once

#include <cstddef>
#include <vector>

namespace vekaton {

// A lookup table as points sorted by strictly rising input. Between points the output is
// interpolated linearly; outside them it stays at the first or last output.
struct LookupPoints {
    std::vector<double> x;
    std::vector<double> y;

    std::size_t Size() const { return x.size(); }
    double At(double input) const;
};

// The best approximations of a table by fewer straight segments. Each segment runs between two
// of the table's own points and meets the table there exactly; the error of a choice is the
// largest distance between it and the table, which lies at one of the table's points since both
// are straight between them. For every segment count a dynamic program over the breakpoints
// finds the choice of smallest error.
class LookupFitter {
  public:
    // Tables larger than this are refused by the importer: the search grows with the cube of
    // the point count.
    static constexpr std::size_t kMaxPoints = 1024;

    explicit LookupFitter(const LookupPoints& points);

    // Segments of the table itself: one less than its points (0 for a single point).
    int TableSegments() const { return static_cast<int>(points_.Size()) - 1; }
    // The smallest error reachable with at most `segments` segments (clamped to the table's).
    double Error(int segments);
    // Indexes of the breakpoints of that choice (the fewest segments among choices of equal
    // error), first and last point included.
    std::vector<std::size_t> Breakpoints(int segments);

  private:
    double ChordError(std::size_t from, std::size_t to) const;
    // The segment count of the best choice with at most `segments` segments.
    int BestCount(int segments);
    void Extend(int segments);

    const LookupPoints& points_;
    std::vector<double> chord_;  // [from * n + to]: the error of one segment from..to
    // best_[k][j]: the smallest error reaching point j with k segments; parent_ where it came from
    std::vector<std::vector<double>> best_;
    std::vector<std::vector<std::size_t>> parent_;
};

}  // namespace vekaton
