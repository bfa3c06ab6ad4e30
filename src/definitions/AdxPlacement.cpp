#include "definitions/AdxPlacement.h"

#include <algorithm>
#include <array>
#include <set>

namespace vekaton {
namespace {

struct Occupant {
    std::size_t claim = 0;  // the analog value, or the first bit placed
    bool digital = false;
    std::uint8_t bits = 0;  // bits taken at a digital position
    std::array<std::size_t, 8> bitClaims{};
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool Contains(const std::vector<std::size_t>& list, std::size_t value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// Why `claim` cannot stand where `other` stands.
std::string ConflictLine(const AdxDocument& document, const PositionClaim& claim,
                         const PositionClaim& other, int position) {
    const std::string name = Quoted(document.objects[other.object].Name());
    const std::string where = "position " + std::to_string(other.where.offset + 1);
    if (Contains(other.links, claim.object)) {
        return "skipped: " + name + " at " + where +
               " reads it through its link and shows it there, and a position holds one value";
    }
    if (Contains(claim.links, other.object)) {
        return "skipped: it reads " + name + " through its link, which holds " + where +
               " already, and a position holds one value";
    }
    if (claim.digital && other.digital) {
        return "skipped: bit " + std::to_string(claim.bit) + " of " + where + " already holds " +
               name;
    }
    if (other.where.offset + 1 == position && claim.where.offset == other.where.offset) {
        return "skipped: " + where + " already holds " + name;
    }
    return "skipped: its " + DescribePlacement(claim.where) +
           (claim.where.bytes == 1 ? " overlaps " : " overlap ") + name + " at " + where;
}

}  // namespace

PlacementOutcome PlaceClaims(const AdxDocument& document, const std::vector<PositionClaim>& claims,
                             ParameterTable& table, DetailsTable& details) {
    PlacementOutcome outcome;
    std::set<std::size_t> sources;
    for (const PositionClaim& claim : claims) {
        sources.insert(claim.links.begin(), claim.links.end());
    }
    // Values that others read through links come last, so the linking value keeps the place.
    std::vector<std::size_t> order(claims.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_partition(order.begin(), order.end(),
                          [&](std::size_t i) { return sources.count(claims[i].object) == 0; });

    std::map<int, Occupant> taken;
    for (const std::size_t i : order) {
        const PositionClaim& claim = claims[i];
        const int first = claim.where.offset + 1;
        const auto bit = static_cast<std::uint8_t>(claim.digital ? 1U << claim.bit : 0U);
        const Occupant* blocking = nullptr;
        int blockedAt = 0;
        for (int p = first; p < first + claim.where.bytes && !blocking; ++p) {
            const auto found = taken.find(p);
            if (found != taken.end() &&
                !(claim.digital && found->second.digital && (found->second.bits & bit) == 0)) {
                blocking = &found->second;
                blockedAt = p;
            }
        }
        if (blocking != nullptr) {
            const bool sameBit = claim.digital && blocking->digital;
            const PositionClaim& other =
                claims[sameBit ? blocking->bitClaims[static_cast<std::size_t>(claim.bit)]
                               : blocking->claim];
            if (claim.fieldMask && other.fieldMask == claim.fieldMask &&
                other.where == claim.where) {
                // The same field tested for another pattern: its name joins the placed one.
                std::string line = "skipped: the same bits as " +
                                   Quoted(document.objects[other.object].Name()) + " at position " +
                                   std::to_string(first);
                for (const ValueName& name : claim.details.valueNames) {
                    details.At(first).valueNames.push_back(name);
                    line += "; " + Quoted(name.name) + " kept there as the name of " +
                            std::to_string(name.value);
                }
                outcome.lines[claim.object] = line;
            } else {
                outcome.lines[claim.object] = ConflictLine(document, claim, other, blockedAt);
            }
            continue;
        }

        ParameterRecord& record = table.At(first);
        if (claim.digital) {
            Occupant& occupant = taken[first];
            if (occupant.bits == 0) {
                occupant.claim = i;
            }
            occupant.bitClaims[static_cast<std::size_t>(claim.bit)] = i;
            occupant.digital = true;
            occupant.bits = static_cast<std::uint8_t>(occupant.bits | bit);
            record.IsDigital = true;
            record.Descriptions[static_cast<std::size_t>(claim.bit)] = claim.description;
            if (claim.activeWhenClear) {
                details.AtBit(first, claim.bit).activeWhenClear = true;
            }
            ++outcome.bits;
        } else {
            for (int p = first; p < first + claim.where.bytes; ++p) {
                taken[p] = Occupant{i, false, 0, {}};
            }
            record.IsDigital = false;
            record.ByteCount = claim.where.bytes;
            record.Descriptions[0] = claim.description;
            record.SetFormula(claim.formula);
            if (claim.details != PositionDetails{}) {
                details.At(first) = claim.details;
            }
            ++outcome.analogPositions;
        }
        outcome.lines[claim.object] = claim.line;
        for (const std::size_t tableIndex : claim.tables) {
            outcome.tableUsers[tableIndex].push_back(Quoted(document.objects[claim.object].Name()) +
                                                     " at position " + std::to_string(first));
        }
    }
    return outcome;
}

std::string TableLine(const AdxDocument& document, std::size_t index,
                      const PlacementOutcome& outcome) {
    const AdxObject& object = document.objects[index];
    if (const auto users = outcome.tableUsers.find(index); users != outcome.tableUsers.end()) {
        std::string line = "used by ";
        for (std::size_t i = 0; i < users->second.size(); ++i) {
            line += (i == 0                          ? ""
                     : i + 1 == users->second.size() ? " and "
                                                     : ", ") +
                    users->second[i];
        }
        return line;
    }
    const bool named =
        std::any_of(document.objects.begin(), document.objects.end(), [&](const AdxObject& other) {
            const auto* value = std::get_if<AdxValue>(&other.data);
            return value && object.idHash && value->lookup == object.idHash;
        });
    if (!object.problem.empty()) {
        return "skipped: " + object.problem;
    }
    return named ? "skipped: only values that were skipped use it" : "skipped: no value uses it";
}

}  // namespace vekaton
