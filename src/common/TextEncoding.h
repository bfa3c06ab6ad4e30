#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vekaton {

// Conversions between the text encodings that stored files use and the UTF-8 the program keeps
// its text in. Malformed input never fails: what cannot be decoded becomes U+FFFD.

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the control characters of the same number, so every byte round-trips.
std::string Cp1252ToUtf8(std::string_view bytes);
// UTF-8 as Windows-1252 bytes; nothing when a character has no byte in that code page (or the
// text is not valid UTF-8).
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// Each byte as the character of the same number (ISO 8859-1), in UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// UTF-16 little-endian code units as UTF-8; an unpaired surrogate or an odd last byte gives
// U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);
// UTF-8 as UTF-16 little-endian code units.
std::string Utf8ToUtf16Le(std::string_view text);

// The text with every malformed UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

}  // namespace vekaton
