// Saving a set as a whole: Save, Save Config Info, Load Config Files, recovery copies, closing.
#include <gtest/gtest.h>

#include <algorithm>

#include "SessionTestRig.h"

namespace vekaton {
namespace {

using testing::kParameters;
using testing::SessionRig;
using testing::SettingsText;

// Where in `errors` a message naming `file` stands; errors.size() when none does.
std::size_t IndexNaming(const std::vector<std::string>& errors, const std::string& file) {
    const auto found = std::find_if(errors.begin(), errors.end(), [&](const std::string& error) {
        return error.find(file) != std::string::npos;
    });
    return static_cast<std::size_t>(found - errors.begin());
}

TEST(SessionSave, WritesEveryFileLayoutFirstAndSettingsLast) {
    SessionRig rig;
    rig.session.Open();
    // Each target is a folder, so every write fails and says so, in the order it was tried.
    for (const char* name :
         {"Default.Dsf", "Default.Gau", "Default.cfg", "Vekaton.ini", "Default.Ini"}) {
        std::filesystem::create_directory(rig.folder / name);
    }
    const std::vector<std::string> errors = rig.session.Save();
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_EQ(IndexNaming(errors, "Default.Dsf"), 0u);
    EXPECT_EQ(IndexNaming(errors, "Default.Gau"), 1u);
    EXPECT_EQ(IndexNaming(errors, "Default.cfg"), 2u);
    EXPECT_EQ(IndexNaming(errors, "Vekaton.ini"), 3u);
    EXPECT_EQ(IndexNaming(errors, "Default.Ini"), 4u);
}

TEST(SessionSave, AFileThatFailsDoesNotStopTheOthers) {
    SessionRig rig;
    rig.folder.Write("Default.cfg", kParameters);
    rig.folder.Write("Default.Ini", SettingsText(100));
    rig.session.Open();
    std::filesystem::create_directory(rig.folder / "Default.Gau");
    const std::vector<std::string> errors = rig.session.Save();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Default.Gau"), std::string::npos) << errors[0];
    EXPECT_TRUE(rig.folder.Exists("Default.Dsf"));
    EXPECT_TRUE(rig.folder.Exists("Vekaton.ini"));
    EXPECT_NE(rig.folder.Read("Default.Ini").find("SampleRate=100\r\n"), std::string::npos);
    EXPECT_NE(rig.folder.Read("Default.cfg").find("Coolant"), std::string::npos);
}

TEST(SessionSave, SnapshotHoldsWhatASaveWritesInTheSameOrder) {
    SessionRig rig;
    rig.folder.Write("Vekaton.Ini", "Car\r\n");
    rig.folder.Write("Car.cfg", kParameters);
    rig.folder.Write("Car.ini", SettingsText(100));
    rig.session.Open();
    rig.session.Dashboard().AddItem(ItemKind::Label, 0);
    rig.host.window.placement = WindowPlacement{0, 0, 640, 480, 2};
    const RecoverySnapshot snapshot = rig.session.Snapshot();
    EXPECT_EQ(snapshot.setName, "Car");
    EXPECT_EQ(snapshot.setFolder, rig.folder.Path().string());
    ASSERT_TRUE(rig.session.Save().empty());
    std::vector<std::string> names;
    for (const auto& [name, contents] : snapshot.files) {
        names.push_back(name);
        EXPECT_EQ(rig.folder.Read(name), contents) << name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Car.dsf", "Car.gau", "Car.cfg", "Car.ini"}));
}

TEST(SessionSave, DetailsFileComesBackWithItsUnknownKeysAndIsCopiedToRecovery) {
    SessionRig rig;
    rig.folder.Write("Vekaton.Ini", "Car\r\n");
    rig.folder.Write("Car.cfg", kParameters);
    rig.folder.Write("Car.ini", SettingsText(100));
    rig.folder.Write("Car.details",
                     "; from the library\r\n[1]\r\nunit=\u00b0C\r\nwarn-high=110\r\n"
                     "gauge-style=needle\r\n[2.3]\r\nactive-when-clear=yes\r\n");
    rig.session.Open();
    const PositionDetails* coolant = rig.session.Details().Find(1);
    ASSERT_NE(coolant, nullptr);
    EXPECT_EQ(coolant->unit, "\u00b0C");
    EXPECT_EQ(coolant->warnHigh, 110.0);
    rig.session.Details().At(1).warnLow = -10.0;
    ASSERT_TRUE(rig.session.Save().empty());
    const std::string saved = rig.folder.Read("Car.details");
    EXPECT_NE(saved.find("; from the library\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("gauge-style=needle\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("warn-low=-10\r\n"), std::string::npos) << saved;
    EXPECT_TRUE(rig.folder.Exists("Car_bak.details"));

    // A recovery copy holds what the save wrote; a fresh start reads it all back.
    const RecoverySnapshot snapshot = rig.session.Snapshot();
    const auto copied = std::find_if(snapshot.files.begin(), snapshot.files.end(),
                                     [](const auto& file) { return file.first == "Car.details"; });
    ASSERT_NE(copied, snapshot.files.end());
    EXPECT_EQ(copied->second, saved);
    Session again(rig.folder.Path());
    OpenOptions options;
    options.dashboard = false;
    again.Open(options);
    ASSERT_NE(again.Details().Find(1), nullptr);
    EXPECT_EQ(again.Details().Find(1)->warnLow, -10.0);
    ASSERT_NE(again.Details().FindBit(2, 3), nullptr);
    EXPECT_TRUE(again.Details().FindBit(2, 3)->activeWhenClear);
}

TEST(SessionSave, ASetWithoutDetailsGetsNoDetailsFile) {
    SessionRig rig;
    rig.folder.Write("Default.cfg", kParameters);
    rig.session.Open();
    ASSERT_TRUE(rig.session.Save().empty());
    EXPECT_FALSE(rig.folder.Exists("Default.details"));
}

TEST(SessionSave, DefaultSetIsNamedByItsFilesInTheSnapshot) {
    SessionRig rig;
    rig.session.Open();
    EXPECT_EQ(rig.session.Snapshot().setName, "Default");
}

TEST(SessionSave, SaveAsRenamesTheSetAndWritesItWhole) {
    SessionRig rig;
    rig.folder.Write("Default.cfg", kParameters);
    rig.folder.Write("Default.Ini", SettingsText(100));
    rig.session.Open();
    const int flushesBefore = rig.port.flushes;
    const std::vector<std::string> errors = rig.session.SaveAs("Track");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(rig.port.flushes, flushesBefore + 1) << "the port's input is discarded once";
    for (const char* name : {"Track.cfg", "Track.ini", "Track.Dsf", "Track.Gau"}) {
        EXPECT_TRUE(rig.folder.Exists(name)) << name;
    }
    EXPECT_EQ(rig.folder.Read("Vekaton.ini"), "Track\r\n");
    EXPECT_EQ(rig.folder.Read("Track.ini"), rig.folder.Read("Default.Ini"));
    EXPECT_EQ(rig.session.Set().Names().setName, "Track");
}

TEST(SessionSave, LoadWritesThePointerAndReadsTheChosenSet) {
    SessionRig rig;
    rig.session.Open();
    rig.folder.Write("Other.cfg", "\r\n2,1,0,Throttle,A/2.55\r\nEND\r\n");
    rig.folder.Write("Other.ini", SettingsText(250));
    rig.host.events.clear();
    EXPECT_FALSE(rig.session.Load("Other").has_value());
    EXPECT_EQ(rig.folder.Read("Vekaton.ini"), "Other\r\n");
    EXPECT_EQ(rig.session.Table().At(2).Descriptions[0], "Throttle");
    EXPECT_EQ(rig.session.Settings().sampleRate, 250);
    ASSERT_FALSE(rig.host.events.empty());
    EXPECT_EQ(rig.host.events.front(), "opening");
    EXPECT_EQ(rig.host.events[1], "caption Vekaton v3.02d  : Other");
}

TEST(SessionSave, CloseStopsTheRunDiscardsInputClosesThePortThenSaves) {
    SessionRig rig;
    rig.folder.Write("Default.Ini", SettingsText(100));
    rig.session.Open();
    rig.session.GetEngine().PauseClick();
    ASSERT_TRUE(rig.session.GetEngine().Running());
    ASSERT_FALSE(rig.session.GetEngine().StartRecording(rig.folder / "run.dat").has_value());
    rig.host.events.clear();
    const int flushesBefore = rig.port.flushes;
    EXPECT_TRUE(rig.session.Close().empty());
    EXPECT_FALSE(rig.session.GetEngine().Running());
    EXPECT_FALSE(rig.session.GetEngine().Recording());
    EXPECT_GT(rig.port.flushes, flushesBefore);
    EXPECT_EQ(rig.host.events, (std::vector<std::string>{"close port"}));
    EXPECT_EQ(rig.host.captures, 1) << "the layout is taken from the window once, for its file";
    EXPECT_TRUE(rig.folder.Exists("Default.Dsf"));
    EXPECT_TRUE(rig.folder.Exists("Run.dat") || rig.folder.Exists("run.dat"));
}

}  // namespace
}  // namespace vekaton
