// What only Windows does to files: other programs may deny sharing or lock parts of a file, and
// some names are devices in every folder. The POSIX counterparts are in PosixFilesTest.cpp.
#ifdef _WIN32  // Windows-only: the whole file
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <utility>

#include "files/RegularFile.h"
#include "files/SafeFile.h"
#include "files/ScratchFolder.h"
#include "platform/Files.h"
#include "platform/win32/WindowsError.h"

namespace vekaton {
namespace {

namespace fs = std::filesystem;

// A handle as another program may hold it: `share` says what it lets others do meanwhile.
class OtherHolder {
  public:
    OtherHolder(const fs::path& path, DWORD share)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OtherHolder() {
        if (IsOpen()) {
            CloseHandle(handle_);
        }
    }
    OtherHolder(const OtherHolder&) = delete;
    OtherHolder& operator=(const OtherHolder&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Locks the whole file against every other handle, as a database or an editor may.
    bool LockAll() {
        OVERLAPPED from{};
        return LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                          MAXDWORD, &from) != 0;
    }

    // Maps the file into memory, as a viewer of large files may; the caller closes the mapping.
    HANDLE Map() { return CreateFileMappingW(handle_, nullptr, PAGE_READONLY, 0, 0, nullptr); }

  private:
    HANDLE handle_;
};

TEST(WindowsFiles, AFileHeldWithoutSharingIsReportedNotWaitedOnAndKeptWhole) {
    testing::ScratchFolder folder;
    folder.Write("Demo.cfg", "the set as it was");
    OtherHolder holder(folder / "Demo.cfg", 0);
    ASSERT_TRUE(holder.IsOpen());

    const OpenedFile reading = OpenRegularForReading(folder / "Demo.cfg");
    EXPECT_FALSE(reading.IsOpen());
    EXPECT_EQ(std::error_code(reading.error, platform::WindowsCategory()),
              std::errc::device_or_resource_busy);
    EXPECT_GT(reading.reason.size(), std::string("could not be opened: ").size());
    EXPECT_EQ(reading.reason.rfind("could not be opened: ", 0), 0u) << reading.reason;
    std::string why;
    EXPECT_FALSE(ReadWholeFile(folder / "Demo.cfg", &why));
    EXPECT_EQ(why, "it " + reading.reason);

    const auto saved = WriteFileAtomically(folder / "Demo.cfg", "new");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->rfind("Could not save \"", 0), 0u) << *saved;
    EXPECT_NE(saved->find("Demo.cfg"), std::string::npos) << *saved;
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"Demo.cfg"});  // no temporary file left
}

TEST(WindowsFiles, AReaderThatForbidsDeletingKeepsTheFileFromBeingReplaced) {
    testing::ScratchFolder folder;
    folder.Write("Demo.ini", "old");
    {
        OtherHolder holder(folder / "Demo.ini", FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(holder.IsOpen());
        // Reading goes on beside it; replacing would delete the file it holds.
        EXPECT_EQ(ReadWholeFile(folder / "Demo.ini"), "old");
        const auto saved = WriteFileAtomically(folder / "Demo.ini", "new");
        ASSERT_TRUE(saved);
        EXPECT_NE(saved->find("Demo.ini"), std::string::npos) << *saved;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"Demo.ini"});
    }
    EXPECT_EQ(folder.Read("Demo.ini"), "old");
    EXPECT_FALSE(WriteFileAtomically(folder / "Demo.ini", "new"));  // once it is let go
    EXPECT_EQ(folder.Read("Demo.ini"), "new");
}

// Even the program's own reader, which lets others delete the file, keeps Windows from putting
// another file in its place: the save says so and leaves the old file whole; once the reader
// is closed it goes through.
TEST(WindowsFiles, AFileOpenForReadingIsReplacedOnlyOnceItIsClosed) {
    testing::ScratchFolder folder;
    folder.Write("Demo.ini", "old");
    {
        const OpenedFile reader = OpenRegularForReading(folder / "Demo.ini");
        ASSERT_TRUE(reader.IsOpen());
        const auto saved = WriteFileAtomically(folder / "Demo.ini", "new");
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->rfind("Could not save \"", 0), 0u) << *saved;
        EXPECT_EQ(folder.Read("Demo.ini"), "old");
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"Demo.ini"});
    }
    EXPECT_FALSE(WriteFileAtomically(folder / "Demo.ini", "new"));
    EXPECT_EQ(folder.Read("Demo.ini"), "new");
}

// Wine keeps byte-range locks among Windows programs but does not make reads obey them.
bool LocksAreEnforced() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
}

