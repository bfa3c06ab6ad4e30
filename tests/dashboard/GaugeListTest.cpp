#include "dashboard/GaugeList.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

GaugeListEntry Label(std::string name, int page) {
    GaugeListEntry e;
    e.kind = GaugeEntryKind::Label;
    e.name = std::move(name);
    e.page = page;
    return e;
}

GaugeListEntry Item(std::string name, int page, int position, int bit, int hold) {
    GaugeListEntry e;
    e.kind = GaugeEntryKind::Item;
    e.name = std::move(name);
    e.page = page;
    e.position = position;
    e.bit = bit;
    e.holdMode = hold;
    return e;
}

GaugeListEntry Button(std::string name, int page, std::string ids, int min, int max) {
    GaugeListEntry e;
    e.kind = GaugeEntryKind::ResetButton;
    e.name = std::move(name);
    e.page = page;
    e.idList = std::move(ids);
    e.minPreset = min;
    e.maxPreset = max;
    return e;
}

const std::string kText =
    "USERLABEL1,0,\r\n"
    "USERANGULARGAUGE1,0,5,8,0\r\n"
    "USERLEDROUND1,1,12,3,0\r\n"
    "USERANALOGDISPLAY2,2,7,8,2\r\n"
    "USERRESETBUTTON1,0,2 3 4\r\n"
    "9999\r\n"
    "-50\r\n";

TEST(GaugeList, FormatsEachKindOfEntryAsItsLines) {
    const std::vector<GaugeListEntry> entries{
        Label("USERLABEL1", 0),
        Item("USERANGULARGAUGE1", 0, 5, 8, 0),
        Item("USERLEDROUND1", 1, 12, 3, 0),
        Item("USERANALOGDISPLAY2", 2, 7, 8, 2),
        Button("USERRESETBUTTON1", 0, "2 3 4", 9999, -50),
    };
    EXPECT_EQ(FormatGaugeList(entries), kText);
    const GaugeListParse parse = ParseGaugeList(kText);
    EXPECT_TRUE(parse.warnings.empty());
    EXPECT_EQ(parse.entries, entries);
}

TEST(GaugeList, HoldModeOutsideZeroToTwoIsWrittenAsZero) {
    EXPECT_EQ(FormatGaugeList({Item("USERSEVENSEGMENTANALOG1", 0, 1, 8, 3)}),
              "USERSEVENSEGMENTANALOG1,0,1,8,0\r\n");
    EXPECT_EQ(FormatGaugeList({Item("USERSEVENSEGMENTANALOG1", 0, 1, 8, -1)}),
              "USERSEVENSEGMENTANALOG1,0,1,8,0\r\n");
    // The reader keeps what is written; the hold mode is the model's to judge.
    const GaugeListParse parse = ParseGaugeList("USERANALOGDISPLAY1,0,1,8,7\n");
    ASSERT_EQ(parse.entries.size(), 1u);
    EXPECT_EQ(parse.entries[0].holdMode, 7);
}

TEST(GaugeList, ReadsLfLinesAnyCaseAndTheSetFilesIntegers) {
    const GaugeListParse parse = ParseGaugeList(
        "userlabel3,1\n\nUserResetButton2,1,\n$10\n 20\nUSERTHERMOMETER1, 2,0x10,8,1");
    EXPECT_TRUE(parse.warnings.empty());
    ASSERT_EQ(parse.entries.size(), 3u);
    EXPECT_EQ(parse.entries[0], Label("userlabel3", 1));
    EXPECT_EQ(parse.entries[1], Button("UserResetButton2", 1, "", 16, 20));
    EXPECT_EQ(parse.entries[2], Item("USERTHERMOMETER1", 2, 16, 8, 1));
}

TEST(GaugeList, DamagedLinesAreReportedByLineNeverDroppedSilently) {
    const GaugeListParse parse = ParseGaugeList(
        "USERANGULARGAUGE1,0,5,8,0\r\n"      // 1 fine
        "USERANGULARGAUGE2,x,5,8,0\r\n"      // 2 bad page
        "USERANGULARGAUGE3,0,5,8\r\n"        // 3 too few fields
        "USERANGULARGAUGE4,0,5,eight,0\r\n"  // 4 bad bit
        "no comma here\r\n"                  // 5
        ",0,1,2,3\r\n"                       // 6 no name
        "USERLABEL2,0,Oil temp\r\n"          // 7 text after a label's page: entry kept
        "USERRESETBUTTON1,0,1 2\r\n"         // 8 button whose maximum is missing...
        "12\r\n"                             // 9
        "USERTHERMOMETER1,1,3,8,0\r\n"       // 10 ...so this line stays an entry
        "USERRESETBUTTON2,0,3\r\n"           // 11
        "lots\r\n"                           // 12 a preset that is no integer
        "40\r\n");                           // 13
    std::vector<int> lines;
    for (const std::string& warning : parse.warnings) {
        lines.push_back(std::stoi(warning.substr(5)));
    }
    EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 12}));
    ASSERT_EQ(parse.entries.size(), 5u);
    EXPECT_EQ(parse.entries[0].name, "USERANGULARGAUGE1");
    EXPECT_EQ(parse.entries[1], Label("USERLABEL2", 0));
    EXPECT_EQ(parse.entries[2], Button("USERRESETBUTTON1", 0, "1 2", 12, 9999));
    EXPECT_EQ(parse.entries[3], Item("USERTHERMOMETER1", 1, 3, 8, 0));
    EXPECT_EQ(parse.entries[4], Button("USERRESETBUTTON2", 0, "3", 9999, 40));
    EXPECT_TRUE(parse.Damaged());
    EXPECT_NE(parse.warnings[1].find("USERANGULARGAUGE3"), std::string::npos);
    EXPECT_NE(parse.warnings[2].find("'eight' is not a valid integer value"), std::string::npos);
}

TEST(GaugeList, ButtonAtTheEndOfTheFileGetsCurrentValuePresets) {
    const GaugeListParse parse = ParseGaugeList("USERRESETBUTTON4,2,1\r\n");
    ASSERT_EQ(parse.entries.size(), 1u);
    EXPECT_EQ(parse.entries[0], Button("USERRESETBUTTON4", 2, "1", 9999, 9999));
    EXPECT_EQ(parse.warnings.size(), 2u);
}

TEST(GaugeList, LineBreaksInsideFieldsCannotSplitAnEntry) {
    const std::string text = FormatGaugeList({Button("USERRESETBUTTON1", 0, "1\r\n2", 1, 2)});
    EXPECT_EQ(text, "USERRESETBUTTON1,0,1  2\r\n1\r\n2\r\n");
    EXPECT_TRUE(ParseGaugeList(text).warnings.empty());
}

}  // namespace
}  // namespace vekaton
