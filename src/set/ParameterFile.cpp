#include "set/ParameterFile.h"

#include <map>
#include <string>
#include <utility>

#include "common/IntConversion.h"
#include "common/MessageText.h"
#include "common/NoteList.h"
#include "common/TextLines.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "set/DamagedFileGuard.h"
#include "set/SetFileReader.h"

namespace vekaton {

namespace {

constexpr std::size_t kDataFields = 5;  // position, byte count, flag, bit or description, rest

std::string LineWarning(int lineNumber, std::string_view what) {
    return "Line " + std::to_string(lineNumber) + ": " + std::string(what);
}

// Splits off the first `count` comma-separated fields; the last one is the rest of the line.
std::vector<std::string_view> SplitFields(std::string_view line, std::size_t count) {
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            break;
        }
        fields.push_back(line.substr(0, comma));
        line.remove_prefix(comma + 1);
    }
    fields.push_back(line);
    return fields;
}

// The parser ignores blanks around a formula, but the reader holds back any formula with a
// blank: written with them, a working formula would stop working after the next start.
std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// A field must not end its line early or split it: line breaks always, and commas in the
// fields that a later comma ends, become blanks.
std::string FieldText(std::string_view text, bool commaEndsField) {
    std::string clean(text);
    for (char& c : clean) {
        if (c == '\r' || c == '\n' || (commaEndsField && c == ',')) {
            c = ' ';
        }
    }
    return clean;
}

constexpr int kAnalog = -1;  // the key of an analog definition beside the bit numbers

// Records that `line` defines `key` (0: the key is replaced without a line of its own) and
// reports the earlier line whose definition this one replaces.
template <class Warn>
void NoteDefinition(std::map<std::pair<int, int>, int>& definedOn, std::pair<int, int> key,
                    int line, const Warn& warn) {
    const auto found = definedOn.find(key);
    if (found != definedOn.end()) {
        const std::string what =
            key.second == kAnalog
                ? "position " + std::to_string(key.first)
                : "bit " + std::to_string(key.second) + " of position " + std::to_string(key.first);
        warn("replaces the definition of " + what + " on line " + std::to_string(found->second));
        definedOn.erase(found);
    }
    if (line > 0) {
        definedOn[key] = line;
    }
}

// The lines of the file into `table` and `result`; warnings go to `warnings`.
void ReadParameterLines(std::string_view text, ParameterTable& table,
                        ParameterFileReadResult& result, NoteList& warnings) {
    bool dataSeen = false;
    int lineNumber = 0;
    // The line that last defined each position (analog) or bit (digital), to report a later
    // line that replaces it.
    std::map<std::pair<int, int>, int> definedOn;
    const auto warn = [&warnings, &lineNumber](std::string_view what) {
        warnings.AddLazy([&] { return LineWarning(lineNumber, what); });
    };
    LineCursor lines(text);
    while (!lines.AtEnd()) {
        const std::string_view line = lines.Next();
        ++lineNumber;
        if (line.empty()) {
            continue;
        }
        if (line.front() == ';') {
            if (dataSeen) {
                warn("a comment between definitions is not kept");
            } else if (result.header.size() < ParameterFileReadResult::kMaxHeaderLines) {
                result.header.emplace_back(line);
            } else {
                warn("only the first " + std::to_string(ParameterFileReadResult::kMaxHeaderLines) +
                     " comment lines are kept");
            }
            continue;
        }
        if (line.front() == ' ') {
            if (line.find_first_not_of(' ') != std::string::npos) {
                warn("a line that begins with a blank is not read");
            }
            continue;
        }
        if (line == "END") {
            continue;  // ends nothing: the rest of the file is still read
        }
        dataSeen = true;
        const std::vector<std::string_view> fields = SplitFields(line, kDataFields);
        if (fields.size() < kDataFields) {
            warn("too few fields, line skipped");
            continue;
        }
        std::int32_t position = 0;
        std::int32_t byteCount = 0;
        std::int32_t flag = 0;
        try {
            position = StrToInt(fields[0]);
            byteCount = StrToInt(fields[1]);
            flag = StrToInt(fields[2]);
        } catch (const ConversionError& error) {
            result.error = error.what();
            result.errorLine = lineNumber;
            return;
        }
        ParameterRecord* record = table.Find(position);
        if (record == nullptr) {
            warn("position " + std::to_string(position) + " is not 1 to 500, line skipped");
            continue;
        }
        if (flag == 1) {
            std::int32_t bit = 0;
            try {
                bit = StrToInt(fields[3]);
            } catch (const ConversionError& error) {
                result.error = error.what();
                result.errorLine = lineNumber;
                return;
            }
            if (bit < 0 || bit > 7) {
                warn("bit number " + std::to_string(bit) + " is not 0 to 7, line skipped");
                continue;
            }
            NoteDefinition(definedOn, {position, bit}, lineNumber, warn);
            NoteDefinition(definedOn, {position, kAnalog}, 0, warn);
            record->IsDigital = true;
            record->Descriptions[static_cast<std::size_t>(bit)] = std::string(fields[4]);
        } else {
            NoteDefinition(definedOn, {position, kAnalog}, lineNumber, warn);
            for (int bit = 0; bit < ParameterRecord::kDescriptionCount; ++bit) {
                NoteDefinition(definedOn, {position, bit}, 0, warn);
            }
            record->IsDigital = false;
            record->ByteCount = byteCount;
            record->Descriptions[0] = std::string(fields[3]);
            // A formula with a blank is kept as written, so nothing the user typed is lost,
            // but it is not evaluated: the position shows its raw bytes.
            const std::string_view formula = fields[4];
            if (formula.find(' ') == std::string_view::npos) {
                record->SetFormula(std::string(formula));
            } else {
                record->SetUnevaluatedFormula(std::string(formula));
            }
        }
    }
}

}  // namespace

