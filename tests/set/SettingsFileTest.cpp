#include "set/SettingsFile.h"

#include <gtest/gtest.h>

#include "common/TextLines.h"
#include "files/ScratchFolder.h"
#include "set/DamagedFileGuard.h"

namespace vekaton {
namespace {

const char* const kFullFile =
    "ComPort=3\r\n"
    "BaudRate=9600\r\n"
    "SampleRate=250\r\n"
    "RequestString=$f4 $57 $01 $00 $b4\r\n"
    "ResponseBytes=3\r\n"
    "# Bytes of Data=63\r\n"
    "Use CheckSum=TRUE\r\n"
    "RequestEchoed=FALSE\r\n"
    "AutoRun=TRUE\r\n"
    "SyncMode=3\r\n"
    "SyncTime=700\r\n"
    "StartCommand=$f4 $56 $08 $ae\r\n"
    "StopCommand=$f4 $56 $09 $ad\r\n";

// Settings as a reload finds them: every field differs from what the files below hold.
LinkSettings Previous() {
    LinkSettings s;
    s.comPort = 9;
    s.portName = "/dev/ttyOld";
    s.baudRate = 4800;
    s.sampleRate = 111;
    s.requestString = "$01";
    s.responseBytes = 7;
    s.dataBytes = 20;
    s.useCheckSum = false;
    s.requestEchoed = true;
    s.autoRun = false;
    s.syncMode = SyncMode::ListenOnly;
    s.syncTime = 333;
    s.startCommand = "OLD";
    s.stopCommand = "OLD";
    return s;
}

std::string Lines(std::vector<std::string> lines) {
    return JoinLinesCrLf(lines);
}

TEST(SettingsReader, ReadsEveryLineByPosition) {
    const SettingsReadResult r = ParseSettings(kFullFile, Previous());
    EXPECT_FALSE(r.error);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.linesRead, 13);
    EXPECT_TRUE(r.reachedModeLine);
    EXPECT_TRUE(r.syncModeRecognised);
    EXPECT_TRUE(r.ConnectReceivePath());
    const LinkSettings& s = r.settings;
    EXPECT_EQ(s.comPort, 3);
    EXPECT_EQ(s.portName, "");  // the number alone names the port now
    EXPECT_EQ(s.baudRate, 9600);
    EXPECT_EQ(s.sampleRate, 250);
    EXPECT_EQ(s.requestString, "$f4 $57 $01 $00 $b4");  // keeps its case
    EXPECT_EQ(s.responseBytes, 3);
    EXPECT_EQ(s.dataBytes, 63);
    EXPECT_TRUE(s.useCheckSum);
    EXPECT_FALSE(s.requestEchoed);
    EXPECT_TRUE(s.autoRun);
    EXPECT_EQ(s.syncMode, SyncMode::Aldl160);
    EXPECT_EQ(s.syncTime, 700);
    EXPECT_EQ(s.startCommand, "$F4 $56 $08 $AE");  // commands are upper-cased
    EXPECT_EQ(s.stopCommand, "$F4 $56 $09 $AD");
}

TEST(SettingsReader, KeysAreIgnoredAndValuesUpperCased) {
    const auto r = ParseSettings(
        Lines({"Cmport=1", "2400", "SampleRate=250", "RequestString=a=b", "ResponseBytes= 2",
               "Bytes=10", "Use CheckSum=true", "RequestEchoed=True", "AutoRun=yes"}),
        Previous());
    ASSERT_FALSE(r.error) << *r.error;
    EXPECT_EQ(r.settings.comPort, 1);            // misspelt key, read by position
    EXPECT_EQ(r.settings.baudRate, 2400);        // no "=": the whole line
    EXPECT_EQ(r.settings.requestString, "a=b");  // after the first "="
    EXPECT_EQ(r.settings.responseBytes, 2);      // leading blanks are allowed
    EXPECT_EQ(r.settings.dataBytes, 10);
    EXPECT_TRUE(r.settings.useCheckSum);
    EXPECT_TRUE(r.settings.requestEchoed);
    EXPECT_FALSE(r.settings.autoRun);  // only TRUE is true

    EXPECT_EQ(ParseSettings("ComPort=x=5", Previous()).error, "'x=5' is not a valid integer value");
    EXPECT_EQ(ParseSettings("ComPort=5 ", Previous()).error, "'5 ' is not a valid integer value");
}

TEST(SettingsReader, NineLineFileLeavesModeLinesAndReceivePathAlone) {
    const auto lines = SplitLines(kFullFile);
    const auto r = ParseSettings(Lines(std::vector<std::string>(lines.begin(), lines.begin() + 9)),
                                 Previous());
    EXPECT_FALSE(r.error);
    EXPECT_EQ(r.linesRead, 9);
    EXPECT_FALSE(r.reachedModeLine);
    EXPECT_FALSE(r.ConnectReceivePath());
    EXPECT_EQ(r.settings.syncMode, SyncMode::ListenOnly);
    EXPECT_EQ(r.settings.syncTime, 333);
    EXPECT_EQ(r.settings.startCommand, "OLD");
    EXPECT_EQ(r.settings.dataBytes, 63);
}

TEST(SettingsReader, ModeLineAcceptsOlderTrueFalse) {
    auto lines = SplitLines(kFullFile);
    const auto modeFor = [&](const std::string& value) {
        lines[9] = "SyncMode=" + value;
        return ParseSettings(Lines(lines), Previous());
    };
    EXPECT_EQ(modeFor("TRUE").settings.syncMode, SyncMode::ListenOnly);
    EXPECT_EQ(modeFor("false").settings.syncMode, SyncMode::TalkListen);
    EXPECT_EQ(modeFor("2").settings.syncMode, SyncMode::TalkListen);

    const auto unknown = modeFor("7");
    EXPECT_EQ(unknown.settings.syncMode, SyncMode::ListenOnly);  // as it was
    EXPECT_FALSE(unknown.syncModeRecognised);
    EXPECT_TRUE(unknown.reachedModeLine);
    ASSERT_EQ(unknown.warnings.size(), 1u);
    EXPECT_NE(unknown.warnings[0].find("Line 10"), std::string::npos);
    EXPECT_EQ(unknown.settings.syncTime, 700);  // reading goes on
}

TEST(SettingsReader, BadNumberStopsReadingButKeepsWhatWasRead) {
    auto lines = SplitLines(kFullFile);
    lines[2] = "SampleRate=fast";
    const auto r = ParseSettings(Lines(lines), Previous());
    ASSERT_TRUE(r.error);
    EXPECT_EQ(*r.error, "'fast' is not a valid integer value");
    EXPECT_EQ(r.errorLine, 3);
    EXPECT_EQ(r.linesRead, 2);
    EXPECT_EQ(r.settings.comPort, 3);
    EXPECT_EQ(r.settings.baudRate, 9600);
    EXPECT_EQ(r.settings.sampleRate, 111);
    EXPECT_EQ(r.settings.requestString, "$01");
    EXPECT_EQ(r.settings.syncMode, SyncMode::ListenOnly);
    EXPECT_FALSE(r.reachedModeLine);
    // What was read is still put to use.
    EXPECT_TRUE(r.ConnectReceivePath());
}

TEST(SettingsReader, BadSyncTimeIsReportedAfterTheModeWasTaken) {
    auto lines = SplitLines(kFullFile);
    lines[10] = "SyncTime=5oo";
    const auto r = ParseSettings(Lines(lines), Previous());
    EXPECT_EQ(r.error, "'5OO' is not a valid integer value");  // the value is upper-cased first
    EXPECT_EQ(r.errorLine, 11);
    EXPECT_EQ(r.settings.syncMode, SyncMode::Aldl160);
    EXPECT_EQ(r.settings.startCommand, "OLD");
}

TEST(SettingsReader, MissingLinesReadAsEmpty) {
    auto r = ParseSettings("", Previous());
    EXPECT_EQ(r.error, "'' is not a valid integer value");
    EXPECT_EQ(r.errorLine, 1);
    EXPECT_EQ(r.settings, Previous());

    // A file cut short after line 5 stops at line 6.
    const auto lines = SplitLines(kFullFile);
    r = ParseSettings(Lines(std::vector<std::string>(lines.begin(), lines.begin() + 5)),
                      Previous());
    EXPECT_EQ(r.errorLine, 6);
    EXPECT_EQ(r.settings.responseBytes, 3);
}

TEST(SettingsReader, OutOfRangeValuesAreRefusedByName) {
    auto lines = SplitLines(kFullFile);
    lines[0] = "ComPort=-1";
    lines[1] = "BaudRate=0";
    lines[2] = "SampleRate=0";
    lines[4] = "ResponseBytes=-2";
    lines[5] = "# Bytes of Data=501";
    lines[10] = "SyncTime=-5";
    const auto r = ParseSettings(Lines(lines), Previous());
    EXPECT_FALSE(r.error);
    EXPECT_EQ(r.linesRead, 13);
    const LinkSettings& s = r.settings;
    EXPECT_EQ(s.comPort, 9);
    EXPECT_EQ(s.baudRate, 4800);
    EXPECT_EQ(s.sampleRate, 111);
    EXPECT_EQ(s.responseBytes, 7);
    EXPECT_EQ(s.dataBytes, 20);
    EXPECT_EQ(s.syncTime, 333);
    EXPECT_EQ(s.syncMode, SyncMode::Aldl160);  // the rest is read as usual
    ASSERT_EQ(r.warnings.size(), 6u);
    EXPECT_EQ(r.warnings[2],
              "Line 3 (SampleRate): SampleRate must be from 1 to 65535, not 0. 111 is kept.");
    EXPECT_NE(r.warnings[4].find("Line 6 (# Bytes of Data)"), std::string::npos);
    EXPECT_NE(r.warnings[5].find("SyncTime"), std::string::npos);
}

TEST(SettingsReader, RangeLimitsAtTheirEdges) {
    auto lines = SplitLines(kFullFile);
    lines[2] = "SampleRate=65535";
    lines[5] = "# Bytes of Data=500";
    auto r = ParseSettings(Lines(lines), Previous());
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.settings.sampleRate, 65535);
    EXPECT_EQ(r.settings.dataBytes, 500);

