#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <vector>

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

#if defined(Q_OS_LINUX)
    // A full disk: the trace switches itself off with a message instead of failing forever.
    if (QFile::exists("/dev/full")) {
        ASSERT_TRUE(trace.Open("/dev/full"));
        trace.Record(TraceLog::Direction::Sent, std::vector<std::uint8_t>{1, 2, 3});
        EXPECT_FALSE(trace.IsOpen());
        EXPECT_FALSE(trace.LastError().isEmpty());
    }
#endif
}

}  // namespace
}  // namespace vekaton
