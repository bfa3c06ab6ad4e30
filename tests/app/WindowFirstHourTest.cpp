// The window as a new user first meets it: a missing port at start-up, a port that comes back,
// the setup panel's "Run after closing", formula faults, the trace of the simulated module.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "QtApp.h"
#include "app/DebugPage.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "app/SetupDialog.h"
#include "app/StatusPanel.h"
#include "engine/EngineTexts.h"
#include "io/PortController.h"
#include "io/PseudoTerminal.h"
#include "support/SetFilesForTest.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::ReadTextFile;
using testing::TestApp;
using testing::WaitUntil;
using testing::WriteTextFile;

QString SettingsText(const QString& port, bool autoRun, int sampleRate = 100) {
    testing::LinkSetUp setUp;
    setUp.sampleRate = sampleRate;
    setUp.request = "$f4 $57 $01 $00 $b4";
    setUp.echoed = true;
    setUp.autoRun = autoRun;
    setUp.portName = port.toStdString();
    return QString::fromStdString(SettingsFile(setUp));
}

// Whatever modal dialog is up next (the setup panel), handed to `act` from the event loop.
void WhenDialogOpens(std::function<void(QDialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start();
}

class WindowFirstHourTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        // The user's own settings go to a folder of the test's, never to the real ones.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userSettings_.path());
    }
    CurrentFolder folder_;
    QTemporaryDir userSettings_;
};

TEST_F(WindowFirstHourTest, AMissingPortIsExplainedWithTheChoiceAndAutoRunFollowsThePick) {
    WriteTextFile(folder_.File("Default.Ini"), SettingsText("/dev/vekaton-no-such-port", true));
    MainWindow window;
    QString prompted;
    bool boxShowingAtPrompt = true;
    window.SetPortPrompt([&](const QString& message, LinkSettings& settings) {
        prompted = message;
        boxShowingAtPrompt = window.Rooms().messages.Showing();
        settings.portName = "Simulated ECM";
        return true;
    });
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.Rooms().session.GetEngine().Running(); }, 8000));
    EXPECT_TRUE(prompted.startsWith("Invalid Com#")) << prompted.toStdString();
    EXPECT_FALSE(boxShowingAtPrompt) << "one flow: no other box stands beside the choice";
    EXPECT_TRUE(window.Rooms().port.IsSimulated());
    EXPECT_EQ(window.Rooms().pauseAction.text(), "Pause");
    // The consequence was never shown: the pick made it moot.
    EXPECT_FALSE(
        window.Rooms().messages.Posted().contains(QString::fromUtf8(kNoPortMessage.data())));
    window.close();
}

TEST_F(WindowFirstHourTest, TheChoiceWaitsUntilTheStartUpMessagesAreRead) {
    // A settings warning (an update rate out of range) comes before the port question.
    WriteTextFile(folder_.File("Default.Ini"), SettingsText("/dev/vekaton-no-such-port", true, 0));
    MainWindow window;
    int prompts = 0;
    window.SetPortPrompt([&](const QString&, LinkSettings&) {
        ++prompts;
        return false;
    });
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.Rooms().messages.Showing(); }));
    ASSERT_TRUE(window.Rooms().messages.Box()->text().contains("SampleRate"))
        << window.Rooms().messages.Box()->text().toStdString();
    testing::WaitUntil([] { return false; }, 200);
    EXPECT_EQ(prompts, 0) << "the question waits behind the message, not beside it";
    window.Rooms().messages.Box()->done(0);
    ASSERT_TRUE(WaitUntil([&] { return prompts == 1; }));
    // Cancelled: Auto Run then says, after the cause, why nothing runs.
    ASSERT_TRUE(WaitUntil([&] {
        return window.Rooms().messages.Posted().contains(QString::fromUtf8(kNoPortMessage.data()));
    }));
    EXPECT_FALSE(window.Rooms().session.GetEngine().Running());
}

TEST_F(WindowFirstHourTest, APortThatComesBackIsToldInTheStatusStripWithoutABox) {
    QTemporaryDir devices;
    auto terminal = std::make_unique<testing::PseudoTerminal>();
    testing::PortPathLink link(QDir(devices.path()).filePath("ttyUSB9").toStdString());
    link.PointTo(terminal->SlavePath());
    WriteTextFile(folder_.File("Default.Ini"),
                  SettingsText(QString::fromStdString(link.Path()), true));
    MainWindow window;
    window.resize(1024, 700);
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.Rooms().session.GetEngine().Running(); }));
    const QRect pages = window.Rooms().pages.geometry();
    const QRect strip = window.Rooms().status.geometry();

    link.PointTo(QDir(devices.path()).filePath("unplugged").toStdString());
    terminal->Close();
    ASSERT_TRUE(
        WaitUntil([&] { return window.Rooms().status.PortText().startsWith("Port lost"); }));
    EXPECT_TRUE(window.Rooms().status.PortToolTip().contains("port lost"));
    EXPECT_FALSE(window.Rooms().messages.Showing());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(window.Rooms().session.GetEngine().Running());

    terminal = std::make_unique<testing::PseudoTerminal>();
    link.PointTo(terminal->SlavePath());
    ASSERT_TRUE(WaitUntil(
        [&] { return window.Rooms().status.PortText().startsWith("Port open again"); }, 5000));
    EXPECT_TRUE(window.Rooms().session.GetEngine().Running()) << "acquisition goes on where it was";
    EXPECT_FALSE(window.Rooms().messages.Showing()) << "no box outlives the loss";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window.Rooms().messages.Posted().isEmpty())
        << window.Rooms().messages.Posted().join("|").toStdString();
    // Nothing appeared that moves the layout: no status bar, the same page and strip geometry.
    EXPECT_EQ(window.findChild<QStatusBar*>(), nullptr);
    EXPECT_EQ(window.Rooms().pages.geometry(), pages);
    EXPECT_EQ(window.Rooms().status.geometry(), strip);
    // The news goes back to the device's name after a while.
    ASSERT_TRUE(WaitUntil(
        [&] { return window.Rooms().status.PortText() == QString::fromStdString(link.Path()); },
        StatusPanel::kPortBackShownMs + 3000));
    window.close();
}

