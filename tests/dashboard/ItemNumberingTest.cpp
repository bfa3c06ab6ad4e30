// Item IDs across a save and a load: live items numbered in component order, reset-button lists
// written in that numbering, and loaders that give each item its saved number back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dashboard/DashboardModel.h"

namespace vekaton {
namespace {

// What a gauge list keeps of one item, in saved order.
struct SavedItem {
    std::string name;
    int page = 0;
    int number = 0;
    std::string resetList;  // reset buttons only
};

// Writes what a save keeps: live items that a loader recreates (panels come with their LED).
std::vector<SavedItem> Save(const DashboardModel& model, bool listPanels) {
    const ItemNumbering numbering = model.NumberForSave();
    std::vector<SavedItem> saved;
    for (const int id : numbering.Ids()) {
        const DashboardItem& item = *model.Find(id);
        if (item.kind == ItemKind::Panel && !listPanels) {
            continue;
        }
        SavedItem entry{item.name, item.page, numbering.NumberOf(id), {}};
        if (item.kind == ItemKind::ResetButton) {
            entry.resetList = model.ResetListTextForSave(model.ResetButtonNumber(id), numbering);
        }
        saved.push_back(entry);
    }
    return saved;
}

void LoadInOrder(DashboardModel& model, const std::vector<SavedItem>& saved) {
    model.Clear();
    for (const SavedItem& entry : saved) {
        const std::optional<int> id = model.CreateGauge(entry.name, entry.page);
        ASSERT_TRUE(id) << entry.name;
        EXPECT_EQ(*id, entry.number) << entry.name;
    }
}

void LoadByNumber(DashboardModel& model, const std::vector<SavedItem>& saved) {
    model.Clear();
    // Backwards, so that no item lands where an earlier one would have gone by accident.
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        const std::optional<int> id = model.CreateGauge(it->name, it->page, it->number);
        ASSERT_TRUE(id) << it->name;
        EXPECT_EQ(*id, it->number) << it->name;
    }
}

void RestoreResetLists(DashboardModel& model, const std::vector<SavedItem>& saved) {
    for (const SavedItem& entry : saved) {
        if (!entry.resetList.empty()) {
            const int id = *model.FindByName(entry.name);
            model.SetResetButton(id, ResetButtonEntry{ParseIdList(entry.resetList), 5, 90});
        }
    }
}

std::vector<std::string> NamesOf(const DashboardModel& model, const std::vector<int>& ids) {
    std::vector<std::string> names;
    for (const int id : ids) {
        const DashboardItem* item = model.Find(id);
        names.push_back(item != nullptr ? item->name : "(none)");
    }
    return names;
}

class SaveAndLoad : public ::testing::TestWithParam<int> {};

TEST_P(SaveAndLoad, ResetButtonsKeepPointingAtTheSameItemsAfterRemovals) {
    DashboardModel model;
    const int label = *model.AddItem(ItemKind::Label, 0);
    const int gauge1 = *model.AddItem(ItemKind::AngularGauge, 0);
    const int led = *model.AddItem(ItemKind::LedRound, 1);  // panel first
    const int gauge2 = *model.AddItem(ItemKind::AngularGauge, 1);
    const int display = *model.AddItem(ItemKind::AnalogDisplay, 2);
    const int thermo = *model.AddItem(ItemKind::Thermometer, 2);
    const int button = *model.AddItem(ItemKind::ResetButton, 2);
    model.SetResetButton(button, ResetButtonEntry{{gauge1, gauge2, display, thermo}, 5, 90});

    // Items before the targets go away, one target too.
    model.Remove(label);
    model.Remove(led);
    model.Remove(gauge1);
    const std::vector<std::string> expected{"USERANGULARGAUGE2", "USERANALOGDISPLAY1",
                                            "USERTHERMOMETER1"};
    EXPECT_EQ(NamesOf(model, model.ResetButtonFor(button).ids)[1], expected[0]);

    const ItemNumbering numbering = model.NumberForSave();
    EXPECT_EQ(numbering.Count(), 4);
    EXPECT_EQ(numbering.NumberOf(gauge2), 1);
    EXPECT_EQ(numbering.NumberOf(label), 0);
    EXPECT_EQ(numbering.IdOf(4), button);
    EXPECT_EQ(numbering.IdOf(5), 0);
    EXPECT_EQ(model.ResetListTextForSave(1, numbering), "1,2,3");

    const std::vector<SavedItem> saved = Save(model, GetParam() == 1);
    if (GetParam() == 2) {
        LoadByNumber(model, saved);
    } else {
        LoadInOrder(model, saved);
    }
    RestoreResetLists(model, saved);
    const int loadedButton = *model.FindByName("USERRESETBUTTON1");
    EXPECT_EQ(NamesOf(model, model.ResetButtonFor(loadedButton).ids), expected);
    EXPECT_EQ(model.ResetButtonFor(loadedButton).minPreset, 5);
    // A second save of the loaded dashboard writes the same numbers.
    EXPECT_EQ(model.ResetListTextForSave(1, model.NumberForSave()), "1,2,3");
}

TEST_P(SaveAndLoad, DigitalLedsAndTheirPanelsComeBackUnderTheirNumbers) {
    DashboardModel model;
    ASSERT_TRUE(model.AddItem(ItemKind::Label, 0));
    const int led1 = *model.AddItem(ItemKind::LedRound, 0);
    const int gauge = *model.AddItem(ItemKind::AngularGauge, 0);
    const int led2 = *model.AddItem(ItemKind::LedRound, 1);
    const int button = *model.AddItem(ItemKind::ResetButton, 1);
    model.SetResetButton(button, ResetButtonEntry{{led2, gauge, led1}, kPresetCurrentValue, 0});
    model.Remove(*model.FindByName("USERLABEL1"));

    const std::vector<SavedItem> saved = Save(model, GetParam() == 1);
    if (GetParam() == 2) {
        LoadByNumber(model, saved);
    } else {
        LoadInOrder(model, saved);
    }
    RestoreResetLists(model, saved);
    EXPECT_EQ(NamesOf(model, model.ResetButtonFor(*model.FindByName("USERRESETBUTTON1")).ids),
              (std::vector<std::string>{"USERLEDROUND2", "USERANGULARGAUGE1", "USERLEDROUND1"}));
    for (const char* name : {"USERLEDROUND1", "USERLEDROUND2"}) {
        const DashboardItem* loaded = model.Find(*model.FindByName(name));
        const DashboardItem* panel = model.Find(loaded->parentId);
        ASSERT_NE(panel, nullptr) << name;
        EXPECT_EQ(panel->kind, ItemKind::Panel);
        EXPECT_EQ(panel->id, loaded->id - 1) << "a panel is numbered just before its LED";
        EXPECT_EQ(panel->page, loaded->page);
    }
    EXPECT_EQ(model.LiveIds().size(), 6u) << "no stray panels";
}

// 0: recreated in order from a list without panels; 1: in order, panels listed too;
// 2: each placed by its saved number.
INSTANTIATE_TEST_SUITE_P(Loaders, SaveAndLoad, ::testing::Values(0, 1, 2));

TEST(ItemNumbering, RunningIdsCountFromOneInCreationOrder) {
    DashboardModel model;
    EXPECT_EQ(*model.AddItem(ItemKind::Label, 0), 1);
    EXPECT_EQ(*model.AddItem(ItemKind::Thermometer, 0), 2);
    EXPECT_EQ(*model.AddItem(ItemKind::LedRound, 0), 4);  // its panel is 3
    model.Remove(2);
    EXPECT_EQ(*model.AddItem(ItemKind::Label, 0), 5) << "a removed ID is not handed out again";
    EXPECT_EQ(model.LiveIds(), (std::vector<int>{1, 3, 4, 5}));
}

TEST(ItemNumbering, PlacingByNumberRefusesTakenAndImpossibleNumbers) {
    DashboardModel model;
    ASSERT_EQ(*model.CreateGauge("USERLABEL4", 0, 10), 10);
    EXPECT_FALSE(model.CreateGauge("USERLABEL5", 0, 10));
    EXPECT_FALSE(model.CreateGauge("USERLABEL5", 0, 0));
    EXPECT_FALSE(model.CreateGauge("USERLABEL5", 0, 501));
    EXPECT_FALSE(model.CreateGauge("NOTANITEM", 0, 3));
    // Slots left free by a loader stay usable and are not items.
    EXPECT_EQ(model.Find(3), nullptr);
    EXPECT_EQ(model.Slot(3), nullptr);
    EXPECT_EQ(model.LiveIds(), std::vector<int>{10});
    ASSERT_EQ(*model.CreateGauge("USERLABEL1", 0, 3), 3);
    EXPECT_EQ(model.Counter(ItemKind::Label), 4);
    // New items follow the highest number.
    EXPECT_EQ(*model.AddItem(ItemKind::Label, 0), 11);
    EXPECT_EQ(model.Find(11)->name, "USERLABEL5");
    // A LED whose panel's number is taken gets a panel after the last one.
    const int led = *model.CreateGauge("USERLEDROUND1", 0, 12);
    EXPECT_EQ(led, 12);
    EXPECT_EQ(model.Find(led)->parentId, 13);
}

TEST(ResetButtons, TableByButtonNumberAndTheClick) {
    DashboardModel model;
    const int gauge = *model.AddItem(ItemKind::AngularGauge, 0);
    const int display = *model.AddItem(ItemKind::AnalogDisplay, 0);
    const int button = *model.AddItem(ItemKind::ResetButton, 0);
    const int label = *model.AddItem(ItemKind::Label, 0);
    EXPECT_EQ(model.ResetButtonNumber(button), 1);
    EXPECT_EQ(model.ResetButtonNumber(gauge), 0);
    EXPECT_EQ(model.ResetButtonFor(button), ResetButtonEntry{});
    EXPECT_EQ(model.ResetButtonFor(button).minPreset, 9999);

    model.SetHoldMode(display, kHoldMax);
    for (const double v : {10.0, 70.0, 40.0}) {
        model.ApplyValue(gauge, v);
        model.ApplyValue(display, v);
    }
    model.SetResetButton(button, ResetButtonEntry{{gauge, display, label, 77}, 20, 9999});
    model.ClickResetButton(button);
    EXPECT_EQ(model.Find(gauge)->minMarker, 20.0);
    EXPECT_EQ(model.Find(gauge)->maxMarker, 40.0) << "9999: the current value";
    EXPECT_EQ(model.Find(display)->value, 40.0);

    // A removed target is skipped, and comes back with undo.
    model.Remove(gauge);
    model.ClickResetButton(button);
    ASSERT_TRUE(model.Restore(gauge));
    EXPECT_EQ(model.Find(gauge)->name, "USERANGULARGAUGE1");

    // Button numbers stop at 99: the table has no room beyond.
    for (int i = 2; i <= 99; ++i) {
        ASSERT_TRUE(model.AddItem(ItemKind::ResetButton, 0)) << i;
    }
    EXPECT_FALSE(model.AddItem(ItemKind::ResetButton, 0));
    model.SetResetEntry(100, ResetButtonEntry{{1}, 1, 1});
    EXPECT_EQ(model.ResetButtons().Entry(100), ResetButtonEntry{});
    model.Clear();
    EXPECT_EQ(model.ResetButtons().Entry(1), ResetButtonEntry{});
}

TEST(ResetButtons, IdListsAsText) {
    EXPECT_EQ(FormatIdList({3, 7, 12}), "3,7,12");
    EXPECT_EQ(FormatIdList({}), "");
    EXPECT_EQ(ParseIdList("3,7,12"), (std::vector<int>{3, 7, 12}));
    EXPECT_EQ(ParseIdList(" 3 7,, 12 \r\n"), (std::vector<int>{3, 7, 12}));
    EXPECT_EQ(ParseIdList("0,501,-2,x9,9x,4,4,500,99999999999"), (std::vector<int>{4, 500}));
    EXPECT_TRUE(ParseIdList("").empty());
}

TEST(DashboardModel, RestoreBringsBackTheItemWithItsPanelAndTellsTheView) {
    DashboardModel model;
    std::vector<int> changed;
    model.SetChangeObserver([&](int id) { changed.push_back(id); });
    const int led = *model.AddItem(ItemKind::LedRound, 0);
    const int panel = model.Find(led)->parentId;
    EXPECT_EQ(changed, (std::vector<int>{panel, led}));

    changed.clear();
    model.Remove(panel);  // the panel takes its LED with it
    EXPECT_EQ(model.Find(led), nullptr);
    EXPECT_EQ(changed.size(), 2u);
    ASSERT_NE(model.Slot(led), nullptr);
    EXPECT_TRUE(model.Slot(led)->removed);

    changed.clear();
    EXPECT_TRUE(model.Restore(led));
    EXPECT_NE(model.Find(led), nullptr);
    EXPECT_NE(model.Find(panel), nullptr);
    EXPECT_EQ(model.Find(panel)->id, panel);
    EXPECT_EQ(changed.size(), 2u);
    EXPECT_FALSE(model.Restore(led)) << "already live";
    EXPECT_FALSE(model.Restore(42));

    changed.clear();
    PropertyBag moved = model.Find(led)->properties;
    moved.Set("Left", PropertyValue::Integer(5));
    model.SetProperties(led, moved);
    model.SetProperty(panel, "Caption", PropertyValue::String("Fan"));
    EXPECT_EQ(changed, (std::vector<int>{led, panel}));
    EXPECT_EQ(model.Find(panel)->properties.Find("Caption")->AsText(), "Fan");
}

TEST(DashboardModel, PageCaptionsAreKeptUntilCleared) {
    DashboardModel model;
    EXPECT_EQ(model.PageCaption(0), "");
    model.SetPageCaption(2, "Fuel");
    model.SetPageCaption(-1, "x");
    model.SetPageCaption(100000, "x");
    EXPECT_EQ(model.PageCaption(2), "Fuel");
    EXPECT_EQ(model.PageCaption(1), "");
    EXPECT_EQ(model.PageCaption(-1), "");
    model.Clear();
    EXPECT_EQ(model.PageCaption(2), "");
}

}  // namespace
}  // namespace vekaton
