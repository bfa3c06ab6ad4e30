// Typed analysis settings and a data log from arbitrary bytes. The text up to the first newline
// is read as an edge list, a condition and a position: nothing may crash, and what is accepted
// must read back from its own text. The rest is a data log (a header byte, five data bytes and a
// checksum a record), analysed as a table with automatic edges, a filter and a settling time:
// every frame must be accounted for exactly once and every used frame must sit in a cell.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "analysis/AnalysisText.h"
#include "analysis/LogAnalysis.h"
#include "decode/ParameterTable.h"
#include "log/DataLogFile.h"

namespace {

void CheckText(std::string_view text) {
    const vekaton::EdgeListParse edges = vekaton::ParseEdgeList(text);
    if (edges.edges.has_value() == !edges.error.empty()) {
        std::abort();
    }
    if (edges.edges) {
        const auto again = vekaton::ParseEdgeList(vekaton::EdgeListText(*edges.edges)).edges;
        if (!again || !(*again == *edges.edges)) {
            std::abort();
        }
    }
    const vekaton::ConditionParse condition = vekaton::ParseCondition(text);
    if (condition.condition) {
        const auto again =
            vekaton::ParseCondition(vekaton::ConditionText(*condition.condition)).condition;
        if (!again || !(*again == *condition.condition)) {
            std::abort();
        }
    }
    if (const auto ref = vekaton::ParseValueRef(text)) {
        if (vekaton::ParseValueRef(vekaton::ValueRefText(*ref)) != ref) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = all.find('\n');
    CheckText(all.substr(0, newline));
    if (newline == std::string_view::npos) {
        return 0;
    }
    const std::span<const std::uint8_t> file(data + newline + 1, size - newline - 1);

    vekaton::ParameterTable table;
    table.At(1).Descriptions[0] = "X";
    table.At(1).ByteCount = 2;
    table.At(1).SetFormula("A*256+B");
    table.At(3).Descriptions[0] = "Y";
    table.At(3).SetFormula("A/3-20");
    table.At(4).IsDigital = true;
    table.At(4).Descriptions[0] = "Flag";
    table.At(5).Descriptions[0] = "Z";
    table.At(5).ByteCount = 3;  // runs over the checksum into the next frame
    table.At(5).SetFormula("A-B+C");
    const vekaton::RecordLayout layout{1, 5, true};
    vekaton::DataLogFile log;
    if (log.Open(vekaton::MemoryLogBytes(file), layout.Size())) {
        return 0;
    }
    vekaton::AnalysisSetup setup;
    setup.x = {1, -1};
    setup.y = vekaton::ValueRef{3, -1};
    setup.z = vekaton::ValueRef{5, -1};
    setup.conditions = {*vekaton::ParseCondition("4.0=1").condition};
    setup.settleSeconds = 0.05;
    setup.minCount = 2;
    vekaton::LogAnalysis analysis(log, layout, table, nullptr, setup);
    if (!analysis.Run()) {
        std::abort();
    }
    const vekaton::FrameAccumulator& result = *analysis.Result();
    const vekaton::FrameTally& tally = result.Tally();
    if (tally.read != log.RecordCount() ||
        tally.used + tally.badChecksum + tally.filtered + tally.settling + tally.outOfRange !=
            tally.read ||
        result.Grid().Total() != tally.used || (tally.used > 0 && tally.outOfRange > 0)) {
        std::abort();  // automatic edges take in every used value
    }
    const std::string text = vekaton::CellTableText(result);
    if (text.rfind("Y\\X", 0) != 0 || text.size() < 5 || text.substr(text.size() - 2) != "\r\n") {
        std::abort();
    }
    return 0;
}
