#include "set/DamagedFileGuard.h"

#include <system_error>

#include "common/MessageText.h"
#include "files/SafeFile.h"

namespace vekaton {

std::filesystem::path DamagedFileGuard::BackupPath(const std::filesystem::path& file) {
    std::filesystem::path backup = file;
    backup += ".bad";
    return backup;
}

std::filesystem::path DamagedFileGuard::Key(const std::filesystem::path& file) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    return (ec ? file : absolute).lexically_normal();
}

std::string DamagedFileGuard::NoteDamaged(const std::filesystem::path& file) {
    damaged_.insert(Key(file));
    return "Before \"" + QuotePath(file.filename()) + "\" is saved again, it is copied to \"" +
           QuotePath(BackupPath(file).filename()) + "\".";
}

std::string DamagedFileGuard::NoteKept(const std::filesystem::path& file, std::string reason,
                                       std::string_view howToGoOn) {
    kept_[Key(file)] = std::move(reason);
    std::string text = "It is left as it is and is not overwritten when the set is saved.";
    if (!howToGoOn.empty()) {
        text += " ";
        text += howToGoOn;
    }
    return text;
}

bool DamagedFileGuard::IsKept(const std::filesystem::path& file) const {
    return kept_.contains(Key(file));
}

bool DamagedFileGuard::IsDamaged(const std::filesystem::path& file) const {
    return damaged_.contains(Key(file));
}

std::optional<std::string> DamagedFileGuard::BeforeRewrite(const std::filesystem::path& file) {
    if (const auto kept = kept_.find(Key(file)); kept != kept_.end()) {
        return "\"" + QuotePath(file.filename()) + "\" is not saved: it " + kept->second +
               ", and is left as it is.";
    }
    const auto it = damaged_.find(Key(file));
    if (it == damaged_.end()) {
        return std::nullopt;
    }
    std::error_code ec;
    const bool present = std::filesystem::exists(file, ec);
    if (ec) {
        // Neither there nor gone: the copy promised could not be made, so nothing is replaced.
        return "\"" + QuotePath(file.filename()) + "\" is not saved: it could not be examined (" +
               ec.message() + "), so it could not be copied to \"" +
               QuotePath(BackupPath(file).filename()) + "\" first.";
    }
    if (!present) {
        damaged_.erase(it);  // gone meanwhile: nothing left to lose
        return std::nullopt;
    }
    if (auto error = CopyToBackup(file, BackupPath(file))) {
        return *error + " The file is not saved, so that it is not lost.";
    }
    damaged_.erase(it);
    return std::nullopt;
}

}  // namespace vekaton
