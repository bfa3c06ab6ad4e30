#include "set/DetailsFile.h"

#include "common/FloatText.h"
#include "common/MessageText.h"
#include "decode/ParameterTable.h"
#include "files/FileLookup.h"
#include "set/DamagedFileGuard.h"
#include "set/DashboardFiles.h"

namespace vekaton {
namespace {

namespace key = details_key;

// A text that must stay on its line and keep its place: line breaks and other control
// characters become blanks, and the blanks a reader trims are dropped here already.
std::string LineText(std::string_view text) {
    std::string clean(text);
    for (char& c : clean) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    const std::size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

// A key name must also hold no "=" and must not begin like a comment or a section.
std::string KeyText(std::string_view name) {
    std::string clean = LineText(name);
    for (char& c : clean) {
        if (c == '=') {
            c = '-';
        }
    }
    if (clean.empty() || clean.front() == ';' || clean.front() == '#' || clean.front() == '[') {
        clean.insert(clean.begin(), '_');
    }
    return clean;
}

void Put(std::string& text, std::string_view name, std::string_view value) {
    text += KeyText(name);
    text += '=';
    text += LineText(value);
    text += "\r\n";
}

void PutNumber(std::string& text, std::string_view name, const std::optional<double>& value) {
    if (value) {
        Put(text, name, ShortestFloatText(*value));
    }
}

void PutUnknown(std::string& text, const std::vector<std::pair<std::string, std::string>>& keys) {
    for (const auto& [name, value] : keys) {
        Put(text, name, value);
    }
}

std::string PositionText(const PositionDetails& details) {
    std::string text;
    if (!details.unit.empty()) {
        Put(text, key::kUnit, details.unit);
    }
    PutNumber(text, key::kMin, details.displayMin);
    PutNumber(text, key::kMax, details.displayMax);
    PutNumber(text, key::kWarnLow, details.warnLow);
    PutNumber(text, key::kWarnHigh, details.warnHigh);
    if (details.decimals) {
        Put(text, key::kDecimals, std::to_string(*details.decimals));
    }
    if (details.alarm) {
        Put(text, key::kAlarm, "yes");
    }
    if (!details.role.empty()) {
        Put(text, key::kRole, details.role);
    }
    for (const ValueName& named : details.valueNames) {
        Put(text, std::string(key::kValuePrefix) + std::to_string(named.value), named.name);
    }
    PutUnknown(text, details.unknownKeys);
    return text;
}

std::string BitText(const BitDetails& details) {
    std::string text;
    if (details.activeWhenClear) {
        Put(text, key::kActiveWhenClear, "yes");
    }
    if (details.alarm) {
        Put(text, key::kAlarm, "yes");
    }
    PutUnknown(text, details.unknownKeys);
    return text;
}

void PutSection(std::string& text, const std::string& name, const std::string& body) {
    text += "\r\n[" + name + "]\r\n" + body;
}

// A section name that reads back as the same named section: not empty, and not the form of a
// position ("7") or a bit ("7.3").
std::string NamedSectionText(std::string_view name) {
    std::string clean = LineText(name);
    const bool numeric = clean.find_first_not_of("0123456789.") == std::string::npos;
    if (clean.empty() || numeric) {
        clean.insert(clean.begin(), '_');
    }
    return clean;
}

}  // namespace

std::string DetailsFileNameFor(std::string_view parameterFileName) {
    return std::string(parameterFileName.substr(0, parameterFileName.find('.'))) +
           std::string(kDetailsExtension);
}

std::string FormatDetails(const DetailsTable& table, const std::vector<std::string>& header) {
    std::string text;
    for (const std::string& line : header) {
        const std::string clean = LineText(line);
        text +=
            clean.empty() || (clean.front() != ';' && clean.front() != '#') ? "; " + clean : clean;
        text += "\r\n";
    }
    for (const DetailsSection& section : table.Sections()) {
        std::string body;
        PutUnknown(body, section.keys);
        PutSection(text, NamedSectionText(section.name), body);
    }
    auto bit = table.Bits().begin();
    const auto putBitsUpTo = [&](int position) {
        for (; bit != table.Bits().end() && bit->first.first <= position; ++bit) {
            const std::string body = BitText(bit->second);
            if (!body.empty()) {
                PutSection(
                    text,
                    std::to_string(bit->first.first) + "." + std::to_string(bit->first.second),
                    body);
            }
        }
    };
    for (const auto& [position, details] : table.Positions()) {
        putBitsUpTo(position - 1);
        const std::string body = PositionText(details);
        if (!body.empty()) {
            PutSection(text, std::to_string(position), body);
        }
        putBitsUpTo(position);
    }
    putBitsUpTo(ParameterTable::kLastPosition);
    if (!text.empty() && text.front() == '\r') {
        text.erase(0, 2);  // no empty line above the first section of a file without header
    }
    return text;
}

DetailsFileRead ReadDetailsFile(const std::filesystem::path& folder, std::string_view fileName,
                                DamagedFileGuard& guard) {
    DetailsFileRead read;
    read.path = ResolveSetFile(folder, fileName);
    const SetFileText file = ReadSetFile(read.path, kDetailsFileType, guard);
    if (!file.Found()) {
        return read;
    }
    read.found = true;
    if (!file.Read()) {
        read.errorMessage = file.message;
        return read;
    }
    read.result = ParseDetails(file.text);
    if (read.result.Damaged()) {
        constexpr std::size_t kShown = 20;  // a hostile file could name thousands
        read.warningMessage = "Details file \"" + QuotePath(read.path.filename()) + "\":";
        const std::vector<std::string>& warnings = read.result.warnings;
        for (std::size_t i = 0; i < warnings.size() && i < kShown; ++i) {
            read.warningMessage += "\n" + warnings[i];
        }
        if (warnings.size() > kShown) {
            read.warningMessage +=
                "\n... and " + std::to_string(warnings.size() - kShown) + " more lines";
        }
        read.warningMessage += "\n" + guard.NoteDamaged(read.path);
    }
    return read;
}

std::optional<std::string> WriteDetailsFile(const std::filesystem::path& folder,
                                            std::string_view fileName, const DetailsTable& table,
                                            const std::vector<std::string>& header,
                                            DamagedFileGuard& guard) {
    return SaveWithBackup(folder, fileName, kDetailsBackupSuffix, FormatDetails(table, header),
                          guard);
}

}  // namespace vekaton
