// What the file calls promise on every operating system: the same file, built for POSIX and for
// Windows, runs against each implementation.
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "files/ScratchFolder.h"

namespace vekaton::platform {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const FileHandle& handle) {
    std::string text;
    char buffer[7];  // small, so that reads end mid-file
    for (;;) {
        std::error_code error;
        const std::size_t n = Read(handle, std::as_writable_bytes(std::span(buffer)), error);
        EXPECT_FALSE(error) << error.message();
        if (n == 0 || error) {
            return text;
        }
        text.append(buffer, n);
    }
}

std::string ReadAtOffset(const FileHandle& handle, std::uint64_t offset, std::size_t size) {
    std::string text(size, '\0');
    std::error_code error;
    const std::size_t n = ReadAt(handle, offset, std::as_writable_bytes(std::span(text)), error);
    EXPECT_FALSE(error) << error.message();
    text.resize(n);
    return text;
}

FileHandle Open(const fs::path& path, Access access) {
    std::error_code error;
    FileHandle handle = OpenWithoutWaiting(path, access, error);
    EXPECT_TRUE(handle.IsOpen()) << path << ": " << error.message();
    return handle;
}

TEST(PlatformFiles, PathsAreFilesFoldersOrMissing) {
    testing::ScratchFolder folder;
    folder.Write("a.cfg", "12345");
    std::error_code error;
    EXPECT_EQ(KindOfPath(folder / "a.cfg", error), FileKind::Regular);
    EXPECT_FALSE(error);
    EXPECT_EQ(KindOfPath(folder.Path(), error), FileKind::Folder);
    EXPECT_FALSE(error);
    EXPECT_EQ(KindOfPath(folder / "missing.cfg", error), FileKind::Missing);
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_EQ(KindOfPath(folder / "no-folder" / "a.cfg", error), FileKind::Missing);
    EXPECT_FALSE(IsSymbolicLink(folder / "a.cfg"));
    EXPECT_FALSE(IsSymbolicLink(folder / "missing.cfg"));
}

TEST(PlatformFiles, APathsIdentityIsTheSameByWhateverNameItIsReached) {
    testing::ScratchFolder folder;
    folder.Write("a.cfg", "1");
    folder.Write("b.cfg", "1");
    fs::create_directory(folder / "sub");
    const auto file = IdentityOfPath(folder / "a.cfg");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->kind, FileKind::Regular);
    EXPECT_EQ(IdentityOfPath(folder / "sub" / ".." / "a.cfg"), file);
    EXPECT_NE(IdentityOfPath(folder / "b.cfg"), file);
    const auto sub = IdentityOfPath(folder / "sub");
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->kind, FileKind::Folder);
    EXPECT_EQ(IdentityOfPath(folder / "sub" / "."), sub);
    EXPECT_NE(IdentityOfPath(folder.Path()), sub);
    EXPECT_FALSE(IdentityOfPath(folder / "missing"));
}

TEST(PlatformFiles, AnOpenFileTellsItsKindAndSizeAndReadsFromAnyOffset) {
    testing::ScratchFolder folder;
    const std::string text = "0123456789abcdefghij";
    folder.Write("log.Dat", text);
    const FileHandle file = Open(folder / "log.Dat", Access::Read);
    HandleFacts facts;
    EXPECT_FALSE(Examine(file, facts));
    EXPECT_EQ(facts.kind, FileKind::Regular);
    EXPECT_EQ(facts.size, text.size());
    UseWaitingCalls(file);

    EXPECT_EQ(ReadAtOffset(file, 10, 4), "abcd");
    EXPECT_EQ(ReadAtOffset(file, 0, 3), "012");
    EXPECT_EQ(ReadAtOffset(file, 18, 10), "ij");  // cut at the end
    EXPECT_EQ(ReadAtOffset(file, 20, 5), "");     // at and past the end: nothing, no error
    EXPECT_EQ(ReadAtOffset(file, 1000, 5), "");
    EXPECT_EQ(ReadAll(file), text);
}

