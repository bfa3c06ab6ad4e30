#include "dashboard/ResetButtons.h"

#include <algorithm>
#include <charconv>

namespace vekaton {
namespace {

constexpr int kFirstId = 1;
constexpr int kLastId = 500;

bool IsSeparator(char c) {
    return c == ',' || c == ' ' || c == '\t' || c == ';' || c == '\r' || c == '\n';
}

}  // namespace

const ResetButtonEntry& ResetButtonTable::Entry(int number) const {
    static const ResetButtonEntry kEmpty;
    return IsValidNumber(number) ? entries_[static_cast<std::size_t>(number)] : kEmpty;
}

void ResetButtonTable::SetEntry(int number, ResetButtonEntry entry) {
    if (IsValidNumber(number)) {
        entries_[static_cast<std::size_t>(number)] = std::move(entry);
    }
}

void ResetButtonTable::Clear() {
    entries_.fill(ResetButtonEntry{});
}

std::string FormatIdList(const std::vector<int>& ids) {
    std::string text;
    for (const int id : ids) {
        if (!text.empty()) {
            text += ',';
        }
        text += std::to_string(id);
    }
    return text;
}

std::vector<int> ParseIdList(std::string_view text) {
    return ReadIdList(text).ids;
}

IdListRead ReadIdList(std::string_view text) {
    IdListRead read;
    std::vector<int>& ids = read.ids;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsSeparator(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !IsSeparator(text[end])) {
            ++end;
        }
        const std::string_view token = text.substr(i, end - i);
        int id = 0;
        const auto [stop, error] = std::from_chars(token.data(), token.data() + token.size(), id);
        const bool whole = error == std::errc{} && stop == token.data() + token.size();
        if (whole && id >= kFirstId && id <= kLastId &&
            std::find(ids.begin(), ids.end(), id) == ids.end()) {
            ids.push_back(id);
        } else if (++read.skippedCount <= IdListRead::kExamples) {
            read.skippedExamples.emplace_back(token);
        }
        i = end;
    }
    return read;
}

}  // namespace vekaton
