#include "decode/Decoder.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "decode/FormulaFrontEnd.h"

namespace vekaton {

namespace {

// The record that shows the value starting at `position`: its last byte. nullptr when that lies
// outside the table (a ByteCount from a file can be anything).
const ParameterRecord* LastByteRecord(const ParameterTable& table, int position,
                                      int* lastPosition = nullptr) {
    const ParameterRecord* first = table.Find(position);
    if (first == nullptr) {
        return nullptr;
    }
    std::int64_t last = position;
    if (first->ByteCount > 1) {
        last += static_cast<std::int64_t>(first->ByteCount) - 1;
    }
    if (last > ParameterTable::kLastPosition) {
        return nullptr;
    }
    if (lastPosition != nullptr) {
        *lastPosition = static_cast<int>(last);
    }
    return table.Find(static_cast<int>(last));
}

}  // namespace

Decoder::Decoder(ParameterTable& table, FormulaFrontEnd& formulas)
    : table_(table), formulas_(formulas) {}

void Decoder::SetChart(ChartSink* chart) {
    chart_ = chart;
}

void Decoder::SetItems(ItemSink* items) {
    items_ = items;
}

void Decoder::SetMessageHandler(MessageHandler handler) {
    messageHandler_ = std::move(handler);
}

Decoder::State Decoder::SaveState() const {
    return State{collectIndex_, collectedBytes_, expectedCount_, valueWidth_, pendingFormula_};
}

void Decoder::RestoreState(const State& state) {
    collectIndex_ = state.collectIndex;
    collectedBytes_ = state.collectedBytes;
    expectedCount_ = state.expectedCount;
    valueWidth_ = state.valueWidth;
    pendingFormula_ = state.pendingFormula;
    // An empty formula is prepared as nothing, as DecodeByte treats it.
    pendingPrepared_ = pendingFormula_.empty() ? nullptr : formulas_.Prepare(pendingFormula_);
}

void Decoder::StartFrame() {
    collectIndex_ = 1;
}

const CompiledFormula* Decoder::Prepare(int position, const ParameterRecord& record) {
    PreparedSlot& slot = prepared_[static_cast<std::size_t>(position)];
    const bool changed = slot.formula != nullptr;
    slot.formula = formulas_.Prepare(record.Formula());
    slot.revision = record.FormulaRevision();
    if (changed) {
        // The user edited the text: its faults deserve a fresh report.
        formulas_.ResetReports(slot.formula);
    }
    return slot.formula;
}

void Decoder::DecodeByte(int position, std::uint8_t b) {
    ParameterRecord* record = table_.Find(position);
    if (record == nullptr) {
        return;  // echo and header bytes, and anything past the table
    }
    record->Value = b;
    record->RawByte = b;
    record->HasValue = true;

    if (record->IsDigital) {
        for (int bit = 0; bit < 8; ++bit) {
            record->Bits[static_cast<std::size_t>(bit)] = ((b >> bit) & 1) != 0;
        }
    } else {
        const CompiledFormula* working =
            record->FormulaEvaluated() ? PreparedFor(position, *record) : nullptr;
        int formulaPosition = position;
        // Later indexes are still counted, so ExpectedCount is reached as usual.
        if (collectIndex_ >= 1 && collectIndex_ <= kStoredSlots) {
            collectedBytes_[static_cast<std::size_t>(collectIndex_ - 1)] = b;
        }
        if (record->ByteCount > 1) {
            if (working != pendingPrepared_) {
                pendingFormula_ = record->Formula();
                pendingPrepared_ = working;
            }
            pendingPosition_ = position;
            expectedCount_ = record->ByteCount;
            valueWidth_ = record->ByteCount;
        }
        if (expectedCount_ > 1) {
            if (expectedCount_ == collectIndex_) {
                collectIndex_ = 1;
                working = pendingPrepared_;
                formulaPosition = pendingPosition_;
                expectedCount_ = 1;
            } else if (collectIndex_ < std::numeric_limits<int>::max()) {
                ++collectIndex_;
            }
        }
        if (collectIndex_ == 1 && working != nullptr && !rawMode_) {
            Evaluate(*record, *working, formulaPosition);
        }
    }

    if (!rawMode_ && dispatchEnabled_) {
        DispatchPosition(position);
    }
}

void Decoder::Evaluate(ParameterRecord& record, const CompiledFormula& formula,
                       int formulaPosition) {
    const FormulaOutcome outcome = formulas_.Evaluate(formula, collectedBytes_, valueWidth_);
    switch (outcome.status) {
        case FormulaStatus::Ok:
            record.Value = outcome.value;
            break;
        case FormulaStatus::BadParser:
            record.Value = 0.0;
            break;
        case FormulaStatus::ArithmeticFault:
            // No value for these bytes: a raw byte standing in would look like a real reading.
            record.HasValue = false;
            break;
    }
    if (outcome.report && messageHandler_) {
        Report(outcome, formula, formulaPosition);
    }
}

void Decoder::Report(const FormulaOutcome& outcome, const CompiledFormula& formula,
                     int formulaPosition) const {
    // Only the first fault of a formula comes here, so the texts may be built at leisure.
    const ParameterRecord* defined = table_.Find(formulaPosition);
    const std::string description =
        defined != nullptr && !defined->Descriptions[0].empty() ? defined->Descriptions[0] : "";
    const std::string formulaText = defined != nullptr ? defined->Formula() : "";
    const std::string where = "position " + std::to_string(formulaPosition) +
                              (description.empty() ? "" : " (" + description + ")");
    DecoderMessage message;
    message.text = std::string(outcome.message);
    message.details = "Position: " + std::to_string(formulaPosition) +
                      "\nDescription: " + description + "\nFormula: " + formulaText;
    if (outcome.status == FormulaStatus::BadParser) {
        const FormulaBuildError error = formulas_.BuildError(formula);
        std::string builder = std::string(error.className) + ": " + std::string(error.message);
        std::replace(builder.begin(), builder.end(), '\r', '\n');
        message.informative = "The formula of " + where +
                              " cannot be read, so the position shows 0 until it is corrected.";
        message.details += "\n" + builder;
    } else {
        message.informative = "Cause: " + std::string(outcome.cause) + ".";
        message.details += "\nCause: " + std::string(outcome.cause) + "\nThe position (" + where +
                           ") shows no value until the formula gives one again.";
        for (std::size_t i = 0; i < collectedBytes_.size(); ++i) {
            message.details += (i == 0 ? "\nBytes: " : ", ");
            message.details += static_cast<char>('A' + i);
            message.details += "=" + std::to_string(collectedBytes_[i]);
        }
    }
    messageHandler_(message);
}

void Decoder::DispatchPosition(int position) {
    if (items_ == nullptr) {
        return;
    }
    const ParameterRecord* record = table_.Find(position);
    if (record == nullptr) {
        return;
    }
    for (const std::int32_t itemId : record->BoundItems) {
        if (itemId <= 0) {
            break;
        }
        if (record->HasValue) {
            items_->ApplyDecoded(itemId, record->Value, record->Bits);
        } else {
            items_->ApplyNoValue(itemId);
        }
    }
}

double Decoder::PlotValue(int position, int bit) const {
    const ParameterRecord* record = table_.Find(position);
    if (record == nullptr) {
        return 0.0;
    }
    if (record->IsDigital) {
        if (bit < 0 || bit > 7) {
            return 0.0;
        }
        return record->Bits[static_cast<std::size_t>(bit)] ? 5.0 : 0.0;
    }
    const ParameterRecord* last = LastByteRecord(table_, position);
    if (last == nullptr) {
        return 0.0;
    }
    return rawMode_ ? static_cast<double>(last->RawByte) : last->Value;
}

bool Decoder::HasPlotValue(int position) const {
    const ParameterRecord* record = table_.Find(position);
    if (record == nullptr || record->IsDigital || rawMode_) {
        return true;
    }
    const ParameterRecord* last = LastByteRecord(table_, position);
    return last == nullptr || last->HasValue;
}

void Decoder::EndOfFrame(std::int64_t sampleIndex) {
    if (chart_ == nullptr) {
        return;
    }
    chart_->BeginUpdate();
    const int channels = chart_->ChannelCount();
    for (int channel = 0; channel < channels; ++channel) {
        const PlotChannel entry = chart_->Channel(channel);
        chart_->AddPoint(channel, sampleIndex, PlotValue(entry.position, entry.bit));
    }
    chart_->EndUpdate();
}

void Decoder::BindItem(int itemId, int position) {
    if (position < 1 || !ItemSink::IsValidItemId(itemId)) {
        return;
    }
    if (items_ != nullptr) {
        items_->SetBoundPosition(itemId, position);
    }
    int last = 0;
    if (LastByteRecord(table_, position, &last) == nullptr) {
        return;
    }
    auto& slots = table_.At(last).BoundItems;
    for (const std::int32_t slot : slots) {
        if (slot == itemId) {
            return;
        }
    }
    // The last slot is never filled, so every list ends with a 0.
    for (int s = 0; s < ParameterRecord::kUsableBoundSlots; ++s) {
        if (slots[static_cast<std::size_t>(s)] <= 0) {
            slots[static_cast<std::size_t>(s)] = itemId;
            return;
        }
    }
}

void Decoder::UnbindItem(int itemId, int position) {
    if (position < 1) {
        return;
    }
    if (items_ != nullptr) {
        items_->SetBoundPosition(itemId, 0);
    }
    int last = 0;
    if (LastByteRecord(table_, position, &last) == nullptr) {
        return;
    }
    RemoveFromSlots(table_.At(last), itemId);
}

void Decoder::DetachItem(int itemId) {
    if (items_ != nullptr) {
        UnbindItem(itemId, items_->BoundPosition(itemId));
    }
    // A ByteCount edited since binding would leave the ID behind elsewhere; sweep it out.
    for (int position = ParameterTable::kFirstPosition; position <= ParameterTable::kLastPosition;
         ++position) {
        ParameterRecord& record = table_.At(position);
        while (RemoveFromSlots(record, itemId)) {
        }
    }
}

bool Decoder::RemoveFromSlots(ParameterRecord& record, int itemId) {
    auto& slots = record.BoundItems;
    for (int s = ParameterRecord::kBoundSlotCount - 1; s >= 0; --s) {
        if (slots[static_cast<std::size_t>(s)] == itemId) {
            for (int t = s; t < ParameterRecord::kBoundSlotCount - 1; ++t) {
                slots[static_cast<std::size_t>(t)] = slots[static_cast<std::size_t>(t + 1)];
            }
            slots[ParameterRecord::kBoundSlotCount - 1] = 0;
            return true;
        }
    }
    return false;
}

}  // namespace vekaton
