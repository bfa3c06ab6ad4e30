#include "definitions/DashboardRoles.h"

#include <array>
#include <cctype>
#include <set>
#include <string>

#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"

namespace vekaton {
namespace {

struct RoleText {
    DashboardRole role;
    std::string_view name;
    std::string_view label;
};

constexpr std::array kRoleNames = {
    RoleText{DashboardRole::EngineSpeed, "engine-speed", "Engine speed"},
    RoleText{DashboardRole::VehicleSpeed, "vehicle-speed", "Vehicle speed"},
    RoleText{DashboardRole::Coolant, "coolant", "Coolant"},
    RoleText{DashboardRole::Throttle, "throttle", "Throttle"},
    RoleText{DashboardRole::Map, "map", "Manifold press."},
    RoleText{DashboardRole::Airflow, "airflow", "Airflow"},
    RoleText{DashboardRole::Spark, "spark", "Spark advance"},
    RoleText{DashboardRole::Battery, "battery", "Battery"},
    RoleText{DashboardRole::O2, "o2", "O2 sensor"},
    RoleText{DashboardRole::Integrator, "integrator", "Integrator"},
    RoleText{DashboardRole::BlockLearn, "block-learn", "Block learn"},
    RoleText{DashboardRole::BlmCell, "blm-cell", "BLM cell"},
    RoleText{DashboardRole::InjectorPulse, "injector-pulse", "Injector pulse"},
    RoleText{DashboardRole::IdleAir, "idle-air", "Idle air"},
    RoleText{DashboardRole::IntakeAir, "intake-air", "Intake air"},
    RoleText{DashboardRole::KnockRetard, "knock-retard", "Knock retard"},
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// What a description must and must not hold to play a role when no position names it. The
// words are looked for in the lower-cased description; the unit, when given, must match.
struct Guess {
    DashboardRole role;
    std::vector<std::string_view> anyOf;
    std::vector<std::string_view> noneOf;
    std::vector<std::string_view> units;  // empty: any unit
};

const std::vector<Guess>& Guesses() {
    static const std::vector<Guess> guesses = {
        {DashboardRole::EngineSpeed,
         {"engine speed", "rpm", "engine rpm"},
         {"desired", "idle", "crank", "ratio", "per mph", "limit", "fan", "target"},
         {"rpm", "1/min", ""}},
        {DashboardRole::VehicleSpeed,
         {"vehicle speed", "road speed", "vss"},
         {"ratio", "set speed", "sensor fail", "per mph"},
         {}},
        {DashboardRole::Coolant,
         {"coolant temp", "engine temp", "coolant"},
         {"start", "corros", "switch", "raw", "a/d"},
         {}},
        {DashboardRole::Throttle,
         {"throttle position", "throttle angle", "tps"},
         {"desired", "governing", "volt", "sensor voltage"},
         {"%", ""}},
        {DashboardRole::Map,
         {"manifold absolute pressure", "manifold pressure", "map"},
         {"volt", "normalised", "baro"},
         {"kpa", "bar", "psi", "inhg"}},
        {DashboardRole::Airflow, {"airflow", "air flow", "maf"}, {"desired", "min"}, {}},
        {DashboardRole::Spark,
         {"spark advance", "spark", "timing advance", "ignition advance"},
         {"flag", "retard", "knock"},
         {}},
        {DashboardRole::Battery,
         {"battery", "ignition voltage", "system voltage"},
         {"fuel pump", "ppsw", "high battery", "low battery"},
         {"v", "volts", ""}},
        {DashboardRole::O2,
         {"oxygen sensor", "o2 sensor", "o2"},
         {"cross", "counter", "transition", "ready", "change"},
         {"mv", "v", ""}},
        {DashboardRole::Integrator, {"integrator", "closed-loop correction"}, {"reset"}, {}},
        {DashboardRole::BlmCell, {"blm cell", "block learn cell", "cell number"}, {"timer"}, {}},
        {DashboardRole::BlockLearn,
         {"block learn", "blm", "long term"},
         {"cell", "timer", "enable"},
         {}},
        {DashboardRole::InjectorPulse,
         {"pulse width", "injector pulse", "bpw"},
         {"asynchronous", "async"},
         {"ms", ""}},
        {DashboardRole::IdleAir,
         {"iac motor position", "iac present", "idle air", "iac position"},
         {"desired", "minimum", "min ", "learned", "command"},
         {}},
        {DashboardRole::IntakeAir,
         {"manifold air temp", "intake air temp", "air temperature", "mat"},
         {"raw", "a/d", "sensor high", "sensor low"},
         {"\u00b0c", "\u00b0f", "deg c", "deg f", "c", "f"}},
        {DashboardRole::KnockRetard, {"knock retard"}, {"counter", "roll"}, {}},
    };
    return guesses;
}

bool HasWord(const std::string& text, std::string_view word) {
    // Short words such as "map" or "o2" count only as whole words.
    std::size_t at = text.find(word);
    while (at != std::string::npos) {
        const bool startOk = at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
        const std::size_t end = at + word.size();
        const bool endOk = end >= text.size() ||
                           !std::isalnum(static_cast<unsigned char>(text[end])) || word.size() > 4;
        if (startOk && endOk) {
            return true;
        }
        at = text.find(word, at + 1);
    }
    return false;
}

bool Fits(const Guess& guess, const std::string& description, const std::string& unit) {
    bool any = false;
    for (const std::string_view word : guess.anyOf) {
        any = any || HasWord(description, word);
    }
    if (!any) {
        return false;
    }
    for (const std::string_view word : guess.noneOf) {
        if (description.find(word) != std::string::npos) {
            return false;
        }
    }
    if (guess.units.empty()) {
        return true;
    }
    for (const std::string_view wanted : guess.units) {
        if (unit == wanted) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string_view RoleLabel(DashboardRole role) {
    for (const RoleText& text : kRoleNames) {
        if (text.role == role) {
            return text.label;
        }
    }
    return {};
}

std::string_view RoleName(DashboardRole role) {
    for (const RoleText& text : kRoleNames) {
        if (text.role == role) {
            return text.name;
        }
    }
    return {};
}

std::optional<DashboardRole> RoleFromName(std::string_view name) {
    const std::string lower = Lower(name);
    for (const RoleText& text : kRoleNames) {
        if (text.name == lower) {
            return text.role;
        }
    }
    return std::nullopt;
}

const std::vector<DashboardRole>& AllRoles() {
    static const std::vector<DashboardRole> roles = [] {
        std::vector<DashboardRole> all;
        for (const RoleText& text : kRoleNames) {
            all.push_back(text.role);
        }
        return all;
    }();
    return roles;
}

std::map<DashboardRole, std::vector<int>> AssignRoles(const ParameterTable& table,
                                                      const DetailsTable& details) {
    std::map<DashboardRole, std::vector<int>> roles;
    std::set<int> taken;
    const auto analog = [&table](int position) {
        const ParameterRecord* record = table.Find(position);
        return record != nullptr && !record->IsDigital && !record->Descriptions[0].empty();
    };
    for (const auto& [position, info] : details.Positions()) {
        if (info.role.empty() || !analog(position)) {
            continue;
        }
        if (const std::optional<DashboardRole> role = RoleFromName(info.role)) {
            roles[*role].push_back(position);
            taken.insert(position);
        }
    }
    for (const Guess& guess : Guesses()) {
        if (roles.contains(guess.role)) {
            continue;
        }
        for (int position = ParameterTable::kFirstPosition;
             position <= ParameterTable::kLastPosition; ++position) {
            if (taken.contains(position) || !analog(position)) {
                continue;
            }
            const PositionDetails* info = details.Find(position);
            const std::string unit = Lower(info != nullptr ? info->unit : "");
            if (Fits(guess, Lower(table.At(position).Descriptions[0]), unit)) {
                roles[guess.role].push_back(position);
                taken.insert(position);
                break;
            }
        }
    }
    return roles;
}

}  // namespace vekaton
