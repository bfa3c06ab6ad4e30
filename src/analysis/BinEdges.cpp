#include "analysis/BinEdges.h"

#include <algorithm>
#include <cmath>

#include "analysis/AnalysisNumbers.h"
#include "common/FloatText.h"

namespace vekaton {

std::optional<BinEdges> BinEdges::FromList(std::vector<double> edges) {
    if (edges.size() < 2) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (!std::isfinite(edges[i]) || (i > 0 && !(edges[i - 1] < edges[i]))) {
            return std::nullopt;
        }
    }
    return BinEdges(std::move(edges));
}

std::optional<BinEdges> BinEdges::Equal(double low, double high, int count) {
    if (count < 1 || !std::isfinite(low) || !std::isfinite(high) || !(low < high) ||
        !std::isfinite(high - low)) {
        return std::nullopt;
    }
    std::vector<double> edges(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i < count; ++i) {
        // One rounding per edge: 0 + 0.1 * 3 style sums would drift.
        edges[static_cast<std::size_t>(i)] = low + (high - low) * i / count;
    }
    edges.back() = high;
    return FromList(std::move(edges));
}

int BinEdges::BinOf(double value) const {
    if (edges_.empty() || !(value >= edges_.front() && value <= edges_.back())) {
        return -1;  // outside, or not a number
    }
    if (value == edges_.back()) {
        return Count() - 1;  // the last bin is closed
    }
    const auto above = std::upper_bound(edges_.begin(), edges_.end(), value);
    return static_cast<int>(above - edges_.begin()) - 1;
}

EdgeListParse ParseEdgeList(std::string_view text) {
    const std::string quoted = "'" + std::string(text) + "'";
    std::vector<double> edges;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view item = text.substr(start, comma - start);
        const auto value = ParseFiniteNumber(item);
        if (!value) {
            return {std::nullopt,
                    "edge list " + quoted + ": '" + std::string(item) + "' is not a number"};
        }
        if (!edges.empty() && !(edges.back() < *value)) {
            return {std::nullopt, "edge list " + quoted + ": the edges must rise strictly, but " +
                                      std::string(TrimBlanks(item)) + " follows " +
                                      ShortestFloatText(edges.back())};
        }
        edges.push_back(*value);
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (edges.size() < 2) {
        return {std::nullopt, "edge list " + quoted +
                                  " needs at least two edges (E0,E1,...: n+1 edges make n bins)"};
    }
    return {BinEdges::FromList(std::move(edges)), {}};
}

std::string EdgeListText(const BinEdges& edges) {
    std::string text;
    for (const double edge : edges.Values()) {
        if (!text.empty()) {
            text += ',';
        }
        text += ShortestFloatText(edge);
    }
    return text;
}

}  // namespace vekaton
