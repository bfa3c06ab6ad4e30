#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vekaton {

// Text from a file or typed by the user, made safe to quote in a message. A whole file line can
// be megabytes long and may hold NULs or terminal controls, so every message that quotes such
// text goes through here.
inline constexpr std::size_t kQuotedTextLimit = 80;

// At most kQuotedTextLimit characters: longer text is cut and ends with "…". Control characters
// and NULs are shown as escapes (\0, \t, \r, \n, \x1B), bytes that are not UTF-8 as \xHH.
std::string QuoteText(std::string_view text);

// A path to quote in a message: as QuoteText, but a long path keeps its end (the file's own
// name) and loses its beginning: "…" and the last characters.
std::string QuotePath(const std::filesystem::path& path);

}  // namespace vekaton
