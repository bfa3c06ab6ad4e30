// Set files that are far too large or are not regular files are refused before they are read,
// and are kept as they are: never copied to ".bad", never overwritten when the set is saved.
#include "set/SetFileReader.h"

#include <gtest/gtest.h>

#include <chrono>

#include "decode/ParameterTable.h"
#include "files/ScratchFolder.h"
#include "set/ConfigurationSet.h"
#include "set/DamagedFileGuard.h"

#ifndef _WIN32  // POSIX-only: sparse files, address space limits, FIFOs, devices, links
#include "files/NonRegularFiles.h"
#include "files/TimeLimit.h"
#endif

namespace vekaton {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Names = std::vector<std::string>;

#ifndef _WIN32  // POSIX-only: sparse files and address space limits
constexpr off_t kOneGigabyte = 1024LL * 1024 * 1024;
constexpr rlim_t kAddressSpace = 512ULL * 1024 * 1024;  // far below what reading 1 GB takes
#endif

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(SetFileReader, FilesUpToTheirLimitAreReadAndLargerOnesRefused) {
    testing::ScratchFolder folder;
    struct Case {
        const SetFileType* type;
        std::uint64_t limit;
    };
    for (const Case& c : {Case{&kSetPointerType, 4096}, Case{&kSettingsFileType, 65536},
                          Case{&kParameterFileType, 4194304}, Case{&kGaugeListType, 4194304}}) {
        EXPECT_EQ(c.type->maxBytes, c.limit);
        DamagedFileGuard guard;
        folder.Write("at-limit", std::string(c.limit, 'x'));
        const SetFileText atLimit = ReadSetFile(folder / "at-limit", *c.type, guard);
        EXPECT_TRUE(atLimit.Read()) << atLimit.message;
        EXPECT_EQ(atLimit.text.size(), c.limit);

        folder.Write("over", std::string(c.limit + 1, 'x'));
        const SetFileText over = ReadSetFile(folder / "over", *c.type, guard);
        EXPECT_EQ(over.outcome, SetFileText::Outcome::Refused);
        EXPECT_TRUE(over.text.empty());
        EXPECT_TRUE(Contains(over.message, "\"over\" is ")) << over.message;
        EXPECT_TRUE(Contains(over.message, std::string(c.type->what))) << over.message;
        EXPECT_TRUE(guard.IsKept(folder / "over"));
    }
    EXPECT_EQ(kLayoutFileType.maxBytes, 64u * 1024 * 1024);
}

#ifndef _WIN32  // POSIX-only: sparse files, address space limits, FIFOs, devices, links
TEST(SetFileReader, HugeSparseFilesAreRefusedWithoutReadingThem) {
    testing::ScratchFolder folder;
    ASSERT_TRUE(testing::MakeSparseFile(folder / "Car.cfg", kOneGigabyte));
    ASSERT_TRUE(testing::MakeSparseFile(folder / "Car.ini", kOneGigabyte));
    ASSERT_TRUE(testing::MakeSparseFile(folder / "Vekaton.Ini", kOneGigabyte));
    // In a child with little address space: reading any of them whole would fail there.
    const int code = testing::RunWithAddressSpaceLimit(kAddressSpace, [&] {
        ConfigurationSet set(folder.Path());
        const LoadedSetNames names = set.LoadNames();
        if (!names.warning || !Contains(*names.warning,
                                        "\"Vekaton.Ini\" is 1 GB, more than the "
                                        "4 KB a set pointer may hold")) {
            return 1;
        }
        set.UsePointerSet("Car");
        ParameterTable table;
        const ParameterFileRead parameters = set.ReadParameters(table);
        if (!parameters.found ||
            !Contains(parameters.errorMessage,
                      "\"Car.cfg\" is 1 GB, more than the 4 MB a "
                      "parameter file may hold, so it was not read.") ||
            !Contains(parameters.errorMessage, "Save Config Info")) {
            return 2;
        }
        const SettingsFileRead settings = set.ReadSettings(LinkSettings{});
        if (!settings.found || settings.result.linesRead != 0 ||
            !Contains(settings.errorMessage, "more than the 64 KB a settings file may hold")) {
            return 3;
        }
        // Closing the window would write all three: each is kept as it is.
        const auto parametersWrite = set.WriteParameters(table);
        const auto settingsWrite = set.WriteSettings(LinkSettings{});
        const auto pointerWrite = set.WritePointer();
        if (!parametersWrite || !settingsWrite || !pointerWrite ||
            !Contains(*parametersWrite, "\"Car.cfg\" is not saved: it is 1 GB")) {
            return 4;
        }
        return 0;
    });
    EXPECT_EQ(code, 0);
    for (const char* name : {"Car.cfg", "Car.ini", "Vekaton.Ini"}) {
        EXPECT_EQ(fs::file_size(folder / name), static_cast<std::uintmax_t>(kOneGigabyte)) << name;
    }
    EXPECT_EQ(folder.Names(), (Names{"Car.cfg", "Car.ini", "Vekaton.Ini"}));  // no ".bad" copies
}

TEST(SetFileReader, FifosDevicesAndBrokenLinksAreRefusedAtOnceAndNeverReplaced) {
    testing::ScratchFolder folder;
    ASSERT_TRUE(testing::MakeFifo(folder / "Car.cfg"));
    ASSERT_TRUE(testing::MakeFifo(folder / "pipe"));
    fs::create_symlink("pipe", folder / "Car.ini");
    fs::create_symlink("missing-pointer", folder / "Vekaton.Ini");
    const bool device = testing::MakeNullDevice(folder / "Car.gau");

    const bool inTime = testing::FinishesWithin(10s, folder.Path(), [&] {
        ConfigurationSet set(folder.Path());
        const LoadedSetNames names = set.LoadNames();
        ASSERT_TRUE(names.warning);
        EXPECT_TRUE(Contains(*names.warning,
                             "\"Vekaton.Ini\" is a symbolic link to a file that "
                             "does not exist, so it was not read."))
            << *names.warning;
        set.UsePointerSet("Car");
        ParameterTable table;
        const ParameterFileRead parameters = set.ReadParameters(table);
        EXPECT_TRUE(parameters.found);
        EXPECT_TRUE(Contains(parameters.errorMessage,
                             "\"Car.cfg\" is a FIFO (named pipe), not a file, so it was not "
                             "read. It is left as it is and is not overwritten when the set is "
                             "saved. To go on, save the set under a new name with Save Config "
                             "Info."))
            << parameters.errorMessage;
        const SettingsFileRead settings = set.ReadSettings(LinkSettings{});
        EXPECT_TRUE(Contains(settings.errorMessage, "\"Car.ini\" is a FIFO (named pipe)"))
            << settings.errorMessage;
        if (device) {
            DamagedFileGuard guard;
            const SetFileText gauges = ReadSetFile(folder / "Car.gau", kGaugeListType, guard);
            EXPECT_TRUE(Contains(gauges.message, "\"Car.gau\" is a character device, not a file"))
                << gauges.message;
        }

        const auto parametersWrite = set.WriteParameters(table);
        ASSERT_TRUE(parametersWrite);
        EXPECT_EQ(*parametersWrite,
                  "\"Car.cfg\" is not saved: it is a FIFO (named pipe), not a "
                  "file, and is left as it is.");
        EXPECT_TRUE(set.WriteSettings(LinkSettings{}));
        EXPECT_TRUE(set.WritePointer());
    });
    EXPECT_TRUE(inTime) << "a FIFO was waited on";
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(folder / "Car.cfg")));
    EXPECT_TRUE(fs::is_symlink(folder / "Car.ini"));
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(folder / "pipe")));
    EXPECT_TRUE(fs::is_symlink(folder / "Vekaton.Ini"));
    EXPECT_FALSE(fs::exists(folder / "missing-pointer"));
    if (device) {
        EXPECT_TRUE(fs::is_character_file(fs::symlink_status(folder / "Car.gau")));
    }
}

