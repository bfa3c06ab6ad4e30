#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "set/SetNames.h"

namespace vekaton {

class Session;

// When start-up reads a file of the set.
enum class ReadStage {
    Names,        // first: the set pointer, which names the other files
    Definitions,  // after the engine's defaults: the parameter file, then the settings
    Dashboard,    // after the definitions are shown: the gauge list, then the layout
};

// What reading one file of the set came to, for whoever reports it.
struct SetFileReport {
    std::string fileName;  // the name under the set's names
    bool found = false;    // false: there was no such file
    std::filesystem::path path;
    std::vector<std::string> messages;  // for the user: why it was not read, what was left out
};

// One file of a configuration set: how it is read at start-up, what a save writes to it, and
// what a recovery copy keeps of it. The session holds one of each in its member list, so a new
// file of the set is one new member there.
class SetMember {
  public:
    virtual ~SetMember() = default;

    // The file's name under the set's names.
    virtual std::string FileName(const SetNames& names) const = 0;
    // Reads the file into the session. The session tells the report's messages, then calls
    // Apply for what takes effect after them (the settings open the port).
    virtual SetFileReport Read(Session& session) = 0;
    virtual void Apply(Session& session) { (void)session; }
    // What a save would write now; nothing for a file that recovery copies leave out.
    virtual std::optional<std::string> Contents(const Session& session) const = 0;
    // Writes the file; the error names it.
    virtual std::optional<std::string> Write(Session& session) = 0;
};

}  // namespace vekaton
