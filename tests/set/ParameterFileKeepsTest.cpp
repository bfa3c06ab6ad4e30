// Nothing the user wrote in a parameter file is lost: formulas with blanks keep their text, and
// a file whose reading left anything out is kept as name + ".bad" before it is rewritten.
#include <gtest/gtest.h>

#include "decode/DecoderTestSupport.h"
#include "files/ScratchFolder.h"
#include "set/DamagedFileGuard.h"
#include "set/ParameterFile.h"

namespace vekaton {
namespace {

TEST(ParameterFileKeeps, FormulaWithABlankKeepsItsTextAndShowsRawBytesWithoutBadParser) {
    testing::DecoderRig rig;
    const ParameterFileReadResult result = ReadParameterText(
        "1,1,0,Coolant,A * 0.75 - 40\r\n2,1,0,Speed,A*2\r\n3,2,0,Wide,A *256+B\r\n", rig.table);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(rig.table.At(1).Formula(), "A * 0.75 - 40");
    EXPECT_FALSE(rig.table.At(1).FormulaEvaluated());
    EXPECT_TRUE(rig.table.At(2).FormulaEvaluated());

    rig.Frame({200, 21, 1, 2});
    EXPECT_EQ(rig.ValueAt(1), 200.0);  // the raw byte
    EXPECT_EQ(rig.ValueAt(2), 42.0);
    EXPECT_EQ(rig.ValueAt(4), 2.0);  // the multi-byte value's last byte, raw
    EXPECT_TRUE(rig.messages.empty()) << rig.messages.front();

    // Written back as it was read, and held back again after the next start.
    const std::string written = WriteParameterText(rig.table, result.header);
    EXPECT_NE(written.find("1,1,0,Coolant,A * 0.75 - 40\r\n"), std::string::npos);
    EXPECT_NE(written.find("3,2,0,Wide,A *256+B\r\n"), std::string::npos);

    // Once the user corrects it, it is evaluated.
    rig.table.At(1).SetFormula("A*0.75-40");
    rig.Frame({200});
    EXPECT_EQ(rig.ValueAt(1), 110.0);
}

TEST(ParameterFileKeeps, EveryLineLeftOutIsReportedByLine) {
    ParameterTable table;
    const ParameterFileReadResult result = ReadParameterText(
        "; header\r\n"               // 1
        "1,1,0,RPM,A*25\r\n"         // 2
        "; between definitions\r\n"  // 3
        " 2,1,0,Indented,A\r\n"      // 4
        "600,1,0,Far,A\r\n"          // 5
        "1,1,0,RPM again,A*50\r\n"   // 6 replaces line 2
        "7,1,1,2,Fan\r\n"            // 7
        "7,1,0,Analog now,A\r\n"     // 8 replaces bit 2 of line 7
        "   \r\n",                   // only blanks: nothing to keep
        table);
    std::vector<int> lines;
    for (const std::string& warning : result.warnings) {
        lines.push_back(std::stoi(warning.substr(5)));
    }
    EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 6, 8}));
    EXPECT_NE(result.warnings[3].find("line 2"), std::string::npos) << result.warnings[3];
    EXPECT_EQ(table.At(1).Descriptions[0], "RPM again");
}

class ParameterFileKeepsOnDisk : public ::testing::Test {
  protected:
    testing::ScratchFolder folder_;
    DamagedFileGuard guard_;
    ParameterTable table_;
};

TEST_F(ParameterFileKeepsOnDisk, FileWithDroppedLinesIsKeptAsBadOnItsFirstRewrite) {
    const std::string original =
        ";keep\r\n\r\n1,1,0,RPM,A*25\r\n;a note of mine\r\n2,1,0,MAP\r\nEND\r\n";
    folder_.Write("Demo.cfg", original);
    const ParameterFileRead read = ReadParameterFile(folder_.Path(), "Demo.cfg", table_, guard_);
    EXPECT_TRUE(read.errorMessage.empty());
    EXPECT_NE(read.warningMessage.find("Line 4"), std::string::npos) << read.warningMessage;
    EXPECT_NE(read.warningMessage.find("Line 5"), std::string::npos) << read.warningMessage;
    EXPECT_NE(read.warningMessage.find("Demo.cfg.bad"), std::string::npos) << read.warningMessage;

    EXPECT_FALSE(
        WriteParameterFile(folder_.Path(), "Demo.cfg", table_, read.result.header, guard_));
    EXPECT_EQ(folder_.Read("Demo.cfg.bad"), original);
    EXPECT_EQ(folder_.Read("Demo.cfg"), ";keep\r\n\r\n1,1,0,RPM,A*25\r\nEND\r\n");

    // Once: the next save leaves the copy alone.
    table_.At(3).Descriptions[0] = "TPS";
    EXPECT_FALSE(
        WriteParameterFile(folder_.Path(), "Demo.cfg", table_, read.result.header, guard_));
    EXPECT_EQ(folder_.Read("Demo.cfg.bad"), original);
}

TEST_F(ParameterFileKeepsOnDisk, CleanFileAndKeptFormulasMakeNoCopy) {
    folder_.Write("Demo.cfg", ";c\r\n\r\n1,1,0,RPM,A * 25\r\nEND\r\n");
    const ParameterFileRead read = ReadParameterFile(folder_.Path(), "Demo.cfg", table_, guard_);
    EXPECT_TRUE(read.warningMessage.empty()) << read.warningMessage;
    EXPECT_FALSE(
        WriteParameterFile(folder_.Path(), "Demo.cfg", table_, read.result.header, guard_));
    EXPECT_FALSE(folder_.Exists("Demo.cfg.bad"));
    EXPECT_EQ(folder_.Read("Demo.cfg"), ";c\r\n\r\n1,1,0,RPM,A * 25\r\nEND\r\n");
}

}  // namespace
}  // namespace vekaton
