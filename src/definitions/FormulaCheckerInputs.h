#pragma once

// The raw inputs a formula check walks; included by FormulaChecker.h.
#include <array>
#include <cstdint>

namespace vekaton {

template <typename Visit>
void ForEachRawInput(int bytes, Visit visit) {
    std::array<double, 5> v{};
    if (bytes <= 1) {
        for (int a = 0; a < 256; ++a) {
            v[0] = a;
            visit(v);
        }
        return;
    }
    if (bytes == 2) {
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                v[0] = a;
                v[1] = b;
                visit(v);
            }
        }
        return;
    }
    constexpr std::array<int, 6> kCorners = {0, 1, 127, 128, 254, 255};
    const int count = bytes > 5 ? 5 : bytes;
    int combinations = 1;
    for (int i = 0; i < count; ++i) {
        combinations *= static_cast<int>(kCorners.size());
    }
    for (int n = 0; n < combinations; ++n) {
        int rest = n;
        for (int i = 0; i < count; ++i) {
            v[static_cast<std::size_t>(i)] = kCorners[static_cast<std::size_t>(rest % 6)];
            rest /= 6;
        }
        visit(v);
    }
    std::uint32_t state = 0x12345678U;  // a fixed spread, the same on every run
    for (int n = 0; n < 4096; ++n) {
        for (int i = 0; i < count; ++i) {
            state = state * 1664525U + 1013904223U;
            v[static_cast<std::size_t>(i)] = static_cast<double>(state >> 24U);
        }
        visit(v);
    }
}

}  // namespace vekaton
