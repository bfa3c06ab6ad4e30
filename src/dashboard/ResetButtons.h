#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

inline constexpr int kPresetCurrentValue = 9999;  // a reset preset: "the current value"

// One reset button's work: the IDs of the items it resets and the values their minimum and
// maximum markers (or held values) go back to.
struct ResetButtonEntry {
    std::vector<int> ids;
    int minPreset = kPresetCurrentValue;
    int maxPreset = kPresetCurrentValue;
    friend bool operator==(const ResetButtonEntry&, const ResetButtonEntry&) = default;
};

// The reset-button table, by button number 1 to 99 (the number in the button's name,
// USERRESETBUTTON7 is button 7). It starts empty with both presets 9999.
class ResetButtonTable {
  public:
    static constexpr int kFirstNumber = 1;
    static constexpr int kLastNumber = 99;
    static constexpr bool IsValidNumber(int number) {
        return number >= kFirstNumber && number <= kLastNumber;
    }

    // A number outside 1..99 reads an empty entry and is never written.
    const ResetButtonEntry& Entry(int number) const;
    void SetEntry(int number, ResetButtonEntry entry);
    void Clear();

  private:
    std::array<ResetButtonEntry, kLastNumber + 1> entries_{};  // [0] unused
};

// An ID list as the gauge list keeps it: "3,7,12"; empty for no IDs.
std::string FormatIdList(const std::vector<int>& ids);
// Reads an ID list: decimal numbers separated by commas and/or blanks. Numbers outside 1..500,
// repeats and anything that is not a number are skipped, so a damaged line never yields an ID
// that could not exist.
std::vector<int> ParseIdList(std::string_view text);

// The same, with what was left out, so that the user can be told: the entries that are no ID
// (outside 1..500, repeated, not a number), counted, the first few as written.
struct IdListRead {
    static constexpr std::size_t kExamples = 3;
    std::vector<int> ids;
    std::size_t skippedCount = 0;
    std::vector<std::string> skippedExamples;  // at most kExamples, in the list's order
};
IdListRead ReadIdList(std::string_view text);

}  // namespace vekaton
