#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

class DamagedFileGuard;

// A kind of set file and the most it may hold: far above any real file, so that a damaged or
// hostile one (a sparse 1 GB file, a link to /dev/zero) is refused before it is read.
struct SetFileType {
    std::string_view what;  // "parameter file", used in messages
    std::uint64_t maxBytes;
    // Told the user when the file was not read and is kept as it is.
    std::string_view howToGoOn;
};

inline constexpr std::string_view kSaveUnderNewName =
    "To go on, save the set under a new name with Save Config Info.";

inline constexpr SetFileType kSetPointerType{
    "set pointer", 4 * 1024,
    "To go on, move it out of the folder; a new one is written when the set is saved."};
inline constexpr SetFileType kSettingsFileType{"settings file", 64 * 1024, kSaveUnderNewName};
inline constexpr SetFileType kParameterFileType{"parameter file", 4 * 1024 * 1024,
                                                kSaveUnderNewName};
inline constexpr SetFileType kGaugeListType{"gauge list", 4 * 1024 * 1024, kSaveUnderNewName};
inline constexpr SetFileType kLayoutFileType{"layout file", 64 * 1024 * 1024, kSaveUnderNewName};

// The type a set file's name says it is: by its extension, the set pointer by its name; nullptr
// for a name of no set file.
const SetFileType* SetFileTypeOf(std::string_view fileName);

// Why `size` bytes may not be written to the set file `path`: more than its reader takes, so
// the next start would refuse the file and the set would lose it. Every writer of a set file asks
// before it writes; on a problem the file on disk stays as it was.
std::optional<std::string> SaveSizeProblem(const std::filesystem::path& path, std::uint64_t size);

// The text of a set file, or why there is none.
struct SetFileText {
    enum class Outcome {
        Missing,     // no such file: nothing to read, nothing changes
        Read,        // `text` holds the whole file
        Refused,     // too large, or not a regular file: kept as it is, never rewritten
        Unreadable,  // reading failed: copied to ".bad" before it is rewritten
    };
    Outcome outcome = Outcome::Missing;
    std::string text;
    // For the user when the file was not read: the file's name, what is wrong and what happens
    // to the file. Empty when it was read or is missing.
    std::string message;

    bool Found() const { return outcome != Outcome::Missing; }
    bool Read() const { return outcome == Outcome::Read; }
};

// Every reader of a set file reads it through here: only a regular file, or a symbolic link to
// one, is read, never waiting on a FIFO or reading a device; a file larger than its type allows
// is refused before any of it is read. Refused and unreadable files are noted in `guard`, which
// then keeps them from being overwritten or backs them up before they are.
SetFileText ReadSetFile(const std::filesystem::path& path, const SetFileType& type,
                        DamagedFileGuard& guard);

// What reading one file of a set came to, as every set file's reader reports it.
struct SetFileRead {
    bool found = false;          // false: no such file; nothing was read and nothing changes
    bool unread = false;         // found, but none of it could be read (refused or failing)
    std::filesystem::path path;  // as found in the folder, in whatever letter case
    // For the user: why the file was not read at all, or where its reading stopped and what
    // happens to the file. Empty when reading went well.
    std::string errorMessage;
    // For the user: what was not taken in as written, under the file's kind and name.
    std::string warningMessage;
};

// The one way into a set file: finds `fileName` in `folder` ignoring letter case and reads it
// through ReadSetFile. Returns its bytes, as they are, when there is something to parse; else
// `read` says why not. Text files are then split with SplitLines, so that CR LF, LF and a lone
// CR all end a line, whichever editor wrote the file.
std::optional<std::string> OpenSetFile(const std::filesystem::path& folder,
                                       std::string_view fileName, const SetFileType& type,
                                       DamagedFileGuard& guard, SetFileRead& read);

// Reading stopped at `line` (1-based) with `error`: the lines after it were not taken in, so the
// file is kept as name + ".bad" before it is rewritten.
void NoteReadingStopped(SetFileRead& read, std::string_view error, int line,
                        DamagedFileGuard& guard);

// Lists `warnings` (each naming its line or item) under the file's kind and name; called when
// there is something to tell. With
// `keepAsBad`, something the file holds is lost at the next save, so the file is kept as
// name + ".bad" before it is rewritten.
void NoteWarnings(SetFileRead& read, const SetFileType& type,
                  const std::vector<std::string>& warnings, bool keepAsBad,
                  DamagedFileGuard& guard);

}  // namespace vekaton
