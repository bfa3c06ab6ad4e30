#include "definitions/AdxValues.h"

#include <algorithm>
#include <cmath>

#include "definitions/AdxEquation.h"
#include "definitions/AdxFields.h"
#include "definitions/LookupFit.h"
#include "definitions/XmlText.h"

namespace vekaton {
namespace {

constexpr std::uint32_t kSignedFlag = 0x1;
constexpr std::uint32_t kDisplayFlags = 0x4 | 0x8;  // display options of the other program
constexpr std::size_t kMaxLinkDepth = 16;           // a value built on values built on ...
// Every node is at least one character of a formula, which holds at most 4096.
constexpr std::size_t kMaxFormulaNodes = 4096;
constexpr std::size_t kMaxTableInputNodes = 64;

std::string Quoted(const AdxObject& object) {
    return "\"" + object.Name() + "\"";
}

void Append(std::vector<std::size_t>& to, const std::vector<std::size_t>& from) {
    for (const std::size_t index : from) {
        if (std::find(to.begin(), to.end(), index) == to.end()) {
            to.push_back(index);
        }
    }
}

// The table's entries as points of rising input; why not, when two entries of one input
// disagree.
std::variant<LookupPoints, std::string> TablePoints(const AdxLookupTable& table) {
    std::vector<AdxTableEntry> entries = table.entries;
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const AdxTableEntry& a, const AdxTableEntry& b) { return a.input < b.input; });
    LookupPoints points;
    for (const AdxTableEntry& entry : entries) {
        if (!points.x.empty() && points.x.back() == entry.input) {
            if (points.y.back() != entry.output) {
                return "gives two outputs for the input " + ReportNumber(entry.input);
            }
            continue;
        }
        points.x.push_back(entry.input);
        points.y.push_back(entry.output);
    }
    return points;
}

// The table read straight from the raw integer when the equation only scales it: the inputs
// mapped back through a * raw + b. The formula then needs the raw value only once per segment.
bool ReadFromRaw(LookupPoints& points, double a, double b) {
    LookupPoints mapped = points;
    for (double& x : mapped.x) {
        x = (x - b) / a;
    }
    if (a < 0.0) {
        std::reverse(mapped.x.begin(), mapped.x.end());
        std::reverse(mapped.y.begin(), mapped.y.end());
    }
    for (std::size_t i = 1; i < mapped.x.size(); ++i) {
        if (!(mapped.x[i] > mapped.x[i - 1]) || !std::isfinite(mapped.x[i])) {
            return false;
        }
    }
    points = std::move(mapped);
    return true;
}

}  // namespace

std::string DescribePlacement(const BytePlacement& placement) {
    const int first = placement.offset + 1;
    if (placement.bytes == 1) {
        return "byte " + std::to_string(first);
    }
    return "bytes " + std::to_string(first) + "-" + std::to_string(first + placement.bytes - 1);
}

AdxValueResolver::AdxValueResolver(const AdxDocument& document, const AdxLinkChoice& link)
    : document_(document), link_(link) {}

const ResolvedValue& AdxValueResolver::Resolve(std::size_t index) {
    if (const auto found = done_.find(index); found != done_.end()) {
        return found->second;
    }
    open_.push_back(index);
    ResolvedValue resolved = Compute(index);
    open_.pop_back();
    return done_.emplace(index, std::move(resolved)).first->second;
}

