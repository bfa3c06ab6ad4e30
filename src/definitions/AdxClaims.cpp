#include "definitions/AdxClaims.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "definitions/AdxEquation.h"
#include "definitions/AdxFields.h"
#include "definitions/LookupExpansion.h"
#include "definitions/XmlText.h"

namespace vekaton {
namespace {

constexpr std::size_t kLongestFormulaShown = 120;
constexpr int kMaxDecimals = 10;
constexpr int kByteBits = 8;

std::string PositionText(int position) {
    return "position " + std::to_string(position);
}

// The largest distance between the formula and the tables it stands for, over every raw input
// of the value: what the user will see. Beyond two bytes, the tables' own bound.
double LargestError(const Expr& meant, const Expr& written, int bytes, double bound) {
    if (bytes > 2) {
        return bound;
    }
    double worst = 0.0;
    ForEachRawInput(bytes, [&](const std::array<double, 5>& v) {
        const auto a = EvaluateExpr(meant, v);
        const auto b = EvaluateExpr(written, v);
        if (a && b) {
            worst = std::max(worst, std::abs(*a - *b));
        }
    });
    return worst;
}

void SetDetails(const AdxValue& value, PositionDetails& details) {
    details.unit = value.units;
    if (value.rangeLow && value.rangeHigh && *value.rangeLow < *value.rangeHigh) {
        details.displayMin = value.rangeLow;
        details.displayMax = value.rangeHigh;
    }
    details.warnLow = value.alarmLow;
    details.warnHigh = value.alarmHigh;
    if (details.warnLow && details.warnHigh && *details.warnLow > *details.warnHigh) {
        std::swap(details.warnLow, details.warnHigh);
    }
    if (value.digits) {
        details.decimals = std::clamp(*value.digits, 0, kMaxDecimals);
    }
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::string ParameterDescription(const std::string& name) {
    std::string description = ReportLine(name);
    std::replace(description.begin(), description.end(), ',', ';');
    return description;
}

std::variant<PositionClaim, std::string> ClaimValue(const AdxDocument& document, std::size_t index,
                                                    const ResolvedValue& resolved,
                                                    FormulaChecker& checker) {
    if (!resolved.problem.empty()) {
        return resolved.problem;
    }
    const AdxObject& object = document.objects[index];
    const AdxValue& value = std::get<AdxValue>(object.data);
    PositionClaim claim;
    claim.object = index;
    claim.where = *resolved.placement;
    claim.links = resolved.links;
    claim.tables = resolved.tables;
    claim.description = ParameterDescription(object.Name());
    SetDetails(value, claim.details);

    ExprPtr formula = resolved.formula;
    std::string how;
    if (HasLookup(*formula)) {
        std::string problem;
        const auto expansion = ExpandLookups(formula, checker, problem);
        if (!expansion) {
            return problem;
        }
        // Every segment kept: the formula is the table, up to the last bits of a double.
        const double error = expansion->tableError == 0.0
                                 ? 0.0
                                 : LargestError(*formula, *expansion->formula, claim.where.bytes,
                                                expansion->tableError);
        formula = expansion->formula;
        how = "its table as " + std::to_string(expansion->segments) + " straight segment" +
              (expansion->segments == 1 ? "" : "s");
        if (expansion->segments < expansion->tableSegments) {
            how += " of " + std::to_string(expansion->tableSegments);
        }
        how += error > 0.0 ? ", largest error " + ReportNumber(error, 3) +
                                 (value.units.empty() ? "" : " " + value.units)
                           : ", exact at its points";
    }
    claim.formula = FormulaText(*formula);
    if (const auto problem = checker.BuildProblem(claim.formula)) {
        return "its formula is too complex for our formulas (" + *problem + ")";
    }
    if (const auto problem = checker.Disagreement(*formula, claim.formula, claim.where.bytes)) {
        return "its formula could not be written faithfully: " + *problem;
    }
    const int position = claim.where.offset + 1;
    claim.line = PositionText(position);
    if (claim.where.bytes > 1) {
        claim.line += ", " + std::to_string(claim.where.bytes) + " bytes shown at " +
                      PositionText(position + claim.where.bytes - 1);
    }
    claim.line += ": ";
    if (how.empty()) {
        claim.line += claim.formula.size() <= kLongestFormulaShown
                          ? claim.formula
                          : "a formula of " + std::to_string(claim.formula.size()) + " characters";
    } else {
        claim.line += how;
    }
    if (!value.units.empty()) {
        claim.line += " [" + value.units + "]";
    }
    for (const std::size_t link : resolved.links) {
        claim.line += ", reads " + Quoted(document.objects[link].Name()) + " through its link";
    }
    for (const std::string& note : resolved.notes) {
        claim.line += "; " + note;
    }
    return claim;
}

std::variant<PositionClaim, std::string> ClaimBitMask(const AdxDocument& document,
                                                      std::size_t index,
                                                      const AdxLinkChoice& link) {
    const int dataBytes = link.dataBytes;
    const AdxObject& object = document.objects[index];
    if (!object.problem.empty()) {
        return object.problem;
    }
    const AdxBitMask& mask = std::get<AdxBitMask>(object.data);
    if (!EqualsIgnoringCase(mask.bitOperation, "AND")) {
        return "its bit operation \"" + mask.bitOperation + "\" is not known";
    }
    if (mask.parent && !IsPolledExchange(link, *mask.parent)) {
        return "it belongs to the reply " + HexWord(*mask.parent) + ", not to the one polled";
    }
    if (!mask.offset) {
        return "it gives no packetoffset";
    }
    if (*mask.offset == kAdxNotPlaced) {
        return "it is not placed in the frame (packetoffset 0xFFFFFFFF)";
    }
    if (*mask.offset >= static_cast<std::uint32_t>(dataBytes)) {
        return "it lies beyond the " + std::to_string(dataBytes) + " data bytes of the reply";
    }
    if (mask.operand == 0) {
        return "its operand 0x00000000 tests no bit";
    }
    if (mask.operand > 0xFFU) {
        return "its operand " + HexWord(mask.operand) + " reaches beyond the byte it tests";
    }
    PositionClaim claim;
    claim.object = index;
    claim.where = {static_cast<int>(*mask.offset), 1};
    claim.description = ParameterDescription(object.Name());
    const int position = claim.where.offset + 1;
    const std::string texts =
        mask.trueText.empty() && mask.falseText.empty()
            ? ""
            : " (" + Quoted(mask.trueText) + " when on, " + Quoted(mask.falseText) + " when off)";

    const bool oneBit = std::popcount(mask.operand) == 1;
    if (oneBit && (mask.result == mask.operand || mask.result == 0)) {
        claim.digital = true;
        claim.bit = std::countr_zero(mask.operand);
        claim.activeWhenClear = mask.result == 0;
        claim.line = PositionText(position) + ", bit " + std::to_string(claim.bit) +
                     (claim.activeWhenClear ? ", on when clear" : "") + texts;
        return claim;
    }

    // Several bits, or a test against another pattern: the field as a number.
    const int low = std::countr_zero(mask.operand);
    const int width = kByteBits - std::countl_zero(static_cast<std::uint8_t>(mask.operand)) - low;
    const bool contiguous = std::popcount(mask.operand) == width;
    const ExprPtr byte = MakeVariable('A');
    ExprPtr field;
    std::uint32_t resultValue = mask.result & mask.operand;
    double largest = mask.operand;
    std::string bits;
    if (contiguous) {
        field =
            low > 0 ? MakeBinary(ExprKind::IntDiv, byte, MakeNumber(std::ldexp(1.0, low))) : byte;
        if (low + width < kByteBits) {
            field = MakeBinary(ExprKind::Mod, field, MakeNumber(std::ldexp(1.0, width)));
        }
        resultValue >>= static_cast<unsigned>(low);
        largest = std::ldexp(1.0, width) - 1.0;
        bits = width == 1
                   ? "bit " + std::to_string(low)
                   : "bits " + std::to_string(low) + " to " + std::to_string(low + width - 1);
    } else {
        field = MaskExpr(byte, mask.operand, kByteBits);
        bits = "the bits " + HexWord(mask.operand);
    }
    claim.formula = FormulaText(*field);
    claim.fieldMask = mask.operand;
    claim.details.displayMin = 0.0;
    claim.details.displayMax = largest;
    claim.details.decimals = 0;
    claim.line = PositionText(position) + ": " + claim.formula + ", " + bits + " as a number";
    const bool reachable = (mask.result & ~mask.operand) == 0;
    if (!mask.trueText.empty() && reachable) {
        claim.details.valueNames.push_back({resultValue, mask.trueText});
        claim.line +=
            "; " + Quoted(mask.trueText) + " kept as the name of " + std::to_string(resultValue);
    } else if (!reachable) {
        claim.line += "; its test against " + HexWord(mask.result) + " can never hold";
    }
    if (!mask.falseText.empty()) {
        claim.line += "; " + Quoted(mask.falseText) + " not kept";
    }
    return claim;
}

}  // namespace vekaton
