#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vekaton {

// Small text helpers of the XML reader and of what reads its elements.

// ASCII letters compared without regard to case; other bytes must be equal.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The code point of a character reference's body after "&#": decimal digits or "x" and hex
// digits. Nothing when it is malformed or names a character XML does not allow.
std::optional<std::uint32_t> CharacterReferenceValue(std::string_view body);

// What one of XML's five entities stands for ("amp" gives "&"); nothing for any other name.
std::optional<std::string_view> PredefinedEntity(std::string_view name);

// Appends a code point as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t code);

// The text on one line: line breaks, tabs and control characters become blanks, runs of blanks
// one blank, and outer blanks go.
std::string ReportLine(std::string_view text);

// As ReportLine, cut to at most `characters` characters (an ellipsis marks the cut): texts of the
// file quoted in a report line.
std::string Clipped(std::string_view text, std::size_t characters = 60);

}  // namespace vekaton
