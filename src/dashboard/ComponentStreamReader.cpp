#include <new>
#include <utility>

#include "dashboard/ComponentStream.h"

namespace vekaton {
namespace {

struct ReadFault {
    std::size_t offset;
    std::string message;
};

// Reads the stream format over a bounded byte range. Every fault throws a ReadFault that carries
// the offset of the byte that could not be used.
class StreamReader {
  public:
    StreamReader(std::string_view data, std::size_t offset, StreamBudget& budget)
        : data_(data), pos_(offset), budget_(budget) {}

    std::vector<std::string>& Cut() { return cut_; }

    std::size_t Position() const { return pos_; }

    StreamComponent ReadRecord() {
        if (pos_ > data_.size() || data_.size() - pos_ < kStreamSignature.size() ||
            data_.substr(pos_, kStreamSignature.size()) != kStreamSignature) {
            Fail(pos_, "no \"TPF0\" signature");
        }
        pos_ += kStreamSignature.size();
        return ReadComponent();
    }

  private:
    [[noreturn]] static void Fail(std::size_t at, std::string message) {
        throw ReadFault{at, std::move(message)};
    }

    std::size_t Remaining() const { return data_.size() - pos_; }

    std::uint8_t Peek(const char* what) const {
        if (Remaining() == 0) {
            Fail(pos_, std::string("the data ends where ") + what + " should be");
        }
        return static_cast<std::uint8_t>(data_[pos_]);
    }

    std::uint8_t Byte(const char* what) {
        const std::uint8_t b = Peek(what);
        ++pos_;
        return b;
    }

    std::string Bytes(std::size_t count, std::size_t lengthAt, const char* what) {
        if (count > Remaining()) {
            Fail(lengthAt, std::string(what) + " of " + std::to_string(count) +
                               " bytes runs past the end of the data (" +
                               std::to_string(Remaining()) + " left)");
        }
        std::string out(data_.substr(pos_, count));
        pos_ += count;
        return out;
    }

    std::string ShortString(const char* what) {
        const std::size_t at = pos_;
        const std::size_t length = Byte(what);
        return Bytes(length, at, what);
    }

    std::uint32_t UInt32(const char* what) {
        const std::size_t at = pos_;
        if (Remaining() < 4) {
            Fail(at, std::string("the data ends inside the length of ") + what);
        }
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value =
                (value << 8) | static_cast<std::uint8_t>(data_[pos_ + static_cast<std::size_t>(i)]);
        }
        pos_ += 4;
        return value;
    }

    void Count(std::size_t at) {
        if (budget_.valuesLeft == 0) {
            Fail(at, "more than " + std::to_string(kMaxStreamValues) +
                         " values, more than any dashboard holds");
        }
        --budget_.valuesLeft;
    }

    class Nesting {
      public:
        Nesting(StreamReader& reader, std::size_t at) : reader_(reader) {
            if (++reader_.depth_ > kMaxStreamDepth) {
                Fail(at, "nesting deeper than " + std::to_string(kMaxStreamDepth) + " levels");
            }
        }
        ~Nesting() { --reader_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

      private:
        StreamReader& reader_;
    };

    StreamComponent ReadComponent() {
        const Nesting nesting(*this, pos_);
        StreamComponent component;
        Count(pos_);
        const std::uint8_t first = Peek("a class name");
        if ((first & 0xF0) == 0xF0) {
            ++pos_;
            component.hasPrefix = true;
            component.flags = first & 0x0F;
            if ((component.flags & kFlagChildPos) != 0) {
                const std::size_t at = pos_;
                StreamValue position = ReadValue();
                if (!position.IsInteger() || position.Type() == StreamType::Int64) {
                    Fail(at, "the child position is not an integer");
                }
                component.childPos = std::move(position);
            }
        }
        component.className = ShortString("a class name");
        component.name = ShortString("a component name");
        const std::string outer = std::exchange(componentName_, component.name);
        component.properties = ReadProperties();
        componentName_ = outer;
        while (Peek("the end of the child components") != 0) {
            component.children.push_back(ReadComponent());
        }
        ++pos_;
        return component;
    }

