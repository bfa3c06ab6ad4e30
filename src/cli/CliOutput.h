#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vekaton {
struct DecoderMessage;
}

namespace vekaton::cli {

// A formula fault of the decoder on standard error: its text as the window shows it, then what
// went wrong and the details (position, description, formula, cause), indented.
void PrintDecoderMessage(std::ostream& err, const DecoderMessage& message);

// Why the output may not be written to `output`: it is one of `inputs`, perhaps by another
// spelling of its path or through a link. Nothing when it may ("" and "-" are standard output).
std::optional<std::string> OutputClash(const std::string& output,
                                       const std::vector<std::filesystem::path>& inputs);

}  // namespace vekaton::cli
