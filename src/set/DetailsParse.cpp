// Reading the details file: sections of keys, taken in leniently and reported line by line.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "common/MessageText.h"
#include "decode/ParameterTable.h"
#include "set/DetailsFile.h"

namespace vekaton {
namespace {

namespace key = details_key;

// Lines ended by CR LF, LF or a lone CR; a last line without an ending counts too.
std::vector<std::string_view> SplitAnyLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::optional<double> ReadNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

template <class Int>
std::optional<Int> ReadInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    Int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> ReadFlag(std::string_view text) {
    const std::string lower = Lower(text);
    if (lower == "yes" || lower == "true" || lower == "1") {
        return true;
    }
    if (lower == "no" || lower == "false" || lower == "0") {
        return false;
    }
    return std::nullopt;
}

// "7" is position 7, "7.3" bit 3 of position 7; digits only, so "+7" or "7.x" name sections.
struct SectionName {
    enum class Kind { Named, Position, Bit, OutOfRange } kind = Kind::Named;
    int position = 0;
    int bit = 0;
};

bool AllDigits(std::string_view text) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

SectionName ClassifySection(std::string_view name) {
    SectionName section;
    const std::size_t dot = name.find('.');
    const std::string_view first = name.substr(0, dot);
    const std::string_view second =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (!AllDigits(first) || (dot != std::string_view::npos && !AllDigits(second))) {
        return section;
    }
    section.position = *ReadInteger<int>(first);
    section.kind =
        dot == std::string_view::npos ? SectionName::Kind::Position : SectionName::Kind::Bit;
    if (section.kind == SectionName::Kind::Bit) {
        section.bit = *ReadInteger<int>(second);
    }
    if (!ParameterTable::IsValidPosition(section.position) || section.bit < 0 || section.bit > 7) {
        section.kind = SectionName::Kind::OutOfRange;
    }
    return section;
}

class Reader {
  public:
    explicit Reader(DetailsParse& parse) : parse_(parse) {}

    void Line(int number, std::string_view raw) {
        line_ = number;
        const std::string_view line = Trim(raw);
        if (line.empty()) {
            return;
        }
        if (line.front() == ';' || line.front() == '#') {
            if (state_ == State::BeforeSections) {
                parse_.header.emplace_back(line);
            } else {
                Warn(
                    "a comment below the first section is not kept (comments belong at the "
                    "top of the file)");
            }
            return;
        }
        if (line.front() == '[' && line.back() == ']') {
            Section(Trim(line.substr(1, line.size() - 2)));
            return;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            Warn("\"" + QuoteText(line) + "\" is neither a section nor a key=value line");
            return;
        }
        const std::string_view name = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        switch (state_) {
            case State::BeforeSections:
                Warn("a key before the first section belongs to no position");
                break;
            case State::Skipping:
                break;  // the section itself was reported
            case State::Named:
                parse_.table.SectionAt(sectionName_).keys.emplace_back(name, value);
                break;
            case State::Position:
                PositionKey(name, value);
                break;
            case State::Bit:
                BitKey(name, value);
                break;
        }
    }

  private:
    enum class State { BeforeSections, Skipping, Named, Position, Bit };

    void Warn(const std::string& text) {
        parse_.warnings.push_back("Line " + std::to_string(line_) + ": " + text);
    }

    void Section(std::string_view name) {
        const SectionName section = ClassifySection(name);
        switch (section.kind) {
            case SectionName::Kind::Named:
                if (name.empty()) {
                    Warn("a section without a name; its keys are not kept");
                    state_ = State::Skipping;
                    return;
                }
                sectionName_ = std::string(name);
                parse_.table.SectionAt(sectionName_);
                state_ = State::Named;
                return;
            case SectionName::Kind::OutOfRange:
                Warn("[" + QuoteText(name) +
                     "] names no frame position (1 to 500, bits 0 to 7); its keys are not kept");
                state_ = State::Skipping;
                return;
            case SectionName::Kind::Position:
                state_ = State::Position;
                break;
            case SectionName::Kind::Bit:
                state_ = State::Bit;
                break;
        }
        position_ = section.position;
        bit_ = section.bit;
    }

    template <class T>
    void SetOnce(std::optional<T>& field, std::optional<T> value, std::string_view name,
                 std::string_view text) {
        if (!value) {
            Warn("\"" + QuoteText(text) + "\" is not a valid value for " + std::string(name));
            return;
        }
        if (field) {
            Warn(std::string(name) + " is given again; the last one counts");
        }
        field = value;
    }

    void PositionKey(std::string_view name, std::string_view value) {
        PositionDetails& details = parse_.table.At(position_);
        const std::string lower = Lower(name);
        if (lower == key::kUnit) {
            details.unit = std::string(value);
        } else if (lower == key::kRole) {
            details.role = std::string(value);
        } else if (lower == key::kMin) {
            SetOnce(details.displayMin, ReadNumber(value), key::kMin, value);
        } else if (lower == key::kMax) {
            SetOnce(details.displayMax, ReadNumber(value), key::kMax, value);
        } else if (lower == key::kWarnLow) {
            SetOnce(details.warnLow, ReadNumber(value), key::kWarnLow, value);
        } else if (lower == key::kWarnHigh) {
            SetOnce(details.warnHigh, ReadNumber(value), key::kWarnHigh, value);
        } else if (lower == key::kDecimals) {
            std::optional<int> decimals = ReadInteger<int>(value);
            if (decimals && (*decimals < 0 || *decimals > kMaxDetailsDecimals)) {
                decimals.reset();
            }
            SetOnce(details.decimals, decimals, key::kDecimals, value);
        } else if (lower == key::kAlarm) {
            Flag(details.alarm, value, key::kAlarm);
        } else if (lower.starts_with(key::kValuePrefix) &&
                   ReadInteger<std::int64_t>(name.substr(key::kValuePrefix.size()))) {
            ValueNameKey(details, *ReadInteger<std::int64_t>(name.substr(key::kValuePrefix.size())),
                         value);
        } else {
            details.unknownKeys.emplace_back(name, value);
        }
    }

    void ValueNameKey(PositionDetails& details, std::int64_t number, std::string_view value) {
        for (ValueName& named : details.valueNames) {
            if (named.value == number) {
                Warn("value " + std::to_string(number) + " is named again; the last name counts");
                named.name = std::string(value);
                return;
            }
        }
        details.valueNames.push_back(ValueName{number, std::string(value)});
    }

    void BitKey(std::string_view name, std::string_view value) {
        BitDetails& details = parse_.table.AtBit(position_, bit_);
        const std::string lower = Lower(name);
        if (lower == key::kActiveWhenClear) {
            Flag(details.activeWhenClear, value, key::kActiveWhenClear);
        } else if (lower == key::kAlarm) {
            Flag(details.alarm, value, key::kAlarm);
        } else {
            details.unknownKeys.emplace_back(name, value);
        }
    }

    void Flag(bool& field, std::string_view value, std::string_view name) {
        if (const std::optional<bool> flag = ReadFlag(value)) {
            field = *flag;
        } else {
            Warn("\"" + QuoteText(value) + "\" is not yes or no for " + std::string(name));
        }
    }

    DetailsParse& parse_;
    State state_ = State::BeforeSections;
    std::string sectionName_;
    int position_ = 0;
    int bit_ = 0;
    int line_ = 0;
};

}  // namespace

DetailsParse ParseDetails(std::string_view text) {
    DetailsParse parse;
    Reader reader(parse);
    int number = 0;
    for (const std::string_view line : SplitAnyLines(text)) {
        reader.Line(++number, line);
    }
    return parse;
}

}  // namespace vekaton
