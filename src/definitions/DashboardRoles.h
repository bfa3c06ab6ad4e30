#pragma once

#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace vekaton {

class DetailsTable;
class ParameterTable;

// The parts a value can play on a generated dashboard.
enum class DashboardRole {
    EngineSpeed,
    VehicleSpeed,
    Coolant,
    Throttle,
    Map,      // manifold absolute pressure: the load of a speed-density engine
    Airflow,  // mass air flow: the load of a MAF engine
    Spark,
    Battery,
    O2,
    Integrator,
    BlockLearn,
    BlmCell,
    InjectorPulse,
    IdleAir,
    IntakeAir,
    KnockRetard,
};

// What an instrument playing the role is called when its description is too long for it
// ("Engine speed", "O2 sensor", ...).
std::string_view RoleLabel(DashboardRole role);

// The role's name in the details file ("engine-speed", "o2", ...), and back.
std::string_view RoleName(DashboardRole role);
std::optional<DashboardRole> RoleFromName(std::string_view name);
// Every role, in the order above.
const std::vector<DashboardRole>& AllRoles();

// The analog positions (with a description) that play each role, in ascending order. A role
// named in a position's details counts first; a role no position names is looked for in the
// descriptions and units ("Engine speed", "rpm"), so that definitions without roles, such as
// imported ones, still give a dashboard. A position plays at most one role.
std::map<DashboardRole, std::vector<int>> AssignRoles(const ParameterTable& table,
                                                      const DetailsTable& details);

}  // namespace vekaton
