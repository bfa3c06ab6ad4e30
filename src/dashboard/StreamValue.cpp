#include "dashboard/StreamValue.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "common/TextEncoding.h"

namespace vekaton {
namespace {

constexpr std::size_t kMaxShortLength = 255;

template <class T>
std::string LittleEndian(T value) {
    using U = std::make_unsigned_t<T>;
    const auto bits = static_cast<U>(value);
    std::string out(sizeof(T), '\0');
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
    return out;
}

std::uint64_t ReadLittleEndian(const std::string& bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i > 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[i - 1]);
    }
    return value;
}

// Sign-extends the stored integer of `size` bytes.
std::int64_t SignedFrom(const std::string& bytes) {
    const std::uint64_t raw = ReadLittleEndian(bytes);
    const unsigned width = static_cast<unsigned>(bytes.size()) * 8;
    if (width == 0 || width >= 64) {
        return static_cast<std::int64_t>(raw);
    }
    const std::uint64_t signBit = 1ULL << (width - 1);
    return static_cast<std::int64_t>((raw ^ signBit) - signBit);
}

// Content size of the fixed-size types; 0 for types without content, nothing for the others.
std::optional<std::size_t> FixedSize(StreamType type) {
    switch (type) {
        case StreamType::Null:
        case StreamType::False:
        case StreamType::True:
        case StreamType::Nil:
            return 0;
        case StreamType::Int8:
            return 1;
        case StreamType::Int16:
            return 2;
        case StreamType::Int32:
        case StreamType::Single:
            return 4;
        case StreamType::Extended:
            return 10;
        case StreamType::Currency:
        case StreamType::Date:
        case StreamType::Int64:
        case StreamType::Double:
            return 8;
        default:
            return std::nullopt;
    }
}

const std::string& EmptyContent() {
    static const std::string empty;
    return empty;
}

}  // namespace

StreamValue::StreamValue(StreamType type, Data data) : type_(type), data_(std::move(data)) {}

StreamValue StreamValue::Null() {
    return StreamValue();
}

StreamValue StreamValue::Nil() {
    return StreamValue(StreamType::Nil, std::string());
}

StreamValue StreamValue::Boolean(bool value) {
    return StreamValue(value ? StreamType::True : StreamType::False, std::string());
}

StreamValue StreamValue::Integer(std::int64_t value) {
    for (const StreamType type : {StreamType::Int8, StreamType::Int16, StreamType::Int32}) {
        if (auto fitted = IntegerOfType(type, value)) {
            return *fitted;
        }
    }
    return StreamValue(StreamType::Int64, LittleEndian(value));
}

std::optional<StreamValue> StreamValue::IntegerOfType(StreamType type, std::int64_t value) {
    switch (type) {
        case StreamType::Int8:
            if (value >= std::numeric_limits<std::int8_t>::min() &&
                value <= std::numeric_limits<std::int8_t>::max()) {
                return StreamValue(type, LittleEndian(static_cast<std::int8_t>(value)));
            }
            return std::nullopt;
        case StreamType::Int16:
            if (value >= std::numeric_limits<std::int16_t>::min() &&
                value <= std::numeric_limits<std::int16_t>::max()) {
                return StreamValue(type, LittleEndian(static_cast<std::int16_t>(value)));
            }
            return std::nullopt;
        case StreamType::Int32:
            if (value >= std::numeric_limits<std::int32_t>::min() &&
                value <= std::numeric_limits<std::int32_t>::max()) {
                return StreamValue(type, LittleEndian(static_cast<std::int32_t>(value)));
            }
            return std::nullopt;
        case StreamType::Int64:
            return StreamValue(type, LittleEndian(value));
        default:
            return std::nullopt;
    }
}

