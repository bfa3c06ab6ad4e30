#include "analysis/AnalysisText.h"

#include <algorithm>

#include "analysis/FrameAccumulator.h"

namespace vekaton {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendNumber(std::string& line, double value, const TextLayout& layout) {
    NumberBuffer buffer{};
    line.append(buffer.data(), FormatTableNumber(value, layout.precision, buffer));
}

void AppendField(std::string& line, const std::optional<double>& value, const TextLayout& layout) {
    line.push_back(layout.separator);
    if (value) {
        AppendNumber(line, *value, layout);
    }
}

bool Shows(const FrameAccumulator& result, int cell) {
    const std::int64_t minimum = std::max<std::int64_t>(result.Setup().minCount, 1);
    return result.Grid().Cell(cell).Count() >= minimum;
}

}  // namespace

std::optional<double> CellValue(const FrameAccumulator& result, int cell) {
    if (!Shows(result, cell)) {
        return std::nullopt;
    }
    return result.Grid().Cell(cell).Value(result.Setup().statistic);
}

std::string CellTableText(const FrameAccumulator& result, const TextLayout& layout) {
    const CellGrid& grid = result.Grid();
    std::string text = "Y\\X";
    for (int column = 0; column < grid.Columns(); ++column) {
        AppendField(text, grid.XEdges().Lower(column), layout);
    }
    text.append(kLineEnd);
    for (int row = 0; row < grid.Rows() && grid.YEdges(); ++row) {
        AppendNumber(text, grid.YEdges()->Lower(row), layout);
        for (int column = 0; column < grid.Columns(); ++column) {
            AppendField(text, CellValue(result, row * grid.Columns() + column), layout);
        }
        text.append(kLineEnd);
    }
    return text;
}

std::string HistogramText(const FrameAccumulator& result, const TextLayout& layout) {
    const CellGrid& grid = result.Grid();
    const bool share = result.Setup().share;
    std::string text = "X";
    text.push_back(layout.separator);
    text.append(share ? "Share" : "Count");
    text.append(kLineEnd);
    const auto total = static_cast<double>(grid.Total());
    for (int bin = 0; bin < grid.Columns(); ++bin) {
        AppendNumber(text, grid.XEdges().Lower(bin), layout);
        std::optional<double> value;
        if (Shows(result, bin)) {
            const auto count = static_cast<double>(grid.Cell(bin).Count());
            value = share ? count / total : count;
        }
        AppendField(text, value, layout);
        text.append(kLineEnd);
    }
    return text;
}

std::string ScatterText(const FrameAccumulator& result, const TextLayout& layout) {
    const CellGrid& grid = result.Grid();
    const bool colour = result.Setup().z.has_value();
    std::string text = "X";
    for (const std::string_view name : {"Y", "Count"}) {
        text.push_back(layout.separator);
        text.append(name);
    }
    if (colour) {
        text.push_back(layout.separator);
        text.push_back('Z');
    }
    text.append(kLineEnd);
    if (!grid.YEdges()) {
        return text;
    }
    for (int cell = 0; cell < grid.CellCount(); ++cell) {
        if (!Shows(result, cell)) {
            continue;
        }
        AppendNumber(text, grid.XEdges().Lower(grid.ColumnOf(cell)), layout);
        AppendField(text, grid.YEdges()->Lower(grid.RowOf(cell)), layout);
        AppendField(text, static_cast<double>(grid.Cell(cell).Count()), layout);
        if (colour) {
            AppendField(text, grid.Cell(cell).Value(result.Setup().statistic), layout);
        }
        text.append(kLineEnd);
    }
    return text;
}

std::string AnalysisText(const FrameAccumulator& result, const TextLayout& layout) {
    switch (result.Setup().kind) {
        case AnalysisKind::Table:
            return CellTableText(result, layout);
        case AnalysisKind::Histogram:
            return HistogramText(result, layout);
        case AnalysisKind::Scatter:
            return ScatterText(result, layout);
    }
    return {};
}

}  // namespace vekaton
