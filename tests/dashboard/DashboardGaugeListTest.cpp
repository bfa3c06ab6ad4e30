// A dashboard through its gauge list text and back: names, pages, bindings, hold modes and reset
// buttons that keep pointing at the same items.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "dashboard/DashboardGaugeList.h"

namespace vekaton {
namespace {

struct Bindings {
    std::map<int, int> positions;  // id -> position bound through the decoder
    std::function<void(int, int)> Bind() {
        return [this](int id, int position) { positions[id] = position; };
    }
};

std::string NameOf(const DashboardModel& model, int id) {
    const DashboardItem* item = model.Find(id);
    return item != nullptr ? item->name : "?";
}

TEST(DashboardGaugeListTest, EveryKindComesBackWithItsPageBindingAndResetList) {
    DashboardModel model;
    const int removedFirst = *model.AddItem(ItemKind::AngularGauge, 0);
    model.AddItem(ItemKind::Label, 0);
    const int gauge = *model.AddItem(ItemKind::AngularGauge, 1);
    const int thermometer = *model.AddItem(ItemKind::Thermometer, 1);
    const int segments = *model.AddItem(ItemKind::SevenSegmentAnalog, 2);
    const int display = *model.AddItem(ItemKind::AnalogDisplay, 2);
    const int led = *model.AddItem(ItemKind::LedRound, 0);
    const int button = *model.AddItem(ItemKind::ResetButton, 0);
    model.SetBinding(gauge, {4, 8, 0});
    model.SetBinding(thermometer, {1, 8, 0});
    model.SetBinding(segments, {3, 8, kHoldMin});
    model.SetBinding(display, {4, 8, kHoldMax});
    model.SetBinding(led, {18, 3, 0});
    model.SetResetButton(button, ResetButtonEntry{{gauge, display, segments}, 0, 9999});
    // An item before the others is removed: the saved numbers shift, the list must follow.
    model.Remove(removedFirst);

    const std::string text = FormatGaugeList(GaugeListOf(model, model.NumberForSave()));
    EXPECT_EQ(text.find("USERANGULARGAUGE1"), std::string::npos);
    EXPECT_NE(text.find("USERLABEL1,0,\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("USERANALOGDISPLAY1,2,4,8,2\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("USERLEDROUND1,0,18,3,0\r\n"), std::string::npos) << text;

    const GaugeListParse parsed = ParseGaugeList(text);
    ASSERT_FALSE(parsed.Damaged());
    DashboardModel loaded;
    Bindings bound;
    const GaugeListApplied applied = ApplyGaugeList(parsed.entries, loaded, 3, bound.Bind());
    EXPECT_TRUE(applied.notes.empty());
    EXPECT_FALSE(applied.dropped);

    ASSERT_EQ(loaded.LiveIds().size(), model.LiveIds().size());
    const auto byName = [&](const char* name) { return *loaded.FindByName(name); };
    EXPECT_EQ(loaded.Find(byName("USERANGULARGAUGE2"))->page, 1);
    EXPECT_EQ(loaded.Binding(byName("USERANALOGDISPLAY1")).holdMode, kHoldMax);
    EXPECT_EQ(loaded.Binding(byName("USERSEVENSEGMENTANALOG1")).holdMode, kHoldMin);
    EXPECT_EQ(loaded.Binding(byName("USERLEDROUND1")).bit, 3);
    EXPECT_EQ(bound.positions[byName("USERLEDROUND1")], 18);
    EXPECT_EQ(bound.positions[byName("USERTHERMOMETER1")], 1);
    EXPECT_EQ(loaded.Find(byName("USERLEDROUND1"))->parentId, byName("USERPANEL1"));

    const int loadedButton = byName("USERRESETBUTTON1");
    const ResetButtonEntry reset = loaded.ResetButtonFor(loadedButton);
    std::vector<std::string> names;
    for (const int id : reset.ids) {
        names.push_back(NameOf(loaded, id));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"USERANGULARGAUGE2", "USERANALOGDISPLAY1",
                                               "USERSEVENSEGMENTANALOG1"}));
    EXPECT_EQ(reset.minPreset, 0);
    EXPECT_EQ(reset.maxPreset, 9999);

    // Counters go on from the loaded names.
    EXPECT_EQ(NameOf(loaded, *loaded.AddItem(ItemKind::AngularGauge, 0)), "USERANGULARGAUGE3");
}

TEST(DashboardGaugeListTest, EntriesThatCannotBePlacedAreSaidAndOnlyUnknownOnesDropped) {
    const GaugeListParse parsed = ParseGaugeList(
        "USERLABEL1,7,\r\nUSERBLINKENLIGHT1,0,1,8,0\r\nUSERTHERMOMETER4,-2,1,8,9\r\n");
    ASSERT_EQ(parsed.entries.size(), 3u);
    DashboardModel model;
    const GaugeListApplied applied = ApplyGaugeList(parsed.entries, model, 3, {});
    ASSERT_EQ(applied.notes.size(), 3u);
    EXPECT_TRUE(applied.dropped);
    EXPECT_EQ(model.Find(*model.FindByName("USERLABEL1"))->page, 2);
    EXPECT_EQ(model.Find(*model.FindByName("USERTHERMOMETER4"))->page, 0);
    EXPECT_FALSE(model.FindByName("USERBLINKENLIGHT1"));
    // A hold mode a display does not know is kept in memory, but written back as 0.
    const std::string text = FormatGaugeList(GaugeListOf(model, model.NumberForSave()));
    EXPECT_NE(text.find("USERTHERMOMETER4,0,1,8,0\r\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace vekaton
