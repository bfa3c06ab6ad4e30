// Recovery manifest: any bytes must read without faults, what reads must write back to the same
// manifest, and any bytes as the folder or a file name (line feeds and "Folder=" included) must
// come back as exactly those bytes, never as a field of their own.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "set/RecoveryManifest.h"

namespace {

void CheckRoundTrip(const vekaton::RecoveryManifest& manifest) {
    const auto again = vekaton::ParseRecoveryManifest(vekaton::FormatRecoveryManifest(manifest));
    if (!again || !(*again == manifest)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto manifest = vekaton::ParseRecoveryManifest(text)) {
        CheckRoundTrip(*manifest);
    }
    if (text.empty()) {
        return 0;
    }
    vekaton::RecoveryManifest made;
    made.generation = 1 + static_cast<unsigned>(size);
    made.folder = std::string(text.substr(0, vekaton::RecoveryManifest::kMaxTextBytes));
    made.folderDevice = size;
    made.folderInode = static_cast<std::uint64_t>(data[0]) << 40;
    made.setName = std::string(text.substr(size / 2, 255));
    made.files.emplace_back(std::string(text.substr(0, 255)), size);
    made.files.emplace_back(std::string(text.substr(size / 3, 255)), 0);
    CheckRoundTrip(made);
    return 0;
}
