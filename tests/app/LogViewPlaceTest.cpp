// The log viewer keeps the user's place: Ctrl+L shows the chart, playback runs inside the
// viewer and ends on the whole log with the cursor where it stopped, the slider goes back
// through history the viewer holds, and the live chart's history waits for the log to close.
#include <gtest/gtest.h>
#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

#include "LogTestSet.h"
#include "QtApp.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/logview/LogViewBar.h"
#include "app/logview/LogViewer.h"
#include "app/logview/PlaybackBar.h"
#include "app/logview/PlaybackController.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::TestApp;
using testing::WaitUntil;

constexpr int kFrames = 40;  // 100 ms each

class LogViewPlaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        testing::WriteLogTestSet(folder_);
        log_ = testing::WriteLogTestLog(folder_, "drive.Dat", kFrames);
    }
    static void ChooseChannels(MainWindow& window) {
        window.Rooms().graphs.RebuildChannelChoices(window.Rooms().session.Table());
        window.Rooms().graphs.ChooseChannel(1, 0);
        window.Rooms().graphs.ChooseChannel(8, 0);
    }
    static const TStripChart& Chart(MainWindow& window) { return *window.Rooms().graphs.Chart(); }
    static std::int64_t CursorFrame(MainWindow& window) {
        return window.Rooms().logView.CursorFrame();
    }
    CurrentFolder folder_;
    QString log_;
};

QAction* ActionWithShortcut(QWidget& window, const QKeySequence& keys) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->shortcut() == keys) {
            return action;
        }
    }
    return nullptr;
}

TEST_F(LogViewPlaceTest, CtrlLFromADashboardPageShowsTheLogOnTheChart) {
    MainWindow window;
    window.show();
    window.Rooms().pages.setCurrentIndex(0);
    ASSERT_NE(window.Rooms().pages.currentWidget(), &window.Rooms().graphs);
    window.Rooms().logView.SetChooseFile([this] { return log_; });
    QAction* open = ActionWithShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_L));
    ASSERT_NE(open, nullptr);
    open->trigger();
    ASSERT_TRUE(window.Rooms().logView.IsOpen());
    EXPECT_EQ(window.Rooms().pages.currentWidget(), &window.Rooms().graphs);
    window.Rooms().logView.Close();
}

TEST_F(LogViewPlaceTest, PlaybackRunsInsideTheViewerAndEndsOnTheWholeLogWhereItStopped) {
    MainWindow window;
    window.show();
    ChooseChannels(window);
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    window.Rooms().logView.SetCursorFrame(10);
    window.Rooms().logView.Bar().findChild<QPushButton*>("PlayFromCursor")->click();
    Engine& engine = window.Rooms().session.GetEngine();
    ASSERT_TRUE(engine.RealTimePlayback());
    EXPECT_TRUE(window.Rooms().logView.IsOpen()) << "the viewer stays";
    EXPECT_TRUE(window.Rooms().logView.Bar().isVisible()) << "Export and Close stay";
    EXPECT_TRUE(window.Rooms().playback.Bar().isVisible());
    EXPECT_EQ(Chart(window).Data().SampleCount(), static_cast<std::size_t>(kFrames))
        << "the whole log stays on the chart";

    // Played on to frame 14 or so, then stopped with the bar's stop button.
    ASSERT_TRUE(WaitUntil([&] { return engine.PlaybackPosition() >= 15; }, 5000));
    // While it plays, cursor A follows it and the chart shows the history up to it.
    EXPECT_GE(CursorFrame(window), 10);
    EXPECT_NEAR(Chart(window).ViewRight(), static_cast<double>(CursorFrame(window)) * 0.1 + 0.05,
                0.11);
    window.Rooms().playback.Bar().findChild<QToolButton*>("StopPlayback")->click();
    ASSERT_FALSE(engine.RealTimePlayback());
    EXPECT_TRUE(window.Rooms().logView.IsOpen());
    EXPECT_TRUE(window.Rooms().logView.Bar().isVisible());
    EXPECT_TRUE(window.Rooms().playback.Bar().isHidden());
    // The whole log again, the cursor on the last frame played, the table holding its values.
    EXPECT_DOUBLE_EQ(Chart(window).ViewLeft(), 0.0);
    EXPECT_NEAR(Chart(window).ViewRight(), (kFrames - 1) * 0.1, 1e-9);
    const std::int64_t cursor = CursorFrame(window);
    EXPECT_GE(cursor, 14);
    EXPECT_LT(cursor, kFrames);
    EXPECT_EQ(window.Rooms().session.Table().At(8).RawByte,
              testing::LogTestData(static_cast<int>(cursor))[7]);

    // To the end of the log: the cursor on its last frame.
    window.Rooms().logView.SetCursorFrame(36);
    window.Rooms().logView.Bar().findChild<QPushButton*>("PlayFromCursor")->click();
    ASSERT_TRUE(WaitUntil([&] { return !engine.RealTimePlayback(); }, 5000));
    EXPECT_TRUE(window.Rooms().logView.IsOpen());
    EXPECT_EQ(CursorFrame(window), kFrames - 1);
    EXPECT_NEAR(Chart(window).ViewRight(), (kFrames - 1) * 0.1, 1e-9);
    window.Rooms().logView.Close();
}

