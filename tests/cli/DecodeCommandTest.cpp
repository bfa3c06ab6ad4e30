#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliCommands.h"
#include "files/ScratchFolder.h"
#include "support/SetFilesForTest.h"

namespace vekaton::cli {
namespace {

using testing::LinkSetUp;
using testing::ScratchFolder;
using testing::SettingsFile;

// The link of most tests here: 500 ms, 2 header bytes, 3 data bytes, no checksum.
LinkSetUp DecodeSetUp() {
    LinkSetUp setUp;
    setUp.sampleRate = 500;
    setUp.request = "$f4 $57 $01 $00 $b4";
    setUp.responseBytes = 2;
    setUp.dataBytes = 3;
    setUp.checksum = false;
    return setUp;
}

std::string LogText(int intervalMs, const std::vector<std::vector<std::uint8_t>>& records,
                    std::size_t trailing = 0) {
    std::string text{static_cast<char>(intervalMs & 0xFF), static_cast<char>(intervalMs >> 8)};
    for (const auto& record : records) {
        text.append(record.begin(), record.end());
    }
    text.append(trailing, '\x07');
    return text;
}

class DecodeCommandTest : public ::testing::Test {
  protected:
    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return RunDecode(args, out_, err_);
    }
    std::string Dir() const { return folder_.Path().string(); }
    std::string Log(const std::string& name) const { return (folder_ / name).string(); }

    ScratchFolder folder_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(DecodeCommandTest, OneRowPerRecordTimedByTheLogsInterval) {
    folder_.Write("Default.Ini", SettingsFile(DecodeSetUp()));
    folder_.Write("Default.cfg", "1,2,0,Speed,A*256+B\r\n3,1,0,Volts,A/10\r\nEND\r\n");
    folder_.Write("run.Dat", LogText(110, {{0xF4, 0x95, 0x01, 0x02, 120},
                                           {0xF4, 0x95, 0x00, 0xFF, 121},
                                           {0xF4, 0x95, 0x12, 0x34, 0},
                                           {0xF4, 0x95, 0xFF, 0xFF, 255}}));
    ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0) << err_.str();
    EXPECT_EQ(out_.str(),
              "Frame,Time,Speed,Volts\r\n"
              "1,0,258,12\r\n"
              "2,0.11,255,12.1\r\n"
              "3,0.22,4660,0\r\n"
              "4,0.33,65535,25.5\r\n");
    EXPECT_EQ(err_.str(), "");
}

TEST_F(DecodeCommandTest, UnitsOfTheDetailsFileJoinTheHeadingsAndFaultsLeaveCellsEmpty) {
    folder_.Write("Default.Ini", SettingsFile(DecodeSetUp()));
    folder_.Write("Default.cfg",
                  "1,2,0,Cranking speed,983040/(A*256+B)\r\n3,1,0,Coolant temperature,A-40\r\n"
                  "END\r\n");
    folder_.Write("Default.details", "[3]\nunit=\u00b0C\n[1]\nunit=rpm\nmax=1000\n");
    folder_.Write("run.Dat",
                  LogText(100, {{0xF4, 0x95, 0x00, 0x00, 130}, {0xF4, 0x95, 0x10, 0x00, 131}}));
    ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0) << err_.str();
    EXPECT_EQ(out_.str(),
              "Frame,Time,Cranking speed [rpm],Coolant temperature [\u00b0C]\r\n"
              "1,0,,90\r\n"
              "2,0.1,240,91\r\n");
    // The output may not replace the details file either.
    EXPECT_EQ(Run({"--dir", Dir(), Log("run.Dat"), "-o", Log("Default.details")}), 1);
}

TEST_F(DecodeCommandTest, APartialRecordAtTheEndGivesNoRowAndAWarning) {
    folder_.Write("Default.Ini", SettingsFile(DecodeSetUp()));
    folder_.Write("Default.cfg", "1,1,0,First,A*1\r\nEND\r\n");
    folder_.Write("cut.Dat", LogText(500, {{1, 2, 10, 0, 0}, {1, 2, 11, 0, 0}}, 3));
    ASSERT_EQ(Run({Log("cut.Dat"), "--dir", Dir()}), 0);
    EXPECT_EQ(out_.str(), "Frame,Time,First\r\n1,0,10\r\n2,0.5,11\r\n");
    EXPECT_NE(err_.str().find("partial record of 3 of 5 bytes"), std::string::npos) << err_.str();
}