TEST(PlatformFiles, WritingCreatesAppendingAddsAndTruncatingEmpties) {
    testing::ScratchFolder folder;
    {
        const FileHandle created = Open(folder / "new.Dat", Access::Write);
        EXPECT_FALSE(WriteAll(created, "first"));
        EXPECT_FALSE(SyncToDisk(created));
    }
    EXPECT_EQ(folder.Read("new.Dat"), "first");
    {
        const FileHandle overwriting = Open(folder / "new.Dat", Access::Write);
        EXPECT_FALSE(WriteAll(overwriting, "F"));  // from the start, nothing cut
    }
    EXPECT_EQ(folder.Read("new.Dat"), "First");
    {
        const FileHandle appending = Open(folder / "new.Dat", Access::Append);
        const FileHandle other = Open(folder / "new.Dat", Access::Append);
        EXPECT_FALSE(WriteAll(appending, "+1"));
        EXPECT_FALSE(WriteAll(other, "+2"));  // after what the first one wrote
        EXPECT_FALSE(WriteAll(appending, "+3"));
    }
    EXPECT_EQ(folder.Read("new.Dat"), "First+1+2+3");
    {
        FileHandle truncating = Open(folder / "new.Dat", Access::Write);
        EXPECT_FALSE(Truncate(truncating));
        HandleFacts facts;
        EXPECT_FALSE(Examine(truncating, facts));
        EXPECT_EQ(facts.size, 0u);
        EXPECT_FALSE(WriteAll(truncating, "x"));
        EXPECT_FALSE(truncating.Close());
        EXPECT_FALSE(truncating.IsOpen());
        EXPECT_FALSE(truncating.Close());  // closing twice is harmless
    }
    EXPECT_EQ(folder.Read("new.Dat"), "x");
}

TEST(PlatformFiles, OpeningWhatIsNotThereSaysWhy) {
    testing::ScratchFolder folder;
    std::error_code error;
    EXPECT_FALSE(OpenWithoutWaiting(folder / "missing.Dat", Access::Read, error).IsOpen());
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(OpenWithoutWaiting(folder / "no-folder" / "x.Dat", Access::Write, error).IsOpen());
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(error.message().empty());
    EXPECT_FALSE(folder.Exists("no-folder"));
}

TEST(PlatformFiles, ANewFileIsMadeOnlyWhenTheNameIsFree) {
    testing::ScratchFolder folder;
    std::error_code error;
    {
        const FileHandle made = CreateNew(folder / ".a.ini.tmp1", error);
        ASSERT_TRUE(made.IsOpen()) << error.message();
        EXPECT_FALSE(WriteAll(made, "new"));
    }
    EXPECT_FALSE(CreateNew(folder / ".a.ini.tmp1", error).IsOpen());
    EXPECT_EQ(error, std::errc::file_exists);
    EXPECT_EQ(folder.Read(".a.ini.tmp1"), "new");
}

TEST(PlatformFiles, RenamingOverReplacesTheTargetInOneStep) {
    testing::ScratchFolder folder;
    folder.Write("a.ini", "old");
    folder.Write("new", "replacement");
    EXPECT_FALSE(RenameOver(folder / "new", folder / "a.ini"));
    SyncFolder(folder.Path());
    EXPECT_EQ(folder.Read("a.ini"), "replacement");
    EXPECT_FALSE(folder.Exists("new"));

    const std::error_code error = RenameOver(folder / "gone", folder / "a.ini");
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_EQ(folder.Read("a.ini"), "replacement");
    folder.Write("other", "x");
    EXPECT_TRUE(RenameOver(folder / "other", folder / "no-folder" / "a.ini"));
    EXPECT_TRUE(folder.Exists("other"));
}

TEST(PlatformFiles, AStreamTakesTheFileOver) {
    testing::ScratchFolder folder;
    FileHandle file = Open(folder / "log.Dat", Access::Write);
    std::FILE* stream = OpenStream(file, "wb");
    ASSERT_NE(stream, nullptr);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(std::fwrite("\xF4\x01", 1, 2, stream), 2u);
    EXPECT_EQ(std::fflush(stream), 0);
    EXPECT_EQ(folder.Read("log.Dat"), "\xF4\x01");
    EXPECT_EQ(std::fclose(stream), 0);
}

TEST(PlatformFiles, AFolderIsNeverTakenForAFile) {
    testing::ScratchFolder folder;
    fs::create_directory(folder / "a.Dat");
    std::error_code error;
    EXPECT_EQ(KindOfPath(folder / "a.Dat", error), FileKind::Folder);
    // Either the system refuses to open it, or the open handle says what it is.
    const FileHandle opened = OpenWithoutWaiting(folder / "a.Dat", Access::Read, error);
    if (opened.IsOpen()) {
        HandleFacts facts;
        EXPECT_FALSE(Examine(opened, facts));
        EXPECT_EQ(facts.kind, FileKind::Folder);
    } else {
        EXPECT_TRUE(error);
    }
    EXPECT_FALSE(CreateNew(folder / "a.Dat", error).IsOpen());
    EXPECT_TRUE(fs::is_directory(folder / "a.Dat"));
}

}  // namespace
}  // namespace vekaton::platform
