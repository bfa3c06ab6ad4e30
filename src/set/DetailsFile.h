#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/PositionDetails.h"
#include "set/SetFileReader.h"

namespace vekaton {

class DamagedFileGuard;

// The fifth file of a set: the details of its positions (unit, range, limits, decimals, value
// names, flag-bit sense) in a text file of INI sections, "NAME.details" beside "NAME.cfg".
// Sections "[N]" hold position N, "[N.B]" bit B of position N, any other name a section kept
// whole (such as "[definition]"). The file is optional: a set without one works as before.
inline constexpr std::string_view kDetailsExtension = ".details";
inline constexpr std::string_view kDetailsBackupSuffix = "_bak.details";
inline constexpr SetFileType kDetailsFileType{"details file", 4 * 1024 * 1024, kSaveUnderNewName};

// The details file of the set whose parameter file is given: its name up to the first "."
// followed by ".details" ("Demo.cfg" gives "Demo.details").
std::string DetailsFileNameFor(std::string_view parameterFileName);

// Keys of a position section.
namespace details_key {
inline constexpr std::string_view kUnit = "unit";
inline constexpr std::string_view kMin = "min";
inline constexpr std::string_view kMax = "max";
inline constexpr std::string_view kWarnLow = "warn-low";
inline constexpr std::string_view kWarnHigh = "warn-high";
inline constexpr std::string_view kDecimals = "decimals";
inline constexpr std::string_view kAlarm = "alarm";
inline constexpr std::string_view kRole = "role";
inline constexpr std::string_view kValuePrefix = "value.";  // "value.3=drive 3"
// Key of a bit section besides "alarm".
inline constexpr std::string_view kActiveWhenClear = "active-when-clear";
}  // namespace details_key

inline constexpr int kMaxDetailsDecimals = 15;

struct DetailsParse {
    DetailsTable table;
    // Comment lines (";" or "#") before the first section, written back ahead of the sections.
    std::vector<std::string> header;
    // One per line whose content is not kept, naming the line ("Line 7: ..."). Any of them
    // makes the file be kept as name + ".bad" before it is rewritten.
    std::vector<std::string> warnings;
    bool Damaged() const { return !warnings.empty(); }
};

// Reads details text. Lines may end with CR LF, LF or a lone CR; blanks around keys, values and
// section names are ignored; known keys are matched without regard to case. Keys this program
// does not know, and sections it does not know, are kept as read. Nothing in the text can make
// it fail: what cannot be taken in is reported in `warnings`.
DetailsParse ParseDetails(std::string_view text);

// The whole file, lines ended by CR LF: the header, then the named sections in their order,
// then the positions by number, each followed by its bits. Positions and bits without any
// detail are left out.
std::string FormatDetails(const DetailsTable& table, const std::vector<std::string>& header);

// Reading and writing the details file of a set, by name in a folder, ignoring letter case.
struct DetailsFileRead {
    bool found = false;  // false: no such file; the set has no details
    std::filesystem::path path;
    DetailsParse result;
    std::string errorMessage;    // why the file was not read at all
    std::string warningMessage;  // the lines not taken in, under the file's name
};
DetailsFileRead ReadDetailsFile(const std::filesystem::path& folder, std::string_view fileName,
                                DamagedFileGuard& guard);
// As the dashboard files are written: a noted damaged file is copied to ".bad", the current one
// to its "_bak.details" copy, then the new text goes through the safe-write helper.
std::optional<std::string> WriteDetailsFile(const std::filesystem::path& folder,
                                            std::string_view fileName, const DetailsTable& table,
                                            const std::vector<std::string>& header,
                                            DamagedFileGuard& guard);

}  // namespace vekaton
