// Random access to a data log by record number.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "files/ScratchFolder.h"
#include "log/DataLogFile.h"

namespace vekaton {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DataLogFileTest, RecordsAreReadByNumberAndAPartialOneIsOnlyCounted) {
    testing::ScratchFolder folder;
    Bytes bytes{0x6E, 0x00};
    for (int i = 0; i < 30; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i));
    }
    folder.Write("log.Dat", std::string(bytes.begin(), bytes.end()));
    DataLogFile log;
    ASSERT_FALSE(log.Open(folder / "log.Dat", 7));
    EXPECT_EQ(log.IntervalMs(), 110);
    EXPECT_EQ(log.RecordCount(), 4);
    EXPECT_EQ(log.TrailingBytes(), 2u);
    EXPECT_EQ(log.FileSize(), 32u);

    Bytes out;
    std::string error;
    ASSERT_TRUE(log.ReadRecord(2, out, error));
    EXPECT_EQ(out, (Bytes{14, 15, 16, 17, 18, 19, 20}));
    EXPECT_EQ(log.Read(3, 10, out, error), 1) << "clipped to the last whole record";
    EXPECT_EQ(out.size(), 7u);
    EXPECT_EQ(log.Read(-5, 2, out, error), 2);
    EXPECT_EQ(out.front(), 0);
    EXPECT_EQ(log.Read(9, 2, out, error), 0);
    EXPECT_FALSE(log.ReadRecord(4, out, error));
    EXPECT_NE(error.find("record 5 is not in the log"), std::string::npos);

    // A file cut short while open is a read error, not garbage.
    std::filesystem::resize_file(folder / "log.Dat", 10);
    EXPECT_FALSE(log.ReadRecord(3, out, error));
    EXPECT_FALSE(error.empty());
}

TEST(DataLogFileTest, WhatCannotBeALogIsRefusedWithTheReason) {
    testing::ScratchFolder folder;
    DataLogFile log;
    auto error = log.Open(folder / "missing.Dat", 4);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("missing.Dat"), std::string::npos);
    EXPECT_NE(error->find("missing.Dat\" "), std::string::npos) << *error;
    EXPECT_FALSE(log.IsOpen());

    error = log.Open(folder.Path(), 4);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("is a folder, not a file"), std::string::npos) << *error;

#ifndef _WIN32  // POSIX-only: FIFOs
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    error = log.Open(folder / "fifo", 4);  // must not wait for a writer
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("is a FIFO (named pipe), not a file"), std::string::npos) << *error;
#endif

    folder.Write("short.Dat", "x");
    error = log.Open(folder / "short.Dat", 4);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("shorter than the 2-byte interval"), std::string::npos);

    folder.Write("ok.Dat", "ab");
    EXPECT_TRUE(log.Open(folder / "ok.Dat", 0)) << "a record size of 0 cannot divide a log";
    ASSERT_FALSE(log.Open(folder / "ok.Dat", 4));
    EXPECT_EQ(log.RecordCount(), 0);
    log.Close();
    EXPECT_FALSE(log.IsOpen());
}

}  // namespace
}  // namespace vekaton
