#include "set/ParameterFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/Process.h"
#include "set/DamagedFileGuard.h"

namespace vekaton {
namespace {

void ExpectSameDefinitions(const ParameterTable& a, const ParameterTable& b) {
    for (int position = 1; position <= 500; ++position) {
        const ParameterRecord& x = a.At(position);
        const ParameterRecord& y = b.At(position);
        ASSERT_EQ(x.Descriptions, y.Descriptions) << position;
        ASSERT_EQ(x.Formula(), y.Formula()) << position;
        ASSERT_EQ(x.ByteCount, y.ByteCount) << position;
        ASSERT_EQ(x.IsDigital, y.IsDigital) << position;
    }
}

TEST(ParameterFile, WritesTheDocumentedLayoutWithCrLf) {
    ParameterTable table;
    table.At(1).Descriptions[0] = "RPM";
    table.At(1).SetFormula("A*25");
    table.At(12).IsDigital = true;
    table.At(12).Descriptions[3] = "Closed loop";
    table.At(12).Descriptions[0] = "AC";
    table.At(13).IsDigital = true;  // no bit descriptions: not written
    table.At(20).ByteCount = 2;
    table.At(20).Descriptions[0] = "MAP";
    table.At(20).SetFormula("  MAX(A,B)  ");
    table.At(21).SetFormula("A");  // no description: not written
    EXPECT_EQ(WriteParameterText(table, {"; made by hand", ";second"}),
              "; made by hand\r\n;second\r\n\r\n"
              "1,1,0,RPM,A*25\r\n"
              "12,1,1,0,AC\r\n"
              "12,1,1,3,Closed loop\r\n"
              "20,2,0,MAP,MAX(A,B)\r\n"
              "END\r\n");
}

TEST(ParameterFile, RoundTripKeepsEveryDefinitionFromFirstToLastPosition) {
    ParameterTable table;
    table.At(1).Descriptions[0] = "Engine speed";
    table.At(1).SetFormula("A*25");
    table.At(2).Descriptions[0] = "MAP";
    table.At(2).ByteCount = 2;
    table.At(2).SetFormula("[UINTEGER]MAX(A,B)/10");
    table.At(250).IsDigital = true;
    table.At(250).Descriptions[0] = "Fan, low";  // a bit description may hold a comma
    table.At(250).Descriptions[7] = "Closed loop";
    table.At(499).Descriptions[0] = "No formula";
    table.At(500).Descriptions[0] = "Battery";
    table.At(500).SetFormula("A/10");
    const std::vector<std::string> header{"; Vekaton parameters", ";"};

    const std::string text = WriteParameterText(table, header);
    ParameterTable readBack;
    const ParameterFileReadResult result = ReadParameterText(text, readBack);
    EXPECT_FALSE(result.error);
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(result.header, header);
    ExpectSameDefinitions(table, readBack);
    EXPECT_EQ(WriteParameterText(readBack, result.header), text);
}

TEST(ParameterFile, FieldsThatWouldBreakTheLineAreCleanedWhenWritten) {
    ParameterTable table;
    table.At(5).Descriptions[0] = "Spark, advance";
    table.At(5).SetFormula("A-64");
    table.At(6).Descriptions[0] = "Two\r\nlines";
    table.At(6).SetFormula("A");
    ParameterTable readBack;
    ReadParameterText(WriteParameterText(table, {}), readBack);
    EXPECT_EQ(readBack.At(5).Descriptions[0], "Spark  advance");
    EXPECT_EQ(readBack.At(5).Formula(), "A-64");
    EXPECT_EQ(readBack.At(6).Descriptions[0], "Two  lines");
    EXPECT_EQ(readBack.At(6).Formula(), "A");
}

TEST(ParameterFile, ReadingFollowsTheLineRules) {
    const std::string text =
        "; top comment\n"
        "\n"
        "4,1,0,Coolant,A-40\n"
        "; dropped comment\n"
        " 5,1,0,Indented,A\n"
        "6,1,0,Blank formula,A * 2\n"
        "0,1,0,Zero,A\n"
        "501,1,0,Past the end,A\n"
        "END\n"
        "7,3,0,After END,A+B\r\n"
        "8,1,1,2,Fan\n"
        "8,1,1,5,\n";
    ParameterTable table;
    table.At(8).Descriptions[0] = "Old";
    const ParameterFileReadResult result = ReadParameterText(text, table);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.header, std::vector<std::string>{"; top comment"});
    EXPECT_EQ(table.At(4).Descriptions[0], "Coolant");
    EXPECT_EQ(table.At(4).Formula(), "A-40");
    EXPECT_EQ(table.At(5).Descriptions[0], "");
    EXPECT_EQ(table.At(6).Descriptions[0], "Blank formula");
    EXPECT_EQ(table.At(6).Formula(), "A * 2");  // kept as written, but not evaluated
    EXPECT_FALSE(table.At(6).FormulaEvaluated());
    EXPECT_EQ(table.At(7).ByteCount, 3);
    EXPECT_EQ(table.At(7).Formula(), "A+B");
    EXPECT_TRUE(table.At(8).IsDigital);
    EXPECT_EQ(table.At(8).Descriptions[2], "Fan");
    EXPECT_EQ(table.At(8).Descriptions[0], "Old");
    EXPECT_EQ(table.At(8).ByteCount, 1);
}

TEST(ParameterFile, DigitalPositionWithoutBitsReadsBackAnalog) {
    ParameterTable table;
    table.At(9).IsDigital = true;
    ParameterTable readBack;
    ReadParameterText(WriteParameterText(table, {}), readBack);
    EXPECT_FALSE(readBack.At(9).IsDigital);
}

TEST(ParameterFile, NonIntegerFieldStopsReadingAndKeepsEarlierLines) {
    ParameterTable table;
    const ParameterFileReadResult result =
        ReadParameterText("1,1,0,First,A\r\n2,x2,0,Second,A\r\n3,1,0,Third,A\r\n", table);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(*result.error, "'x2' is not a valid integer value");
    EXPECT_EQ(result.errorLine, 2);
    EXPECT_EQ(table.At(1).Descriptions[0], "First");
    EXPECT_EQ(table.At(2).Descriptions[0], "");
    EXPECT_EQ(table.At(3).Descriptions[0], "");

    ParameterTable digital;
    const ParameterFileReadResult bit = ReadParameterText("8,1,1,three,Fan\r\n", digital);
    ASSERT_TRUE(bit.error);
    EXPECT_EQ(*bit.error, "'three' is not a valid integer value");
    // The position is read first, even for a line that would be skipped.
    ParameterTable far;
    EXPECT_TRUE(ReadParameterText("1e3,1,0,X,A\r\n", far).error);
}

TEST(ParameterFile, BadBitNumbersAndShortLinesAreReportedWithTheirLine) {
    ParameterTable table;
    const ParameterFileReadResult result = ReadParameterText(
        ";c\r\n\r\n8,1,1,8,Too high\r\n8,1,1,-1,Too low\r\n9,1,0,Short\r\n10,2\r\n"
        "11,1,0,Fine,A\r\n",
        table);
    EXPECT_FALSE(result.error);
    ASSERT_EQ(result.warnings.size(), 4u);
    EXPECT_NE(result.warnings[0].find("Line 3"), std::string::npos) << result.warnings[0];
    EXPECT_NE(result.warnings[1].find("Line 4"), std::string::npos) << result.warnings[1];
    EXPECT_NE(result.warnings[2].find("Line 5"), std::string::npos) << result.warnings[2];
    EXPECT_NE(result.warnings[3].find("Line 6"), std::string::npos) << result.warnings[3];
    EXPECT_FALSE(table.At(8).IsDigital);
    EXPECT_EQ(table.At(9).Descriptions[0], "");
    EXPECT_EQ(table.At(10).ByteCount, 1);
    EXPECT_EQ(table.At(11).Descriptions[0], "Fine");
}

TEST(ParameterFile, HeaderKeepsAtMostNinetyNineComments) {
    std::string text;
    for (int i = 0; i < 120; ++i) {
        text += ";" + std::to_string(i) + "\r\n";
    }
    ParameterTable table;
    const ParameterFileReadResult result = ReadParameterText(text, table);
    ASSERT_EQ(result.header.size(), 99u);
    EXPECT_EQ(result.header.back(), ";98");
    // A header line without its ";" is written as a comment, so it reads back as one.
    const std::string written = WriteParameterText(table, {"plain"});
    EXPECT_EQ(written.rfind(";plain\r\n", 0), 0u);
}

}  // namespace
}  // namespace vekaton

