#include "dashboard/DashboardModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vekaton {
namespace {

constexpr std::array<bool, 8> kNoBits{};

std::array<bool, 8> BitsOf(int byte) {
    std::array<bool, 8> bits{};
    for (int j = 0; j < 8; ++j) {
        bits[static_cast<std::size_t>(j)] = ((byte >> j) & 1) != 0;
    }
    return bits;
}

TEST(ItemNames, KindsComeFromTheirPrefixesAndNumbers) {
    EXPECT_EQ(ItemNamePrefix(ItemKind::AngularGauge), "USERANGULARGAUGE");
    EXPECT_EQ(ItemNamePrefix(ItemKind::SevenSegmentAnalog), "USERSEVENSEGMENTANALOG");
    EXPECT_EQ(ItemNamePrefix(ItemKind::Odometer), "");

    const auto gauge = ParseItemName("USERANGULARGAUGE7");
    ASSERT_TRUE(gauge);
    EXPECT_EQ(gauge->kind, ItemKind::AngularGauge);
    EXPECT_EQ(gauge->number, 7);
    const auto led = ParseItemName("userledround12");
    ASSERT_TRUE(led);
    EXPECT_EQ(led->kind, ItemKind::LedRound);
    EXPECT_EQ(led->number, 12);
    ASSERT_TRUE(ParseItemName("USERANALOGDISPLAY3"));
    EXPECT_EQ(ParseItemName("USERANALOGDISPLAY3")->kind, ItemKind::AnalogDisplay);

    EXPECT_FALSE(ParseItemName("Label1"));
    EXPECT_FALSE(ParseItemName("USERLABEL1x"));
    EXPECT_FALSE(ParseItemName("USERLABEL-1"));
    EXPECT_FALSE(ParseItemName("USERLABEL99999999999999"));
}

TEST(DashboardModel, AddingNamesByCounterAndLoadingRaisesIt) {
    DashboardModel model;
    const int first = *model.AddItem(ItemKind::AngularGauge, 0);
    const int second = *model.AddItem(ItemKind::AngularGauge, 1);
    EXPECT_EQ(model.Find(first)->name, "USERANGULARGAUGE1");
    EXPECT_EQ(model.Find(second)->name, "USERANGULARGAUGE2");
    EXPECT_EQ(model.Find(second)->page, 1);
    EXPECT_EQ(second, first + 1);

    model.Clear();
    ASSERT_TRUE(model.CreateGauge("USERANGULARGAUGE7", 0));
    ASSERT_TRUE(model.CreateGauge("USERANGULARGAUGE3", 0));
    EXPECT_EQ(model.Counter(ItemKind::AngularGauge), 7);
    EXPECT_EQ(model.Find(*model.AddItem(ItemKind::AngularGauge, 0))->name, "USERANGULARGAUGE8");
    // Counters are per kind.
    EXPECT_EQ(model.Find(*model.AddItem(ItemKind::Thermometer, 0))->name, "USERTHERMOMETER1");
    EXPECT_FALSE(model.CreateGauge("Button1", 0));
    EXPECT_TRUE(model.FindByName("userangulargauge3"));
}

TEST(DashboardModel, NewItemsStartWithTheirCaptionsAndBindingEntry) {
    DashboardModel model;
    const int label = *model.AddItem(ItemKind::Label, 0);
    EXPECT_EQ(model.Find(label)->caption, "USERLABEL1");
    const int button = *model.AddItem(ItemKind::ResetButton, 0);
    EXPECT_EQ(model.Find(button)->caption, "Reset");

    const int led = *model.AddItem(ItemKind::LedRound, 2);
    const DashboardItem* ledItem = model.Find(led);
    ASSERT_NE(ledItem, nullptr);
    EXPECT_EQ(ledItem->name, "USERLEDROUND1");
    const DashboardItem* panel = model.Find(ledItem->parentId);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->kind, ItemKind::Panel);
    EXPECT_EQ(panel->name, "USERPANEL1");
    EXPECT_EQ(panel->caption, "     Digital0");
    EXPECT_EQ(panel->page, 2);
    const int secondLed = *model.AddItem(ItemKind::LedRound, 0);
    ASSERT_TRUE(model.FindByName("USERPANEL2"));
    EXPECT_EQ(model.Find(secondLed)->parentId, *model.FindByName("USERPANEL2"));
    EXPECT_EQ(model.Find(*model.FindByName("USERPANEL2"))->caption, "     Digital1");

