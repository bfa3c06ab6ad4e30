#include "analysis/ValueRef.h"

#include <algorithm>

#include "analysis/AnalysisNumbers.h"
#include "decode/Decoder.h"
#include "decode/ParameterTable.h"

namespace vekaton {

namespace {

std::optional<int> SmallNumber(std::string_view text, int min, int max) {
    // Digits only: "+3", "0x1" or "1e2" are no position.
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    if (value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

// The multi-byte value whose later byte `position` is: its first position, or 0.
int CoveringValueStart(const ParameterTable& table, int position) {
    for (int start = position - 1; start >= ParameterTable::kFirstPosition; --start) {
        const ParameterRecord& record = table.At(start);
        if (!record.IsDigital && record.ByteCount > 1 &&
            static_cast<long long>(start) + record.ByteCount - 1 >= position) {
            return start;
        }
    }
    return 0;
}

}  // namespace

std::optional<ValueRef> ParseValueRef(std::string_view text) {
    text = TrimBlanks(text);
    const auto dot = text.find('.');
    const auto position = SmallNumber(text.substr(0, dot), ParameterTable::kFirstPosition,
                                      ParameterTable::kLastPosition);
    if (!position) {
        return std::nullopt;
    }
    if (dot == std::string_view::npos) {
        return ValueRef{*position, -1};
    }
    const auto bit = SmallNumber(text.substr(dot + 1), 0, 7);
    if (!bit || text.size() != dot + 2) {
        return std::nullopt;
    }
    return ValueRef{*position, *bit};
}

std::string ValueRefText(ValueRef ref) {
    std::string text = std::to_string(ref.position);
    if (ref.IsBit()) {
        text += '.' + std::to_string(ref.bit);
    }
    return text;
}

std::optional<std::string> UnknownValueReason(const ParameterTable& table, ValueRef ref,
                                              int dataBytes) {
    const std::string name = "position " + ValueRefText(ref);
    const ParameterRecord* record = table.Find(ref.position);
    if (record == nullptr) {
        return name + " is not a frame position (1 to 500)";
    }
    // A flag byte never joins a multi-byte value: the decoder passes over it while collecting.
    if (const int start = record->IsDigital ? 0 : CoveringValueStart(table, ref.position);
        start > 0) {
        return name + " is a later byte of the " + std::to_string(table.At(start).ByteCount) +
               "-byte value that starts at position " + std::to_string(start) + "; name " +
               std::to_string(start) + " for that value";
    }
    if (ref.IsBit()) {
        if (!record->IsDigital) {
            return name + ": position " + std::to_string(ref.position) +
                   " is not a flag byte (digital), so it has no bits";
        }
        if (record->Descriptions[static_cast<std::size_t>(ref.bit)].empty()) {
            return name + ": bit " + std::to_string(ref.bit) + " of position " +
                   std::to_string(ref.position) + " has no definition (no description)";
        }
    } else if (record->IsDigital) {
        return name + " holds flag bits: name one of them as " + std::to_string(ref.position) +
               ".BIT (" + std::to_string(ref.position) + ".0 to " + std::to_string(ref.position) +
               ".7)";
    } else if (record->Descriptions[0].empty()) {
        return name + " has no definition in the parameter file";
    }
    const long long last =
        ref.IsBit() ? ref.position
                    : static_cast<long long>(ref.position) + std::max(record->ByteCount, 1) - 1;
    if (last > dataBytes) {
        return name + " lies beyond the " + std::to_string(dataBytes) +
               " data bytes of the set's frames, so no frame gives it a value";
    }
    return std::nullopt;
}

double ReadValue(const Decoder& decoder, ValueRef ref) {
    if (ref.IsBit()) {
        const ParameterRecord* record = decoder.Table().Find(ref.position);
        return record != nullptr && record->Bits[static_cast<std::size_t>(ref.bit & 7)] ? 1.0 : 0.0;
    }
    return decoder.PlotValue(ref.position, 0);
}

std::string ValueRefName(const ParameterTable& table, ValueRef ref) {
    if (const ParameterRecord* record = table.Find(ref.position)) {
        const std::size_t index = ref.IsBit() ? static_cast<std::size_t>(ref.bit & 7) : 0;
        if (!record->Descriptions[index].empty()) {
            return record->Descriptions[index];
        }
    }
    return "position " + ValueRefText(ref);
}

}  // namespace vekaton
