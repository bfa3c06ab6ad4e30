// The log viewer: a whole log in the chart, cursors that read a frame as playback would play
// it, raw data redrawn, cancelling, and warnings for a log that does not fit the set.
#include <gtest/gtest.h>
#include <QAction>
#include <QPushButton>

#include "LogTestSet.h"
#include "QtApp.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "app/WindowCaption.h"
#include "app/chart/ChannelListPanel.h"
#include "app/logview/LogViewBar.h"
#include "app/logview/LogViewer.h"
#include "app/logview/PlaybackController.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::TestApp;
using testing::WaitUntil;

constexpr int kFrames = 500;

class LogViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        testing::WriteLogTestSet(folder_);
        log_ = testing::WriteLogTestLog(folder_, "drive.Dat", kFrames);
    }
    void ChooseChannels(MainWindow& window) {
        window.Rooms().graphs.RebuildChannelChoices(window.Rooms().session.Table());
        window.Rooms().graphs.ChooseChannel(1, 0);   // coolant
        window.Rooms().graphs.ChooseChannel(4, 0);   // engine speed, two bytes
        window.Rooms().graphs.ChooseChannel(18, 3);  // a flag
        window.Rooms().graphs.ChooseChannel(23, 0);  // the counter, completed in the next frame
    }
    CurrentFolder folder_;
    QString log_;
};

// The values the window's table holds after playing the log through frame `frame`.
std::vector<double> PlayedValues(MainWindow& window, const QString& log, int frame) {
    std::vector<double> values;
    window.Rooms().session.GetEngine().StartPlayback(log.toStdString());
    window.Rooms().session.GetEngine().SetPlaybackPaused(true);
    for (int f = 0; f <= frame; ++f) {
        window.Rooms().session.GetEngine().StepPlayback();
    }
    for (const int p : {1, 4, 5, 8, 22, 23, 24}) {
        values.push_back(window.Rooms().session.Table().At(p).Value);
    }
    window.Rooms().session.GetEngine().StopPlayback();
    return values;
}

std::vector<double> TableValues(const MainWindow& window) {
    std::vector<double> values;
    for (const int p : {1, 4, 5, 8, 22, 23, 24}) {
        values.push_back(window.Rooms().session.Table().At(p).Value);
    }
    return values;
}

TEST_F(LogViewTest, TheWholeLogIsDrawnAndACursorReadsAFrameAsPlaybackWouldPlayIt) {
    MainWindow window;
    window.show();
    ChooseChannels(window);
    std::vector<qint64> frames;
    QObject::connect(&window.Rooms().logView, &LogViewer::cursorFrameChanged,
                     [&](qint64 frame) { frames.push_back(frame); });
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    EXPECT_TRUE(window.Rooms().session.GetEngine().FileViewMode());
    EXPECT_TRUE(window.Rooms().logView.Warning().isEmpty())
        << window.Rooms().logView.Warning().toStdString();
    const TStripChart& chart = *window.Rooms().graphs.Chart();
    ASSERT_EQ(chart.Data().SampleCount(), static_cast<std::size_t>(kFrames));
    EXPECT_DOUBLE_EQ(*chart.Data().FirstX(), 0.0);
    EXPECT_DOUBLE_EQ(*chart.Data().LastX(), (kFrames - 1) * 0.1);
    EXPECT_FALSE(chart.Following());
    EXPECT_DOUBLE_EQ(chart.ViewLeft(), 0.0);
    EXPECT_NEAR(chart.ViewRight(), (kFrames - 1) * 0.1, 1e-9);
    EXPECT_FALSE(window.Rooms().graphs.findChild<QPushButton*>("FileRecordButton")->isEnabled());
    window.PauseClick();  // Run does nothing while a log is viewed
    EXPECT_FALSE(window.Rooms().session.GetEngine().Running());

    for (const int frame : {0, 1, 63, 64, 300, kFrames - 1}) {
        window.Rooms().logView.SetCursorFrame(frame);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames.back(), frame);
        const std::vector<double> viewed = TableValues(window);
        // The chart's point at the cursor is the table's value there.
        const auto sample = chart.Cursor(TStripChart::kCursorA);
        ASSERT_TRUE(sample);
        EXPECT_EQ(chart.Data().Point(1, *sample).value_or(-1),
                  static_cast<float>(window.Rooms().session.Table().At(5).Value));
        // Pausing at a frame and seeking to it give the same as viewing it.
        window.Rooms().logView.Close();
        EXPECT_EQ(PlayedValues(window, log_, frame), viewed) << "frame " << frame;
        ASSERT_TRUE(window.Rooms().logView.Open(log_));
    }
    // The first byte of a two-byte value shows raw.
    window.Rooms().logView.SetCursorFrame(10);
    EXPECT_EQ(window.Rooms().session.Table().At(23).Value, testing::LogTestData(10)[22]);

    window.Rooms().logView.Close();
    EXPECT_FALSE(window.Rooms().session.GetEngine().FileViewMode());
    EXPECT_EQ(frames.back(), -1);
    EXPECT_TRUE(window.Rooms().graphs.findChild<QPushButton*>("FileRecordButton")->isEnabled());
    EXPECT_EQ(window.Rooms().graphs.Chart()->Data().SampleCount(), 0u);
    EXPECT_TRUE(window.Rooms().graphs.Chart()->Following());
    EXPECT_EQ(window.windowTitle(), window.Rooms().caption.Base());
}

