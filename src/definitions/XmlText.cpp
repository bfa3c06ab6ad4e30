#include "definitions/XmlText.h"

#include <array>
#include <utility>

namespace vekaton {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::uint32_t> CharacterReferenceValue(std::string_view body) {
    int base = 10;
    if (!body.empty() && body[0] == 'x') {
        base = 16;
        body.remove_prefix(1);
    }
    // Eight digits cover every code point; more can only be leading zeros or too large.
    if (body.empty() || body.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t code = 0;
    for (const char c : body) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        code = code * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    const bool allowed = code == 0x9 || code == 0xA || code == 0xD ||
                         (code >= 0x20 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD) ||
                         (code >= 0x10000 && code <= 0x10FFFF);
    if (!allowed) {
        return std::nullopt;
    }
    return code;
}

std::optional<std::string_view> PredefinedEntity(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kEntities = {{
        {"amp", "&"},
        {"lt", "<"},
        {"gt", ">"},
        {"quot", "\""},
        {"apos", "'"},
    }};
    for (const auto& [entity, text] : kEntities) {
        if (entity == name) {
            return text;
        }
    }
    return std::nullopt;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string ReportLine(std::string_view text) {
    std::string line;
    bool blank = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        const auto next = [&](std::size_t ahead) {
            return i + ahead < text.size() ? static_cast<unsigned char>(text[i + ahead]) : 0U;
        };
        // C1 controls (U+0080 to U+009F) and the Unicode line and paragraph separators end
        // lines or steer terminals as the ASCII controls do.
        const std::size_t wide =
            (u == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F)                        ? 2
            : (u == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9)) ? 3
                                                                                     : 0;
        if (u < 0x20 || u == 0x7F || c == ' ' || wide > 0) {
            blank = true;
            i += wide > 0 ? wide - 1 : 0;
            continue;
        }
        if (blank && !line.empty()) {
            line += ' ';
        }
        blank = false;
        line += c;
    }
    return line;
}

std::string Clipped(std::string_view text, std::size_t characters) {
    std::string line = ReportLine(text);
    std::size_t count = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0U) != 0x80U && count++ == characters) {
            return line.substr(0, i) + "...";
        }
    }
    return line;
}

}  // namespace vekaton
