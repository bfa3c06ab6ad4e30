#include "files/LockFileText.h"

#include <charconv>

namespace vekaton {

namespace {

constexpr std::int64_t kLargestPid = 0x7FFFFFFF;

std::string_view Line(std::string_view text, std::size_t index) {
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            return {};
        }
        text.remove_prefix(end + 1);
    }
    const std::size_t end = text.find('\n');
    return end == std::string_view::npos ? text : text.substr(0, end);
}

}  // namespace

std::optional<LockHolder> ParseLockHolder(std::string_view text) {
    const std::string_view pidText = Line(text, 0);
    if (pidText.empty() || pidText.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::int64_t pid = 0;
    const auto [end, error] = std::from_chars(pidText.data(), pidText.data() + pidText.size(), pid);
    if (error != std::errc() || end != pidText.data() + pidText.size() || pid <= 0 ||
        pid > kLargestPid) {
        return std::nullopt;
    }
    LockHolder holder;
    holder.pid = pid;
    holder.host = std::string(Line(text, 2));
    return holder;
}

std::string FormatLockHolder(std::int64_t pid, std::string_view program, std::string_view host) {
    return std::to_string(pid) + "\n" + std::string(program) + "\n" + std::string(host) + "\n";
}

}  // namespace vekaton
