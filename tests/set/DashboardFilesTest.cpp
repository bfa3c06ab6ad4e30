#include "set/DashboardFiles.h"

#include <gtest/gtest.h>

#include "dashboard/LayoutTexts.h"
#include "files/ScratchFolder.h"
#include "set/ConfigurationSet.h"
#include "set/DamagedFileGuard.h"

#ifndef _WIN32  // POSIX-only: file size limits
#include "files/FileSizeLimit.h"
#endif

namespace vekaton {
namespace {

using Names = std::vector<std::string>;

// Answers every question with OK and keeps what it was shown.
class OkPrompts : public LayoutReadPrompts {
  public:
    void ShowMessage(std::string_view text) override { shown.emplace_back(text); }
    bool AskOkCancel(std::string_view) override { return true; }
    std::vector<std::string> shown;
};

StreamComponent Label(const std::string& name, const std::string& caption) {
    StreamComponent c;
    c.className = "TLabel";
    c.name = name;
    c.properties = {{"Caption", StreamValue::Text(caption)}};
    return c;
}

GaugeListEntry Gauge(const std::string& name, int position) {
    GaugeListEntry e;
    e.name = name;
    e.position = position;
    return e;
}

class DashboardFilesTest : public ::testing::Test {
  protected:
    std::string LayoutBytes(const std::string& caption) {
        std::string bytes;
        EXPECT_FALSE(WriteLayoutBytes({Label("Label1", caption)}, trailer_, bytes));
        return bytes;
    }
    testing::ScratchFolder folder_;
    DamagedFileGuard guard_;
    LayoutTrailer trailer_{0, 0, 800, 600, 0, 1};
    const std::vector<std::string> names_{"Label1"};
};

TEST(DashboardBackupName, IsTheNameUpToItsFirstDotAndTheSuffix) {
    EXPECT_EQ(DashboardBackupName("Demo.dsf", kLayoutBackupSuffix), "Demo_bak.dsf");
    EXPECT_EQ(DashboardBackupName("Default.Dsf", kLayoutBackupSuffix), "Default_bak.dsf");
    EXPECT_EQ(DashboardBackupName("my.car.Gau", kGaugeListBackupSuffix), "my_bak.gau");
    EXPECT_EQ(DashboardBackupName("NoDot", kGaugeListBackupSuffix), "NoDot_bak.gau");
}

TEST_F(DashboardFilesTest, BackupIsACopyOfTheFileAsItWasBeforeTheSave) {
    EXPECT_FALSE(
        WriteLayoutFile(folder_.Path(), "Demo.dsf", {Label("Label1", "first")}, trailer_, guard_));
    EXPECT_EQ(folder_.Names(), Names{"Demo.dsf"});  // nothing to back up yet
    EXPECT_FALSE(
        WriteLayoutFile(folder_.Path(), "Demo.dsf", {Label("Label1", "second")}, trailer_, guard_));
    EXPECT_EQ(folder_.Read("Demo_bak.dsf"), LayoutBytes("first"));
    EXPECT_EQ(folder_.Read("Demo.dsf"), LayoutBytes("second"));
    EXPECT_FALSE(
        WriteLayoutFile(folder_.Path(), "Demo.dsf", {Label("Label1", "third")}, trailer_, guard_));
    EXPECT_EQ(folder_.Read("Demo_bak.dsf"), LayoutBytes("second"));

    // The gauge list likewise; an old backup of another letter case is the one replaced.
    folder_.Write("Demo.Gau", "USERLABEL1,0,\r\n");
    folder_.Write("demo_BAK.gau", "older\r\n");
    EXPECT_FALSE(
        WriteGaugeListFile(folder_.Path(), "Demo.gau", {Gauge("USERANGULARGAUGE1", 4)}, guard_));
    EXPECT_EQ(folder_.Read("demo_BAK.gau"), "USERLABEL1,0,\r\n");
    EXPECT_EQ(folder_.Read("Demo.Gau"), "USERANGULARGAUGE1,0,4,8,0\r\n");
    EXPECT_EQ(folder_.Names(), (Names{"Demo.Gau", "Demo.dsf", "Demo_bak.dsf", "demo_BAK.gau"}));
}

#ifndef _WIN32  // POSIX-only: a file size limit stands in for a full disk
TEST_F(DashboardFilesTest, FailedWriteLeavesTheFileAndItsBackupWhole) {
    const std::string old = LayoutBytes("old");
    folder_.Write("Demo.dsf", old);
    std::optional<std::string> error;
    {
        testing::FileSizeLimit limit(old.size() + 8);  // the disk fills up during the save
        error = WriteLayoutFile(folder_.Path(), "Demo.dsf",
                                {Label("Label1", std::string(4000, 'x'))}, trailer_, guard_);
    }
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Demo.dsf"), std::string::npos) << *error;
    EXPECT_EQ(folder_.Read("Demo.dsf"), old);
    EXPECT_EQ(folder_.Read("Demo_bak.dsf"), old);
    EXPECT_EQ(folder_.Names(), (Names{"Demo.dsf", "Demo_bak.dsf"}));
}
#endif

TEST_F(DashboardFilesTest, NoBackupNoSave) {
    folder_.Write("Demo.gau", "USERLABEL1,0,\r\n");
    std::filesystem::create_directories(folder_ / "Demo_bak.gau" / "inside");
    const auto error = WriteGaugeListFile(folder_.Path(), "Demo.gau", {}, guard_);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("was not saved"), std::string::npos) << *error;
    EXPECT_EQ(folder_.Read("Demo.gau"), "USERLABEL1,0,\r\n");
}

TEST_F(DashboardFilesTest, GaugeListWithDamagedLinesIsKeptAsBadOnceAndReportedByLine) {
    const std::string original = "USERLABEL1,0,\r\nUSERANGULARGAUGE1,zero,5,8,0\r\n";
    folder_.Write("Demo.gau", original);
    const GaugeListFileRead read = ReadGaugeListFile(folder_.Path(), "Demo.gau", guard_);
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.result.entries.size(), 1u);
    EXPECT_NE(read.warningMessage.find("Line 2"), std::string::npos) << read.warningMessage;
    EXPECT_NE(read.warningMessage.find("Demo.gau.bad"), std::string::npos) << read.warningMessage;

