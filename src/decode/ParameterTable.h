#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vekaton {

// Definition and current state of one frame position.
struct ParameterRecord {
    static constexpr int kDescriptionCount = 8;
    static constexpr int kBoundSlotCount = 15;  // slot 15 stays 0, so every list ends with a 0
    static constexpr int kUsableBoundSlots = 14;

    // Analog: [0] is the description. Digital: [j] describes bit j; empty means unused.
    std::array<std::string, kDescriptionCount> Descriptions;
    std::uint8_t RawByte = 0;
    std::int32_t ChartColour = 0;  // 0: the strip chart picks one on first use
    double Value = 0.0;
    std::int32_t ByteCount = 1;  // bytes the value spans, starting at this position
    bool IsDigital = false;
    // Item IDs showing this position; BoundItems[s - 1] is slot s. 0 marks an empty slot.
    std::array<std::int32_t, kBoundSlotCount> BoundItems{};
    std::array<bool, 8> Bits{};  // bit j of RawByte for a digital position
    // False while the formula faulted for the bytes last received (a division by a raw 0): the
    // position then has no value. Value keeps the raw byte, which is no reading and is shown
    // nowhere but as raw bytes; CSV output leaves the cell empty, instruments show a dash.
    bool HasValue = true;

    const std::string& Formula() const { return formula_; }
    // Every change of the text goes through here so that the decoder re-prepares it.
    void SetFormula(std::string formula);
    // A formula kept as written but never evaluated, so the position shows its raw bytes: what
    // the parameter file holds for a formula with a blank, which the user may still correct.
    void SetUnevaluatedFormula(std::string formula);
    // Whether the decoder evaluates the formula: it is set, and not held back as above.
    bool FormulaEvaluated() const { return evaluated_ && !formula_.empty(); }
    // Raised by every SetFormula; the decoder keeps its prepared formula per revision.
    std::uint64_t FormulaRevision() const { return formulaRevision_; }

  private:
    std::string formula_;
    std::uint64_t formulaRevision_ = 0;
    bool evaluated_ = true;
};

// The 500 frame positions, indexed 1 to 500. Every access is checked: a position outside the
// table throws from At() and yields null from Find(), whatever a file or a frame says.
class ParameterTable {
  public:
    static constexpr int kFirstPosition = 1;
    static constexpr int kLastPosition = 500;
    static constexpr bool IsValidPosition(int position) {
        return position >= kFirstPosition && position <= kLastPosition;
    }

    ParameterRecord& At(int position);  // std::out_of_range outside 1..500
    const ParameterRecord& At(int position) const;
    // nullptr outside 1..500. Inline: the decoder looks a record up for every byte.
    ParameterRecord* Find(int position) {
        return IsValidPosition(position)
                   ? &records_[static_cast<std::size_t>(position - kFirstPosition)]
                   : nullptr;
    }
    const ParameterRecord* Find(int position) const {
        return const_cast<ParameterTable*>(this)->Find(position);
    }

    // The start-up reset: descriptions, RawByte, Formula, ChartColour, Value, ByteCount and
    // IsDigital back to their defaults. BoundItems and Bits are left as they are.
    void Reset();
    // Empties every BoundItems list (the window does this before it loads a dashboard).
    void ClearBindings();

  private:
    std::array<ParameterRecord, kLastPosition> records_;
};

}  // namespace vekaton
