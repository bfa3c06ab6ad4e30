#include "dashboard/ComponentStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/ByteText.h"

namespace vekaton {
namespace {

using testing::Bytes;

// A record spelled out byte by byte with one property of every value type.
// clang-format off
const std::string& EveryType() {
    static const std::string bytes = Bytes({
        "TPF0", 6, "TLabel", 6, "Label1",
        4, "Left", 2, 0xF8,                                             // Int8 -8
        3, "Top", 3, 0x2C, 0x01,                                        // Int16 300
        5, "Width", 4, 0xA0, 0x86, 0x01, 0x00,                          // Int32 100000
        3, "Big", 19, 0, 0, 0, 0, 1, 0, 0, 0,                           // Int64 2^32
        5, "Ratio", 5, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0,           // Extended -2.5
        7, "Caption", 6, 5, "Hello",                                    // String
        5, "Color", 7, 5, "clRed",                                      // Ident
        7, "Visible", 8,                                                // False
        7, "Enabled", 9,                                                // True
        4, "Data", 10, 3, 0, 0, 0, 0x01, 0x00, 0xFF,                    // Binary
        7, "Anchors", 11, 6, "akLeft", 5, "akTop", 0,                   // Set
        4, "Memo", 12, 3, 0, 0, 0, "abc",                               // LString
        5, "Popup", 13,                                                 // Nil
        5, "Lines", 1, 2, 5, 6, 2, "hi", 0,                             // List
        5, "Items", 14,                                                 // Collection:
            1, 5, "Width", 2, 10, 0,                                    //   an item
            2, 7, 1, 0,                                                 //   one with order 7
            0,
        6, "Factor", 15, 0x00, 0x00, 0xC0, 0x3F,                        // Single 1.5
        5, "Price", 16, 0x39, 0x30, 0, 0, 0, 0, 0, 0,                   // Currency 1.2345
        4, "When", 17, 0, 0, 0, 0, 0x10, 0xF9, 0xE5, 0x40,              // Date 45000.5
        4, "Wide", 18, 2, 0, 0, 0, 0xAC, 0x20, 0x41, 0x00,              // WString "€A"
        5, "Int64", 19, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, // Int64 -1
        4, "Utf8", 20, 2, 0, 0, 0, 0xC3, 0xA9,                          // UTF-8 "é"
        3, "Dbl", 21, 0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F,   // Double 0.1
        4, "Void", 0,                                                   // Null
        0,                                                              // end of properties
        0,                                                              // no children
    });
    return bytes;
}
// clang-format on

const StreamValue& ValueOf(const StreamComponent& component, const std::string& name) {
    const StreamProperty* property = component.Find(name);
    EXPECT_NE(property, nullptr) << name;
    static const StreamValue none;
    return property != nullptr ? property->value : none;
}

TEST(ComponentStream, ReadsEveryValueTypeFromHandWrittenBytes) {
    const ComponentRecordRead read = ReadComponentRecord(EveryType());
    ASSERT_TRUE(read.component) << read.error->message << " at " << read.error->offset;
    EXPECT_EQ(read.end, EveryType().size());
    const StreamComponent& c = *read.component;
    EXPECT_FALSE(c.hasPrefix);
    EXPECT_EQ(c.className, "TLabel");
    EXPECT_EQ(c.name, "Label1");
    ASSERT_EQ(c.properties.size(), 23u);
    EXPECT_EQ(c.properties.front().name, "Left");
    EXPECT_EQ(c.properties.back().name, "Void");

    EXPECT_EQ(ValueOf(c, "Left").Type(), StreamType::Int8);
    EXPECT_EQ(ValueOf(c, "Left").AsInteger(), -8);
    EXPECT_EQ(ValueOf(c, "Top").Type(), StreamType::Int16);
    EXPECT_EQ(ValueOf(c, "Top").AsInteger(), 300);
    EXPECT_EQ(ValueOf(c, "Width").AsInteger(), 100000);
    EXPECT_EQ(ValueOf(c, "Big").AsInteger(), 4294967296LL);
    EXPECT_EQ(ValueOf(c, "Int64").AsInteger(), -1);
    EXPECT_EQ(ValueOf(c, "Ratio").AsNumber(), -2.5);
    EXPECT_EQ(ValueOf(c, "Caption").Utf8(), "Hello");
    EXPECT_EQ(ValueOf(c, "Color").Type(), StreamType::Ident);
    EXPECT_EQ(ValueOf(c, "Color").Utf8(), "clRed");
    EXPECT_EQ(ValueOf(c, "Visible").Type(), StreamType::False);
    EXPECT_EQ(ValueOf(c, "Enabled").Type(), StreamType::True);
    EXPECT_EQ(ValueOf(c, "Data").Content(), std::string("\x01\x00\xFF", 3));
    EXPECT_EQ(ValueOf(c, "Anchors").Members(), (std::vector<std::string>{"akLeft", "akTop"}));
    EXPECT_EQ(ValueOf(c, "Memo").Type(), StreamType::LString);
    EXPECT_EQ(ValueOf(c, "Memo").Utf8(), "abc");
    EXPECT_EQ(ValueOf(c, "Popup").Type(), StreamType::Nil);

    const auto& lines = ValueOf(c, "Lines").Elements();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].AsInteger(), 5);
    EXPECT_EQ(lines[1].Utf8(), "hi");