TEST_F(DecodeCommandTest, PositionsCountFromResponseBytesWhateverTheModeAndEcho) {
    // The record holds no echo, so an echoed request must not shift the positions.
    for (const int mode : {1, 2}) {
        for (const bool echoed : {false, true}) {
            LinkSetUp setUp = DecodeSetUp();
            setUp.syncMode = mode;
            setUp.echoed = echoed;
            setUp.checksum = true;
            folder_.Write("Default.Ini", SettingsFile(setUp));
            folder_.Write("Default.cfg",
                          "1,1,0,One,A*1\r\n2,1,0,Two,A*1\r\n3,1,0,Three,A*1\r\n"
                          "4,1,0,Past the data,A*1\r\nEND\r\n");
            folder_.Write("run.Dat", LogText(100, {{0xAA, 0xBB, 1, 2, 3, 0x99}}));
            ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0) << err_.str();
            // Position 4 is the checksum byte's; it is decoded like any byte after the data.
            EXPECT_EQ(out_.str(), "Frame,Time,One,Two,Three,Past the data\r\n1,0,1,2,3,153\r\n")
                << "mode " << mode << " echoed " << echoed;
        }
    }
}

TEST_F(DecodeCommandTest, Aldl160RecordsAreTheStartStringAndTheDataWhateverResponseBytesSays) {
    // The recorder writes the start string (the request) and the packet's data bytes, and no
    // checksum: the request's length is the header, however many ResponseBytes the set names.
    for (const bool echoed : {false, true}) {
        LinkSetUp setUp = DecodeSetUp();
        setUp.syncMode = 3;
        setUp.echoed = echoed;
        setUp.checksum = true;
        folder_.Write("Default.Ini", SettingsFile(setUp));
        folder_.Write("Default.cfg",
                      "1,1,0,One,A*1\r\n2,1,0,Two,A*1\r\n3,1,0,Three,A*1\r\n"
                      "4,1,0,Past the data,A*1\r\nEND\r\n");
        folder_.Write("run.Dat", LogText(100, {{0xF4, 0x57, 0x01, 0x00, 0xB4, 1, 2, 3}}));
        ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0) << err_.str();
        EXPECT_EQ(out_.str(), "Frame,Time,One,Two,Three,Past the data\r\n1,0,1,2,3,0\r\n")
            << "echoed " << echoed;
    }
}

TEST_F(DecodeCommandTest, DigitalBitsAndRawBytesWithoutFormula) {
    LinkSetUp setUp = DecodeSetUp();
    setUp.responseBytes = 0;
    setUp.dataBytes = 2;
    folder_.Write("Default.Ini", SettingsFile(setUp));
    folder_.Write("Default.cfg", "1,1,1,0,Closed loop\r\n1,1,1,3,Fan\r\n2,1,0,Raw,\r\nEND\r\n");
    folder_.Write("run.Dat", LogText(0, {{0x09, 200}, {0x08, 7}, {0x00, 0}}));
    ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0);
    // A log recorded at 0 ms puts every row at time 0.
    EXPECT_EQ(out_.str(),
              "Frame,Time,Raw,Closed loop,Fan\r\n1,0,200,1,1\r\n2,0,7,0,1\r\n3,0,0,0,0\r\n");
}

TEST_F(DecodeCommandTest, TheSetComesFromThePointerOrTheCommandLine) {
    folder_.Write("Vekaton.Ini", "Truck\r\n");
    LinkSetUp truck = DecodeSetUp();
    truck.responseBytes = 0;
    truck.dataBytes = 1;
    folder_.Write("Truck.ini", SettingsFile(truck));
    folder_.Write("Truck.cfg", "1,1,0,Truck value,A*2\r\nEND\r\n");
    LinkSetUp car = truck;
    car.responseBytes = 1;
    folder_.Write("Car.ini", SettingsFile(car));
    folder_.Write("Car.cfg", "1,1,0,Car value,A*3\r\nEND\r\n");
    folder_.Write("run.Dat", LogText(200, {{4, 5}}));

    ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0);
    EXPECT_EQ(out_.str(), "Frame,Time,Truck value\r\n1,0,8\r\n2,0.2,10\r\n");
    ASSERT_EQ(Run({"--dir", Dir(), "--set", "Car", Log("run.Dat")}), 0);
    EXPECT_EQ(out_.str(), "Frame,Time,Car value\r\n1,0,15\r\n");
}

TEST_F(DecodeCommandTest, WritesToAFileWhenAsked) {
    folder_.Write("Default.Ini", SettingsFile(DecodeSetUp()));
    folder_.Write("Default.cfg", "3,1,0,Third,A+1\r\nEND\r\n");
    folder_.Write("run.Dat", LogText(1000, {{0, 0, 1, 2, 3}, {0, 0, 4, 5, 6}}));
    ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat"), "-o", Log("out.csv")}), 0);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(folder_.Read("out.csv"), "Frame,Time,Third\r\n1,0,4\r\n2,1,7\r\n");

    EXPECT_EQ(Run({"--dir", Dir(), Log("run.Dat"), "-o", Log("no/such/folder/out.csv")}), 1);
    EXPECT_NE(err_.str().find("cannot write"), std::string::npos);
}

