// The real program on hostile and damaged set files: it never hangs or explodes on them, never
// writes through them into something that is not a regular file, and says when saving failed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProgramRunner.h"
#include "QtApp.h"
#include "files/NonRegularFiles.h"

namespace {

namespace fs = std::filesystem;
using vekaton::testing::ProgramRun;

constexpr off_t kOneGigabyte = 1024LL * 1024 * 1024;
// The window needs about 250 MB of address space; reading a 1 GB file whole needs far more.
constexpr rlim_t kWindowAddressSpace = 1024ULL * 1024 * 1024;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class ProgramFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        vekaton::testing::TestApp();  // the local socket wants an application object
        ASSERT_TRUE(lockDir_.isValid());
        ASSERT_TRUE(setDir_.isValid());
        for (const char* name : {"Demo.cfg", "Demo.ini", "Vekaton.Ini"}) {
            fs::copy_file(fs::path(VEKATON_SOURCE_DIR) / "demo" / name, Set(name));
        }
    }
    fs::path Set(const std::string& name) const {
        return fs::path(QFile::encodeName(setDir_.path()).constData()) / name;
    }
    fs::path Elsewhere(const std::string& name) const {
        return fs::path(QFile::encodeName(elsewhere_.path()).constData()) / name;
    }

    QTemporaryDir lockDir_;
    QTemporaryDir setDir_;
    QTemporaryDir elsewhere_;
};

// FIFOs as set files (the parameter file, the settings file through a link, the set pointer):
// the window comes up at once, says what each is, leaves them as they are, and ends with exit
// code 1 because it could not save them.
TEST_F(ProgramFiles, FifosAsSetFilesNeitherHangTheWindowNorAreReplaced) {
    fs::remove(Set("Demo.cfg"));
    fs::remove(Set("Demo.ini"));
    ASSERT_TRUE(vekaton::testing::MakeFifo(Set("Demo.cfg")));
    ASSERT_TRUE(vekaton::testing::MakeFifo(Elsewhere("pipe")));
    fs::create_symlink(Elsewhere("pipe"), Set("Demo.ini"));

    ProgramRun run(lockDir_.path(), setDir_.path());
    ASSERT_TRUE(run.WaitForWindow()) << "the window hangs: " << run.Errors().toStdString();
    EXPECT_EQ(run.Terminate(), 1);
    const QString errors = run.Errors();
    EXPECT_TRUE(
        errors.contains("\"Demo.cfg\" is a FIFO (named pipe), not a file, so it was not "
                        "read."))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains("\"Demo.ini\" is a FIFO (named pipe)")) << errors.toStdString();
    EXPECT_TRUE(
        errors.contains("\"Demo.cfg\" is not saved: it is a FIFO (named pipe), not a file, "
                        "and is left as it is."))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains("Vekaton ends with exit code 1")) << errors.toStdString();
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(Set("Demo.cfg"))));
    EXPECT_TRUE(fs::is_symlink(Set("Demo.ini")));
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(Elsewhere("pipe"))));

    // A FIFO as the set pointer: the default set is used and the FIFO stays.
    fs::remove(Set("Vekaton.Ini"));
    ASSERT_TRUE(vekaton::testing::MakeFifo(Set("Vekaton.Ini")));
    ProgramRun again(lockDir_.path(), setDir_.path());
    ASSERT_TRUE(again.WaitForWindow()) << again.Errors().toStdString();
    EXPECT_EQ(again.Terminate(), 1);
    EXPECT_TRUE(again.Errors().contains("\"Vekaton.Ini\" is a FIFO (named pipe)"))
        << again.Errors().toStdString();
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(Set("Vekaton.Ini"))));
}

// Huge files are refused before they are read, with little memory to spare; they are kept as
// they are and nothing is copied to ".bad".
TEST_F(ProgramFiles, HugeSetFilesAreRefusedAndKeptWithLittleMemory) {
    ASSERT_TRUE(vekaton::testing::MakeSparseFile(Set("Vekaton.Ini"), kOneGigabyte));
    ASSERT_TRUE(vekaton::testing::MakeSparseFile(Set("Default.cfg"), kOneGigabyte));
    // A settings file with a 60 KB line: under its limit, quoted shortly in the message.
    WriteFile(Set("Default.Ini"), "ComPort=" + std::string(60000, '9') + "x\r\n");

    ProgramRun run(lockDir_.path(), setDir_.path(),
                   ProgramRun::Options::WithAddressSpace(kWindowAddressSpace));
    run.WaitForWindow();  // up and answering; what follows decides
    EXPECT_EQ(run.Terminate(), 1);
    const QString errors = run.Errors();
    EXPECT_TRUE(
        errors.contains("\"Vekaton.Ini\" is 1 GB, more than the 4 KB a set pointer may "
                        "hold, so it was not read."))
        << errors.toStdString();
    EXPECT_TRUE(
        errors.contains("\"Default.cfg\" is 1 GB, more than the 4 MB a parameter file "
                        "may hold, so it was not read. It is left as it is and is not "
                        "overwritten when the set is saved. To go on, save the set under "
                        "a new name with Save Config Info."))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains("'" + QString(79, '9') + "\u2026' is not a valid integer value"))
        << errors.left(2000).toStdString();
    EXPECT_LT(errors.size(), 6000) << "a message quoted a whole line";
    EXPECT_EQ(fs::file_size(Set("Vekaton.Ini")), static_cast<std::uintmax_t>(kOneGigabyte));
    EXPECT_EQ(fs::file_size(Set("Default.cfg")), static_cast<std::uintmax_t>(kOneGigabyte));
    EXPECT_FALSE(fs::exists(Set("Default.cfg.bad")));
    EXPECT_FALSE(fs::exists(Set("Vekaton.Ini.bad")));
    EXPECT_TRUE(fs::exists(Set("Default.Ini.bad")));  // stopped reading: kept as a copy
}