    lines[2] = "SampleRate=65536";
    lines[5] = "# Bytes of Data=0";
    r = ParseSettings(Lines(lines), Previous());
    EXPECT_EQ(r.warnings.size(), 2u);
    EXPECT_EQ(r.settings.sampleRate, 111);
    EXPECT_EQ(r.settings.dataBytes, 20);

    // A refused value that is already in force changes nothing and is not reported.
    LinkSettings fresh;
    ASSERT_EQ(fresh.dataBytes, 0);
    r = ParseSettings(Lines(lines), fresh);
    EXPECT_EQ(r.warnings.size(), 1u);  // only the sample rate
    // It is still out of range, for programs that cannot work without a valid value.
    ASSERT_EQ(r.outOfRange.size(), 2u);
    EXPECT_EQ(r.outOfRange[1],
              "Line 6 (# Bytes of Data): # Bytes of Data must be from 1 to 500, not 0.");
}

TEST(SettingsReader, ARefusedValueDoesNotClaimThatAnInvalidOneIsKept) {
    auto lines = SplitLines(kFullFile);
    lines[5] = "# Bytes of Data=-5";
    lines[9] = "SyncMode=7";
    const auto r = ParseSettings(Lines(lines), LinkSettings{});
    ASSERT_EQ(r.warnings.size(), 2u);
    EXPECT_EQ(r.warnings[0],
              "Line 6 (# Bytes of Data): # Bytes of Data must be from 1 to 500, not -5. The value "
              "in force, 0, is not valid either: set # Bytes of Data in the setup.");
    EXPECT_EQ(r.warnings[0].find("is kept"), std::string::npos);
    EXPECT_EQ(r.outOfRange.size(), 2u);
    EXPECT_EQ(r.outOfRange[1], "Line 10 (SyncMode): \"7\" is not 1, 2 or 3.");
    EXPECT_TRUE(ParseSettings(kFullFile, LinkSettings{}).outOfRange.empty());
}