TEST_F(WindowFirstHourTest, RunAfterClosingIsOffAtFirstAndRememberedForTheUser) {
    {
        SetupDialog dialog(LinkSettings{}, {});
        auto* box = dialog.findChild<QCheckBox*>("RunAfterClosing");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Run after closing");
        EXPECT_FALSE(dialog.RunAfterClosing());
        box->setChecked(true);
        dialog.reject();  // remembered however the panel closes
    }
    SetupDialog again(LinkSettings{}, {});
    EXPECT_TRUE(again.RunAfterClosing());
    EXPECT_TRUE(QSettings(QSettings::NativeFormat, QSettings::UserScope, "Vekaton", "Vekaton")
                    .value(SetupDialog::kRunAfterClosingKey)
                    .toBool());
}

TEST_F(WindowFirstHourTest, SetupStopsAcquisitionAndRunAfterClosingStartsItAgain) {
    WriteTextFile(folder_.File("Default.Ini"), SettingsText("Simulated ECM", true));
    MainWindow window;
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.Rooms().session.GetEngine().Running(); }));

    bool wasRunningInSetup = true;
    WhenDialogOpens([&](QDialog& dialog) {
        wasRunningInSetup = window.Rooms().session.GetEngine().Running();
        dialog.accept();
    });
    window.SetupClick();
    EXPECT_FALSE(wasRunningInSetup) << "opening the setup stops acquisition";
    EXPECT_FALSE(window.Rooms().session.GetEngine().Running())
        << "off by default: it stays stopped";

    window.PauseClick();
    ASSERT_TRUE(window.Rooms().session.GetEngine().Running());
    for (const bool ok : {true, false}) {
        WhenDialogOpens([ok](QDialog& dialog) {
            dialog.findChild<QCheckBox*>("RunAfterClosing")->setChecked(true);
            ok ? dialog.accept() : dialog.reject();
        });
        window.SetupClick();
        EXPECT_TRUE(window.Rooms().session.GetEngine().Running()) << (ok ? "OK" : "Cancel");
    }
    window.close();
    // The choice is the user's, not the set's.
    EXPECT_FALSE(ReadTextFile(folder_.File("Default.Ini")).contains("RunAfter"));
}

TEST_F(WindowFirstHourTest, FormulaFaultsKeepTheirTextAndSayWhereAndWhy) {
    WriteTextFile(folder_.File("Default.Ini"), SettingsText("Simulated ECM", true));
    WriteTextFile(folder_.File("Default.cfg"),
                  "1,1,0,Coolant,A*0.75-\r\n2,1,0,Air,A/(B-B)\r\nEND\r\n");
    MainWindow window;
    window.show();
    ASSERT_TRUE(
        WaitUntil([&] { return window.Rooms().messages.PostedMessages().size() >= 2; }, 8000));
    const WindowMessage bad = window.Rooms().messages.PostedMessages()[0];
    EXPECT_EQ(bad.text, "Bad Parser");
    EXPECT_TRUE(bad.informative.contains("position 1 (Coolant)")) << bad.informative.toStdString();
    EXPECT_TRUE(bad.details.contains("Formula: A*0.75-")) << bad.details.toStdString();
    EXPECT_TRUE(bad.details.contains("ESyntaxError")) << bad.details.toStdString();
    const WindowMessage fault = window.Rooms().messages.PostedMessages()[1];
    EXPECT_TRUE(fault.text.startsWith("Parsing Error - \"A/(B-B)\", A="))
        << fault.text.toStdString();
    EXPECT_EQ(fault.informative, "Cause: division by zero.");
    EXPECT_TRUE(fault.details.contains("Description: Air"));

    // The box shows the three parts, and acquisition goes on behind it.
    ASSERT_TRUE(window.Rooms().messages.Showing());
    EXPECT_EQ(window.Rooms().messages.Box()->text(), "Bad Parser");
    EXPECT_EQ(window.Rooms().messages.Box()->informativeText(), bad.informative);
    EXPECT_EQ(window.Rooms().messages.Box()->detailedText(), bad.details);
    const double before = window.Rooms().session.GetEngine().ElapsedSeconds();
    ASSERT_TRUE(WaitUntil(
        [&] { return window.Rooms().session.GetEngine().ElapsedSeconds() > before + 0.3; }));
    window.close();
}

TEST_F(WindowFirstHourTest, TheSimulatedModuleIsTracedToCommLogAndThePathIsShown) {
    WriteTextFile(folder_.File("Default.Ini"), SettingsText("Simulated ECM", true));
    MainWindow window;
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.Rooms().session.GetEngine().Running(); }));
    auto* trace = window.Rooms().debug.findChild<QCheckBox*>("TraceToCommLog");
    ASSERT_NE(trace, nullptr);
    trace->setChecked(true);
    const QString path = folder_.File("Comm.Log");
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(path).size() > 200; }, 5000));
    EXPECT_TRUE(window.Rooms().debug.TraceFileText().contains(QDir::toNativeSeparators(path)))
        << window.Rooms().debug.TraceFileText().toStdString();
    trace->setChecked(false);
    const QString text = ReadTextFile(path);
    EXPECT_TRUE(text.contains("TX F4 57 01 00 B4")) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains("RX F4 57 01 00 B4 F4 95 01")) << text.left(400).toStdString();
    window.close();
}

}  // namespace
}  // namespace vekaton
