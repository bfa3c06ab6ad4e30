#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "decode/ParameterTable.h"

namespace vekaton {

// The lowest and highest value of every frame position since the last reset, and for digital
// positions which bits have been seen set and clear. Fed once per frame with the table the
// frame left behind: each position takes one value per frame, so nothing is missed.
class ValueStatistics {
  public:
    struct Range {
        double minimum = 0.0;
        double maximum = 0.0;
    };

    // Positions 1 to lastPosition (held within the table).
    void Observe(const ParameterTable& table, int lastPosition);
    void Reset();

    std::optional<Range> Of(int position) const;  // nothing before the first frame
    // Bits of a digital position seen set / clear since the reset.
    std::uint8_t BitsSeenSet(int position) const;
    std::uint8_t BitsSeenClear(int position) const;

  private:
    struct Entry {
        bool seen = false;
        Range range;
        std::uint8_t set = 0;
        std::uint8_t clear = 0;
    };
    const Entry* Find(int position) const;

    std::array<Entry, ParameterTable::kLastPosition + 1> entries_{};  // [0] unused
};

}  // namespace vekaton
