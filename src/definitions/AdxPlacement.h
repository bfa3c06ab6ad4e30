#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "definitions/AdxClaims.h"
#include "definitions/AdxDocument.h"

namespace vekaton {

struct PlacementOutcome {
    // The report's words for every claim's object: where it stands, or why it was skipped.
    std::map<std::size_t, std::string> lines;
    // For every lookup table a placed value uses: "\"NAME\" at position P" of each such value.
    std::map<std::size_t, std::vector<std::string>> tableUsers;
    int analogPositions = 0;
    int bits = 0;
};

// Gives each claim its place in the table unless another holds it. A position holds one
// analog value over its bytes, or up to eight bits; the first claim in file order keeps a
// place, except that a value read by another through a link yields to it, since the linking
// value shows it and more. A field of the same bits as a placed one adds its name there.
PlacementOutcome PlaceClaims(const AdxDocument& document, const std::vector<PositionClaim>& claims,
                             ParameterTable& table, DetailsTable& details);

// The report's words for a lookup table: which placed values use it, or why none does.
std::string TableLine(const AdxDocument& document, std::size_t index,
                      const PlacementOutcome& outcome);

}  // namespace vekaton
