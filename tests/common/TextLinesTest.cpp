// Line ends as people's editors write them, and letter case as the set files know it.
#include <gtest/gtest.h>

#include "common/AsciiCase.h"
#include "common/TextLines.h"

namespace vekaton {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, CrLfLfAndALoneCrEachEndOneLine) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"})) << "LF then CR is two line ends";
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r"), (Lines{""}));
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("last"), Lines{"last"});
}

TEST(TextLines, TheProgramsOwnFilesKeepALoneCrInsideTheLine) {
    EXPECT_EQ(SplitLinesAtLf("Folder=/a\rFolder=/b\r\nSet=x\n"),
              (Lines{"Folder=/a\rFolder=/b", "Set=x"}));
}

TEST(TextLines, OneLineTurnsLineBreaksIntoBlanks) {
    EXPECT_EQ(OneLine("a\rb\nc\r\nd"), "a b c  d");
    EXPECT_EQ(SplitLines(JoinLinesCrLf({OneLine("x\ry"), "z"})), (Lines{"x y", "z"}));
}

TEST(AsciiCase, OnlyAsciiLettersChangeOrMatchAcrossCase) {
    EXPECT_EQ(UpperAscii("UserLabel1 \xC3\xA4z"), "USERLABEL1 \xC3\xA4Z");
    EXPECT_EQ(LowerAscii("Demo.DSF"), "demo.dsf");
    EXPECT_TRUE(EqualsNoCase("Vekaton.Ini", "VEKATON.INI"));
    EXPECT_FALSE(EqualsNoCase("Vekaton.Ini", "Vekaton.In"));
    EXPECT_FALSE(EqualsNoCase("\xC3\xA4", "\xC3\x84")) << "not a letter of ASCII";
    EXPECT_FALSE(EqualsNoCase("@", "`")) << "0x40 and 0x60 differ by the case bit only";
    EXPECT_TRUE(StartsWithNoCase("userResetButton7", "USERRESETBUTTON"));
    EXPECT_FALSE(StartsWithNoCase("USER", "USERLABEL"));
    EXPECT_TRUE(EndsWithNoCase("Demo.Dsf", ".dsf"));
    EXPECT_FALSE(EndsWithNoCase("dsf", ".dsf"));
}

}  // namespace
}  // namespace vekaton
