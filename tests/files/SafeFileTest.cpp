#include "files/SafeFile.h"

#include <gtest/gtest.h>

#include <csignal>

#include "files/FileLookup.h"
#include "files/ScratchFolder.h"

#ifndef _WIN32  // POSIX-only: file size limits, FIFOs, sockets, device nodes and symbolic links
#include <sys/resource.h>
#include <sys/stat.h>

#include "FileSizeLimit.h"
#include "files/NonRegularFiles.h"
#include "files/TimeLimit.h"
#endif

namespace vekaton {
#ifndef _WIN32  // POSIX-only: file size limits
using testing::FileSizeLimit;
#endif

namespace {

using Names = std::vector<std::string>;

TEST(SafeFile, WritesNewFileAndReplacesOldOneWithoutLeftovers) {
    testing::ScratchFolder folder;
    EXPECT_FALSE(WriteFileAtomically(folder / "a.ini", "one\r\n"));
    EXPECT_EQ(folder.Read("a.ini"), "one\r\n");
    EXPECT_FALSE(WriteFileAtomically(folder / "a.ini", "two"));
    EXPECT_EQ(folder.Read("a.ini"), "two");
    EXPECT_FALSE(WriteFileAtomically(folder / "a.ini", ""));
    EXPECT_EQ(folder.Read("a.ini"), "");
    EXPECT_EQ(folder.Names(), Names{"a.ini"});
}

#ifndef _WIN32  // POSIX-only: a file size limit stands in for a full disk
TEST(SafeFile, FailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
    testing::ScratchFolder folder;
    const std::string old = "ComPort=1\r\nBaudRate=8192\r\n";
    folder.Write("a.ini", old);
    std::optional<std::string> error;
    {
        FileSizeLimit limit(8);  // the disk "fills up" after 8 bytes
        error = WriteFileAtomically(folder / "a.ini", std::string(4096, 'x'));
    }
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("a.ini"), std::string::npos) << *error;
    EXPECT_NE(error->find("too large"), std::string::npos) << *error;  // the system's reason
    EXPECT_EQ(folder.Read("a.ini"), old);
    EXPECT_EQ(folder.Names(), Names{"a.ini"});
}
#endif

#ifndef _WIN32  // POSIX-only: the system's own wording and permission bits
TEST(SafeFile, MissingFolderIsReportedWithTheReason) {
    testing::ScratchFolder folder;
    const auto error = WriteFileAtomically(folder / "no-such-folder" / "a.ini", "x");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("No such file or directory"), std::string::npos) << *error;
    EXPECT_FALSE(folder.Exists("no-such-folder"));
}
#endif

