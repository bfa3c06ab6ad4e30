#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "QtApp.h"
#include "app/AppCommandLine.h"

namespace vekaton {
namespace {

AppCommandLine Parse(const QStringList& arguments) {
    return ParseAppCommandLine(QStringList{"/usr/bin/vekaton"} + arguments);
}

class AppCommandLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        testing::WriteTextFile(dir_.filePath("03142400.Dat"), "log");
        testing::WriteTextFile(dir_.filePath("Car.ini"), "ComPort=0");
    }
    QTemporaryDir dir_;
};

TEST_F(AppCommandLineTest, FolderNamedIsTheFolderToStartIn) {
    const AppCommandLine command = Parse({dir_.path()});
    EXPECT_EQ(command.action, AppCommandLine::Action::Run);
    EXPECT_EQ(command.dir, dir_.path());
    EXPECT_TRUE(command.log.isEmpty());
}

TEST_F(AppCommandLineTest, LogNamedStartsInItsFolderAndIsOpened) {
    const AppCommandLine command = Parse({dir_.filePath("03142400.Dat")});
    EXPECT_EQ(command.action, AppCommandLine::Action::Run);
    EXPECT_EQ(command.dir, dir_.path());
    EXPECT_EQ(command.log, dir_.filePath("03142400.Dat"));

    // A file of a set opens its folder only: it is no log.
    const AppCommandLine set = Parse({dir_.filePath("Car.ini")});
    EXPECT_EQ(set.dir, dir_.path());
    EXPECT_TRUE(set.log.isEmpty());
}

TEST_F(AppCommandLineTest, MissingTargetsAndDoubleFoldersAreUsageErrors) {
    const AppCommandLine missing = Parse({dir_.filePath("nothing")});
    EXPECT_EQ(missing.action, AppCommandLine::Action::UsageError);
    EXPECT_TRUE(missing.message.contains("nothing"));

    const AppCommandLine both = Parse({"--dir", dir_.path(), dir_.path()});
    EXPECT_EQ(both.action, AppCommandLine::Action::UsageError);

    const AppCommandLine two = Parse({dir_.path(), dir_.path()});
    EXPECT_EQ(two.action, AppCommandLine::Action::UsageError);
}

TEST_F(AppCommandLineTest, HelpNamesTheFolderAndLogArgument) {
    const AppCommandLine help = Parse({"--help"});
    EXPECT_EQ(help.action, AppCommandLine::Action::Help);
    EXPECT_TRUE(help.message.startsWith("usage: vekaton [--dir DIR] [--demo] [FOLDER | LOG]\n"));
}

}  // namespace
}  // namespace vekaton