TEST_F(LogViewPlaceTest, TheSliderGoingBackShowsTheHistoryUpToThere) {
    MainWindow window;
    window.show();
    ChooseChannels(window);
    ASSERT_TRUE(window.Rooms().playback.Start(log_, 30));
    Engine& engine = window.Rooms().session.GetEngine();
    window.Rooms().playback.Bar().findChild<QToolButton*>("PlayPause")->click();  // pause
    QSlider* slider = window.Rooms().playback.Bar().Slider();
    slider->setValue(10);  // as a drag back does
    ASSERT_EQ(engine.PlaybackPosition(), 10);
    const TStripChart& chart = Chart(window);
    EXPECT_EQ(chart.Data().SampleCount(), static_cast<std::size_t>(kFrames)) << "not blank";
    // Frame 10 plays next: the window ends at frame 9, the last one played, and the frames
    // before it are drawn from what the viewer read.
    EXPECT_NEAR(chart.ViewRight(), 0.95, 0.06);
    EXPECT_LT(chart.ViewLeft(), 0.5);
    const std::int64_t first = chart.Data().FirstSample();
    for (const int frame : {0, 5, 9}) {
        EXPECT_TRUE(chart.Data().Point(0, first + frame)) << "frame " << frame;
    }
    EXPECT_EQ(CursorFrame(window), 9);
    // One frame on: the history follows.
    window.Rooms().playback.Bar().findChild<QToolButton*>("StepFrame")->click();
    EXPECT_EQ(window.Rooms().session.Table().At(8).RawByte, testing::LogTestData(10)[7]);
    EXPECT_NEAR(chart.ViewRight(), 1.05, 0.06);
    engine.StopPlayback();
    EXPECT_EQ(CursorFrame(window), 10);
    window.Rooms().logView.Close();
}

TEST_F(LogViewPlaceTest, TheLiveChartsHistoryWaitsForTheLogToClose) {
    MainWindow window;
    window.show();
    ChooseChannels(window);
    window.PauseClick();  // the simulated module answers
    Engine& engine = window.Rooms().session.GetEngine();
    ASSERT_TRUE(engine.Running());
    ASSERT_TRUE(WaitUntil([&] { return Chart(window).Data().SampleCount() >= 8; }, 8000));
    window.PauseClick();
    const std::size_t live = Chart(window).Data().SampleCount();
    const double lastX = Chart(window).Data().LastX().value_or(-1);
    const double lastPoint =
        Chart(window).Data().Point(0, Chart(window).Data().EndSample() - 1).value_or(-999);

    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    EXPECT_EQ(Chart(window).Data().SampleCount(), static_cast<std::size_t>(kFrames));
    window.Rooms().logView.Close();
    ASSERT_EQ(Chart(window).Data().SampleCount(), live) << "the live history is back";
    EXPECT_EQ(Chart(window).Data().LastX(), lastX);
    EXPECT_EQ(Chart(window).Data().Point(0, Chart(window).Data().EndSample() - 1).value_or(-1),
              lastPoint);
    // And goes on from there.
    window.PauseClick();
    ASSERT_TRUE(WaitUntil([&] { return Chart(window).Data().SampleCount() > live + 2; }, 8000));
    EXPECT_GT(Chart(window).Data().LastX().value_or(0), lastX);
    window.PauseClick();
}

}  // namespace
}  // namespace vekaton
