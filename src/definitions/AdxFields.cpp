#include "definitions/AdxFields.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "definitions/XmlText.h"

namespace vekaton {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool HasHexPrefix(std::string_view text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

std::optional<std::string> AdxField(const XmlElement& element, std::string_view name) {
    if (const XmlElement* child = element.Child(name)) {
        return std::string(Trim(child->text));
    }
    if (const std::string* attribute = element.Attribute(name)) {
        return std::string(Trim(*attribute));
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ParseAdxHex(std::string_view text) {
    text = Trim(text);
    if (HasHexPrefix(text)) {
        text.remove_prefix(2);
    }
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ParseAdxInteger(std::string_view text) {
    text = Trim(text);
    if (HasHexPrefix(text)) {
        const auto hex = ParseAdxHex(text);
        return hex ? std::optional<std::int64_t>(*hex) : std::nullopt;
    }
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseAdxReal(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> ParseAdxFlag(std::string_view text) {
    text = Trim(text);
    if (text == "1" || EqualsIgnoringCase(text, "true") || EqualsIgnoringCase(text, "yes")) {
        return true;
    }
    if (text == "0" || EqualsIgnoringCase(text, "false") || EqualsIgnoringCase(text, "no")) {
        return false;
    }
    return std::nullopt;
}

std::string ReportNumber(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    std::string result(text);
    return result == "-0" ? "0" : result;
}

std::string HexWord(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string RequestText(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (const std::uint8_t b : bytes) {
        char byte[8];
        std::snprintf(byte, sizeof byte, "$%02X", b);
        text += text.empty() ? "" : " ";
        text += byte;
    }
    return text;
}

}  // namespace vekaton