TEST(SafeFile, TargetThatIsAFolderIsNotTouched) {
    testing::ScratchFolder folder;
    std::filesystem::create_directories(folder / "a.ini" / "inside");
    EXPECT_TRUE(WriteFileAtomically(folder / "a.ini", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a.ini" / "inside"));
    EXPECT_EQ(folder.Names(), Names{"a.ini"});
}

#ifndef _WIN32  // POSIX-only: the system's own wording and permission bits
TEST(SafeFile, ReplacedFileKeepsItsPermissions) {
    testing::ScratchFolder folder;
    folder.Write("a.ini", "old");
    std::filesystem::permissions(folder / "a.ini", std::filesystem::perms(0640));
    ASSERT_FALSE(WriteFileAtomically(folder / "a.ini", "new"));
    struct stat info {};
    ASSERT_EQ(::stat((folder / "a.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}
#endif

#ifndef _WIN32  // POSIX-only: symbolic links, FIFOs, sockets and device nodes
TEST(SafeFile, WritingThroughASymbolicLinkReplacesTheFileItNames) {
    testing::ScratchFolder folder;
    folder.Write("real.ini", "old");
    std::filesystem::create_symlink("real.ini", folder / "link.ini");
    ASSERT_FALSE(WriteFileAtomically(folder / "link.ini", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_EQ(folder.Read("real.ini"), "new");
}

// Lists every entry below `folder`, so that stray temporary files show wherever they are.
Names AllNames(const std::filesystem::path& folder) {
    Names names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        names.push_back(entry.path().lexically_relative(folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SafeFile, ALinkIsWrittenThroughOnlyToARegularFileAndStaysALink) {
    testing::ScratchFolder folder;
    std::filesystem::create_directories(folder / "set");
    std::filesystem::create_directories(folder / "elsewhere");
    folder.Write("elsewhere/real.cfg", "old");
    std::filesystem::permissions(folder / "elsewhere" / "real.cfg", std::filesystem::perms(0600));
    // A link in the set's folder, to a link, to the file elsewhere.
    std::filesystem::create_symlink("../elsewhere/real.cfg", folder / "elsewhere" / "hop.cfg");
    std::filesystem::create_symlink("../elsewhere/hop.cfg", folder / "set" / "Demo.cfg");

    ASSERT_FALSE(WriteFileAtomically(folder / "set" / "Demo.cfg", "new\r\nEND\r\n"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "set" / "Demo.cfg"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "elsewhere" / "hop.cfg"));
    EXPECT_EQ(folder.Read("elsewhere/real.cfg"), "new\r\nEND\r\n");
    struct stat info {};
    ASSERT_EQ(::stat((folder / "elsewhere" / "real.cfg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(AllNames(folder.Path()), (Names{"elsewhere", "elsewhere/hop.cfg",
                                              "elsewhere/real.cfg", "set", "set/Demo.cfg"}));
}

TEST(SafeFile, FifosDevicesSocketsAndLinksToThemOrToNothingAreNeverReplaced) {
    testing::ScratchFolder folder;
    ASSERT_TRUE(testing::MakeFifo(folder / "fifo.cfg"));
    ASSERT_TRUE(testing::MakeSocketFile(folder / "socket.ini"));
    const bool device = testing::MakeNullDevice(folder / "null.ini");
    std::filesystem::create_symlink("fifo.cfg", folder / "to-fifo.cfg");
    std::filesystem::create_symlink(device ? "null.ini" : "socket.ini", folder / "to-device.ini");
    std::filesystem::create_symlink("gone.cfg", folder / "to-nothing.cfg");
    const Names before = folder.Names();

    struct Case {
        const char* name;
        const char* says;
    };
    const bool inTime = testing::FinishesWithin(std::chrono::seconds(10), folder.Path(), [&] {
        for (const Case& c :
             {Case{"fifo.cfg", "it is a FIFO (named pipe), not a file, and is left as it is."},
              Case{"socket.ini", "it is a socket, not a file, and is left as it is."},
              Case{"to-fifo.cfg",
                   "it is a symbolic link to a FIFO (named pipe), which is left as it is."},
              Case{"to-device.ini", device ? "it is a symbolic link to a character device"
                                           : "it is a symbolic link to a socket"},
              Case{"to-nothing.cfg", "it is a symbolic link to a file that does not exist"}}) {
            const auto error = WriteFileAtomically(folder / c.name, "\r\nEND\r\n");
            ASSERT_TRUE(error) << c.name;
            EXPECT_NE(error->find(std::string(c.name) + "\": " + c.says), std::string::npos)
                << *error;
        }
    });
    EXPECT_TRUE(inTime);
    EXPECT_EQ(folder.Names(), before);
    EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(folder / "fifo.cfg")));
    EXPECT_TRUE(std::filesystem::is_socket(std::filesystem::symlink_status(folder / "socket.ini")));
    if (device) {
        EXPECT_TRUE(std::filesystem::is_character_file(
            std::filesystem::symlink_status(folder / "null.ini")));
    }
    for (const char* link : {"to-fifo.cfg", "to-device.ini", "to-nothing.cfg"}) {
        EXPECT_TRUE(std::filesystem::is_symlink(folder / link)) << link;
    }
}
#endif

TEST(SafeFile, BackupIsACopyAndReplacesAnOlderBackup) {
    testing::ScratchFolder folder;
    folder.Write("a.dsf", "layout");
    folder.Write("a_bak.dsf", "older");
    EXPECT_FALSE(CopyToBackup(folder / "a.dsf", folder / "a_bak.dsf"));
    EXPECT_EQ(folder.Read("a.dsf"), "layout");
    EXPECT_EQ(folder.Read("a_bak.dsf"), "layout");

    const auto error = CopyToBackup(folder / "missing.dsf", folder / "m_bak.dsf");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("missing.dsf"), std::string::npos);
    EXPECT_FALSE(folder.Exists("m_bak.dsf"));
}

TEST(SafeFile, ReadWholeFileReturnsEveryByteOrSaysWhy) {
    testing::ScratchFolder folder;
    const std::string binary("a\0b\r\n\xFF", 6);
    folder.Write("bin", binary);
    EXPECT_EQ(ReadWholeFile(folder / "bin"), binary);

    std::string error;
    EXPECT_FALSE(ReadWholeFile(folder / "missing", &error));
    EXPECT_EQ(error, "it does not exist");
    EXPECT_FALSE(ReadWholeFile(folder.Path(), &error));
    EXPECT_EQ(error, "it is a folder, not a file");
    EXPECT_FALSE(ReadWholeFile(folder / "bin", 5, &error));
    EXPECT_EQ(error, "it is 6 bytes, more than 5 bytes");
    EXPECT_EQ(ReadWholeFile(folder / "bin", 6, &error), binary);
    EXPECT_FALSE(ReadWholeFile(folder / "missing"));  // the reason is optional
}

TEST(FileLookup, FindsAnExistingFileOfAnyCase) {
    testing::ScratchFolder folder;
    folder.Write("vekaton.INI", "x");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "Vekaton.Ini"), folder / "vekaton.INI");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "VEKATON.INI"), folder / "vekaton.INI");
}

#ifndef _WIN32  // POSIX-only: names that differ only in letter case are different files
TEST(FileLookup, ExactSpellingWinsAndSeveralSpellingsResolveTheSameWay) {
    testing::ScratchFolder folder;
    folder.Write("a.Dsf", "1");
    folder.Write("a.DSF", "2");
    folder.Write("a.dsf", "3");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "a.dsf"), folder / "a.dsf");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "A.DsF"), folder / "a.DSF");  // smallest name
}
#endif

TEST(FileLookup, MissingFileGetsTheSpellingAsked) {
    testing::ScratchFolder folder;
    folder.Write("other.ini", "x");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "Default.Ini"), folder / "Default.Ini");
    EXPECT_EQ(ResolveSetFile(folder / "missing", "a.ini"), folder / "missing" / "a.ini");
    EXPECT_EQ(ResolveSetFile("", "Some.Name.That.Is.Not.Here"), "Some.Name.That.Is.Not.Here");
}

}  // namespace
}  // namespace vekaton
