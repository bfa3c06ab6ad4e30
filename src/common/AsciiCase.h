#pragma once

#include <string>
#include <string_view>

namespace vekaton {

// Letter case as the set files, item names and stream identifiers know it: ASCII letters only,
// whatever the process locale says, so that a byte of a UTF-8 name is never changed or matched
// as a letter.
char UpperAscii(char c);
char LowerAscii(char c);
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

}  // namespace vekaton
