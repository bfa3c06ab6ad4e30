// Real-time playback in the window: every way it can end puts the interface back.
#include <gtest/gtest.h>
#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

#include "LogTestSet.h"
#include "QtApp.h"
#include "app/AppTexts.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "app/WindowCaption.h"
#include "app/logview/LogViewer.h"
#include "app/logview/PlaybackBar.h"
#include "app/logview/PlaybackController.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::TestApp;
using testing::WaitUntil;

class PlaybackWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        testing::WriteLogTestSet(folder_);
        log_ = testing::WriteLogTestLog(folder_, "drive.Dat", 40);
    }

    QPushButton* Button(MainWindow& window, const char* name) {
        return window.Rooms().graphs.findChild<QPushButton*>(name);
    }

    // What the interface shows once playback is over.
    void ExpectStopped(MainWindow& window) {
        EXPECT_FALSE(window.Rooms().session.GetEngine().RealTimePlayback());
        EXPECT_FALSE(window.Rooms().session.GetEngine().Running());
        EXPECT_EQ(window.Rooms().pauseAction.text(), "Run");
        EXPECT_EQ(window.windowTitle(), window.Rooms().caption.Base());
        EXPECT_TRUE(Button(window, "FileRecordButton")->isEnabled());
        EXPECT_TRUE(Button(window, "ViewLogButton")->isEnabled());
        EXPECT_EQ(Button(window, "PlaybackButton")->text(), texts::kPlayDataLog);
        EXPECT_TRUE(window.Rooms().playback.Bar().isHidden());
        EXPECT_EQ(window.Rooms().session.GetEngine().RequestBytes(),
                  (std::vector<std::uint8_t>{0xF4, 0x57, 0x01, 0x00, 0xB4}));
    }

    void StartPlaying(MainWindow& window, std::int64_t from = 0) {
        ASSERT_TRUE(window.Rooms().playback.Start(log_, from));
        EXPECT_TRUE(window.Rooms().session.GetEngine().RealTimePlayback());
        EXPECT_FALSE(Button(window, "FileRecordButton")->isEnabled());
        EXPECT_EQ(Button(window, "PlaybackButton")->text(), texts::kStopPlayback);
        EXPECT_TRUE(
            window.windowTitle().startsWith(window.Rooms().caption.Base() + texts::kFileCaption));
        EXPECT_TRUE(window.windowTitle().endsWith("drive.Dat"));
        EXPECT_FALSE(window.Rooms().playback.Bar().isHidden());
    }

    CurrentFolder folder_;
    QString log_;
};

TEST_F(PlaybackWindowTest, EveryWayPlaybackEndsPutsTheInterfaceBack) {
    MainWindow window;
    window.show();
    window.Rooms().pages.setCurrentWidget(&window.Rooms().graphs);

    // The end of the log.
    StartPlaying(window, 35);
    ASSERT_TRUE(
        WaitUntil([&] { return !window.Rooms().session.GetEngine().RealTimePlayback(); }, 5000));
    ExpectStopped(window);
    // The bar's stop button.
    StartPlaying(window);
    window.Rooms().playback.Bar().findChild<QToolButton*>("StopPlayback")->click();
    ExpectStopped(window);
    // The page's playback button, which reads "Stop Playback" meanwhile.
    StartPlaying(window);
    Button(window, "PlaybackButton")->click();
    ExpectStopped(window);
    // Paused, then stopped.
    StartPlaying(window);
    window.Rooms().playback.Bar().findChild<QToolButton*>("PlayPause")->click();
    EXPECT_TRUE(window.Rooms().session.GetEngine().PlaybackPaused());
    window.Rooms().session.GetEngine().StopPlayback();
    ExpectStopped(window);
    // Settings confirmed in Setup.
    StartPlaying(window);
    window.Rooms().session.GetEngine().ApplySettings(window.Rooms().session.GetEngine().Settings());
    ExpectStopped(window);
    // Another configuration set loaded (the start-up sequence runs again).
    StartPlaying(window);
    window.FormCreate();
    ExpectStopped(window);
    // A log opened for viewing.
    StartPlaying(window);
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    EXPECT_FALSE(window.Rooms().session.GetEngine().RealTimePlayback());
    EXPECT_TRUE(window.Rooms().playback.Bar().isHidden());
    EXPECT_EQ(Button(window, "PlaybackButton")->text(), texts::kPlayDataLog);
    window.Rooms().logView.Close();
    ExpectStopped(window);
    // A log that shrinks under playback: it stops, says why, and the interface is back.
    StartPlaying(window, 30);
    QFile::resize(log_, 2 + 27 * 10);
    ASSERT_TRUE(
        WaitUntil([&] { return !window.Rooms().session.GetEngine().RealTimePlayback(); }, 5000));
    ExpectStopped(window);
    EXPECT_TRUE(window.Rooms().messages.Posted().last().startsWith("Playback stopped at frame 31"))
        << window.Rooms().messages.Posted().last().toStdString();
    // Closing the window in the middle of playback.
    log_ = testing::WriteLogTestLog(folder_, "drive.Dat", 40);
    StartPlaying(window);
    window.close();
    EXPECT_FALSE(window.Rooms().session.GetEngine().RealTimePlayback());
}

TEST_F(PlaybackWindowTest, TheBarPausesStepsSeeksAndShowsWherePlaybackStands) {
    MainWindow window;
    window.show();
    StartPlaying(window);
    window.Rooms().playback.Bar().findChild<QToolButton*>("PlayPause")->click();  // pause
    const std::int64_t at = window.Rooms().session.GetEngine().PlaybackPosition();
    window.Rooms().playback.Bar().findChild<QToolButton*>("StepFrame")->click();
    EXPECT_EQ(window.Rooms().session.GetEngine().PlaybackPosition(), at + 1);
    QSlider* slider = window.Rooms().playback.Bar().Slider();
    EXPECT_EQ(slider->maximum(), 40);
    EXPECT_EQ(slider->value(), at + 1);
    slider->setValue(20);  // as a drag does
    EXPECT_EQ(window.Rooms().session.GetEngine().PlaybackPosition(), 20);
    window.Rooms().playback.Bar().findChild<QToolButton*>("StepFrame")->click();
    // Frame 20's values, the table's and the chart's, on the log's own time axis.
    EXPECT_EQ(window.Rooms().session.Table().At(2).RawByte, testing::LogTestData(20)[1]);
    EXPECT_DOUBLE_EQ(window.Rooms().graphs.Chart()->Data().LastX().value_or(-1), 2.0);
    window.Rooms().session.GetEngine().StopPlayback();
    ExpectStopped(window);
}

}  // namespace
}  // namespace vekaton
