// The setup of a table, histogram or scatter as the user types it: filters on flag bits that keep
// their meaning, typed edges that make the bins, mistakes named; automatic edges of a live view
// from the set's details; a view that cannot be read whole is named when the set opens.
#include <gtest/gtest.h>
#include <QAction>
#include <QLineEdit>

#include "LogTestSet.h"
#include "QtApp.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "app/analysis/AnalysisPlot.h"
#include "app/analysis/AnalysisRoom.h"
#include "app/analysis/AnalysisView.h"
#include "app/analysis/FilterList.h"
#include "app/analysis/PositionPicker.h"
#include "app/analysis/SetupPanel.h"
#include "decode/ParameterTable.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;

ParameterTable FlagTable() {
    ParameterTable table;
    table.At(1).Descriptions[0] = "Coolant";
    table.At(1).SetFormula("A");
    table.At(18).IsDigital = true;
    table.At(18).Descriptions[0] = "Closed loop";
    return table;
}

std::vector<std::string> Texts(const std::vector<Condition>& conditions) {
    std::vector<std::string> texts;
    for (const Condition& condition : conditions) {
        texts.push_back(ConditionText(condition));
    }
    return texts;
}

TEST(AnalysisSetup, FiltersOnAFlagBitKeepTheirMeaning) {
    testing::TestApp();
    const ParameterTable table = FlagTable();
    FilterList filters(table, [] { return 23; });
    std::vector<Condition> given;
    for (const char* text : {"18.0=1", "18.0>=1", "18.0!=1", "18.0<1", "18.0>=0", "1>=70"}) {
        given.push_back(*ParseCondition(text).condition);
    }
    filters.SetConditions(given);
    QString error;
    // On and off read back as "=1" and "=0"; a comparison that holds for both values of the
    // bit is no on or off, and stays as it was.
    EXPECT_EQ(
        Texts(filters.Conditions(&error)),
        (std::vector<std::string>{"18.0=1", "18.0=1", "18.0=0", "18.0=0", "18.0>=0", "1>=70"}));
    EXPECT_TRUE(error.isEmpty());

    // A row without a value or with a word for a number is named; the others still read.
    filters.AddRow();
    const Condition coolant{{1, -1}, CompareOp::Less, 5};
    filters.AddRow(&coolant);
    filters.findChildren<QLineEdit*>().back()->setText("warm");
    EXPECT_EQ(filters.Conditions(&error).size(), 6u);
    EXPECT_EQ(error, "filter 7 has no value chosen; filter 8: 'warm' is not a number");
}

TEST(AnalysisSetup, TypedEdgesMakeTheBinsAndMistakesAreNamed) {
    testing::TestApp();
    const ParameterTable table = FlagTable();
    SetupPanel panel(AnalysisKind::Table, table, [] { return 23; });
    ViewDefinition view;
    view.name = "Coolant table";
    view.setup.x = {1, -1};
    view.setup.y = ValueRef{1, -1};
    view.setup.z = ValueRef{1, -1};
    view.setup.xBins = 12;
    panel.SetDefinition(view);
    panel.XEdges().setText("-40, 0, 40, 80");
    QString error;
    ViewDefinition read = panel.Definition(&error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(read.setup.xEdges, BinEdges::FromList({-40, 0, 40, 80}));
    EXPECT_EQ(read.setup.xBins, 3);
    EXPECT_FALSE(read.setup.yEdges);
    EXPECT_EQ(read.setup.yBins, AnalysisSetup::kDefaultBins);

    panel.SetName("  ");
    panel.XEdges().setText("1,1");
    panel.YEdges().setText("0,abc");
    read = panel.Definition(&error);
    EXPECT_EQ(error,
              "the view needs a name\n"
              "X edges: edge list '1,1': the edges must rise strictly, but 1 follows 1\n"
              "Y edges: edge list '0,abc': 'abc' is not a number");
}

class AnalysisSetFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        testing::WriteLogTestSet(folder_);
    }
    CurrentFolder folder_;
};

TEST_F(AnalysisSetFileTest, ALiveViewTakesItsAutomaticEdgesFromTheSetsDetails) {
    const char* view = "[view Fuel live]\r\nkind=histogram\r\nx=22\r\nx-bins=4\r\nsource=live\r\n";
    testing::WriteTextFile(folder_.File("Default.details"), view);
    {
        MainWindow window;
        window.show();
        AnalysisView* live = window.Rooms().analysis.FindView("Fuel live");
        ASSERT_NE(live, nullptr);
        // No log gives a range to live data: the view says what to do.
        EXPECT_EQ(live->Result(), nullptr);
        EXPECT_TRUE(
            live->StatusText().startsWith("Live data has no log to take the range of Fuel from"))
            << live->StatusText().toStdString();
    }
    testing::WriteTextFile(folder_.File("Default.details"),
                           QString("[22]\r\nunit=%\r\nmin=0\r\nmax=200\r\n\r\n") + view);
    MainWindow window;
    window.show();
    AnalysisView* live = window.Rooms().analysis.FindView("Fuel live");
    ASSERT_NE(live, nullptr);
    ASSERT_NE(live->Result(), nullptr) << live->StatusText().toStdString();
    EXPECT_EQ(live->Result()->Grid().XEdges(), BinEdges::Equal(0, 200, 4));
    // The unit of the details names the axis.
    EXPECT_EQ(live->Plot().CellSummary(1), "Fuel [%] 50 to 100\nno frames");
}

TEST_F(AnalysisSetFileTest, AViewThatCannotBeReadWholeIsNamedAndTheRestOpens) {
    testing::WriteTextFile(folder_.File("Default.details"),
                           "[view Coolant]\r\nkind=histogram\r\nx=1\r\nx-bins=0\r\n"
                           "where.1=1>>3\r\n\r\n[view Nothing]\r\nkind=pie\r\nx=1\r\n");
    MainWindow window;
    window.show();
    ASSERT_EQ(window.Rooms().analysis.Views().size(), 1u);
    const ViewDefinition& coolant = window.Rooms().analysis.Views()[0]->Definition();
    EXPECT_EQ(coolant.setup.xBins, AnalysisSetup::kDefaultBins);
    EXPECT_TRUE(coolant.setup.conditions.empty());
    // Told once the window is up, as every start-up message is.
    ASSERT_TRUE(testing::WaitUntil([&] { return !window.Rooms().messages.Posted().isEmpty(); }));
    const QString posted = window.Rooms().messages.Posted().join('\n');
    EXPECT_TRUE(posted.contains("Coolant: x-bins")) << posted.toStdString();
    EXPECT_TRUE(posted.contains("Coolant: where.1")) << posted.toStdString();
    EXPECT_TRUE(posted.contains("kind")) << posted.toStdString();
}

}  // namespace
}  // namespace vekaton