    const BindingEntry entry = model.Binding(led);
    EXPECT_EQ(entry.position, 0);
    EXPECT_EQ(entry.bit, 0);
    EXPECT_EQ(entry.holdMode, 0);
    // An unused ID reads the table's start values.
    EXPECT_EQ(model.Binding(400).bit, BindingEntry::kNoBit);
}

TEST(DashboardModel, IdsOutsideTheTableAreNeverIndexed) {
    DashboardModel model;
    for (const int id : {0, -1, 501, 100000}) {
        model.SetBinding(id, {3, 4, 2});
        model.SetBoundPosition(id, 9);
        model.SetHoldMode(id, 1);
        model.ApplyDecoded(id, 5.0, kNoBits);
        model.ResetMinMax(id);
        EXPECT_EQ(model.Find(id), nullptr);
        EXPECT_EQ(model.Binding(id).position, 0);
    }
    for (int i = 0; i < DashboardModel::kLastId; ++i) {
        ASSERT_TRUE(model.AddItem(ItemKind::Label, 0));
    }
    EXPECT_FALSE(model.AddItem(ItemKind::Label, 0));
    EXPECT_FALSE(model.CreateGauge("USERLABEL900", 0));
}

TEST(DashboardModel, RemovedItemsAreGoneWithTheirPanel) {
    DashboardModel model;
    const int gauge = *model.AddItem(ItemKind::AngularGauge, 0);
    const int led = *model.AddItem(ItemKind::LedRound, 0);
    const int panel = model.Find(led)->parentId;
    model.Remove(gauge);
    model.Remove(led);
    EXPECT_EQ(model.Find(gauge), nullptr);
    EXPECT_EQ(model.Find(led), nullptr);
    EXPECT_EQ(model.Find(panel), nullptr);
    EXPECT_FALSE(model.FindByName("USERANGULARGAUGE1"));
    for (const DashboardItem& item : model.Items()) {
        EXPECT_TRUE(item.removed);
        EXPECT_EQ(item.id, -1);
    }
    // A removed item takes no more readings; the next item gets a fresh ID.
    model.ApplyDecoded(gauge, 40.0, kNoBits);
    EXPECT_EQ(model.Items()[0].position, 0.0);
    EXPECT_EQ(*model.AddItem(ItemKind::Label, 0), panel + 2);
}

TEST(DashboardModel, GaugesFollowAndTrackMinMaxUntilReset) {
    DashboardModel model;
    std::vector<int> changed;
    model.SetObserver([&](int id) { changed.push_back(id); });
    const int gauge = *model.AddItem(ItemKind::AngularGauge, 0);
    const int thermo = *model.AddItem(ItemKind::Thermometer, 0);

    for (const double v : {30.0, 80.0, 50.0}) {
        model.ApplyDecoded(gauge, v, kNoBits);
    }
    const DashboardItem* item = model.Find(gauge);
    EXPECT_EQ(item->position, 50.0);
    EXPECT_EQ(item->maxMarker, 80.0);
    EXPECT_EQ(item->minMarker, 0.0);  // markers start at the cleared reading
    EXPECT_EQ(changed, (std::vector<int>{gauge, gauge, gauge}));

    model.ResetMinMax(gauge);
    EXPECT_EQ(item->minMarker, 50.0);
    EXPECT_EQ(item->maxMarker, 50.0);
    model.ApplyDecoded(gauge, 20.0, kNoBits);
    EXPECT_EQ(item->minMarker, 20.0);
    EXPECT_EQ(item->maxMarker, 50.0);
    model.ResetMinMax(gauge, 10.0, 100.0);
    EXPECT_EQ(item->minMarker, 10.0);
    EXPECT_EQ(item->maxMarker, 100.0);

    changed.clear();
    model.ApplyDecoded(thermo, 0.0, kNoBits);  // nothing moves, nothing repaints
    EXPECT_TRUE(changed.empty());
    model.ApplyDecoded(thermo, 95.5, kNoBits);
    EXPECT_EQ(model.Find(thermo)->position, 95.5);
    EXPECT_EQ(changed, std::vector<int>{thermo});

    model.ClearLiveReadings();
    EXPECT_EQ(item->position, 0.0);
    EXPECT_EQ(item->minMarker, 0.0);
    EXPECT_EQ(item->maxMarker, 0.0);
}

