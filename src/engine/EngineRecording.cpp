// The engine's recording command. Acquisition is never held up for it: the user may take as
// long as they like to name the log, and the recorder starts with the next whole frame.
#include <string>

#include "engine/Engine.h"

namespace vekaton {

std::optional<std::string> Engine::StartRecording(const std::filesystem::path& path) {
    return recorder_.Start(path, settings_.sampleRate);
}

}  // namespace vekaton
