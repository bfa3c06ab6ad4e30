#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dashboard/ExtendedFloat.h"

namespace vekaton {

// The value type codes of the component stream format. Each value is its code byte followed by
// its content (integers and floats little-endian).
enum class StreamType : std::uint8_t {
    Null = 0,         // no content; also the byte that ends lists and property lists
    List = 1,         // values, ended by a 0 byte
    Int8 = 2,         // 1 byte
    Int16 = 3,        // 2 bytes
    Int32 = 4,        // 4 bytes
    Extended = 5,     // 10 bytes, see ExtendedFloat.h
    String = 6,       // length byte and bytes (Windows-1252)
    Ident = 7,        // length byte and bytes: enumeration values, colour names, handlers
    False = 8,        // no content
    True = 9,         // no content
    Binary = 10,      // 32-bit length and bytes
    Set = 11,         // identifiers (length byte and bytes), ended by an empty one
    LString = 12,     // 32-bit length and bytes (Windows-1252)
    Nil = 13,         // no content
    Collection = 14,  // items (optional order value, a list of properties), ended by a 0 byte
    Single = 15,      // 4-byte float
    Currency = 16,    // 64-bit count of ten-thousandths
    Date = 17,        // 8-byte float
    WString = 18,     // 32-bit count of UTF-16 code units and the units
    Int64 = 19,       // 8 bytes
    Utf8String = 20,  // 32-bit length and UTF-8 bytes
    Double = 21,      // 8-byte float
};
inline constexpr int kLastStreamType = 21;

struct StreamProperty;
struct CollectionItem;

// One value of a component stream, kept as its type code and its content exactly as stored, so
// that a value read from a file is written back byte for byte. The factories build the values a
// writer makes; FromContent rebuilds what a reader found.
class StreamValue {
  public:
    StreamValue() = default;  // Null

    static StreamValue Null();
    static StreamValue Nil();
    static StreamValue Boolean(bool value);
    // In the smallest of Int8, Int16, Int32 and Int64 that holds it.
    static StreamValue Integer(std::int64_t value);
    // Exactly this integer type (Int8, Int16, Int32, Int64); nothing when the value does not fit.
    static std::optional<StreamValue> IntegerOfType(StreamType type, std::int64_t value);
    static StreamValue Extended(const ExtendedBytes& bytes);
    static StreamValue Float(double value);  // as Extended
    static StreamValue Single(float value);
    static StreamValue Double(double value);
    static StreamValue Date(double value);
    static StreamValue Currency(std::int64_t tenThousandths);
    // UTF-8 text: String (up to 255 bytes) or LString in Windows-1252 when every character has
    // a byte there, otherwise WString.
    static StreamValue Text(std::string_view utf8);
    static StreamValue WideText(std::string_view utf8);  // always WString
    static StreamValue Utf8Text(std::string_view utf8);  // always Utf8String
    // Identifiers and set members are kept as bytes of at most 255.
    static std::optional<StreamValue> Identifier(std::string_view bytes);
    static std::optional<StreamValue> Set(std::vector<std::string> members);
    static StreamValue Binary(std::string bytes);
    // A list cannot hold Null, whose code ends it.
    static std::optional<StreamValue> List(std::vector<StreamValue> elements);
    static StreamValue Collection(std::vector<CollectionItem> items);

    // For readers: a type with its content as stored (without length prefixes). Nothing when
    // the content does not suit the type (wrong size, String or Ident past 255 bytes, odd
    // WString). Not for List, Set or Collection.
    static std::optional<StreamValue> FromContent(StreamType type, std::string content);

    StreamType Type() const { return type_; }
    bool IsInteger() const;  // Int8, Int16, Int32, Int64
    bool IsText() const;     // String, LString, WString, Utf8String

    // Int8 to Int64, and the raw count of a Currency.
    std::int64_t AsInteger() const;
    // Any number: integers, currency (count / 10000), Extended, Single, Date, Double.
    std::optional<double> AsNumber() const;
    // The content bytes as stored: the float bytes, the text or binary bytes, UTF-16 code
    // units. Empty for the other types.
    const std::string& Content() const;
    // Text types and Ident decoded to UTF-8 (Windows-1252 for String, LString and Ident).
    std::string Utf8() const;
    const std::vector<std::string>& Members() const;   // Set
    const std::vector<StreamValue>& Elements() const;  // List
    const std::vector<CollectionItem>& Items() const;  // Collection

    friend bool operator==(const StreamValue&, const StreamValue&);

  private:
    using Data = std::variant<std::string, std::vector<std::string>, std::vector<StreamValue>,
                              std::vector<CollectionItem>>;

    StreamValue(StreamType type, Data data);

    StreamType type_ = StreamType::Null;
    Data data_;
};

struct StreamProperty {
    std::string name;  // as stored; dotted for nested properties ("Font.Name")
    StreamValue value;
    friend bool operator==(const StreamProperty&, const StreamProperty&) = default;
};

struct CollectionItem {
    std::optional<StreamValue> order;  // an Int8, Int16 or Int32 before the item, when present
    std::vector<StreamProperty> properties;
    friend bool operator==(const CollectionItem&, const CollectionItem&) = default;
};

}  // namespace vekaton
