#include "definitions/DefinitionBuild.h"

#include <charconv>
#include <set>

#include "common/CommandText.h"
#include "common/FloatText.h"
#include "decode/FormulaFrontEnd.h"
#include "definitions/DashboardRoles.h"

namespace vekaton {
namespace {

class Builder {
  public:
    Builder(const DefinitionSource& source, BuiltDefinition& built)
        : source_(source), built_(built) {}

    void Build(const std::string& sourceName) {
        built_.id = source_.Header("id");
        built_.title = source_.Header("title");
        for (const char* key : {"id", "title", "stream", "engines", "years", "source", "link",
                                "baud", "header", "data", "checksum", "echo"}) {
            if (source_.Header(key).empty()) {
                Error(0, std::string("the header line \"") + key + ":\" is missing");
            }
        }
        Settings();
        built_.table = std::make_unique<ParameterTable>();
        built_.table->Reset();
        for (const SourceValue& value : source_.values) {
            Value(value);
        }
        for (const SourceFlag& flag : source_.flags) {
            Flag(flag);
        }
        for (const SourceNames& names : source_.names) {
            Names(names);
        }
        Headers(sourceName);
    }

  private:
    void Error(int line, const std::string& text) {
        built_.errors.push_back(line > 0 ? "Line " + std::to_string(line) + ": " + text : text);
    }

    int Integer(const char* key, int fallback) {
        const std::string text = source_.Header(key);
        int value = fallback;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (!text.empty() && (ec != std::errc() || end != text.data() + text.size())) {
            Error(0, std::string("\"") + key + ": " + text + "\" is not a whole number");
        }
        return value;
    }

    bool Flag(const char* key) {
        const std::string text = source_.Header(key);
        if (text != "yes" && text != "no" && !text.empty()) {
            Error(0, std::string("\"") + key + ": " + text + "\" is neither yes nor no");
        }
        return text == "yes";
    }

    void Settings() {
        LinkSettings& s = built_.settings;
        const std::string link = source_.Header("link");
        if (link == "talk-listen") {
            s.syncMode = SyncMode::TalkListen;
        } else if (link == "listen-only") {
            s.syncMode = SyncMode::ListenOnly;
        } else if (link == "aldl160") {
            s.syncMode = SyncMode::Aldl160;
        } else if (!link.empty()) {
            Error(0, "\"link: " + link + "\" is not talk-listen, listen-only or aldl160");
        }
        s.baudRate = Integer("baud", 8192);
        s.sampleRate = Integer("sample", 200);
        s.responseBytes = Integer("header", 0);
        s.dataBytes = Integer("data", 0);
        s.useCheckSum = Flag("checksum");
        s.requestEchoed = Flag("echo");
        if (s.dataBytes < 1 || s.dataBytes > kMaxDataBytes) {
            Error(0, "a frame holds 1 to 500 data bytes");
        }
        int sum = 0;
        const std::string typed = HexCommand("request", &sum);
        s.requestString = typed;
        if (s.syncMode == SyncMode::TalkListen && (typed.empty() || sum % 256 != 0)) {
            Error(0,
                  "the request's bytes must sum to 0 modulo 256 (its last byte is the checksum)");
        }
        if (s.syncMode == SyncMode::Aldl160 && !typed.empty()) {
            Error(0,
                  "an ALDL 160 stream has no request: the interface's start string is asked for");
        }
        s.startCommand = HexCommand("start", nullptr);
        s.stopCommand = HexCommand("stop", nullptr);
    }

    // "F4 57 01 00 B4" as the setup panel writes hex bytes: "$F4 $57 $01 $00 $B4".
    std::string HexCommand(const char* key, int* sum) {
        const std::string text = source_.Header(key);
        std::string typed;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(' ', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            const std::string token = text.substr(start, end - start);
            start = end + 1;
            if (token.empty()) {
                continue;
            }
            int byte = 0;
            const auto [last, ec] =
                std::from_chars(token.data(), token.data() + token.size(), byte, 16);
            if (token.size() != 2 || ec != std::errc() || last != token.data() + token.size()) {
                Error(0, "\"" + token + "\" in \"" + key + ":\" is not a hex byte");
                continue;
            }
            if (sum != nullptr) {
                *sum += byte;
            }
            typed += (typed.empty() ? "$" : " $") + token;
        }
        return typed;
    }

    // Marks the bytes a definition uses; false (after saying so) when one is taken or outside.
    bool Claim(int line, int position, int bytes) {
        if (bytes < 1 || bytes > 4 || position < 1 ||
            position + bytes - 1 > built_.settings.dataBytes) {
            Error(line, "position " + std::to_string(position) + " with " + std::to_string(bytes) +
                            " bytes lies outside the " + std::to_string(built_.settings.dataBytes) +
                            " data bytes");
            return false;
        }
        for (int p = position; p < position + bytes; ++p) {
            if (!claimed_.insert(p).second) {
                Error(line, "byte " + std::to_string(p) + " is defined twice");
                return false;
            }
        }
        return true;
    }

    std::string Formula(const SourceValue& value) {
        if (!value.formula.starts_with("table:")) {
            return value.formula;
        }
        const std::string name = value.formula.substr(6);
        const auto table = source_.tables.find(name);
        if (table == source_.tables.end()) {
            Error(value.line, "no table \"" + name + "\"");
            return {};
        }
        const std::optional<LookupFormula> lookup = BuildLookupFormula(table->second);
        if (!lookup) {
            Error(value.line, "table \"" + name + "\" needs 2 to 256 points with finite values");
            return {};
        }
        built_.lookupNotes.push_back(
            "position " + std::to_string(value.position) + ": table " + name + ", " +
            std::to_string(lookup->segments) + " segments, largest error " +
            TableNumberText(lookup->maxError, NumberPrecision::Significant));
        return lookup->formula;
    }

