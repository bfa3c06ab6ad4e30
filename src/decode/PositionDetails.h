#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vekaton {

// A name for one value of a multi-bit field, such as "0 = Park".
struct ValueName {
    std::int64_t value = 0;
    std::string name;

    bool operator==(const ValueName&) const = default;
};

// What a definition knows about an analog position beyond its formula: the unit, the range a
// gauge should show, the limits beyond which the value is a warning, and how to print it. The
// parameter file cannot hold any of it, so it lives in the set's details file.
struct PositionDetails {
    std::string unit;
    std::optional<double> displayMin;
    std::optional<double> displayMax;
    std::optional<double> warnLow;   // a value below it warns
    std::optional<double> warnHigh;  // a value above it warns
    std::optional<int> decimals;
    bool alarm = false;  // beyond a limit, an alarm sounds as well as the warning
    std::vector<ValueName> valueNames;
    // What the value is to a generated dashboard ("engine-speed", "coolant", ...; see
    // DashboardRoles.h); empty when it plays no particular part.
    std::string role;
    // Keys of the details file this program does not know, written back as read.
    std::vector<std::pair<std::string, std::string>> unknownKeys;

    bool operator==(const PositionDetails&) const = default;
};

// What a definition knows about one flag bit of a digital position.
struct BitDetails {
    bool activeWhenClear = false;  // the condition holds when the bit is 0
    bool alarm = false;            // an alarm while the condition holds ("Check engine")
    std::vector<std::pair<std::string, std::string>> unknownKeys;

    bool operator==(const BitDetails&) const = default;
};

// A section of the details file that is not about one position, such as "[definition]": its
// keys in the order read, kept whole.
struct DetailsSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;

    // The value of the first key of that name; nullptr when there is none.
    const std::string* Find(std::string_view key) const {
        for (const auto& [keyName, value] : keys) {
            if (keyName == key) {
                return &value;
            }
        }
        return nullptr;
    }
    bool operator==(const DetailsSection&) const = default;
};

// The details of every frame position that has any, by position 1 to 500 (and bit 0 to 7).
// Positions without details behave as before the details existed.
class DetailsTable {
  public:
    const PositionDetails* Find(int position) const {
        const auto found = positions_.find(position);
        return found == positions_.end() ? nullptr : &found->second;
    }
    const BitDetails* FindBit(int position, int bit) const {
        const auto found = bits_.find({position, bit});
        return found == bits_.end() ? nullptr : &found->second;
    }
    PositionDetails& At(int position) { return positions_[position]; }
    BitDetails& AtBit(int position, int bit) { return bits_[{position, bit}]; }
    void Erase(int position) { positions_.erase(position); }
    void EraseBit(int position, int bit) { bits_.erase({position, bit}); }
    void Clear() {
        positions_.clear();
        bits_.clear();
        sections_.clear();
    }
    bool Empty() const { return positions_.empty() && bits_.empty() && sections_.empty(); }

    const std::map<int, PositionDetails>& Positions() const { return positions_; }
    const std::map<std::pair<int, int>, BitDetails>& Bits() const { return bits_; }

    // Named sections in the order read; a second section of a name adds to the first.
    const std::vector<DetailsSection>& Sections() const { return sections_; }
    const DetailsSection* FindSection(std::string_view name) const {
        for (const DetailsSection& section : sections_) {
            if (section.name == name) {
                return &section;
            }
        }
        return nullptr;
    }
    DetailsSection& SectionAt(std::string_view name) {
        for (DetailsSection& section : sections_) {
            if (section.name == name) {
                return section;
            }
        }
        return sections_.emplace_back(DetailsSection{std::string(name), {}});
    }

    bool operator==(const DetailsTable&) const = default;

  private:
    std::map<int, PositionDetails> positions_;
    std::map<std::pair<int, int>, BitDetails> bits_;
    std::vector<DetailsSection> sections_;
};

}  // namespace vekaton
