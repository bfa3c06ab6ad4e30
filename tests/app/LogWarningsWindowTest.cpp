// A log's warnings in the viewer: the frames beyond the limits of the current details shaded on
// the chart, found again when the limits change, and the list of warning events exported.
#include <gtest/gtest.h>

#include "LogTestSet.h"
#include "QtApp.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/dashboard/DashboardController.h"
#include "app/logview/LogViewer.h"
#include "app/logview/LogWarnings.h"
#include "session/Session.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;

constexpr int kFrames = 500;

class LogWarningsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        testing::WriteLogTestSet(folder_);
        // Coolant is the first data byte, which counts up with the frame: above 100 °C (a byte
        // above 186) from frame 188 to 256 and again from frame 444 to the end.
        testing::WriteTextFile(folder_.File("Default.details"),
                               "[1]\r\nwarn-high=100\r\nalarm=yes\r\n");
        log_ = testing::WriteLogTestLog(folder_, "drive.Dat", kFrames);
    }
    CurrentFolder folder_;
    QString log_;
};

TEST_F(LogWarningsWindowTest, TheFramesBeyondTheLimitsAreShadedAndListed) {
    MainWindow window;
    LogWarnings& warnings = window.Rooms().logWarnings;
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    EXPECT_EQ(warnings.Shaded(), (std::vector<FrameSpan>{{188, 256}, {444, 500}}));
    const std::int64_t first = window.Rooms().logView.FirstSample();
    EXPECT_EQ(window.Rooms().graphs.Chart()->ShadedSpans(),
              (std::vector<TStripChart::SampleSpan>{{first + 187, first + 255},
                                                    {first + 443, first + 499}}));
    ASSERT_EQ(warnings.Events().size(), 2u);
    EXPECT_EQ(warnings.Events()[0].startFrame, 188);
    EXPECT_FALSE(warnings.Events()[1].endFrame.has_value()) << "still on at the end of the log";

    const QString csv = folder_.File("warnings.csv");
    ASSERT_TRUE(warnings.ExportEvents(csv));
    const QStringList lines = testing::ReadTextFile(csv).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("Start,End,Start Frame,End Frame,Position"));
    EXPECT_TRUE(lines[1].contains(",188,")) << lines[1].toStdString();
    EXPECT_FALSE(warnings.ExportEvents(log_)) << "never over the log itself";

    // A higher limit, and the shading follows: only bytes 254 and 255 are above 150 °C.
    window.Rooms().session.Details().At(1).warnHigh = 150;
    window.Rooms().dashboard.DefinitionsChanged();
    EXPECT_EQ(warnings.Shaded(), (std::vector<FrameSpan>{{255, 256}}));

    window.Rooms().logView.Close();
    EXPECT_TRUE(warnings.Shaded().empty());
    EXPECT_TRUE(window.Rooms().graphs.Chart()->ShadedSpans().empty());
}

TEST_F(LogWarningsWindowTest, JoinedSpansMergeWhatOverlapsOrTouches) {
    const std::vector<WarningSpans> spans{{{1, -1}, {{10, 20}, {40, 50}}},
                                          {{2, -1}, {{15, 25}, {26, 30}, {60, 60}}}};
    EXPECT_EQ(JoinedSpans(spans), (std::vector<FrameSpan>{{10, 30}, {40, 50}, {60, 60}}));
    EXPECT_TRUE(JoinedSpans({}).empty());
}

}  // namespace
}  // namespace vekaton