    EXPECT_FALSE(WriteGaugeListFile(folder_.Path(), "Demo.gau", read.result.entries, guard_));
    EXPECT_EQ(folder_.Read("Demo.gau.bad"), original);
    EXPECT_EQ(folder_.Read("Demo_bak.gau"), original);
    EXPECT_EQ(folder_.Read("Demo.gau"), "USERLABEL1,0,\r\n");
    EXPECT_FALSE(WriteGaugeListFile(folder_.Path(), "Demo.gau", {}, guard_));
    EXPECT_EQ(folder_.Read("Demo.gau.bad"), original);
}

TEST_F(DashboardFilesTest, OversizedFilesAreRefusedUnreadAndKept) {
    folder_.Write("Demo.gau", "");
    std::filesystem::resize_file(folder_ / "Demo.gau", kMaxGaugeListFileSize + 1);
    const GaugeListFileRead read = ReadGaugeListFile(folder_.Path(), "Demo.gau", guard_);
    EXPECT_TRUE(read.found);
    EXPECT_TRUE(read.result.entries.empty());
    EXPECT_NE(read.errorMessage.find("4 MB"), std::string::npos) << read.errorMessage;
    // Kept as it is: neither copied to ".bad" (4 MB of it) nor overwritten when the set is saved.
    EXPECT_TRUE(guard_.IsKept(folder_ / "Demo.gau"));
    EXPECT_FALSE(guard_.IsDamaged(folder_ / "Demo.gau"));
    EXPECT_TRUE(WriteGaugeListFile(folder_.Path(), "Demo.gau", {}, guard_));
    EXPECT_FALSE(folder_.Exists("Demo.gau.bad"));
    EXPECT_EQ(std::filesystem::file_size(folder_ / "Demo.gau"), kMaxGaugeListFileSize + 1);

    folder_.Write("Demo.dsf", "");
    std::filesystem::resize_file(folder_ / "Demo.dsf", kMaxLayoutFileSize + 1);
    OkPrompts prompts;
    const LayoutFileRead layout =
        ReadLayoutFile(folder_.Path(), "Demo.dsf", names_, prompts, guard_);
    EXPECT_NE(layout.errorMessage.find("64 MB"), std::string::npos) << layout.errorMessage;
    EXPECT_EQ(layout.result.records.size(), 1u);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DashboardFilesTest, DamagedLayoutTakesTheRecoveryPathAndIsKeptAsBad) {
    const std::string whole = LayoutBytes("Oil");
    const std::string cut = whole.substr(0, 20);
    folder_.Write("Demo.dsf", cut);
    OkPrompts prompts;
    const LayoutFileRead read = ReadLayoutFile(folder_.Path(), "Demo.dsf", names_, prompts, guard_);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0], "ERROR Reading DataStream at Pos:0, Trying to Read: Label1");
    EXPECT_EQ(prompts.shown[1], texts::kUnableToRecover);
    EXPECT_NE(read.warningMessage.find("Demo.dsf.bad"), std::string::npos) << read.warningMessage;
    EXPECT_FALSE(read.result.records[0]);

    EXPECT_FALSE(
        WriteLayoutFile(folder_.Path(), "Demo.dsf", {Label("Label1", "Oil")}, trailer_, guard_));
    EXPECT_EQ(folder_.Read("Demo.dsf.bad"), cut);
    EXPECT_EQ(folder_.Read("Demo.dsf"), whole);
}

