#include "common/MessageText.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace vekaton {

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…", one character

struct Piece {
    std::size_t begin = 0;   // in the source text
    std::size_t length = 0;  // source bytes it stands for
    std::string shown;       // what the message shows
    std::size_t characters = 0;
};

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}

// Length of the well-formed UTF-8 sequence at `at` and its code point; 0 when there is none.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, std::uint32_t* codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t value = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) {
            return 0;
        }
        value = (value << 6) | (byte(i) & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    *codePoint = value;
    return length;
}

// Characters that would break a message's lines or turn its text around when shown as they are.
bool ShownAsEscape(std::uint32_t codePoint) {
    return (codePoint >= 0x80 && codePoint <= 0x9F) || codePoint == 0x2028 || codePoint == 0x2029 ||
           (codePoint >= 0x202A && codePoint <= 0x202E) ||
           (codePoint >= 0x2066 && codePoint <= 0x2069);
}

Piece NextPiece(std::string_view text, std::size_t at) {
    Piece piece;
    piece.begin = at;
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
        piece.length = 1;
        switch (c) {
            case '\0':
                piece.shown = "\\0";
                break;
            case '\t':
                piece.shown = "\\t";
                break;
            case '\r':
                piece.shown = "\\r";
                break;
            case '\n':
                piece.shown = "\\n";
                break;
            default:
                piece.shown = (c < 0x20 || c == 0x7F) ? "\\x" + Hex(c, 2) : std::string(1, char(c));
                break;
        }
        piece.characters = piece.shown.size();
        return piece;
    }
    std::uint32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(text, at, &codePoint);
    if (length == 0) {
        piece.length = 1;
        piece.shown = "\\x" + Hex(c, 2);
    } else if (ShownAsEscape(codePoint)) {
        piece.length = length;
        piece.shown = "\\u" + Hex(codePoint, 4);
    } else {
        piece.length = length;
        piece.shown = std::string(text.substr(at, length));
        piece.characters = 1;
        return piece;
    }
    piece.characters = piece.shown.size();
    return piece;
}

}  // namespace

std::string QuoteText(std::string_view text) {
    // Only as much of the text is looked at as can be shown, however long it is.
    std::vector<Piece> pieces;
    std::size_t characters = 0;
    std::size_t at = 0;
    while (at < text.size() && characters <= kQuotedTextLimit) {
        pieces.push_back(NextPiece(text, at));
        characters += pieces.back().characters;
        at += pieces.back().length;
    }
    const bool cut = characters > kQuotedTextLimit;
    std::string quoted;
    std::size_t used = 0;
    for (const Piece& piece : pieces) {
        if (cut && used + piece.characters > kQuotedTextLimit - 1) {
            break;
        }
        quoted += piece.shown;
        used += piece.characters;
    }
    if (cut) {
        quoted += kEllipsis;
    }
    return quoted;
}

std::string QuotePath(const std::filesystem::path& path) {
    const std::string text = path.string();
    std::vector<Piece> pieces;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); at += pieces.back().length) {
        pieces.push_back(NextPiece(text, at));
        characters += pieces.back().characters;
    }
    if (characters <= kQuotedTextLimit) {
        std::string quoted;
        for (const Piece& piece : pieces) {
            quoted += piece.shown;
        }
        return quoted;
    }
    std::size_t first = pieces.size();
    std::size_t kept = 0;
    while (first > 0 && kept + pieces[first - 1].characters <= kQuotedTextLimit - 1) {
        --first;
        kept += pieces[first].characters;
    }
    std::string quoted(kEllipsis);
    for (std::size_t i = first; i < pieces.size(); ++i) {
        quoted += pieces[i].shown;
    }
    return quoted;
}

}  // namespace vekaton