TEST_F(LogViewTest, RawDataAndANewChannelDrawTheViewedLogAgainAndKeepTheCursors) {
    MainWindow window;
    window.show();
    ChooseChannels(window);
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    window.Rooms().logView.SetCursorFrame(123);
    TStripChart& chart = *window.Rooms().graphs.Chart();
    chart.SetCursor(TStripChart::kCursorB, *chart.Cursor(TStripChart::kCursorA) + 10);
    chart.SetViewWindow(10, 20);

    window.Rooms().graphs.SetRawData(true);  // the "Raw Data" button
    EXPECT_EQ(chart.Title(), "Raw Data");
    EXPECT_EQ(chart.YMaximum(), 255.0);
    ASSERT_EQ(chart.Data().SampleCount(), static_cast<std::size_t>(kFrames));
    EXPECT_EQ(window.Rooms().logView.CursorFrame(), 123);
    const auto a = *chart.Cursor(TStripChart::kCursorA);
    EXPECT_EQ(*chart.Cursor(TStripChart::kCursorB), a + 10);
    EXPECT_DOUBLE_EQ(chart.ViewLeft(), 10.0);
    // Engine speed in raw: the point is its last byte; the read-out has the whole value.
    const auto data = testing::LogTestData(123);
    EXPECT_EQ(chart.Data().Point(1, a).value_or(-1), data[4]);
    EXPECT_EQ(chart.Data().Word(1, a).value_or(0),
              static_cast<std::uint64_t>(data[3] * 256 + data[4]));
    QString hex = QString::number(data[3] * 256 + data[4], 16).toUpper();
    if (hex.size() % 2 != 0) {
        hex.prepend('0');
    }
    EXPECT_TRUE(chart.LegendText(1).contains("(0x" + hex + ")"))
        << chart.LegendText(1).toStdString();

    window.Rooms().graphs.SetRawData(false);
    EXPECT_EQ(chart.Title(), "Processed Data");
    EXPECT_EQ(chart.YMinimum(), 0.0);
    EXPECT_EQ(chart.YMaximum(), 100.0) << "the processed range comes back";
    const auto again = *chart.Cursor(TStripChart::kCursorA);
    EXPECT_EQ(chart.Data().Point(1, again).value_or(-1), data[3] * 256 + data[4]);

    // A channel added while viewing gets the whole log, not an empty history.
    window.Rooms().graphs.ChooseChannel(8, 0);
    ASSERT_EQ(chart.ChannelCount(), 5);
    const auto b = *chart.Cursor(TStripChart::kCursorA);
    EXPECT_NEAR(chart.Data().Point(4, b).value_or(-1), testing::LogTestData(123)[7] / 10.0, 1e-5);
    EXPECT_TRUE(chart.Data().Point(4, chart.Data().FirstSample()).has_value());
}

TEST_F(LogViewTest, OpeningCanBeCancelledAndLeavesNothingOpen) {
    MainWindow window;
    window.show();
    ChooseChannels(window);
    window.Rooms().logView.SetCancelCheck([](std::int64_t done) { return done > 0; });
    EXPECT_FALSE(window.Rooms().logView.Open(log_));
    EXPECT_FALSE(window.Rooms().logView.IsOpen());
    EXPECT_FALSE(window.Rooms().session.GetEngine().FileViewMode());
    EXPECT_EQ(window.Rooms().graphs.Chart()->Data().SampleCount(), 0u);
    window.Rooms().logView.SetCancelCheck({});
    EXPECT_TRUE(window.Rooms().logView.Open(log_));
}

TEST_F(LogViewTest, ALogThatDoesNotFitTheSetOpensWithAWarningNamingTheCause) {
    MainWindow window;
    window.show();
    ChooseChannels(window);
    const QString cut = testing::WriteLogTestLog(folder_, "cut.Dat", 50, 0, 11);
    ASSERT_TRUE(window.Rooms().logView.Open(cut));
    EXPECT_EQ(window.Rooms().graphs.Chart()->Data().SampleCount(), 50u);
    EXPECT_TRUE(window.Rooms().logView.Warning().contains("11 bytes are left over"))
        << window.Rooms().logView.Warning().toStdString();
    ASSERT_TRUE(WaitUntil([&] { return !window.Rooms().messages.Posted().isEmpty(); }));
    EXPECT_TRUE(window.Rooms().messages.Posted().last().contains("does not fit"));

    const QString failing = testing::WriteLogTestLog(folder_, "failing.Dat", 50, 2);
    ASSERT_TRUE(window.Rooms().logView.Open(failing));
    EXPECT_TRUE(window.Rooms().logView.Warning().isEmpty()) << "half of the frames is not most";
    const QString worse = testing::WriteLogTestLog(folder_, "worse.Dat", 50, 1);
    ASSERT_TRUE(window.Rooms().logView.Open(worse));
    EXPECT_TRUE(window.Rooms().logView.Warning().contains("50 of its 50 frames fail the checksum"))
        << window.Rooms().logView.Warning().toStdString();

    const QString empty = testing::WriteLogTestLog(folder_, "empty.Dat", 0, 0, 5);
    EXPECT_FALSE(window.Rooms().logView.Open(empty));
    EXPECT_TRUE(window.Rooms().messages.Posted().last().contains("holds no whole record"));
    EXPECT_FALSE(window.Rooms().logView.IsOpen());
}

TEST_F(LogViewTest, PlayFromTheCursorPlaysTheViewedLogFromThere) {
    MainWindow window;
    window.show();
    ChooseChannels(window);
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    window.Rooms().logView.SetCursorFrame(400);
    window.Rooms().logView.Bar().findChild<QPushButton*>("PlayFromCursor")->click();
    EXPECT_FALSE(window.Rooms().logView.IsOpen());
    ASSERT_TRUE(window.Rooms().session.GetEngine().RealTimePlayback());
    EXPECT_EQ(window.Rooms().session.GetEngine().PlaybackPosition(), 400);
    window.Rooms().session.GetEngine().StopPlayback();
}

}  // namespace
}  // namespace vekaton
