#include "definitions/AdxImport.h"

#include <algorithm>
#include <map>

#include "definitions/AdxClaims.h"
#include "definitions/AdxDocument.h"
#include "definitions/AdxFields.h"
#include "definitions/AdxLink.h"
#include "definitions/AdxPlacement.h"
#include "definitions/AdxValues.h"
#include "definitions/XmlReader.h"

namespace vekaton {
namespace {

std::string OtherObjectLine(const AdxObject& object) {
    static constexpr std::pair<std::string_view, std::string_view> kKnown[] = {
        {"ADXDASHBOARD", "dashboard layouts are not imported"},
        {"ADXLISTVIEW", "list views are not imported"},
        {"ADXMONITOR", "monitor layouts are not imported"},
        {"ADXHISTOGRAM", "histograms are not imported"},
        {"ADXTABLE", "table views are not imported"},
        {"ADXCHECKSUM",
         "checksum definitions are not imported; the reply's checksum is tested "
         "as the link settings say"},
    };
    for (const auto& [element, why] : kKnown) {
        if (object.element.size() == element.size() &&
            std::equal(element.begin(), element.end(), object.element.begin(),
                       [](char a, char b) { return std::toupper(a) == std::toupper(b); })) {
            return "skipped: " + std::string(why);
        }
    }
    return "skipped: <" + object.element + "> objects are not known to this importer";
}

AdxImportResult Failure(const std::string& error) {
    AdxImportResult result;
    result.error = Clipped(error, 400);
    return result;
}

AdxImportResult Import(const XmlReadResult& xml) {
    if (xml.error) {
        return Failure(DescribeXmlError(*xml.error));
    }
    std::string error;
    const auto document = ReadAdxDocument(*xml.root, error);
    if (!document) {
        return Failure(error);
    }
    const AdxLinkChoice link = ChooseAdxLink(*document);
    if (!link.error.empty()) {
        return Failure(link.error);
    }

    auto import = std::make_unique<AdxImport>();
    import->settings = link.settings;
    std::map<std::size_t, std::string> lines = link.lines;

    AdxValueResolver resolver(*document, link);
    FormulaChecker checker;
    std::vector<PositionClaim> claims;
    for (std::size_t i = 0; i < document->objects.size(); ++i) {
        const AdxObject& object = document->objects[i];
        std::variant<PositionClaim, std::string> claim;
        if (object.kind == AdxKind::Value) {
            claim = ClaimValue(*document, i, resolver.Resolve(i), checker);
        } else if (object.kind == AdxKind::BitMask) {
            claim = ClaimBitMask(*document, i, link);
        } else {
            continue;
        }
        if (auto* why = std::get_if<std::string>(&claim)) {
            lines[i] = "skipped: " + *why;
        } else {
            claims.push_back(std::move(std::get<PositionClaim>(claim)));
        }
    }

    const PlacementOutcome placed = PlaceClaims(*document, claims, *import->table, import->details);
    for (const auto& [index, line] : placed.lines) {
        lines[index] = line;
    }
    import->mappedValues = placed.analogPositions;
    import->mappedBits = placed.bits;

    for (std::size_t i = 0; i < document->objects.size(); ++i) {
        const AdxObject& object = document->objects[i];
        if (object.kind == AdxKind::LookupTable) {
            lines[i] = TableLine(*document, i, placed);
        } else if (object.kind == AdxKind::Other) {
            lines[i] = OtherObjectLine(object);
        }
        const std::string& line = lines[i];
        if (line.rfind("skipped:", 0) == 0) {
            ++import->skipped;
        }
        // Names and texts of the file stand in the line: it is made one line again as a whole.
        import->report.push_back(ReportLine(object.Name() + ": " + line));
    }
    AdxImportResult result;
    result.import = std::move(import);
    return result;
}

}  // namespace

AdxImportResult ImportAdx(std::string_view bytes) {
    return Import(ParseXml(bytes));
}

AdxImportResult ImportAdxFile(const std::filesystem::path& path) {
    AdxImportResult result = Import(ReadXmlFile(path));
    if (!result.import && result.error.rfind("line ", 0) != 0) {
        result.fileUnreadable = true;
    }
    return result;
}

}  // namespace vekaton
