// `vekaton-cli table`, `histogram` and `scatter`: an analysis of a data log, as text.
#include <iostream>

#include "analysis/AnalysisText.h"
#include "analysis/AnalysisViewText.h"
#include "analysis/LogAnalysis.h"
#include "cli/AnalysisOptions.h"
#include "cli/AnalysisSet.h"
#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "files/SafeFile.h"
#include "log/DataLogFile.h"
#include "log/LogScan.h"

namespace vekaton::cli {

namespace {

// Every position the options name that the set cannot give, each named by its option.
std::vector<std::string> UnknownPositions(const AnalysisOptions& options, const AnalysisSet& set) {
    const AnalysisSetup& setup = options.setup;
    std::vector<std::pair<std::string, ValueRef>> named{{"--x", setup.x}};
    if (setup.kind != AnalysisKind::Histogram) {
        named.emplace_back("--y", setup.y.value_or(ValueRef{}));
        if (setup.z) {
            named.emplace_back("--z", *setup.z);
        }
    }
    for (std::size_t i = 0; i < setup.conditions.size(); ++i) {
        named.emplace_back("--where '" + options.whereTexts[i] + "'", setup.conditions[i].ref);
    }
    std::vector<std::string> problems;
    for (const auto& [option, ref] : named) {
        if (const auto reason = UnknownValueReason(*set.table, ref, set.layout.dataBytes)) {
            problems.push_back("unknown position in " + option + ": " + *reason);
        }
    }
    return problems;
}

void PrintSummary(std::ostream& err, std::string_view command, const FrameTally& tally) {
    err << "vekaton-cli " << command << ": " << tally.read << " frames read, " << tally.used
        << " used; left out: " << tally.badChecksum << " by checksum, " << tally.filtered
        << " by filter, " << tally.settling << " by settling, " << tally.outOfRange
        << " out of range\n";
}

void PrintAutomaticEdges(std::ostream& err, std::string_view command, const AnalysisSetup& setup,
                         const CellGrid& grid) {
    const auto print = [&](const char* axis, const BinEdges& edges) {
        err << "vekaton-cli " << command << ": automatic " << axis << " edges ";
        if (edges.Empty()) {
            err << "(none: no frame was used)";
        }
        // As the output writes them, so that the list can be given back with --x-edges.
        for (std::size_t i = 0; i < edges.Values().size(); ++i) {
            err << (i > 0 ? "," : "")
                << TableNumberText(edges.Values()[i], NumberPrecision::Significant);
        }
        err << '\n';
    };
    if (!setup.xEdges) {
        print("X", grid.XEdges());
    }
    if (setup.kind != AnalysisKind::Histogram && !setup.yEdges && grid.YEdges()) {
        print("Y", *grid.YEdges());
    }
}

int Run(AnalysisKind kind, const std::vector<std::string>& args, std::ostream& out,
        std::ostream& err) {
    const std::string_view command = AnalysisKindName(kind);
    AnalysisOptions options;
    if (const std::string error = ParseAnalysisOptions(kind, args, options); !error.empty()) {
        return UsageError(err, *FindSubcommand(command), error);
    }
    const auto set = LoadAnalysisSet(options.dir, options.setName, err);
    if (!set) {
        return kExitFailed;
    }
    if (const auto problems = UnknownPositions(options, *set); !problems.empty()) {
        for (std::size_t i = 0; i + 1 < problems.size(); ++i) {
            err << "vekaton-cli " << command << ": " << problems[i] << '\n';
        }
        return UsageError(err, *FindSubcommand(command), problems.back());
    }
    std::vector<std::filesystem::path> inputs = set->files;
    inputs.emplace_back(options.logPath);
    if (const auto problem =
            SetOutputProblem(set->folder, set->names, {options.outputPath}, inputs)) {
        err << "vekaton-cli: " << *problem << '\n';
        return kExitUsage;
    }
    DataLogFile log;
    if (const auto error = log.Open(std::filesystem::path(options.logPath), set->layout.Size())) {
        err << "vekaton-cli: " << *error << '\n';
        return kExitFailed;
    }
    if (log.IntervalMs() == 0 && options.setup.settleSeconds > 0) {
        err << "vekaton-cli: warning: " << options.logPath
            << " was recorded with an interval of 0 ms, so every frame has the time 0 and no "
               "frame can settle\n";
    }

    LogAnalysis analysis(log, set->layout, *set->table, set->details.get(), options.setup);
    analysis.SetMessageHandler(
        [&err](const DecoderMessage& message) { PrintDecoderMessage(err, message); });
    if (!analysis.Run()) {
        err << "vekaton-cli: " << options.logPath << ": "
            << analysis.Error().value_or("the log could not be read") << '\n';
        return kExitFailed;
    }
    const FrameAccumulator& result = *analysis.Result();
    const std::string text = AnalysisText(result);
    if (options.outputPath.empty() || options.outputPath == "-") {
        out << text << std::flush;
        if (!out) {
            err << "vekaton-cli: writing the " << command << " failed\n";
            return kExitFailed;
        }
    } else if (const auto error = WriteFileAtomically(options.outputPath, text)) {
        // Written whole or not at all: a failed run never leaves a partial file.
        err << "vekaton-cli: " << *error << '\n';
        return kExitFailed;
    }
    if (log.TrailingBytes() > 0) {
        err << "vekaton-cli: warning: " << options.logPath << " ends with a partial record of "
            << log.TrailingBytes() << " of " << set->layout.Size()
            << " bytes, which was not read\n";
    }
    PrintAutomaticEdges(err, command, options.setup, result.Grid());
    PrintSummary(err, command, result.Tally());
    if (const auto warning = LogFitWarning(0, set->layout.Size(), result.Tally().read,
                                           result.Tally().badChecksum, set->layout.useCheckSum)) {
        err << "vekaton-cli: warning: " << *warning << '\n';
    }
    return 0;
}

}  // namespace

int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Run(AnalysisKind::Table, args, out, err);
}

int RunHistogram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Run(AnalysisKind::Histogram, args, out, err);
}

int RunScatter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Run(AnalysisKind::Scatter, args, out, err);
}

}  // namespace vekaton::cli