TEST_F(DecodeCommandTest, FailuresSayWhyAndExitNonZero) {
    folder_.Write("run.Dat", LogText(100, {{1, 2, 3, 4, 5}}));
    EXPECT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 1);
    EXPECT_NE(err_.str().find("no settings file Default.Ini"), std::string::npos) << err_.str();

    folder_.Write("Default.Ini", SettingsFile(DecodeSetUp()));
    EXPECT_EQ(Run({"--dir", Dir(), Log("missing.Dat")}), 1);
    EXPECT_NE(err_.str().find("missing.Dat"), std::string::npos) << err_.str();

    folder_.Write("short.Dat", "\x01");
    EXPECT_EQ(Run({"--dir", Dir(), Log("short.Dat")}), 1);

    LinkSetUp empty = DecodeSetUp();
    empty.responseBytes = 0;
    empty.dataBytes = 0;
    folder_.Write("Default.Ini", SettingsFile(empty));
    EXPECT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 1);
    EXPECT_NE(err_.str().find("holds values out of range"), std::string::npos) << err_.str();
    EXPECT_EQ(Run({"--dir", Dir(), "--force", Log("run.Dat")}), 1);
    EXPECT_NE(err_.str().find("record size is 0"), std::string::npos) << err_.str();

    EXPECT_EQ(Run({"--dir", Log("run.Dat"), Log("run.Dat")}), 1);  // not a folder
    EXPECT_EQ(Run({"--dir", Dir(), "--set", "../elsewhere", Log("run.Dat")}), 1);
    EXPECT_EQ(Run({"--dir", Dir()}), kExitUsage);
    EXPECT_NE(err_.str().find("usage: vekaton-cli decode"), std::string::npos);
}

TEST_F(DecodeCommandTest, NumbersHaveTenSignificantDigitsUnlessExactIsAsked) {
    folder_.Write("Default.Ini", SettingsFile(DecodeSetUp()));
    folder_.Write("Default.cfg",
                  "1,1,0,Pressure,A*0.4+10\r\n2,1,0,Oxygen,A*4.44\r\n3,1,0,Third,A/3\r\nEND\r\n");
    folder_.Write("run.Dat", LogText(100, {{0, 0, 71, 38, 1}, {0, 0, 0, 0, 6}}));
    ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0) << err_.str();
    EXPECT_EQ(out_.str(),
              "Frame,Time,Pressure,Oxygen,Third\r\n"
              "1,0,38.4,168.72,0.3333333333\r\n"
              "2,0.1,10,0,2\r\n");
    ASSERT_EQ(Run({"--exact", "--dir", Dir(), Log("run.Dat")}), 0) << err_.str();
    EXPECT_EQ(out_.str(),
              "Frame,Time,Pressure,Oxygen,Third\r\n"
              "1,0,38.400000000000006,168.72000000000003,0.3333333333333333\r\n"
              "2,0.1,10,0,2\r\n");
    EXPECT_EQ(Run({"--exact=yes", "--dir", Dir(), Log("run.Dat")}), kExitUsage);
}

TEST_F(DecodeCommandTest, AFormulaThatCannotBeBuiltIsNamedWithItsPosition) {
    folder_.Write("Default.Ini", SettingsFile(DecodeSetUp()));
    folder_.Write("Default.cfg", "1,1,0,Good,A*1\r\n2,1,0,Coolant,A*0.75-\r\nEND\r\n");
    folder_.Write("run.Dat", LogText(100, {{0, 0, 9, 8, 7}, {0, 0, 9, 8, 7}}));
    ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0);
    const std::string errors = err_.str();
    EXPECT_EQ(errors.rfind("vekaton-cli: Bad Parser\n", 0), 0u) << errors;
    EXPECT_NE(errors.find("  Position: 2\n  Description: Coolant\n  Formula: A*0.75-\n"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("ESyntaxError"), std::string::npos) << errors;
    EXPECT_EQ(errors.rfind("Bad Parser"), errors.find("Bad Parser")) << "reported once";
}

TEST_F(DecodeCommandTest, ABadParameterFileIsReportedAndWhatWasReadIsUsed) {
    folder_.Write("Default.Ini", SettingsFile(DecodeSetUp()));
    folder_.Write("Default.cfg", "1,1,0,Good,A*1\r\n2,x,0,Bad,A*1\r\n3,1,0,Never read,A*1\r\n");
    folder_.Write("run.Dat", LogText(100, {{0, 0, 9, 8, 7}}));
    ASSERT_EQ(Run({"--dir", Dir(), Log("run.Dat")}), 0);
    EXPECT_EQ(out_.str(), "Frame,Time,Good\r\n1,0,9\r\n");
    EXPECT_NE(err_.str().find("'x' is not a valid integer value"), std::string::npos) << err_.str();
    // Reading never rewrites the set.
    EXPECT_EQ(folder_.Read("Default.cfg"),
              "1,1,0,Good,A*1\r\n2,x,0,Bad,A*1\r\n3,1,0,Never read,A*1\r\n");
    EXPECT_FALSE(folder_.Exists("Default.cfg.bad"));
}

}  // namespace
}  // namespace vekaton::cli
