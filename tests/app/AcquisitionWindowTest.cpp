// Acquisition that never stalls and never misses a peak, through the real window on the
// simulated module: frames keep coming while "Auto Name File ?" stands and the log begins with
// a whole frame; held values and markers follow every frame while the chart shows.
#include <gtest/gtest.h>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

#include "QtApp.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/StatusPanel.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/DashboardView.h"
#include "app/dashboard/ItemActions.h"
#include "app/logview/RecordingController.h"
#include "dashboard/BindingSlots.h"
#include "support/SetFilesForTest.h"
#include "widgets/TAnalogDisplay.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::WaitUntil;
using testing::WriteTextFile;

// Talk/listen on the simulated module every 100 ms: 3 header bytes, 23 data bytes, a checksum.
QString RunningSettings() {
    testing::LinkSetUp setUp;
    setUp.request = "$f4 $57 $01 $00 $b4";
    setUp.echoed = true;
    setUp.autoRun = true;
    setUp.portName = "Simulated ECM";
    return QString::fromStdString(SettingsFile(setUp));
}

class AcquisitionWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        WriteTextFile(folder_.File("Default.Ini"), RunningSettings());
        WriteTextFile(folder_.File("Default.cfg"),
                      "1,1,0,Coolant,A*0.75-40\r\n4,2,0,Engine speed,A*256+B\r\nEND\r\n");
    }
    CurrentFolder folder_;
};

TEST_F(AcquisitionWindowTest, FramesKeepComingWhileTheRecordQuestionStands) {
    MainWindow window;
    window.show();
    Engine& engine = window.Rooms().session.GetEngine();
    ASSERT_TRUE(WaitUntil([&] { return engine.Counters().frames >= 3; }, 8000));
    window.Rooms().pages.setCurrentWidget(&window.Rooms().graphs);
    window.Rooms().graphs.ChooseChannel(1, 0);
    const TStripChart& chart = *window.Rooms().graphs.Chart();

    window.Rooms().graphs.findChild<QPushButton*>("FileRecordButton")->click();
    RecordingController& recording = window.Rooms().recording;
    ASSERT_TRUE(recording.Asking());
    auto* box = qobject_cast<QMessageBox*>(recording.Question());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Auto Name File ?");
    // The user thinks it over for a second and a half.
    const auto frames = engine.Counters().frames;
    const double elapsed = engine.ElapsedSeconds();
    const std::size_t samples = chart.Data().SampleCount();
    const std::size_t breaks = chart.Data().Breaks().size();
    testing::WaitUntil([] { return false; }, 1500);
    EXPECT_GE(engine.Counters().frames, frames + 8) << "the poll goes on behind the question";
    EXPECT_GT(engine.ElapsedSeconds(), elapsed + 0.7) << "the time counter runs";
    EXPECT_GE(chart.Data().SampleCount(), samples + 8);
    EXPECT_EQ(chart.Data().Breaks().size(), breaks) << "no frame was missed: nothing to break";
    EXPECT_FALSE(window.Rooms().status.LinkStateText().contains("No data"))
        << window.Rooms().status.LinkStateText().toStdString();
    EXPECT_FALSE(engine.Recording());

    box->button(QMessageBox::Yes)->click();
    ASSERT_FALSE(recording.Asking());
    ASSERT_TRUE(engine.Recording());
    const QString path = QString::fromStdString(engine.LogPath().string());
    ASSERT_TRUE(WaitUntil([&] { return engine.FrameCount() >= 5; }, 5000));
    EXPECT_TRUE(window.Rooms().status.RecordingLabel().startsWith("Saving - "));
    window.Rooms().graphs.findChild<QPushButton*>("FileRecordButton")->click();  // STOP Record
    ASSERT_TRUE(WaitUntil([&] { return !engine.Recording(); }, 5000));
    EXPECT_EQ(window.Rooms().status.RecordingLabel(), "") << "the count leaves with the stop";

    // Whole records from the first one: the header, 23 data bytes and a good checksum each.
    QFile log(path);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray bytes = log.readAll();
    constexpr int kRecord = 3 + 23 + 1;
    ASSERT_GE(bytes.size(), 2 + 5 * kRecord);
    EXPECT_EQ((bytes.size() - 2) % kRecord, 0);
    for (qsizetype at = 2; at + kRecord <= bytes.size(); at += kRecord) {
        unsigned sum = 0;
        for (int i = 0; i < kRecord; ++i) {
            sum += static_cast<unsigned char>(bytes[at + i]);
        }
        EXPECT_EQ(sum % 256, 0u) << "record at byte " << at;
    }
    window.close();
}

TEST_F(AcquisitionWindowTest, HeldValuesStartFromTheFirstReadingAndCatchPeaksWhileTheChartShows) {
    MainWindow window;
    DashboardController& dash = window.Rooms().dashboard;
    DashboardModel& model = dash.Model();
    Session& session = window.Rooms().session;
    const auto add = [&](int position, int bytes, int hold) {
        const int id = dash.Actions().AddItem(ItemKind::AnalogDisplay, 0, QPoint(20, 20)).value();
        model.SetBinding(id, BindingEntry{position, BindingEntry::kNoBit, hold});
        session.GetDecoder().BindItem(id, LastBytePosition(position, bytes));
        return id;
    };
    const int lowest = add(1, 1, kHoldMin);
    const int peak = add(4, 2, kHoldMax);
    window.Rooms().graphs.RebuildChannelChoices(session.Table());
    window.Rooms().graphs.ChooseChannel(1, 0);
    window.Rooms().graphs.ChooseChannel(4, 0);
    // Acquisition starts with the chart showing, and runs a while there.
    window.Rooms().pages.setCurrentWidget(&window.Rooms().graphs);
    window.show();
    Engine& engine = session.GetEngine();
    ASSERT_TRUE(WaitUntil([&] { return engine.Counters().frames >= 15; }, 8000));
    window.PauseClick();
    ASSERT_FALSE(engine.Running());

    const StripChartData& data = window.Rooms().graphs.Chart()->Data();
    const auto coolant = data.ValueRange(0);
    const auto rpm = data.ValueRange(1);
    ASSERT_TRUE(coolant && rpm);
    EXPECT_DOUBLE_EQ(model.Find(lowest)->value, coolant->first)
        << "the lowest reading, not the 0 the display started with";
    EXPECT_GT(model.Find(lowest)->value, 0.0) << "a warm engine";
    EXPECT_NEAR(model.Find(peak)->value, rpm->second, 0.5) << "no peak missed behind the chart";
    // The display itself catches up when its page shows again.
    window.Rooms().pages.setCurrentIndex(0);
    auto* display = qobject_cast<TAnalogDisplay*>(dash.View().WidgetOf(peak));
    ASSERT_NE(display, nullptr);
    EXPECT_NEAR(display->Value(), rpm->second, 0.5);
    window.close();
}

}  // namespace
}  // namespace vekaton
