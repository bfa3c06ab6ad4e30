// The demo's dashboards: every kind of item, bound to the simulated module's values, moving.
#include <gtest/gtest.h>

#include <QTabWidget>
#include <set>

#include "DashboardTestSupport.h"
#include "app/DemoSet.h"
#include "dashboard/BindingSlots.h"
#include "widgets/RangeInstrument.h"

namespace vekaton {
namespace {

using testing::WaitUntil;

TEST(DemoDashboards, ShowEveryKindBoundToTheSimulatedModuleAndMove) {
    testing::TestApp();
    testing::CurrentFolder folder;
    QString error;
    ASSERT_TRUE(CopyDemoSet(folder.Path(), &error)) << error.toStdString();
    TForm1 window(true);
    DashboardModel& model = window.Dashboard().Model();
    const ParameterTable& table = window.Table();

    std::set<ItemKind> kinds;
    std::set<int> pages;
    for (const int id : model.LiveIds()) {
        const DashboardItem& item = *model.Find(id);
        kinds.insert(item.kind);
        pages.insert(item.page);
        if (item.kind == ItemKind::Label || item.kind == ItemKind::Panel ||
            item.kind == ItemKind::ResetButton) {
            continue;
        }
        const BindingEntry binding = model.Binding(id);
        const ParameterRecord& record = table.At(binding.position);
        EXPECT_TRUE(!record.Descriptions[0].empty() || record.IsDigital) << item.name;
        const int last = LastBytePosition(binding.position, record.ByteCount);
        EXPECT_TRUE(IsBoundAt(table, id, last)) << item.name;
        if (item.kind == ItemKind::LedRound) {
            EXPECT_TRUE(record.IsDigital) << item.name;
            EXPECT_FALSE(record.Descriptions[static_cast<std::size_t>(binding.bit)].empty());
        }
    }
    EXPECT_EQ(kinds.size(), 8u) << "every kind that the Add menu offers, and the LED's panel";
    EXPECT_EQ(pages, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(window.Pages().tabText(0), "Engine");
    EXPECT_EQ(window.Dashboard().Undo().count(), 0) << "the demo is the starting point";
    for (const int id : model.LiveIds()) {
        if (model.Find(id)->kind == ItemKind::ResetButton) {
            EXPECT_FALSE(model.ResetButtonFor(id).ids.empty());
        }
    }

    window.show();
    const int tachometer = *model.FindByName("USERANGULARGAUGE1");
    auto* gauge = static_cast<RangeInstrument*>(window.Dashboard().View().WidgetOf(tachometer));
    ASSERT_TRUE(WaitUntil([&] { return gauge->Position() > 300.0; }, 8000))
        << "the engine turns on the tachometer";
    EXPECT_LT(gauge->Position(), 6000.0);
    window.close();
}

}  // namespace
}  // namespace vekaton
