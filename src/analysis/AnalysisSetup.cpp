#include "analysis/AnalysisSetup.h"

#include <algorithm>
#include <cmath>

#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"

namespace vekaton {

ValueRef StatisticRef(const AnalysisSetup& setup) {
    if (setup.z && setup.kind != AnalysisKind::Histogram) {
        return *setup.z;
    }
    if (setup.y && setup.kind == AnalysisKind::Scatter) {
        return *setup.y;
    }
    return setup.x;
}

std::vector<ValueRef> SetupRefs(const AnalysisSetup& setup) {
    std::vector<ValueRef> refs{setup.x};
    if (setup.kind != AnalysisKind::Histogram) {
        if (setup.y) {
            refs.push_back(*setup.y);
        }
        if (setup.z) {
            refs.push_back(*setup.z);
        }
    }
    for (const Condition& condition : setup.conditions) {
        refs.push_back(condition.ref);
    }
    return refs;
}

std::vector<std::string> SetupProblems(const AnalysisSetup& setup, const ParameterTable& table,
                                       int dataBytes) {
    std::vector<std::string> problems;
    if (setup.kind != AnalysisKind::Histogram && !setup.y) {
        problems.emplace_back("no Y position is chosen");
    }
    if (setup.kind == AnalysisKind::Table && !setup.z) {
        problems.emplace_back("no Z position is chosen");
    }
    std::vector<ValueRef> named;
    for (const ValueRef ref : SetupRefs(setup)) {
        if (std::find(named.begin(), named.end(), ref) != named.end()) {
            continue;  // one message per position, however often it is used
        }
        named.push_back(ref);
        if (auto reason = UnknownValueReason(table, ref, dataBytes)) {
            problems.push_back(std::move(*reason));
        }
    }
    if (!std::isfinite(setup.settleSeconds) || setup.settleSeconds < 0.0) {
        problems.emplace_back("the settling time must be 0 seconds or more");
    }
    if (setup.xBins < 1 || setup.yBins < 1) {
        problems.emplace_back("automatic edges need at least one bin");
    }
    return problems;
}

std::optional<BinEdges> DisplayRangeEdges(const DetailsTable* details, ValueRef ref, int bins) {
    if (details == nullptr || ref.IsBit()) {
        return std::nullopt;
    }
    const PositionDetails* found = details->Find(ref.position);
    if (found == nullptr || !found->displayMin || !found->displayMax) {
        return std::nullopt;
    }
    return BinEdges::Equal(*found->displayMin, *found->displayMax, bins);
}

KnownEdges EdgesBeforeData(const AnalysisSetup& setup, const DetailsTable* details) {
    KnownEdges known;
    known.x = setup.xEdges ? setup.xEdges : DisplayRangeEdges(details, setup.x, setup.xBins);
    if (setup.kind != AnalysisKind::Histogram && setup.y) {
        known.y = setup.yEdges ? setup.yEdges : DisplayRangeEdges(details, *setup.y, setup.yBins);
    }
    return known;
}

std::optional<BinEdges> SeenRangeEdges(double low, double high, int bins) {
    if (!(low <= high)) {
        return std::nullopt;
    }
    if (low == high) {
        // A value that never moved still gets its bin, in the middle of a range around it.
        const double half = std::max(0.5, std::abs(low) * 1e-6);
        return BinEdges::Equal(low - half, low + half, bins);
    }
    if (auto edges = BinEdges::Equal(low, high, bins)) {
        return edges;
    }
    // Too close together for that many bins in a double: one bin holds them all.
    return BinEdges::FromList({low, high});
}

}  // namespace vekaton
