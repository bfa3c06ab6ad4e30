// The optional keyed lines after line 13 of the settings file: "PortName=" and "Loader=".
#include <gtest/gtest.h>

#include "set/SettingsFile.h"

namespace vekaton {
namespace {

constexpr const char* kThirteen =
    "ComPort=1\r\nBaudRate=8192\r\nSampleRate=500\r\nRequestString=$F4 $57\r\n"
    "ResponseBytes=3\r\n# Bytes of Data=20\r\nUse CheckSum=TRUE\r\nRequestEchoed=FALSE\r\n"
    "AutoRun=FALSE\r\nSyncMode=2\r\nSyncTime=500\r\nStartCommand=\r\nStopCommand=\r\n";

TEST(SettingsLoaderLineTest, TheLoaderIsWrittenAfterTheThirteenLinesAndReadBack) {
    LinkSettings settings;
    settings.portName = "/dev/ttyUSB0";
    settings.loader = "\"/opt/pic tools/loader\" --port /dev/ttyUSB0";
    const std::string text = FormatSettings(settings);
    EXPECT_NE(text.find("StopCommand=\r\nPortName=/dev/ttyUSB0\r\nLoader=\"/opt/pic tools/loader\" "
                        "--port /dev/ttyUSB0\r\n"),
              std::string::npos)
        << text;
    const SettingsReadResult read = ParseSettings(text, LinkSettings{});
    EXPECT_EQ(read.settings.loader, settings.loader);
    EXPECT_EQ(read.settings.portName, settings.portName);
    EXPECT_TRUE(read.warnings.empty());

    settings.loader.clear();
    EXPECT_EQ(FormatSettings(settings).find("Loader="), std::string::npos) << "only when set";
}

TEST(SettingsLoaderLineTest, KeyedLinesAreReadInAnyOrderAndOnlyOthersAreReported) {
    const SettingsReadResult read =
        ParseSettings(std::string(kThirteen) +
                          "loader=C:\\Tools\\Loader.exe\r\nSomethingElse=1\r\nPORTNAME=COM3\r\n",
                      LinkSettings{});
    EXPECT_EQ(read.settings.loader, "C:\\Tools\\Loader.exe");
    EXPECT_EQ(read.settings.portName, "COM3");
    EXPECT_FALSE(read.error);
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_NE(read.warnings[0].find("Line 15"), std::string::npos) << read.warnings[0];
    EXPECT_TRUE(
        ParseSettings(std::string(kThirteen) + "PortName=COM3\r\nLoader=x\r\n", LinkSettings{})
            .warnings.empty());

    // A file without the line has no loader, whatever was set before.
    LinkSettings before;
    before.loader = "old";
    EXPECT_EQ(ParseSettings(kThirteen, before).settings.loader, "");
}

}  // namespace
}  // namespace vekaton
