#include "dashboard/GaugeList.h"

#include <optional>

#include "common/AsciiCase.h"
#include "common/IntConversion.h"
#include "common/MessageText.h"
#include "common/NoteList.h"
#include "common/TextLines.h"
#include "dashboard/ItemKinds.h"

namespace vekaton {
namespace {

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string LineWarning(std::size_t line, std::string_view what) {
    return "Line " + std::to_string(line) + ": " + std::string(what);
}

// Splits at the first comma: the text before it, and after it (nothing when there is none).
std::pair<std::string_view, std::optional<std::string_view>> SplitComma(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return {text, std::nullopt};
    }
    return {text.substr(0, comma), text.substr(comma + 1)};
}

class GaugeListReader {
  public:
    explicit GaugeListReader(std::string_view text) : lines_(text) {}

    GaugeListParse Read() {
        while (!lines_.AtEnd()) {
            const std::string_view line = lines_.Next();
            const std::size_t number = lines_.LinesTaken();
            if (IsBlankLine(line)) {
                continue;
            }
            if (result_.entries.size() < kMaxGaugeListEntries) {
                ReadEntry(line, number);
            } else {
                LeaveOut(line, number);
            }
        }
        result_.warnings = warnings_.Lines("lines that were not read whole");
        if (leftOut_ > 0) {
            result_.warnings.push_back(LineWarning(
                firstLeftOut_, std::to_string(leftOut_) + (leftOut_ == 1 ? " line" : " lines") +
                                   " after the " + std::to_string(kMaxGaugeListEntries) +
                                   " entries a dashboard can hold " +
                                   (leftOut_ == 1 ? "was" : "were") +
                                   " left out: " + NamedExamples(leftOutNames_, leftOut_) + "."));
        }
        return std::move(result_);
    }

  private:
    static constexpr std::size_t kNamesLeftOut = 3;

    void Warn(std::size_t line, std::string_view what) {
        warnings_.AddLazy([&] { return LineWarning(line, what); });
    }

    // A line past the most entries a dashboard holds: counted, and named when among the first.
    void LeaveOut(std::string_view line, std::size_t number) {
        if (leftOut_++ == 0) {
            firstLeftOut_ = number;
        }
        if (leftOutNames_.size() < kNamesLeftOut) {
            leftOutNames_.push_back("\"" + QuoteText(SplitComma(line).first) + "\"");
        }
    }

    void ReadEntry(std::string_view line, std::size_t number) {
        const auto [name, afterName] = SplitComma(line);
        if (name.size() > kMaxItemNameBytes) {
            Warn(number, "a name of " + std::to_string(name.size()) +
                             " bytes is longer than any item's name (at most " +
                             std::to_string(kMaxItemNameBytes) + "); the entry was not read");
            return;
        }
        GaugeListEntry entry;
        entry.name = std::string(name);
        entry.kind = GaugeEntryKindOf(name);
        if (entry.kind == GaugeEntryKind::ResetButton) {
            // The presets belong to the button even when its own line is damaged.
            ReadPresets(entry, number);
        }
        if (name.empty() || !afterName) {
            Warn(number, name.empty() ? "an entry without a name was not read"
                                      : "\"" + QuoteText(name) +
                                            "\" has no page number; the entry was not read");
            return;
        }
        const auto [pageText, afterPage] = SplitComma(*afterName);
        const auto page = TryStrToInt(pageText);
        if (!page) {
            Warn(number, "the page of \"" + QuoteText(entry.name) + "\" is " +
                             InvalidIntegerMessage(pageText) + "; the entry was not read");
            return;
        }
        entry.page = *page;
        switch (entry.kind) {
            case GaugeEntryKind::Label:
                if (afterPage && !afterPage->empty()) {
                    Warn(number, "the text after the page of label \"" + QuoteText(entry.name) +
                                     "\" was not kept");
                }
                break;
            case GaugeEntryKind::ResetButton:
                entry.idList = std::string(afterPage.value_or(std::string_view()));
                break;
            case GaugeEntryKind::Item:
                if (!ReadBinding(entry, afterPage.value_or(std::string_view()), number)) {
                    return;
                }
                break;
        }
        result_.entries.push_back(std::move(entry));
    }

