#include "set/SetNames.h"

#include <gtest/gtest.h>

#include "files/ScratchFolder.h"
#include "set/DamagedFileGuard.h"

namespace vekaton {
namespace {

using Names = std::vector<std::string>;

TEST(SetNames, StartWithTheDefaultSet) {
    const SetNames names;
    EXPECT_EQ(names.parameterFileName, "Default.cfg");
    EXPECT_EQ(names.settingsFileName, "Default.Ini");
    EXPECT_EQ(names.layoutFileName, "Default.Dsf");
    EXPECT_EQ(names.gaugeListFileName, "Default.Gau");
    EXPECT_EQ(SetCaption(""), "Vekaton v3.02d  : ");
}

TEST(SetNames, FormedFromASetName) {
    const SetNames pointer = NamesFromPointer("Car");
    EXPECT_EQ(pointer.setName, "Car");
    EXPECT_EQ(pointer.parameterFileName, "Car.cfg");
    EXPECT_EQ(pointer.settingsFileName, "Car.ini");
    EXPECT_EQ(pointer.layoutFileName, "Car.dsf");
    EXPECT_EQ(pointer.gaugeListFileName, "Car.gau");

    const SetNames chosen = NamesForChosenSet("Car");
    EXPECT_EQ(chosen.parameterFileName, "Car.cfg");
    EXPECT_EQ(chosen.settingsFileName, "Car.ini");
    EXPECT_EQ(chosen.layoutFileName, "Car.Dsf");
    EXPECT_EQ(chosen.gaugeListFileName, "Car.Gau");
}

TEST(SetNames, ChosenFileGivesTheNameUpToItsFirstDot) {
    EXPECT_EQ(SetNameFromChosenFile("my.car.cfg"), "my");
    EXPECT_EQ(SetNameFromChosenFile("/home/me/sets/Camaro.cfg"), "Camaro");
    EXPECT_EQ(SetNameFromChosenFile("/home/me.d/NoExtension"), "NoExtension");
}

TEST(SetNames, UsableNamesStayInTheFolder) {
    EXPECT_TRUE(IsUsableSetName("Camaro 1989"));
    EXPECT_TRUE(IsUsableSetName("a.b"));
    EXPECT_FALSE(IsUsableSetName(""));
    EXPECT_FALSE(IsUsableSetName(".."));
    EXPECT_FALSE(IsUsableSetName("../x"));
    EXPECT_FALSE(IsUsableSetName("a..b"));
    EXPECT_FALSE(IsUsableSetName("/etc/passwd"));
    EXPECT_FALSE(IsUsableSetName("sub/set"));
    EXPECT_FALSE(IsUsableSetName("C:\\sets\\car"));
    EXPECT_FALSE(IsUsableSetName(std::string_view("a\0b", 3)));
    EXPECT_FALSE(IsUsableSetName("tab\there"));
}

class SetPointerTest : public ::testing::Test {
  protected:
    testing::ScratchFolder folder;
    SetNames current;  // the Default names
};

TEST_F(SetPointerTest, MissingPointerKeepsTheNamesAndEndsTheCaptionWithTheSeparator) {
    SetNames earlier = NamesFromPointer("Earlier");
    const auto loaded = LoadSetNames(folder.Path(), earlier);
    EXPECT_FALSE(loaded.pointerFound);
    EXPECT_FALSE(loaded.warning);
    EXPECT_EQ(loaded.caption, "Vekaton v3.02d  : ");
    EXPECT_EQ(loaded.names.parameterFileName, "Earlier.cfg");
    EXPECT_EQ(loaded.names.setName, "");
}

TEST_F(SetPointerTest, FirstLineNamesTheSet) {
    folder.Write("Vekaton.Ini", "Camaro\r\nignored\r\n");
    const auto loaded = LoadSetNames(folder.Path(), current);
    EXPECT_TRUE(loaded.pointerFound);
    EXPECT_EQ(loaded.names, NamesFromPointer("Camaro"));
    EXPECT_EQ(loaded.caption, "Vekaton v3.02d  : Camaro");
}

TEST_F(SetPointerTest, PointerIsFoundInAnyCaseAndWithoutLineEnd) {
    folder.Write("vekaton.ini", "Van");
    EXPECT_EQ(LoadSetNames(folder.Path(), current).names.setName, "Van");
}

TEST_F(SetPointerTest, NamesThatLeaveTheFolderAreRefused) {
    for (const char* bad : {"../../etc/x", "sub/set", "..", "a\\b"}) {
        folder.Write("Vekaton.Ini", std::string(bad) + "\r\n");
        const auto loaded = LoadSetNames(folder.Path(), current);
        EXPECT_EQ(loaded.names, current) << bad;
        ASSERT_TRUE(loaded.warning) << bad;
        EXPECT_NE(loaded.warning->find(bad), std::string::npos) << *loaded.warning;
        EXPECT_EQ(loaded.caption, "Vekaton v3.02d  : ");
    }
}

TEST_F(SetPointerTest, ARefusedNameIsQuotedSafelyWithTheRealReason) {
    folder.Write("Vekaton.Ini", std::string("Car\x01\0name", 9) + "\r\n");
    auto loaded = LoadSetNames(folder.Path(), current);
    ASSERT_TRUE(loaded.warning);
    EXPECT_EQ(*loaded.warning,
              "The set name \"Car\\x01\\0name\" in \"Vekaton.Ini\" is not used: "
              "it holds a control character.");
    EXPECT_EQ(loaded.warning->find('\0'), std::string::npos);

    folder.Write("Vekaton.Ini", std::string(3000, 'x') + "/y\r\n");
    loaded = LoadSetNames(folder.Path(), current);
    ASSERT_TRUE(loaded.warning);
    EXPECT_LT(loaded.warning->size(), 300u);
    EXPECT_NE(loaded.warning->find("folder separator"), std::string::npos) << *loaded.warning;

    EXPECT_EQ(SetNameProblem("a..b"), "it holds \"..\", which could name a folder above the set's");
    EXPECT_EQ(SetNameProblem(""), "it is empty");
    EXPECT_FALSE(SetNameProblem("Camaro 1989"));
}

TEST_F(SetPointerTest, EmptyPointerIsLikeNone) {
    folder.Write("Vekaton.Ini", "\r\n");
    const auto loaded = LoadSetNames(folder.Path(), current);
    EXPECT_EQ(loaded.names, current);
    EXPECT_FALSE(loaded.warning);
}

TEST_F(SetPointerTest, WritesTheParameterFileNameUpToItsFirstDot) {
    EXPECT_FALSE(WriteSetPointer(folder.Path(), "my.car.cfg"));
    EXPECT_EQ(folder.Names(), Names{"Vekaton.ini"});
    EXPECT_EQ(folder.Read("Vekaton.ini"), "my\r\n");
    EXPECT_EQ(LoadSetNames(folder.Path(), current).names.setName, "my");
}

TEST_F(SetPointerTest, ReplacesThePointerOfAnotherCase) {
    folder.Write("Vekaton.Ini", "Old\r\n");
    EXPECT_FALSE(WriteSetPointer(folder.Path(), "New.cfg"));
    EXPECT_EQ(folder.Names(), Names{"Vekaton.Ini"});
    EXPECT_EQ(folder.Read("Vekaton.Ini"), "New\r\n");
}

TEST_F(SetPointerTest, ParameterFileNameWithoutDotWritesNothing) {
    folder.Write("Vekaton.Ini", "Old\r\n");
    EXPECT_FALSE(WriteSetPointer(folder.Path(), "NoDot"));
    EXPECT_EQ(folder.Read("Vekaton.Ini"), "Old\r\n");
}

TEST_F(SetPointerTest, UnwritablePointerIsReported) {
    std::filesystem::create_directories(folder / "Vekaton.ini" / "in-the-way");
    const auto error = WriteSetPointer(folder.Path(), "A.cfg");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Vekaton.ini"), std::string::npos);
}

TEST(DamagedFileGuard, BacksUpOnlyNotedFilesAndOnlyOnce) {
    testing::ScratchFolder folder;
    DamagedFileGuard guard;
    folder.Write("A.cfg", "damaged");
    folder.Write("B.cfg", "fine");

    const std::string note = guard.NoteDamaged(folder / "A.cfg");
    EXPECT_NE(note.find("\"A.cfg.bad\""), std::string::npos) << note;
    // The same file under another spelling of its path is the same file.
    EXPECT_TRUE(guard.IsDamaged(folder / "sub" / ".." / "A.cfg"));
    EXPECT_FALSE(guard.IsDamaged(folder / "B.cfg"));

    EXPECT_FALSE(guard.BeforeRewrite(folder / "B.cfg"));
    EXPECT_FALSE(folder.Exists("B.cfg.bad"));

    EXPECT_FALSE(guard.BeforeRewrite(folder / "A.cfg"));
    EXPECT_EQ(folder.Read("A.cfg.bad"), "damaged");
    EXPECT_EQ(folder.Read("A.cfg"), "damaged");  // a copy; the caller rewrites the file
    EXPECT_FALSE(guard.IsDamaged(folder / "A.cfg"));

    folder.Write("A.cfg", "rewritten");
    EXPECT_FALSE(guard.BeforeRewrite(folder / "A.cfg"));
    EXPECT_EQ(folder.Read("A.cfg.bad"), "damaged");
}

TEST(DamagedFileGuard, FileGoneBeforeTheRewriteNeedsNoBackup) {
    testing::ScratchFolder folder;
    DamagedFileGuard guard;
    guard.NoteDamaged(folder / "gone.ini");
    EXPECT_FALSE(guard.BeforeRewrite(folder / "gone.ini"));
    EXPECT_FALSE(folder.Exists("gone.ini.bad"));
}

}  // namespace
}  // namespace vekaton
