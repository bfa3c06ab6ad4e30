#include "definitions/FlagBits.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"

namespace vekaton {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

bool HasAny(const std::string& text, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(),
                       [&text](std::string_view word) { return text.find(word) != text.npos; });
}

// What a driver or tuner watches rank above the inner workings of the module.
int PriorityOf(const std::string& text) {
    if (HasAny(text, {"closed loop",  "engine running", "rich",         "a/c",   "fan",   "tcc",
                      "park",         "neutral",        "gear",         "learn", "decel", "dfco",
                      "power enrich", "knock",          "purge",        "egr",   "shift", "brake",
                      "cruise",       "vats",           "check engine", "malfs", "drive", "reverse",
                      "four-wheel",   "overtemp",       "idle"})) {
        return 2;
    }
    if (HasAny(text, {"flag", "first time", "1st", "bypass", "loop timing", "interrupt", "exercise",
                      "hyst", "flip", "spi", "irq", "port", "chip address", "minor loop", "toggle",
                      "steer", "handshake", "pending", "transmit"})) {
        return 0;
    }
    return 1;
}

struct Match {
    std::initializer_list<std::string_view> anyOf;
    std::initializer_list<std::string_view> noneOf;
};

std::optional<FlagBit> Find(const std::vector<FlagBit>& bits, const Match& match) {
    for (const FlagBit& bit : bits) {
        const std::string text = Lower(bit.caption);
        if (!bit.code && HasAny(text, match.anyOf) && !HasAny(text, match.noneOf)) {
            return bit;
        }
    }
    return std::nullopt;
}

const Match kClosedLoop{{"closed loop"},
                        {"timer", "once", "since", "idle", "first", "quasi", "reset", "least",
                         "for ", "before", "field"}};
const Match kRunning{{"engine running"}, {"fuel", "time"}};
const Match kMalfunctions{
    {"check engine light on", "malfs have occurred", "malfunctions have occurred"},
    {"delay", "transmission"}};
const Match kRich{{"rich"}, {"slow", "sensor"}};
const Match kLearn{{"learn enabled", "learn control enabled", "learn enable"}, {"ismnmpka"}};
const Match kDecel{{"decel fuel cut-off active", "decel fuel cut-off enabled",
                    "decel fuel cut-off (dfco) active", "dfco) active"},
                   {"spark", "iac", "tps"}};
const Match kPower{{"power enrichment active", "power enrichment (pe) active"}, {"delay"}};

}  // namespace

std::vector<FlagBit> UsedFlagBits(const ParameterTable& table, const DetailsTable& details) {
    std::vector<FlagBit> bits;
    for (int position = ParameterTable::kFirstPosition; position <= ParameterTable::kLastPosition;
         ++position) {
        const ParameterRecord& record = table.At(position);
        if (!record.IsDigital) {
            continue;
        }
        for (int bit = 0; bit < 8; ++bit) {
            const std::string& description = record.Descriptions[static_cast<std::size_t>(bit)];
            const std::string text = Lower(description);
            if (description.empty() || HasAny(text, {"not used", "not listed"})) {
                continue;
            }
            FlagBit flag;
            flag.position = position;
            flag.bit = bit;
            flag.caption = description;
            flag.caption[0] = static_cast<char>(flag.caption[0] >= 'a' && flag.caption[0] <= 'z'
                                                    ? flag.caption[0] - 'a' + 'A'
                                                    : flag.caption[0]);
            flag.code = text.starts_with("code ") || text.starts_with("dtc ");
            if (const BitDetails* info = details.FindBit(position, bit)) {
                flag.activeWhenClear = info->activeWhenClear;
                flag.alarm = info->alarm;
            }
            flag.priority = PriorityOf(text);
            bits.push_back(std::move(flag));
        }
    }
    return bits;
}

std::vector<FlagBit> KeyFlags(const std::vector<FlagBit>& bits, FlagPurpose purpose) {
    std::vector<FlagBit> found;
    const std::vector<const Match*> wanted =
        purpose == FlagPurpose::Engine
            ? std::vector<const Match*>{&kClosedLoop, &kRunning, &kMalfunctions}
            : std::vector<const Match*>{&kClosedLoop, &kRich, &kLearn, &kDecel, &kPower};
    for (const Match* match : wanted) {
        if (std::optional<FlagBit> bit = Find(bits, *match)) {
            found.push_back(std::move(*bit));
        }
    }
    return found;
}

namespace {

// Lays the groups out; false when they need more columns than there are.
bool Lay(const std::vector<std::pair<std::string, std::vector<const FlagBit*>>>& groups,
         int columns, int top, int bottom, int pitch, int headingHeight,
         std::vector<FlagPlace>& places) {
    places.clear();
    int column = 0;
    int y = top;
    for (const auto& [heading, members] : groups) {
        if (members.empty()) {
            continue;
        }
        if (y > top && y + headingHeight + pitch > bottom) {
            ++column;
            y = top;
        }
        places.push_back(FlagPlace{column, y, nullptr, heading});
        y += headingHeight;
        for (const FlagBit* bit : members) {
            if (y + pitch > bottom) {
                ++column;
                y = top;
            }
            places.push_back(FlagPlace{column, y, bit, {}});
            y += pitch;
        }
        y += pitch / 2;
    }
    return column < columns;
}

}  // namespace

std::vector<FlagPlace> PlaceFlags(const std::vector<FlagBit>& bits, int columns, int top,
                                  int bottom, int ledPitch, int headingHeight) {
    std::vector<const FlagBit*> codes;
    std::vector<const FlagBit*> status;
    for (const FlagBit& bit : bits) {
        (bit.code ? codes : status).push_back(&bit);
    }
    std::vector<FlagPlace> places;
    while (true) {
        const std::vector<std::pair<std::string, std::vector<const FlagBit*>>> groups = {
            {"Malfunction codes", codes}, {"Status flags", status}};
        if (Lay(groups, columns, top, bottom, ledPitch, headingHeight, places)) {
            return places;
        }
        std::vector<const FlagBit*>& from = status.empty() ? codes : status;
        if (from.empty()) {
            return {};
        }
        // The last of the lowest priority goes first.
        auto drop = from.end() - 1;
        for (auto it = from.end(); it != from.begin();) {
            --it;
            if ((*it)->priority < (*drop)->priority) {
                drop = it;
            }
        }
        from.erase(drop);
    }
}

}  // namespace vekaton
