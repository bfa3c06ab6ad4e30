#include "dashboard/DetailsEdit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/FloatText.h"
#include "common/TextLines.h"

namespace vekaton {
namespace {

constexpr int kMostDecimals = 15;  // what the details file keeps

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

DetailsEdit DetailsEditOf(const DetailsTable& table, int position) {
    DetailsEdit edit;
    if (const PositionDetails* details = table.Find(position)) {
        edit.position = *details;
    }
    for (int bit = 0; bit < 8; ++bit) {
        if (const BitDetails* details = table.FindBit(position, bit)) {
            edit.bits[static_cast<std::size_t>(bit)] = *details;
        }
    }
    return edit;
}

void ApplyDetailsEdit(DetailsTable& table, int position, bool isDigital, const DetailsEdit& edit) {
    if (!isDigital) {
        if (edit.position == PositionDetails{}) {
            table.Erase(position);
        } else {
            table.At(position) = edit.position;
        }
        return;
    }
    for (int bit = 0; bit < 8; ++bit) {
        const BitDetails& details = edit.bits[static_cast<std::size_t>(bit)];
        if (details == BitDetails{}) {
            table.EraseBit(position, bit);
        } else {
            table.AtBit(position, bit) = details;
        }
    }
}

bool DetailsEditChanges(const DetailsEdit& before, const DetailsEdit& after, bool isDigital) {
    return isDigital ? before.bits != after.bits : before.position != after.position;
}

DetailsProblem CheckDetails(const PositionDetails& details) {
    if (details.displayMin.has_value() != details.displayMax.has_value()) {
        return DetailsProblem::RangeHalf;
    }
    if (details.displayMin && !(*details.displayMax > *details.displayMin)) {
        return DetailsProblem::RangeEmpty;
    }
    if (details.warnLow && details.warnHigh && !(*details.warnLow < *details.warnHigh)) {
        return DetailsProblem::WarningsCrossed;
    }
    if (details.decimals && (*details.decimals < 0 || *details.decimals > kMostDecimals)) {
        return DetailsProblem::DecimalsOutside;
    }
    return DetailsProblem::None;
}

std::string DetailNumberText(double value) {
    return ShortestFloatText(value);
}

bool ParseOptionalNumber(std::string_view text, std::optional<double>* value) {
    text = Trimmed(text);
    if (text.empty()) {
        value->reset();
        return true;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    double number = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    if (ec != std::errc() || ptr != end || !std::isfinite(number)) {
        return false;
    }
    *value = number;
    return true;
}

std::string ValueNamesText(const std::vector<ValueName>& names) {
    std::string text;
    for (const ValueName& name : names) {
        if (!text.empty()) {
            text += '\n';
        }
        text += std::to_string(name.value) + " = " + name.name;
    }
    return text;
}

ValueNamesRead ParseValueNames(std::string_view text) {
    ValueNamesRead read;
    int number = 0;
    for (const std::string& line : SplitLines(text)) {
        ++number;
        const std::string_view content = Trimmed(line);
        if (content.empty()) {
            continue;
        }
        const std::size_t equals = content.find('=');
        const std::optional<std::int64_t> value =
            equals == std::string_view::npos ? std::nullopt
                                             : WholeNumber(Trimmed(content.substr(0, equals)));
        const std::string_view name = equals == std::string_view::npos
                                          ? std::string_view()
                                          : Trimmed(content.substr(equals + 1));
        const bool repeated =
            value && std::any_of(read.names.begin(), read.names.end(),
                                 [&](const ValueName& seen) { return seen.value == *value; });
        if (!value || name.empty() || repeated) {
            read.names.clear();
            read.badLine = number;
            return read;
        }
        read.names.push_back(ValueName{*value, std::string(name)});
    }
    return read;
}

}  // namespace vekaton