TEST(SettingsReader, TheLinesOfTheFileAreCounted) {
    EXPECT_EQ(ParseSettings(kFullFile, LinkSettings{}).linesInFile, 13);
    auto lines = SplitLines(kFullFile);
    lines.resize(8);
    const auto cut = ParseSettings(Lines(lines), LinkSettings{});
    EXPECT_FALSE(cut.error) << "missing flag lines read as FALSE";
    EXPECT_EQ(cut.linesInFile, 8);
}

TEST(SettingsReader, OverlongRequestIsWarnedAboutAndKeptAsText) {
    auto lines = SplitLines(kFullFile);
    std::string request;
    for (int i = 0; i < 90; ++i) {
        request += "$01 ";
    }
    lines[3] = "RequestString=" + request;
    const auto r = ParseSettings(Lines(lines), Previous());
    EXPECT_TRUE(r.requestTruncated);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("84"), std::string::npos);
    EXPECT_EQ(r.settings.requestString, request);
}

TEST(SettingsReader, PortNameLineNamesTheDevice) {
    auto lines = SplitLines(kFullFile);
    lines.push_back("PortName=/dev/ttyUSB0");
    auto r = ParseSettings(Lines(lines), Previous());
    EXPECT_EQ(r.settings.portName, "/dev/ttyUSB0");
    EXPECT_EQ(r.linesRead, 14);

    lines[13] = "portname=/dev/ttyACM1";
    EXPECT_EQ(ParseSettings(Lines(lines), Previous()).settings.portName, "/dev/ttyACM1");

    lines[13] = "Something=/dev/ttyS0";  // not a port name line
    r = ParseSettings(Lines(lines), Previous());
    EXPECT_EQ(r.settings.portName, "");
    EXPECT_EQ(r.linesRead, 13);
}

