// An imported set on disk: its files, the set pointer, and never an old set overwritten.
#include <gtest/gtest.h>

#include "AdxTestFiles.h"
#include "definitions/ImportedSet.h"
#include "files/ScratchFolder.h"
#include "set/SetNames.h"

namespace vekaton {
namespace {

std::unique_ptr<AdxImport> Typical() {
    AdxImportResult result =
        ImportAdxFile(std::filesystem::path(VEKATON_TEST_DATA_DIR) / "adx" / "typical.adx");
    EXPECT_TRUE(result.import) << result.error;
    return std::move(result.import);
}

TEST(ImportedSetTest, TheDefaultNameIsTheFilesBaseName) {
    EXPECT_EQ(DefaultImportSetName("/x/A140.adx"), "A140");
    EXPECT_EQ(DefaultImportSetName("my.car.v2.adx"), "my_car_v2");
    EXPECT_EQ(DefaultImportSetName("noextension"), "noextension");
    EXPECT_EQ(DefaultImportSetName(".adx"), "_adx");
    EXPECT_TRUE(ImportSetNameProblem("a.b"));
    EXPECT_TRUE(ImportSetNameProblem("../up"));
    EXPECT_FALSE(ImportSetNameProblem("My Car"));
}

TEST(ImportedSetTest, WritesTheSetItsReportAndThePointerToIt) {
    testing::ScratchFolder folder;
    folder.Write("Vekaton.Ini", "Demo\r\n");
    const auto import = Typical();
    std::vector<std::filesystem::path> written;
    ASSERT_EQ(WriteImportedSet(folder.Path(), "Car", *import, "typical.adx", &written),
              std::nullopt);
    // Settings, parameters, report, details, gauge list, layout, then the pointer.
    EXPECT_EQ(written.size(), 7U);
    EXPECT_NE(folder.Read("Car.details").find("[2]\r\nunit=RPM\r\n"), std::string::npos);
    EXPECT_FALSE(folder.Read("Car.gau").empty());
    const std::string ini = folder.Read("Car.ini");
    EXPECT_NE(ini.find("RequestString=$F4 $57 $01 $00 $B4\r\n"), std::string::npos);
    EXPECT_NE(ini.find("# Bytes of Data=20\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Use CheckSum=TRUE\r\nRequestEchoed=TRUE\r\n"), std::string::npos);
    const std::string cfg = folder.Read("Car.cfg");
    EXPECT_EQ(cfg.rfind("; Made from the ADX definition typical.adx.\r\n", 0), 0U);
    EXPECT_NE(cfg.find("\r\n2,2,0,Engine Speed,A*256+B\r\n"), std::string::npos);
    EXPECT_NE(cfg.find("\r\n14,1,1,7,Loop Status\r\n"), std::string::npos);
    std::string report;
    for (const std::string& line : import->report) {
        report += line + "\r\n";
    }
    EXPECT_EQ(folder.Read("Car-import.txt"), report);
    EXPECT_EQ(LoadSetNames(folder.Path(), SetNames{}).names.setName, "Car");
}

TEST(ImportedSetTest, NeverOverwritesASetOfTheSameName) {
    testing::ScratchFolder folder;
    folder.Write("car.GAU", "old gauges");
    const auto import = Typical();
    const auto error = WriteImportedSet(folder.Path(), "Car", *import, "typical.adx", nullptr);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("exists already (\"car.GAU\")"), std::string::npos) << *error;
    EXPECT_EQ(folder.Read("car.GAU"), "old gauges");
    EXPECT_FALSE(std::filesystem::exists(folder / "Car.ini"));
    EXPECT_FALSE(std::filesystem::exists(folder / "Vekaton.ini"));
}

TEST(ImportedSetTest, AFailedWriteLeavesNothingBehind) {
    testing::ScratchFolder folder;
    // A folder where the set pointer goes: the last write fails, after the set's own files.
    std::filesystem::create_directory(folder / "Vekaton.ini");
    const auto import = Typical();
    const auto error = WriteImportedSet(folder.Path(), "Car", *import, "t.adx", nullptr);
    ASSERT_TRUE(error);
    for (const char* name : {"Car.ini", "Car.cfg", "Car-import.txt"}) {
        EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Vekaton.ini"));
}

}  // namespace
}  // namespace vekaton
