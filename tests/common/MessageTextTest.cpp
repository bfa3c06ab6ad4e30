#include "common/MessageText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "common/IntConversion.h"

namespace vekaton {
namespace {

// Characters as a reader sees them: UTF-8 sequences count once.
std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
    }
    return count;
}

const std::string kEllipsis = "\xE2\x80\xA6";

TEST(QuoteText, ShortPrintableTextStaysAsItIs) {
    EXPECT_EQ(QuoteText(""), "");
    EXPECT_EQ(QuoteText("A*0.75-40"), "A*0.75-40");
    EXPECT_EQ(QuoteText("Kühlmittel °C"), "Kühlmittel °C");
    const std::string eighty(80, 'x');
    EXPECT_EQ(QuoteText(eighty), eighty);
}

TEST(QuoteText, LongTextIsCutToEightyCharactersEndingInAnEllipsis) {
    const std::string quoted = QuoteText(std::string(81, 'x'));
    EXPECT_EQ(quoted, std::string(79, 'x') + kEllipsis);
    EXPECT_EQ(Characters(quoted), 80u);

    // Multi-byte characters are never split.
    std::string umlauts;
    for (int i = 0; i < 100; ++i) {
        umlauts += "ü";
    }
    const std::string cut = QuoteText(umlauts);
    EXPECT_EQ(Characters(cut), 80u);
    EXPECT_EQ(cut.substr(cut.size() - 3), kEllipsis);
    EXPECT_EQ(cut.substr(0, 2), "ü");
}

TEST(QuoteText, ControlCharactersNulsAndBrokenUtf8AreShownAsEscapes) {
    EXPECT_EQ(QuoteText(std::string("a\0b", 3)), "a\\0b");
    EXPECT_EQ(QuoteText("tab\there\r\n"), "tab\\there\\r\\n");
    EXPECT_EQ(QuoteText("\x1B[31mred"), "\\x1B[31mred");
    EXPECT_EQ(QuoteText("\x7F"), "\\x7F");
    EXPECT_EQ(QuoteText("\xFF\xC3"), "\\xFF\\xC3");  // not UTF-8
    EXPECT_EQ(QuoteText("\xC0\xAF"), "\\xC0\\xAF");  // overlong
    EXPECT_EQ(QuoteText("\xC2\x85"), "\\u0085");     // a C1 control, next line
    EXPECT_EQ(QuoteText("a\xE2\x80\xAE"
                        "b"),
              "a\\u202Eb");  // turns the text around
    // An escape is never cut in half at the limit.
    const std::string quoted = QuoteText(std::string(78, 'x') + std::string(10, '\0'));
    EXPECT_EQ(quoted, std::string(78, 'x') + kEllipsis);
    for (const char c : QuoteText(std::string(200, '\0'))) {
        EXPECT_NE(c, '\0');
    }
}

TEST(QuoteText, HugeTextIsQuotedWithoutLookingAtAllOfIt) {
    const std::string huge(64 * 1024 * 1024, 'x');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Characters(QuoteText(huge)), 80u);
    EXPECT_EQ(Characters(InvalidIntegerMessage(huge)), 80u + 31u);
    // Generous: quoting must not walk 64 MB (that alone takes far longer under sanitizers).
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(QuotePath, LongPathKeepsItsEnd) {
    EXPECT_EQ(QuotePath("/home/me/sets/Demo.cfg"), "/home/me/sets/Demo.cfg");
    const std::string folder = "/" + std::string(100, 'd') + "/";
    const std::string quoted = QuotePath(folder + "Demo.cfg");
    EXPECT_EQ(Characters(quoted), 80u);
    EXPECT_EQ(quoted.substr(0, 3), kEllipsis);
    EXPECT_EQ(quoted.substr(quoted.size() - 9), "/Demo.cfg");
    EXPECT_EQ(QuotePath(std::string("a\nb.ini")), "a\\nb.ini");
}

TEST(IntConversion, ConversionErrorQuotesAtMostEightyCharacters) {
    const std::string line = std::string(10000, '7') + "x";
    try {
        StrToInt(line);
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message,
                  "'" + std::string(79, '7') + kEllipsis + "' is not a valid integer value");
    }
    EXPECT_EQ(InvalidIntegerMessage(std::string("1\0", 2)), "'1\\0' is not a valid integer value");
}

}  // namespace
}  // namespace vekaton
