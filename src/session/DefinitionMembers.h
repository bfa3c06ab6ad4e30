#pragma once

#include "session/SetMember.h"

namespace vekaton {

// The set pointer "Vekaton.Ini": names the set and so the other files. Not kept in recovery
// copies; a save writes the set's name into it.
class SetPointerMember : public SetMember {
  public:
    std::string FileName(const SetNames& names) const override;
    SetFileReport Read(Session& session) override;
    std::optional<std::string> Contents(const Session& session) const override;
    std::optional<std::string> Write(Session& session) override;
};

// The parameter file (set name + ".cfg"): the definitions of the frame positions.
class ParameterFileMember : public SetMember {
  public:
    std::string FileName(const SetNames& names) const override;
    SetFileReport Read(Session& session) override;
    std::optional<std::string> Contents(const Session& session) const override;
    std::optional<std::string> Write(Session& session) override;
};

// The details file (set name + ".details"): units, ranges, limits and flag-bit sense of the
// positions. Optional: a set without it has no details, and gets no file until it has some.
class DetailsFileMember : public SetMember {
  public:
    std::string FileName(const SetNames& names) const override;
    SetFileReport Read(Session& session) override;
    std::optional<std::string> Contents(const Session& session) const override;
    std::optional<std::string> Write(Session& session) override;
};

// The settings file (set name + ".ini"): the link settings; applying them opens the port.
class SettingsFileMember : public SetMember {
  public:
    std::string FileName(const SetNames& names) const override;
    SetFileReport Read(Session& session) override;
    void Apply(Session& session) override;
    std::optional<std::string> Contents(const Session& session) const override;
    std::optional<std::string> Write(Session& session) override;
};

}  // namespace vekaton
