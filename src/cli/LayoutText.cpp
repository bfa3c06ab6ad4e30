// The readable form of a layout file, close to how form files are written as text.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "cli/LayoutPrint.h"
#include "common/TextEncoding.h"

namespace vekaton::cli {
namespace {

std::string Indent(int level) {
    return std::string(static_cast<std::size_t>(level) * 2, ' ');
}

template <class T>
std::string NumberText(T value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// A count of ten-thousandths as an exact decimal.
std::string CurrencyText(std::int64_t count) {
    const bool negative = count < 0;
    const std::uint64_t magnitude =
        negative ? ~static_cast<std::uint64_t>(count) + 1 : static_cast<std::uint64_t>(count);
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    return fraction.empty() ? text : text + "." + fraction;
}

// Quoted as form text does: 'It''s' with control characters as #13 between the quotes.
std::string Quoted(const std::string& utf8) {
    std::string out;
    bool open = false;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
            if (open) {
                out += '\'';
                open = false;
            }
            out += "#" + std::to_string(byte);
            continue;
        }
        if (!open) {
            out += '\'';
            open = true;
        }
        out += c;
        if (c == '\'') {
            out += '\'';
        }
    }
    if (open) {
        out += '\'';
    }
    return out.empty() ? "''" : out;
}

std::string HexUpper(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
    return out;
}

void PrintProperties(const std::vector<StreamProperty>& properties, int level, std::ostream& out);

void PrintValue(const StreamValue& value, int level, std::ostream& out) {
    switch (value.Type()) {
        case StreamType::Null:
            out << "Null";
            return;
        case StreamType::Nil:
            out << "nil";
            return;
        case StreamType::False:
            out << "False";
            return;
        case StreamType::True:
            out << "True";
            return;
        case StreamType::Int8:
        case StreamType::Int16:
        case StreamType::Int32:
        case StreamType::Int64:
            out << value.AsInteger();
            return;
        case StreamType::Currency:
            out << CurrencyText(value.AsInteger());
            return;
        case StreamType::Single:
            out << NumberText(static_cast<float>(*value.AsNumber()));
            return;
        case StreamType::Extended:
        case StreamType::Date:
        case StreamType::Double:
            out << NumberText(*value.AsNumber());
            return;
        case StreamType::String:
        case StreamType::LString:
        case StreamType::WString:
        case StreamType::Utf8String:
            out << Quoted(value.Utf8());
            return;
        case StreamType::Ident:
            out << value.Utf8();
            return;
        case StreamType::Binary:
            out << "{" << HexUpper(value.Content()) << "}";
            return;
        case StreamType::Set: {
            out << "[";
            const char* separator = "";
            for (const std::string& member : value.Members()) {
                out << separator << Cp1252ToUtf8(member);
                separator = ", ";
            }
            out << "]";
            return;
        }
        case StreamType::List:
            out << "(";
            for (const StreamValue& element : value.Elements()) {
                out << "\n" << Indent(level + 1);
                PrintValue(element, level + 1, out);
            }
            out << ")";
            return;
        case StreamType::Collection:
            out << "<";
            for (const CollectionItem& item : value.Items()) {
                out << "\n" << Indent(level + 1) << "item";
                if (item.order) {
                    out << " [" << item.order->AsInteger() << "]";
                }
                out << "\n";
                PrintProperties(item.properties, level + 2, out);
                out << Indent(level + 1) << "end";
            }
            out << ">";
            return;
    }
}

void PrintProperties(const std::vector<StreamProperty>& properties, int level, std::ostream& out) {
    for (const StreamProperty& property : properties) {
        out << Indent(level) << Cp1252ToUtf8(property.name) << " = ";
        PrintValue(property.value, level, out);
        out << "\n";
    }
}

void PrintComponent(const StreamComponent& component, int level, std::ostream& out) {
    const char* keyword = (component.flags & kFlagInline) != 0      ? "inline"
                          : (component.flags & kFlagInherited) != 0 ? "inherited"
                                                                    : "object";
    out << Indent(level) << keyword << " " << Cp1252ToUtf8(component.name) << ": "
        << Cp1252ToUtf8(component.className);
    if (component.childPos) {
        out << " [" << component.childPos->AsInteger() << "]";
    }
    out << "\n";
    PrintProperties(component.properties, level + 1, out);
    for (const StreamComponent& child : component.children) {
        PrintComponent(child, level + 1, out);
    }
    out << Indent(level) << "end\n";
}

}  // namespace

void PrintLayoutText(const LayoutParse& layout, std::ostream& out) {
    for (const StreamComponent& record : layout.records) {
        PrintComponent(record, 0, out);
    }
    if (layout.trailer) {
        const LayoutTrailer& t = *layout.trailer;
        out << "trailer\n"
            << "  Left = " << t.left << "\n"
            << "  Top = " << t.top << "\n"
            << "  Right = " << t.right << "\n"
            << "  Bottom = " << t.bottom << "\n"
            << "  Color = " << t.colour << "\n"
            << "  Page = " << t.page << "\n"
            << "end\n";
    }
}

}  // namespace vekaton::cli
