// The save journal: the files a save may replace are kept until it ends, and a start that finds
// a save cut short puts them back, so the set is whole as before that save.
#include <gtest/gtest.h>

#include "files/ScratchFolder.h"
#include "set/SaveJournal.h"

namespace vekaton {
namespace {

using testing::ScratchFolder;

TEST(SaveJournalTest, ACutShortSaveIsUndoneAndAFinishedOneLeavesNothing) {
    ScratchFolder folder;
    folder.Write("Demo.dsf", "old layout");
    folder.Write("Demo.gau", "old gauges");
    const std::vector<std::string> names{"Demo.dsf", "Demo.gau", "Demo.details"};
    ASSERT_FALSE(SaveJournal::Begin(folder.Path(), names));
    // The save wrote the layout and made the details, then was killed.
    folder.Write("Demo.dsf", "new layout");
    folder.Write("Demo.details", "new details");
    const SaveJournal::Undone undone = SaveJournal::UndoUnfinished(folder.Path());
    EXPECT_FALSE(undone.failed);
    EXPECT_NE(undone.message.find("did not finish"), std::string::npos) << undone.message;
    EXPECT_EQ(folder.Read("Demo.dsf"), "old layout");
    EXPECT_EQ(folder.Read("Demo.gau"), "old gauges");
    EXPECT_FALSE(std::filesystem::exists(folder / "Demo.details")) << "made by the cut save";
    EXPECT_FALSE(std::filesystem::exists(folder / SaveJournal::kFolderName));
    EXPECT_TRUE(SaveJournal::UndoUnfinished(folder.Path()).message.empty()) << "once only";

    ASSERT_FALSE(SaveJournal::Begin(folder.Path(), names));
    folder.Write("Demo.dsf", "newer layout");
    SaveJournal::Finish(folder.Path());
    EXPECT_TRUE(SaveJournal::UndoUnfinished(folder.Path()).message.empty());
    EXPECT_EQ(folder.Read("Demo.dsf"), "newer layout");
}

TEST(SaveJournalTest, AJournalWithoutItsMarkerIsASaveThatNeverBeganAndADamagedOneIsLeftAlone) {
    ScratchFolder folder;
    folder.Write("Demo.cfg", "kept");
    std::filesystem::create_directory(folder / SaveJournal::kFolderName);
    folder.Write(std::string(SaveJournal::kFolderName) + "/0.old", "stale");
    EXPECT_TRUE(SaveJournal::UndoUnfinished(folder.Path()).message.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / SaveJournal::kFolderName));
    EXPECT_EQ(folder.Read("Demo.cfg"), "kept");

    std::filesystem::create_directory(folder / SaveJournal::kFolderName);
    folder.Write(std::string(SaveJournal::kFolderName) + "/saving",
                 "Vekaton save journal 1\nc 9:../escape\n");
    const SaveJournal::Undone undone = SaveJournal::UndoUnfinished(folder.Path());
    EXPECT_TRUE(undone.failed);
    EXPECT_EQ(folder.Read("Demo.cfg"), "kept");
}

TEST(SaveJournalTest, NamesAreLengthPrefixedSoNoNameStartsALine) {
    const std::vector<SaveJournalEntry> entries{{true, "a\nc 3:xyz"}, {false, "Demo.gau"}};
    const auto back = ParseSaveJournal(FormatSaveJournal(entries));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, entries);
    EXPECT_FALSE(ParseSaveJournal("Vekaton save journal 1\nc 4:ab\n"));
}

}  // namespace
}  // namespace vekaton
