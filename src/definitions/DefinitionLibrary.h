#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "definitions/DefinitionBuild.h"

namespace vekaton {

// The library of bundled definitions is a folder with one set per stream: ID/ID.ini, ID.cfg,
// ID.details, ID.gau and ID.dsf (and source/ID.def, the reviewed source each is made from).

// The five files of a built definition named `setName`, each with its whole contents, in the
// order they are written: settings, parameter file, details, gauge list, layout.
std::vector<std::pair<std::string, std::string>> DefinitionFiles(const BuiltDefinition& built,
                                                                 const std::string& setName);

struct LibraryEntry {
    std::string id;
    std::string description;  // the definition's title
    std::filesystem::path folder;
    bool needsStartString = false;  // read through an ALDL 160 interface
};

// The definitions in a library folder, by ID; folders that hold no set of their own name are
// passed over.
std::vector<LibraryEntry> ListLibrary(const std::filesystem::path& library);

struct NewSetRequest {
    std::string id;  // as listed; letter case does not matter
    std::filesystem::path dir;
    std::string setName;  // empty: the ID
    std::string port;     // empty: none chosen yet
    // For an ALDL 160 stream: the interface's start string, hex bytes as the setup panel takes
    // them ("$FF $00"); empty: to be entered in the setup panel.
    std::string startString;
    // The room of a dashboard page the dashboard is made for; nullopt: the library's own, made
    // for a 1024 x 700 window.
    std::optional<DashboardOptions> page;
};

struct NewSetResult {
    // Why nothing was written; nullopt when the set was written.
    std::optional<std::string> error;
    bool usageError = false;  // the request itself is wrong (unknown ID, unusable name)
    std::string setName;
    std::vector<std::filesystem::path> written;
    // What the user still has to do (the start string of an ALDL 160 interface).
    std::vector<std::string> notes;
};

// Writes the library's set for `request.id` into `request.dir` (created when missing) under its
// set name, with the port and start string given, and a set pointer "Vekaton.ini" naming it.
// A set of that name already in the folder (any of its five files) is never overwritten: the
// error says so and nothing is written. A write that fails removes what this call wrote.
NewSetResult CreateSetFromLibrary(const std::filesystem::path& library,
                                  const NewSetRequest& request);

}  // namespace vekaton
