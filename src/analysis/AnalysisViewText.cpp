#include "analysis/AnalysisViewText.h"

#include <algorithm>
#include <charconv>

#include "analysis/AnalysisNumbers.h"
#include "common/AsciiCase.h"
#include "common/FloatText.h"

namespace vekaton {

namespace {

namespace key = view_key;

constexpr std::size_t kMaxNameLength = 60;

bool SameKey(std::string_view a, std::string_view b) {
    return EqualsNoCase(a, b);
}

std::optional<std::int64_t> ParseCount(std::string_view text) {
    text = TrimBlanks(text);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> ParseYesNo(std::string_view text) {
    text = TrimBlanks(text);
    for (const std::string_view yes : {"yes", "true", "1"}) {
        if (SameKey(text, yes)) {
            return true;
        }
    }
    for (const std::string_view no : {"no", "false", "0"}) {
        if (SameKey(text, no)) {
            return false;
        }
    }
    return std::nullopt;
}

std::optional<ViewSource> ParseSource(std::string_view text) {
    for (const ViewSource source : {ViewSource::Log, ViewSource::Cursors, ViewSource::Live}) {
        if (SameKey(TrimBlanks(text), ViewSourceName(source))) {
            return source;
        }
    }
    return std::nullopt;
}

// Reads the keys of one section into a view, noting what cannot be read.
class ViewReader {
  public:
    explicit ViewReader(ViewParse& parse) : parse_(parse) {}

    void Key(const std::string& name, const std::string& value, ViewDefinition& view) {
        AnalysisSetup& setup = view.setup;
        if (SameKey(name, key::kX) || SameKey(name, key::kY) || SameKey(name, key::kZ)) {
            const auto ref = ParseValueRef(value);
            if (!ref) {
                Problem(name, value, "is not a position (POS or POS.BIT)");
            } else if (SameKey(name, key::kX)) {
                setup.x = *ref;
                hasX_ = true;
            } else {
                (SameKey(name, key::kY) ? setup.y : setup.z) = *ref;
            }
        } else if (SameKey(name, key::kXEdges) || SameKey(name, key::kYEdges)) {
            if (TrimBlanks(value).empty()) {
                return;  // automatic
            }
            EdgeListParse edges = ParseEdgeList(value);
            if (!edges.edges) {
                Problem(name, value, edges.error);
            } else {
                (SameKey(name, key::kXEdges) ? setup.xEdges : setup.yEdges) = edges.edges;
            }
        } else if (SameKey(name, key::kXBins) || SameKey(name, key::kYBins)) {
            const auto bins = ParseCount(value);
            if (!bins || *bins < 1 || *bins > kMaxViewBins) {
                Problem(name, value,
                        "is not a number of bins from 1 to " + std::to_string(kMaxViewBins));
            } else {
                (SameKey(name, key::kXBins) ? setup.xBins : setup.yBins) = static_cast<int>(*bins);
            }
        } else if (SameKey(name, key::kStat)) {
            const auto statistic = ParseStatistic(TrimBlanks(value));
            statistic ? void(setup.statistic = *statistic)
                      : Problem(name, value, "is not mean, count, min, max or sd");
        } else if (name.size() > key::kWherePrefix.size() &&
                   StartsWithNoCase(name, key::kWherePrefix)) {
            ConditionParse condition = ParseCondition(value);
            condition.condition ? setup.conditions.push_back(*condition.condition)
                                : Problem(name, value, condition.error);
        } else if (SameKey(name, key::kSettle)) {
            const auto seconds = ParseFiniteNumber(value);
            if (seconds && *seconds >= 0.0) {
                setup.settleSeconds = *seconds;
            } else {
                Problem(name, value, "is not a number of seconds, 0 or more");
            }
        } else if (SameKey(name, key::kMinCount)) {
            const auto count = ParseCount(value);
            if (count && *count >= 1) {
                setup.minCount = *count;
            } else {
                Problem(name, value, "is not a whole number, 1 or more");
            }
        } else if (SameKey(name, key::kCentre)) {
            if (TrimBlanks(value).empty()) {
                return;
            }
            const auto centre = ParseFiniteNumber(value);
            centre ? void(view.centre = *centre) : Problem(name, value, "is not a number");
        } else if (SameKey(name, key::kShare)) {
            const auto share = ParseYesNo(value);
            share ? void(setup.share = *share) : Problem(name, value, "is not yes or no");
        } else if (SameKey(name, key::kSource)) {
            const auto source = ParseSource(value);
            source ? void(view.source = *source)
                   : Problem(name, value, "is not log, cursors or live");
        } else if (SameKey(name, key::kOpen)) {
            const auto open = ParseYesNo(value);
            open ? void(view.open = *open) : Problem(name, value, "is not yes or no");
        } else {
            view.unknownKeys.emplace_back(name, value);
        }
    }

    bool HasX() const { return hasX_; }
    void Problem(std::string_view name, std::string_view value, const std::string& why) {
        parse_.problems.push_back(std::string(name) + "=" + std::string(value) + ": " + why);
    }

  private:
    ViewParse& parse_;
    bool hasX_ = false;
};

void Put(DetailsSection& section, std::string_view name, std::string value) {
    section.keys.emplace_back(std::string(name), std::move(value));
}

}  // namespace

std::string_view AnalysisKindName(AnalysisKind kind) {
    switch (kind) {
        case AnalysisKind::Table:
            return "table";
        case AnalysisKind::Histogram:
            return "histogram";
        case AnalysisKind::Scatter:
            return "scatter";
    }
    return "table";
}

std::optional<AnalysisKind> ParseAnalysisKind(std::string_view text) {
    for (const AnalysisKind kind :
         {AnalysisKind::Table, AnalysisKind::Histogram, AnalysisKind::Scatter}) {
        if (SameKey(TrimBlanks(text), AnalysisKindName(kind))) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string_view ViewSourceName(ViewSource source) {
    switch (source) {
        case ViewSource::Log:
            return "log";
        case ViewSource::Cursors:
            return "cursors";
        case ViewSource::Live:
            return "live";
    }
    return "log";
}

std::string ViewSectionName(std::string_view viewName) {
    return std::string(kViewSectionPrefix) + std::string(viewName);
}

std::optional<std::string> ViewNameOf(std::string_view sectionName) {
    // The prefix exactly as written, so that the name reads back to the same section.
    if (!sectionName.starts_with(kViewSectionPrefix)) {
        return std::nullopt;
    }
    const std::string_view name = TrimBlanks(sectionName.substr(kViewSectionPrefix.size()));
    if (name.empty()) {
        return std::nullopt;
    }
    return std::string(name);
}

std::string CleanViewName(std::string_view name) {
    std::string clean;
    bool blank = false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == ' ') {
            blank = true;  // a control character counts as a blank between words
            continue;
        }
        if (blank && !clean.empty()) {
            clean.push_back(' ');
        }
        blank = false;
        clean.push_back(c);
    }
    if (clean.size() > kMaxNameLength) {
        // Cut on a character boundary: never inside a UTF-8 sequence.
        std::size_t cut = kMaxNameLength;
        while (cut > 0 && (static_cast<unsigned char>(clean[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        clean.resize(cut);
        while (!clean.empty() && clean.back() == ' ') {
            clean.pop_back();
        }
    }
    return clean;
}

std::string UniqueViewName(std::string_view base, const std::vector<std::string>& taken) {
    std::string clean = CleanViewName(base);
    if (clean.empty()) {
        clean = "View";
    }
    const auto isTaken = [&taken](const std::string& name) {
        return std::any_of(taken.begin(), taken.end(),
                           [&name](const std::string& other) { return EqualsNoCase(other, name); });
    };
    std::string name = clean;
    for (int n = 2; isTaken(name); ++n) {
        name = clean + " " + std::to_string(n);
    }
    return name;
}

ViewParse ParseViewSection(const DetailsSection& section) {
    ViewParse parse;
    ViewDefinition view;
    view.name = ViewNameOf(section.name).value_or(std::string());
    view.setup.xBins = view.setup.yBins = AnalysisSetup::kDefaultBins;
    ViewReader reader(parse);
    std::optional<AnalysisKind> kind;
    for (const auto& [name, value] : section.keys) {
        if (SameKey(name, key::kKind)) {
            kind = ParseAnalysisKind(value);
            if (!kind) {
                reader.Problem(name, value, "is not table, histogram or scatter");
            }
            continue;
        }
        reader.Key(name, value, view);
    }
    if (view.name.empty()) {
        parse.problems.emplace_back("the section names no view");
        return parse;
    }
    if (!kind) {
        parse.problems.emplace_back("kind is missing");
        return parse;
    }
    if (!reader.HasX()) {
        parse.problems.emplace_back("x is missing");
        return parse;
    }
    // Typed edges make the bins; their count is what the bins were when the edges are cleared.
    const auto hasKey = [&section](std::string_view wanted) {
        return std::any_of(section.keys.begin(), section.keys.end(),
                           [wanted](const auto& entry) { return SameKey(entry.first, wanted); });
    };
    if (view.setup.xEdges && !hasKey(key::kXBins)) {
        view.setup.xBins = std::min(view.setup.xEdges->Count(), kMaxViewBins);
    }
    if (view.setup.yEdges && !hasKey(key::kYBins)) {
        view.setup.yBins = std::min(view.setup.yEdges->Count(), kMaxViewBins);
    }
    view.setup.kind = *kind;
    parse.view = std::move(view);
    return parse;
}

DetailsSection FormatViewSection(const ViewDefinition& view) {
    const AnalysisSetup& setup = view.setup;
    DetailsSection section;
    section.name = ViewSectionName(view.name);
    Put(section, key::kKind, std::string(AnalysisKindName(setup.kind)));
    Put(section, key::kX, ValueRefText(setup.x));
    if (setup.y) {
        Put(section, key::kY, ValueRefText(*setup.y));
    }
    if (setup.z) {
        Put(section, key::kZ, ValueRefText(*setup.z));
    }
    if (setup.xEdges) {
        Put(section, key::kXEdges, EdgeListText(*setup.xEdges));
    } else {
        Put(section, key::kXBins, std::to_string(setup.xBins));
    }
    if (setup.kind != AnalysisKind::Histogram) {
        if (setup.yEdges) {
            Put(section, key::kYEdges, EdgeListText(*setup.yEdges));
        } else {
            Put(section, key::kYBins, std::to_string(setup.yBins));
        }
    }
    Put(section, key::kStat, std::string(StatisticName(setup.statistic)));
    for (std::size_t i = 0; i < setup.conditions.size(); ++i) {
        Put(section, std::string(key::kWherePrefix) + std::to_string(i + 1),
            ConditionText(setup.conditions[i]));
    }
    if (setup.settleSeconds > 0.0) {
        Put(section, key::kSettle, ShortestFloatText(setup.settleSeconds));
    }
    Put(section, key::kMinCount, std::to_string(setup.minCount));
    if (view.centre) {
        Put(section, key::kCentre, ShortestFloatText(*view.centre));
    }
    if (setup.share) {
        Put(section, key::kShare, "yes");
    }
    Put(section, key::kSource, std::string(ViewSourceName(view.source)));
    Put(section, key::kOpen, view.open ? "yes" : "no");
    for (const auto& [name, value] : view.unknownKeys) {
        Put(section, name, value);
    }
    return section;
}

std::vector<ViewParse> ReadViews(const DetailsTable& details) {
    std::vector<ViewParse> views;
    for (const DetailsSection& section : details.Sections()) {
        if (ViewNameOf(section.name)) {
            views.push_back(ParseViewSection(section));
            if (!views.back().view) {
                // Name the section, so the user can find what was not opened.
                for (std::string& problem : views.back().problems) {
                    problem = "[" + section.name + "]: " + problem;
                }
            }
        }
    }
    return views;
}

void PutView(DetailsTable& details, const ViewDefinition& view,
             std::optional<std::string_view> previousName) {
    DetailsSection section = FormatViewSection(view);
    const std::string previous = ViewSectionName(previousName.value_or(view.name));
    if (previous != section.name) {
        details.EraseSection(section.name);  // names are unique: never two sections of one name
    }
    if (details.FindSection(previous) != nullptr) {
        details.SectionAt(previous) = std::move(section);
        return;
    }
    details.SectionAt(section.name) = std::move(section);
}

bool EraseView(DetailsTable& details, std::string_view name) {
    return details.EraseSection(ViewSectionName(name));
}

}  // namespace vekaton
