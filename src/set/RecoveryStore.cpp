#include "set/RecoveryStore.h"

#include <system_error>

#include "common/AsciiCase.h"
#include "common/MessageText.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "platform/Files.h"
#include "set/DamagedFileGuard.h"
#include "set/DashboardFiles.h"
#include "set/LeftoverFiles.h"
#include "set/RecoveryManifest.h"
#include "set/SaveJournal.h"
#include "set/SetFileReader.h"

namespace vekaton {

namespace {

constexpr std::string_view kManifestName = "manifest";
constexpr std::string_view kDataExtension = ".data";
constexpr std::size_t kMaxManifestBytes = 64 * 1024;

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
    return std::to_string(generation) + "-" + std::to_string(index) + std::string(kDataExtension);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// The device and inode of a folder, following links; nothing when it is no folder.
std::optional<FolderIdentity> IdentityOf(const std::string& folder) {
    const auto identity = platform::IdentityOfPath(folder);
    if (!identity || identity->kind != FileKind::Folder) {
        return std::nullopt;
    }
    return FolderIdentity{identity->device, identity->file};
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
        if (const auto text = ReadWholeFile(folder_ / kManifestName)) {
            if (const auto earlier = ParseRecoveryManifest(*text)) {
                generation_ = earlier->generation;
            }
        }
    }
    RecoveryManifest manifest;
    manifest.generation = ++generation_;
    manifest.folder = snapshot.setFolder;
    manifest.setName = snapshot.setName;
    const std::optional<FolderIdentity> identity = IdentityOf(snapshot.setFolder);
    if (!identity || !std::filesystem::path(snapshot.setFolder).is_absolute()) {
        return "the set's folder \"" + snapshot.setFolder + "\" cannot be found";
    }
    if (snapshot.setFolder.size() > RecoveryManifest::kMaxTextBytes ||
        snapshot.setName.size() > RecoveryManifest::kMaxTextBytes ||
        snapshot.files.size() > RecoveryManifest::kMaxFiles) {
        return "the set's folder or name is too long to keep recovery copies of it";
    }
    manifest.folderDevice = identity->device;
    manifest.folderInode = identity->inode;
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
        if (auto error =
                WriteFileAtomically(folder_ / DataName(manifest.generation, i), contents)) {
            return error;
        }
        manifest.files.emplace_back(name, contents.size());
    }
    if (auto error =
            WriteFileAtomically(folder_ / kManifestName, FormatRecoveryManifest(manifest))) {
        return error;
    }
    // Older generations are no longer named by the manifest.
    const std::string current = std::to_string(manifest.generation) + "-";
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        if (EndsWithNoCase(name, kDataExtension) && !StartsWith(name, current)) {
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
    const auto text = ReadWholeFile(manifestPath, &error);
    if (!text) {
        return fail("the recovery manifest could not be read: " + error);
    }
    std::string why;
    const std::optional<RecoveryManifest> manifest = ParseRecoveryManifest(*text, &why);
    if (!manifest) {
        return fail("the recovery manifest is damaged: " + why);
    }
    // Copies go back only into the very folder they were made for.
    const std::optional<FolderIdentity> identity = IdentityOf(manifest->folder);
    if (!std::filesystem::path(manifest->folder).is_absolute() || !identity ||
        identity->device != manifest->folderDevice || identity->inode != manifest->folderInode) {
        return fail("they were made for the folder \"" + QuoteText(manifest->folder) +
                    "\", which is no longer that folder");
    }
    RecoverySnapshot snapshot;
    snapshot.setFolder = manifest->folder;
    snapshot.setName = manifest->setName;
    for (const auto& [name, size] : manifest->files) {
        if (!IsPlainFileName(name) || size > kMaxFileBytes) {
            return fail("the recovery manifest is damaged: it names a file it may not");
        }
        const auto dataPath = folder_ / DataName(manifest->generation, snapshot.files.size());
        if (!std::filesystem::is_regular_file(dataPath, ec) ||
            std::filesystem::file_size(dataPath, ec) != size) {
            return fail("a recovery copy is missing or incomplete");
        }
        auto contents = ReadWholeFile(dataPath, &error);
        if (!contents || contents->size() != size) {
            return fail("a recovery copy could not be read");
        }
        snapshot.files.emplace_back(name, std::move(*contents));
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
        if (EndsWithNoCase(entry.path().filename().string(), kDataExtension)) {
            std::filesystem::remove(entry.path(), ec);
        }
    }
}

std::vector<std::filesystem::path> RecoveryStore::RemoveLeftovers() {
    return RemoveLeftoverTemporaryFiles(folder_, [](std::string_view target) {
        return target == kManifestName || EndsWithNoCase(target, kDataExtension);
    });
}

std::vector<std::string> RestoreSnapshot(const RecoverySnapshot& snapshot) {
    std::vector<std::string> errors;
    DamagedFileGuard guard;
    const std::filesystem::path folder(snapshot.setFolder);
    // A save there cut short is undone first, so the copies go into a whole set.
    if (SaveJournal::Undone undone = SaveJournal::UndoUnfinished(folder); undone.failed) {
        errors.push_back(std::move(undone.message));
        return errors;
    }
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
        if (!error) {
            // A file is back only when it reads back as kept (a folder that lies about its
            // writes, a file replaced meanwhile).
            std::string why;
            const auto back = ReadWholeFile(ResolveSetFile(folder, name), contents.size(), &why);
            if (!back || *back != contents) {
                error = "\"" + QuotePath(std::filesystem::path(name)) +
                        "\" was written but does not read back as kept" +
                        (why.empty() ? std::string() : ": it " + why);
            }
        }
        if (error) {
            errors.push_back(*error);
        }
    }
    return errors;
}

}  // namespace vekaton