TEST(DashboardModel, HoldModesOfTheNumericDisplays) {
    DashboardModel model;
    const int follow = *model.AddItem(ItemKind::SevenSegmentAnalog, 0);
    const int min = *model.AddItem(ItemKind::AnalogDisplay, 0);
    const int max = *model.AddItem(ItemKind::AnalogDisplay, 0);
    const int odometer = *model.Insert(ItemKind::Odometer, "ODO", 0);
    model.SetHoldMode(min, kHoldMin);
    model.SetHoldMode(max, kHoldMax);
    model.SetHoldMode(odometer, kHoldMax);  // hold modes mean nothing to an odometer

    std::vector<int> changed;
    model.SetObserver([&](int id) { changed.push_back(id); });
    for (const double v : {-5.0, 40.0, 12.0, 40.0, -7.0, 3.0}) {
        for (const int id : {follow, min, max, odometer}) {
            model.ApplyDecoded(id, v, kNoBits);
        }
    }
    EXPECT_EQ(model.Find(follow)->value, 3.0);
    EXPECT_EQ(model.Find(odometer)->value, 3.0);
    EXPECT_EQ(model.Find(min)->value, -7.0);
    EXPECT_EQ(model.Find(max)->value, 40.0);
    // Max moved only for 40 (the second 40 is equal), Min for -5 and -7.
    EXPECT_EQ(std::count(changed.begin(), changed.end(), max), 1);
    EXPECT_EQ(std::count(changed.begin(), changed.end(), min), 2);

    // Reset to the current reading, then it holds again from there.
    model.ResetMinMax(max);
    EXPECT_EQ(model.Find(max)->value, 3.0);
    model.ApplyDecoded(max, 2.0, kNoBits);
    EXPECT_EQ(model.Find(max)->value, 3.0);
    model.ResetMinMax(min, 100.0, 9999.0);
    EXPECT_EQ(model.Find(min)->value, 100.0);
    model.ApplyDecoded(min, 99.0, kNoBits);
    EXPECT_EQ(model.Find(min)->value, 99.0);

    // Any other positive mode holds the minimum, zero or less follows.
    model.SetHoldMode(max, 7);
    model.ApplyDecoded(max, 50.0, kNoBits);
    EXPECT_EQ(model.Find(max)->value, 3.0);
    model.SetHoldMode(max, -1);
    model.ApplyDecoded(max, 50.0, kNoBits);
    EXPECT_EQ(model.Find(max)->value, 50.0);
}

TEST(DashboardModel, NoValueIsShownOnceAndClearedByTheNextValue) {
    DashboardModel model;
    const int max = *model.AddItem(ItemKind::AnalogDisplay, 0);
    const int label = *model.AddItem(ItemKind::Label, 0);
    model.SetHoldMode(max, kHoldMax);
    model.ApplyDecoded(max, 40.0, kNoBits);
    std::vector<int> changed;
    model.SetObserver([&](int id) { changed.push_back(id); });
    model.ApplyNoValue(max);
    model.ApplyNoValue(max);    // already shown: no second repaint
    model.ApplyNoValue(label);  // shows no values at all
    EXPECT_TRUE(model.Find(max)->noValue);
    EXPECT_FALSE(model.Find(label)->noValue);
    EXPECT_EQ(model.Find(max)->value, 40.0);
    EXPECT_EQ(changed, std::vector<int>{max});
    // A value the hold mode does not take still ends the dash: the held value shows again.
    model.ApplyDecoded(max, 10.0, kNoBits);
    EXPECT_FALSE(model.Find(max)->noValue);
    EXPECT_EQ(model.Find(max)->value, 40.0);
    EXPECT_EQ(changed, (std::vector<int>{max, max}));
    model.ApplyNoValue(max);
    model.ClearLiveReadings();
    EXPECT_FALSE(model.Find(max)->noValue);
}

TEST(DashboardModel, RoundLedShowsItsBoundBit) {
    DashboardModel model;
    const int led = *model.AddItem(ItemKind::LedRound, 0);
    model.SetBinding(led, {12, 3, 0});
    for (int byte = 0; byte < 256; ++byte) {
        model.ApplyDecoded(led, byte, BitsOf(byte));
        ASSERT_EQ(model.Find(led)->active, (byte & 8) != 0) << byte;
    }
    // No bit chosen: the LED keeps its state instead of reading past the bits.
    model.ApplyDecoded(led, 8, BitsOf(8));
    model.SetBinding(led, {12, BindingEntry::kNoBit, 0});
    model.ApplyDecoded(led, 0, BitsOf(0));
    EXPECT_TRUE(model.Find(led)->active);
    model.ClearLiveReadings();
    EXPECT_FALSE(model.Find(led)->active);
    // Values never reach a LED's Position or Value, nor bits a gauge.
    EXPECT_EQ(model.Find(led)->value, 0.0);
}

}  // namespace
}  // namespace vekaton
