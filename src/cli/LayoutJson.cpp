// The JSON form of a layout file: every value with its type code, nothing rounded.
#include <array>
#include <charconv>
#include <cmath>
#include <ostream>
#include <string>

#include "cli/LayoutPrint.h"
#include "common/TextEncoding.h"

namespace vekaton::cli {
namespace {

// A JSON string of UTF-8 text.
std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    out.reserve(utf8.size() + 2);
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    static constexpr char kDigits[] = "0123456789abcdef";
                    out += "\\u00";
                    out += kDigits[byte >> 4];
                    out += kDigits[byte & 0x0F];
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string Latin1String(const std::string& bytes) {
    return JsonString(Latin1ToUtf8(bytes));
}

std::string HexLower(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
    return out + "\"";
}

// The shortest text that reads back to exactly this double; null where JSON has no number.
std::string ExactNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

void Properties(const std::vector<StreamProperty>& properties, std::ostream& out);

// Written as it goes: a list of many values never becomes one string.
void Value(const StreamValue& value, std::ostream& out) {
    out << "{\"type\": " << static_cast<int>(value.Type()) << ", \"value\": ";
    switch (value.Type()) {
        case StreamType::Null:
        case StreamType::False:
        case StreamType::True:
        case StreamType::Nil:
            out << "null";
            break;
        case StreamType::Int8:
        case StreamType::Int16:
        case StreamType::Int32:
        case StreamType::Int64:
        case StreamType::Currency:
            out << value.AsInteger();
            break;
        case StreamType::String:
        case StreamType::Ident:
        case StreamType::LString:
            out << Latin1String(value.Content());
            break;
        case StreamType::Utf8String:
        case StreamType::WString:
            out << JsonString(value.Utf8());
            break;
        case StreamType::Extended:
        case StreamType::Binary:
            out << HexLower(value.Content());
            break;
        case StreamType::Single:
        case StreamType::Date:
        case StreamType::Double:
            out << ExactNumber(*value.AsNumber());
            break;
        case StreamType::Set: {
            out << "[";
            const char* separator = "";
            for (const std::string& member : value.Members()) {
                out << separator << Latin1String(member);
                separator = ", ";
            }
            out << "]";
            break;
        }
        case StreamType::List: {
            out << "[";
            const char* separator = "";
            for (const StreamValue& element : value.Elements()) {
                out << separator;
                Value(element, out);
                separator = ", ";
            }
            out << "]";
            break;
        }
        case StreamType::Collection: {
            out << "[";
            const char* separator = "";
            for (const CollectionItem& item : value.Items()) {
                out << separator << "{\"order\": ";
                if (item.order) {
                    Value(*item.order, out);
                } else {
                    out << "null";
                }
                out << ", \"properties\": ";
                Properties(item.properties, out);
                out << "}";
                separator = ", ";
            }
            out << "]";
            break;
        }
    }
    out << "}";
}

void Properties(const std::vector<StreamProperty>& properties, std::ostream& out) {
    out << "[";
    const char* separator = "";
    for (const StreamProperty& property : properties) {
        out << separator << "[" << Latin1String(property.name) << ", ";
        Value(property.value, out);
        out << "]";
        separator = ", ";
    }
    out << "]";
}

std::string Indent(int level) {
    return std::string(static_cast<std::size_t>(level) * 2, ' ');
}

// One component over several lines (one property per line), so that two dashboards compare
// well line by line.
void PrintComponent(const StreamComponent& component, int level, std::ostream& out) {
    const std::string in = Indent(level + 1);
    out << "{\n"
        << in << "\"class\": " << Latin1String(component.className) << ",\n"
        << in << "\"name\": " << Latin1String(component.name) << ",\n"
        << in << "\"flags\": " << static_cast<int>(component.flags) << ",\n"
        << in << "\"childPos\": "
        << (component.childPos ? std::to_string(component.childPos->AsInteger()) : "null") << ",\n"
        << in << "\"properties\": [";
    const char* separator = "";
    for (const StreamProperty& property : component.properties) {
        out << separator << "\n" << Indent(level + 2) << "[" << Latin1String(property.name) << ", ";
        Value(property.value, out);
        out << "]";
        separator = ",";
    }
    out << (component.properties.empty() ? "" : "\n" + in) << "],\n" << in << "\"children\": [";
    separator = "";
    for (const StreamComponent& child : component.children) {
        out << separator << "\n" << Indent(level + 2);
        PrintComponent(child, level + 2, out);
        separator = ",";
    }
    out << (component.children.empty() ? "" : "\n" + in) << "]\n" << Indent(level) << "}";
}

}  // namespace

void PrintLayoutJson(const LayoutParse& layout, std::ostream& out) {
    out << "{\n  \"records\": [";
    const char* separator = "";
    for (const StreamComponent& record : layout.records) {
        out << separator << "\n    ";
        PrintComponent(record, 2, out);
        separator = ",";
    }
    out << (layout.records.empty() ? "" : "\n  ") << "],\n  \"trailer\": ";
    if (layout.trailer) {
        const LayoutTrailer& t = *layout.trailer;
        out << "{\"left\": " << t.left << ", \"top\": " << t.top << ", \"right\": " << t.right
            << ", \"bottom\": " << t.bottom << ", \"color\": " << t.colour
            << ", \"page\": " << t.page << "}";
    } else {
        out << "null";
    }
    out << "\n}\n";
}

}  // namespace vekaton::cli
