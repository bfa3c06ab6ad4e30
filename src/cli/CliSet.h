#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/LinkSettings.h"
#include "session/Session.h"

namespace vekaton::cli {

// A configuration set as `live` and `decode` use it: read through a session, never written back.
struct CliSet {
    std::unique_ptr<Session> session;
    // The files read: the set pointer, the parameter, details and settings files, those found.
    // Output must never go to one of them.
    std::vector<std::filesystem::path> files;

    // The link settings as the settings file gave them.
    const LinkSettings& Settings() const { return session->SettingsRead().result.settings; }
    ParameterTable& Table() const { return session->Table(); }
    // The units, ranges and limits of the set's details file, when it has one.
    const DetailsTable& Details() const { return session->Details(); }
};

// Reads the set in `dir` (the current folder when empty): the set named by setName, or by the
// set pointer "Vekaton.Ini" when setName is empty. As at the window's start-up the table is
// reset, then the parameter file and the settings file are read; what the reading reports goes
// to `err`. Fails, after saying why, when the folder or set name is unusable or the set has no
// settings file (without one there is no frame geometry to decode with). Unless `force` is set
// it also fails when the settings file could not be read, its reading stopped at an error, or it
// holds a value out of range: frames cut by a wrong geometry are worse than no frames. A file
// of nine lines is whole.
std::optional<CliSet> OpenCliSet(const std::string& dir, const std::string& setName,
                                 std::ostream& err, bool force = false);

}  // namespace vekaton::cli
