// The demo's dashboards: every kind of item, bound to the simulated module's values, moving.
#include <gtest/gtest.h>

#include <QFile>
#include <QTabWidget>
#include <set>

#include "DashboardTestSupport.h"
#include "app/DemoSet.h"
#include "app/GraphsPage.h"
#include "app/dashboard/DemoDashboards.h"
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
    MainWindow window(true);
    DashboardModel& model = window.Rooms().dashboard.Model();
    const ParameterTable& table = window.Rooms().session.Table();

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
    EXPECT_EQ(window.Rooms().pages.tabText(0), "Engine");
    EXPECT_EQ(window.Rooms().dashboard.Undo().count(), 0) << "the demo is the starting point";
    for (const int id : model.LiveIds()) {
        if (model.Find(id)->kind == ItemKind::ResetButton) {
            EXPECT_FALSE(model.ResetButtonFor(id).ids.empty());
        }
    }

    window.show();
    const int tachometer = *model.FindByName("USERANGULARGAUGE1");
    auto* gauge =
        static_cast<RangeInstrument*>(window.Rooms().dashboard.View().WidgetOf(tachometer));
    ASSERT_TRUE(WaitUntil([&] { return gauge->Position() > 300.0; }, 8000))
        << "the engine turns on the tachometer";
    EXPECT_LT(gauge->Position(), 6000.0);
    window.close();
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The demo's dashboard files are made from the dashboards built in code. With
// VEKATON_WRITE_DEMO_SET=1 this test writes them into the source tree's demo folder.
TEST(DemoDashboards, ShippedFilesHoldTheDashboardsBuiltInCode) {
    testing::TestApp();
    testing::CurrentFolder folder;
    QString error;
    ASSERT_TRUE(CopyDemoSet(folder.Path(), &error)) << error.toStdString();
    QFile::remove(folder.File("Demo.gau"));
    QFile::remove(folder.File("Demo.dsf"));
    MainWindow window(true);
    ASSERT_TRUE(window.Rooms().dashboard.Model().LiveIds().empty());
    BuildDemoDashboards(window.Rooms().dashboard);
    // Something moving on the chart from the first moment: coolant, throttle, O2, fuel.
    for (const int position : {1, 3, 22, 18}) {
        window.Rooms().graphs.ChooseChannel(position, 0);
    }
    const std::string gaugeList = window.Rooms().session.GaugeListText();
    const std::string layout = window.Rooms().session.LayoutBytes();
    if (qEnvironmentVariableIntValue("VEKATON_WRITE_DEMO_SET") == 1) {
        for (const auto& [name, bytes] : {std::pair{"Demo.gau", gaugeList}, {"Demo.dsf", layout}}) {
            QFile file(QStringLiteral(VEKATON_SOURCE_DIR "/demo/") + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
        GTEST_SKIP() << "demo dashboard files written";
    }
    EXPECT_EQ(ReadBytes(VEKATON_SOURCE_DIR "/demo/Demo.gau").toStdString(), gaugeList);
    const std::string shipped = ReadBytes(VEKATON_SOURCE_DIR "/demo/Demo.dsf").toStdString();
    ASSERT_GT(shipped.size(), kLayoutTrailerSize);
    // The window's bounds at the end may differ; every record must not.
    EXPECT_EQ(shipped.substr(0, shipped.size() - kLayoutTrailerSize),
              layout.substr(0, layout.size() - kLayoutTrailerSize));
}

}  // namespace
}  // namespace vekaton
