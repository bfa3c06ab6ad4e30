#include "analysis/RunningStats.h"

#include <array>
#include <cctype>
#include <cmath>
#include <utility>

namespace vekaton {

namespace {

constexpr std::array<std::pair<std::string_view, Statistic>, 5> kNames = {{
    {"mean", Statistic::Mean},
    {"count", Statistic::Count},
    {"min", Statistic::Min},
    {"max", Statistic::Max},
    {"sd", Statistic::Sd},
}};

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<Statistic> ParseStatistic(std::string_view text) {
    for (const auto& [name, statistic] : kNames) {
        if (SameWord(text, name)) {
            return statistic;
        }
    }
    return std::nullopt;
}

std::string_view StatisticName(Statistic statistic) {
    for (const auto& [name, each] : kNames) {
        if (each == statistic) {
            return name;
        }
    }
    return "mean";
}

void RunningStats::Merge(const RunningStats& other) {
    if (other.count_ == 0) {
        return;
    }
    if (count_ == 0) {
        *this = other;
        return;
    }
    const auto n = static_cast<double>(count_ + other.count_);
    const double delta = other.mean_ - mean_;
    mean_ += delta * static_cast<double>(other.count_) / n;
    m2_ += other.m2_ +
           delta * delta * static_cast<double>(count_) * static_cast<double>(other.count_) / n;
    min_ = other.min_ < min_ ? other.min_ : min_;
    max_ = other.max_ > max_ ? other.max_ : max_;
    count_ += other.count_;
}

std::optional<double> RunningStats::SampleSd() const {
    if (count_ < 2) {
        return std::nullopt;
    }
    return std::sqrt(m2_ / static_cast<double>(count_ - 1));
}

std::optional<double> RunningStats::Value(Statistic statistic) const {
    if (count_ == 0) {
        return std::nullopt;
    }
    switch (statistic) {
        case Statistic::Mean:
            return mean_;
        case Statistic::Count:
            return static_cast<double>(count_);
        case Statistic::Min:
            return min_;
        case Statistic::Max:
            return max_;
        case Statistic::Sd:
            return SampleSd();
    }
    return std::nullopt;
}

}  // namespace vekaton
