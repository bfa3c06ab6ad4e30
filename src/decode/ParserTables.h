#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vekaton {

// A sorted name table (variables, one- and two-argument functions) searched by exact name.
template <typename T>
class NameTable {
  public:
    // False, leaving the table as it was, when the name is present already.
    bool Add(std::string name, T value) {
        const auto at = LowerBound(name);
        if (at != entries_.end() && at->first == name) {
            return false;
        }
        entries_.emplace(at, std::move(name), std::move(value));
        return true;
    }

    const T* Find(std::string_view name) const {
        const auto at = LowerBound(name);
        if (at == entries_.end() || at->first != name) {
            return nullptr;
        }
        return &at->second;
    }

    std::size_t Size() const { return entries_.size(); }
    const std::vector<std::pair<std::string, T>>& Entries() const { return entries_; }

  private:
    using Entry = std::pair<std::string, T>;
    typename std::vector<Entry>::const_iterator LowerBound(std::string_view name) const {
        return std::lower_bound(
            entries_.begin(), entries_.end(), name,
            [](const Entry& entry, std::string_view key) { return entry.first < key; });
    }
    typename std::vector<Entry>::iterator LowerBound(std::string_view name) {
        return std::lower_bound(
            entries_.begin(), entries_.end(), name,
            [](const Entry& entry, std::string_view key) { return entry.first < key; });
    }

    std::vector<Entry> entries_;
};

}  // namespace vekaton
