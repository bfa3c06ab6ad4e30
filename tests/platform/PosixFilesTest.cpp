// What only POSIX systems have: FIFOs that would hold an open() forever, symbolic links and
// permission bits. The Windows counterparts are in WindowsFilesTest.cpp.
#ifndef _WIN32  // POSIX-only: the whole file
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "files/NonRegularFiles.h"
#include "files/ScratchFolder.h"
#include "files/TimeLimit.h"
#include "platform/Files.h"

namespace vekaton::platform {
namespace {

namespace fs = std::filesystem;

TEST(PosixFiles, AFifoIsOpenedWithoutWaitingAndKnownForWhatItIs) {
    testing::ScratchFolder folder;
    ASSERT_TRUE(testing::MakeFifo(folder / "fifo"));
    std::error_code error;
    EXPECT_EQ(KindOfPath(folder / "fifo", error), FileKind::Fifo);
    const bool inTime = testing::FinishesWithin(std::chrono::seconds(10), folder.Path(), [&] {
        std::error_code openError;
        const FileHandle reading = OpenWithoutWaiting(folder / "fifo", Access::Read, openError);
        ASSERT_TRUE(reading.IsOpen()) << openError.message();
        HandleFacts facts;
        EXPECT_FALSE(Examine(reading, facts));
        EXPECT_EQ(facts.kind, FileKind::Fifo);
    });
    EXPECT_TRUE(inTime) << "opening a FIFO waited for a writer";
    // Nobody reads it now: writing is refused at once.
    EXPECT_FALSE(OpenWithoutWaiting(folder / "fifo", Access::Write, error).IsOpen());
    EXPECT_EQ(error, std::errc::no_such_device_or_address);
}

TEST(PosixFiles, LinksAreFollowedAndTheirDeadEndsNamed) {
    testing::ScratchFolder folder;
    folder.Write("real.cfg", "x");
    fs::create_symlink("real.cfg", folder / "link.cfg");
    fs::create_symlink("gone.cfg", folder / "dangling.cfg");
    fs::create_symlink("b.cfg", folder / "a.cfg");
    fs::create_symlink("a.cfg", folder / "b.cfg");
    std::error_code error;
    EXPECT_TRUE(IsSymbolicLink(folder / "link.cfg"));
    EXPECT_EQ(KindOfPath(folder / "link.cfg", error), FileKind::Regular);
    EXPECT_TRUE(IsSymbolicLink(folder / "dangling.cfg"));
    EXPECT_EQ(KindOfPath(folder / "dangling.cfg", error), FileKind::BrokenLink);
    EXPECT_EQ(KindOfPath(folder / "a.cfg", error), FileKind::LinkLoop);
    EXPECT_EQ(error, std::errc::too_many_symbolic_link_levels);
    EXPECT_FALSE(IsSymbolicLink(folder / "real.cfg"));
}

TEST(PosixFiles, ANewFileTakesTheAccessRightsOfTheOneItReplaces) {
    testing::ScratchFolder folder;
    folder.Write("a.ini", "old");
    fs::permissions(folder / "a.ini", fs::perms(0640));
    std::error_code error;
    const FileHandle made = CreateNew(folder / "new", error);
    ASSERT_TRUE(made.IsOpen());
    CopyAccessRights(folder / "a.ini", made);
    CopyAccessRights(folder / "missing", made);  // nothing to copy: left as it is
    struct stat info {};
    ASSERT_EQ(::fstat(made.Get(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A save replaces a file that is still open, in this program or another: the reader keeps the
// bytes it opened, the name shows the new ones.
TEST(PosixFiles, AnOpenFileIsReplacedAndItsReaderKeepsTheOldBytes) {
    testing::ScratchFolder folder;
    folder.Write("a.ini", "old");
    folder.Write("new", "replacement");
    std::error_code error;
    const FileHandle reader = OpenWithoutWaiting(folder / "a.ini", Access::Read, error);
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_FALSE(RenameOver(folder / "new", folder / "a.ini"));
    EXPECT_EQ(folder.Read("a.ini"), "replacement");
    char bytes[8] = {};
    EXPECT_EQ(ReadAt(reader, 0, std::as_writable_bytes(std::span(bytes)), error), 3u);
    EXPECT_EQ(std::string(bytes), "old");
}

TEST(PosixFiles, ADeviceIsKnownWithoutBeingOpened) {
    std::error_code error;
    EXPECT_EQ(KindOfPath("/dev/null", error), FileKind::CharacterDevice);
    testing::ScratchFolder folder;
    if (testing::MakeSocketFile(folder / "socket")) {
        EXPECT_EQ(KindOfPath(folder / "socket", error), FileKind::Socket);
    }
}

}  // namespace
}  // namespace vekaton::platform
#endif
