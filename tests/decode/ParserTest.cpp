#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "decode/ExpressionEvaluator.h"
#include "decode/Parser.h"
#include "decode/ParserErrors.h"

namespace vekaton {
namespace {

TEST(ParserTest, StartsEmptyWithZeroVariables) {
    TParser parser;
    EXPECT_EQ(parser.Expression(), "");
    EXPECT_TRUE(parser.PascalNumberformat());
    EXPECT_FALSE(parser.ParseError());
    EXPECT_EQ(parser.Value(), 0.0);
    for (const char* name : {"A", "B", "C", "D", "E", "X", "Y", "T"}) {
        EXPECT_EQ(parser.Variable(name), 0.0) << name;
    }
    EXPECT_THROW(parser.Variable("Q"), std::out_of_range);
}

TEST(ParserTest, VariablesNeedNoRebuild) {
    TParser parser;
    parser.SetExpression("A*256+B");
    parser.A() = 0x12;
    parser.B() = 0x34;
    EXPECT_EQ(parser.Value(), 4660);
    parser.B() = 0;
    EXPECT_EQ(parser.Value(), 4608);
    parser.SetExpression("X+Y+T");
    parser.X() = 1;
    parser.Y() = 2;
    parser.T() = 4;
    EXPECT_EQ(parser.Value(), 7);
    EXPECT_EQ(parser.A(), 0x12);  // variables outlive the expression
}

TEST(ParserTest, EmptyExpressionIsZeroWithoutAnEvent) {
    TParser parser;
    int events = 0;
    parser.SetOnParserError([&](TCustomParser&, const std::exception&) { ++events; });
    parser.SetExpression("A+1");
    parser.SetExpression("");
    EXPECT_EQ(parser.Value(), 0.0);
    EXPECT_FALSE(parser.ParseError());
    EXPECT_EQ(events, 0);
}

TEST(ParserTest, FailedBuildRaisesTheEventOncePerAssignment) {
    TParser parser;
    std::string caught;
    int events = 0;
    parser.SetOnParserError([&](TCustomParser& sender, const std::exception& e) {
        EXPECT_EQ(&sender, &parser);
        caught = dynamic_cast<const ESyntaxError*>(&e) != nullptr ? e.what() : "wrong class";
        ++events;
    });
    parser.SetExpression("A+1");
    parser.SetExpression("A+");
    EXPECT_EQ(events, 1);
    EXPECT_EQ(caught, "Error parsing expression:\rA+");
    EXPECT_TRUE(parser.ParseError());
    EXPECT_EQ(parser.Expression(), "A+");
    EXPECT_EQ(parser.Value(), 0.0);  // the old list is gone
    parser.SetExpression("A+");
    EXPECT_EQ(events, 2);
    parser.SetExpression("A+2");
    EXPECT_FALSE(parser.ParseError());
    EXPECT_EQ(parser.Value(), 2);
}

TEST(ParserTest, WithoutAHandlerTheBuildFaultReachesTheAssigner) {
    TParser parser;
    EXPECT_THROW(parser.SetExpression("A *2"), EExpressionHasBlanks);
    EXPECT_TRUE(parser.ParseError());
    EXPECT_EQ(parser.Value(), 0.0);
}

TEST(ParserTest, ArithmeticFaultsReachTheReaderOfValue) {
    TParser parser;
    parser.SetOnParserError([](TCustomParser&, const std::exception&) { FAIL(); });
    parser.SetExpression("1/A");
    EXPECT_THROW(parser.Value(), ExpressionFault);
    parser.A() = 4;
    EXPECT_EQ(parser.Value(), 0.25);  // nothing stuck after a fault
}

TEST(ParserTest, NumberFormatFollowsTheFlag) {
    TParser parser;
    parser.SetPascalNumberformat(false);
    // The tests run in the "C" locale, whose separator is the point.
    parser.SetExpression("1.5*2");
    EXPECT_EQ(parser.Value(), 3);
    parser.SetPascalNumberformat(true);
    parser.SetExpression("1.5*4");
    EXPECT_EQ(parser.Value(), 6);
}

double Twice(double x, EvalState&) {
    return 2 * x;
}

// A parser with names of its own: a longer variable name and a second SIN.
class CustomParser : public TCustomParser {
  public:
    CustomParser() {
        AddVariable("SPEED");
        AddVariable("SPEED");  // ignored
        AddVariable("B");
        AddFunctionOneParam("TWICE", Twice);
    }
    void AddTwiceAgain() { AddFunctionOneParam("TWICE", Twice); }
};

TEST(ParserTest, DerivedParsersBringTheirOwnNames) {
    CustomParser parser;
    parser.Variable("SPEED") = 21;
    parser.Variable("B") = 1;
    parser.SetExpression("twice(speed)-B");
    EXPECT_EQ(parser.Value(), 41);
    EXPECT_THROW(parser.AddTwiceAgain(), std::invalid_argument);
    EXPECT_THROW(parser.SetExpression("SIN(B)"), ESyntaxError);
}

}  // namespace
}  // namespace vekaton
