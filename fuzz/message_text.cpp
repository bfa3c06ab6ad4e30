// Quoting file and user text for messages: whatever the bytes, the result is valid UTF-8 of at
// most 80 characters with no NUL or control character, and text that needs no quoting stays.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/MessageText.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Counts the characters of valid UTF-8 and checks that none is a control character.
std::size_t CheckedCharacters(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        std::uint32_t value = lead;
        if (lead >= 0xF0) {
            length = 4;
            value = lead & 0x07u;
        } else if (lead >= 0xE0) {
            length = 3;
            value = lead & 0x0Fu;
        } else if (lead >= 0xC0) {
            length = 2;
            value = lead & 0x1Fu;
        } else {
            Check(lead >= 0x20 && lead < 0x7F);
        }
        Check(i + length <= text.size());
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            Check((next & 0xC0u) == 0x80u);
            value = (value << 6) | (next & 0x3Fu);
        }
        Check(!(value >= 0x80 && value <= 0x9F));
        i += length;
    }
    return count;
}

bool NeedsNoQuoting(std::string_view text) {
    if (text.size() > vekaton::kQuotedTextLimit) {
        return false;
    }
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string quoted = vekaton::QuoteText(text);
    Check(CheckedCharacters(quoted) <= vekaton::kQuotedTextLimit);
    const std::string path = vekaton::QuotePath(std::string(text));
    Check(CheckedCharacters(path) <= vekaton::kQuotedTextLimit);
    if (NeedsNoQuoting(text)) {
        Check(quoted == text);
        Check(path == text);
    }
    return 0;
}
