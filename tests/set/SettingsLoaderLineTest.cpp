// The optional keyed lines after line 13 of the settings file: "PortName=" and "Loader=".
#include <gtest/gtest.h>

#include "set/SettingsFile.h"
#include "support/SetFilesForTest.h"

namespace vekaton {
namespace {

const std::string kThirteen = testing::SettingsFile(
    {.comPort = 1, .sampleRate = 500, .request = "$F4 $57", .responseBytes = 3, .dataBytes = 20});

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
