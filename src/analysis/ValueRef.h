#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vekaton {

class Decoder;
class ParameterTable;

// A value read from every decoded frame: an analog position's value, as the strip chart and
// `vekaton-cli decode` take it (a multi-byte value at its last byte), or one flag bit of a
// digital position (0 or 1). Named as in the parameter file: "POS" or "POS.BIT".
struct ValueRef {
    int position = 0;
    int bit = -1;  // 0 to 7 for a flag bit; -1 for the position's value

    bool IsBit() const { return bit >= 0; }
    bool operator==(const ValueRef&) const = default;
};

// "POS" (1 to 500) or "POS.BIT" (BIT 0 to 7), blanks around it allowed; nullopt otherwise.
std::optional<ValueRef> ParseValueRef(std::string_view text);
std::string ValueRefText(ValueRef ref);

// Why a frame has no value at ref with this table and frame length, in words that name it; nullopt
// when it has one. A position has a value when it is an analog position with a description
// (what the parameter file keeps), lies within the frame, and is not a later byte of a multi-byte
// value; a bit when its position is digital and the bit has a description.
std::optional<std::string> UnknownValueReason(const ParameterTable& table, ValueRef ref,
                                              int dataBytes);

// The frame's value at ref at full precision; ref must be known (see above).
double ReadValue(const Decoder& decoder, ValueRef ref);

// A short name for ref for captions and messages: the description, else "position 12".
std::string ValueRefName(const ParameterTable& table, ValueRef ref);

}  // namespace vekaton
