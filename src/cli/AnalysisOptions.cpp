#include "cli/AnalysisOptions.h"

#include <climits>
#include <optional>

#include "analysis/AnalysisViewText.h"
#include "cli/CliArguments.h"

namespace vekaton::cli {

namespace {

// Bins of automatic edges on one axis: more are no longer a summary of the log.
constexpr int kMaxBins = 10000;

// Options that a kind does not take are unknown to it, so a histogram's --y is a mistake.
bool TakesY(AnalysisKind kind) {
    return kind != AnalysisKind::Histogram;
}

class OptionReader {
  public:
    OptionReader(AnalysisKind kind, const std::vector<std::string>& args, AnalysisOptions& options)
        : kind_(kind), reader_(args), options_(options) {}

    std::string Read() {
        while (reader_.Next()) {
            ReadOne();
        }
        if (reader_.Ok()) {
            CheckComplete();
        }
        return reader_.Error();
    }

  private:
    void ReadOne() {
        const std::string name = reader_.Name();
        AnalysisSetup& setup = options_.setup;
        if (name == "--dir") {
            Once(name, dirSeen_);
            options_.dir = reader_.Value().value_or("");
        } else if (name == "--set") {
            options_.setName = reader_.Value().value_or("");
        } else if (name == "-o" || name == "--output") {
            options_.outputPath = reader_.Value().value_or("");
        } else if (name == "--x") {
            Position(name, setup.x, xSeen_);
        } else if (name == "--y" && TakesY(kind_)) {
            setup.y = ValueRef{};
            Position(name, *setup.y, ySeen_);
        } else if (name == "--z" && TakesY(kind_)) {
            setup.z = ValueRef{};
            Position(name, *setup.z, zSeen_);
        } else if (name == "--x-edges") {
            Edges(name, setup.xEdges);
        } else if (name == "--y-edges" && TakesY(kind_)) {
            Edges(name, setup.yEdges);
        } else if (name == "--x-bins") {
            setup.xBins = reader_.IntValue(1, kMaxBins).value_or(setup.xBins);
        } else if (name == "--y-bins" && TakesY(kind_)) {
            setup.yBins = reader_.IntValue(1, kMaxBins).value_or(setup.yBins);
        } else if (name == "--stat" && TakesY(kind_)) {
            const auto text = reader_.Value();
            const auto statistic = text ? ParseStatistic(*text) : std::nullopt;
            if (text && !statistic) {
                reader_.Fail("--stat '" + *text + "': expected mean, count, min, max or sd");
            }
            setup.statistic = statistic.value_or(setup.statistic);
        } else if (name == "--where") {
            const auto text = reader_.Value();
            if (!text) {
                return;
            }
            ConditionParse parsed = ParseCondition(*text);
            if (!parsed.condition) {
                reader_.Fail("--where: " + parsed.error);
                return;
            }
            setup.conditions.push_back(*parsed.condition);
            options_.whereTexts.push_back(*text);
        } else if (name == "--settle") {
            setup.settleSeconds = reader_.SecondsValue().value_or(0.0);
        } else if (name == "--min-count") {
            setup.minCount = reader_.IntValue(0, INT_MAX).value_or(1);
        } else if (name == "--share" && kind_ == AnalysisKind::Histogram) {
            reader_.NoValue();
            setup.share = true;
        } else if (reader_.IsOperand() && options_.logPath.empty()) {
            options_.logPath = name;
        } else {
            reader_.FailUnknown();
        }
    }

    void Once(const std::string& name, bool& seen) {
        if (seen) {
            reader_.Fail(name + " is given twice");
        }
        seen = true;
    }

    void Position(const std::string& name, ValueRef& ref, bool& seen) {
        Once(name, seen);
        const auto text = reader_.Value();
        if (!text) {
            return;
        }
        const auto parsed = ParseValueRef(*text);
        if (!parsed) {
            reader_.Fail(name + " '" + *text +
                         "': expected a position (1 to 500) or POS.BIT (bit 0 to 7)");
            return;
        }
        ref = *parsed;
    }

    void Edges(const std::string& name, std::optional<BinEdges>& edges) {
        if (edges) {
            reader_.Fail(name + " is given twice");
            return;
        }
        const auto text = reader_.Value();
        if (!text) {
            return;
        }
        EdgeListParse parsed = ParseEdgeList(*text);
        if (!parsed.edges) {
            reader_.Fail(name + ": " + parsed.error);
            return;
        }
        edges = std::move(parsed.edges);
    }

    void CheckComplete() {
        std::string missing;
        const auto need = [&missing](bool seen, const char* option) {
            if (!seen) {
                missing += missing.empty() ? "" : ", ";
                missing += option;
            }
        };
        need(xSeen_, "--x POS");
        if (TakesY(kind_)) {
            need(ySeen_, "--y POS");
        }
        if (kind_ == AnalysisKind::Table) {
            need(zSeen_, "--z POS");
        }
        need(dirSeen_, "--dir DIR");
        need(!options_.logPath.empty(), "LOG");
        if (!missing.empty()) {
            reader_.Fail(std::string(AnalysisKindName(kind_)) + " needs " + missing);
        }
    }

    AnalysisKind kind_;
    ArgumentReader reader_;
    AnalysisOptions& options_;
    bool dirSeen_ = false;
    bool xSeen_ = false;
    bool ySeen_ = false;
    bool zSeen_ = false;
};

}  // namespace

std::string ParseAnalysisOptions(AnalysisKind kind, const std::vector<std::string>& args,
                                 AnalysisOptions& options) {
    options.setup.kind = kind;
    return OptionReader(kind, args, options).Read();
}

}  // namespace vekaton::cli
