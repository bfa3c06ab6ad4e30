#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <vector>

#include "files/NonRegularFiles.h"
#include "files/TimeLimit.h"
#include "io/TraceLog.h"

namespace vekaton {
namespace {

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(TraceLogTest, RecordsAreFlushedAtOnceWithStampAndDirection) {
    QTemporaryDir dir;
    TraceLog trace;
    ASSERT_TRUE(trace.OpenInFolder(dir.path()));
    EXPECT_EQ(QFileInfo(trace.FilePath()).fileName(), "Comm.Log");
    trace.Record(TraceLog::Direction::Sent, std::vector<std::uint8_t>{0xF4, 0x56});
    trace.Record(TraceLog::Direction::Received, std::vector<std::uint8_t>{0x01});
    trace.Record(TraceLog::Direction::Received, {});  // nothing to write
    trace.Note("port lost\r\nsecond line");

    // Read while still open: nothing waits in a buffer.
    const QStringList lines = ReadAll(trace.FilePath()).split("\r\n");
    ASSERT_EQ(lines.size(), 4);  // three records and the empty rest after the last CR LF
    const QRegularExpression stamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )");
    EXPECT_TRUE(stamp.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(" TX F4 56"));
    EXPECT_TRUE(lines[1].endsWith(" RX 01"));
    EXPECT_TRUE(lines[2].endsWith(" -- port lost  second line"));
    EXPECT_EQ(lines[3], "");
}

TEST(TraceLogTest, AppendsToAnEarlierTrace) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("Comm.Log");
    {
        TraceLog first;
        ASSERT_TRUE(first.Open(path));
        first.Record(TraceLog::Direction::Sent, std::vector<std::uint8_t>{0x11});
    }  // closed by its destructor
    TraceLog second;
    ASSERT_TRUE(second.Open(path));
    second.Record(TraceLog::Direction::Sent, std::vector<std::uint8_t>{0x22});
    second.Close();
    EXPECT_FALSE(second.IsOpen());
    const QString text = ReadAll(path);
    EXPECT_TRUE(text.contains("TX 11\r\n"));
    EXPECT_TRUE(text.contains("TX 22\r\n"));
    EXPECT_LT(text.indexOf("TX 11"), text.indexOf("TX 22"));
}

TEST(TraceLogTest, UnwritablePlaceIsAnErrorNotACrash) {
    QTemporaryDir dir;
    TraceLog trace;
    EXPECT_FALSE(trace.Open(QDir(dir.path()).filePath("missing/Comm.Log")));
    EXPECT_FALSE(trace.IsOpen());
    EXPECT_TRUE(trace.LastError().contains("Comm.Log"));
    trace.Record(TraceLog::Direction::Sent, std::vector<std::uint8_t>{1});  // ignored

    // A full disk: the trace switches itself off with a message instead of failing forever.
    ASSERT_TRUE(trace.OpenInFolder(dir.path()));
    {
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = 10;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        trace.Record(TraceLog::Direction::Sent, std::vector<std::uint8_t>{1, 2, 3});
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
    }
    EXPECT_FALSE(trace.IsOpen());
    EXPECT_FALSE(trace.LastError().isEmpty());
}

// A FIFO would hold the window in open() until something read it; a device would get the trace.
TEST(TraceLogTest, OnlyARegularFileTakesTheTrace) {
    QTemporaryDir dir;
    const QString fifo = QDir(dir.path()).filePath("Comm.Log");
    ASSERT_TRUE(testing::MakeFifo(QFile::encodeName(fifo).toStdString()));
    TraceLog trace;
    bool opened = true;
    const bool inTime = testing::FinishesWithin(std::chrono::seconds(10),
                                                QFile::encodeName(dir.path()).toStdString(),
                                                [&] { opened = trace.OpenInFolder(dir.path()); });
    EXPECT_TRUE(inTime) << "the trace waited on a FIFO";
    EXPECT_FALSE(opened);
    EXPECT_TRUE(trace.LastError().endsWith("Comm.Log: it is a FIFO (named pipe), not a file"))
        << trace.LastError().toStdString();
    EXPECT_TRUE(QFileInfo(fifo).isFile() == false);

    if (QFile::exists("/dev/full")) {
        EXPECT_FALSE(trace.Open("/dev/full"));
        EXPECT_TRUE(trace.LastError().contains("character device"))
            << trace.LastError().toStdString();
    }
}

}  // namespace
}  // namespace vekaton