    std::vector<StreamProperty> ReadProperties() {
        std::vector<StreamProperty> properties;
        while (Peek("the end of the properties") != 0) {
            StreamProperty property;
            Count(pos_);
            property.name = ShortString("a property name");
            const std::string outer = std::exchange(propertyName_, property.name);
            property.value = ReadValue();
            propertyName_ = outer;
            properties.push_back(std::move(property));
        }
        ++pos_;
        return properties;
    }

    StreamValue Content(StreamType type, std::string bytes, std::size_t at) {
        auto value = StreamValue::FromContent(type, std::move(bytes));
        if (!value) {
            Fail(at, "value of type " + std::to_string(static_cast<int>(type)) + " is malformed");
        }
        return std::move(*value);
    }

    StreamValue Fixed(StreamType type, std::size_t size, std::size_t at) {
        if (size > Remaining()) {
            Fail(at,
                 "the data ends inside a value of type " + std::to_string(static_cast<int>(type)));
        }
        return Content(type, Bytes(size, at, "a value"), at);
    }

    StreamValue LongContent(StreamType type, std::size_t unit, const char* what) {
        const std::size_t at = pos_ - 1;
        const std::size_t lengthAt = pos_;
        const std::uint64_t count = UInt32(what);
        const std::uint64_t size = count * unit;
        if (size > Remaining()) {
            Fail(lengthAt, std::string(what) + " of " + std::to_string(size) +
                               " bytes runs past the end of the data (" +
                               std::to_string(Remaining()) + " left)");
        }
        if (size <= kMaxStreamContentBytes) {
            return Content(type, Bytes(static_cast<std::size_t>(size), lengthAt, what), at);
        }
        // Only the kept part is copied; the rest is stepped over.
        const std::size_t whole = static_cast<std::size_t>(size);
        const std::size_t kept = KeptLength(type, data_.substr(pos_, kMaxStreamContentBytes));
        std::string content(data_.substr(pos_, kept));
        pos_ += whole;
        cut_.push_back(Where() + " (" + std::string(what) + " of " + std::to_string(whole) +
                       " bytes) was cut to its first " + std::to_string(kept) + " bytes");
        return Content(type, std::move(content), at);
    }

    // How much of a value's first kMaxStreamContentBytes to keep: whole characters only.
    static std::size_t KeptLength(StreamType type, std::string_view head) {
        std::size_t kept = head.size();
        if (type == StreamType::WString) {
            kept -= kept % 2;
            // A high surrogate whose low half was cut goes too.
            if (kept >= 2) {
                const auto high = static_cast<std::uint8_t>(head[kept - 1]);
                if (high >= 0xD8 && high <= 0xDB) {
                    kept -= 2;
                }
            }
        } else if (type == StreamType::Utf8String) {
            // A last character whose continuation bytes were cut goes too.
            std::size_t start = kept;
            std::size_t continuation = 0;
            while (start > 0 && continuation < 3 &&
                   (static_cast<std::uint8_t>(head[start - 1]) & 0xC0) == 0x80) {
                --start;
                ++continuation;
            }
            if (start > 0) {
                const auto lead = static_cast<std::uint8_t>(head[start - 1]);
                const std::size_t length = lead >= 0xF0   ? 4
                                           : lead >= 0xE0 ? 3
                                           : lead >= 0xC0 ? 2
                                                          : 1;
                if (length > continuation + 1) {
                    kept = start - 1;
                }
            }
        }
        return kept;
    }

    // "Caption of USERLABEL1", for a note about a value.
    std::string Where() const {
        const std::string property = propertyName_.empty() ? "a value" : propertyName_;
        return componentName_.empty() ? property : property + " of " + componentName_;
    }

