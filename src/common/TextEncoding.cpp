#include "common/TextEncoding.h"

#include <array>
#include <cstdint>

namespace vekaton {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80 to 0x9F of Windows-1252; the rest equal their byte.
constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the UTF-8 character at `pos` and moves past it. A malformed sequence (overlong,
// surrogate, beyond U+10FFFF, cut short) yields U+FFFD and moves one byte on; `valid` is
// cleared then.
char32_t NextCodePoint(std::string_view text, std::size_t& pos, bool& valid) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    }
    if (length == 0 || text.size() - pos < length) {
        ++pos;
        valid = false;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            valid = false;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        valid = false;
        return kReplacement;
    }
    pos += length;
    return c;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        AppendUtf8(out, b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char32_t{b});
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    bool valid = true;
    while (pos < text.size()) {
        const char32_t c = NextCodePoint(text, pos, valid);
        if (!valid) {
            return std::nullopt;
        }
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
            if (kCp1252High[i] == c) {
                out += static_cast<char>(0x80 + i);
                found = true;
                break;
            }
        }
        if (!found) {
            return std::nullopt;
        }
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        AppendUtf8(out, static_cast<std::uint8_t>(ch));
    }
    return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    const std::size_t units = bytes.size() / 2;
    const auto unit = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                     (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char16_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((char32_t{u} - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? kReplacement : char32_t{u});
    }
    if (bytes.size() % 2 != 0) {
        AppendUtf8(out, kReplacement);
    }
    return out;
}

std::string Utf8ToUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    const auto put = [&out](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    std::size_t pos = 0;
    bool valid = true;
    while (pos < text.size()) {
        const char32_t c = NextCodePoint(text, pos, valid);
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    bool valid = true;
    while (pos < text.size()) {
        AppendUtf8(out, NextCodePoint(text, pos, valid));
    }
    return out;
}

}  // namespace vekaton