    const auto& items = ValueOf(c, "Items").Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_FALSE(items[0].order);
    ASSERT_EQ(items[0].properties.size(), 1u);
    EXPECT_EQ(items[0].properties[0].name, "Width");
    EXPECT_EQ(items[0].properties[0].value.AsInteger(), 10);
    ASSERT_TRUE(items[1].order);
    EXPECT_EQ(items[1].order->AsInteger(), 7);
    EXPECT_TRUE(items[1].properties.empty());

    EXPECT_EQ(ValueOf(c, "Factor").Type(), StreamType::Single);
    EXPECT_EQ(ValueOf(c, "Factor").AsNumber(), 1.5);
    EXPECT_EQ(ValueOf(c, "Price").AsInteger(), 12345);
    EXPECT_EQ(ValueOf(c, "Price").AsNumber(), 1.2345);
    EXPECT_EQ(ValueOf(c, "When").AsNumber(), 45000.5);
    EXPECT_EQ(ValueOf(c, "Wide").Utf8(), "\u20ACA");
    EXPECT_EQ(ValueOf(c, "Utf8").Utf8(), "\u00E9");
    EXPECT_EQ(ValueOf(c, "Dbl").AsNumber(), 0.1);
    EXPECT_EQ(ValueOf(c, "Void").Type(), StreamType::Null);
}

TEST(ComponentStream, WritesWhatItReadByteForByte) {
    const ComponentRecordRead read = ReadComponentRecord(EveryType());
    ASSERT_TRUE(read.component);
    std::string written;
    ASSERT_FALSE(WriteComponentRecord(*read.component, written));
    EXPECT_EQ(written, EveryType());
}

TEST(ComponentStream, PrefixFlagsChildPositionAndNestedChildren) {
    // clang-format off
    const std::string bytes = Bytes({
        "TPF0", 0xF1, 6, "TPanel", 6, "Panel1",
        7, "Caption", 6, 0,                       // an empty string
        0,                                        // end of properties
        0xF2, 2, 3, 9, "TLedRound", 4, "Led1",    // a child at position 3
            0, 0,
        0xF4, 6, "TFrame", 6, "Frame1",           // an inline child with a child of its own
            0,
            6, "TLabel", 2, "L1", 4, "Left", 2, 1, 0, 0,
            0,
        0,                                        // end of Panel1's children
    });
    // clang-format on
    const ComponentRecordRead read = ReadComponentRecord(bytes);
    ASSERT_TRUE(read.component) << read.error->message << " at " << read.error->offset;
    const StreamComponent& panel = *read.component;
    EXPECT_TRUE(panel.hasPrefix);
    EXPECT_EQ(panel.flags, kFlagInherited);
    EXPECT_FALSE(panel.childPos);
    ASSERT_EQ(panel.children.size(), 2u);
    EXPECT_EQ(panel.children[0].flags, kFlagChildPos);
    ASSERT_TRUE(panel.children[0].childPos);
    EXPECT_EQ(panel.children[0].childPos->AsInteger(), 3);
    EXPECT_EQ(panel.children[0].className, "TLedRound");
    EXPECT_EQ(panel.children[1].flags, kFlagInline);
    ASSERT_EQ(panel.children[1].children.size(), 1u);
    EXPECT_EQ(panel.children[1].children[0].name, "L1");
    EXPECT_EQ(panel.children[1].children[0].properties[0].value.AsInteger(), 1);

    std::string written;
    ASSERT_FALSE(WriteComponentRecord(panel, written));
    EXPECT_EQ(written, bytes);
}

