#include "widgets/StreamColour.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

TEST(StreamColour, ByteOrderIsBlueGreenRed) {
    const QPalette palette;
    EXPECT_EQ(ToQColor(255, palette), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(65535, palette), QColor(255, 255, 0));
    EXPECT_EQ(ToQColor(0, palette), QColor(0, 0, 0));
    EXPECT_EQ(ToQColor(0xFF0000, palette), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(RgbColour(10, 20, 30), palette), QColor(10, 20, 30));
    EXPECT_EQ(FromQColor(QColor(255, 255, 0)), 65535);
    EXPECT_EQ(FromQColor(QColor(10, 20, 30, 40)), RgbColour(10, 20, 30));
}

TEST(StreamColour, SystemColoursFollowThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    palette.setColor(QPalette::WindowText, QColor(4, 5, 6));
    palette.setColor(QPalette::Base, QColor(7, 8, 9));
    palette.setColor(QPalette::Highlight, QColor(10, 11, 12));
    EXPECT_EQ(ToQColor(kColourBtnFace, palette), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(kColourWindowText, palette), QColor(4, 5, 6));
    EXPECT_EQ(ToQColor(kColourWindow, palette), QColor(7, 8, 9));
    EXPECT_EQ(ToQColor(SystemColour(13), palette), QColor(10, 11, 12));
    EXPECT_EQ(ToQColor(kColourNone, palette).alpha(), 0);
}

TEST(StreamColour, DimmedAndContrastingColours) {
    const QColor dim = DimmedColour(QColor(255, 0, 0), QColor(0, 0, 0), 0.25);
    EXPECT_EQ(dim, QColor(64, 0, 0));
    EXPECT_EQ(DimmedColour(QColor(200, 200, 200), QColor(100, 100, 100), 0.0),
              QColor(100, 100, 100));
    EXPECT_EQ(ContrastingColour(QColor(255, 255, 0)), QColor(Qt::black));
    EXPECT_EQ(ContrastingColour(QColor(10, 10, 40)), QColor(Qt::white));
}

}  // namespace
}  // namespace vekaton
