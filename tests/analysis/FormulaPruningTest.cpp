// Evaluating only the formulas an analysis needs leaves its values exactly as the whole table
// gives them, across multi-byte values that run into the next frame and flag bytes among them.
#include <gtest/gtest.h>

#include <random>

#include "analysis/FormulaPruning.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "log/RecordPlayback.h"

namespace vekaton {
namespace {

constexpr int kDataBytes = 12;

// Values of every width, prefixes that read the width, a flag byte inside a multi-byte value,
// and a three-byte value at the end that completes in the next frame.
void Define(ParameterTable& table) {
    const auto value = [&table](int position, int bytes, const char* formula) {
        table.At(position).Descriptions[0] = "Value " + std::to_string(position);
        table.At(position).ByteCount = bytes;
        table.At(position).SetFormula(formula);
    };
    value(1, 1, "A*0.75-40");
    value(2, 2, "A*256+B");
    value(4, 1, "[INTEGER]A+B");
    value(5, 3, "A*65536+B*256+C");
    table.At(6).IsDigital = true;
    table.At(6).Descriptions[1] = "Flag";
    value(8, 1, "A/2+C");
    value(9, 1, "A-E");
    value(10, 1, "SQRT(A)");
    value(11, 3, "A*1000+B+C/10");
}

TEST(FormulaPruningTest, UsedValuesComeOutAsWithEveryFormula) {
    const RecordLayout layout{1, kDataBytes, true};
    std::mt19937 random(11);
    const std::vector<std::vector<ValueRef>> uses = {
        {{1, -1}},          {{2, -1}, {6, 1}}, {{4, -1}},           {{5, -1}},
        {{8, -1}, {9, -1}}, {{11, -1}},        {{10, -1}, {1, -1}},
    };
    for (const auto& used : uses) {
        ParameterTable whole;
        Define(whole);
        ParameterTable pruned = whole;
        PruneUnusedFormulas(pruned, used);
        FormulaFrontEnd wholeFormulas;
        FormulaFrontEnd prunedFormulas;
        Decoder wholeDecoder(whole, wholeFormulas);
        Decoder prunedDecoder(pruned, prunedFormulas);
        int evaluatedFormulas = 0;
        for (int p = 1; p <= kDataBytes; ++p) {
            evaluatedFormulas += pruned.At(p).Formula().empty() ? 0 : 1;
        }
        EXPECT_LT(evaluatedFormulas, 9);
        for (int frame = 0; frame < 300; ++frame) {
            std::vector<std::uint8_t> record(layout.Size());
            for (auto& b : record) {
                b = static_cast<std::uint8_t>(random());
            }
            FeedRecord(wholeDecoder, record, layout, frame);
            FeedRecord(prunedDecoder, record, layout, frame);
            for (const ValueRef ref : used) {
                ASSERT_EQ(prunedDecoder.PlotValue(ref.position, std::max(ref.bit, 0)),
                          wholeDecoder.PlotValue(ref.position, std::max(ref.bit, 0)))
                    << "position " << ref.position << ", frame " << frame;
            }
        }
    }
}

TEST(FormulaPruningTest, RandomNumbersKeepEveryFormula) {
    ParameterTable table;
    Define(table);
    table.At(3).SetFormula("rnd(10)");
    const ParameterTable before = table;
    const std::vector<ValueRef> used = {{1, -1}};
    PruneUnusedFormulas(table, used);
    for (int p = 1; p <= kDataBytes; ++p) {
        EXPECT_EQ(table.At(p).Formula(), before.At(p).Formula()) << p;
    }
}

TEST(FormulaPruningTest, KeepsTheUsedAndTheMultiByteFormulas) {
    ParameterTable table;
    Define(table);
    const std::vector<ValueRef> used = {{9, -1}, {6, 1}};
    PruneUnusedFormulas(table, used);
    EXPECT_EQ(table.At(9).Formula(), "A-E");
    EXPECT_EQ(table.At(2).Formula(), "A*256+B");
    EXPECT_EQ(table.At(5).Formula(), "A*65536+B*256+C");
    EXPECT_EQ(table.At(11).Formula(), "A*1000+B+C/10");
    EXPECT_EQ(table.At(1).Formula(), "");
    EXPECT_EQ(table.At(8).Formula(), "");
    EXPECT_EQ(table.At(10).Formula(), "");
    EXPECT_EQ(table.At(1).Descriptions[0], "Value 1");
}

}  // namespace
}  // namespace vekaton