StreamValue StreamValue::Extended(const ExtendedBytes& bytes) {
    return StreamValue(StreamType::Extended,
                       std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

StreamValue StreamValue::Float(double value) {
    return Extended(DoubleToExtended(value));
}

StreamValue StreamValue::Single(float value) {
    return StreamValue(StreamType::Single, LittleEndian(std::bit_cast<std::uint32_t>(value)));
}

StreamValue StreamValue::Double(double value) {
    return StreamValue(StreamType::Double, LittleEndian(std::bit_cast<std::uint64_t>(value)));
}

StreamValue StreamValue::Date(double value) {
    return StreamValue(StreamType::Date, LittleEndian(std::bit_cast<std::uint64_t>(value)));
}

StreamValue StreamValue::Currency(std::int64_t tenThousandths) {
    return StreamValue(StreamType::Currency, LittleEndian(tenThousandths));
}

StreamValue StreamValue::Text(std::string_view utf8) {
    if (auto bytes = Utf8ToCp1252(utf8)) {
        const StreamType type =
            bytes->size() <= kMaxShortLength ? StreamType::String : StreamType::LString;
        return StreamValue(type, std::move(*bytes));
    }
    return WideText(utf8);
}

StreamValue StreamValue::WideText(std::string_view utf8) {
    return StreamValue(StreamType::WString, Utf8ToUtf16Le(utf8));
}

StreamValue StreamValue::Utf8Text(std::string_view utf8) {
    return StreamValue(StreamType::Utf8String, std::string(utf8));
}

std::optional<StreamValue> StreamValue::Identifier(std::string_view bytes) {
    if (bytes.size() > kMaxShortLength) {
        return std::nullopt;
    }
    return StreamValue(StreamType::Ident, std::string(bytes));
}

std::optional<StreamValue> StreamValue::Set(std::vector<std::string> members) {
    // An empty member would end the set early.
    for (const std::string& member : members) {
        if (member.empty() || member.size() > kMaxShortLength) {
            return std::nullopt;
        }
    }
    return StreamValue(StreamType::Set, std::move(members));
}

StreamValue StreamValue::Binary(std::string bytes) {
    return StreamValue(StreamType::Binary, std::move(bytes));
}

std::optional<StreamValue> StreamValue::List(std::vector<StreamValue> elements) {
    if (std::any_of(elements.begin(), elements.end(),
                    [](const StreamValue& v) { return v.Type() == StreamType::Null; })) {
        return std::nullopt;
    }
    return StreamValue(StreamType::List, std::move(elements));
}

StreamValue StreamValue::Collection(std::vector<CollectionItem> items) {
    return StreamValue(StreamType::Collection, std::move(items));
}

std::optional<StreamValue> StreamValue::FromContent(StreamType type, std::string content) {
    if (const auto size = FixedSize(type)) {
        if (content.size() != *size) {
            return std::nullopt;
        }
        return StreamValue(type, std::move(content));
    }
    switch (type) {
        case StreamType::String:
        case StreamType::Ident:
            if (content.size() > kMaxShortLength) {
                return std::nullopt;
            }
            return StreamValue(type, std::move(content));
        case StreamType::WString:
            if (content.size() % 2 != 0) {
                return std::nullopt;
            }
            return StreamValue(type, std::move(content));
        case StreamType::Binary:
        case StreamType::LString:
        case StreamType::Utf8String:
            return StreamValue(type, std::move(content));
        default:
            return std::nullopt;
    }
}

bool StreamValue::IsInteger() const {
    return type_ == StreamType::Int8 || type_ == StreamType::Int16 || type_ == StreamType::Int32 ||
           type_ == StreamType::Int64;
}

bool StreamValue::IsText() const {
    return type_ == StreamType::String || type_ == StreamType::LString ||
           type_ == StreamType::WString || type_ == StreamType::Utf8String;
}

std::int64_t StreamValue::AsInteger() const {
    if (IsInteger() || type_ == StreamType::Currency) {
        return SignedFrom(Content());
    }
    return 0;
}

std::optional<double> StreamValue::AsNumber() const {
    switch (type_) {
        case StreamType::Int8:
        case StreamType::Int16:
        case StreamType::Int32:
        case StreamType::Int64:
            return static_cast<double>(AsInteger());
        case StreamType::Currency:
            return static_cast<double>(AsInteger()) / 10000.0;
        case StreamType::Extended: {
            ExtendedBytes bytes{};
            std::memcpy(bytes.data(), Content().data(), bytes.size());
            return ExtendedToDouble(bytes);
        }
        case StreamType::Single:
            return static_cast<double>(
                std::bit_cast<float>(static_cast<std::uint32_t>(ReadLittleEndian(Content()))));
        case StreamType::Date:
        case StreamType::Double:
            return std::bit_cast<double>(ReadLittleEndian(Content()));
        default:
            return std::nullopt;
    }
}

const std::string& StreamValue::Content() const {
    if (const auto* bytes = std::get_if<std::string>(&data_)) {
        return *bytes;
    }
    return EmptyContent();
}

std::string StreamValue::Utf8() const {
    switch (type_) {
        case StreamType::String:
        case StreamType::LString:
        case StreamType::Ident:
            return Cp1252ToUtf8(Content());
        case StreamType::WString:
            return Utf16LeToUtf8(Content());
        case StreamType::Utf8String:
            return ValidUtf8(Content());
        default:
            return {};
    }
}

const std::vector<std::string>& StreamValue::Members() const {
    static const std::vector<std::string> none;
    const auto* members = std::get_if<std::vector<std::string>>(&data_);
    return members != nullptr ? *members : none;
}

const std::vector<StreamValue>& StreamValue::Elements() const {
    static const std::vector<StreamValue> none;
    const auto* elements = std::get_if<std::vector<StreamValue>>(&data_);
    return elements != nullptr ? *elements : none;
}

const std::vector<CollectionItem>& StreamValue::Items() const {
    static const std::vector<CollectionItem> none;
    const auto* items = std::get_if<std::vector<CollectionItem>>(&data_);
    return items != nullptr ? *items : none;
}

bool operator==(const StreamValue& a, const StreamValue& b) {
    return a.type_ == b.type_ && a.data_ == b.data_;
}

}  // namespace vekaton
