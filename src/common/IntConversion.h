#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vekaton {

// The conversion error every integer field reports: "'%s' is not a valid integer value", the
// text quoted as QuoteText shows it.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(std::string_view text);
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

std::string InvalidIntegerMessage(std::string_view text);

// The standard signed 32-bit conversion used for every integer field of the set files: optional
// leading blanks, an optional sign, then decimal digits, or hexadecimal after "$" or "0x". The
// whole text must be used and the value must fit; otherwise nothing.
std::optional<std::int32_t> TryStrToInt(std::string_view text);
// As TryStrToInt, but throws ConversionError.
std::int32_t StrToInt(std::string_view text);

}  // namespace vekaton
