#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "decode/ExpressionNumber.h"
#include "decode/Parser.h"
#include "decode/ParserErrors.h"

namespace vekaton {
namespace {

TEST(ExpressionNumberTest, ReadsSignsFractionsAndExponents) {
    EXPECT_EQ(ParseNumberLiteral("12", '.'), 12.0);
    EXPECT_EQ(ParseNumberLiteral("-12.25", '.'), -12.25);
    EXPECT_EQ(ParseNumberLiteral("+4", '.'), 4.0);
    EXPECT_EQ(ParseNumberLiteral("1.5E3", '.'), 1500.0);
    EXPECT_EQ(ParseNumberLiteral("2E-3", '.'), 0.002);
    EXPECT_EQ(ParseNumberLiteral("2E+3", '.'), 2000.0);
    EXPECT_EQ(ParseNumberLiteral("0.1", '.'), 0.1);  // correctly rounded
    EXPECT_EQ(ParseNumberLiteral("PI", '.'), std::numbers::pi);
    EXPECT_EQ(ParseNumberLiteral("-PI", '.'), -std::numbers::pi);
}

TEST(ExpressionNumberTest, EitherSideOfThePointMayBeEmptyButNotBoth) {
    EXPECT_EQ(ParseNumberLiteral("1.", '.'), 1.0);
    EXPECT_EQ(ParseNumberLiteral(".5", '.'), 0.5);
    EXPECT_EQ(ParseNumberLiteral("-.5", '.'), -0.5);
    EXPECT_EQ(ParseNumberLiteral("1.E2", '.'), 100.0);
    EXPECT_FALSE(ParseNumberLiteral(".", '.'));
    EXPECT_FALSE(ParseNumberLiteral("-", '.'));
    EXPECT_FALSE(ParseNumberLiteral(".E5", '.'));
    EXPECT_FALSE(ParseNumberLiteral("", '.'));
}

TEST(ExpressionNumberTest, RefusesEverythingElse) {
    for (const char* text : {"1E", "1E+", "E5", "1.2.3", "1,5", "+PI", "PI2", "2PI", "0X10", "$10",
                             "INF", "NAN", "1E5.5", "--1", "1 "}) {
        EXPECT_FALSE(ParseNumberLiteral(text, '.')) << text;
    }
}

TEST(ExpressionNumberTest, OutOfRangeLiterals) {
    EXPECT_FALSE(ParseNumberLiteral("1E400", '.'));
    EXPECT_FALSE(ParseNumberLiteral("-1E400", '.'));
    EXPECT_EQ(ParseNumberLiteral("1E-400", '.'), 0.0);
    EXPECT_EQ(ParseNumberLiteral("0.0000001E-320", '.'), 0.0);
    EXPECT_EQ(ParseNumberLiteral("1E99999999999999999999", '.'), std::nullopt);
    EXPECT_EQ(ParseNumberLiteral("4.9E-324", '.'), std::nextafter(0.0, 1.0));
}

TEST(ExpressionNumberTest, LocaleSeparatorReplacesThePoint) {
    EXPECT_EQ(ParseNumberLiteral("1,5", ','), 1.5);
    EXPECT_EQ(ParseNumberLiteral("1,5E1", ','), 15.0);
    EXPECT_FALSE(ParseNumberLiteral("1.5", ','));
}

TEST(ExpressionNumberTest, NumbersInFormulas) {
    TParser parser;
    parser.SetExpression("1.+.5");
    EXPECT_EQ(parser.Value(), 1.5);
    parser.SetExpression("A*+5");
    parser.A() = 2;
    EXPECT_EQ(parser.Value(), 10);
    parser.SetExpression("1E-5-A");
    EXPECT_EQ(parser.Value(), 1e-5 - 2);
    parser.SetExpression("2E+3+E");
    parser.E() = 1;
    EXPECT_EQ(parser.Value(), 2001);
    EXPECT_THROW(parser.SetExpression("1E+A"), ESyntaxError);
    EXPECT_THROW(parser.SetExpression("1E400*A"), ESyntaxError);
    // A number's own sign is no negation, so it may follow an operator.
    parser.SetExpression("A/-2");
    EXPECT_EQ(parser.Value(), -1);
}

}  // namespace
}  // namespace vekaton
