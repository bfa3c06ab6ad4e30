#include "set/RecoveryStore.h"

#include <charconv>
#include <system_error>

#include "common/AsciiCase.h"
#include "common/TextLines.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "set/DamagedFileGuard.h"
#include "set/DashboardFiles.h"
#include "set/SetFileReader.h"

namespace vekaton {

namespace {

constexpr std::string_view kManifestName = "manifest";
constexpr std::string_view kMagic = "Vekaton recovery 1";
constexpr std::string_view kFolderKey = "Folder=";
constexpr std::string_view kSetKey = "Set=";
constexpr std::string_view kFileKey = "File=";
constexpr std::string_view kGenerationKey = "Generation=";
constexpr std::size_t kMaxManifestBytes = 64 * 1024;
constexpr std::size_t kMaxFiles = 16;

// A name that stays inside the folder it is joined to.
bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 255) {
        return false;
    }
    for (const char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    return true;
}

std::string DataName(unsigned generation, std::size_t index) {
    return std::to_string(generation) + "-" + std::to_string(index) + ".data";
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

template <class T>
bool ParseNumber(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

}  // namespace

RecoveryStore::RecoveryStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::optional<std::string> RecoveryStore::Save(const RecoverySnapshot& snapshot) {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (ec) {
        return "Could not make the recovery folder \"" + folder_.string() + "\": " + ec.message();
    }
    if (generation_ == 0) {
        // Carry on from whatever an earlier run left, so a new generation never reuses a name
        // the current manifest points at.
        if (const auto manifest = ReadWholeFile(folder_ / kManifestName)) {
            for (const std::string& line : SplitLinesAtLf(*manifest)) {
                unsigned value = 0;
                if (StartsWith(line, kGenerationKey) &&
                    ParseNumber(std::string_view(line).substr(kGenerationKey.size()), value)) {
                    generation_ = value;
                }
            }
        }
    }
    const unsigned generation = ++generation_;
    std::string manifest;
    manifest += kMagic;
    manifest += "\r\n";
    manifest += kGenerationKey;
    manifest += std::to_string(generation) + "\r\n";
    manifest += kFolderKey;
    manifest += snapshot.setFolder + "\r\n";
    manifest += kSetKey;
    manifest += snapshot.setName + "\r\n";
    for (std::size_t i = 0; i < snapshot.files.size(); ++i) {
        const auto& [name, contents] = snapshot.files[i];
        if (!IsPlainFileName(name)) {
            return "\"" + name + "\" cannot be kept as a recovery copy";
        }
        if (contents.size() > kMaxFileBytes) {
            // Load would refuse it and take the other copies down with it.
            return "\"" + name + "\" is larger than a recovery copy may be (" +
                   std::to_string(kMaxFileBytes >> 20) + " MB)";
        }
        if (auto error = WriteFileAtomically(folder_ / DataName(generation, i), contents)) {
            return error;
        }
        manifest += kFileKey;
        manifest += std::to_string(contents.size()) + "," + name + "\r\n";
    }
    if (auto error = WriteFileAtomically(folder_ / kManifestName, manifest)) {
        return error;
    }
    // Older generations are no longer named by the manifest.
    const std::string current = std::to_string(generation) + "-";
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        if (EndsWithNoCase(name, ".data") && !StartsWith(name, current)) {
            std::filesystem::remove(entry.path(), ec);
        }
    }
    return std::nullopt;
}

std::optional<RecoverySnapshot> RecoveryStore::Load(std::string* problem) const {
    const auto fail = [problem](std::string why) -> std::optional<RecoverySnapshot> {
        if (problem != nullptr) {
            *problem = std::move(why);
        }
        return std::nullopt;
    };
    if (problem != nullptr) {
        problem->clear();
    }
    std::error_code ec;
    const auto manifestPath = folder_ / kManifestName;
    if (!std::filesystem::is_regular_file(manifestPath, ec)) {
        return std::nullopt;
    }
    if (std::filesystem::file_size(manifestPath, ec) > kMaxManifestBytes || ec) {
        return fail("the recovery manifest is damaged");
    }
    std::string error;
    const auto manifest = ReadWholeFile(manifestPath, &error);
    if (!manifest) {
        return fail("the recovery manifest could not be read: " + error);
    }
    const std::vector<std::string> lines = SplitLinesAtLf(*manifest);
    if (lines.empty() || lines[0] != kMagic) {
        return fail("the recovery manifest is damaged");
    }
    RecoverySnapshot snapshot;
    unsigned generation = 0;
    bool haveGeneration = false;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        if (StartsWith(line, kGenerationKey)) {
            haveGeneration = ParseNumber(line.substr(kGenerationKey.size()), generation);
        } else if (StartsWith(line, kFolderKey)) {
            snapshot.setFolder = line.substr(kFolderKey.size());
        } else if (StartsWith(line, kSetKey)) {
            snapshot.setName = line.substr(kSetKey.size());
        } else if (StartsWith(line, kFileKey)) {
            const std::string_view rest = line.substr(kFileKey.size());
            const std::size_t comma = rest.find(',');
            std::uintmax_t size = 0;
            if (!haveGeneration || comma == std::string_view::npos ||
                !ParseNumber(rest.substr(0, comma), size) || size > kMaxFileBytes ||
                !IsPlainFileName(rest.substr(comma + 1)) || snapshot.files.size() >= kMaxFiles) {
                return fail("the recovery manifest is damaged");
            }
            const auto dataPath = folder_ / DataName(generation, snapshot.files.size());
            if (!std::filesystem::is_regular_file(dataPath, ec) ||
                std::filesystem::file_size(dataPath, ec) != size) {
                return fail("a recovery copy is missing or incomplete");
            }
            auto contents = ReadWholeFile(dataPath, &error);
            if (!contents || contents->size() != size) {
                return fail("a recovery copy could not be read");
            }
            snapshot.files.emplace_back(std::string(rest.substr(comma + 1)), std::move(*contents));
        }
    }
    if (!haveGeneration || snapshot.setFolder.empty()) {
        return fail("the recovery manifest is damaged");
    }
    return snapshot;
}

bool RecoveryStore::HasSnapshot() const {
    std::error_code ec;
    return std::filesystem::exists(folder_ / kManifestName, ec);
}

void RecoveryStore::Discard() {
    std::error_code ec;
    // The manifest goes first: without it the data files are never taken for a snapshot.
    std::filesystem::remove(folder_ / kManifestName, ec);
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
        if (EndsWithNoCase(entry.path().filename().string(), ".data")) {
            std::filesystem::remove(entry.path(), ec);
        }
    }
}

std::vector<std::string> RestoreSnapshot(const RecoverySnapshot& snapshot) {
    std::vector<std::string> errors;
    DamagedFileGuard guard;
    const std::filesystem::path folder(snapshot.setFolder);
    for (const auto& [name, contents] : snapshot.files) {
        std::optional<std::string> error;
        if (EndsWithNoCase(name, ".dsf")) {
            error = SaveWithBackup(folder, name, kLayoutBackupSuffix, contents, guard);
        } else if (EndsWithNoCase(name, ".gau")) {
            error = SaveWithBackup(folder, name, kGaugeListBackupSuffix, contents, guard);
        } else {
            const std::filesystem::path path = ResolveSetFile(folder, name);
            error = SaveSizeProblem(path, contents.size());
            if (!error) {
                error = WriteFileAtomically(path, contents);
            }
        }
        if (error) {
            errors.push_back(*error);
        }
    }
    return errors;
}

}  // namespace vekaton
