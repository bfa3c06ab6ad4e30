// `vekaton-cli decode`: a data log through the decoder, one CSV row per record.
#include <algorithm>
#include <climits>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "cli/CliSet.h"
#include "log/DataLogFile.h"
#include "log/LogCsvExport.h"
#include "log/RecordPlayback.h"

namespace vekaton::cli {

namespace {

// A large buffer keeps the writes few: a long log makes millions of short rows.
constexpr std::size_t kOutputBufferBytes = 1 << 20;
// Records read from the log at a time.
constexpr std::int64_t kRecordsPerStep = 4096;

}  // namespace

std::string ParseDecodeOptions(const std::vector<std::string>& args, DecodeOptions& options) {
    ArgumentReader reader(args);
    while (reader.Next()) {
        const std::string& name = reader.Name();
        if (name == "--dir") {
            options.dir = reader.Value().value_or("");
        } else if (name == "--set") {
            options.setName = reader.Value().value_or("");
        } else if (name == "-o" || name == "--output") {
            options.outputPath = reader.Value().value_or("");
        } else if (name == "--exact") {
            reader.NoValue();
            options.exact = true;
        } else if (name == "--force") {
            reader.NoValue();
            options.force = true;
        } else if (reader.IsOperand() && options.logPath.empty()) {
            options.logPath = name;
        } else {
            reader.FailUnknown();
        }
    }
    if (reader.Ok() && options.logPath.empty()) {
        return "decode needs a data log";
    }
    return reader.Error();
}

int RunDecode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    DecodeOptions options;
    if (const std::string error = ParseDecodeOptions(args, options); !error.empty()) {
        return UsageError(err, *FindSubcommand("decode"), error);
    }
    const auto set = OpenCliSet(options.dir, options.setName, err, options.force);
    if (!set) {
        return kExitFailed;
    }
    std::vector<std::filesystem::path> inputs = set->files;
    inputs.emplace_back(options.logPath);
    if (const auto clash = OutputClash(options.outputPath, inputs)) {
        err << "vekaton-cli: " << *clash << '\n';
        return kExitFailed;
    }
    // The record length the recorder writes in the set's link mode, from the one function that
    // the window's playback and viewer use too.
    const RecordLayout layout = RecordLayout::From(set->Settings());
    DataLogFile log;
    if (const auto error = log.Open(std::filesystem::path(options.logPath), layout.Size())) {
        err << "vekaton-cli: " << *error << '\n';
        return kExitFailed;
    }

    std::unique_ptr<char[]> buffer;
    std::ofstream file;
    std::ostream* sink = &out;
    if (!options.outputPath.empty() && options.outputPath != "-") {
        buffer = std::make_unique<char[]>(kOutputBufferBytes);
        file.rdbuf()->pubsetbuf(buffer.get(), static_cast<std::streamsize>(kOutputBufferBytes));
        file.open(options.outputPath, std::ios::binary | std::ios::trunc);
        if (!file) {
            err << "vekaton-cli: cannot write " << options.outputPath << '\n';
            return kExitFailed;
        }
        sink = &file;
    }

    // The same rows as the window's Export CSV, through the same code.
    LogCsvExport csv(log, layout, set->Table(), *sink,
                     options.exact ? NumberPrecision::Exact : NumberPrecision::Significant,
                     &set->Details());
    csv.SetMessageHandler(
        [&err](const DecoderMessage& message) { PrintDecoderMessage(err, message); });
    while (csv.Step(kRecordsPerStep)) {
    }
    sink->flush();
    if (!*sink) {
        err << "vekaton-cli: writing the CSV failed"
            << (options.outputPath.empty() ? std::string() : " (" + options.outputPath + ")")
            << '\n';
        return kExitFailed;
    }
    if (csv.ReadError()) {
        err << "vekaton-cli: " << options.logPath << ": " << *csv.ReadError() << '\n';
        return kExitFailed;
    }
    if (log.TrailingBytes() > 0) {
        err << "vekaton-cli: warning: " << options.logPath << " ends with a partial record of "
            << log.TrailingBytes() << " of " << layout.Size() << " bytes, which gave no row\n";
    }
    return 0;
}

}  // namespace vekaton::cli
