// The window's start-up, acquisition on the simulated module, and the close-time save.
#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QTabWidget>

#include "QtApp.h"
#include "app/DebugPage.h"
#include "app/DemoSet.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "app/StatusPanel.h"
#include "engine/EngineTexts.h"
#include "io/PortController.h"
#include "support/SetFilesForTest.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::ReadTextFile;
using testing::TestApp;
using testing::WaitUntil;
using testing::WriteTextFile;

QString SettingsText(const QString& port, bool autoRun) {
    testing::LinkSetUp setUp;
    setUp.request = "$f4 $57 $01 $00 $b4";
    setUp.echoed = true;
    setUp.autoRun = autoRun;
    setUp.portName = port.toStdString();
    return QString::fromStdString(SettingsFile(setUp));
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { TestApp(); }
    CurrentFolder folder_;
};

TEST_F(MainWindowTest, FreshFolderStartsStoppedWithTheDefaults) {
    MainWindow window;
    const LinkSettings& settings = window.Rooms().session.GetEngine().Settings();
    EXPECT_EQ(settings.syncMode, SyncMode::TalkListen);
    EXPECT_EQ(settings.syncTime, 500);
    EXPECT_EQ(settings.sampleRate, 500);
    EXPECT_TRUE(settings.requestString.empty());
    EXPECT_TRUE(window.Rooms().session.GetEngine().RequestBytes().empty());
    EXPECT_EQ(window.Rooms().pauseAction.text(), "Run");
    EXPECT_EQ(window.Rooms().status.SampleRateText(), "Sample Rate = 500 mS");
    EXPECT_EQ(window.Rooms().status.ModeLabel(), "Talk/Listen Mode");
    EXPECT_EQ(window.windowTitle(), "Vekaton v3.02d  : ");
    EXPECT_FALSE(window.Rooms().session.GetEngine().Running());
}

TEST_F(MainWindowTest, AutoRunOnTheSimulatedModuleReceivesCleanFrames) {
    WriteTextFile(folder_.File("Default.Ini"), SettingsText("Simulated ECM", true));
    WriteTextFile(folder_.File("Default.cfg"),
                  "\r\n1,1,0,Coolant,A*0.75-40\r\n4,2,0,Engine speed,A*256+B\r\nEND\r\n");
    MainWindow window;
    EXPECT_FALSE(window.Rooms().session.GetEngine().Running())
        << "AutoRun waits for the window to show";
    window.Rooms().pages.setCurrentWidget(&window.Rooms().debug);
    window.show();
    ASSERT_TRUE(WaitUntil(
        [&] { return window.Rooms().session.GetEngine().ElapsedSeconds() >= 0.5; }, 8000));
    EXPECT_EQ(window.Rooms().pauseAction.text(), "Pause");
    EXPECT_FALSE(window.Rooms().status.ChecksumLabelVisible());
    EXPECT_FALSE(window.Rooms().debug.TraceText().isEmpty());
    // The simulated engine is warm and turning: believable values at the decoded positions.
    const double coolant = window.Rooms().session.Table().At(1).Value;
    const double rpm = window.Rooms().session.Table().At(5).Value;
    EXPECT_GE(coolant, -40.0);
    EXPECT_LE(coolant, 150.0);
    EXPECT_GT(rpm, 300.0);
    EXPECT_LT(rpm, 8000.0);
    window.close();
}

TEST_F(MainWindowTest, PortThatWillNotOpenIsExplainedAndTheProgramGoesOn) {
    WriteTextFile(folder_.File("Default.Ini"), SettingsText("/dev/vekaton-no-such-port", true));
    MainWindow window;
    QString prompted;
    window.SetPortPrompt([&](const QString& message, LinkSettings&) {
        prompted = message;
        return false;
    });
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return !prompted.isEmpty(); }));
    EXPECT_TRUE(prompted.startsWith("Invalid Com#")) << prompted.toStdString();
    EXPECT_TRUE(prompted.contains("/dev/vekaton-no-such-port")) << prompted.toStdString();
    EXPECT_FALSE(window.Rooms().port.IsOpen());
    ASSERT_TRUE(WaitUntil([&] { return !window.Rooms().messages.Posted().isEmpty(); }));
    EXPECT_EQ(window.Rooms().pauseAction.text(), "Run");
    EXPECT_TRUE(
        window.Rooms().messages.Posted().contains(QString::fromUtf8(kNoPortMessage.data())));
}

TEST_F(MainWindowTest, ChoosingAnotherPortAtTheQuestionOpensIt) {
    WriteTextFile(folder_.File("Default.Ini"), SettingsText("/dev/vekaton-no-such-port", false));
    MainWindow window;
    window.SetPortPrompt([&](const QString&, LinkSettings& settings) {
        settings.portName = "Simulated ECM";
        return true;
    });
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.Rooms().port.IsOpen(); }));
    EXPECT_TRUE(window.Rooms().port.IsSimulated());
}

TEST_F(MainWindowTest, CloseSavesTheSetAndKeepsThePortName) {
    {
        WriteTextFile(folder_.File("Default.Ini"), SettingsText("Simulated ECM", false));
        MainWindow window;
        window.show();
        window.AutoRun1Click();  // the action's check mark is the new value
        window.close();
    }
    const QString settings = ReadTextFile(folder_.File("Default.Ini"));
    EXPECT_TRUE(settings.contains("SampleRate=100\r\n"));
    EXPECT_TRUE(settings.contains("PortName=Simulated ECM\r\n"));
    EXPECT_TRUE(QFile::exists(folder_.File("Default.cfg")));
}

TEST_F(MainWindowTest, ExitWithoutSavingWritesNothing) {
    MainWindow window;
    window.SetConfirm([](const QString& question) { return question == "Lose All Changes ? "; });
    window.show();
    window.ExitNoAutoSave1Click();
    EXPECT_TRUE(QDir(folder_.Path()).entryList(QDir::Files).isEmpty());
}

TEST_F(MainWindowTest, DemoSetCopiesAndRuns) {
    QString error;
    ASSERT_TRUE(CopyDemoSet(folder_.Path(), &error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(folder_.File("Vekaton.Ini")));
    MainWindow window(true);
    EXPECT_TRUE(window.windowTitle().endsWith(" : Demo"));
    window.show();
    ASSERT_TRUE(WaitUntil(
        [&] { return window.Rooms().session.GetEngine().ElapsedSeconds() >= 0.6; }, 8000));
    EXPECT_EQ(window.Rooms().pauseAction.text(), "Pause");
    EXPECT_FALSE(window.Rooms().status.ChecksumLabelVisible());
    EXPECT_GT(window.Rooms().session.Table().At(8).Value, 10.0) << "battery voltage";
}

}  // namespace
}  // namespace vekaton
