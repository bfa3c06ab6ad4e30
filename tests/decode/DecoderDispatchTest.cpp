#include <gtest/gtest.h>

#include "DecoderTestSupport.h"
#include "dashboard/DashboardModel.h"

namespace vekaton {
namespace {

using testing::DecoderRig;
using testing::RecordingChart;

std::vector<int> Slots(const ParameterRecord& record) {
    return {record.BoundItems.begin(), record.BoundItems.end()};
}

TEST(DecoderBinding, FillsTheFirstFreeSlotAndNeverTheLast) {
    DecoderRig rig;
    DashboardModel model;
    rig.decoder.SetItems(&model);
    for (int id = 1; id <= 16; ++id) {
        rig.decoder.BindItem(id, 20);
    }
    const std::vector<int> slots = Slots(rig.table.At(20));
    EXPECT_EQ(slots, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0}));
    // Unbound for lack of room, but its entry still names the position.
    EXPECT_EQ(model.Binding(15).position, 20);

    rig.decoder.BindItem(3, 20);  // already there
    EXPECT_EQ(Slots(rig.table.At(20)), slots);

    rig.decoder.UnbindItem(3, 20);
    EXPECT_EQ(Slots(rig.table.At(20)),
              (std::vector<int>{1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 0}));
    EXPECT_EQ(model.Binding(3).position, 0);
    rig.decoder.BindItem(15, 20);
    EXPECT_EQ(rig.table.At(20).BoundItems[13], 15);
    rig.decoder.UnbindItem(99, 20);  // not there: nothing moves
    EXPECT_EQ(rig.table.At(20).BoundItems[13], 15);
}

TEST(DecoderBinding, MultiByteValuesBindAtTheirLastByte) {
    DecoderRig rig;
    DashboardModel model;
    rig.decoder.SetItems(&model);
    rig.Define(10, "A*256+B", 2);
    rig.decoder.BindItem(4, 10);
    EXPECT_EQ(rig.table.At(10).BoundItems[0], 0);
    EXPECT_EQ(rig.table.At(11).BoundItems[0], 4);
    EXPECT_EQ(model.Binding(4).position, 10);
    rig.decoder.UnbindItem(4, 10);
    EXPECT_EQ(rig.table.At(11).BoundItems[0], 0);

    // A value that would end past the table binds nowhere, and bad input indexes nothing.
    rig.Define(499, "A", 5);
    rig.decoder.BindItem(4, 499);
    rig.decoder.BindItem(5, 0);
    rig.decoder.BindItem(6, -3);
    rig.decoder.BindItem(7, 501);
    rig.decoder.BindItem(0, 30);
    rig.decoder.BindItem(-1, 30);
    rig.decoder.BindItem(501, 30);
    rig.decoder.UnbindItem(4, 600);
    for (int position = 1; position <= 500; ++position) {
        ASSERT_EQ(rig.table.At(position).BoundItems[0], 0) << position;
    }
    EXPECT_EQ(model.Binding(5).position, 0);
    EXPECT_EQ(model.Binding(7).position, 501);  // recorded, though nothing shows it
}

TEST(DecoderBinding, DetachSweepsAnItemOutAfterTheByteCountChanged) {
    DecoderRig rig;
    DashboardModel model;
    rig.decoder.SetItems(&model);
    const int gauge = *model.AddItem(ItemKind::AngularGauge, 0);
    rig.Define(10, "A", 3);
    rig.decoder.BindItem(gauge, 10);
    rig.table.At(10).ByteCount = 1;  // edited without moving the binding
    rig.decoder.DetachItem(gauge);
    EXPECT_EQ(rig.table.At(12).BoundItems[0], 0);
    EXPECT_EQ(model.Binding(gauge).position, 0);
}

