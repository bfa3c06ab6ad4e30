// `vekaton-cli decode`: a data log through the decoder, one CSV row per record.
#include <algorithm>
#include <climits>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "cli/CsvWriter.h"
#include "cli/HeadlessSet.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "engine/RecordPlayback.h"
#include "files/DataLog.h"

namespace vekaton::cli {

namespace {

// A large buffer keeps the writes few: a long log makes millions of short rows.
constexpr std::size_t kOutputBufferBytes = 1 << 20;

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
    const auto set = LoadHeadlessSet(options.dir, options.setName, err, options.force);
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
    const RecordLayout layout = RecordLayout::From(set->settings);
    DataLogReader log(std::filesystem::path(options.logPath), layout.Size());
    if (log.Error()) {
        err << "vekaton-cli: " << *log.Error() << '\n';
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

    FormulaFrontEnd formulas;
    Decoder decoder(*set->table, formulas);
    decoder.SetMessageHandler(
        [&err](const DecoderMessage& message) { PrintDecoderMessage(err, message); });
    CsvWriter csv(*sink, *set->table, false,
                  options.exact ? NumberPrecision::Exact : NumberPrecision::Significant);
    csv.WriteHeader();
    const int intervalMs = log.IntervalMs();
    long long frame = 0;
    for (auto record = log.Next(); !record.empty() && *sink; record = log.Next()) {
        ++frame;
        FeedRecord(decoder, record, layout, static_cast<int>(std::min<long long>(frame, INT_MAX)));
        // Whole milliseconds divided once: frame 4 at 110 ms reads 0.33, not 0.33000000000000002.
        const double seconds = static_cast<double>((frame - 1) * intervalMs) / 1000.0;
        csv.WriteFrame(frame, seconds, decoder);
    }
    sink->flush();
    if (!*sink) {
        err << "vekaton-cli: writing the CSV failed"
            << (options.outputPath.empty() ? std::string() : " (" + options.outputPath + ")")
            << '\n';
        return kExitFailed;
    }
    if (log.Error()) {
        err << "vekaton-cli: " << options.logPath << ": " << *log.Error() << '\n';
        return kExitFailed;
    }
    if (log.TrailingBytes() > 0) {
        err << "vekaton-cli: warning: " << options.logPath << " ends with a partial record of "
            << log.TrailingBytes() << " of " << layout.Size() << " bytes, which gave no row\n";
    }
    return 0;
}

}  // namespace vekaton::cli
