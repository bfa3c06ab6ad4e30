#include "set/LeftoverFiles.h"

#include <system_error>

#include "common/AsciiCase.h"
#include "platform/Process.h"
#include "set/SetNames.h"

namespace vekaton {

namespace {

constexpr std::string_view kTempMark = ".tmp";
constexpr std::size_t kRandomDigits = 8;

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool ProcessRuns(long long pid) {
    if (pid == platform::CurrentProcessId()) {
        return false;  // this process saves nothing while it reads a set
    }
    return platform::ProcessIsAlive(pid);
}

bool BelongsToSet(std::string_view target, std::string_view setStem) {
    const std::string lower = LowerAscii(target);
    if (lower == LowerAscii(kSetPointerFileName)) {
        return true;
    }
    const std::string stem = lower.substr(0, lower.find('.'));
    const std::string set = LowerAscii(setStem);
    return !set.empty() && (stem == set || stem == set + "_bak");
}

}  // namespace

std::optional<TemporaryName> ParseTemporaryName(std::string_view fileName) {
    if (fileName.size() < 2 || fileName.front() != '.') {
        return std::nullopt;
    }
    const std::size_t mark = fileName.rfind(kTempMark);
    if (mark == std::string_view::npos || mark < 2) {
        return std::nullopt;
    }
    const std::string_view tail = fileName.substr(mark + kTempMark.size());
    if (tail.size() <= kRandomDigits || tail.size() > kRandomDigits + 10) {
        return std::nullopt;
    }
    const std::string_view pidText = tail.substr(0, tail.size() - kRandomDigits);
    const std::string_view random = tail.substr(tail.size() - kRandomDigits);
    for (const char c : pidText) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    for (const char c : random) {
        if (!IsHexDigit(c)) {
            return std::nullopt;
        }
    }
    TemporaryName name;
    name.target = std::string(fileName.substr(1, mark - 1));
    name.pid = std::stoll(std::string(pidText));
    return name;
}

std::vector<std::filesystem::path> RemoveLeftoverTemporaryFiles(const std::filesystem::path& folder,
                                                                std::string_view setStem) {
    return RemoveLeftoverTemporaryFiles(
        folder, [setStem](std::string_view target) { return BelongsToSet(target, setStem); });
}

std::vector<std::filesystem::path> RemoveLeftoverTemporaryFiles(
    const std::filesystem::path& folder,
    const std::function<bool(std::string_view target)>& isOwnTarget) {
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    const std::filesystem::path searched = folder.empty() ? std::filesystem::path(".") : folder;
    std::filesystem::directory_iterator it(searched, ec);
    const std::filesystem::directory_iterator end;
    for (; !ec && it != end; it.increment(ec)) {
        const auto name = ParseTemporaryName(it->path().filename().string());
        if (!name || !isOwnTarget(name->target) || ProcessRuns(name->pid)) {
            continue;
        }
        std::error_code typeError;
        if (it->is_symlink(typeError) || !it->is_regular_file(typeError)) {
            continue;
        }
        found.push_back(it->path());
    }
    std::vector<std::filesystem::path> removed;
    for (const auto& path : found) {
        std::error_code removeError;
        if (std::filesystem::remove(path, removeError)) {
            removed.push_back(path);
        }
    }
    return removed;
}

}  // namespace vekaton