TEST(SettingsReader, AcceptsLfOnlyLines) {
    std::string text = kFullFile;
    std::erase(text, '\r');
    EXPECT_EQ(ParseSettings(text, Previous()).settings,
              ParseSettings(kFullFile, Previous()).settings);
}

TEST(SettingsWriter, WritesThirteenLinesExactly) {
    LinkSettings s;
    s.comPort = 2;
    s.requestString = "$f4 $57";
    s.dataBytes = 63;
    s.useCheckSum = true;
    s.syncMode = SyncMode::Aldl160;
    s.startCommand = "$F4";
    EXPECT_EQ(FormatSettings(s),
              "ComPort=2\r\nBaudRate=8192\r\nSampleRate=500\r\nRequestString=$f4 $57\r\n"
              "ResponseBytes=0\r\n# Bytes of Data=63\r\nUse CheckSum=TRUE\r\n"
              "RequestEchoed=FALSE\r\nAutoRun=FALSE\r\nSyncMode=3\r\nSyncTime=500\r\n"
              "StartCommand=$F4\r\nStopCommand=\r\n");
    s.portName = "/dev/ttyUSB0";
    EXPECT_TRUE(FormatSettings(s).ends_with("StopCommand=\r\nPortName=/dev/ttyUSB0\r\n"));
}

TEST(SettingsWriter, LineBreaksInsideValuesCannotShiftLines) {
    LinkSettings s;
    s.requestString = "$01\r\nAutoRun=TRUE";
    const auto lines = SplitLines(FormatSettings(s));
    EXPECT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[8], "AutoRun=FALSE");
}

TEST(SettingsWriter, WhatIsWrittenReadsBackTheSame) {
    LinkSettings s = Previous();
    s.startCommand = "$F4 (D110) $56";
    s.portName = "/dev/ttyUSB1";
    s.comPort = 0;  // "ComPort=" follows the device, and this one has no number
    const auto r = ParseSettings(FormatSettings(s), LinkSettings{});
    EXPECT_FALSE(r.error);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.settings, s);
}

TEST(SettingsRange, MessagesNameTheFieldAndRange) {
    EXPECT_FALSE(CheckRange(LinkField::DataBytes, 1));
    EXPECT_EQ(CheckRange(LinkField::DataBytes, 0), "# Bytes of Data must be from 1 to 500, not 0.");
    EXPECT_EQ(CheckRange(LinkField::SyncTime, 0), "SyncTime must be more than 0, not 0.");
    EXPECT_EQ(CheckRange(LinkField::ComPort, -1), "ComPort must be 0 or more, not -1.");
    EXPECT_FALSE(CheckRange(LinkField::ResponseBytes, 0));
}

class SettingsFileTest : public ::testing::Test {
  protected:
    testing::ScratchFolder folder;
    DamagedFileGuard guard;
};

