// Every text file of a set reads the same whether its lines end in CR LF, LF or a lone CR, as
// editors on other systems and some serial tools write them; nothing is lost or kept as ".bad".
#include <gtest/gtest.h>

#include "files/ScratchFolder.h"
#include "set/DamagedFileGuard.h"
#include "set/DashboardFiles.h"
#include "set/ParameterFile.h"
#include "set/SetNames.h"
#include "set/SettingsFile.h"

namespace vekaton {
namespace {

// The same lines with another line end.
std::string WithLineEnds(std::string_view crLfText, std::string_view end) {
    std::string text;
    std::size_t start = 0;
    for (std::size_t at = crLfText.find("\r\n"); at != std::string_view::npos;
         at = crLfText.find("\r\n", start)) {
        text.append(crLfText.substr(start, at - start)).append(end);
        start = at + 2;
    }
    return text.append(crLfText.substr(start));
}

constexpr std::string_view kParameters =
    "; engine module of the test car\r\n; second comment\r\n\r\n"
    "1,1,0,Coolant,A*0.75-40\r\n4,2,0,Engine speed,A*256+B\r\n18,1,1,3,Engine running\r\nEND\r\n";

constexpr std::string_view kSettings =
    "ComPort=3\r\nBaudRate=8192\r\nSampleRate=100\r\nRequestString=$F4 $57\r\n"
    "ResponseBytes=3\r\n# Bytes of Data=23\r\nUse CheckSum=TRUE\r\nRequestEchoed=FALSE\r\n"
    "AutoRun=TRUE\r\nSyncMode=3\r\nSyncTime=250\r\nStartCommand=$F4 $56\r\n"
    "StopCommand=$F4 $57\r\nPortName=/dev/ttyS2\r\n";

constexpr std::string_view kGaugeList =
    "USERANGULARGAUGE1,0,4,8,0\r\nUSERLABEL1,1,\r\nUSERRESETBUTTON1,0,1\r\n0\r\n9999\r\n"
    "USERANALOGDISPLAY1,2,1,8,2\r\n";

class LineEndsTest : public ::testing::TestWithParam<std::string_view> {
  protected:
    void WriteSet(std::string_view end) const {
        folder_.Write("Car.cfg", WithLineEnds(kParameters, end));
        folder_.Write("Car.ini", WithLineEnds(kSettings, end));
        folder_.Write("Car.gau", WithLineEnds(kGaugeList, end));
        // Only the first line names the set; a CR must not make the rest part of the name.
        folder_.Write("Vekaton.Ini", WithLineEnds("Car\r\nwritten by hand\r\n", end));
    }

    testing::ScratchFolder folder_;
    DamagedFileGuard guard_;
};

TEST_P(LineEndsTest, EveryTextFileOfASetReadsAsWithCrLf) {
    WriteSet(GetParam());

    const LoadedSetNames names = LoadSetNames(folder_.Path(), SetNames{}, guard_);
    EXPECT_EQ(names.names.setName, "Car");
    EXPECT_FALSE(names.warning);

    ParameterTable table;
    const ParameterFileRead parameters =
        ReadParameterFile(folder_.Path(), "Car.cfg", table, guard_);
    EXPECT_EQ(parameters.errorMessage, "");
    EXPECT_EQ(parameters.warningMessage, "");
    EXPECT_EQ(parameters.result.header,
              (std::vector<std::string>{"; engine module of the test car", "; second comment"}));
    EXPECT_EQ(table.At(1).Descriptions[0], "Coolant");
    EXPECT_EQ(table.At(4).ByteCount, 2);
    EXPECT_EQ(table.At(4).Formula(), "A*256+B");
    EXPECT_TRUE(table.At(18).IsDigital);
    EXPECT_EQ(table.At(18).Descriptions[3], "Engine running");
    // Written back, the file is the CR LF original.
    EXPECT_EQ(WriteParameterText(table, parameters.result.header), kParameters);

    const SettingsFileRead settings =
        ReadSettingsFile(folder_.Path(), "Car.ini", LinkSettings{}, guard_);
    EXPECT_EQ(settings.errorMessage, "");
    EXPECT_EQ(settings.warningMessage, "");
    EXPECT_EQ(settings.result.linesRead, 14);
    EXPECT_EQ(settings.result.settings.syncMode, SyncMode::Aldl160);
    EXPECT_EQ(settings.result.settings.startCommand, "$F4 $56");
    EXPECT_EQ(settings.result.settings.portName, "/dev/ttyS2");
    EXPECT_EQ(FormatSettings(settings.result.settings), kSettings);

    const GaugeListFileRead gauges = ReadGaugeListFile(folder_.Path(), "Car.gau", guard_);
    EXPECT_EQ(gauges.errorMessage, "");
    EXPECT_EQ(gauges.warningMessage, "");
    EXPECT_EQ(FormatGaugeList(gauges.result.entries), kGaugeList);

    for (const char* name : {"Car.cfg", "Car.ini", "Car.gau", "Vekaton.Ini"}) {
        EXPECT_FALSE(guard_.IsDamaged(folder_ / name)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(CrLfLfAndLoneCr, LineEndsTest,
                         ::testing::Values(std::string_view("\r\n"), std::string_view("\n"),
                                           std::string_view("\r")));

TEST(LineEnds, MixedLineEndsInOneFileAreEachOneLineEnd) {
    testing::ScratchFolder folder;
    DamagedFileGuard guard;
    // CR LF, then a lone CR, then LF, then a blank line made of a CR and a CR LF.
    folder.Write("Car.cfg",
                 "; head\r\n1,1,0,Coolant,A\r2,1,0,Intake,B\n\r\r\n3,1,0,Throttle,A/2\r");
    ParameterTable table;
    const ParameterFileRead read = ReadParameterFile(folder.Path(), "Car.cfg", table, guard);
    EXPECT_EQ(read.warningMessage, "");
    EXPECT_EQ(read.result.header, std::vector<std::string>{"; head"});
    EXPECT_EQ(table.At(1).Formula(), "A");
    EXPECT_EQ(table.At(2).Formula(), "B");
    EXPECT_EQ(table.At(3).Formula(), "A/2");
}

TEST(LineEnds, ALoneCrStillNamesTheRightLineInAMessage) {
    testing::ScratchFolder folder;
    DamagedFileGuard guard;
    folder.Write("Car.ini", "ComPort=1\rBaudRate=fast\rSampleRate=100\r");
    const SettingsFileRead read = ReadSettingsFile(folder.Path(), "Car.ini", LinkSettings{}, guard);
    EXPECT_NE(read.errorMessage.find("'fast' is not a valid integer value"), std::string::npos)
        << read.errorMessage;
    EXPECT_NE(read.errorMessage.find("stopped at line 2;"), std::string::npos) << read.errorMessage;
    EXPECT_TRUE(guard.IsDamaged(folder / "Car.ini"));
}

}  // namespace
}  // namespace vekaton
