// "PIC Flash Update": the loader is found where it should be, runs without a shell with its
// arguments while the window waits, and its absence or failure is said plainly.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "QtApp.h"
#include "app/FirmwareLoader.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "io/PortController.h"
#include "support/SetFilesForTest.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::LinkSetUp;
using testing::SettingsFile;
using testing::TestApp;
using testing::WaitUntil;
using testing::WriteTextFile;

void WriteScript(const QString& path, const QString& body) {
    WriteTextFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
}

TEST(FirmwareLoaderTest, TheLoaderIsTheSettingOrTheOneBesideTheProgramOrOnThePath) {
    TestApp();
    CurrentFolder set;
    CurrentFolder program;
    QString error;
    // Nothing anywhere: said plainly, naming where it was looked for.
    const QString savedPath = qEnvironmentVariable("PATH");
    qputenv("PATH", "/nonexistent");
    auto command = FirmwareLoader::Resolve("", set.Path(), program.Path(), &error);
    EXPECT_FALSE(command);
    EXPECT_TRUE(error.contains("\"Loader\" is not there")) << error.toStdString();
    EXPECT_TRUE(error.contains(program.Path()));
    // Beside the program.
    WriteScript(program.File("Loader"), "exit 0");
    command = FirmwareLoader::Resolve("", set.Path(), program.Path(), &error);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, program.File("Loader"));
    EXPECT_TRUE(command->arguments.isEmpty());
    // On the PATH.
    QFile::remove(program.File("Loader"));
    qputenv("PATH", program.Path().toUtf8());
    WriteScript(program.File("Loader"), "exit 0");
    command = FirmwareLoader::Resolve("", set.Path(), "/nonexistent", &error);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, program.File("Loader"));
    qputenv("PATH", savedPath.toUtf8());

    // A setting with blanks in its path and arguments, relative to the set's folder.
    QDir(set.Path()).mkdir("pic tools");
    WriteScript(set.File("pic tools/flash"), "exit 0");
    command = FirmwareLoader::Resolve("\"pic tools/flash\" --port /dev/ttyUSB0 -v", set.Path(),
                                      program.Path(), &error);
    ASSERT_TRUE(command) << error.toStdString();
    EXPECT_EQ(command->program, set.File("pic tools/flash"));
    EXPECT_EQ(command->arguments, (QStringList{"--port", "/dev/ttyUSB0", "-v"}));
    // The whole setting naming a file with blanks, unquoted.
    command = FirmwareLoader::Resolve("pic tools/flash", set.Path(), program.Path(), &error);
    ASSERT_TRUE(command);
    EXPECT_TRUE(command->arguments.isEmpty());
    // A file that is not a program is not run.
    WriteTextFile(set.File("notes.txt"), "x");
    EXPECT_FALSE(FirmwareLoader::Resolve("./notes.txt", set.Path(), program.Path(), &error));
    EXPECT_TRUE(error.contains("not a program that may be run")) << error.toStdString();
}

TEST(FirmwareLoaderTest, TheWindowWaitsForTheLoaderWithThePortHandedOver) {
    TestApp();
    CurrentFolder folder;
    WriteScript(folder.File("flash.sh"),
                "echo \"$@\" > args.txt; sleep 0.4; [ \"$1\" = fail ] && exit 3; exit 0");
    LinkSetUp setUp;
    setUp.request = "$f4";
    setUp.responseBytes = 0;
    setUp.dataBytes = 4;
    setUp.checksum = false;
    setUp.portName = "Simulated ECM";
    setUp.loader = "./flash.sh \"two words\"";
    WriteTextFile(folder.File("Default.Ini"), QString::fromStdString(SettingsFile(setUp)));
    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Rooms().port.IsOpen());
    window.Rooms().loader.Run();
    EXPECT_TRUE(window.Rooms().loader.Running());
    EXPECT_FALSE(window.isEnabled());
    EXPECT_FALSE(window.Rooms().port.IsOpen()) << "the loader has the port";
    ASSERT_TRUE(WaitUntil([&] { return !window.Rooms().loader.Running(); }, 10000));
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(window.Rooms().port.IsOpen());
    EXPECT_EQ(testing::ReadTextFile(folder.File("args.txt")), "two words\n");
    EXPECT_TRUE(window.Rooms().messages.Posted().isEmpty());

    // A loader that fails says so; one that is not there too.
    LinkSettings settings = window.Rooms().session.GetEngine().Settings();
    settings.loader = "./flash.sh fail";
    window.Rooms().session.GetEngine().ApplySettings(settings);
    window.Rooms().loader.Run();
    ASSERT_TRUE(WaitUntil([&] { return !window.Rooms().loader.Running(); }, 10000));
    ASSERT_FALSE(window.Rooms().messages.Posted().isEmpty());
    EXPECT_TRUE(window.Rooms().messages.Posted().last().contains("ended with exit code 3"));
    settings.loader = "./no-such-loader";
    window.Rooms().session.GetEngine().ApplySettings(settings);
    window.Rooms().loader.Run();
    EXPECT_FALSE(window.Rooms().loader.Running());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(window.Rooms().messages.Posted().last().contains("no-such-loader\" is not there"));
}

}  // namespace
}  // namespace vekaton