// A set file that is a link to a file elsewhere is saved into that file, the link stays, and a
// damaged file is copied to ".bad" first, as any other; a link to a FIFO is left alone.
TEST_F(ProgramFiles, LinkedSetFilesAreSavedThroughToRegularTargetsOnly) {
    const std::string damaged = ReadFile(Set("Demo.cfg")) + "X,1,0,Broken,A\r\n";
    WriteFile(Elsewhere("real.cfg"), damaged);
    fs::remove(Set("Demo.cfg"));
    fs::create_symlink(Elsewhere("real.cfg"), Set("Demo.cfg"));
    ASSERT_TRUE(vekaton::testing::MakeFifo(Elsewhere("pipe")));
    fs::remove(Set("Demo.ini"));
    fs::create_symlink(Elsewhere("pipe"), Set("Demo.ini"));

    ProgramRun run(lockDir_.path(), setDir_.path());
    run.WaitForWindow();            // up and answering; what follows decides
    EXPECT_EQ(run.Terminate(), 1);  // the settings could not be saved
    const QString errors = run.Errors();
    EXPECT_TRUE(
        errors.contains("\"Demo.ini\" is not saved: it is a FIFO (named pipe), not a "
                        "file, and is left as it is."))
        << errors.toStdString();

    EXPECT_TRUE(fs::is_symlink(Set("Demo.cfg")));
    const std::string saved = ReadFile(Elsewhere("real.cfg"));
    EXPECT_NE(saved, damaged);
    EXPECT_NE(saved.find("Coolant temperature C"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\r\nEND\r\n"), std::string::npos) << saved;
    EXPECT_EQ(ReadFile(Set("Demo.cfg.bad")), damaged);
    EXPECT_TRUE(fs::is_symlink(Set("Demo.ini")));
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(Elsewhere("pipe"))));
    // No temporary file is left in either folder.
    for (const QString& folder : {setDir_.path(), elsewhere_.path()}) {
        EXPECT_TRUE(QDir(folder).entryList({".*.tmp*"}, QDir::Files | QDir::Hidden).isEmpty());
    }
}

// What a killed save left beside the set is removed by the window when it reads the set, and
// the set is read from its own files only.
TEST_F(ProgramFiles, LeftoversOfAKilledSaveAreRemovedWhenTheSetIsRead) {
    const pid_t gone = ::fork();
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const std::string dead = ".Demo.cfg.tmp" + std::to_string(gone) + "0a1b2c3d";
    const std::string alive = ".Demo.ini.tmp" + std::to_string(::getpid()) + "0a1b2c3d";
    WriteFile(Set(dead), "1,1,0,Leftover description,A*1\r\nEND\r\n");
    WriteFile(Set(alive), "a save in progress elsewhere");

    ProgramRun run(lockDir_.path(), setDir_.path());
    run.WaitForWindow();  // up and answering; what follows decides
    EXPECT_FALSE(fs::exists(Set(dead)));
    EXPECT_TRUE(fs::exists(Set(alive)));
    EXPECT_EQ(run.Terminate(), 0) << run.Errors().toStdString();
    const std::string saved = ReadFile(Set("Demo.cfg"));
    EXPECT_NE(saved.find("Coolant temperature C"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Leftover description"), std::string::npos) << saved;
}

// When a file of the closing sequence cannot be written the window says so and ends with 1.
TEST_F(ProgramFiles, FailedSaveAtCloseEndsWithExitCodeOne) {
    fs::remove(Set("Demo.ini"));
    fs::create_directories(Set("Demo.ini") / "in-the-way");

    ProgramRun run(lockDir_.path(), setDir_.path());
    run.WaitForWindow();  // up and answering; what follows decides
    EXPECT_EQ(run.Terminate(), 1);
    const QString errors = run.Errors();
    EXPECT_TRUE(errors.contains("Some files of the configuration set could not be saved"))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains("Vekaton ends with exit code 1 to show that saving failed."))
        << errors.toStdString();
    EXPECT_TRUE(fs::is_directory(Set("Demo.ini") / "in-the-way"));
}

}  // namespace
