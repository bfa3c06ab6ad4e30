#include "definitions/DefinitionLibrary.h"

#include <gtest/gtest.h>

#include <set>

#include "LibraryFiles.h"
#include "files/ScratchFolder.h"
#include "set/ConfigurationSet.h"

namespace vekaton {
namespace {

std::vector<std::filesystem::path> Sources() {
    std::vector<std::filesystem::path> sources;
    for (const auto& item :
         std::filesystem::directory_iterator(testing::LibraryFolder() / "source")) {
        if (item.path().extension() == ".def") {
            sources.push_back(item.path());
        }
    }
    std::sort(sources.begin(), sources.end());
    return sources;
}

TEST(Library, TheCommittedSetsAreWhatTheirSourcesMake) {
    std::set<std::string> made;
    for (const std::filesystem::path& source : Sources()) {
        const std::string id = source.stem().string();
        const BuiltDefinition built = BuildDefinition(
            ParseDefinitionSource(testing::ReadText(source)), "definitions/source/" + id + ".def");
        ASSERT_TRUE(built.errors.empty()) << id << ": " << built.errors.front();
        EXPECT_EQ(built.id, id);
        for (const auto& [name, contents] : DefinitionFiles(built, id)) {
            EXPECT_TRUE(testing::ReadText(testing::LibraryFolder() / id / name) == contents)
                << id << "/" << name << " differs from what its source makes: run "
                << "build/src/vekaton-defgen definitions/source definitions";
        }
        made.insert(id);
    }
    EXPECT_EQ(made.size(), 12u);
    for (const LibraryEntry& entry : ListLibrary(testing::LibraryFolder())) {
        EXPECT_TRUE(made.contains(entry.id)) << entry.id << " has no source";
    }
}

TEST(Library, EveryDefinitionSaysWhatItIsFor) {
    const std::vector<LibraryEntry> entries = ListLibrary(testing::LibraryFolder());
    ASSERT_EQ(entries.size(), 12u);
    for (const LibraryEntry& entry : entries) {
        EXPECT_FALSE(entry.description.empty()) << entry.id;
        EXPECT_EQ(entry.needsStartString, entry.id == "A033" || entry.id == "A058") << entry.id;
        if (entry.needsStartString) {
            EXPECT_NE(entry.description.find("ALDL 160 interface"), std::string::npos);
        }
        const std::string header = testing::ReadText(entry.folder / (entry.id + ".cfg"));
        for (const char* line : {"; Engines: ", "; Years: ", "; Source: ", "GM data stream "}) {
            EXPECT_NE(header.find(line), std::string::npos) << entry.id << " lacks " << line;
        }
    }
    EXPECT_EQ(entries.front().id, "A033");
}

TEST(Library, TheSourceReaderNamesEveryLineItCannotUse) {
    const DefinitionSource source = ParseDefinitionSource(
        "id: X\nwhat: 1\nno colon here\nvalue | x | 1 | D | A\nflag | 3 | 9\n"
        "value | 3 | 1 | D | A | | low\nthing | 1 | 2\ntable T: 1=2 3\nflag | 3 | 1 | d | maybe\n");
    ASSERT_EQ(source.errors.size(), 7u);
    EXPECT_EQ(source.errors[0], "Line 2: unknown header key \"what\"");
    EXPECT_EQ(source.errors[2].rfind("Line 4: ", 0), 0u);
    EXPECT_EQ(source.errors[3], "Line 6: \"low\" is not a number for the minimum");
    EXPECT_EQ(source.errors[6], "Line 9: unknown option \"maybe\"");
}

TEST(Library, BuildingRefusesWhatTheSetCouldNotHold) {
    const BuiltDefinition built = BuildDefinition(
        ParseDefinitionSource("id: T\ntitle: t\nstream: T\nengines: e\nyears: y\nsource: s\n"
                              "link: talk-listen\nbaud: 8192\nrequest: F4 57 01 00 B5\n"
                              "header: 3\ndata: 4\nchecksum: yes\necho: yes\n"
                              "value | 1 | 2 | Speed, rpm | A*25\n"
                              "value | 2 | 1 | Overlap | A\n"
                              "value | 4 | 2 | Past the end | A\n"
                              "value | 3 | 1 | Bad formula | A+*\n"
                              "flag | 3 | 0 | taken by a value\n"),
        "test");
    ASSERT_EQ(built.errors.size(), 6u);
    EXPECT_NE(built.errors[0].find("sum to 0 modulo 256"), std::string::npos);
    EXPECT_NE(built.errors[1].find("hold no comma"), std::string::npos);
    EXPECT_NE(built.errors[2].find("byte 2 is defined twice"), std::string::npos);
    EXPECT_NE(built.errors[3].find("outside the 4 data bytes"), std::string::npos);
    EXPECT_NE(built.errors[4].find("cannot be built"), std::string::npos);
    EXPECT_NE(built.errors[5].find("byte 3 is defined twice"), std::string::npos);
}

class NewSetTest : public ::testing::Test {
  protected:
    NewSetResult Create(const std::string& id, const std::string& name = "",
                        const std::string& port = "", const std::string& start = "") {
        return CreateSetFromLibrary(
            testing::LibraryFolder(),
            NewSetRequest{id, folder_ / "car", name, port, start, std::nullopt});
    }
    testing::ScratchFolder folder_;
};

TEST_F(NewSetTest, WritesTheFiveFilesAndThePointerWithThePortChosen) {
    const NewSetResult result = Create("a140", "", "/dev/ttyUSB0");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.setName, "A140");
    EXPECT_EQ(result.written.size(), 6u);
    EXPECT_TRUE(result.notes.empty());

