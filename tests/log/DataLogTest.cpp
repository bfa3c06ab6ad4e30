#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "log/DataLog.h"
#include "log/DataLogFile.h"

#ifndef _WIN32  // POSIX-only: resource limits, FIFOs, sockets and symbolic links
#include <sys/resource.h>

#include "files/NonRegularFiles.h"
#include "files/TimeLimit.h"
#endif

namespace vekaton {
namespace {

namespace fs = std::filesystem;

class DataLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               (std::string("vekaton_datalog_") + info->name() + "_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::vector<std::uint8_t> ReadAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::vector<std::uint8_t> Record(std::size_t size, int seed) {
        std::vector<std::uint8_t> record(size);
        for (std::size_t i = 0; i < size; ++i) {
            record[i] = static_cast<std::uint8_t>(seed * 31 + static_cast<int>(i));
        }
        return record;
    }

    static std::vector<std::uint8_t> AsBytes(const std::string& text) {
        return {text.begin(), text.end()};
    }

    fs::path dir_;
};

TEST_F(DataLogTest, LogRecordedAt500msStartsWithF401AndHoldsWholeRecords) {
    const fs::path path = dir_ / "log.Dat";
    {
        DataLogWriter writer;
        ASSERT_FALSE(writer.Create(path, 500));
        for (int n = 0; n < 3; ++n) {
            ASSERT_FALSE(writer.AppendRecord(Record(24, n)));
            // Flushed at every record: the file already holds it while the log is open.
            EXPECT_EQ(fs::file_size(path), 2u + 24u * static_cast<unsigned>(n + 1));
        }
    }  // closed by the destructor
    const auto bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 2u + 24u * 3u);
    EXPECT_EQ(bytes[0], 0xF4);
    EXPECT_EQ(bytes[1], 0x01);

    DataLogFile log;
    ASSERT_FALSE(log.Open(path, 24));
    EXPECT_EQ(log.IntervalMs(), 500);
    std::vector<std::uint8_t> record;
    std::string error;
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(log.ReadRecord(n, record, error)) << error;
        EXPECT_EQ(record, Record(24, n));
    }
    EXPECT_FALSE(log.ReadRecord(3, record, error));
    EXPECT_EQ(log.RecordCount(), 3);
    EXPECT_EQ(log.TrailingBytes(), 0u);
}

TEST_F(DataLogTest, IntervalKeepsItsLow16Bits) {
    const fs::path path = dir_ / "wide.Dat";
    DataLogWriter writer;
    ASSERT_FALSE(writer.Create(path, 0x12345));
    ASSERT_FALSE(writer.Close());
    EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{0x45, 0x23}));
    DataLogFile log;
    ASSERT_FALSE(log.Open(path, 1));
    EXPECT_EQ(log.IntervalMs(), 0x2345);
}

TEST_F(DataLogTest, CreateTruncatesAnOldLog) {
    const fs::path path = dir_ / "again.Dat";
    std::ofstream(path) << "old contents that must go";
    DataLogWriter writer;
    ASSERT_FALSE(writer.Create(path, 110));
    ASSERT_FALSE(writer.Close());
    EXPECT_EQ(fs::file_size(path), 2u);
}

TEST_F(DataLogTest, FileErrorsAreReportedNotSwallowed) {
    DataLogWriter writer;
    const auto error = writer.Create(dir_ / "no_such_folder" / "x.Dat", 500);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("no_such_folder"), std::string::npos);
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_TRUE(writer.AppendRecord(Record(3, 0)));

#ifndef _WIN32  // POSIX-only: a file size limit stands in for a full disk
    // A full disk shows up when the header is flushed.
    {
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = 1;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        DataLogWriter full;
        const auto fullError = full.Create(dir_ / "full.Dat", 500);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        EXPECT_TRUE(fullError);
        EXPECT_FALSE(full.IsOpen());
    }
#endif
}

#ifndef _WIN32  // POSIX-only: FIFOs, sockets and symbolic links
TEST_F(DataLogTest, OnlyRegularFilesAreLogsAndMessagesSayWhatAPathIs) {
    ASSERT_TRUE(testing::MakeFifo(dir_ / "fifo.Dat"));
    fs::create_directory(dir_ / "folder.Dat");
    ASSERT_TRUE(testing::MakeSocketFile(dir_ / "socket.Dat"));
    fs::create_symlink("fifo.Dat", dir_ / "link.Dat");
    const bool inTime = testing::FinishesWithin(std::chrono::seconds(10), dir_, [&] {
        for (const auto& [name, says] : std::vector<std::pair<std::string, std::string>>{
                 {"fifo.Dat", "is a FIFO (named pipe), not a file"},
                 {"folder.Dat", "is a folder, not a file"},
                 {"socket.Dat", "is a socket, not a file"},
                 {"link.Dat", "is a FIFO (named pipe), not a file"}}) {
            DataLogFile log;
            const auto readError = log.Open(dir_ / name, 5);
            ASSERT_TRUE(readError) << name;
            EXPECT_NE(readError->find(name + "\" " + says), std::string::npos) << *readError;
            EXPECT_EQ(readError->find("shorter"), std::string::npos) << *readError;
            EXPECT_FALSE(log.IsOpen());

            DataLogWriter writer;
            const auto error = writer.Create(dir_ / name, 500);
            ASSERT_TRUE(error) << name;
            EXPECT_NE(error->find(name + "\": it " + says), std::string::npos) << *error;
            EXPECT_FALSE(writer.IsOpen());
        }
    });
    EXPECT_TRUE(inTime) << "a FIFO was waited on";
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(dir_ / "fifo.Dat")));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.Dat"));
    EXPECT_TRUE(fs::is_directory(dir_ / "folder.Dat"));

    // A link to a regular file elsewhere is recorded into that file.
    fs::create_directory(dir_ / "elsewhere");
    std::ofstream(dir_ / "elsewhere" / "real.Dat") << "old";
    fs::create_symlink("elsewhere/real.Dat", dir_ / "to-real.Dat");
    DataLogWriter writer;
    ASSERT_FALSE(writer.Create(dir_ / "to-real.Dat", 500));
    ASSERT_FALSE(writer.AppendRecord(Record(3, 1)));
    ASSERT_FALSE(writer.Close());
    EXPECT_TRUE(fs::is_symlink(dir_ / "to-real.Dat"));
    EXPECT_EQ(fs::file_size(dir_ / "elsewhere" / "real.Dat"), 5u);
    DataLogFile log;
    ASSERT_FALSE(log.Open(dir_ / "to-real.Dat", 3));
    EXPECT_EQ(log.IntervalMs(), 500);
    EXPECT_EQ(log.RecordCount(), 1);
}
#endif

