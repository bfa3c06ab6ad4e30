#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/ComponentStream.h"

namespace vekaton {

// A layout file is one component record per streamed control, then this trailer of six signed
// 32-bit little-endian integers.
struct LayoutTrailer {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;   // left + width
    std::int32_t bottom = 0;  // top + height
    std::int32_t colour = 0;
    std::int32_t page = 0;  // index of the active page
    friend bool operator==(const LayoutTrailer&, const LayoutTrailer&) = default;
};
inline constexpr std::size_t kLayoutTrailerSize = 24;

// Layout files larger than this are refused rather than read.
inline constexpr std::uint64_t kMaxLayoutFileSize = 64ULL * 1024 * 1024;

// The whole file: the records and the trailer. On error `out` is left as it was.
std::optional<std::string> WriteLayoutBytes(const std::vector<StreamComponent>& records,
                                            const LayoutTrailer& trailer, std::string& out);

std::optional<LayoutTrailer> ReadLayoutTrailer(std::string_view data, std::size_t offset);

// Everything a layout file or a single component stream holds, read without questions (for
// inspection). A layout is records followed by exactly 24 trailer bytes; a single stream is one
// record and nothing after it. Reading stops at the first fault; what was read before stays.
// Twenty-four bytes that begin with "TPF0" are a record cut short, not the trailer, as the
// window reads them. All records together hold at most kMaxStreamValues values.
struct LayoutParse {
    std::vector<StreamComponent> records;
    std::optional<LayoutTrailer> trailer;  // nothing for a single stream
    std::optional<StreamError> error;
    // Values that were cut to kMaxStreamContentBytes: the first few, then a count of the rest.
    std::vector<std::string> cut;
};
LayoutParse ParseLayout(std::string_view data);

// The questions reading asks when a record is damaged; the window answers them with message
// boxes, tests with a script.
class LayoutReadPrompts {
  public:
    virtual ~LayoutReadPrompts() = default;
    virtual void ShowMessage(std::string_view text) = 0;
    // true for OK, false for Cancel.
    virtual bool AskOkCancel(std::string_view question) = 0;
};

struct LayoutRead {
    // One slot per expected component: its record, or nothing when it keeps its defaults.
    std::vector<std::optional<StreamComponent>> records;
    std::optional<LayoutTrailer> trailer;  // nothing: the window keeps its bounds
    // Something was not taken in (a damaged record, bytes skipped, records or trailer missing),
    // so the file is kept as name + ".bad" before it is rewritten.
    bool damaged = false;
    // For the user, besides the questions already asked: what was left out and why.
    std::vector<std::string> notes;
};

// Reads one record for each of `componentNames` (the controls the window streams, in order),
// then the trailer. When a record cannot be read: shows "ERROR Reading DataStream at Pos:" with
// the record's offset and ", Trying to Read: " with the component's name, then asks
// "Try Skipping File Information ?": OK looks for the next "TPF0" after the record's start and
// reads that record for the same component, showing "Unable to Recover" and stopping when there
// is none or it fails too; Cancel asks "Try Skipping Form Information ?": OK goes back to the
// record's start (the component keeps its defaults, the next one reads the same record), Cancel
// goes on from where the read stopped. At the end of the data the remaining components keep
// their defaults without further questions. Nothing the bytes say can make it loop or read out
// of bounds; all records together hold at most kMaxStreamValues values, and values cut to
// kMaxStreamContentBytes are noted.
LayoutRead ReadLayout(std::string_view data, std::span<const std::string> componentNames,
                      LayoutReadPrompts& prompts);

}  // namespace vekaton