TEST(WindowsFiles, ALockedFileOpensButItsBytesAreRefused) {
    if (!LocksAreEnforced()) {
        GTEST_SKIP() << "this system does not enforce byte-range locks on reads";
    }
    testing::ScratchFolder folder;
    folder.Write("Drive.Dat", std::string(64, 'x'));
    OtherHolder holder(folder / "Drive.Dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder.IsOpen());
    ASSERT_TRUE(holder.LockAll());

    std::string why;
    EXPECT_FALSE(ReadWholeFile(folder / "Drive.Dat", &why));
    EXPECT_EQ(why.rfind("it could not be read: ", 0), 0u) << why;

    const OpenedFile file = OpenRegularForReading(folder / "Drive.Dat");
    ASSERT_TRUE(file.IsOpen()) << file.reason;
    std::byte bytes[8];
    std::error_code error;
    EXPECT_EQ(platform::ReadAt(file.fd, 0, bytes, error), 0u);
    EXPECT_EQ(error, std::errc::device_or_resource_busy) << error.message();
}

// Where reads are not refused (wine), a lock still stops a second locker, and that refusal, like
// every other the program meets, reaches the rest of it as a portable condition in the system's
// own words.
TEST(WindowsFiles, ALockHeldElsewhereRefusesAnotherAsBusy) {
    testing::ScratchFolder folder;
    folder.Write("Drive.Dat", std::string(64, 'x'));
    OtherHolder holder(folder / "Drive.Dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
    OtherHolder second(folder / "Drive.Dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder.IsOpen());
    ASSERT_TRUE(second.IsOpen());
    ASSERT_TRUE(holder.LockAll());

    ASSERT_FALSE(second.LockAll());
    const std::error_code refused = platform::LastWindowsError();
    EXPECT_EQ(refused, std::errc::device_or_resource_busy) << refused.message();
    EXPECT_FALSE(refused.message().empty());
    EXPECT_NE(refused.message().back(), '.');
}

TEST(WindowsFiles, SystemErrorsMeetThePortableConditions) {
    const std::pair<DWORD, std::errc> cases[] = {
        {ERROR_FILE_NOT_FOUND, std::errc::no_such_file_or_directory},
        {ERROR_PATH_NOT_FOUND, std::errc::no_such_file_or_directory},
        {ERROR_ACCESS_DENIED, std::errc::permission_denied},
        {ERROR_FILE_EXISTS, std::errc::file_exists},
        {ERROR_ALREADY_EXISTS, std::errc::file_exists},
        {ERROR_SHARING_VIOLATION, std::errc::device_or_resource_busy},
        {ERROR_LOCK_VIOLATION, std::errc::device_or_resource_busy},
        {ERROR_DISK_FULL, std::errc::no_space_on_device},
        {ERROR_HANDLE_DISK_FULL, std::errc::no_space_on_device},
        {ERROR_DIRECTORY, std::errc::not_a_directory},
        {ERROR_OUTOFMEMORY, std::errc::not_enough_memory},
    };
    for (const auto& [code, condition] : cases) {
        const std::error_code error = platform::WindowsError(code);
        EXPECT_EQ(error, condition) << code << ": " << error.message();
        EXPECT_FALSE(error.message().empty()) << code;
    }
    // A code with no portable meaning keeps its own, and still has words.
    const std::error_code odd = platform::WindowsError(ERROR_INVALID_FUNCTION);
    EXPECT_NE(odd, std::errc::device_or_resource_busy);
    EXPECT_NE(odd, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(odd.message().empty());
}

// A file another program has mapped into memory cannot be cut short: a log recorded over it is
// refused with the reason, and what it held stays.
TEST(WindowsFiles, AMappedFileIsNotEmptied) {
    testing::ScratchFolder folder;
    folder.Write("Drive.Dat", std::string(4096, 'x'));
    OtherHolder holder(folder / "Drive.Dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder.IsOpen());
    const HANDLE mapping = holder.Map();
    ASSERT_NE(mapping, nullptr);

    const OpenedFile file = OpenRegularForWriting(folder / "Drive.Dat", WriteStart::Truncate);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.reason.rfind("could not be emptied: ", 0), 0u) << file.reason;
    CloseHandle(mapping);
    EXPECT_EQ(folder.Read("Drive.Dat"), std::string(4096, 'x'));
}

// "COM1", "NUL" and "con.ini" name devices in any folder: they are refused by name, never opened,
// so that no serial port is touched and nothing is written into a device.
TEST(WindowsFiles, DeviceNamesAreDevicesAndNeverOpened) {
    testing::ScratchFolder folder;
    for (const char* name : {"NUL", "nul.Dat", "COM1", "com9.ini", "CON", "Lpt3.cfg", "aux"}) {
        EXPECT_EQ(KindOfPath(folder / name), FileKind::CharacterDevice) << name;
        const OpenedFile writing = OpenRegularForWriting(folder / name, WriteStart::Append);
        EXPECT_FALSE(writing.IsOpen()) << name;
        EXPECT_EQ(writing.reason, "is a character device, not a file") << name;
        const auto saved = WriteFileAtomically(folder / name, "x");
        ASSERT_TRUE(saved) << name;
        EXPECT_NE(saved->find("it is a character device, not a file"), std::string::npos);
    }
    EXPECT_EQ(KindOfPath("\\\\.\\COM3"), FileKind::CharacterDevice);
    EXPECT_EQ(KindOfPath("\\\\.\\pipe\\vekaton"), FileKind::Fifo);
    for (const char* name : {"COM10.ini", "console.cfg", "nullish.Dat", "COM0"}) {
        EXPECT_EQ(KindOfPath(folder / name), FileKind::Missing) << name;
    }
    EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
}  // namespace vekaton
#endif
