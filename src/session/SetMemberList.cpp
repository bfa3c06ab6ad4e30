#include "session/SetMemberList.h"

#include "session/DashboardMembers.h"
#include "session/DefinitionMembers.h"

namespace vekaton {

std::vector<SetMemberEntry> MakeSetMembers() {
    // Read: the pointer names the files; definitions before the settings, whose reading opens
    // the port; the gauge list creates the items the layout then gives their look.
    // Written: the layout and gauge list first, then the definitions and their details, the
    // pointer, the settings.
    std::vector<SetMemberEntry> members;
    members.push_back({std::make_unique<SetPointerMember>(), ReadStage::Names, 5});
    members.push_back({std::make_unique<ParameterFileMember>(), ReadStage::Definitions, 3});
    members.push_back({std::make_unique<DetailsFileMember>(), ReadStage::Definitions, 4});
    members.push_back({std::make_unique<SettingsFileMember>(), ReadStage::Definitions, 6});
    members.push_back({std::make_unique<GaugeListMember>(), ReadStage::Dashboard, 2});
    members.push_back({std::make_unique<LayoutFileMember>(), ReadStage::Dashboard, 1});
    return members;
}

}  // namespace vekaton