TEST_F(SettingsFileTest, MissingFileChangesNothing) {
    const auto read = ReadSettingsFile(folder.Path(), "Default.Ini", Previous(), guard);
    EXPECT_FALSE(read.found);
    EXPECT_EQ(read.result.settings, Previous());
    EXPECT_TRUE(read.errorMessage.empty());
}

TEST_F(SettingsFileTest, FileOfAnotherCaseIsReadAndReplaced) {
    folder.Write("default.ini", kFullFile);
    const auto read = ReadSettingsFile(folder.Path(), "Default.Ini", Previous(), guard);
    ASSERT_TRUE(read.found);
    EXPECT_EQ(read.path, folder / "default.ini");
    EXPECT_EQ(read.result.settings.dataBytes, 63);

    LinkSettings changed = read.result.settings;
    changed.dataBytes = 10;
    EXPECT_FALSE(WriteSettingsFile(folder.Path(), "Default.Ini", changed, guard));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"default.ini"});
    EXPECT_EQ(ReadSettingsFile(folder.Path(), "DEFAULT.INI", Previous(), guard).result.settings,
              changed);
}

TEST_F(SettingsFileTest, NewFileTakesTheSpellingGiven) {
    EXPECT_FALSE(WriteSettingsFile(folder.Path(), "Car.ini", Previous(), guard));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"Car.ini"});
}

TEST_F(SettingsFileTest, FileThatStoppedReadingIsBackedUpBeforeItIsRewritten) {
    auto lines = SplitLines(kFullFile);
    lines[5] = "# Bytes of Data=sixty";
    const std::string damaged = Lines(lines);
    folder.Write("Default.Ini", damaged);

    const auto read = ReadSettingsFile(folder.Path(), "Default.Ini", Previous(), guard);
    EXPECT_TRUE(read.errorMessage.starts_with("'sixty' is not a valid integer value"))
        << read.errorMessage;
    EXPECT_NE(read.errorMessage.find("line 6"), std::string::npos) << read.errorMessage;
    EXPECT_NE(read.errorMessage.find("\"Default.Ini.bad\""), std::string::npos);
    EXPECT_FALSE(folder.Exists("Default.Ini.bad"));  // nothing is written by reading

    EXPECT_FALSE(WriteSettingsFile(folder.Path(), "Default.Ini", read.result.settings, guard));
    EXPECT_EQ(folder.Read("Default.Ini.bad"), damaged);
    EXPECT_EQ(ParseSettings(folder.Read("Default.Ini"), {}).error, std::nullopt);

    // Later saves leave the backup of the damaged file alone.
    EXPECT_FALSE(WriteSettingsFile(folder.Path(), "Default.Ini", Previous(), guard));
    EXPECT_EQ(folder.Read("Default.Ini.bad"), damaged);
}

TEST_F(SettingsFileTest, DamagedFileIsNotOverwrittenWhenNoBackupCanBeMade) {
    folder.Write("Default.Ini", "ComPort=x\r\n");
    std::filesystem::create_directories(folder / "Default.Ini.bad" / "in-the-way");
    ASSERT_FALSE(
        ReadSettingsFile(folder.Path(), "Default.Ini", Previous(), guard).errorMessage.empty());
    const auto error = WriteSettingsFile(folder.Path(), "Default.Ini", Previous(), guard);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("not saved"), std::string::npos) << *error;
    EXPECT_EQ(folder.Read("Default.Ini"), "ComPort=x\r\n");
}

TEST_F(SettingsFileTest, WarningsAreGatheredUnderTheFileName) {
    auto lines = SplitLines(kFullFile);
    lines[2] = "SampleRate=0";
    folder.Write("Car.ini", Lines(lines));
    const auto read = ReadSettingsFile(folder.Path(), "Car.ini", Previous(), guard);
    EXPECT_TRUE(read.errorMessage.empty());
    EXPECT_TRUE(read.warningMessage.starts_with("Settings file \"Car.ini\":\nLine 3"))
        << read.warningMessage;
    // The refused value is not written back, so the file is kept as it was before the next save.
    EXPECT_TRUE(guard.IsDamaged(folder / "Car.ini"));
    EXPECT_NE(read.warningMessage.find("Car.ini.bad"), std::string::npos) << read.warningMessage;
}

}  // namespace
}  // namespace vekaton
