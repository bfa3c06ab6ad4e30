#include "definitions/XmlEncoding.h"

#include <algorithm>
#include <cctype>

#include "common/TextEncoding.h"

namespace vekaton {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The value of encoding="..." in an XML declaration at the start of the text, or "" when there
// is none. `where` is set to the offset of the value.
std::string DeclaredEncoding(std::string_view text, std::size_t& where) {
    if (text.substr(0, 5) != "<?xml") {
        return {};
    }
    const std::size_t end = text.find("?>");
    const std::string_view declaration = text.substr(0, end == std::string_view::npos ? 200 : end);
    const std::size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) {
        return {};
    }
    std::size_t i = key + 8;
    while (i < declaration.size() && (declaration[i] == ' ' || declaration[i] == '=')) {
        ++i;
    }
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) {
        return {};
    }
    const char quote = declaration[i];
    const std::size_t close = declaration.find(quote, i + 1);
    if (close == std::string_view::npos) {
        return {};
    }
    where = i + 1;
    return Lower(declaration.substr(i + 1, close - i - 1));
}

bool IsSingleByteWestern(const std::string& encoding) {
    return encoding == "iso-8859-1" || encoding == "iso8859-1" || encoding == "latin1" ||
           encoding == "latin-1" || encoding == "windows-1252" || encoding == "cp1252" ||
           encoding == "us-ascii" || encoding == "ascii";
}

std::string SwapByteOrder(std::string_view bytes) {
    std::string swapped(bytes);
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) {
        std::swap(swapped[i], swapped[i + 1]);
    }
    return swapped;
}

}  // namespace

TextPlace PlaceOfOffset(std::string_view text, std::size_t offset) {
    TextPlace place;
    const std::size_t end = std::min(offset, text.size());
    for (std::size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++place.line;
            place.column = 1;
        } else if (c != '\r' && (c & 0xC0U) != 0x80U) {
            ++place.column;
        }
    }
    return place;
}

std::variant<std::string, XmlError> DecodeXmlBytes(std::string_view bytes) {
    if (bytes.substr(0, 3) == kUtf8Mark) {
        return ValidUtf8(bytes.substr(3));
    }
    if (bytes.substr(0, 2) == kUtf16LeMark) {
        return Utf16LeToUtf8(bytes.substr(2));
    }
    if (bytes.substr(0, 2) == kUtf16BeMark) {
        return Utf16LeToUtf8(SwapByteOrder(bytes.substr(2)));
    }
    std::size_t where = 0;
    const std::string encoding = DeclaredEncoding(bytes, where);
    if (IsSingleByteWestern(encoding)) {
        return Cp1252ToUtf8(bytes);
    }
    if (!encoding.empty() && encoding != "utf-8" && encoding != "utf8") {
        const TextPlace place = PlaceOfOffset(bytes, where);
        return XmlError{place.line, place.column,
                        "the file declares the encoding \"" + encoding +
                            "\", which this reader does not know; save it as UTF-8"};
    }
    std::string text = ValidUtf8(bytes);
    if (encoding.empty() && text != bytes) {
        // Windows tools often write their code page without saying so.
        return Cp1252ToUtf8(bytes);
    }
    return text;
}

}  // namespace vekaton
