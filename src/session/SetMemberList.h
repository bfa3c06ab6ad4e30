#pragma once

#include <memory>
#include <vector>

#include "session/SetMember.h"

namespace vekaton {

// One file of the set with its place in the two sequences: start-up reads the members stage by
// stage in list order; a save writes them by rising writeRank.
struct SetMemberEntry {
    std::unique_ptr<SetMember> member;
    ReadStage stage = ReadStage::Definitions;
    int writeRank = 0;
};

// The files of a configuration set, in the order start-up reads them. Every reader and writer
// of whole sets (start-up, Save, Save Config Info, recovery copies, vekaton-cli) goes through
// this list: a new file of the set is one new entry here.
std::vector<SetMemberEntry> MakeSetMembers();

}  // namespace vekaton
