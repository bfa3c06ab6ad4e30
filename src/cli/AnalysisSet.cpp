#include "cli/AnalysisSet.h"

#include "cli/CliSet.h"

namespace vekaton::cli {

std::optional<AnalysisSet> LoadAnalysisSet(const std::string& dir, const std::string& setName,
                                           std::ostream& err) {
    auto set = OpenCliSet(dir, setName, err, false, false);  // no --force: the values must be right
    if (!set) {
        return std::nullopt;
    }
    AnalysisSet analysis;
    analysis.table = std::make_unique<ParameterTable>(set->Table());
    // Automatic edges span the display ranges the details give, as in the window.
    analysis.details = std::make_unique<DetailsTable>(set->Details());
    analysis.layout = RecordLayout::From(set->Settings());
    analysis.files = std::move(set->files);
    analysis.folder = set->session->Set().Folder();
    analysis.names = set->session->Set().Names();
    return analysis;
}

}  // namespace vekaton::cli
