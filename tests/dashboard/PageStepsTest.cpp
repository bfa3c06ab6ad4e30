// Stepping through the dashboard pages a driver uses: only those with items, round at the ends.
#include <gtest/gtest.h>

#include "dashboard/DashboardModel.h"
#include "dashboard/PageSteps.h"

namespace vekaton {
namespace {

TEST(PageSteps, OnlyPagesHoldingItemsAreSteppedThroughAndTheEndsJoin) {
    DashboardModel model;
    EXPECT_EQ(PagesInUse(model, 4), (std::vector<int>{0, 1, 2, 3})) << "a new dashboard: all";
    ASSERT_TRUE(model.AddItem(ItemKind::AngularGauge, 0));
    ASSERT_TRUE(model.AddItem(ItemKind::Thermometer, 2));
    ASSERT_TRUE(model.AddItem(ItemKind::Label, 2));
    const std::vector<int> pages = PagesInUse(model, 4);
    EXPECT_EQ(pages, (std::vector<int>{0, 2}));
    EXPECT_EQ(StepPage(pages, 0, 1), 2);
    EXPECT_EQ(StepPage(pages, 2, 1), 0);
    EXPECT_EQ(StepPage(pages, 0, -1), 2);
    EXPECT_EQ(StepPage(pages, 2, -3), 0);
    // From an empty page between: forward to the next used one, back to the one before.
    EXPECT_EQ(StepPage(pages, 1, 1), 2);
    EXPECT_EQ(StepPage(pages, 1, -1), 0);
    EXPECT_EQ(StepPage(pages, 3, 1), 0);
    EXPECT_EQ(StepPage({}, 0, 1), -1);
}

TEST(PageSteps, RemovedItemsAndPagesBeyondTheCountDoNotCount) {
    DashboardModel model;
    const auto gauge = model.AddItem(ItemKind::AngularGauge, 1);
    ASSERT_TRUE(gauge);
    ASSERT_TRUE(model.AddItem(ItemKind::AngularGauge, 7));  // only a damaged list says so
    EXPECT_EQ(PagesInUse(model, 3), (std::vector<int>{1}));
    model.Remove(*gauge);
    EXPECT_EQ(PagesInUse(model, 3), (std::vector<int>{0, 1, 2}));
}

}  // namespace
}  // namespace vekaton