    void Value(const SourceValue& value) {
        if (!Claim(value.line, value.position, value.bytes)) {
            return;
        }
        if (value.description.empty() || value.description.find(',') != std::string::npos) {
            Error(value.line, "a value's description must be given and hold no comma");
        }
        const std::string formula = Formula(value);
        const CompiledFormula* compiled = formulas_.Prepare(formula);
        if (formula.empty() || !formulas_.BuildError(*compiled).className.empty()) {
            Error(value.line, "the formula \"" + formula + "\" cannot be built");
        }
        if (!value.role.empty() && !RoleFromName(value.role)) {
            Error(value.line, "\"" + value.role + "\" is no role");
        }
        ParameterRecord& record = built_.table->At(value.position);
        record.Descriptions[0] = value.description;
        record.SetFormula(formula);
        record.ByteCount = value.bytes;
        PositionDetails& details = built_.details.At(value.position);
        details.unit = value.unit;
        details.displayMin = value.minimum;
        details.displayMax = value.maximum;
        details.warnLow = value.warnLow;
        details.warnHigh = value.warnHigh;
        details.decimals = value.decimals;
        details.alarm = value.alarm;
        details.role = value.role;
    }

    void Flag(const SourceFlag& flag) {
        if (flag.bit < 0 || flag.bit > 7 || flag.description.empty()) {
            Error(flag.line, "a flag needs a bit 0 to 7 and a description");
            return;
        }
        if (!flagBytes_.contains(flag.position) && !Claim(flag.line, flag.position, 1)) {
            return;
        }
        flagBytes_.insert(flag.position);
        ParameterRecord& record = built_.table->At(flag.position);
        std::string& description = record.Descriptions[static_cast<std::size_t>(flag.bit)];
        if (!description.empty()) {
            Error(flag.line, "bit " + std::to_string(flag.bit) + " of position " +
                                 std::to_string(flag.position) + " is defined twice");
        }
        record.IsDigital = true;
        description = flag.description;
        if (flag.activeWhenClear || flag.alarm) {
            BitDetails& details = built_.details.AtBit(flag.position, flag.bit);
            details.activeWhenClear = flag.activeWhenClear;
            details.alarm = flag.alarm;
        }
    }

    void Names(const SourceNames& names) {
        const ParameterRecord* record = built_.table->Find(names.position);
        if (record == nullptr || record->IsDigital || record->Descriptions[0].empty()) {
            Error(names.line, "value names for position " + std::to_string(names.position) +
                                  ", which holds no value");
            return;
        }
        for (const auto& [number, name] : names.names) {
            built_.details.At(names.position).valueNames.push_back(ValueName{number, name});
        }
    }

    void Headers(const std::string& sourceName) {
        const DefinitionSource& s = source_;
        std::vector<std::string>& header = built_.parameterHeader;
        header.push_back("; " + built_.id + ": " + built_.title);
        if (built_.settings.syncMode == SyncMode::Aldl160) {
            header.push_back("; GM data stream " + s.Header("stream") +
                             ", 160 baud, read through an ALDL 160 interface: no request, " +
                             s.Header("data") + " data bytes");
        } else {
            header.push_back("; GM data stream " + s.Header("stream") + ", " + s.Header("baud") +
                             " baud, request " + s.Header("request") + ", " + s.Header("header") +
                             " header bytes, " + s.Header("data") + " data bytes");
        }
        for (const char* key : {"engines", "years", "ecm", "source", "confidence"}) {
            if (!s.Header(key).empty()) {
                std::string name = key;
                name[0] = static_cast<char>(name[0] - 'a' + 'A');
                header.push_back("; " + (name == "Ecm" ? std::string("ECM") : name) + ": " +
                                 s.Header(key));
            }
        }
        for (const std::string& note : s.notes) {
            header.push_back("; " + note);
        }
        header.push_back("; Made from the library source " + sourceName + ".");
        built_.detailsHeader = {"; Details of " + built_.id +
                                " (units, scales, limits), made from "
                                "the library source " +
                                sourceName + "."};

        DetailsSection& definition = built_.details.SectionAt(kDefinitionSection);
        for (const char* key :
             {"id", "title", "stream", "engines", "years", "ecm", "source", "confidence"}) {
            if (!s.Header(key).empty()) {
                definition.keys.emplace_back(key, s.Header(key));
            }
        }
        if (built_.settings.syncMode == SyncMode::Aldl160) {
            definition.keys.emplace_back(kStartStringKey, kStartStringNeeded);
        }
        for (const std::string& note : s.notes) {
            definition.keys.emplace_back("note", note);
        }
    }

    const DefinitionSource& source_;
    BuiltDefinition& built_;
    FormulaFrontEnd formulas_;
    std::set<int> claimed_;
    std::set<int> flagBytes_;
};

}  // namespace

BuiltDefinition BuildDefinition(const DefinitionSource& source, const std::string& sourceName,
                                const DashboardOptions& options) {
    BuiltDefinition built;
    built.errors = source.errors;
    Builder(source, built).Build(sourceName);
    if (built.errors.empty()) {
        built.dashboard = GenerateDashboard(*built.table, built.details, options);
    }
    return built;
}

}  // namespace vekaton
