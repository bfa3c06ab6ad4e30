// The window's colour that a layout file's trailer holds: shown on the window when the set is
// read, and written back at the next save.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPalette>
#include <cstring>
#include <memory>

#include "DashboardTestSupport.h"
#include "app/MainWindow.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::QuietSettings;
using testing::WriteTextFile;

// The trailer is the last six 32-bit numbers of the layout file; the colour is the fifth.
constexpr qsizetype kColourFromEnd = 8;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::int32_t TrailerColour(const QByteArray& bytes) {
    std::int32_t colour = 0;
    std::memcpy(&colour, bytes.constData() + bytes.size() - kColourFromEnd, sizeof colour);
    return colour;
}

void SetTrailerColour(const QString& path, std::int32_t colour) {
    QByteArray bytes = ReadAll(path);
    ASSERT_GT(bytes.size(), kColourFromEnd);
    std::memcpy(bytes.data() + bytes.size() - kColourFromEnd, &colour, sizeof colour);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class WindowColourTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        WriteTextFile(folder_.File("Default.Ini"), QuietSettings());
        WriteTextFile(folder_.File("Default.cfg"), testing::kTestParameters);
    }
    CurrentFolder folder_;
};

TEST_F(WindowColourTest, TheTrailersColourIsTheWindowsAndGoesBackIntoTheFile) {
    QColor themeColour;
    {
        MainWindow window;  // no layout yet: the theme's colour, clBtnFace in the file
        themeColour = window.palette().color(QPalette::Window);
        window.close();
    }
    QString layout;
    for (const QString& name : QDir(folder_.Path()).entryList(QDir::Files)) {
        if (name.compare("Default.dsf", Qt::CaseInsensitive) == 0) {
            layout = folder_.File(name);
        }
    }
    ASSERT_FALSE(layout.isEmpty()) << "a save writes the layout";
    ASSERT_EQ(TrailerColour(ReadAll(layout)), static_cast<std::int32_t>(0x8000000F));

    // A dark green window, as another program or an older save left it (0x00BBGGRR).
    SetTrailerColour(layout, 0x00204010);
    {
        MainWindow window;
        EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0x10, 0x40, 0x20));
        window.close();
    }
    EXPECT_EQ(TrailerColour(ReadAll(layout)), 0x00204010) << "kept for the next start";

    // Back to the system colour: the theme's own again.
    SetTrailerColour(layout, static_cast<std::int32_t>(0x8000000F));
    MainWindow window;
    EXPECT_EQ(window.palette().color(QPalette::Window), themeColour);
    window.close();
}

}  // namespace
}  // namespace vekaton
