#include "common/TextEncoding.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

TEST(TextEncoding, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80\x9F\xE9"), "\u20AC\u0178\u00E9");
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\u0081");  // undefined: the control of the same number
}

TEST(TextEncoding, TextOutsideWindows1252HasNoBytesThere) {
    EXPECT_EQ(Utf8ToCp1252("caf\u00E9 \u20AC"), "caf\xE9 \x80");
    EXPECT_FALSE(Utf8ToCp1252("\u03A9"));
    EXPECT_FALSE(Utf8ToCp1252("\U0001F697"));
    EXPECT_FALSE(Utf8ToCp1252("\xC3"));      // cut short
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF"));  // overlong
}

TEST(TextEncoding, Utf16WithSurrogatesAndDamage) {
    const std::string units = Utf8ToUtf16Le("A\u20AC\U0001F697");
    EXPECT_EQ(units, std::string("\x41\x00\xAC\x20\x3D\xD8\x97\xDE", 8));
    EXPECT_EQ(Utf16LeToUtf8(units), "A\u20AC\U0001F697");
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8\x41\x00", 4)), "\uFFFDA");  // lone high half
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x97\xDE", 2)), "\uFFFD");           // lone low half
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x41\x00\x42", 3)), "A\uFFFD");      // odd byte
}

TEST(TextEncoding, Latin1AndValidUtf8) {
    EXPECT_EQ(Latin1ToUtf8("\xE9\x80"), "\u00E9\u0080");
    EXPECT_EQ(ValidUtf8("ok \xFF \xE2\x82"), "ok \uFFFD \uFFFD\uFFFD");
    EXPECT_EQ(ValidUtf8("\u00E9\U0001F697"), "\u00E9\U0001F697");
}

}  // namespace
}  // namespace vekaton
