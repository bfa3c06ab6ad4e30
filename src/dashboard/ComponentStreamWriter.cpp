#include "dashboard/ComponentStream.h"

namespace vekaton {
namespace {

constexpr std::size_t kMaxShortLength = 255;
constexpr std::size_t kMaxClassNameLength = 239;
constexpr std::uint64_t kMaxLongLength = 0xFFFFFFFFULL;

struct WriteFault {
    std::string message;
};

class StreamWriter {
  public:
    explicit StreamWriter(std::string& out) : out_(out) {}

    void Record(const StreamComponent& component) {
        out_ += kStreamSignature;
        Component(component, 0);
    }

  private:
    [[noreturn]] static void Fail(std::string message) { throw WriteFault{std::move(message)}; }

    void Code(StreamType type) { out_ += static_cast<char>(type); }

    void ShortString(const std::string& text, std::size_t maximum, const std::string& what) {
        if (text.size() > maximum) {
            Fail(what + " of " + std::to_string(text.size()) + " bytes is longer than " +
                 std::to_string(maximum));
        }
        out_ += static_cast<char>(text.size());
        out_ += text;
    }

    void UInt32(std::uint64_t value, const char* what) {
        if (value > kMaxLongLength) {
            Fail(std::string(what) + " is too long for the stream format");
        }
        for (int i = 0; i < 4; ++i) {
            out_ += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    }

    // Level 0 is the record's component; the reader counts one more for each.
    void Depth(int level) {
        if (level >= kMaxStreamDepth) {
            Fail("nesting deeper than " + std::to_string(kMaxStreamDepth) + " levels");
        }
    }

    void Component(const StreamComponent& component, int level) {
        Depth(level);
        const bool wantsPosition = (component.flags & kFlagChildPos) != 0;
        if (component.flags > 0x0F) {
            Fail("prefix flags " + std::to_string(component.flags) + " do not fit in four bits");
        }
        if ((component.flags != 0 || component.childPos) && !component.hasPrefix) {
            Fail("flags of \"" + component.name + "\" need the prefix byte");
        }
        if (wantsPosition != component.childPos.has_value()) {
            Fail("the child position of \"" + component.name + "\" does not agree with its flags");
        }
        if (component.hasPrefix) {
            out_ += static_cast<char>(0xF0 | component.flags);
            if (component.childPos) {
                const StreamType type = component.childPos->Type();
                if (type != StreamType::Int8 && type != StreamType::Int16 &&
                    type != StreamType::Int32) {
                    Fail("the child position of \"" + component.name + "\" is not an integer");
                }
                Value(*component.childPos, level + 1);
            }
        }
        // Without the prefix a class name's length byte of 0xF0 or more would read as one.
        ShortString(component.className,
                    component.hasPrefix ? kMaxShortLength : kMaxClassNameLength, "a class name");
        ShortString(component.name, kMaxShortLength, "a component name");
        Properties(component.properties, level + 1);
        for (const StreamComponent& child : component.children) {
            Component(child, level + 1);
        }
        out_ += '\0';
    }

    void Properties(const std::vector<StreamProperty>& properties, int level) {
        for (const StreamProperty& property : properties) {
            if (property.name.empty()) {
                Fail("a property without a name cannot be written");
            }
            ShortString(property.name, kMaxShortLength,
                        "the property name \"" + property.name.substr(0, 40) + "\"");
            Value(property.value, level);
        }
        out_ += '\0';
    }

    void Value(const StreamValue& value, int level) {
        Depth(level);
        const StreamType type = value.Type();
        const std::string& content = value.Content();
        switch (type) {
            case StreamType::String:
                if (content.size() > kMaxShortLength) {
                    // Only a hand-made value can be this long; the long form holds it.
                    Code(StreamType::LString);
                    UInt32(content.size(), "a string");
                    out_ += content;
                    return;
                }
                Code(type);
                ShortString(content, kMaxShortLength, "a string");
                return;
            case StreamType::Ident:
                Code(type);
                ShortString(content, kMaxShortLength, "an identifier");
                return;
            case StreamType::Binary:
            case StreamType::LString:
            case StreamType::Utf8String:
                Code(type);
                UInt32(content.size(), "a value");
                out_ += content;
                return;
            case StreamType::WString:
                Code(type);
                UInt32(content.size() / 2, "a wide string");
                out_ += content;
                return;
            case StreamType::Set:
                Code(type);
                for (const std::string& member : value.Members()) {
                    if (member.empty()) {
                        Fail("an empty set member would end the set");
                    }
                    ShortString(member, kMaxShortLength, "a set member");
                }
                out_ += '\0';
                return;
            case StreamType::List:
                Code(type);
                for (const StreamValue& element : value.Elements()) {
                    if (element.Type() == StreamType::Null) {
                        Fail("a list cannot hold a null value");
                    }
                    Value(element, level + 1);
                }
                out_ += '\0';
                return;
            case StreamType::Collection:
                Code(type);
                for (const CollectionItem& item : value.Items()) {
                    if (item.order) {
                        const StreamType orderType = item.order->Type();
                        if (orderType != StreamType::Int8 && orderType != StreamType::Int16 &&
                            orderType != StreamType::Int32) {
                            Fail("a collection item's order is not an integer");
                        }
                        Value(*item.order, level + 1);
                    }
                    Code(StreamType::List);
                    Properties(item.properties, level + 2);
                }
                out_ += '\0';
                return;
            default:
                // Fixed-size types: the content is exactly the stored bytes.
                Code(type);
                out_ += content;
                return;
        }
    }

    std::string& out_;
};

}  // namespace

std::optional<std::string> WriteComponentRecord(const StreamComponent& component,
                                                std::string& out) {
    const std::size_t before = out.size();
    try {
        StreamWriter(out).Record(component);
    } catch (const WriteFault& fault) {
        out.resize(before);
        return "Could not write component \"" + component.name + "\": " + fault.message;
    }
    return std::nullopt;
}

}  // namespace vekaton
