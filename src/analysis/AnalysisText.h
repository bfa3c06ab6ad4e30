#pragma once

#include <optional>
#include <string>

#include "common/FloatText.h"

namespace vekaton {

class FrameAccumulator;

// How an analysis is written as text: CSV for files (the separator, number format and CR LF line
// ends of `vekaton-cli decode`), or tab-separated for the clipboard, which pastes into a
// spreadsheet's cells.
struct TextLayout {
    char separator = ',';
    NumberPrecision precision = NumberPrecision::Significant;
};

// What a cell shows: its statistic, or nothing when it holds fewer frames than the minimum count
// (never fewer than one) or the statistic has no value (sd below two values).
std::optional<double> CellValue(const FrameAccumulator& result, int cell);

// A table: the line "Y\X" and the lower edge of each X bin; then per Y bin, lowest first, its
// lower edge and the cells.
std::string CellTableText(const FrameAccumulator& result, const TextLayout& layout = {});
// A histogram: the line "X,Count" (or "X,Share"), then per bin its lower edge and its count
// (or its share of the frames counted, 0 to 1); a bin below the minimum count is empty.
std::string HistogramText(const FrameAccumulator& result, const TextLayout& layout = {});
// A scatter's density: the line "X,Y,Count" (and ",Z" with a colour position), then one line per
// cell that holds at least the minimum count, by Y bin and then X bin, lowest first: the cell's
// lower X and Y edges, its count, and the statistic of Z.
std::string ScatterText(const FrameAccumulator& result, const TextLayout& layout = {});
// The text of the result's kind.
std::string AnalysisText(const FrameAccumulator& result, const TextLayout& layout = {});

}  // namespace vekaton
