// Only regular files are read and written: FIFOs, devices, folders and sockets are refused
// without being waited on or written into.
#include "files/RegularFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "files/ScratchFolder.h"

#ifndef _WIN32  // POSIX-only: FIFOs, sockets, device nodes and symbolic links
#include <unistd.h>

#include "files/NonRegularFiles.h"
#include "files/TimeLimit.h"
#endif

namespace vekaton {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

#ifndef _WIN32  // POSIX-only: FIFOs, sockets, device nodes and symbolic links
struct NonFile {
    std::string name;
    FileKind kind;
    std::string described;
};

// One of each kind of thing that is not a regular file, and links to some of them.
std::vector<NonFile> MakeNonFiles(const testing::ScratchFolder& folder) {
    std::vector<NonFile> made;
    if (testing::MakeFifo(folder / "fifo")) {
        made.push_back({"fifo", FileKind::Fifo, "is a FIFO (named pipe), not a file"});
    }
    fs::create_directory(folder / "folder");
    made.push_back({"folder", FileKind::Folder, "is a folder, not a file"});
    if (testing::MakeSocketFile(folder / "socket")) {
        made.push_back({"socket", FileKind::Socket, "is a socket, not a file"});
    }
    if (testing::MakeNullDevice(folder / "null")) {
        made.push_back({"null", FileKind::CharacterDevice, "is a character device, not a file"});
    }
    fs::create_symlink("fifo", folder / "link-to-fifo");
    made.push_back({"link-to-fifo", FileKind::Fifo, "is a FIFO (named pipe), not a file"});
    fs::create_symlink("nothing", folder / "dangling");
    made.push_back(
        {"dangling", FileKind::BrokenLink, "is a symbolic link to a file that does not exist"});
    return made;
}

TEST(RegularFile, EveryKindOfNonFileIsRefusedAtOnceAndLeftAlone) {
    testing::ScratchFolder folder;
    const auto nonFiles = MakeNonFiles(folder);
    ASSERT_GE(nonFiles.size(), 5u);
    const bool inTime = testing::FinishesWithin(10s, folder.Path(), [&] {
        for (const NonFile& nonFile : nonFiles) {
            const fs::path path = folder / nonFile.name;
            EXPECT_EQ(KindOfPath(path), nonFile.kind) << nonFile.name;

            const OpenedFile reading = OpenRegularForReading(path);
            EXPECT_FALSE(reading.IsOpen()) << nonFile.name;
            EXPECT_EQ(reading.kind, nonFile.kind) << nonFile.name;
            EXPECT_EQ(reading.reason, nonFile.described) << nonFile.name;

            for (const WriteStart start : {WriteStart::Truncate, WriteStart::Append}) {
                const OpenedFile writing = OpenRegularForWriting(path, start);
                EXPECT_FALSE(writing.IsOpen()) << nonFile.name;
                EXPECT_EQ(writing.reason, nonFile.described) << nonFile.name;
            }
        }
    });
    EXPECT_TRUE(inTime) << "opening a FIFO waited for the other end";
    // Nothing was replaced or created.
    EXPECT_EQ(KindOfPath(folder / "fifo"), FileKind::Fifo);
    EXPECT_TRUE(fs::is_symlink(folder / "dangling"));
    EXPECT_FALSE(fs::exists(folder / "nothing"));
    if (fs::exists(folder / "null")) {
        EXPECT_EQ(KindOfPath(folder / "null"), FileKind::CharacterDevice);
    }
}

TEST(RegularFile, RegularFilesAndLinksToThemOpenAndAreEmptiedOnlyWhenAsked) {
    testing::ScratchFolder folder;
    folder.Write("log.Dat", "12345");
    fs::create_directory(folder / "elsewhere");
    folder.Write("elsewhere/real.Dat", "abc");
    fs::create_symlink("elsewhere/real.Dat", folder / "link.Dat");

    const OpenedFile reading = OpenRegularForReading(folder / "link.Dat");
    ASSERT_TRUE(reading.IsOpen()) << reading.reason;
    EXPECT_EQ(reading.size, 3u);
    std::string contents;
    std::string reason;
    EXPECT_EQ(ReadRest(reading.fd, 100, &contents, &reason), ReadOutcome::Done);
    EXPECT_EQ(contents, "abc");

    {
        const OpenedFile appending = OpenRegularForWriting(folder / "log.Dat", WriteStart::Append);
        ASSERT_TRUE(appending.IsOpen());
        EXPECT_EQ(::write(appending.fd.Get(), "6", 1), 1);
    }
    EXPECT_EQ(folder.Read("log.Dat"), "123456");
    {
        const OpenedFile truncating =
            OpenRegularForWriting(folder / "link.Dat", WriteStart::Truncate);
        ASSERT_TRUE(truncating.IsOpen());
        EXPECT_EQ(::write(truncating.fd.Get(), "new", 3), 3);
    }
    EXPECT_TRUE(fs::is_symlink(folder / "link.Dat"));
    EXPECT_EQ(folder.Read("elsewhere/real.Dat"), "new");

    const OpenedFile created = OpenRegularForWriting(folder / "fresh.Dat", WriteStart::Truncate);
    EXPECT_TRUE(created.IsOpen());
    EXPECT_TRUE(fs::is_regular_file(folder / "fresh.Dat"));
    const OpenedFile missing = OpenRegularForReading(folder / "missing.Dat");
    EXPECT_EQ(missing.kind, FileKind::Missing);
    EXPECT_EQ(missing.reason, "does not exist");
    const OpenedFile noFolder =
        OpenRegularForWriting(folder / "no-such" / "x.Dat", WriteStart::Truncate);
    EXPECT_EQ(noFolder.reason, "could not be created: No such file or directory");
}
#endif

TEST(RegularFile, ReadingStopsAtTheLimitEvenWhenTheFileGrows) {
    testing::ScratchFolder folder;
    folder.Write("a", std::string(1000, 'x'));
    const OpenedFile file = OpenRegularForReading(folder / "a");
    ASSERT_TRUE(file.IsOpen());
    std::string contents;
    std::string reason;
    EXPECT_EQ(ReadRest(file.fd, 999, &contents, &reason), ReadOutcome::TooLarge);
    EXPECT_LE(contents.size(), 999u);
}

TEST(RegularFile, SizesAreDescribedForPeople) {
    EXPECT_EQ(DescribeSize(0), "0 bytes");
    EXPECT_EQ(DescribeSize(1), "1 byte");
    EXPECT_EQ(DescribeSize(1023), "1023 bytes");
    EXPECT_EQ(DescribeSize(4 * 1024), "4 KB");
    EXPECT_EQ(DescribeSize(64 * 1024 + 512), "64.5 KB");
    EXPECT_EQ(DescribeSize(4 * 1024 * 1024), "4 MB");
    EXPECT_EQ(DescribeSize(1024ULL * 1024 * 1024), "1 GB");
    EXPECT_EQ(DescribeSize(10ULL * 1024 * 1024 + 1), "10.0 MB");
}

#ifndef _WIN32  // POSIX-only: FIFOs, sockets, device nodes and symbolic links
// Links that lead back to themselves name nothing: neither read nor written, nor replaced.
TEST(RegularFile, ALoopOfLinksIsNamedForWhatItIsAndLeftAlone) {
    testing::ScratchFolder folder;
    fs::create_symlink("b.cfg", folder / "a.cfg");
    fs::create_symlink("a.cfg", folder / "b.cfg");
    EXPECT_EQ(KindOfPath(folder / "a.cfg"), FileKind::LinkLoop);
    const OpenedFile reading = OpenRegularForReading(folder / "a.cfg");
    EXPECT_FALSE(reading.IsOpen());
    EXPECT_EQ(reading.reason, "is a loop of symbolic links, not a file");
    const OpenedFile writing = OpenRegularForWriting(folder / "a.cfg", WriteStart::Truncate);
    EXPECT_FALSE(writing.IsOpen());
    EXPECT_EQ(writing.reason, "is a loop of symbolic links, not a file");
    EXPECT_EQ(fs::read_symlink(folder / "a.cfg"), "b.cfg");
    EXPECT_EQ(fs::read_symlink(folder / "b.cfg"), "a.cfg");
}
#endif

}  // namespace
}  // namespace vekaton