    StreamValue ReadValue() {
        const std::size_t at = pos_;
        const Nesting nesting(*this, at);
        Count(at);
        const std::uint8_t code = Byte("a value");
        if (code > kLastStreamType) {
            Fail(at, "value type " + std::to_string(code) + " is not known");
        }
        const auto type = static_cast<StreamType>(code);
        switch (type) {
            case StreamType::Null:
            case StreamType::False:
            case StreamType::True:
            case StreamType::Nil:
                return Content(type, {}, at);
            case StreamType::Int8:
                return Fixed(type, 1, at);
            case StreamType::Int16:
                return Fixed(type, 2, at);
            case StreamType::Int32:
            case StreamType::Single:
                return Fixed(type, 4, at);
            case StreamType::Extended:
                return Fixed(type, 10, at);
            case StreamType::Currency:
            case StreamType::Date:
            case StreamType::Int64:
            case StreamType::Double:
                return Fixed(type, 8, at);
            case StreamType::String:
            case StreamType::Ident:
                return Content(
                    type, ShortString(type == StreamType::String ? "a string" : "an identifier"),
                    at);
            case StreamType::Binary:
                return LongContent(type, 1, "binary data");
            case StreamType::LString:
                return LongContent(type, 1, "a long string");
            case StreamType::Utf8String:
                return LongContent(type, 1, "a UTF-8 string");
            case StreamType::WString:
                return LongContent(type, 2, "a wide string");
            case StreamType::Set: {
                std::vector<std::string> members;
                while (Peek("the end of a set") != 0) {
                    Count(pos_);
                    members.push_back(ShortString("a set member"));
                }
                ++pos_;
                return *StreamValue::Set(std::move(members));
            }
            case StreamType::List: {
                std::vector<StreamValue> elements;
                while (Peek("the end of a list") != 0) {
                    elements.push_back(ReadValue());
                }
                ++pos_;
                return *StreamValue::List(std::move(elements));
            }
            case StreamType::Collection:
                return StreamValue::Collection(ReadCollectionItems());
        }
        Fail(at, "value type " + std::to_string(code) + " is not known");
    }

    std::vector<CollectionItem> ReadCollectionItems() {
        std::vector<CollectionItem> items;
        while (Peek("the end of a collection") != 0) {
            CollectionItem item;
            const std::uint8_t next = Peek("a collection item");
            if (next == static_cast<std::uint8_t>(StreamType::Int8) ||
                next == static_cast<std::uint8_t>(StreamType::Int16) ||
                next == static_cast<std::uint8_t>(StreamType::Int32)) {
                item.order = ReadValue();
            }
            const std::size_t at = pos_;
            if (Byte("a collection item") != static_cast<std::uint8_t>(StreamType::List)) {
                Fail(at, "a collection item does not begin with a list marker");
            }
            {
                const Nesting nesting(*this, at);
                item.properties = ReadProperties();
            }
            items.push_back(std::move(item));
        }
        ++pos_;
        return items;
    }

    std::string_view data_;
    std::size_t pos_;
    StreamBudget& budget_;
    int depth_ = 0;
    std::string componentName_;
    std::string propertyName_;
    std::vector<std::string> cut_;
};

}  // namespace

const StreamProperty* StreamComponent::Find(std::string_view propertyName) const {
    for (const StreamProperty& property : properties) {
        if (property.name == propertyName) {
            return &property;
        }
    }
    return nullptr;
}

ComponentRecordRead ReadComponentRecord(std::string_view data, std::size_t offset,
                                        StreamBudget* budget) {
    ComponentRecordRead read;
    StreamBudget ownBudget;
    StreamReader reader(data, offset, budget != nullptr ? *budget : ownBudget);
    try {
        read.component = reader.ReadRecord();
        read.end = reader.Position();
        read.cut = std::move(reader.Cut());
    } catch (const ReadFault& fault) {
        read.error = StreamError{fault.offset, fault.message};
        read.end = reader.Position();
    } catch (const std::bad_alloc&) {
        read.error = StreamError{reader.Position(), "not enough memory"};
        read.end = reader.Position();
    }
    return read;
}

}  // namespace vekaton