ResolvedValue AdxValueResolver::Compute(std::size_t index) {
    const AdxObject& object = document_.objects[index];
    const AdxValue& value = std::get<AdxValue>(object.data);
    ResolvedValue r;
    if (!object.problem.empty()) {
        r.problem = object.problem;
        return r;
    }
    if (value.isFloat) {
        r.problem = "it is a floating-point value, which our formulas cannot read";
        return r;
    }
    if (value.parent && !IsPolledExchange(link_, *value.parent)) {
        const AdxObject* parent = document_.FindByHash(*value.parent);
        r.problem =
            "it belongs to " +
            (parent ? "the reply " + Quoted(*parent) : "the reply " + HexWord(*value.parent)) +
            ", not to the one polled";
        return r;
    }
    if (const std::uint32_t unknown = value.flags & ~(kSignedFlag | kDisplayFlags)) {
        r.notes.push_back("flags " + HexWord(unknown) + " not understood");
    }

    std::string variableProblem;
    ExprPtr nativeRaw;
    ExprPtr linkedRaw;
    std::string placedBy;  // what gave the placement, for the message when another differs
    const auto place = [&](const BytePlacement& where, const std::string& by) {
        if (r.placement && *r.placement != where) {
            variableProblem = "it reads " + by + " (" + DescribePlacement(where) + ") and " +
                              placedBy + " (" + DescribePlacement(*r.placement) +
                              "), but a position reads only its own bytes";
            return false;
        }
        r.placement = where;
        placedBy = by;
        return true;
    };
    const auto native = [&]() -> std::variant<EquationOperand, std::string> {
        if (!value.offset) {
            variableProblem = "it gives no packetoffset";
        } else if (*value.offset == kAdxNotPlaced) {
            variableProblem = "it is not placed in the frame (packetoffset 0xFFFFFFFF)";
        } else if (value.bits % 8 != 0 || value.bits < 8 || value.bits > 32) {
            variableProblem =
                "its size of " + std::to_string(value.bits) + " bits is not 1 to 4 whole bytes";
        } else if (static_cast<std::uint64_t>(*value.offset) +
                       static_cast<std::uint64_t>(value.bits / 8) >
                   static_cast<std::uint64_t>(link_.dataBytes)) {
            variableProblem = "it lies beyond the " + std::to_string(link_.dataBytes) +
                              " data bytes of the reply";
        } else if (place({static_cast<int>(*value.offset), value.bits / 8}, "its own bytes")) {
            if (!nativeRaw) {
                nativeRaw = RawValueExpr(value.bits / 8, value.lsbFirst, value.isSigned);
            }
            return EquationOperand{nativeRaw, !value.isSigned, value.bits};
        }
        return variableProblem;
    };
    const auto link =
        [&](const AdxVariable& variable) -> std::variant<EquationOperand, std::string> {
        const AdxObject* target = variable.link ? document_.FindByHash(*variable.link) : nullptr;
        if (target == nullptr || target->kind != AdxKind::Value) {
            variableProblem =
                "its variable " + variable.name + " links to " +
                (target ? Quoted(*target) + ", which is not a value"
                        : (variable.link ? HexWord(*variable.link) : std::string("nothing")) +
                              ", which the file does not hold");
            return variableProblem;
        }
        const std::size_t targetIndex = document_.IndexOf(target);
        if (open_.size() >= kMaxLinkDepth) {
            variableProblem =
                "its links run more than " + std::to_string(kMaxLinkDepth) + " values deep";
            return variableProblem;
        }
        if (std::find(open_.begin(), open_.end(), targetIndex) != open_.end()) {
            variableProblem = "its links run in a loop through " + Quoted(*target);
            return variableProblem;
        }
        const ResolvedValue& source = Resolve(targetIndex);
        if (!source.problem.empty()) {
            variableProblem = "it links to " + Quoted(*target) + ", which cannot be mapped";
            return variableProblem;
        }
        if (!place(*source.placement, Quoted(*target))) {
            return variableProblem;
        }
        Append(r.links, {targetIndex});
        Append(r.links, source.links);
        Append(r.tables, source.tables);
        linkedRaw = source.raw;
        return EquationOperand{source.formula, false, 0};
    };
    const auto variables =
        [&](std::string_view name) -> std::variant<EquationOperand, std::string> {
        for (const AdxVariable& variable : value.variables) {
            if (!EqualsIgnoringCase(variable.name, name)) {
                continue;
            }
            if (EqualsIgnoringCase(variable.type, "native")) {
                return native();
            }
            if (EqualsIgnoringCase(variable.type, "link")) {
                return link(variable);
            }
            variableProblem = "its variable " + variable.name + " has the type \"" + variable.type +
                              "\", which is not known";
            return variableProblem;
        }
        if (EqualsIgnoringCase(name, "X")) {
            return native();  // the value's own bytes, also without a VAR saying so
        }
        variableProblem =
            "its equation uses " + std::string(name) + ", which no VAR of the value declares";
        return variableProblem;
    };

    auto parsed = ParseAdxEquation(value.equation, variables);
    if (auto* message = std::get_if<std::string>(&parsed)) {
        r.problem = !variableProblem.empty()
                        ? variableProblem
                        : "its equation \"" + Clipped(value.equation, 80) +
                              "\" is outside the formula language: " + *message;
        return r;
    }
    r.formula = std::get<ExprPtr>(parsed);
    if (WrittenSize(*r.formula, kMaxFormulaNodes) > kMaxFormulaNodes) {
        r.problem =
            "its formula, with the values it reads written in, is far longer than a "
            "formula may be";
        return r;
    }
    if (!r.placement) {
        r.problem =
            "its equation \"" + Clipped(value.equation, 80) + "\" reads no byte of the frame";
        return r;
    }
    r.raw = nativeRaw ? nativeRaw : linkedRaw;
    if (value.lookup) {
        ApplyTable(value, r);
    }
    return r;
}

void AdxValueResolver::ApplyTable(const AdxValue& value, ResolvedValue& r) {
    const AdxObject* object = document_.FindByHash(*value.lookup);
    if (object == nullptr || object->kind != AdxKind::LookupTable) {
        r.problem = "its lookupidhash " + HexWord(*value.lookup) + " names " +
                    (object ? Quoted(*object) + ", which is not a lookup table"
                            : std::string("no object of the file"));
        return;
    }
    const auto& table = std::get<AdxLookupTable>(object->data);
    const std::string name = "its table " + Quoted(*object);
    if (!object->problem.empty()) {
        r.problem = name + " cannot be read: " + object->problem;
    } else if (table.lookupMode.value_or(0) != 0) {
        r.problem =
            name + " has lookup mode " + std::to_string(*table.lookupMode) + ", which is not known";
    } else if (table.entries.empty()) {
        r.problem = name + " has no entries";
    } else if (table.entries.size() > LookupFitter::kMaxPoints) {
        r.problem = name + " has " + std::to_string(table.entries.size()) +
                    " entries, more than the " + std::to_string(LookupFitter::kMaxPoints) +
                    " that are read";
    }
    if (!r.problem.empty()) {
        return;
    }
    auto points = TablePoints(table);
    if (auto* message = std::get_if<std::string>(&points)) {
        r.problem = name + " " + *message;
        return;
    }
    auto shared = std::make_shared<LookupPoints>(std::move(std::get<LookupPoints>(points)));
    ExprPtr input = r.formula;
    if (r.raw) {
        if (const auto affine = AffineIn(*r.formula, r.raw.get())) {
            if (ReadFromRaw(*shared, affine->first, affine->second)) {
                input = r.raw;
            }
        }
    }
    // The input is written out once for every segment of the table.
    if (WrittenSize(*input, kMaxTableInputNodes) > kMaxTableInputNodes) {
        r.problem = "its equation is too long to be written out for every segment of its table";
        return;
    }
    Append(r.tables, {document_.IndexOf(object)});
    r.formula = MakeLookup(input, shared);
}

}  // namespace vekaton
