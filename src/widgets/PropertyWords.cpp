#include "widgets/PropertyWords.h"

#include <array>
#include <cctype>
#include <utility>

namespace vekaton {
namespace {

using Words = std::pair<std::string_view, std::string_view>;

// Names whose split words would still read like code.
constexpr std::array kLabels{
    Words{"Color", "Background colour"},
    Words{"Font.Color", "Text colour"},
    Words{"Font.Height", "Text height"},
    Words{"Font.Name", "Font"},
    Words{"Font.Style", "Font style"},
    Words{"Alignment", "Text alignment"},
    Words{"BevelOuter", "Bevel"},
    Words{"AutoSize", "Size follows the text"},
    Words{"ArcAngle", "Arc angle (degrees)"},
    Words{"ShowMinMax", "Show min/max markers"},
    Words{"ShowValue", "Show the value"},
    Words{"ShowLegend", "Show the legend"},
    Words{"YMinimum", "Value axis minimum"},
    Words{"YMaximum", "Value axis maximum"},
    Words{"WindowSeconds", "Seconds shown"},
    Words{"AutoInactiveColor", "Dim the off colour automatically"},
    Words{"AutoOffColor", "Dim the off colour automatically"},
    Words{"PositionCount", "Number of positions"},
    Words{"LeadingZeros", "Leading zeros"},
    Words{"DecimalColor", "Decimal point colour"},
    Words{"TraceWidth", "Line width"},
};

constexpr std::array kChoices{
    Words{"taLeftJustify", "Left"},     Words{"taRightJustify", "Right"},
    Words{"taCenter", "Centre"},        Words{"bvNone", "None"},
    Words{"bvLowered", "Lowered"},      Words{"bvRaised", "Raised"},
    Words{"fsStrikeOut", "Strike-out"},
};

constexpr std::array kColours{
    Words{"clBtnFace", "Button face"},
    Words{"clBtnText", "Button text"},
    Words{"clBtnHighlight", "Button highlight"},
    Words{"clBtnShadow", "Button shadow"},
    Words{"clInfoBk", "Tooltip background"},
    Words{"clInfoText", "Tooltip text"},
    Words{"clMedGray", "Medium grey"},
    Words{"clGray", "Grey"},
    Words{"clGrayText", "Grey text"},
    Words{"clAppWorkSpace", "Application background"},
    Words{"clNone", "None"},
};

template <std::size_t N>
const std::string_view* Find(const std::array<Words, N>& table, std::string_view key) {
    for (const Words& words : table) {
        if (words.first == key) {
            return &words.second;
        }
    }
    return nullptr;
}

bool IsUpper(char c) {
    return std::isupper(static_cast<unsigned char>(c)) != 0;
}
bool IsLower(char c) {
    return std::islower(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Words out of a PascalCase name: a word starts at a capital after a small letter or a digit,
// at a digit after a letter, and at a dot; only the first word keeps its capital, and
// "Color" is spelt "colour".
std::string SplitWords(std::string_view name) {
    std::string text;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '.' || c == '_') {
            if (!text.empty() && text.back() != ' ') {
                text += ' ';
            }
            continue;
        }
        const char before = i > 0 ? name[i - 1] : '\0';
        const char after = i + 1 < name.size() ? name[i + 1] : '\0';
        const bool startsWord =
            !text.empty() && text.back() != ' ' &&
            ((IsUpper(c) && (IsLower(before) || IsDigit(before))) ||
             (IsUpper(c) && IsUpper(before) && IsLower(after)) || (IsDigit(c) && !IsDigit(before)));
        if (startsWord) {
            text += ' ';
        }
        // A run of capitals (an abbreviation such as "LED") keeps them.
        const bool abbreviation =
            IsUpper(c) && (IsUpper(after) || (IsUpper(before) && !IsLower(after)));
        text += text.empty() || abbreviation ? c : Lower(c);
    }
    std::string spelt;
    std::size_t from = 0;
    for (std::size_t at = text.find("olor", from); at != std::string::npos;
         at = text.find("olor", from)) {
        spelt.append(text, from, at - from);
        spelt += "olour";
        from = at + 4;
    }
    spelt.append(text, from);
    return spelt;
}

// "taRightJustify" -> "RightJustify": the small letters in front name the enumeration.
std::string_view WithoutPrefix(std::string_view identifier) {
    std::size_t i = 0;
    while (i < identifier.size() && IsLower(identifier[i])) {
        ++i;
    }
    return i > 0 && i < identifier.size() ? identifier.substr(i) : identifier;
}

}  // namespace

std::string PropertyLabel(std::string_view name) {
    if (const std::string_view* label = Find(kLabels, name)) {
        return std::string(*label);
    }
    return SplitWords(name);
}

std::string ChoiceLabel(std::string_view identifier) {
    if (const std::string_view* label = Find(kChoices, identifier)) {
        return std::string(*label);
    }
    return SplitWords(WithoutPrefix(identifier));
}

std::string ColourLabel(std::string_view identifier) {
    if (const std::string_view* label = Find(kColours, identifier)) {
        return std::string(*label);
    }
    return SplitWords(WithoutPrefix(identifier));
}

}  // namespace vekaton
