#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/StreamValue.h"

namespace vekaton {

// The signature that opens every component record.
inline constexpr std::string_view kStreamSignature = "TPF0";

// Flag bits of the optional prefix byte (0xF0 plus the flags) before a component.
inline constexpr std::uint8_t kFlagInherited = 0x01;
inline constexpr std::uint8_t kFlagChildPos = 0x02;  // a child-position integer follows
inline constexpr std::uint8_t kFlagInline = 0x04;

// Limits that keep a damaged stream from taking the program down: nesting of components and
// values, and values held at once (every value takes at least one byte in the file but tens in
// memory, so a file of tens of megabytes could otherwise ask for gigabytes). A whole dashboard
// of 500 items and a full strip chart hold well under a tenth of kMaxStreamValues.
inline constexpr int kMaxStreamDepth = 64;
inline constexpr std::size_t kMaxStreamValues = 200'000;
// Longer texts and binary values keep only their first this many bytes: a caption of megabytes
// would cost the window gigabytes to lay out and is never what anyone typed.
inline constexpr std::size_t kMaxStreamContentBytes = 64 * 1024;

// How many more values the records of one file may hold: readers of a whole file share one, so
// that the limit holds for the file and not only for each record.
struct StreamBudget {
    std::size_t valuesLeft = kMaxStreamValues;
};

// One component as streamed: prefix, class and instance name, its properties in stream order
// and its children. Names are kept as the bytes stored.
struct StreamComponent {
    bool hasPrefix = false;
    std::uint8_t flags = 0;               // the prefix's low four bits
    std::optional<StreamValue> childPos;  // an integer, present exactly when kFlagChildPos is set
    std::string className;
    std::string name;
    std::vector<StreamProperty> properties;
    std::vector<StreamComponent> children;

    const StreamProperty* Find(std::string_view propertyName) const;
    friend bool operator==(const StreamComponent&, const StreamComponent&) = default;
};

struct StreamError {
    std::size_t offset = 0;  // byte offset in the data given to the reader
    std::string message;
};

struct ComponentRecordRead {
    std::optional<StreamComponent> component;  // set when the whole record was read
    std::size_t end = 0;                       // offset after the record, or where reading stopped
    std::optional<StreamError> error;
    // Values that were cut to kMaxStreamContentBytes, each named with its component and
    // property: the record was read, but not all of it is kept.
    std::vector<std::string> cut;
};

// Reads one record ("TPF0" and its component, children included) starting at `offset`. Never
// reads outside `data`; any fault (a length past the end, an unknown type code, nesting deeper
// than kMaxStreamDepth, more values than the budget allows: kMaxStreamValues without one) is an
// error with its byte offset. Values longer than kMaxStreamContentBytes are cut and listed.
ComponentRecordRead ReadComponentRecord(std::string_view data, std::size_t offset = 0,
                                        StreamBudget* budget = nullptr);

// Appends the record for `component` to `out`: every value with its own type code and content,
// so that what was read is written back byte for byte. On error (a name longer than 255 bytes,
// a class name of 240 bytes or more without the prefix byte, an empty property name, a missing or
// unexpected child position, an order that is not an Int8/16/32) `out` is left as it was.
std::optional<std::string> WriteComponentRecord(const StreamComponent& component, std::string& out);

}  // namespace vekaton
