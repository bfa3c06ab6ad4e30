#include "cli/CliOutput.h"

#include <system_error>

#include "decode/Decoder.h"

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

std::optional<std::string> OutputClash(const std::string& output,
                                       const std::vector<std::filesystem::path>& inputs) {
    if (output.empty() || output == "-") {
        return std::nullopt;
    }
    for (const std::filesystem::path& input : inputs) {
        std::error_code ec;
        // Both must exist to be the same file; equivalent() sees through links and spellings.
        if (std::filesystem::equivalent(output, input, ec) && !ec) {
            return "the output " + output + " is " + input.string() +
                   ", which this run reads; choose another output file";
        }
    }
    return std::nullopt;
}

}  // namespace vekaton::cli
