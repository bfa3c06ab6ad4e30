#include "cli/CliOutput.h"

#include "decode/Decoder.h"
#include "io/RecoveryLocation.h"
#include "set/OutputTargets.h"

namespace vekaton::cli {

namespace {

void PrintIndented(std::ostream& err, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        err << "  " << text.substr(start, stop - start) << '\n';
        start = stop + 1;
    }
}

}  // namespace

void PrintDecoderMessage(std::ostream& err, const DecoderMessage& message) {
    err << "vekaton-cli: " << message.text << '\n';
    PrintIndented(err, message.informative);
    PrintIndented(err, message.details);
}

std::optional<std::string> SetOutputProblem(const std::filesystem::path& setFolder,
                                            const SetNames& names,
                                            const std::vector<std::string>& outputs,
                                            const std::vector<std::filesystem::path>& inputs) {
    ProtectedFiles files;
    files.setFolder = setFolder;
    files.names = names;
    files.inputs = inputs;
    files.folders.emplace_back(RecoveryFolder().toStdString());
    return OutputTargetProblem(files, outputs);
}

}  // namespace vekaton::cli
