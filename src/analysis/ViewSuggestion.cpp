#include "analysis/ViewSuggestion.h"

#include <algorithm>
#include <map>

#include "common/AsciiCase.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "definitions/DashboardRoles.h"

namespace vekaton {

namespace {

constexpr int kTableColumns = 12;
constexpr int kTableRows = 10;
constexpr int kHistogramBins = 20;
constexpr int kScatterBins = 24;
constexpr double kBlockLearnCentre = 128.0;  // a GM fuel trim's "no correction"
constexpr double kWarmCelsius = 70.0;
constexpr double kWarmFahrenheit = 158.0;
constexpr double kTopEngineSpeed = 6000.0;  // rpm
constexpr double kLowestMap = 20.0;         // kPa
constexpr double kHighestMap = 100.0;
constexpr int kMapRows = 8;
constexpr int kMapScatterRows = 16;
constexpr int kSpeedBins = 24;

using Roles = std::map<DashboardRole, std::vector<int>>;

std::optional<ValueRef> RoleRef(const Roles& roles, DashboardRole role) {
    const auto found = roles.find(role);
    if (found == roles.end() || found->second.empty()) {
        return std::nullopt;
    }
    return ValueRef{found->second.front(), -1};
}

std::optional<ValueRef> FirstRole(const Roles& roles, std::initializer_list<DashboardRole> list) {
    for (const DashboardRole role : list) {
        if (auto ref = RoleRef(roles, role)) {
            return ref;
        }
    }
    return std::nullopt;
}

// The n-th analog value of the set that is not among `used`.
std::optional<ValueRef> OtherAnalog(const std::vector<ValueRef>& available,
                                    const std::vector<ValueRef>& used) {
    for (const ValueRef ref : available) {
        if (!ref.IsBit() && std::find(used.begin(), used.end(), ref) == used.end()) {
            return ref;
        }
    }
    return std::nullopt;
}

// The closed-loop flag, found by its description.
std::optional<ValueRef> ClosedLoopBit(const ParameterTable& table,
                                      const std::vector<ValueRef>& available) {
    for (const ValueRef ref : available) {
        if (ref.IsBit()) {
            const std::string text =
                LowerAscii(table.At(ref.position).Descriptions[static_cast<std::size_t>(ref.bit)]);
            if (text.find("closed loop") != std::string::npos ||
                text.find("closed-loop") != std::string::npos) {
                return ref;
            }
        }
    }
    return std::nullopt;
}

// Units that parameter files without details write as the last word of a description.
bool LooksLikeUnit(std::string_view word) {
    static constexpr std::string_view kUnits[] = {
        "rpm",     "1/min",   "kpa",  "psi",    "bar", "inhg", "c",     "f",
        "\u00b0c", "\u00b0f", "degc", "degf",   "v",   "mv",   "volts", "ms",
        "%",       "g/s",     "gm/s", "lb/min", "deg", "mph",  "km/h"};
    const std::string lower = LowerAscii(word);
    return std::find(std::begin(kUnits), std::end(kUnits), lower) != std::end(kUnits);
}

// The details, with a unit for every analog position that has none there taken from the last
// word of its description when that is a unit ("Manifold pressure kPa"), as parameter files
// without details write them: the roles of such sets are found by their units too. Any other
// last word ("Engine speed") is no unit, and would hide a role that wants none.
DetailsTable WithDescribedUnits(const ParameterTable& table, const DetailsTable& details) {
    DetailsTable units = details;
    for (int position = ParameterTable::kFirstPosition; position <= ParameterTable::kLastPosition;
         ++position) {
        const ParameterRecord& record = table.At(position);
        const std::string& text = record.Descriptions[0];
        const std::size_t blank = text.find_last_of(' ');
        if (record.IsDigital || blank == std::string::npos ||
            !LooksLikeUnit(std::string_view(text).substr(blank + 1))) {
            continue;
        }
        const PositionDetails* found = details.Find(position);
        if (found == nullptr || found->unit.empty()) {
            units.At(position).unit = text.substr(blank + 1);
        }
    }
    return units;
}

// Warm in the coolant reading's unit: degrees Fahrenheit where the unit says so, else Celsius.
double WarmCoolant(const DetailsTable& units, int position) {
    const PositionDetails* found = units.Find(position);
    const std::string lower = LowerAscii(found != nullptr ? found->unit : std::string());
    const bool fahrenheit = lower == "f" || lower == "°f" || lower == "degf" || lower == "deg f" ||
                            lower == "fahrenheit";
    return fahrenheit ? kWarmFahrenheit : kWarmCelsius;
}

// Where the details give the value no display range, the usual span of an engine's speed or
// manifold pressure in round steps, so that a view works live, where no log gives a range.
std::optional<BinEdges> RoleEdges(const Roles& roles, const DetailsTable& details, ValueRef ref,
                                  int bins) {
    if (DisplayRangeEdges(&details, ref, bins)) {
        return std::nullopt;  // automatic edges over the display range
    }
    if (RoleRef(roles, DashboardRole::EngineSpeed) == ref) {
        return BinEdges::Equal(0, kTopEngineSpeed, bins);
    }
    if (RoleRef(roles, DashboardRole::Map) == ref) {
        return BinEdges::Equal(kLowestMap, kHighestMap, bins);
    }
    return std::nullopt;
}

}  // namespace

std::vector<ValueRef> AvailableValueRefs(const ParameterTable& table, int dataBytes) {
    std::vector<ValueRef> refs;
    for (int position = ParameterTable::kFirstPosition;
         position <= std::min(dataBytes, ParameterTable::kLastPosition); ++position) {
        const ParameterRecord& record = table.At(position);
        if (!record.IsDigital) {
            if (!UnknownValueReason(table, {position, -1}, dataBytes)) {
                refs.push_back({position, -1});
            }
            continue;
        }
        for (int bit = 0; bit < 8; ++bit) {
            if (!UnknownValueReason(table, {position, bit}, dataBytes)) {
                refs.push_back({position, bit});
            }
        }
    }
    return refs;
}

std::string DescriptiveViewName(const AnalysisSetup& setup, const ParameterTable& table) {
    const auto name = [&table](ValueRef ref) { return ValueRefName(table, ref); };
    switch (setup.kind) {
        case AnalysisKind::Table:
            return name(setup.z.value_or(setup.x)) + " table";
        case AnalysisKind::Histogram:
            return name(setup.x) + " histogram";
        case AnalysisKind::Scatter:
            return setup.y ? name(*setup.y) + " against " + name(setup.x)
                           : name(setup.x) + " scatter";
    }
    return "View";
}

ViewDefinition SuggestedView(AnalysisKind kind, const ParameterTable& table,
                             const DetailsTable& details, int dataBytes,
                             const std::vector<std::string>& taken) {
    const std::vector<ValueRef> available = AvailableValueRefs(table, dataBytes);
    const DetailsTable units = WithDescribedUnits(table, details);
    const Roles roles = AssignRoles(table, units);
    const auto usable = [&available](std::optional<ValueRef> ref) {
        return ref && std::find(available.begin(), available.end(), *ref) != available.end()
                   ? ref
                   : std::nullopt;
    };
    std::vector<ValueRef> used;
    const auto pick = [&](std::optional<ValueRef> wanted) {
        std::optional<ValueRef> ref = usable(wanted);
        if (!ref || std::find(used.begin(), used.end(), *ref) != used.end()) {
            ref = OtherAnalog(available, used);
        }
        if (ref) {
            used.push_back(*ref);
        }
        return ref;
    };

    ViewDefinition view;
    AnalysisSetup& setup = view.setup;
    setup.kind = kind;
    setup.x = pick(RoleRef(roles, DashboardRole::EngineSpeed)).value_or(ValueRef{1, -1});
    const auto trim =
        usable(FirstRole(roles, {DashboardRole::BlockLearn, DashboardRole::Integrator}));
    switch (kind) {
        case AnalysisKind::Table: {
            setup.y = pick(FirstRole(roles, {DashboardRole::Map, DashboardRole::Airflow}));
            setup.z = pick(trim);
            setup.xBins = kTableColumns;
            setup.yBins = kTableRows;
            if (setup.y && RoleRef(roles, DashboardRole::Map) == setup.y) {
                setup.yBins = kMapRows;
            }
            if (trim && setup.z == trim) {
                view.centre = kBlockLearnCentre;
                // Fuel trims mean something only in closed loop with a warm engine.
                if (const auto loop = ClosedLoopBit(table, available)) {
                    setup.conditions.push_back({*loop, CompareOp::Equal, 1.0});
                }
                if (const auto coolant = usable(RoleRef(roles, DashboardRole::Coolant))) {
                    setup.conditions.push_back(
                        {*coolant, CompareOp::GreaterEqual, WarmCoolant(units, coolant->position)});
                }
            }
            break;
        }
        case AnalysisKind::Histogram:
            setup.xBins =
                RoleRef(roles, DashboardRole::EngineSpeed) == setup.x ? kSpeedBins : kHistogramBins;
            break;
        case AnalysisKind::Scatter:
            setup.y = pick(FirstRole(roles, {DashboardRole::Map, DashboardRole::Airflow}));
            if (trim && std::find(used.begin(), used.end(), *trim) == used.end()) {
                setup.z = trim;
                view.centre = kBlockLearnCentre;
            }
            setup.xBins = setup.yBins = kScatterBins;
            if (setup.y && RoleRef(roles, DashboardRole::Map) == setup.y) {
                setup.yBins = kMapScatterRows;  // 5 kPa each
            }
            break;
    }
    setup.xEdges = RoleEdges(roles, details, setup.x, setup.xBins);
    if (setup.y) {
        setup.yEdges = RoleEdges(roles, details, *setup.y, setup.yBins);
    }
    view.name = UniqueViewName(DescriptiveViewName(setup, table), taken);
    return view;
}

}  // namespace vekaton
