#include "decode/ParserErrors.h"

#include "common/MessageText.h"

namespace vekaton {
namespace {

// The parts are pieces of a formula, which may be a whole line of a damaged file.
std::string SyntaxErrorMessage(const std::string& text, const std::string& leftPart,
                               const std::string& rightPart) {
    std::string message = "Error parsing expression:";
    if (leftPart == kUnsetPart && rightPart == kUnsetPart) {
        message += '\r';
        message += QuoteText(text);
    } else {
        message += '\r';
        message += QuoteText(leftPart);
        message += '\r';
        message += QuoteText(rightPart);
    }
    return message;
}

}  // namespace

EExpressionHasBlanks::EExpressionHasBlanks() : EMathParserError("Expression has blanks") {}

EMissMatchingBracket::EMissMatchingBracket() : EMathParserError("Missing brackets in expression") {}

ESyntaxError::ESyntaxError(const std::string& text, const std::string& leftPart,
                           const std::string& rightPart)
    : EMathParserError(SyntaxErrorMessage(text, leftPart, rightPart)) {}

ETooManyNestings::ETooManyNestings() : EMathParserError("Expression contains too many nestings") {}

EExpressionTooComplex::EExpressionTooComplex() : EMathParserError("Expression is too complex") {}

EParserInternalError::EParserInternalError() : EMathParserError("TParser internal error") {}

}  // namespace vekaton
