// The settings file loses nothing either: refused values and lines after the settings make the
// file be kept as name + ".bad"; "ComPort=" follows the port in use.
#include <gtest/gtest.h>

#include "common/TextLines.h"
#include "files/ScratchFolder.h"
#include "set/DamagedFileGuard.h"
#include "set/SettingsFile.h"
#include "support/SetFilesForTest.h"

namespace vekaton {
namespace {

const std::string kThirteenLines = testing::SettingsFile(
    {.comPort = 1, .sampleRate = 500, .request = "$F4 $57", .responseBytes = 0, .dataBytes = 63});

TEST(SettingsKeeps, LinesAfterTheSettingsAndRefusedValuesAreReported) {
    SettingsReadResult r = ParseSettings(kThirteenLines, LinkSettings{});
    EXPECT_FALSE(r.dropped);
    EXPECT_TRUE(r.warnings.empty());

    r = ParseSettings(std::string(kThirteenLines) + "PortName=/dev/ttyUSB0\r\n\r\nMyNote=x\r\n",
                      LinkSettings{});
    EXPECT_TRUE(r.dropped);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].rfind("Line 16:", 0), 0u) << r.warnings[0];

    std::string text = kThirteenLines;
    text.replace(text.find("SyncMode=2"), 10, "SyncMode=7");
    r = ParseSettings(text, LinkSettings{});
    EXPECT_TRUE(r.dropped);
    text = kThirteenLines;
    text.replace(text.find("SampleRate=500"), 14, "SampleRate=0");
    EXPECT_TRUE(ParseSettings(text, LinkSettings{}).dropped);
}

TEST(SettingsKeeps, FileThatLostSomethingIsKeptAsBadBeforeItIsRewritten) {
    testing::ScratchFolder folder;
    const std::string original = std::string(kThirteenLines) + "Extra=1\r\n";
    folder.Write("Demo.ini", original);
    DamagedFileGuard guard;
    const SettingsFileRead read =
        ReadSettingsFile(folder.Path(), "Demo.ini", LinkSettings{}, guard);
    EXPECT_NE(read.warningMessage.find("Line 14"), std::string::npos) << read.warningMessage;
    EXPECT_NE(read.warningMessage.find("Demo.ini.bad"), std::string::npos) << read.warningMessage;
    EXPECT_FALSE(WriteSettingsFile(folder.Path(), "Demo.ini", read.result.settings, guard));
    EXPECT_EQ(folder.Read("Demo.ini.bad"), original);
    EXPECT_EQ(folder.Read("Demo.ini"), kThirteenLines);
}

TEST(SettingsKeeps, ComPortFollowsThePortInUse) {
    EXPECT_EQ(ComPortNumberOfDevice("COM1"), 1);
    EXPECT_EQ(ComPortNumberOfDevice("com12"), 12);
    EXPECT_EQ(ComPortNumberOfDevice("/dev/ttyS0"), 1);
    EXPECT_EQ(ComPortNumberOfDevice("/dev/ttyS11"), 12);
    for (const char* other : {"/dev/ttyUSB0", "/dev/ttyACM1", "COM0", "COM03", "COM", "/dev/ttyS",
                              "/dev/ttyS01", "/dev/ttyS-1", "COM1x", "simulated", ""}) {
        EXPECT_EQ(ComPortNumberOfDevice(other), 0) << other;
    }

    LinkSettings s;
    s.comPort = 4;  // left over from an older choice
    s.portName = "/dev/ttyS2";
    EXPECT_EQ(SplitLines(FormatSettings(s))[0], "ComPort=3");
    s.portName = "COM7";
    EXPECT_EQ(SplitLines(FormatSettings(s))[0], "ComPort=7");
    s.portName = "/dev/ttyUSB0";
    const auto lines = SplitLines(FormatSettings(s));
    EXPECT_EQ(lines[0], "ComPort=0");
    EXPECT_EQ(lines[13], "PortName=/dev/ttyUSB0");
    s.portName.clear();  // a number without a device name stays as it is
    EXPECT_EQ(SplitLines(FormatSettings(s))[0], "ComPort=4");
}

}  // namespace
}  // namespace vekaton
