// A reset list is kept as the items it can reset; every entry a save would leave out is told.
#include <gtest/gtest.h>

#include "dashboard/DashboardGaugeList.h"

namespace vekaton {
namespace {

TEST(ResetListRead, EntriesThatAreNoIdAreCountedWithTheFirstFewAsWritten) {
    const IdListRead read = ReadIdList("3, 7;x 3 501 0 -2 12");
    EXPECT_EQ(read.ids, (std::vector<int>{3, 7, 12}));
    EXPECT_EQ(read.skippedCount, 5u);
    EXPECT_EQ(read.skippedExamples, (std::vector<std::string>{"x", "3", "501"}));
    EXPECT_EQ(ParseIdList("3, 7;x 3 501 0 -2 12"), read.ids);
    EXPECT_EQ(ReadIdList(" 1,2 ").skippedCount, 0u);
}

TEST(ResetListRead, AListNamingMoreThanTheDashboardHoldsIsToldAndTheFileKeptAside) {
    std::string ids;
    for (int id = 1; id <= 10000; ++id) {
        ids += (id > 1 ? "," : "") + std::to_string(id);
    }
    const GaugeListParse parsed =
        ParseGaugeList("USERLABEL1,0,\r\nUSERANGULARGAUGE1,0,4,8,0\r\nUSERRESETBUTTON1,0," + ids +
                       "\r\n9999\r\n9999\r\nUSERTHERMOMETER1,0,1,8,0\r\n");
    ASSERT_FALSE(parsed.Damaged());
    DashboardModel model;
    const GaugeListApplied applied = ApplyGaugeList(parsed.entries, model, 1, {});
    ASSERT_EQ(applied.notes.size(), 1u);
    EXPECT_TRUE(applied.dropped);
    // IDs 1 to 4 are the four items (the thermometer comes after the button); 5 to 500 name
    // none, 501 to 10000 cannot be IDs at all.
    EXPECT_EQ(applied.notes[0],
              "\"USERRESETBUTTON1\": 9996 entries of its reset list name no item of the dashboard "
              "(IDs are 1 to 500, each once) and were left out: \"501\", \"502\", \"503\" and "
              "9993 more.");
    const int button = *model.FindByName("USERRESETBUTTON1");
    EXPECT_EQ(model.ResetListForSave(model.ResetButtonNumber(button), model.NumberForSave()),
              (std::vector<int>{1, 2, 3, 4}));
}

TEST(ResetListRead, AListOfItemsThatAllExistIsNoNews) {
    const GaugeListParse parsed =
        ParseGaugeList("USERANGULARGAUGE1,0,4,8,0\r\nUSERRESETBUTTON1,0,1,2\r\n0\r\n9999\r\n");
    DashboardModel model;
    const GaugeListApplied applied = ApplyGaugeList(parsed.entries, model, 1, {});
    EXPECT_TRUE(applied.notes.empty());
    EXPECT_FALSE(applied.dropped);
}

}  // namespace
}  // namespace vekaton