namespace vekaton {
namespace {

class ParameterFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("vekaton_parameter_file_" + std::to_string(platform::CurrentProcessId()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    void Put(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    std::string Get(const std::string& name) {
        std::ifstream in(folder_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path folder_;
};

TEST_F(ParameterFileOnDisk, MissingFileLeavesTheTableAsReset) {
    ParameterTable table;
    DamagedFileGuard guard;
    const ParameterFileRead read = ReadParameterFile(folder_, "Default.cfg", table, guard);
    EXPECT_FALSE(read.found);
    EXPECT_TRUE(read.errorMessage.empty());
    EXPECT_EQ(table.At(1).Formula(), "");
}

TEST_F(ParameterFileOnDisk, ReadsAnyLetterCaseAndWritesBackOverIt) {
    Put("default.CFG", ";keep me\n\n3,1,0,TPS,A/2.55\nEND\n");
    ParameterTable table;
    DamagedFileGuard guard;
    const ParameterFileRead read = ReadParameterFile(folder_, "Default.cfg", table, guard);
    EXPECT_TRUE(read.found);
    EXPECT_EQ(table.At(3).Formula(), "A/2.55");
    table.At(4).Descriptions[0] = "IAT";
    EXPECT_FALSE(WriteParameterFile(folder_, "Default.cfg", table, read.result.header, guard));
    EXPECT_EQ(Get("default.CFG"), ";keep me\r\n\r\n3,1,0,TPS,A/2.55\r\n4,1,0,IAT,\r\nEND\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "default.CFG.bad"));
}

TEST_F(ParameterFileOnDisk, FileThatStoppedReadingIsKeptAsBadBeforeItIsRewritten) {
    const std::string damaged = "1,1,0,RPM,A*25\r\n2,?,0,Lost,A\r\n3,1,0,Also lost,A\r\n";
    Put("Car.cfg", damaged);
    ParameterTable table;
    DamagedFileGuard guard;
    const ParameterFileRead read = ReadParameterFile(folder_, "Car.cfg", table, guard);
    EXPECT_NE(read.errorMessage.find("'?' is not a valid integer value"), std::string::npos);
    EXPECT_NE(read.errorMessage.find("line 2"), std::string::npos) << read.errorMessage;
    EXPECT_EQ(table.At(1).Descriptions[0], "RPM");

    EXPECT_FALSE(WriteParameterFile(folder_, "Car.cfg", table, read.result.header, guard));
    EXPECT_EQ(Get("Car.cfg.bad"), damaged);
    EXPECT_EQ(Get("Car.cfg"), "\r\n1,1,0,RPM,A*25\r\nEND\r\n");
}

TEST_F(ParameterFileOnDisk, SkippedLinesAreReportedUnderTheFileName) {
    Put("Car.cfg", "1,1,1,9,Fan\r\n");
    ParameterTable table;
    DamagedFileGuard guard;
    const ParameterFileRead read = ReadParameterFile(folder_, "Car.cfg", table, guard);
    EXPECT_TRUE(read.errorMessage.empty());
    EXPECT_NE(read.warningMessage.find("Car.cfg"), std::string::npos);
    EXPECT_NE(read.warningMessage.find("Line 1"), std::string::npos);
}

}  // namespace
}  // namespace vekaton
