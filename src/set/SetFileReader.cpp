#include "set/SetFileReader.h"

#include <optional>

#include "common/AsciiCase.h"
#include "common/MessageText.h"
#include "files/FileLookup.h"
#include "files/RegularFile.h"
#include "set/DamagedFileGuard.h"
#include "set/DetailsFile.h"
#include "set/SetNames.h"

namespace vekaton {

namespace {

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + QuotePath(path.filename()) + "\"";
}

SetFileText Refuse(const std::filesystem::path& path, const std::string& reason,
                   const SetFileType& type, DamagedFileGuard& guard) {
    SetFileText file;
    file.outcome = SetFileText::Outcome::Refused;
    file.message = Quoted(path) + " " + reason + ", so it was not read. " +
                   guard.NoteKept(path, reason, type.howToGoOn);
    return file;
}

// "is 1 GB, more than the 4 MB a parameter file may hold"; without a size, for a file that grew
// while it was read, "is more than the 4 MB ...".
std::string TooLarge(std::optional<std::uint64_t> size, const SetFileType& type) {
    const std::string most =
        "the " + DescribeSize(type.maxBytes) + " a " + std::string(type.what) + " may hold";
    return size ? "is " + DescribeSize(*size) + ", more than " + most : "is more than " + most;
}

// 67108890 as "67,108,890": exact sizes near a limit read better grouped.
std::string GroupedDigits(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return digits;
}

}  // namespace

const SetFileType* SetFileTypeOf(std::string_view fileName) {
    if (EqualsNoCase(fileName, kSetPointerFileName)) {
        return &kSetPointerType;
    }
    const std::size_t dot = fileName.rfind('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
    for (const auto& [known, type] :
         {std::pair{".ini", &kSettingsFileType}, std::pair{".cfg", &kParameterFileType},
          std::pair{".gau", &kGaugeListType}, std::pair{".dsf", &kLayoutFileType}}) {
        if (EqualsNoCase(extension, known)) {
            return type;
        }
    }
    return nullptr;
}

std::optional<std::string> SaveSizeProblem(const std::filesystem::path& path, std::uint64_t size) {
    const SetFileType* type = SetFileTypeOf(path.filename().string());
    if (type == nullptr || size <= type->maxBytes) {
        return std::nullopt;
    }
    return Quoted(path) + " was not saved: it would be " + GroupedDigits(size) +
           " bytes, more than the " + DescribeSize(type->maxBytes) + " a " +
           std::string(type->what) +
           " may hold, and the next start could not read it. The file is kept as it was; make the "
           "set smaller (fewer items, shorter texts) and save again.";
}

SetFileText ReadSetFile(const std::filesystem::path& path, const SetFileType& type,
                        DamagedFileGuard& guard) {
    SetFileText file;
    OpenedFile opened = OpenRegularForReading(path);
    std::string reason = opened.reason;
    if (!opened.IsOpen()) {
        if (opened.kind == FileKind::Missing) {
            return file;
        }
        if (opened.kind != FileKind::Other || opened.error == 0) {
            return Refuse(path, reason, type, guard);
        }
    } else if (opened.size > type.maxBytes) {
        return Refuse(path, TooLarge(opened.size, type), type, guard);
    } else {
        file.text.reserve(static_cast<std::size_t>(opened.size));
        switch (ReadRest(opened.fd, type.maxBytes, &file.text, &reason)) {
            case ReadOutcome::Done:
                file.outcome = SetFileText::Outcome::Read;
                return file;
            case ReadOutcome::TooLarge:
                return Refuse(path, TooLarge(std::nullopt, type), type, guard);
            case ReadOutcome::Failed:
                file.text.clear();
                break;
        }
    }
    file.outcome = SetFileText::Outcome::Unreadable;
    file.message =
        "Could not read " + Quoted(path) + ": it " + reason + ". " + guard.NoteDamaged(path);
    return file;
}

std::optional<std::string> OpenSetFile(const std::filesystem::path& folder,
                                       std::string_view fileName, const SetFileType& type,
                                       DamagedFileGuard& guard, SetFileRead& read) {
    read.path = ResolveSetFile(folder, fileName);
    SetFileText file = ReadSetFile(read.path, type, guard);
    read.found = file.Found();
    read.unread = file.Found() && !file.Read();
    if (!file.Read()) {
        read.errorMessage = std::move(file.message);
        return std::nullopt;
    }
    return std::move(file.text);
}

void NoteReadingStopped(SetFileRead& read, std::string_view error, int line,
                        DamagedFileGuard& guard) {
    read.errorMessage = std::string(error) + "\n\nReading " + Quoted(read.path) +
                        " stopped at line " + std::to_string(line) +
                        "; the lines after it were not read. " + guard.NoteDamaged(read.path);
}

void NoteWarnings(SetFileRead& read, const SetFileType& type,
                  const std::vector<std::string>& warnings, bool keepAsBad,
                  DamagedFileGuard& guard) {
    std::string kind(type.what);
    kind.front() = UpperAscii(kind.front());
    read.warningMessage = kind + " " + Quoted(read.path) + ":";
    for (const std::string& warning : warnings) {
        read.warningMessage += "\n" + warning;
    }
    if (keepAsBad) {
        read.warningMessage += "\n" + guard.NoteDamaged(read.path);
    }
}

}  // namespace vekaton