    ConfigurationSet set(folder_ / "car");
    const LoadedSetNames names = set.LoadNames();
    EXPECT_EQ(names.names.setName, "A140");
    ParameterTable table;
    table.Reset();
    const ParameterFileRead parameters = set.ReadParameters(table);
    EXPECT_TRUE(parameters.errorMessage.empty());
    EXPECT_EQ(table.At(11).Descriptions[0], "Engine speed");
    const SettingsFileRead settings = set.ReadSettings(LinkSettings{});
    EXPECT_EQ(settings.result.settings.portName, "/dev/ttyUSB0");
    EXPECT_EQ(settings.result.settings.dataBytes, 63);
    DetailsTable details;
    EXPECT_TRUE(set.ReadDetails(details).warningMessage.empty());
    ASSERT_NE(details.Find(7), nullptr);
    EXPECT_EQ(details.Find(7)->unit, "\u00b0C");
    EXPECT_TRUE(set.ReadGaugeList().result.warnings.empty());
}

TEST_F(NewSetTest, NeverOverwritesASetOfThatName) {
    ASSERT_FALSE(Create("A140", "Car").error);
    folder_.Write("car/Car.cfg", "mine");
    const NewSetResult again = Create("A172", "Car");
    ASSERT_TRUE(again.error);
    EXPECT_FALSE(again.usageError);
    EXPECT_NE(again.error->find("already"), std::string::npos);
    EXPECT_EQ(folder_.Read("car/Car.cfg"), "mine");
    // A set of any of the five files counts, whatever its letter case.
    ASSERT_FALSE(Create("A172", "Other").error);
    std::filesystem::remove(folder_ / "car" / "Other.cfg");
    EXPECT_TRUE(Create("A172", "OTHER").error);
}

TEST_F(NewSetTest, AskedWronglyItSaysSoAndWritesNothing) {
    const NewSetResult unknown = Create("A999");
    EXPECT_TRUE(unknown.usageError);
    EXPECT_NE(unknown.error->find("--list"), std::string::npos);
    const NewSetResult badName = Create("A140", "../up");
    EXPECT_TRUE(badName.usageError);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "car"));
}

TEST_F(NewSetTest, AStreamOfTheInterfaceAsksForItsStartString) {
    const NewSetResult plain = Create("A033");
    ASSERT_FALSE(plain.error);
    ASSERT_EQ(plain.notes.size(), 1u);
    EXPECT_NE(plain.notes[0].find("start string"), std::string::npos);
    const NewSetResult started = Create("A058", "", "", "$FF $00");
    ASSERT_FALSE(started.error);
    EXPECT_TRUE(started.notes.empty());
    ConfigurationSet set(folder_ / "car");
    set.UsePointerSet("A058");
    const SettingsFileRead settings = set.ReadSettings(LinkSettings{});
    EXPECT_EQ(settings.result.settings.requestString, "$FF $00");
    EXPECT_EQ(settings.result.settings.syncMode, SyncMode::Aldl160);
}

}  // namespace
}  // namespace vekaton
