#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vekaton {

enum class Statistic { Mean, Count, Min, Max, Sd };

// "mean", "count", "min", "max", "sd" (any case).
std::optional<Statistic> ParseStatistic(std::string_view text);
std::string_view StatisticName(Statistic statistic);

// Count, mean, minimum, maximum and spread of the values added, in constant memory. The mean and
// the sum of squared deviations are updated by Welford's method, which stays exact to the last
// digits where the textbook sum-of-squares formula cancels away (values near 1e9 that differ by
// fractions).
class RunningStats {
  public:
    void Add(double value) {
        ++count_;
        if (count_ == 1) {
            mean_ = min_ = max_ = value;
            m2_ = 0.0;
            return;
        }
        const double delta = value - mean_;
        mean_ += delta / static_cast<double>(count_);
        m2_ += delta * (value - mean_);
        min_ = value < min_ ? value : min_;
        max_ = value > max_ ? value : max_;
    }
    // As if every value of `other` had been added here (Chan's pairwise update).
    void Merge(const RunningStats& other);

    std::int64_t Count() const { return count_; }
    // Mean, Min, Max: 0 while empty.
    double Mean() const { return mean_; }
    double Min() const { return min_; }
    double Max() const { return max_; }
    // The sample standard deviation (n - 1 in the divisor); nullopt below two values.
    std::optional<double> SampleSd() const;

    // The statistic, or nullopt when it has no value: no values at all, or sd below two.
    std::optional<double> Value(Statistic statistic) const;

    bool operator==(const RunningStats&) const = default;

  private:
    std::int64_t count_ = 0;
    double mean_ = 0.0;
    double m2_ = 0.0;  // sum of squared deviations from the mean
    double min_ = 0.0;
    double max_ = 0.0;
};

}  // namespace vekaton