TEST(SetFileReader, SavingUnderANewNameGoesOnWhereTheKeptFileStays) {
    testing::ScratchFolder folder;
    ASSERT_TRUE(testing::MakeSparseFile(folder / "Car.cfg", kOneGigabyte));
    ConfigurationSet set(folder.Path());
    set.UsePointerSet("Car");
    ParameterTable table;
    table.Reset();
    EXPECT_EQ(set.ReadParameters(table).result.header.size(), 0u);
    EXPECT_TRUE(set.WriteParameters(table));
    set.UseChosenSet("Car2");
    EXPECT_FALSE(set.WriteParameters(table));
    EXPECT_TRUE(folder.Exists("Car2.cfg"));
    EXPECT_EQ(fs::file_size(folder / "Car.cfg"), static_cast<std::uintmax_t>(kOneGigabyte));
}

// A loop of links cannot be read, copied or written: it is kept as it is, and no message
// promises a ".bad" copy that could never be made.
TEST(SetFileReader, ALoopOfLinksIsKeptAsItIsWithoutAPromisedCopy) {
    testing::ScratchFolder folder;
    fs::create_symlink("Car.gau", folder / "Car.cfg");
    fs::create_symlink("Car.cfg", folder / "Car.gau");
    ConfigurationSet set(folder.Path());
    set.UsePointerSet("Car");
    ParameterTable table;
    const ParameterFileRead read = set.ReadParameters(table);
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.errorMessage,
              "\"Car.cfg\" is a loop of symbolic links, not a file, so it was not read. It is "
              "left as it is and is not overwritten when the set is saved. To go on, save the "
              "set under a new name with Save Config Info.");
    EXPECT_EQ(set.WriteParameters(table),
              "\"Car.cfg\" is not saved: it is a loop of symbolic links, not a file, and is left "
              "as it is.");
    // Not read, only written: the safe-write helper leaves it alone as well.
    const auto gauges = set.WriteGaugeList({});
    ASSERT_TRUE(gauges);
    EXPECT_TRUE(Contains(*gauges,
                         "Car.gau\": it is a loop of symbolic links, which is left as it "
                         "is."))
        << *gauges;
    EXPECT_EQ(folder.Names(), (Names{"Car.cfg", "Car.gau"}));
}
#endif

}  // namespace
}  // namespace vekaton
