// A set file is never written larger than its reader takes: the save is refused with a message
// and the file on disk, and its backup, stay as they were.
#include <gtest/gtest.h>

#include <cstdio>

#include "dashboard/LayoutFile.h"
#include "files/ScratchFolder.h"
#include "set/ConfigurationSet.h"
#include "set/RecoveryStore.h"
#include "set/SetFileReader.h"

namespace vekaton {
namespace {

TEST(SaveLimit, ALayoutOverItsLimitIsNotWrittenAndTheOldOneStays) {
    testing::ScratchFolder folder;
    folder.Write("Default.Dsf", "old layout");
    folder.Write("Default_bak.dsf", "older layout");
    ConfigurationSet set(folder.Path());

    // Just under the limit with the records and the trailer; one more label goes over.
    StreamComponent big;
    big.className = "TLabel";
    big.name = "USERLABEL1";
    const std::size_t chunk = 60'000;
    // Each "DataNNNN" property is its name (1 + 8 bytes), its type and length (5) and the data.
    const std::size_t perProperty = chunk + 14;
    const std::size_t count = (kMaxLayoutFileSize - 2 * chunk) / perProperty;
    for (std::size_t i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Data%04zu", i);
        big.properties.push_back({name, StreamValue::Binary(std::string(chunk, 'x'))});
    }
    std::string bytes;
    ASSERT_FALSE(WriteLayoutBytes({big}, LayoutTrailer{}, bytes));
    // The last one fills the file to 100 bytes short of the limit ("Last", type, length: 10).
    const std::size_t last = kMaxLayoutFileSize - 100 - bytes.size() - 10;
    big.properties.push_back({"Last", StreamValue::Binary(std::string(last, 'x'))});
    bytes.clear();
    ASSERT_FALSE(WriteLayoutBytes({big}, LayoutTrailer{}, bytes));
    ASSERT_EQ(bytes.size(), kMaxLayoutFileSize - 100);
    StreamComponent added;
    added.className = "TLabel";
    added.name = "USERLABEL2";
    added.properties.push_back({"Caption", StreamValue::Text(std::string(250, 'c'))});

    const auto error = set.WriteLayout({big, added}, LayoutTrailer{});
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("\"Default.Dsf\" was not saved: it would be "), std::string::npos)
        << *error;
    EXPECT_NE(error->find("more than the 64 MB a layout file may hold"), std::string::npos);
    EXPECT_EQ(folder.Read("Default.Dsf"), "old layout");
    EXPECT_EQ(folder.Read("Default_bak.dsf"), "older layout");

    EXPECT_FALSE(set.WriteLayout({added}, LayoutTrailer{})) << "a layout within the limit saves";
    EXPECT_EQ(folder.Read("Default_bak.dsf"), "old layout");
}

TEST(SaveLimit, EveryKindOfSetFileHasItsReadersLimit) {
    EXPECT_EQ(SetFileTypeOf("Demo.Dsf"), &kLayoutFileType);
    EXPECT_EQ(SetFileTypeOf("my.car.GAU"), &kGaugeListType);
    EXPECT_EQ(SetFileTypeOf("Demo.cfg"), &kParameterFileType);
    EXPECT_EQ(SetFileTypeOf("Demo.ini"), &kSettingsFileType);
    EXPECT_EQ(SetFileTypeOf("VEKATON.INI"), &kSetPointerType);
    EXPECT_EQ(SetFileTypeOf("drive.Dat"), nullptr);
    EXPECT_FALSE(SaveSizeProblem("Demo.ini", kSettingsFileType.maxBytes));
    EXPECT_TRUE(SaveSizeProblem("Demo.ini", kSettingsFileType.maxBytes + 1));

    // A restore from recovery copies goes through the same check.
    testing::ScratchFolder folder;
    folder.Write("Demo.ini", "ComPort=1\r\n");
    RecoverySnapshot snapshot;
    snapshot.setFolder = folder.Path().string();
    snapshot.files = {{"Demo.ini", std::string(kSettingsFileType.maxBytes + 1, 'x')}};
    const auto errors = RestoreSnapshot(snapshot);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("64 KB a settings file may hold"), std::string::npos) << errors[0];
    EXPECT_EQ(folder.Read("Demo.ini"), "ComPort=1\r\n");
}

}  // namespace
}  // namespace vekaton
