#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/BinEdges.h"
#include "analysis/Condition.h"
#include "analysis/RunningStats.h"
#include "analysis/ValueRef.h"

namespace vekaton {

class DetailsTable;
class ParameterTable;

enum class AnalysisKind {
    Table,      // a statistic of Z in every X x Y cell
    Histogram,  // the frames in every X bin
    Scatter,    // X against Y, coloured by Z: a density of cells and a sample of points
};

// What the user asks of an analysis, as a view or the command line holds it and the set keeps it.
struct AnalysisSetup {
    static constexpr int kDefaultBins = 10;

    AnalysisKind kind = AnalysisKind::Table;
    ValueRef x;
    std::optional<ValueRef> y;  // Table and Scatter
    std::optional<ValueRef> z;  // Table (needed), Scatter (the colour, optional)
    // Typed edges; nullopt for automatic edges: xBins equal bins over the definition's display
    // range, else over the values' minimum to maximum in the frames used.
    std::optional<BinEdges> xEdges;
    std::optional<BinEdges> yEdges;
    int xBins = kDefaultBins;
    int yBins = kDefaultBins;
    Statistic statistic = Statistic::Mean;  // of Z, in a table and a scatter's cells
    std::vector<Condition> conditions;      // all must hold
    double settleSeconds = 0.0;
    std::int64_t minCount = 1;  // a cell with fewer frames shows no value
    bool share = false;         // a histogram's bins as shares of the frames counted

    bool operator==(const AnalysisSetup&) const = default;
};

// The value each cell's statistics are taken of: Z, else Y for a scatter without a colour,
// else X (a histogram's bins then tell the spread of X inside them).
ValueRef StatisticRef(const AnalysisSetup& setup);

// Every value the setup reads, the conditions' included.
std::vector<ValueRef> SetupRefs(const AnalysisSetup& setup);

// What is missing or unknown in the setup for this table and frame length, each problem naming
// the position; empty when it can run.
std::vector<std::string> SetupProblems(const AnalysisSetup& setup, const ParameterTable& table,
                                       int dataBytes);

// Equal bins over the definition's display range for ref, or nullopt when it has none (no
// details, no range, or a range that is empty or reversed).
std::optional<BinEdges> DisplayRangeEdges(const DetailsTable* details, ValueRef ref, int bins);

// The edges an analysis knows before it reads a frame: typed, else from the display range. An
// axis left empty needs the values' range (a log is read for it first; a live view must ask).
// y is empty for a histogram.
struct KnownEdges {
    std::optional<BinEdges> x;
    std::optional<BinEdges> y;
};
KnownEdges EdgesBeforeData(const AnalysisSetup& setup, const DetailsTable* details);

// Equal bins from the lowest to the highest value seen; a single value gets a small range
// around it. nullopt when no value was seen (low > high).
std::optional<BinEdges> SeenRangeEdges(double low, double high, int bins);

}  // namespace vekaton
