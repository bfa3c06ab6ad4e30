#pragma once

#include <initializer_list>
#include <string>

namespace vekaton::testing {

// Bytes written out by hand: numbers are single bytes, quoted text is its characters without a
// length, so that a test spells out a stream exactly as the format lays it down.
struct BytePiece {
    BytePiece(int byte) : bytes(1, static_cast<char>(byte)) {}  // NOLINT: implicit on purpose
    BytePiece(const char* text) : bytes(text) {}                // NOLINT
    std::string bytes;
};

inline std::string Bytes(std::initializer_list<BytePiece> pieces) {
    std::string out;
    for (const BytePiece& piece : pieces) {
        out += piece.bytes;
    }
    return out;
}

}  // namespace vekaton::testing
