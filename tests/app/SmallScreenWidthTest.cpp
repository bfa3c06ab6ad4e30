// The window fits a 1024-pixel-wide screen whatever it shows: a log in the viewer, playback and
// recording add bars and labels, and none of them may push the value table off the screen.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDockWidget>
#include <QLayout>

#include "LogTestSet.h"
#include "QtApp.h"
#include "app/MainWindow.h"
#include "app/logview/LogViewer.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::TestApp;

// A 1024-pixel screen, less the room that a desktop's wider fonts and frames take over the
// test's.
constexpr int kSmallScreenWidth = 900;

// The widest widgets' minimum widths, to say what pushes the window out when it fails.
QString Widest(QWidget& window) {
    QStringList found;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->isVisible() && child->minimumSizeHint().width() > 300) {
            found << QStringLiteral("%1(%2) %3")
                         .arg(QString::fromLatin1(child->metaObject()->className()),
                              child->objectName())
                         .arg(child->minimumSizeHint().width());
        }
    }
    return found.join("; ");
}

TEST(SmallScreenWidth, TheWindowFitsA1024WideScreenWithALogOpen) {
    TestApp();
    CurrentFolder folder;
    testing::WriteLogTestSet(folder);
    const QString log = testing::WriteLogTestLog(folder, "drive.Dat", 40);
    MainWindow window;
    window.show();
    EXPECT_LE(window.minimumSizeHint().width(), kSmallScreenWidth) << Widest(window).toStdString();
    ASSERT_TRUE(window.Rooms().logView.Open(log));
    QApplication::processEvents();
    EXPECT_LE(window.minimumSizeHint().width(), kSmallScreenWidth) << Widest(window).toStdString();
    window.Rooms().logView.Close();
}

}  // namespace
}  // namespace vekaton