TEST(ComponentStream, LengthBytesAreUnsigned) {
    const std::string text(200, 'x');
    const std::string bytes =
        Bytes({"TPF0", 6, "TLabel", 1, "L", 7, "Caption", 6, 200}) + text + Bytes({0, 0});
    const ComponentRecordRead read = ReadComponentRecord(bytes);
    ASSERT_TRUE(read.component);
    EXPECT_EQ(read.component->properties[0].value.Utf8(), text);
    // A class name of 255 bytes after a prefix byte is no prefix.
    const std::string longName(255, 'T');
    const std::string prefixed = Bytes({"TPF0", 0xF0, 0xFF}) + longName + Bytes({1, "N", 0, 0});
    const ComponentRecordRead second = ReadComponentRecord(prefixed);
    ASSERT_TRUE(second.component);
    EXPECT_EQ(second.component->className, longName);
    std::string written;
    EXPECT_FALSE(WriteComponentRecord(*second.component, written));
    EXPECT_EQ(written, prefixed);
}

TEST(ComponentStream, WriterPicksTheSmallestIntegerAndTheRightStringType) {
    const struct {
        std::int64_t value;
        StreamType type;
    } integers[] = {
        {0, StreamType::Int8},
        {127, StreamType::Int8},
        {-128, StreamType::Int8},
        {128, StreamType::Int16},
        {-129, StreamType::Int16},
        {32767, StreamType::Int16},
        {32768, StreamType::Int32},
        {-2147483648LL, StreamType::Int32},
        {2147483648LL, StreamType::Int64},
        {-2147483649LL, StreamType::Int64},
    };
    for (const auto& c : integers) {
        const StreamValue value = StreamValue::Integer(c.value);
        EXPECT_EQ(value.Type(), c.type) << c.value;
        EXPECT_EQ(value.AsInteger(), c.value);
    }

    EXPECT_EQ(StreamValue::Text(std::string(255, 'a')).Type(), StreamType::String);
    const StreamValue longText = StreamValue::Text(std::string(256, 'a'));
    EXPECT_EQ(longText.Type(), StreamType::LString);
    // Windows-1252 holds the euro sign and accented letters, in its own bytes.
    const StreamValue euro = StreamValue::Text("5 \u20AC caf\u00E9");
    EXPECT_EQ(euro.Type(), StreamType::String);
    EXPECT_EQ(euro.Content(), "5 \x80 caf\xE9");
    EXPECT_EQ(euro.Utf8(), "5 \u20AC caf\u00E9");
    // Anything else becomes a wide string.
    const StreamValue greek = StreamValue::Text("\u03A9 \U0001F697");
    EXPECT_EQ(greek.Type(), StreamType::WString);
    EXPECT_EQ(greek.Content(), std::string("\xA9\x03\x20\x00\x3D\xD8\x97\xDE", 8));
    EXPECT_EQ(greek.Utf8(), "\u03A9 \U0001F697");

    StreamComponent c;
    c.className = "TLabel";
    c.name = "L";
    c.properties = {{"A", StreamValue::Integer(300)}, {"B", longText}, {"C", greek}};
    std::string written;
    ASSERT_FALSE(WriteComponentRecord(c, written));
    EXPECT_EQ(written, Bytes({"TPF0", 6, "TLabel", 1, "L", 1, "A", 3, 0x2C, 0x01, 1, "B", 12, 0x00,
                              0x01, 0, 0}) +
                           std::string(256, 'a') + Bytes({1, "C", 18, 4, 0, 0, 0}) +
                           greek.Content() + Bytes({0, 0}));
}

TEST(ComponentStream, EveryCutShortRecordIsAnErrorInsideTheData) {
    const std::string& full = EveryType();
    for (std::size_t length = 0; length < full.size(); ++length) {
        const ComponentRecordRead read = ReadComponentRecord(full.substr(0, length));
        ASSERT_FALSE(read.component) << length;
        ASSERT_TRUE(read.error);
        EXPECT_LE(read.error->offset, length);
        EXPECT_LE(read.end, length);
    }
}

