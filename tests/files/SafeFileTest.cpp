#include "files/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "files/FileLookup.h"
#include "files/ScratchFolder.h"

namespace vekaton {
namespace {

using Names = std::vector<std::string>;

// Makes every write beyond `bytes` fail with EFBIG, as a full disk would, for the scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*previousHandler_)(int) = nullptr;
};

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

TEST(SafeFile, MissingFolderIsReportedWithTheReason) {
    testing::ScratchFolder folder;
    const auto error = WriteFileAtomically(folder / "no-such-folder" / "a.ini", "x");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("No such file or directory"), std::string::npos) << *error;
    EXPECT_FALSE(folder.Exists("no-such-folder"));
}

TEST(SafeFile, TargetThatIsAFolderIsNotTouched) {
    testing::ScratchFolder folder;
    std::filesystem::create_directories(folder / "a.ini" / "inside");
    EXPECT_TRUE(WriteFileAtomically(folder / "a.ini", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a.ini" / "inside"));
    EXPECT_EQ(folder.Names(), Names{"a.ini"});
}

TEST(SafeFile, ReplacedFileKeepsItsPermissions) {
    testing::ScratchFolder folder;
    folder.Write("a.ini", "old");
    std::filesystem::permissions(folder / "a.ini", std::filesystem::perms(0640));
    ASSERT_FALSE(WriteFileAtomically(folder / "a.ini", "new"));
    struct stat info {};
    ASSERT_EQ(::stat((folder / "a.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(SafeFile, WritingThroughASymbolicLinkReplacesTheFileItNames) {
    testing::ScratchFolder folder;
    folder.Write("real.ini", "old");
    std::filesystem::create_symlink("real.ini", folder / "link.ini");
    ASSERT_FALSE(WriteFileAtomically(folder / "link.ini", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_EQ(folder.Read("real.ini"), "new");
}

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
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(ReadWholeFile(folder.Path(), &error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(ReadWholeFile(folder / "missing"));  // the reason is optional
}

TEST(FileLookup, FindsAnExistingFileOfAnyCase) {
    testing::ScratchFolder folder;
    folder.Write("vekaton.INI", "x");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "Vekaton.Ini"), folder / "vekaton.INI");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "VEKATON.INI"), folder / "vekaton.INI");
}

TEST(FileLookup, ExactSpellingWinsAndSeveralSpellingsResolveTheSameWay) {
    testing::ScratchFolder folder;
    folder.Write("a.Dsf", "1");
    folder.Write("a.DSF", "2");
    folder.Write("a.dsf", "3");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "a.dsf"), folder / "a.dsf");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "A.DsF"), folder / "a.DSF");  // smallest name
}

TEST(FileLookup, MissingFileGetsTheSpellingAsked) {
    testing::ScratchFolder folder;
    folder.Write("other.ini", "x");
    EXPECT_EQ(ResolveSetFile(folder.Path(), "Default.Ini"), folder / "Default.Ini");
    EXPECT_EQ(ResolveSetFile(folder / "missing", "a.ini"), folder / "missing" / "a.ini");
    EXPECT_EQ(ResolveSetFile("", "Some.Name.That.Is.Not.Here"), "Some.Name.That.Is.Not.Here");
}

}  // namespace
}  // namespace vekaton
