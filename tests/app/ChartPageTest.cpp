// The chart page: channels come and go without taking the others' history, keep their colour
// in ChartColour, give their list to the set as plain data, and raw data switches the axis.
#include <gtest/gtest.h>

#include "QtApp.h"
#include "app/GraphsPage.h"
#include "app/chart/ChannelListPanel.h"
#include "decode/ParameterTable.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

class ChartPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        table_.At(1).Descriptions[0] = "Coolant";
        table_.At(3).Descriptions[0] = "Throttle";
        table_.At(4).Descriptions[0] = "Engine speed";
        table_.At(4).ByteCount = 2;
        table_.At(18).IsDigital = true;
        table_.At(18).Descriptions[0] = "Closed loop";
        table_.At(18).Descriptions[3] = "Engine running";
        page_.SetTable(&table_);
        page_.SetYRange(0, 100);
        page_.RebuildChannelChoices(table_);
    }
    // One frame: every channel's point into the page's store, as the engine and the decoder's
    // end of frame put them there.
    void Frame(double x, double value) {
        ChartStore& store = page_.Store();
        const std::int64_t sample = store.AddSample(x);
        store.BeginUpdate();
        for (int c = 0; c < store.ChannelCount(); ++c) {
            store.AddPoint(c, sample, value + c);
        }
        store.EndUpdate();
    }
    ParameterTable table_;
    GraphsPage page_;
};

TEST_F(ChartPageTest, AddingOrRemovingAChannelKeepsTheHistoryOfTheOthers) {
    page_.ChooseChannel(1, 0);
    page_.ChooseChannel(4, 0);
    for (int f = 0; f < 10; ++f) {
        Frame(f * 0.1, f * 10.0);
    }
    const TStripChart& chart = *page_.Chart();
    ASSERT_EQ(chart.ChannelCount(), 2);
    const std::int64_t first = chart.Data().FirstSample();

    // Throttle joins: the two keep their ten points, the newcomer starts empty.
    page_.ChooseChannel(3, 0);
    ASSERT_EQ(chart.ChannelCount(), 3);
    EXPECT_EQ(chart.Data().Point(0, first + 9), 90.0);
    EXPECT_EQ(chart.Data().Point(1, first + 9), 91.0);
    EXPECT_FALSE(chart.Data().Point(2, first + 9).has_value());
    Frame(1.0, 100.0);

    // Coolant goes: engine speed and throttle keep theirs and move up one place.
    page_.ChannelList()->SetTicked(page_.ChannelList()->RowOf(1, 0), false);
    ASSERT_EQ(chart.ChannelCount(), 2);
    EXPECT_EQ(chart.Channel(0).position, 4);
    EXPECT_EQ(chart.Channel(1).position, 3);
    EXPECT_EQ(chart.Data().Point(0, first + 9), 91.0);
    EXPECT_EQ(chart.Data().Point(0, first + 10), 101.0);
    EXPECT_EQ(chart.Data().Point(1, first + 10), 102.0);
    EXPECT_EQ(chart.Data().SampleCount(), 11u);

    // A position no longer described leaves the chart; the rest stay as they were.
    table_.At(3).Descriptions[0].clear();
    page_.RebuildChannelChoices(table_);
    ASSERT_EQ(chart.ChannelCount(), 1);
    EXPECT_EQ(chart.Data().Point(0, first + 10), 101.0);
}

TEST_F(ChartPageTest, TheChannelListIsPlainDataWithColoursKeptInChartColour) {
    page_.ChooseChannel(4, 0);
    page_.ChooseChannel(18, 3);
    ChartChannelList list = page_.ChannelSettings();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].position, 4);
    EXPECT_TRUE(list[0].autoScale);
    EXPECT_NE(list[0].colour, 0);
    EXPECT_EQ(table_.At(4).ChartColour, list[0].colour) << "the colour is kept in ChartColour";
    EXPECT_EQ(list[1].position, 18);
    EXPECT_EQ(list[1].bit, 3);
    EXPECT_TRUE(page_.Chart()->Channel(1).digital);
    EXPECT_EQ(page_.Store().Channel(1).bit, 3);

    // A fixed scale typed into the list.
    const int row = page_.ChannelList()->RowOf(4, 0);
    page_.ChannelList()->SetScaleText(row, "800", "6000");
    list = page_.ChannelSettings();
    EXPECT_FALSE(list[0].autoScale);
    EXPECT_EQ(list[0].minimum, 800.0);
    EXPECT_EQ(list[0].maximum, 6000.0);
    EXPECT_EQ(page_.Chart()->Channel(0).range, ChartRange::Fixed);
    page_.ChannelList()->SetScaleText(row, "7000", "6000");  // refused: not a range
    EXPECT_EQ(page_.ChannelSettings()[0].maximum, 6000.0);

    // What the layout file gives back is plotted as it was, with a colour from the set.
    ChartChannelList saved = page_.ChannelSettings();
    saved[1].colour = RgbColour(1, 2, 3);
    ParameterTable other = table_;
    GraphsPage restored;
    restored.SetTable(&other);
    restored.RebuildChannelChoices(other);
    restored.SetChannelSettings(saved);
    EXPECT_EQ(restored.ChannelSettings(), saved);
    EXPECT_EQ(restored.Chart()->Channel(0).rangeMinimum, 800.0);
    EXPECT_EQ(restored.Chart()->Channel(1).colour, RgbColour(1, 2, 3));
    // Channels the table does not describe are left out.
    saved.push_back(ChartChannelSetting{77, 0, 0, true, 0, 1});
    restored.SetChannelSettings(saved);
    EXPECT_EQ(restored.ChannelCount(), 2);
}

TEST_F(ChartPageTest, RawDataSharesTheByteAxisAndGivesTheProcessedRangeBack) {
    page_.ChooseChannel(4, 0);
    page_.SetYRange(-20, 80);
    page_.SetRawMode(true);
    TStripChart& chart = *page_.Chart();
    EXPECT_EQ(chart.Title(), "Raw Data");
    EXPECT_EQ(chart.YMinimum(), 0.0);
    EXPECT_EQ(chart.YMaximum(), 255.0);
    EXPECT_EQ(chart.Channel(0).range, ChartRange::Chart);
    // The raw point is the last byte; the read-out word is the whole value.
    table_.At(4).RawByte = 0x12;
    table_.At(5).RawByte = 0x34;
    const std::int64_t sample = page_.Store().AddSample(0.0);
    page_.Store().AddPoint(0, sample, 0x34);
    EXPECT_EQ(chart.Data().Word(0, sample), 0x1234u);
    chart.SetCursor(TStripChart::kCursorA, sample);
    EXPECT_EQ(chart.LegendText(0), "4  Engine speed 52 (0x1234)");

    page_.SetRawMode(false);
    EXPECT_EQ(chart.Title(), "Processed Data");
    EXPECT_EQ(chart.YMinimum(), -20.0);
    EXPECT_EQ(chart.YMaximum(), 80.0);
    EXPECT_EQ(chart.Channel(0).range, ChartRange::Auto);
}

TEST_F(ChartPageTest, TimeRunningBackwardsStartsTheChartAfresh) {
    page_.ChooseChannel(1, 0);
    Frame(30.0, 1);
    Frame(30.1, 2);
    Frame(2.0, 3);  // live frames after a played log, on the live clock
    EXPECT_EQ(page_.Chart()->Data().SampleCount(), 1u);
    EXPECT_EQ(page_.Chart()->Data().FirstX(), 2.0);
}

}  // namespace
}  // namespace vekaton
