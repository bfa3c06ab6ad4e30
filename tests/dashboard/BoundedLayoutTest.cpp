// Layout readers hold memory and time to a bound whatever the file says: long texts keep their
// first 64 KB and are named, the values of all records together are limited, and the rest of the
// file is still read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dashboard/ComponentStream.h"
#include "dashboard/LayoutFile.h"

namespace vekaton {
namespace {

StreamComponent Record(const std::string& name, std::vector<StreamProperty> properties = {}) {
    StreamComponent record;
    record.className = "TLabel";
    record.name = name;
    record.properties = std::move(properties);
    return record;
}

StreamValue Content(StreamType type, std::string bytes) {
    return *StreamValue::FromContent(type, std::move(bytes));
}

std::string Layout(const std::vector<StreamComponent>& records) {
    std::string bytes;
    LayoutTrailer trailer;
    trailer.right = 640;
    EXPECT_FALSE(WriteLayoutBytes(records, trailer, bytes));
    return bytes;
}

class AnswerOk : public LayoutReadPrompts {
  public:
    void ShowMessage(std::string_view text) override { shown.emplace_back(text); }
    bool AskOkCancel(std::string_view) override { return true; }
    std::vector<std::string> shown;
};

TEST(BoundedLayout, AMegabyteCaptionKeepsItsFirst64KbAndTheRestOfTheFileIsRead) {
    const std::string caption(1 << 20, 'A');
    const std::string bytes =
        Layout({Record("USERLABEL1", {{"Caption", Content(StreamType::LString, caption)},
                                      {"Left", StreamValue::Integer(8)}}),
                Record("USERLABEL2", {{"Caption", StreamValue::Text("after")}})});

    const LayoutParse parse = ParseLayout(bytes);
    ASSERT_FALSE(parse.error) << parse.error->message;
    ASSERT_EQ(parse.records.size(), 2u);
    EXPECT_EQ(parse.records[0].Find("Caption")->value.Content(),
              caption.substr(0, kMaxStreamContentBytes));
    EXPECT_EQ(parse.records[0].Find("Left")->value.AsInteger(), 8);
    EXPECT_EQ(parse.records[1].Find("Caption")->value.Utf8(), "after");
    ASSERT_TRUE(parse.trailer);
    EXPECT_EQ(parse.trailer->right, 640);
    ASSERT_EQ(parse.cut.size(), 1u);
    EXPECT_EQ(parse.cut[0],
              "Caption of USERLABEL1 (a long string of 1048576 bytes) was cut to its first 65536 "
              "bytes");

    AnswerOk prompts;
    const std::vector<std::string> names{"USERLABEL1", "USERLABEL2"};
    const LayoutRead read = ReadLayout(bytes, names, prompts);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(read.damaged) << "a save would write less than the file holds";
    ASSERT_TRUE(read.records[1]);
    EXPECT_NE(read.notes.back().find("Caption of USERLABEL1"), std::string::npos);
    EXPECT_TRUE(read.trailer);
}

TEST(BoundedLayout, CutTextsEndOnAWholeCharacter) {
    // UTF-16: a pair of surrogates across the cut goes as a whole.
    std::string wide(kMaxStreamContentBytes - 2, '\0');
    wide += std::string("\x3D\xD8\x00\xDE", 4);  // U+1F600 as a surrogate pair
    wide += std::string(64, '\0');
    // UTF-8: a three-byte character across the cut goes as a whole.
    std::string utf8(kMaxStreamContentBytes - 1, 'x');
    utf8 += "\xE2\x82\xAC and more";
    const std::string bytes = Layout({Record("R", {{"W", Content(StreamType::WString, wide)},
                                                   {"U", Content(StreamType::Utf8String, utf8)},
                                                   {"B", StreamValue::Binary(utf8)}})});
    const LayoutParse parse = ParseLayout(bytes);
    ASSERT_FALSE(parse.error) << parse.error->message;
    EXPECT_EQ(parse.records[0].Find("W")->value.Content().size(), kMaxStreamContentBytes - 2);
    EXPECT_EQ(parse.records[0].Find("U")->value.Content().size(), kMaxStreamContentBytes - 1);
    EXPECT_EQ(parse.records[0].Find("B")->value.Content().size(), kMaxStreamContentBytes);
    EXPECT_EQ(parse.cut.size(), 3u);
}

TEST(BoundedLayout, TheValueLimitHoldsForTheWholeFileNotEachRecord) {
    // Three records of 40% of the limit each: every one alone is fine, together they are not.
    std::vector<StreamValue> elements(kMaxStreamValues * 2 / 5, StreamValue::Boolean(true));
    const StreamValue list = *StreamValue::List(std::move(elements));
    std::vector<StreamComponent> records;
    for (const char* name : {"A", "B", "C"}) {
        records.push_back(Record(name, {{"Many", list}}));
    }
    const std::string bytes = Layout(records);
    EXPECT_TRUE(ReadComponentRecord(bytes).component) << "one record alone";

    const LayoutParse parse = ParseLayout(bytes);
    ASSERT_TRUE(parse.error);
    EXPECT_EQ(parse.records.size(), 2u);
    EXPECT_NE(parse.error->message.find("values"), std::string::npos) << parse.error->message;

    AnswerOk prompts;
    const std::vector<std::string> names{"A", "B", "C"};
    const LayoutRead read = ReadLayout(bytes, names, prompts);
    EXPECT_TRUE(read.records[0] && read.records[1]);
    EXPECT_FALSE(read.records[2]);
    EXPECT_TRUE(read.damaged);
    EXPECT_NE(read.notes.back().find("more than any dashboard holds"), std::string::npos);
}

TEST(BoundedLayout, TwentyFourBytesOfARecordCutShortAreNoTrailer) {
    const std::string whole =
        Layout({Record("A"), Record("B", {{"Caption", StreamValue::Text(std::string(40, 'c'))}})});
    const std::size_t secondRecord = whole.find("TPF0", 1);
    // The file ends 24 bytes into the second record: it looks like a trailer by its length.
    const std::string cut = whole.substr(0, secondRecord + kLayoutTrailerSize);
    const LayoutParse parse = ParseLayout(cut);
    EXPECT_FALSE(parse.trailer);
    ASSERT_TRUE(parse.error);
    EXPECT_GE(parse.error->offset, secondRecord);
}

}  // namespace
}  // namespace vekaton