    bool ReadBinding(GaugeListEntry& entry, std::string_view text, std::size_t number) {
        const auto [positionText, afterPosition] = SplitComma(text);
        const auto [bitText, afterBit] = SplitComma(afterPosition.value_or(std::string_view()));
        const std::string_view holdText = afterBit.value_or(std::string_view());
        const auto position = TryStrToInt(positionText);
        const auto bit = TryStrToInt(bitText);
        const auto hold = TryStrToInt(holdText);
        if (!afterPosition || !afterBit) {
            Warn(number, "\"" + QuoteText(entry.name) +
                             "\" needs position, bit and hold mode; the entry was not read");
            return false;
        }
        if (!position || !bit || !hold) {
            const std::string_view bad = !position ? positionText : !bit ? bitText : holdText;
            Warn(number, "in the entry of \"" + QuoteText(entry.name) + "\", " +
                             InvalidIntegerMessage(bad) + "; the entry was not read");
            return false;
        }
        entry.position = *position;
        entry.bit = *bit;
        entry.holdMode = *hold;
        return true;
    }

    // The two lines after a reset button. A line that holds a comma is taken for the next entry
    // rather than a preset, so one missing preset does not cost the entry after it.
    void ReadPresets(GaugeListEntry& entry, std::size_t buttonLine) {
        for (int* preset : {&entry.minPreset, &entry.maxPreset}) {
            const char* which = preset == &entry.minPreset ? "minimum" : "maximum";
            if (lines_.AtEnd()) {
                Warn(buttonLine, "the " + std::string(which) + " preset of \"" +
                                     QuoteText(entry.name) + "\" is missing; " +
                                     std::to_string(*preset) + " is used");
                continue;
            }
            const std::string_view line = lines_.Peek();
            if (const auto value = TryStrToInt(line)) {
                *preset = *value;
                lines_.Next();
                continue;
            }
            if (line.find(',') != std::string_view::npos) {
                Warn(buttonLine, "the " + std::string(which) + " preset of \"" +
                                     QuoteText(entry.name) + "\" is missing; " +
                                     std::to_string(*preset) + " is used");
                continue;
            }
            lines_.Next();
            Warn(lines_.LinesTaken(),
                 "the " + std::string(which) + " preset of \"" + QuoteText(entry.name) + "\" is " +
                     InvalidIntegerMessage(line) + "; " + std::to_string(*preset) + " is used");
        }
    }

    LineCursor lines_;
    GaugeListParse result_;
    NoteList warnings_;
    std::size_t leftOut_ = 0;
    std::size_t firstLeftOut_ = 0;
    std::vector<std::string> leftOutNames_;
};

}  // namespace

GaugeEntryKind GaugeEntryKindOf(std::string_view name) {
    if (StartsWithNoCase(name, ItemNamePrefix(ItemKind::Label))) {
        return GaugeEntryKind::Label;
    }
    if (StartsWithNoCase(name, ItemNamePrefix(ItemKind::ResetButton))) {
        return GaugeEntryKind::ResetButton;
    }
    return GaugeEntryKind::Item;
}

GaugeListParse ParseGaugeList(std::string_view text) {
    return GaugeListReader(text).Read();
}

std::string FormatGaugeList(const std::vector<GaugeListEntry>& entries) {
    std::vector<std::string> lines;
    for (const GaugeListEntry& entry : entries) {
        const std::string head = OneLine(entry.name) + "," + std::to_string(entry.page) + ",";
        switch (entry.kind) {
            case GaugeEntryKind::Label:
                lines.push_back(head);
                break;
            case GaugeEntryKind::ResetButton:
                lines.push_back(head + OneLine(entry.idList));
                lines.push_back(std::to_string(entry.minPreset));
                lines.push_back(std::to_string(entry.maxPreset));
                break;
            case GaugeEntryKind::Item: {
                const int hold = entry.holdMode >= 0 && entry.holdMode <= 2 ? entry.holdMode : 0;
                lines.push_back(head + std::to_string(entry.position) + "," +
                                std::to_string(entry.bit) + "," + std::to_string(hold));
                break;
            }
        }
    }
    return JoinLinesCrLf(lines);
}

}  // namespace vekaton
