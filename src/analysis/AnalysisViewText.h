#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "decode/PositionDetails.h"

namespace vekaton {

// Where a view takes its frames from.
enum class ViewSource {
    Log,      // the whole log open in the viewer
    Cursors,  // the frames of that log between its two cursors
    Live,     // frames as they complete while acquiring or playing back, until reset
};

// A table, histogram or scatter as the set keeps it: what it shows, of which frames, and how
// it is coloured. Kept in the set's details file as a section "[view NAME]".
struct ViewDefinition {
    std::string name;
    AnalysisSetup setup;
    // The value a diverging colour scale is centred on (128 for block learn); none for a scale
    // from the lowest value to the highest.
    std::optional<double> centre;
    ViewSource source = ViewSource::Log;
    bool open = true;  // shown when the set is opened
    // Keys this program does not know, written back as read.
    std::vector<std::pair<std::string, std::string>> unknownKeys;

    bool operator==(const ViewDefinition&) const = default;
};

inline constexpr std::string_view kViewSectionPrefix = "view ";

// Keys of a view section.
namespace view_key {
inline constexpr std::string_view kKind = "kind";  // table, histogram, scatter
inline constexpr std::string_view kX = "x";        // POS or POS.BIT
inline constexpr std::string_view kY = "y";
inline constexpr std::string_view kZ = "z";
inline constexpr std::string_view kXEdges = "x-edges";  // E0,E1,...,En; none: automatic
inline constexpr std::string_view kYEdges = "y-edges";
inline constexpr std::string_view kXBins = "x-bins";  // bins of automatic edges
inline constexpr std::string_view kYBins = "y-bins";
inline constexpr std::string_view kStat = "stat";           // mean, count, min, max, sd
inline constexpr std::string_view kWherePrefix = "where.";  // where.1=18.0=1
inline constexpr std::string_view kSettle = "settle";       // seconds
inline constexpr std::string_view kMinCount = "min-count";  // frames a cell needs
inline constexpr std::string_view kCentre = "centre";       // of a diverging colour scale
inline constexpr std::string_view kShare = "share";         // a histogram in shares: yes
inline constexpr std::string_view kSource = "source";       // log, cursors, live
inline constexpr std::string_view kOpen = "open";           // yes, no
}  // namespace view_key

// The most bins an axis may have: a view of more cells than that is no longer readable.
inline constexpr int kMaxViewBins = 200;

std::string_view AnalysisKindName(AnalysisKind kind);
std::optional<AnalysisKind> ParseAnalysisKind(std::string_view text);
std::string_view ViewSourceName(ViewSource source);

// The section name of a view, and the view name of a section ("view X" gives "X"); nullopt
// for a section that holds no view.
std::string ViewSectionName(std::string_view viewName);
std::optional<std::string> ViewNameOf(std::string_view sectionName);

// A name that the details file keeps as it is: blanks around it and control characters gone,
// inner runs of blanks made one, at most 60 characters; empty when nothing is left.
std::string CleanViewName(std::string_view name);
// `base` (cleaned), or "base 2", "base 3", ... when that is taken (letter case ignored).
std::string UniqueViewName(std::string_view base, const std::vector<std::string>& taken);

struct ViewParse {
    // Empty when the section cannot make a view (no kind or no X); the section is then kept
    // in the file untouched.
    std::optional<ViewDefinition> view;
    // What was left out or cannot be read, each naming the key; the rest of the view stands.
    std::vector<std::string> problems;
};

// Reads a "[view NAME]" section. Key names ignore letter case.
ViewParse ParseViewSection(const DetailsSection& section);
// The section that ParseViewSection reads back as the same view.
DetailsSection FormatViewSection(const ViewDefinition& view);

// Every view section of the details, in file order, each with what its reading found.
std::vector<ViewParse> ReadViews(const DetailsTable& details);
// Puts the view's section into the details: in the place of the section of `previousName`
// (a renamed view keeps its place), else of its own name, else at the end.
void PutView(DetailsTable& details, const ViewDefinition& view,
             std::optional<std::string_view> previousName = std::nullopt);
bool EraseView(DetailsTable& details, std::string_view name);

}  // namespace vekaton
