#include "set/SaveJournal.h"

#include <charconv>
#include <system_error>

#include "common/AsciiCase.h"
#include "common/MessageText.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "set/SetFileReader.h"

namespace vekaton {

namespace {

constexpr char kMarkerName[] = "saving";
constexpr char kHeader[] = "Vekaton save journal 1\n";
constexpr std::size_t kMaxEntries = 64;
constexpr std::size_t kMaxName = 255;

std::filesystem::path JournalFolder(const std::filesystem::path& setFolder) {
    return setFolder / SaveJournal::kFolderName;
}

std::filesystem::path CopyPath(const std::filesystem::path& journal, std::size_t index) {
    return journal / (std::to_string(index) + ".old");
}

std::uint64_t LimitOf(const std::string& name) {
    const SetFileType* type = SetFileTypeOf(name);
    return type != nullptr ? type->maxBytes : kLayoutFileType.maxBytes;
}

}  // namespace

std::string FormatSaveJournal(const std::vector<SaveJournalEntry>& entries) {
    std::string text = kHeader;
    for (const SaveJournalEntry& entry : entries) {
        text += (entry.copied ? "c " : "a ") + std::to_string(entry.name.size()) + ":" +
                entry.name + "\n";
    }
    return text;
}

std::optional<std::vector<SaveJournalEntry>> ParseSaveJournal(const std::string& text) {
    std::string_view rest(text);
    if (rest.substr(0, sizeof kHeader - 1) != kHeader) {
        return std::nullopt;
    }
    rest.remove_prefix(sizeof kHeader - 1);
    std::vector<SaveJournalEntry> entries;
    while (!rest.empty()) {
        if (entries.size() >= kMaxEntries || rest.size() < 2 || rest[1] != ' ' ||
            (rest[0] != 'c' && rest[0] != 'a')) {
            return std::nullopt;
        }
        SaveJournalEntry entry;
        entry.copied = rest[0] == 'c';
        rest.remove_prefix(2);
        std::size_t length = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), length);
        const std::size_t digits = static_cast<std::size_t>(end - rest.data());
        if (error != std::errc() || digits == 0 || length == 0 || length > kMaxName ||
            rest.size() < digits + 1 + length + 1 || rest[digits] != ':' ||
            rest[digits + 1 + length] != '\n') {
            return std::nullopt;
        }
        entry.name = std::string(rest.substr(digits + 1, length));
        if (entry.name.find('/') != std::string::npos || entry.name == "." || entry.name == ".." ||
            entry.name.find('\0') != std::string::npos) {
            return std::nullopt;
        }
        rest.remove_prefix(digits + 1 + length + 1);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::string> SaveJournal::Begin(const std::filesystem::path& setFolder,
                                              const std::vector<std::string>& fileNames) {
    const std::filesystem::path journal = JournalFolder(setFolder);
    std::error_code ec;
    std::filesystem::remove_all(journal, ec);
    std::filesystem::create_directory(journal, ec);
    if (ec) {
        return "The set was not saved: the folder keeping its files during the save, \"" +
               QuotePath(journal) + "\", could not be made (" + ec.message() + ").";
    }
    std::vector<SaveJournalEntry> entries;
    for (const std::string& name : fileNames) {
        const std::filesystem::path path = ResolveSetFile(setFolder, name);
        SaveJournalEntry entry{false, path.filename().string()};
        if (std::filesystem::is_symlink(path, ec) || std::filesystem::exists(path, ec)) {
            std::string why;
            const auto contents = ReadWholeFile(path, LimitOf(name), &why);
            if (!contents) {
                continue;  // not a file a save rewrites (a FIFO, a file past its limit)
            }
            if (auto error = WriteFileAtomically(CopyPath(journal, entries.size()), *contents)) {
                Finish(setFolder);
                return "The set was not saved: " + *error;
            }
            entry.copied = true;
        }
        entries.push_back(std::move(entry));
    }
    if (auto error = WriteFileAtomically(journal / kMarkerName, FormatSaveJournal(entries))) {
        Finish(setFolder);
        return "The set was not saved: " + *error;
    }
    return std::nullopt;
}

std::optional<std::string> SaveJournal::PutBack(const std::filesystem::path& setFolder,
                                                const std::string& fileName) {
    const std::filesystem::path journal = JournalFolder(setFolder);
    const auto text = ReadWholeFile(journal / kMarkerName, 64 * 1024, nullptr);
    const auto entries = text ? ParseSaveJournal(*text) : std::nullopt;
    const std::string onDisk = ResolveSetFile(setFolder, fileName).filename().string();
    if (entries) {
        for (std::size_t i = 0; i < entries->size(); ++i) {
            const SaveJournalEntry& entry = (*entries)[i];
            if (!EqualsNoCase(entry.name, onDisk)) {
                continue;
            }
            const std::filesystem::path path = setFolder / entry.name;
            if (!entry.copied) {
                std::error_code ec;
                std::filesystem::remove(path, ec);
                if (ec) {
                    return "\"" + QuotePath(entry.name) +
                           "\" could not be removed: " + ec.message();
                }
                return std::nullopt;
            }
            std::string why;
            const auto contents = ReadWholeFile(CopyPath(journal, i), LimitOf(entry.name), &why);
            if (!contents) {
                return "the copy of \"" + QuotePath(entry.name) + "\" cannot be read: it " + why;
            }
            return WriteFileAtomically(path, *contents);
        }
    }
    return "\"" + QuotePath(onDisk) + "\" has no copy kept from before the save";
}

void SaveJournal::Finish(const std::filesystem::path& setFolder) {
    const std::filesystem::path journal = JournalFolder(setFolder);
    std::error_code ec;
    std::filesystem::remove(journal / kMarkerName, ec);  // first: without it nothing is undone
    std::filesystem::remove_all(journal, ec);
}

SaveJournal::Undone SaveJournal::UndoUnfinished(const std::filesystem::path& setFolder) {
    const std::filesystem::path journal = JournalFolder(setFolder);
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(journal, ec))) {
        return {};
    }
    const auto text = ReadWholeFile(journal / kMarkerName, 64 * 1024, nullptr);
    if (!text) {
        Finish(setFolder);  // the save had not begun writing the set
        return {};
    }
    const auto entries = ParseSaveJournal(*text);
    if (!entries) {
        return {"A save of the set in \"" + QuotePath(setFolder) +
                    "\" did not finish, and the copies kept during it are damaged; they are left "
                    "in \"" +
                    QuotePath(journal) + "\". Check the set's files before saving it.",
                true};
    }
    std::vector<std::string> failures;
    std::string names;
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const SaveJournalEntry& entry = (*entries)[i];
        const std::filesystem::path path = setFolder / entry.name;
        std::optional<std::string> error;
        if (entry.copied) {
            std::string why;
            const auto contents = ReadWholeFile(CopyPath(journal, i), LimitOf(entry.name), &why);
            error = contents
                        ? WriteFileAtomically(path, *contents)
                        : "the copy of \"" + QuotePath(entry.name) + "\" cannot be read: it " + why;
        } else {
            std::filesystem::remove(path, ec);  // made by the save that did not finish
            if (ec) {
                error = "\"" + QuotePath(entry.name) + "\" could not be removed: " + ec.message();
            }
        }
        if (error) {
            failures.push_back(*error);
        }
        names += (names.empty() ? "" : ", ") + ("\"" + QuotePath(entry.name) + "\"");
    }
    if (!failures.empty()) {
        std::string message = "A save of the set in \"" + QuotePath(setFolder) +
                              "\" did not finish, and its files could not all be put back as "
                              "they were; the copies stay in \"" +
                              QuotePath(journal) + "\":";
        for (const std::string& failure : failures) {
            message += "\n" + failure;
        }
        return {message, true};
    }
    Finish(setFolder);
    return {"The last save of the set in \"" + QuotePath(setFolder) +
                "\" did not finish (the program was stopped during it). Its files were put back "
                "as they were before that save, so the set is whole: " +
                names + ".",
            false};
}

}  // namespace vekaton