TEST(ComponentStream, FaultsAreReportedWithTheirOffset) {
    // An unknown value type.
    ComponentRecordRead read =
        ReadComponentRecord(Bytes({"TPF0", 1, "T", 1, "N", 1, "P", 22, 0, 0}));
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->offset, 10u);
    EXPECT_NE(read.error->message.find("22"), std::string::npos) << read.error->message;

    // A length that runs past the end: reported where the length stands.
    read = ReadComponentRecord(
        Bytes({"TPF0", 1, "T", 1, "N", 1, "P", 12, 0xFF, 0xFF, 0xFF, 0x7F, "abc"}));
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->offset, 11u);
    // A wide string counts code units, two bytes each.
    read =
        ReadComponentRecord(Bytes({"TPF0", 1, "T", 1, "N", 1, "P", 18, 2, 0, 0, 0, "abc", 0, 0}));
    ASSERT_TRUE(read.error);

    // No signature.
    read = ReadComponentRecord(Bytes({"TPF1", 1, "T", 1, "N", 0, 0}));
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->offset, 0u);
    // A child position that is no integer; a collection item without its list marker.
    read = ReadComponentRecord(Bytes({"TPF0", 0xF2, 6, 1, "x", 1, "T", 1, "N", 0, 0}));
    ASSERT_TRUE(read.error);
    read = ReadComponentRecord(
        Bytes({"TPF0", 1, "T", 1, "N", 1, "P", 14, 5, "Width", 2, 1, 0, 0, 0, 0}));
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->offset, 11u);
    // Reading at an offset reports offsets in the whole data.
    read = ReadComponentRecord(Bytes({"xx", "TPF0", 1, "T", 1, "N", 1, "P", 22, 0, 0}), 2);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->offset, 12u);
}

TEST(ComponentStream, NestingAndSizeAreBounded) {
    // Lists inside lists past the limit: an error, not a stack overflow.
    std::string deep = Bytes({"TPF0", 1, "T", 1, "N", 1, "P"});
    deep += std::string(100000, '\x01');
    ComponentRecordRead read = ReadComponentRecord(deep);
    ASSERT_TRUE(read.error);
    EXPECT_NE(read.error->message.find("nesting"), std::string::npos);
    std::string children = Bytes({"TPF0", 1, "T", 1, "N", 0});
    for (int i = 0; i < 100000; ++i) {
        children += Bytes({1, "T", 1, "N", 0});
    }
    read = ReadComponentRecord(children);
    ASSERT_TRUE(read.error);
    EXPECT_NE(read.error->message.find("nesting"), std::string::npos);

    // Nesting within the limit reads and writes back.
    std::string nested = Bytes({"TPF0", 1, "T", 1, "N", 1, "P"});
    const int levels = kMaxStreamDepth - 3;
    nested += std::string(static_cast<std::size_t>(levels), '\x01') +
              std::string(static_cast<std::size_t>(levels), '\0') + Bytes({0, 0});
    read = ReadComponentRecord(nested);
    ASSERT_TRUE(read.component) << read.error->message;
    std::string written;
    ASSERT_FALSE(WriteComponentRecord(*read.component, written));
    EXPECT_EQ(written, nested);

    // A million small values are refused instead of filling the memory.
    std::string many = Bytes({"TPF0", 1, "T", 1, "N", 1, "P", 1});
    many += std::string(kMaxStreamValues, '\x08');
    many += Bytes({0, 0, 0});
    read = ReadComponentRecord(many);
    ASSERT_TRUE(read.error);
    EXPECT_NE(read.error->message.find("values"), std::string::npos);
}

TEST(ComponentStream, WriterRefusesWhatTheFormatCannotHold) {
    StreamComponent c;
    c.className = std::string(240, 'T');
    c.name = "N";
    std::string out = "keep";
    EXPECT_TRUE(WriteComponentRecord(c, out));  // would read as a prefix byte
    EXPECT_EQ(out, "keep");
    c.hasPrefix = true;
    EXPECT_FALSE(WriteComponentRecord(c, out));

    StreamComponent unnamed;
    unnamed.properties = {{"", StreamValue::Boolean(true)}};
    EXPECT_TRUE(WriteComponentRecord(unnamed, out));
    StreamComponent longName;
    longName.name = std::string(256, 'n');
    EXPECT_TRUE(WriteComponentRecord(longName, out));
    StreamComponent noPosition;
    noPosition.hasPrefix = true;
    noPosition.flags = kFlagChildPos;
    EXPECT_TRUE(WriteComponentRecord(noPosition, out));
    noPosition.childPos = StreamValue::Integer(2);
    EXPECT_FALSE(WriteComponentRecord(noPosition, out));

    EXPECT_FALSE(StreamValue::Set({"a", ""}));
    EXPECT_FALSE(StreamValue::Identifier(std::string(256, 'i')));
    EXPECT_FALSE(StreamValue::List({StreamValue::Null()}));
    EXPECT_FALSE(StreamValue::IntegerOfType(StreamType::Int8, 128));
    EXPECT_FALSE(StreamValue::FromContent(StreamType::Int32, "abc"));
    EXPECT_FALSE(StreamValue::FromContent(StreamType::WString, "abc"));
}

}  // namespace
}  // namespace vekaton
