#include "definitions/DefinitionSource.h"

#include <charconv>
#include <cmath>
#include <set>

#include "common/TextLines.h"

namespace vekaton {
namespace {

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = line.find('|', start);
        fields.emplace_back(Trim(line.substr(start, bar - start)));
        if (bar == std::string_view::npos) {
            return fields;
        }
        start = bar + 1;
    }
}

template <class Number>
std::optional<Number> Read(std::string_view text) {
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

const std::set<std::string, std::less<>> kHeaderKeys = {
    "id",   "title",   "stream", "engines", "years",    "ecm",  "source", "confidence", "link",
    "baud", "request", "header", "data",    "checksum", "echo", "sample", "start",      "stop"};

class Reader {
  public:
    explicit Reader(DefinitionSource& source) : source_(source) {}

    void Line(int number, std::string_view raw) {
        line_ = number;
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '#') {
            return;
        }
        if (line.find('|') != std::string_view::npos) {
            Row(Fields(line));
        } else {
            Header(line);
        }
    }

  private:
    void Error(const std::string& text) {
        source_.errors.push_back("Line " + std::to_string(line_) + ": " + text);
    }

    void Header(std::string_view line) {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            Error("neither a header line (key: value) nor a row (fields between |)");
            return;
        }
        const std::string key(Trim(line.substr(0, colon)));
        const std::string value(Trim(line.substr(colon + 1)));
        if (key == "note") {
            source_.notes.push_back(value);
        } else if (key.starts_with("table ")) {
            Table(std::string(Trim(std::string_view(key).substr(6))), value);
        } else if (!kHeaderKeys.contains(key)) {
            Error("unknown header key \"" + key + "\"");
        } else if (!source_.header.emplace(key, value).second) {
            Error("\"" + key + "\" is given twice");
        }
    }

    void Table(const std::string& name, std::string_view points) {
        std::vector<LookupPoint>& table = source_.tables[name];
        std::size_t start = 0;
        while (start < points.size()) {
            std::size_t end = points.find(' ', start);
            if (end == std::string_view::npos) {
                end = points.size();
            }
            const std::string_view pair = points.substr(start, end - start);
            start = end + 1;
            if (pair.empty()) {
                continue;
            }
            const std::size_t equals = pair.find('=');
            const auto x = Read<double>(pair.substr(0, equals));
            const auto y = equals == std::string_view::npos ? std::nullopt
                                                            : Read<double>(pair.substr(equals + 1));
            if (!x || !y) {
                Error("\"" + std::string(pair) + "\" is not a point x=y of table " + name);
                continue;
            }
            table.push_back({*x, *y});
        }
    }

    std::optional<double> Number(const std::string& text, const char* what) {
        if (text.empty()) {
            return std::nullopt;
        }
        const std::optional<double> value = Read<double>(text);
        if (!value || !std::isfinite(*value)) {
            Error("\"" + text + "\" is not a number for " + what);
        }
        return value;
    }

    void Options(const std::string& text, bool& alarm, bool* clear) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find_first_of(" ,", start);
            if (end == std::string::npos) {
                end = text.size();
            }
            const std::string word = text.substr(start, end - start);
            start = end + 1;
            if (word.empty()) {
                continue;
            }
            if (word == "alarm") {
                alarm = true;
            } else if (word == "clear" && clear != nullptr) {
                *clear = true;
            } else {
                Error("unknown option \"" + word + "\"");
            }
        }
    }

    void Row(std::vector<std::string> fields) {
        const std::string kind = fields.front();
        const std::size_t most = kind == "value" ? 13 : kind == "flag" ? 5 : 3;
        if (kind != "value" && kind != "flag" && kind != "names") {
            Error("a row must be a value, flag or names row, not \"" + kind + "\"");
            return;
        }
        if (fields.size() < 3 || fields.size() > most) {
            Error("a " + kind + " row has 3 to " + std::to_string(most) + " fields");
            return;
        }
        fields.resize(most);
        const std::optional<int> position = Read<int>(fields[1]);
        if (!position) {
            Error("\"" + fields[1] + "\" is not a position");
            return;
        }
        if (kind == "names") {
            NamesRow(*position, fields[2]);
        } else if (kind == "flag") {
            SourceFlag flag;
            flag.line = line_;
            flag.position = *position;
            const std::optional<int> bit = Read<int>(fields[2]);
            if (!bit) {
                Error("\"" + fields[2] + "\" is not a bit number");
                return;
            }
            flag.bit = *bit;
            flag.description = fields[3];
            Options(fields[4], flag.alarm, &flag.activeWhenClear);
            source_.flags.push_back(std::move(flag));
        } else {
            ValueRow(*position, fields);
        }
    }

    void ValueRow(int position, const std::vector<std::string>& f) {
        SourceValue value;
        value.line = line_;
        value.position = position;
        const std::optional<int> bytes = Read<int>(f[2]);
        if (!bytes) {
            Error("\"" + f[2] + "\" is not a byte count");
            return;
        }
        value.bytes = *bytes;
        value.description = f[3];
        value.formula = f[4];
        value.unit = f[5];
        value.minimum = Number(f[6], "the minimum");
        value.maximum = Number(f[7], "the maximum");
        value.warnLow = Number(f[8], "the low warning");
        value.warnHigh = Number(f[9], "the high warning");
        if (!f[10].empty()) {
            value.decimals = Read<int>(f[10]);
            if (!value.decimals) {
                Error("\"" + f[10] + "\" is not a count of decimals");
            }
        }
        value.role = f[11];
        Options(f[12], value.alarm, nullptr);
        source_.values.push_back(std::move(value));
    }

    void NamesRow(int position, const std::string& text) {
        SourceNames names;
        names.line = line_;
        names.position = position;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(';', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            const std::string_view item = Trim(std::string_view(text).substr(start, end - start));
            start = end + 1;
            const std::size_t equals = item.find('=');
            const auto number = Read<std::int64_t>(Trim(item.substr(0, equals)));
            if (equals == std::string_view::npos || !number) {
                Error("\"" + std::string(item) + "\" is not N=name");
                continue;
            }
            names.names.emplace_back(*number, std::string(Trim(item.substr(equals + 1))));
        }
        source_.names.push_back(std::move(names));
    }

    DefinitionSource& source_;
    int line_ = 0;
};

}  // namespace

std::string DefinitionSource::Header(std::string_view key) const {
    const auto found = header.find(std::string(key));
    return found == header.end() ? std::string() : found->second;
}

DefinitionSource ParseDefinitionSource(std::string_view text) {
    DefinitionSource source;
    Reader reader(source);
    int number = 0;
    for (const std::string& line : SplitLines(text)) {
        reader.Line(++number, line);
    }
    return source;
}

}  // namespace vekaton
