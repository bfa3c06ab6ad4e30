#include "cli/AnalysisSet.h"

#include "cli/HeadlessSet.h"

namespace vekaton::cli {

std::optional<AnalysisSet> LoadAnalysisSet(const std::string& dir, const std::string& setName,
                                           std::ostream& err) {
    auto set = LoadHeadlessSet(dir, setName, err);
    if (!set) {
        return std::nullopt;
    }
    AnalysisSet analysis;
    analysis.table = std::move(set->table);
    // The headless reader keeps no details file, so automatic edges come from the values.
    analysis.layout = RecordLayout::From(set->settings);
    analysis.files = std::move(set->files);
    return analysis;
}

}  // namespace vekaton::cli
