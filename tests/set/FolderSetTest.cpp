#include "set/FolderSet.h"

#include <gtest/gtest.h>

#include "files/ScratchFolder.h"

namespace vekaton {
namespace {

TEST(FolderSet, AFolderWithoutAnyFileStartUpReadsHoldsNoSet) {
    testing::ScratchFolder folder;
    EXPECT_TRUE(FolderHoldsNoSet(folder.Path()));
    // Other files are no set: a log, a firmware image, someone's notes.
    folder.Write("drive.csv", "a,b\n");
    folder.Write("notes.txt", "hello");
    folder.Write("Other.Ini", "");
    EXPECT_TRUE(FolderHoldsNoSet(folder.Path()));
}

TEST(FolderSet, AnyFileOfASetInAnyLetterCaseCounts) {
    for (const char* name : {"Vekaton.Ini", "VEKATON.INI", "Default.Ini", "default.cfg",
                             "Default.details", "DEFAULT.GAU", "Default.dsf"}) {
        testing::ScratchFolder folder;
        folder.Write(name, "");
        EXPECT_FALSE(FolderHoldsNoSet(folder.Path())) << name;
    }
}

TEST(FolderSet, AFolderThatIsNotThereOrNoFolderIsNotOfferedOver) {
    testing::ScratchFolder folder;
    EXPECT_FALSE(FolderHoldsNoSet(folder / "missing"));
    folder.Write("file", "");
    EXPECT_FALSE(FolderHoldsNoSet(folder / "file"));
}

}  // namespace
}  // namespace vekaton