TEST(DecoderDispatch, BoundItemsReceiveValuesByKind) {
    DecoderRig rig;
    DashboardModel model;
    rig.decoder.SetItems(&model);
    const int gauge = *model.AddItem(ItemKind::AngularGauge, 0);
    const int display = *model.AddItem(ItemKind::AnalogDisplay, 0);
    const int led = *model.AddItem(ItemKind::LedRound, 0);
    const int label = *model.AddItem(ItemKind::Label, 0);
    rig.Define(10, "A*256+B", 2);
    ParameterRecord& flags = rig.Define(12, "");
    flags.IsDigital = true;
    rig.decoder.BindItem(gauge, 10);
    rig.decoder.BindItem(display, 10);
    rig.decoder.BindItem(label, 10);
    rig.decoder.BindItem(led, 12);
    model.SetBinding(led, {12, 3, 0});
    model.SetHoldMode(display, kHoldMax);

    rig.decoder.StartFrame();
    rig.decoder.DecodeByte(10, 0x01);
    EXPECT_EQ(model.Find(gauge)->position, 0.0);  // nothing bound at 10 itself
    rig.decoder.DecodeByte(11, 0x02);
    rig.decoder.DecodeByte(12, 0x08);
    EXPECT_EQ(model.Find(gauge)->position, 258.0);
    EXPECT_EQ(model.Find(display)->value, 258.0);
    EXPECT_TRUE(model.Find(led)->active);

    rig.Frame({0, 0, 1, 0, 0, 0, 0, 0, 0, 0x00, 0x05, 0xF7});
    EXPECT_EQ(model.Find(gauge)->position, 5.0);
    EXPECT_EQ(model.Find(display)->value, 258.0);  // "Max" never falls
    EXPECT_FALSE(model.Find(led)->active);         // every bit but 3

    // While the chart page shows, and in raw mode, no gauge moves.
    rig.decoder.SetDispatchEnabled(false);
    rig.Frame({0, 0, 1, 0, 0, 0, 0, 0, 0, 0x00, 0x09, 0x08});
    EXPECT_EQ(model.Find(gauge)->position, 5.0);
    EXPECT_EQ(rig.ValueAt(11), 9.0);
    rig.decoder.SetDispatchEnabled(true);
    rig.decoder.SetRawMode(true);
    rig.Frame({0, 0, 1, 0, 0, 0, 0, 0, 0, 0x00, 0x07, 0x08});
    EXPECT_EQ(model.Find(gauge)->position, 5.0);
    EXPECT_FALSE(model.Find(led)->active);

    // A removed item in a list is passed over.
    rig.decoder.SetRawMode(false);
    model.Remove(gauge);
    rig.Frame({0, 0, 1, 0, 0, 0, 0, 0, 0, 0x02, 0x00, 0x08});
    EXPECT_EQ(model.Items()[static_cast<std::size_t>(gauge - 1)].position, 5.0);
    EXPECT_EQ(model.Find(display)->value, 512.0);
}

TEST(DecoderDispatch, AFaultedFormulaTellsItsItemsThereIsNoValue) {
    DecoderRig rig;
    DashboardModel model;
    rig.decoder.SetItems(&model);
    const int gauge = *model.AddItem(ItemKind::AngularGauge, 0);
    const int display = *model.AddItem(ItemKind::AnalogDisplay, 0);
    rig.Define(1, "100/A");
    rig.decoder.BindItem(gauge, 1);
    rig.decoder.BindItem(display, 1);
    rig.Frame({4});
    EXPECT_EQ(model.Find(gauge)->position, 25.0);
    rig.Frame({0});
    // The gauge stays where it was rather than showing the raw 0; both know there is no value.
    EXPECT_EQ(model.Find(gauge)->position, 25.0);
    EXPECT_EQ(model.Find(display)->value, 25.0);
    EXPECT_TRUE(model.Find(gauge)->noValue);
    EXPECT_TRUE(model.Find(display)->noValue);
    rig.Frame({5});
    EXPECT_EQ(model.Find(display)->value, 20.0);
    EXPECT_FALSE(model.Find(display)->noValue);
    EXPECT_FALSE(model.Find(gauge)->noValue);
}

TEST(DecoderChart, EndOfFramePlotsOnePointPerChannelInOneBatch) {
    DecoderRig rig;
    RecordingChart chart;
    rig.decoder.SetChart(&chart);
    rig.Define(1, "A*2");
    rig.Define(2, "A*256+B", 2);
    ParameterRecord& flags = rig.Define(4, "");
    flags.IsDigital = true;
    chart.channels = {{1, 0}, {2, 0}, {4, 0}, {4, 1}, {0, 0}, {501, 0}, {4, 9}};
    rig.Frame({10, 1, 1, 0x01});
    rig.decoder.EndOfFrame(7);
    EXPECT_EQ(chart.begins, 1);
    EXPECT_EQ(chart.ends, 1);
    EXPECT_FALSE(chart.pointOutsideBatch);
    using P = RecordingChart::Point;
    EXPECT_EQ(chart.points, (std::vector<P>{{0, 7, 20.0},
                                            {1, 7, 257.0},  // read at the value's last byte
                                            {2, 7, 5.0},
                                            {3, 7, 0.0},
                                            {4, 7, 0.0},
                                            {5, 7, 0.0},
                                            {6, 7, 0.0}}));

    chart.points.clear();
    rig.decoder.SetRawMode(true);
    rig.decoder.EndOfFrame(8);
    EXPECT_EQ(chart.points[0], (P{0, 8, 10.0}));
    EXPECT_EQ(chart.points[1], (P{1, 8, 1.0}));
    EXPECT_EQ(rig.decoder.PlotValue(2, 0), 1.0);

    // A value whose last byte lies past the table plots nothing rather than reading beyond it.
    rig.Define(500, "A", 3);
    rig.decoder.SetRawMode(false);
    EXPECT_EQ(rig.decoder.PlotValue(500, 0), 0.0);
    rig.decoder.SetChart(nullptr);
    rig.decoder.EndOfFrame(9);
    EXPECT_EQ(chart.begins, 2);
}

}  // namespace
}  // namespace vekaton
