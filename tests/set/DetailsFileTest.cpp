#include "set/DetailsFile.h"

#include <gtest/gtest.h>

#include "decode/ParameterTable.h"
#include "files/ScratchFolder.h"
#include "set/ConfigurationSet.h"
#include "set/DamagedFileGuard.h"

namespace vekaton {
namespace {

DetailsTable Sample() {
    DetailsTable table;
    PositionDetails& coolant = table.At(7);
    coolant.unit = "\u00b0C";
    coolant.displayMin = -40;
    coolant.displayMax = 140;
    coolant.warnHigh = 110;
    coolant.decimals = 0;
    coolant.alarm = true;
    coolant.role = "coolant";
    PositionDetails& gear = table.At(25);
    gear.valueNames = {{1, "drive 4"}, {3, "drive 3"}, {-1, "invalid"}};
    gear.unknownKeys = {{"colour", "blue"}, {"Sample Rate", "x=y"}};
    table.AtBit(3, 0).alarm = true;
    table.AtBit(17, 7).activeWhenClear = true;
    table.AtBit(17, 7).unknownKeys = {{"note", "GM says clear means requested"}};
    table.SectionAt("definition").keys = {{"id", "A140"}, {"engines", "3.1L LH0"}};
    return table;
}

TEST(DetailsFileText, SurvivesAWriteAndARead) {
    const DetailsTable table = Sample();
    const std::vector<std::string> header{"; made by hand", "# second line"};
    const std::string text = FormatDetails(table, header);
    const DetailsParse parse = ParseDetails(text);
    EXPECT_TRUE(parse.warnings.empty()) << parse.warnings.front();
    EXPECT_EQ(parse.table, table);
    EXPECT_EQ(parse.header, header);
    EXPECT_EQ(FormatDetails(parse.table, parse.header), text);
}

TEST(DetailsFileText, IsWrittenAsReadableSectionsInOrder) {
    DetailsTable table;
    table.At(11).unit = "rpm";
    table.At(11).displayMax = 6000;
    table.At(11).warnHigh = 5200.5;
    table.AtBit(3, 6).activeWhenClear = true;
    table.AtBit(12, 0).alarm = true;
    table.SectionAt("definition").keys = {{"id", "A140"}};
    EXPECT_EQ(FormatDetails(table, {}),
              "[definition]\r\nid=A140\r\n"
              "\r\n[3.6]\r\nactive-when-clear=yes\r\n"
              "\r\n[11]\r\nunit=rpm\r\nmax=6000\r\nwarn-high=5200.5\r\n"
              "\r\n[12.0]\r\nalarm=yes\r\n");
}

TEST(DetailsFileText, AcceptsEveryLineEndingBlanksAndAnyCaseOfKeys) {
    const DetailsParse parse = ParseDetails(
        "; top\r[7]\rUnit = \u00b0F \r\nMIN=-40\nMax = +302\n\n[7.2]\r\nActive-When-Clear=TRUE\r"
        "[ 9 ]\nvalue.0 = Park\nvalue.1=Reverse = R\n");
    EXPECT_TRUE(parse.warnings.empty()) << parse.warnings.front();
    EXPECT_EQ(parse.header, std::vector<std::string>{"; top"});
    const PositionDetails* seven = parse.table.Find(7);
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(seven->unit, "\u00b0F");
    EXPECT_EQ(seven->displayMin, -40.0);
    EXPECT_EQ(seven->displayMax, 302.0);
    ASSERT_NE(parse.table.FindBit(7, 2), nullptr);
    EXPECT_TRUE(parse.table.FindBit(7, 2)->activeWhenClear);
    ASSERT_NE(parse.table.Find(9), nullptr);
    EXPECT_EQ(parse.table.Find(9)->valueNames,
              (std::vector<ValueName>{{0, "Park"}, {1, "Reverse = R"}}));
}

TEST(DetailsFileText, ReportsWhatItCannotTakeInAndKeepsTheRest) {
    const DetailsParse parse = ParseDetails(
        "stray=1\n"         // 1: before any section
        "[7]\n"             // 2
        "min=cold\n"        // 3: not a number
        "decimals=16\n"     // 4: out of range
        "alarm=maybe\n"     // 5
        "; late comment\n"  // 6
        "no equals sign\n"  // 7
        "max=99\n"          // 8: kept
        "[501]\nunit=x\n"   // 9: no such position; its key is not kept
        "[7.8]\n"           // 11: no such bit
        "[]\n"              // 12
        "[7]\nmax=120\n");  // 13, 14: given again, the last counts
    ASSERT_EQ(parse.warnings.size(), 10u);
    EXPECT_EQ(parse.warnings[0].rfind("Line 1: ", 0), 0u);
    EXPECT_EQ(parse.warnings[1].rfind("Line 3: \"cold\" is not a valid value for min", 0), 0u);
    EXPECT_EQ(parse.warnings[5].rfind("Line 7: ", 0), 0u);
    EXPECT_EQ(parse.warnings[6].rfind("Line 9: [501] names no frame position", 0), 0u);
    EXPECT_EQ(parse.warnings[9].rfind("Line 14: max is given again", 0), 0u);
    ASSERT_NE(parse.table.Find(7), nullptr);
    EXPECT_EQ(parse.table.Find(7)->displayMax, 120.0);
    EXPECT_FALSE(parse.table.Find(7)->displayMin);
    EXPECT_FALSE(parse.table.Find(7)->decimals);
    EXPECT_EQ(parse.table.Positions().size(), 1u);
}

TEST(DetailsFileText, NeverWritesTextThatReadsBackAsSomethingElse) {
    DetailsTable table;
    table.At(5).unit = "bad\r\nunit";
    table.At(5).unknownKeys = {{"[x]", "1"}, {"a=b", "c"}, {"; not a comment", "2"}};
    table.SectionAt("42").keys = {{"k", "v"}};
    table.SectionAt("").keys = {{"k", "w"}};
    const std::string once = FormatDetails(table, {"no semicolon"});
    const DetailsParse parse = ParseDetails(once);
    EXPECT_TRUE(parse.warnings.empty()) << parse.warnings.front();
    EXPECT_EQ(parse.table.Find(5)->unit, "bad  unit");
    EXPECT_EQ(parse.table.Find(5)->unknownKeys.size(), 3u);
    EXPECT_EQ(parse.table.Sections().size(), 2u);
    EXPECT_EQ(FormatDetails(parse.table, parse.header), once);
}

TEST(DetailsFileName, FollowsTheParameterFile) {
    EXPECT_EQ(DetailsFileNameFor("Demo.cfg"), "Demo.details");
    EXPECT_EQ(DetailsFileNameFor("my.car.cfg"), "my.details");
}

class DetailsFileTest : public ::testing::Test {
  protected:
    ConfigurationSet Set() {
        ConfigurationSet set(folder_.Path());
        set.UseChosenSet("Car");
        return set;
    }
    testing::ScratchFolder folder_;
};

TEST_F(DetailsFileTest, ASetWithoutDetailsStaysWithoutTheFile) {
    ConfigurationSet set = Set();
    DetailsTable details;
    details.At(3).unit = "left over";
    const DetailsFileRead read = set.ReadDetails(details);
    EXPECT_FALSE(read.found);
    EXPECT_TRUE(details.Empty());
    EXPECT_FALSE(set.WriteDetails(details));
    EXPECT_TRUE(folder_.Names().empty());
}

TEST_F(DetailsFileTest, SavesKeepTheFormerFileAsBackupAndUnknownKeys) {
    folder_.Write("car.DETAILS", "; mine\n[4]\nunit=V\nshade=red\n[engine]\nsize=3.1\n");
    ConfigurationSet set = Set();
    DetailsTable details;
    const DetailsFileRead read = set.ReadDetails(details);
    ASSERT_TRUE(read.found);
    EXPECT_TRUE(read.warningMessage.empty());
    details.At(4).decimals = 2;
    ASSERT_FALSE(set.WriteDetails(details));
    EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"car.DETAILS", "car_bak.details"}));
    EXPECT_EQ(folder_.Read("car_bak.details"),
              "; mine\n[4]\nunit=V\nshade=red\n[engine]\nsize=3.1\n");
    EXPECT_EQ(folder_.Read("car.DETAILS"),
              "; mine\r\n\r\n[engine]\r\nsize=3.1\r\n\r\n[4]\r\nunit=V\r\ndecimals=2\r\n"
              "shade=red\r\n");
}

