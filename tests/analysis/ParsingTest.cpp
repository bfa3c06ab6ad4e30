// What a user types for positions, conditions, edge lists and statistics, and the positions an
// analysis refuses with the reason.
#include <gtest/gtest.h>

#include "AnalysisTestLog.h"

namespace vekaton::testing {
namespace {

TEST(ParsingTest, PositionsAndBits) {
    EXPECT_EQ(ParseValueRef("1"), (ValueRef{1, -1}));
    EXPECT_EQ(ParseValueRef("500"), (ValueRef{500, -1}));
    EXPECT_EQ(ParseValueRef(" 18.7 "), (ValueRef{18, 7}));
    for (const char* bad : {"", "0", "501", "-1", "+3", "1e2", "18.8", "18.", ".1", "18.0.1",
                            "18.01", "x", "0x10", "1 2"}) {
        EXPECT_FALSE(ParseValueRef(bad)) << bad;
    }
    EXPECT_EQ(ValueRefText({18, 0}), "18.0");
    EXPECT_EQ(ValueRefText({7, -1}), "7");
}

TEST(ParsingTest, Conditions) {
    const auto parsed = [](const char* text) { return ParseCondition(text).condition; };
    EXPECT_EQ(parsed("18.0=1"), (Condition{{18, 0}, CompareOp::Equal, 1}));
    EXPECT_EQ(parsed("1>=70"), (Condition{{1, -1}, CompareOp::GreaterEqual, 70}));
    EXPECT_EQ(parsed("1<=-4.5"), (Condition{{1, -1}, CompareOp::LessEqual, -4.5}));
    EXPECT_EQ(parsed("2<1e3"), (Condition{{2, -1}, CompareOp::Less, 1000}));
    EXPECT_EQ(parsed("2 > +2.5E-1"), (Condition{{2, -1}, CompareOp::Greater, 0.25}));
    EXPECT_EQ(parsed("3!=128"), (Condition{{3, -1}, CompareOp::NotEqual, 128}));
    EXPECT_EQ(ConditionText(*parsed("1>=70")), "1>=70");
    EXPECT_EQ(ConditionText(*parsed("18.0 != 0.5")), "18.0!=0.5");

    EXPECT_EQ(ParseCondition("1").error,
              "condition '1' has no comparison: write POS or POS.BIT, one of < <= > >= = !=, "
              "then a number (1>=70, 18.0=1)");
    EXPECT_EQ(ParseCondition("rpm>3").error,
              "condition 'rpm>3': 'rpm' is not a position (1 to 500) or POS.BIT (bit 0 to 7)");
    EXPECT_EQ(ParseCondition("1==3").error, "condition '1==3': '=3' after = is not a number");
    EXPECT_EQ(ParseCondition("1>").error, "condition '1>': '' after > is not a number");
    EXPECT_EQ(ParseCondition("1=>3").error, "condition '1=>3': '>3' after = is not a number");
    EXPECT_EQ(ParseCondition("1!3").error,
              "condition '1!3': the comparison must be one of < <= > >= = !=");
    EXPECT_FALSE(parsed("1>inf"));
    EXPECT_FALSE(parsed("1>nan"));
    EXPECT_FALSE(parsed("1>1e999"));
    EXPECT_FALSE(parsed("1>0x10"));
    EXPECT_EQ(parsed("1>-.5"), (Condition{{1, -1}, CompareOp::Greater, -0.5}));
}

TEST(ParsingTest, EdgeLists) {
    EXPECT_EQ(EdgeListText(*ParseEdgeList("-10,0,1e1,2.5e1").edges), "-10,0,10,25");
    EXPECT_EQ(ParseEdgeList("5").error,
              "edge list '5' needs at least two edges (E0,E1,...: n+1 edges make n bins)");
    EXPECT_EQ(ParseEdgeList("0,10,10").error,
              "edge list '0,10,10': the edges must rise strictly, but 10 follows 10");
    EXPECT_EQ(ParseEdgeList("0,10,5").error,
              "edge list '0,10,5': the edges must rise strictly, but 5 follows 10");
    EXPECT_EQ(ParseEdgeList("0,,5").error, "edge list '0,,5': '' is not a number");
    EXPECT_EQ(ParseEdgeList("0,a").error, "edge list '0,a': 'a' is not a number");
    EXPECT_EQ(ParseEdgeList("").error, "edge list '': '' is not a number");
    EXPECT_FALSE(ParseEdgeList("0,5,").edges);
}

TEST(ParsingTest, Statistics) {
    EXPECT_EQ(ParseStatistic("mean"), Statistic::Mean);
    EXPECT_EQ(ParseStatistic("SD"), Statistic::Sd);
    EXPECT_EQ(ParseStatistic("count"), Statistic::Count);
    EXPECT_FALSE(ParseStatistic("median"));
    EXPECT_FALSE(ParseStatistic("means"));
    EXPECT_EQ(StatisticName(Statistic::Max), "max");
}

TEST(ParsingTest, UnknownPositionsAreNamedWithTheReason) {
    ParameterTable table;
    AnalysisTestLog::DefineTable(table);
    table.At(6).Descriptions[0] = "Speed";
    table.At(6).ByteCount = 2;
    table.At(6).SetFormula("A*256+B");
    table.At(9).Descriptions[0] = "Past the frame";
    const int dataBytes = 8;
    const auto reason = [&](ValueRef ref) {
        return UnknownValueReason(table, ref, dataBytes).value_or("known");
    };
    EXPECT_EQ(reason({1, -1}), "known");
    EXPECT_EQ(reason({4, 1}), "known");
    EXPECT_EQ(reason({6, -1}), "known");
    EXPECT_EQ(reason({8, -1}), "position 8 has no definition in the parameter file");
    EXPECT_EQ(reason({7, -1}),
              "position 7 is a later byte of the 2-byte value that starts at position 6; name 6 "
              "for that value");
    EXPECT_EQ(reason({7, 0}),
              "position 7.0 is a later byte of the 2-byte value that starts at position 6; name "
              "6 for that value");
    EXPECT_EQ(reason({1, 0}),
              "position 1.0: position 1 is not a flag byte (digital), so it has "
              "no bits");
    EXPECT_EQ(reason({4, 2}),
              "position 4.2: bit 2 of position 4 has no definition (no description)");
    EXPECT_EQ(reason({4, -1}),
              "position 4 holds flag bits: name one of them as 4.BIT (4.0 to 4.7)");
    EXPECT_EQ(reason({9, -1}),
              "position 9 lies beyond the 8 data bytes of the set's frames, so "
              "no frame gives it a value");
    table.At(8).Descriptions[0] = "Runs over";
    table.At(8).ByteCount = 2;
    EXPECT_EQ(reason({8, -1}),
              "position 8 lies beyond the 8 data bytes of the set's frames, so "
              "no frame gives it a value");
}

TEST(ParsingTest, SetupProblemsNameEachPositionOnce) {
    ParameterTable table;
    AnalysisTestLog::DefineTable(table);
    AnalysisSetup setup;
    setup.x = {7, -1};
    setup.y = ValueRef{1, 3};
    setup.conditions = {*ParseCondition("7>1").condition};
    EXPECT_EQ(SetupProblems(setup, table, 5),
              (std::vector<std::string>{
                  "no Z position is chosen",
                  "position 7 has no definition in the parameter file",
                  "position 1.3: position 1 is not a flag byte (digital), so it has no bits",
              }));
}

}  // namespace
}  // namespace vekaton::testing
