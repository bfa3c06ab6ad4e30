// A gauge list of any size within its 4 MB reads in bounded memory: at most the 500 entries a
// dashboard holds, names no longer than an item's, and warnings and notes told as the first few
// and a count rather than one line each.
#include <gtest/gtest.h>

#include <string>

#include "common/NoteList.h"
#include "dashboard/DashboardGaugeList.h"
#include "dashboard/GaugeList.h"

namespace vekaton {
namespace {

std::string Labels(int from, int to) {
    std::string text;
    for (int n = from; n <= to; ++n) {
        text += "USERLABEL" + std::to_string(n) + ",0,\r\n";
    }
    return text;
}

TEST(GaugeListBounds, ALongListReadsItsFirst500EntriesAndNamesTheRestOnce) {
    const GaugeListParse parse = ParseGaugeList(Labels(1, 100'000));
    ASSERT_EQ(parse.entries.size(), kMaxGaugeListEntries);
    EXPECT_EQ(parse.entries.back().name, "USERLABEL500");
    ASSERT_EQ(parse.warnings.size(), 1u);
    EXPECT_EQ(parse.warnings[0],
              "Line 501: 99500 lines after the 500 entries a dashboard can hold were left out: "
              "\"USERLABEL501\", \"USERLABEL502\", \"USERLABEL503\" and 99497 more.");
    EXPECT_TRUE(parse.Damaged()) << "the file is kept as .bad before a save drops the rest";
}

TEST(GaugeListBounds, AMillionBadLinesGiveTenWarningsAndACount) {
    std::string text;
    for (int i = 0; i < 1'000'000; ++i) {
        text += "x\n";
    }
    text += "USERLABEL1,0,\n" + std::string(300, 'N') + ",0,\n";
    const GaugeListParse parse = ParseGaugeList(text);
    ASSERT_EQ(parse.entries.size(), 1u);
    ASSERT_EQ(parse.warnings.size(), NoteList::kShown + 1);
    EXPECT_EQ(parse.warnings[0], "Line 1: \"x\" has no page number; the entry was not read");
    EXPECT_EQ(parse.warnings.back(), "... and 999991 more lines that were not read whole.");
}

TEST(GaugeListBounds, ANameLongerThanAnItemsIsNotRead) {
    const GaugeListParse parse =
        ParseGaugeList("USERLABEL" + std::string(300, '7') + ",0,\r\nUSERLABEL2,0,\r\n");
    ASSERT_EQ(parse.entries.size(), 1u);
    ASSERT_EQ(parse.warnings.size(), 1u);
    EXPECT_NE(parse.warnings[0].find("Line 1: a name of 309 bytes"), std::string::npos)
        << parse.warnings[0];
}

TEST(GaugeListBounds, EntriesOnMissingPagesOrOfNoKindMakeOneNoteEach) {
    std::vector<GaugeListEntry> entries;
    for (int n = 1; n <= 40; ++n) {
        GaugeListEntry moved;
        moved.kind = GaugeEntryKind::Label;
        moved.name = "USERLABEL" + std::to_string(n);
        moved.page = 9;
        entries.push_back(moved);
        GaugeListEntry unknown;
        unknown.name = "NOSUCHITEM" + std::to_string(n);
        entries.push_back(unknown);
    }
    DashboardModel model;
    const GaugeListApplied applied = ApplyGaugeList(entries, model, 3, nullptr);
    EXPECT_TRUE(applied.dropped);
    ASSERT_EQ(applied.notes.size(), 2 * (NoteList::kShown + 1));
    EXPECT_EQ(applied.notes[0],
              "\"USERLABEL1\" was on page 10, which does not exist; it is on page 3 now.");
    EXPECT_EQ(applied.notes[NoteList::kShown], "... and 30 more entries like these.");
    EXPECT_NE(applied.notes[NoteList::kShown + 1].find("\"NOSUCHITEM1\" is no dashboard item"),
              std::string::npos);
    EXPECT_EQ(applied.notes.back(), "... and 30 more entries like these.");
}

}  // namespace
}  // namespace vekaton