TEST_F(DetailsFileTest, ADamagedFileIsKeptAsBadBeforeItIsRewritten) {
    folder_.Write("Car.details", "[4]\nmin=low\nunit=V\n");
    ConfigurationSet set = Set();
    DetailsTable details;
    const DetailsFileRead read = set.ReadDetails(details);
    EXPECT_NE(read.warningMessage.find("Line 2:"), std::string::npos);
    EXPECT_NE(read.warningMessage.find("Car.details.bad"), std::string::npos);
    ASSERT_FALSE(set.WriteDetails(details));
    EXPECT_EQ(folder_.Read("Car.details.bad"), "[4]\nmin=low\nunit=V\n");
    EXPECT_EQ(folder_.Read("Car.details"), "[4]\r\nunit=V\r\n");
}

TEST_F(DetailsFileTest, AFolderInPlaceOfTheFileIsReportedAndNeverReplaced) {
    std::filesystem::create_directory(folder_ / "Car.details");
    ConfigurationSet set = Set();
    DetailsTable details;
    const DetailsFileRead read = set.ReadDetails(details);
    EXPECT_TRUE(read.found);
    EXPECT_FALSE(read.errorMessage.empty());
    details.At(1).unit = "x";
    EXPECT_TRUE(set.WriteDetails(details));
    EXPECT_TRUE(std::filesystem::is_directory(folder_ / "Car.details"));
}

}  // namespace
}  // namespace vekaton
