#include "set/OutputTargets.h"

#include <system_error>

#include "common/AsciiCase.h"
#include "common/MessageText.h"
#include "set/LeftoverFiles.h"

namespace vekaton {

namespace {

// The extensions of the files a set keeps.
constexpr std::string_view kSetExtensions[] = {".ini", ".cfg", ".gau", ".dsf", ".details"};
constexpr std::string_view kBadSuffix = ".bad";
constexpr std::string_view kBackupMark = "_bak";

std::string Stem(std::string_view fileName) {
    return LowerAscii(fileName.substr(0, fileName.find('.')));
}

bool IsSetExtension(std::string_view rest) {
    for (const std::string_view extension : kSetExtensions) {
        if (EqualsNoCase(rest, extension)) {
            return true;
        }
    }
    return false;
}

// Both exist and are one file (device and inode), whatever paths lead to them.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// Where writing to `path` would land: through a link as the last part, even one whose target
// does not exist yet (writing creates it), and with the folders resolved as far as they exist.
std::filesystem::path Destination(const std::filesystem::path& path) {
    constexpr int kMostLinks = 40;  // as the system follows them
    std::filesystem::path at = path;
    std::error_code ec;
    for (int links = 0; links < kMostLinks && std::filesystem::is_symlink(at, ec); ++links) {
        const std::filesystem::path target = std::filesystem::read_symlink(at, ec);
        if (ec) {
            break;
        }
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(at, ec);
    return ec ? at : resolved;
}

// The folder the output would be created in: its parent, or the current folder.
std::filesystem::path FolderOf(const std::filesystem::path& output) {
    const std::filesystem::path parent = output.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

std::string Shown(const std::filesystem::path& path) {
    return "'" + QuotePath(path) + "'";
}

std::optional<std::string> ProblemOf(const ProtectedFiles& files, const std::string& output) {
    const std::filesystem::path path = Destination(output);
    const std::filesystem::path folder = FolderOf(path);
    const std::string refusal = "the output " + Shown(output) + " ";
    const std::string never = "; nothing is written to it. Choose another output file.";
    if (SameFile(folder, files.setFolder) && IsSetFileName(files.names, path.filename().string())) {
        return refusal + "is a file of the configuration set in " + Shown(files.setFolder) +
               " (a file of the set, its _bak, .bad or temporary copy, or the set pointer)" + never;
    }
    // Another name for a file of the set: a hard or symbolic link, or a folder reached by
    // another path.
    std::error_code ec;
    for (std::filesystem::directory_iterator it(files.setFolder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (IsSetFileName(files.names, it->path().filename().string()) &&
            SameFile(path, it->path())) {
            return refusal + "is the file " + Shown(it->path()) + " of the configuration set" +
                   never;
        }
    }
    for (const std::filesystem::path& kept : files.folders) {
        if (SameFile(folder, kept)) {
            return refusal + "is in " + Shown(kept) + ", where unsaved changes are kept" + never;
        }
    }
    for (const std::filesystem::path& input : files.inputs) {
        if (SameFile(path, input)) {
            return refusal + "is " + Shown(input) + ", which this run reads" + never;
        }
    }
    return std::nullopt;
}

bool IsStdout(const std::string& output) {
    return output.empty() || output == "-";
}

}  // namespace

bool IsSetFileName(const SetNames& names, std::string_view fileName) {
    if (const auto temporary = ParseTemporaryName(fileName)) {
        return IsSetFileName(names, temporary->target);
    }
    std::string_view name = fileName;
    if (EndsWithNoCase(name, kBadSuffix)) {
        name.remove_suffix(kBadSuffix.size());
    }
    if (EqualsNoCase(name, kSetPointerFileName)) {
        return true;
    }
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || !IsSetExtension(name.substr(dot))) {
        return false;
    }
    const std::string stem = Stem(name);
    for (const std::string* member : {&names.parameterFileName, &names.settingsFileName,
                                      &names.layoutFileName, &names.gaugeListFileName}) {
        const std::string own = Stem(*member);
        if (!own.empty() && (stem == own || stem == own + std::string(kBackupMark))) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> OutputTargetProblem(const ProtectedFiles& protectedFiles,
                                               const std::vector<std::string>& outputs) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (IsStdout(outputs[i])) {
            continue;
        }
        if (auto problem = ProblemOf(protectedFiles, outputs[i])) {
            return problem;
        }
        for (std::size_t j = i + 1; j < outputs.size(); ++j) {
            if (IsStdout(outputs[j])) {
                continue;
            }
            const std::filesystem::path a = Destination(outputs[i]);
            const std::filesystem::path b = Destination(outputs[j]);
            // The same file by path, before either exists, or by device and inode.
            const bool sameName =
                a.filename() == b.filename() && SameFile(FolderOf(a), FolderOf(b));
            if (sameName || SameFile(a, b)) {
                return "the two outputs " + Shown(outputs[i]) + " and " + Shown(outputs[j]) +
                       " are one file; both would be written into it. Choose two files.";
            }
        }
    }
    return std::nullopt;
}

}  // namespace vekaton
