#include <gtest/gtest.h>

#include "files/ScratchFolder.h"
#include "set/RecoveryStore.h"

namespace vekaton::testing {
namespace {

RecoverySnapshot Snapshot(const ScratchFolder& set, std::string cfg) {
    RecoverySnapshot snapshot;
    snapshot.setFolder = set.Path().string();
    snapshot.setName = "Demo";
    snapshot.files = {{"Demo.ini", "ComPort=0\r\n"},
                      {"Demo.cfg", std::move(cfg)},
                      {"Demo.dsf", std::string("TPF0\0\x01\x02", 7)}};
    return snapshot;
}

TEST(RecoveryStoreTest, ASavedSnapshotLoadsBackWholeAndIsGoneAfterDiscard) {
    ScratchFolder store;
    ScratchFolder set;
    RecoveryStore recovery(store.Path() / "recovery");
    EXPECT_FALSE(recovery.HasSnapshot());
    std::string problem = "unset";
    EXPECT_FALSE(recovery.Load(&problem));
    EXPECT_TRUE(problem.empty()) << "no copies is not a problem";

    const RecoverySnapshot first = Snapshot(set, "1,1,0,Coolant,A*1\r\nEND\r\n");
    ASSERT_FALSE(recovery.Save(first));
    const RecoverySnapshot second = Snapshot(set, "1,1,0,Coolant,A*2\r\nEND\r\n");
    ASSERT_FALSE(recovery.Save(second));
    ASSERT_TRUE(recovery.HasSnapshot());
    EXPECT_EQ(recovery.Load(), second);

    // A new store (the next start after a crash) finds the same copies, and its own saves never
    // reuse the generation the manifest names.
    RecoveryStore nextRun(store.Path() / "recovery");
    EXPECT_EQ(nextRun.Load(), second);
    ASSERT_FALSE(nextRun.Save(first));
    EXPECT_EQ(RecoveryStore(store.Path() / "recovery").Load(), first);

    nextRun.Discard();
    EXPECT_FALSE(nextRun.HasSnapshot());
    EXPECT_FALSE(nextRun.Load());
    for (const auto& entry : std::filesystem::directory_iterator(store.Path() / "recovery")) {
        ADD_FAILURE() << "left behind: " << entry.path();
    }
}

TEST(RecoveryStoreTest, DamagedOrHostileCopiesAreRefusedNotFollowed) {
    ScratchFolder store;
    ScratchFolder set;
    RecoveryStore recovery(store.Path());
    ASSERT_FALSE(recovery.Save(Snapshot(set, "END\r\n")));

    // A data file cut short by a crash in the middle of its write.
    store.Write("1-1.data", "EN");
    std::string problem;
    EXPECT_FALSE(recovery.Load(&problem));
    EXPECT_NE(problem.find("incomplete"), std::string::npos) << problem;

    // A manifest naming a file outside the set folder, or nonsense.
    store.Write("manifest",
                "Vekaton recovery 1\r\nGeneration=1\r\nFolder=/x\r\nFile=2,../evil\r\n");
    EXPECT_FALSE(recovery.Load(&problem));
    EXPECT_FALSE(problem.empty());
    store.Write("manifest", "something else\r\n");
    EXPECT_FALSE(recovery.Load(&problem));
    EXPECT_FALSE(problem.empty());

    RecoverySnapshot bad = Snapshot(set, "END\r\n");
    bad.files.emplace_back("../outside.cfg", "x");
    EXPECT_TRUE(recovery.Save(bad).has_value());
}

TEST(RecoveryStoreTest, RestoringWritesTheSetAsASaveWouldKeepingDashboardBackups) {
    ScratchFolder store;
    ScratchFolder set;
    set.Write("Demo.DSF", "old layout");
    set.Write("DEMO.CFG", "old parameters");
    const RecoverySnapshot snapshot = Snapshot(set, "1,1,0,Coolant,A*3\r\nEND\r\n");
    EXPECT_TRUE(RestoreSnapshot(snapshot).empty());
    // Existing files are replaced under their own spelling; no second spelling appears.
    EXPECT_EQ(set.Read("DEMO.CFG"), "1,1,0,Coolant,A*3\r\nEND\r\n");
    EXPECT_EQ(set.Read("Demo.DSF"), snapshot.files[2].second);
    EXPECT_EQ(set.Read("Demo_bak.dsf"), "old layout");
    EXPECT_EQ(set.Read("Demo.ini"), "ComPort=0\r\n");
    EXPECT_EQ(set.Names(),
              (std::vector<std::string>{"DEMO.CFG", "Demo.DSF", "Demo.ini", "Demo_bak.dsf"}));
}

}  // namespace
}  // namespace vekaton::testing
