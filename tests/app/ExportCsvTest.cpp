// File > Export CSV writes exactly what `vekaton-cli decode` writes for the same log and set.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "LogTestSet.h"
#include "QtApp.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "app/logview/LogViewer.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::ReadTextFile;
using testing::TestApp;

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ExportCsvTest, TheWindowsExportIsByteForByteWhatDecodeWrites) {
    TestApp();
    CurrentFolder folder;
    testing::WriteLogTestSet(folder);
    // A description with a quote in it, to be quoted the same way; a cut-off record at the end.
    QString cfg = ReadTextFile(folder.File("Default.cfg"));
    cfg.replace("8,1,0,Battery,A/10", "8,1,0,Battery \"main\",A/10");
    testing::WriteTextFile(folder.File("Default.cfg"), cfg);
    const QString log = testing::WriteLogTestLog(folder, "drive.Dat", 3000, 7, 5);

    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Rooms().logView.Open(log));
    window.Rooms().graphs.SetRawData(true);  // what the chart shows does not change the export
    const QString exported = folder.File("drive.csv");
    ASSERT_TRUE(window.Rooms().logView.ExportCsv(exported));

    QProcess decode;
    decode.start(VEKATON_BINARY_DIR "/src/vekaton-cli",
                 {"decode", "--dir", folder.Path(), log, "-o", folder.File("decoded.csv")});
    ASSERT_TRUE(decode.waitForFinished(60000));
    ASSERT_EQ(decode.exitCode(), 0) << decode.readAllStandardError().toStdString();
    const QByteArray expected = FileBytes(folder.File("decoded.csv"));
    ASSERT_GT(expected.count("\r\n"), 3000);
    EXPECT_TRUE(expected.startsWith("Frame,Time,Coolant,Engine speed,\"Battery \"\"main\"\"\""));
    EXPECT_EQ(FileBytes(exported), expected);
    // The viewed log and the table the window shows are as they were.
    EXPECT_TRUE(window.Rooms().logView.IsOpen());

    // Cancelled half-way through a longer log: no half-written file is left.
    ASSERT_TRUE(window.Rooms().logView.Open(testing::WriteLogTestLog(folder, "long.Dat", 30000)));
    window.Rooms().logView.SetCancelCheck([](std::int64_t done) { return done > 0; });
    EXPECT_FALSE(window.Rooms().logView.ExportCsv(folder.File("cancelled.csv")));
    EXPECT_FALSE(QFile::exists(folder.File("cancelled.csv")));
    window.Rooms().logView.SetCancelCheck({});
    ASSERT_TRUE(window.Rooms().logView.Open(log));
    // Never over the log itself; a folder that cannot be written says why.
    EXPECT_FALSE(window.Rooms().logView.ExportCsv(log));
    EXPECT_EQ(FileBytes(log).size(), 2 + 27 * 3000 + 5);
    EXPECT_FALSE(window.Rooms().logView.ExportCsv(folder.File("no-such-folder/x.csv")));
    ASSERT_FALSE(window.Rooms().messages.Posted().isEmpty());
    EXPECT_TRUE(window.Rooms().messages.Posted().last().contains("No such file or directory"))
        << window.Rooms().messages.Posted().last().toStdString();
}

}  // namespace
}  // namespace vekaton