ParameterFileReadResult ReadParameterText(std::string_view text, ParameterTable& table) {
    ParameterFileReadResult result;
    NoteList warnings;
    ReadParameterLines(text, table, result, warnings);
    // The first few and a count: a file of a million bad lines is one short message.
    result.warnings = warnings.Lines("lines like these");
    return result;
}

std::string WriteParameterText(const ParameterTable& table,
                               const std::vector<std::string>& header) {
    std::vector<std::string> lines;
    for (const std::string& comment : header) {
        if (lines.size() == ParameterFileReadResult::kMaxHeaderLines) {
            break;
        }
        // Only ";" lines are read back as the header.
        lines.push_back(
            FieldText(!comment.empty() && comment.front() == ';' ? comment : ";" + comment, false));
    }
    lines.emplace_back();
    for (int position = ParameterTable::kFirstPosition; position <= ParameterTable::kLastPosition;
         ++position) {
        const ParameterRecord& record = table.At(position);
        const std::string prefix = std::to_string(position) + ",";
        if (record.IsDigital) {
            for (int bit = 0; bit < ParameterRecord::kDescriptionCount; ++bit) {
                const std::string& description = record.Descriptions[static_cast<std::size_t>(bit)];
                if (!description.empty()) {
                    lines.push_back(prefix + "1,1," + std::to_string(bit) + "," +
                                    FieldText(description, false));
                }
            }
        } else if (!record.Descriptions[0].empty()) {
            lines.push_back(prefix + std::to_string(record.ByteCount) + ",0," +
                            FieldText(record.Descriptions[0], true) + "," +
                            FieldText(TrimBlanks(record.Formula()), false));
        }
    }
    lines.emplace_back("END");
    return JoinLinesCrLf(lines);
}

ParameterFileRead ReadParameterFile(const std::filesystem::path& folder, std::string_view fileName,
                                    ParameterTable& table, DamagedFileGuard& guard) {
    ParameterFileRead read;
    const auto text = OpenSetFile(folder, fileName, kParameterFileType, guard, read);
    if (!text) {
        return read;
    }
    read.result = ReadParameterText(*text, table);
    if (read.result.error) {
        NoteReadingStopped(read, *read.result.error, read.result.errorLine, guard);
    }
    if (!read.result.warnings.empty()) {
        // Skipped lines are lost at the next save unless the file is kept as it was.
        NoteWarnings(read, kParameterFileType, read.result.warnings, !read.result.error, guard);
    }
    return read;
}

std::optional<std::string> WriteParameterFile(const std::filesystem::path& folder,
                                              std::string_view fileName,
                                              const ParameterTable& table,
                                              const std::vector<std::string>& header,
                                              DamagedFileGuard& guard) {
    const std::filesystem::path path = ResolveSetFile(folder, fileName);
    const std::string text = WriteParameterText(table, header);
    if (std::optional<std::string> error = SaveSizeProblem(path, text.size())) {
        return error;
    }
    if (std::optional<std::string> error = guard.BeforeRewrite(path)) {
        return error;
    }
    return WriteFileAtomically(path, text);
}

}  // namespace vekaton
