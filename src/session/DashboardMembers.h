#pragma once

#include "session/SetMember.h"

namespace vekaton {

// The gauge list (set name + ".gau"): which items the dashboard has, where, and what they show.
// Read before the layout, whose item records follow its numbering.
class GaugeListMember : public SetMember {
  public:
    std::string FileName(const SetNames& names) const override;
    SetFileReport Read(Session& session) override;
    std::optional<std::string> Contents(const Session& session) const override;
    std::optional<std::string> Write(Session& session) override;
};

// The layout file (set name + ".dsf"): the look of the items, the pages and the chart, and the
// window's placement.
class LayoutFileMember : public SetMember {
  public:
    std::string FileName(const SetNames& names) const override;
    SetFileReport Read(Session& session) override;
    std::optional<std::string> Contents(const Session& session) const override;
    std::optional<std::string> Write(Session& session) override;
};

}  // namespace vekaton
