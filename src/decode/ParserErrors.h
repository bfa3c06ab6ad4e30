#pragma once

#include <stdexcept>
#include <string>

namespace vekaton {

// Base of every fault the expression builder reports; the parser turns them into its
// OnParserError event. ClassName() gives the name users see on the command line.
class EMathParserError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    virtual const char* ClassName() const { return "EMathParserError"; }
};

class EExpressionHasBlanks : public EMathParserError {
  public:
    EExpressionHasBlanks();
    const char* ClassName() const override { return "EExpressionHasBlanks"; }
};

class EMissMatchingBracket : public EMathParserError {
  public:
    EMissMatchingBracket();
    const char* ClassName() const override { return "EMissMatchingBracket"; }
};

class ESyntaxError : public EMathParserError {
  public:
    // "Error parsing expression:" followed by "\r<left>\r<right>", or "\r<text>" when the node
    // never got as far as a split.
    ESyntaxError(const std::string& text, const std::string& leftPart,
                 const std::string& rightPart);
    const char* ClassName() const override { return "ESyntaxError"; }
};

class ETooManyNestings : public EMathParserError {
  public:
    ETooManyNestings();
    const char* ClassName() const override { return "ETooManyNestings"; }
};

class EExpressionTooComplex : public EMathParserError {
  public:
    EExpressionTooComplex();
    const char* ClassName() const override { return "EExpressionTooComplex"; }
};

class EParserInternalError : public EMathParserError {
  public:
    EParserInternalError();
    const char* ClassName() const override { return "EParserInternalError"; }
};

// The blank a new tree node's left and right part texts start with; a syntax error that still
// finds both parts at this value quotes the node's whole text instead.
inline constexpr const char* kUnsetPart = " ";

}  // namespace vekaton
