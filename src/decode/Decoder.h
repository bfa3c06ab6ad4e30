#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "decode/ChartSink.h"
#include "decode/ItemSink.h"
#include "decode/ParameterTable.h"

namespace vekaton {

class CompiledFormula;
class FormulaFrontEnd;
struct FormulaOutcome;

// A formula fault for the user, in the three parts of a message box.
struct DecoderMessage {
    std::string text;         // "Bad Parser", or the Parsing Error text, exactly
    std::string informative;  // what went wrong, in a sentence
    std::string details;      // the position, its description, the formula and the cause
};

// Turns each received data byte into the value of its frame position and hands it to the
// dashboard items bound there; at the end of a frame, hands one point per channel to the chart.
// The engine owns the frame position: it passes ByteCounter - DataOffset with every byte.
class Decoder {
  public:
    // Only CollectedBytes 1..5 are ever read (as A to E), so only they are stored; later
    // indexes are counted but never stored, and a ByteCount up to 500 cannot write out of bounds.
    static constexpr int kStoredSlots = 5;

    Decoder(ParameterTable& table, FormulaFrontEnd& formulas);
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    void SetChart(ChartSink* chart);  // may be null
    void SetItems(ItemSink* items);   // may be null
    // Formula faults ("Bad Parser", the Parsing Error text), each reported once per formula.
    using MessageHandler = std::function<void(const DecoderMessage&)>;
    void SetMessageHandler(MessageHandler handler);

    // What the decoder carries from one frame to the next. Replaying a data log from one of
    // these gives the values that playing it from its start gives (the log viewer's checkpoints).
    struct State {
        int collectIndex = 1;
        std::array<int, kStoredSlots> collectedBytes{};
        int expectedCount = 0;
        int valueWidth = 0;
        std::string pendingFormula;

        bool operator==(const State&) const = default;
    };
    State SaveState() const;
    // Also the state at program start: State{}.
    void RestoreState(const State& state);

    // Start of a frame: CollectIndex := 1. ExpectedCount and PendingFormula carry over, so a
    // value running past the last data byte completes from the next frame's first bytes.
    void StartFrame();
    // position = ByteCounter - DataOffset; positions <= 0 (echo, header) and > 500 change
    // nothing.
    void DecodeByte(int position, std::uint8_t b);
    // One point per chart channel at the given frame count, inside one update batch.
    void EndOfFrame(std::int64_t sampleIndex);

    void SetRawMode(bool on) { rawMode_ = on; }
    bool RawMode() const { return rawMode_; }
    // Off while the "Graphs" page shows: gauges are not updated at all then.
    void SetDispatchEnabled(bool on) { dispatchEnabled_ = on; }
    bool DispatchEnabled() const { return dispatchEnabled_; }

    // Enter or remove an item in the BoundItems of position (or of the last byte of the value
    // that starts there), and record the position in the item's binding entry.
    void BindItem(int itemId, int position);
    void UnbindItem(int itemId, int position);
    // Unbinds an item from the position in its binding entry and sweeps its ID out of every
    // list, for removal (a ByteCount edited since binding would otherwise leave it behind).
    void DetachItem(int itemId);

    ParameterTable& Table() { return table_; }
    const ParameterTable& Table() const { return table_; }
    // The point EndOfFrame would plot for a channel on (position, bit); 0.0 outside the table.
    double PlotValue(int position, int bit) const;
    // False when the analog value there (at its last byte) is missing because its formula
    // faulted for the bytes received; PlotValue then gives the raw byte. Raw mode always has one.
    bool HasPlotValue(int position) const;

    int CollectIndex() const { return collectIndex_; }
    int ExpectedCount() const { return expectedCount_; }
    int ValueWidth() const { return valueWidth_; }
    const std::string& PendingFormula() const { return pendingFormula_; }
    // CollectedBytes 1..5, the formula variables A to E.
    const std::array<int, kStoredSlots>& FormulaBytes() const { return collectedBytes_; }

  private:
    struct PreparedSlot {
        std::uint64_t revision = 0;
        const CompiledFormula* formula = nullptr;  // null: not prepared yet
    };

    // The record's prepared formula, prepared again when its text has changed.
    const CompiledFormula* PreparedFor(int position, const ParameterRecord& record) {
        const PreparedSlot& slot = prepared_[static_cast<std::size_t>(position)];
        if (slot.formula != nullptr && slot.revision == record.FormulaRevision()) {
            return slot.formula;
        }
        return Prepare(position, record);
    }
    const CompiledFormula* Prepare(int position, const ParameterRecord& record);
    void Evaluate(ParameterRecord& record, const CompiledFormula& formula, int formulaPosition);
    void Report(const FormulaOutcome& outcome, const CompiledFormula& formula,
                int formulaPosition) const;
    void DispatchPosition(int position);
    static bool RemoveFromSlots(ParameterRecord& record, int itemId);

    ParameterTable& table_;
    FormulaFrontEnd& formulas_;
    ChartSink* chart_ = nullptr;
    ItemSink* items_ = nullptr;
    MessageHandler messageHandler_;

    int collectIndex_ = 1;
    std::array<int, kStoredSlots> collectedBytes_{};  // CollectedBytes[i] is [i - 1]
    int expectedCount_ = 0;
    int valueWidth_ = 0;
    std::string pendingFormula_;
    const CompiledFormula* pendingPrepared_ = nullptr;
    int pendingPosition_ = 0;  // where the pending value's formula is defined
    bool rawMode_ = false;
    bool dispatchEnabled_ = true;

    std::array<PreparedSlot, ParameterTable::kLastPosition + 1> prepared_{};  // [0] unused
};

}  // namespace vekaton