TEST_F(DashboardFilesTest, WholeLayoutReadsBackWithoutQuestions) {
    EXPECT_FALSE(
        WriteLayoutFile(folder_.Path(), "Demo.dsf", {Label("Label1", "Oil")}, trailer_, guard_));
    OkPrompts prompts;
    const LayoutFileRead read = ReadLayoutFile(folder_.Path(), "demo.DSF", names_, prompts, guard_);
    EXPECT_TRUE(read.found);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(read.warningMessage.empty());
    ASSERT_TRUE(read.result.records[0]);
    EXPECT_EQ(*read.result.records[0], Label("Label1", "Oil"));
    EXPECT_EQ(read.result.trailer, trailer_);

    const LayoutFileRead missing =
        ReadLayoutFile(folder_.Path(), "Other.dsf", names_, prompts, guard_);
    EXPECT_FALSE(missing.found);
    EXPECT_TRUE(missing.errorMessage.empty());
}

TEST(ConfigurationSetFiles, HeaderCommentsGoAlongIntoAnotherFolder) {
    testing::ScratchFolder first;
    testing::ScratchFolder second;
    first.Write("Car.cfg", "; my car\r\n; 1989 TPI\r\n\r\n1,1,0,RPM,A*25\r\nEND\r\n");
    ConfigurationSet set(first.Path());
    set.UsePointerSet("Car");
    ParameterTable table;
    set.ReadParameters(table);

    set.MoveToFolder(second.Path());
    set.UseChosenSet("Other");
    ASSERT_FALSE(set.WriteParameters(table));
    EXPECT_EQ(second.Read("Other.cfg"), "; my car\r\n; 1989 TPI\r\n\r\n1,1,0,RPM,A*25\r\nEND\r\n");

    // The dashboard files are written in the new folder too, under the chosen names.
    ASSERT_FALSE(set.WriteGaugeList({Gauge("USERANGULARGAUGE1", 2)}));
    ASSERT_FALSE(set.WriteLayout({Label("Label1", "x")}, LayoutTrailer{}));
    EXPECT_TRUE(second.Exists("Other.Gau"));
    EXPECT_TRUE(second.Exists("Other.Dsf"));
    EXPECT_EQ(set.ReadGaugeList().result.entries.size(), 1u);
}

TEST(ConfigurationSetFiles, DroppedEntriesMakeTheFileBeKept) {
    testing::ScratchFolder folder;
    folder.Write("Demo.gau", "USERWHATEVER1,0,1,8,0\r\n");
    ConfigurationSet set(folder.Path());
    set.UsePointerSet("Demo");
    const GaugeListFileRead read = set.ReadGaugeList();
    ASSERT_EQ(read.result.entries.size(), 1u);  // read, but the window cannot create it
    EXPECT_NE(set.NoteDropped("demo.GAU").find("Demo.gau.bad"), std::string::npos);
    ASSERT_FALSE(set.WriteGaugeList({}));
    EXPECT_EQ(folder.Read("Demo.gau.bad"), "USERWHATEVER1,0,1,8,0\r\n");
}

}  // namespace
}  // namespace vekaton
