// The first view a new table, histogram or scatter shows: the values the set offers, and the
// block-learn question asked of the roles its definitions play.
#include <gtest/gtest.h>

#include "analysis/ViewSuggestion.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"

namespace vekaton::testing {
namespace {

void DefineEngine(ParameterTable& table) {
    const auto analog = [&table](int position, const char* name, const char* formula) {
        table.At(position).Descriptions[0] = name;
        table.At(position).SetFormula(formula);
    };
    analog(1, "Coolant temperature C", "A*0.75-40");
    analog(4, "Engine speed rpm", "A*256+B");
    table.At(4).ByteCount = 2;
    analog(6, "Manifold pressure kPa", "A*0.4+10");
    analog(16, "Block learn", "A*1");
    table.At(18).IsDigital = true;
    table.At(18).Descriptions[0] = "Closed loop";
    table.At(18).Descriptions[3] = "Engine running";
    analog(30, "Beyond the frame", "A");
}

TEST(ViewSuggestion, OffersEveryDescribedValueOfTheFrame) {
    ParameterTable table;
    DefineEngine(table);
    const std::vector<ValueRef> refs = AvailableValueRefs(table, 23);
    EXPECT_EQ(refs, (std::vector<ValueRef>{{1, -1}, {4, -1}, {6, -1}, {16, -1}, {18, 0}, {18, 3}}));
    EXPECT_EQ(AvailableValueRefs(table, 5).size(), 2u);
    EXPECT_TRUE(AvailableValueRefs(table, 0).empty());
}

TEST(ViewSuggestion, ATableAsksWhereBlockLearnIsOffInClosedLoopWithAWarmEngine) {
    ParameterTable table;
    DefineEngine(table);
    const DetailsTable none;
    const ViewDefinition view = SuggestedView(AnalysisKind::Table, table, none, 23, {});
    EXPECT_EQ(view.name, "Block learn table");
    EXPECT_EQ(view.setup.x, (ValueRef{4, -1}));
    EXPECT_EQ(view.setup.y, (ValueRef{6, -1}));
    EXPECT_EQ(view.setup.z, (ValueRef{16, -1}));
    EXPECT_EQ(view.centre, 128.0);
    ASSERT_EQ(view.setup.conditions.size(), 2u);
    EXPECT_EQ(ConditionText(view.setup.conditions[0]), "18.0=1");
    EXPECT_EQ(ConditionText(view.setup.conditions[1]), "1>=70");
    // Without display ranges, round edges that work live too.
    EXPECT_EQ(EdgeListText(*view.setup.xEdges),
              "0,500,1000,1500,2000,2500,3000,3500,4000,4500,"
              "5000,5500,6000");
    EXPECT_EQ(EdgeListText(*view.setup.yEdges), "20,30,40,50,60,70,80,90,100");

    // A coolant reading in Fahrenheit is warm from 158; a name in use gets a number.
    DetailsTable details;
    details.At(1).unit = "°F";
    const ViewDefinition second =
        SuggestedView(AnalysisKind::Table, table, details, 23, {"Block learn table"});
    EXPECT_EQ(second.name, "Block learn table 2");
    EXPECT_EQ(ConditionText(second.setup.conditions[1]), "1>=158");
    // A display range gives automatic edges over it.
    details.At(4).displayMin = 0;
    details.At(4).displayMax = 8000;
    const ViewDefinition ranged = SuggestedView(AnalysisKind::Table, table, details, 23, {});
    EXPECT_FALSE(ranged.setup.xEdges);
    EXPECT_EQ(ranged.setup.xBins, 12);
}

TEST(ViewSuggestion, OnlyAUnitAtTheEndOfADescriptionIsTakenForOne) {
    // "speed" ends the description but is no unit: engine speed is still found by its name.
    ParameterTable table;
    table.At(1).Descriptions[0] = "Coolant";
    table.At(1).SetFormula("A");
    table.At(4).Descriptions[0] = "Engine speed";
    table.At(4).SetFormula("A*25");
    table.At(6).Descriptions[0] = "MAP KPA";
    table.At(6).SetFormula("A");
    const DetailsTable none;
    const ViewDefinition view = SuggestedView(AnalysisKind::Scatter, table, none, 10, {});
    EXPECT_EQ(view.setup.x, (ValueRef{4, -1}));
    EXPECT_EQ(view.setup.y, (ValueRef{6, -1}));
    EXPECT_EQ(view.name, "MAP KPA against Engine speed");
}

TEST(ViewSuggestion, HistogramAndScatterAndASetWithoutRoles) {
    ParameterTable table;
    DefineEngine(table);
    const DetailsTable none;
    const ViewDefinition histogram = SuggestedView(AnalysisKind::Histogram, table, none, 23, {});
    EXPECT_EQ(histogram.name, "Engine speed rpm histogram");
    EXPECT_EQ(histogram.setup.x, (ValueRef{4, -1}));
    EXPECT_EQ(histogram.setup.xEdges->Count(), 24);
    EXPECT_TRUE(histogram.setup.conditions.empty());
    const ViewDefinition scatter = SuggestedView(AnalysisKind::Scatter, table, none, 23, {});
    EXPECT_EQ(scatter.name, "Manifold pressure kPa against Engine speed rpm");
    EXPECT_EQ(scatter.setup.z, (ValueRef{16, -1}));
    EXPECT_EQ(EdgeListText(*scatter.setup.yEdges),
              "20,25,30,35,40,45,50,55,60,65,70,75,80,85,90,95,100");

    // Values no role names: the first ones of the frame, each used once.
    ParameterTable plain;
    plain.At(2).Descriptions[0] = "Alpha";
    plain.At(2).SetFormula("A");
    plain.At(3).Descriptions[0] = "Beta";
    plain.At(3).SetFormula("A");
    plain.At(5).Descriptions[0] = "Gamma";
    plain.At(5).SetFormula("A");
    const ViewDefinition fallback = SuggestedView(AnalysisKind::Table, plain, none, 10, {});
    EXPECT_EQ(fallback.setup.x, (ValueRef{2, -1}));
    EXPECT_EQ(fallback.setup.y, (ValueRef{3, -1}));
    EXPECT_EQ(fallback.setup.z, (ValueRef{5, -1}));
    EXPECT_FALSE(fallback.centre);
    EXPECT_FALSE(fallback.setup.xEdges);
    EXPECT_TRUE(fallback.setup.conditions.empty());
}

}  // namespace
}  // namespace vekaton::testing