TEST_F(DataLogTest, TrailingPartialRecordIsReportedNotReturned) {
    std::string bytes = {'\x6E', '\x00'};
    bytes += std::string(10, 'a') + std::string(4, 'b');
    DataLogFile log;
    ASSERT_FALSE(log.Open(MemoryLogBytes(AsBytes(bytes)), 10));
    EXPECT_EQ(log.IntervalMs(), 110);
    std::vector<std::uint8_t> records;
    std::string error;
    EXPECT_EQ(log.Read(0, 5, records, error), 1);
    EXPECT_EQ(records, std::vector<std::uint8_t>(10, 'a'));
    EXPECT_EQ(log.TrailingBytes(), 4u);
    EXPECT_EQ(log.RecordCount(), 1);
}

TEST_F(DataLogTest, UnreadableInputGivesAnError) {
    DataLogFile log;
    EXPECT_TRUE(log.Open(MemoryLogBytes(AsBytes(std::string(1, '\x01'))), 5));

    EXPECT_TRUE(log.Open(MemoryLogBytes(AsBytes(std::string(8, '\x01'))), 0));
    EXPECT_FALSE(log.IsOpen());

    const auto missing = log.Open(dir_ / "missing.Dat", 5);
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->find("missing.Dat"), std::string::npos);
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(DataLogTest, RecordsComeBackWholeInBatchesOfAnySizeAndAgainFromTheStart) {
    // 67-byte records in batches that never line up with a power of two.
    const fs::path path = dir_ / "big.Dat";
    constexpr int kRecords = 3000;
    {
        DataLogWriter writer;
        ASSERT_FALSE(writer.Create(path, 110));
        for (int n = 0; n < kRecords; ++n) {
            ASSERT_FALSE(writer.AppendRecord(Record(67, n)));
        }
    }
    DataLogFile log;
    ASSERT_FALSE(log.Open(path, 67));
    std::vector<std::uint8_t> batch;
    std::string error;
    for (const std::int64_t batchSize : {std::int64_t{977}, std::int64_t{1}}) {
        int count = 0;
        while (count < kRecords) {
            const auto read = log.Read(count, batchSize, batch, error);
            ASSERT_TRUE(read) << error;
            ASSERT_GT(*read, 0);
            ASSERT_EQ(batch.size(), static_cast<std::size_t>(*read) * 67u);
            for (std::int64_t i = 0; i < *read; ++i, ++count) {
                const auto begin = batch.begin() + static_cast<std::ptrdiff_t>(i * 67);
                ASSERT_EQ(std::vector<std::uint8_t>(begin, begin + 67), Record(67, count))
                    << "record " << count;
            }
        }
        EXPECT_EQ(log.Read(count, batchSize, batch, error), 0) << "nothing after the last";
        EXPECT_EQ(log.TrailingBytes(), 0u);
    }
}

TEST_F(DataLogTest, AutoNamesCountUpFromZeroWithTheDate) {
    const LogDate date{2024, 3, 7};
    const fs::path first = MakeAutoLogName(dir_, date);
    EXPECT_EQ(first.filename(), "03072400.Dat");
    std::ofstream(first) << "";
    const fs::path second = MakeAutoLogName(dir_, date);
    EXPECT_EQ(second.filename(), "03072401.Dat");
    std::ofstream(second) << "";
    EXPECT_EQ(MakeAutoLogName(dir_, date).filename(), "03072402.Dat");

    // Another day starts again at 00; the year keeps two digits.
    EXPECT_EQ(MakeAutoLogName(dir_, LogDate{1999, 12, 31}).filename(), "12319900.Dat");
}

TEST_F(DataLogTest, AutoNameCounterGrowsToThreeDigitsAfter99) {
    const LogDate date{2025, 11, 2};
    for (int n = 0; n < 100; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "110225%02d.Dat", n);
        std::ofstream(dir_ / name) << "";
    }
    EXPECT_EQ(MakeAutoLogName(dir_, date).filename(), "110225100.Dat");
}

TEST_F(DataLogTest, TodayIsAPlausibleDate) {
    const LogDate today = TodayLocalDate();
    EXPECT_GE(today.year, 2024);
    EXPECT_GE(today.month, 1);
    EXPECT_LE(today.month, 12);
    EXPECT_GE(today.day, 1);
    EXPECT_LE(today.day, 31);
}

}  // namespace
}  // namespace vekaton
