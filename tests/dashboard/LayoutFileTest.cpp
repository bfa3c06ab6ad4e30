#include "dashboard/LayoutFile.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "dashboard/LayoutTexts.h"
#include "support/ByteText.h"

namespace vekaton {
namespace {

using testing::Bytes;

// Answers the questions from a script and keeps everything it was shown or asked.
class ScriptedPrompts : public LayoutReadPrompts {
  public:
    explicit ScriptedPrompts(std::deque<bool> answers) : answers_(std::move(answers)) {}
    void ShowMessage(std::string_view text) override {
        log.emplace_back("show: " + std::string(text));
    }
    bool AskOkCancel(std::string_view question) override {
        log.emplace_back("ask: " + std::string(question));
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected question " << question;
            return false;
        }
        const bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    std::vector<std::string> log;

  private:
    std::deque<bool> answers_;
};

std::string Record(const std::string& className, const std::string& name, int left) {
    return Bytes({"TPF0", static_cast<int>(className.size()), className.c_str(),
                  static_cast<int>(name.size()), name.c_str(), 4, "Left", 2, left, 0, 0});
}

const std::string kTrailer = Bytes(
    {10, 0, 0, 0, 20, 0, 0, 0, 0x0A, 0x04, 0, 0, 0xEC, 0x02, 0, 0, 0x0F, 0, 0, 0x80, 2, 0, 0, 0});
const LayoutTrailer kTrailerValues{10, 20, 1034, 748, static_cast<std::int32_t>(0x8000000F), 2};

const std::vector<std::string> kNames{"Label1", "Page1", "USERLABEL1"};

TEST(LayoutFile, WritesRecordsThenTheSixIntegerTrailer) {
    std::vector<StreamComponent> records(2);
    records[0].className = "TLabel";
    records[0].name = "Label1";
    records[0].properties = {{"Left", StreamValue::Integer(1)}};
    records[1].className = "TTabSheet";
    records[1].name = "Page1";
    records[1].properties = {{"Left", StreamValue::Integer(2)}};
    std::string out;
    ASSERT_FALSE(WriteLayoutBytes(records, kTrailerValues, out));
    EXPECT_EQ(out, Record("TLabel", "Label1", 1) + Record("TTabSheet", "Page1", 2) + kTrailer);

    const LayoutParse parse = ParseLayout(out);
    EXPECT_FALSE(parse.error);
    EXPECT_EQ(parse.records, records);
    ASSERT_TRUE(parse.trailer);
    EXPECT_EQ(*parse.trailer, kTrailerValues);
}

TEST(LayoutFile, ParseTellsALayoutFromASingleStream) {
    const LayoutParse single = ParseLayout(Record("TLabel", "L", 3));
    EXPECT_FALSE(single.error);
    EXPECT_EQ(single.records.size(), 1u);
    EXPECT_FALSE(single.trailer);

    const LayoutParse layout = ParseLayout(Record("TLabel", "L", 3) + kTrailer);
    EXPECT_FALSE(layout.error);
    EXPECT_TRUE(layout.trailer);

    // Two records without a trailer, a trailer cut short, and junk are errors with offsets;
    // the records read before stay.
    const std::string two = Record("TLabel", "A", 1) + Record("TLabel", "B", 2);
    LayoutParse bad = ParseLayout(two);
    ASSERT_TRUE(bad.error);
    EXPECT_EQ(bad.error->offset, two.size());
    EXPECT_EQ(bad.records.size(), 2u);
    bad = ParseLayout(two + kTrailer.substr(0, 23));
    ASSERT_TRUE(bad.error);
    EXPECT_EQ(bad.error->offset, two.size());
    bad = ParseLayout("");
    ASSERT_TRUE(bad.error);
    EXPECT_EQ(bad.error->offset, 0u);
    const std::string cut = Record("TLabel", "A", 1) + Record("TLabel", "B", 2).substr(0, 12);
    bad = ParseLayout(cut);
    ASSERT_TRUE(bad.error);
    EXPECT_EQ(bad.records.size(), 1u);
    EXPECT_GE(bad.error->offset, Record("TLabel", "A", 1).size());
}

TEST(LayoutFile, ReadsOneRecordPerControlAndTheTrailerWithoutQuestions) {
    const std::string data = Record("TLabel", "Label1", 1) + Record("TTabSheet", "Page1", 2) +
                             Record("TLabel", "USERLABEL1", 3) + kTrailer;
    ScriptedPrompts prompts({});
    const LayoutRead read = ReadLayout(data, kNames, prompts);
    EXPECT_TRUE(prompts.log.empty());
    EXPECT_FALSE(read.damaged);
    ASSERT_EQ(read.records.size(), 3u);
    EXPECT_EQ(read.records[2]->name, "USERLABEL1");
    ASSERT_TRUE(read.trailer);
    EXPECT_EQ(*read.trailer, kTrailerValues);
}

TEST(LayoutFile, FileCutInARecordTakesTheRecoveryPathAndCannotRecover) {
    const std::string first = Record("TLabel", "Label1", 1);
    const std::string data = first + Record("TTabSheet", "Page1", 2).substr(0, 15);
    ScriptedPrompts prompts({true});
    const LayoutRead read = ReadLayout(data, kNames, prompts);
    const std::vector<std::string> expected{
        "show: ERROR Reading DataStream at Pos:" + std::to_string(first.size()) +
            ", Trying to Read: Page1",
        "ask: Try Skipping File Information ?",
        "show: Unable to Recover",
    };
    EXPECT_EQ(prompts.log, expected);
    EXPECT_TRUE(read.damaged);
    ASSERT_EQ(read.records.size(), 3u);
    EXPECT_TRUE(read.records[0]);
    EXPECT_FALSE(read.records[1]);
    EXPECT_FALSE(read.records[2]);
    EXPECT_FALSE(read.trailer);
    EXPECT_FALSE(read.notes.empty());
}

TEST(LayoutFile, SkippingFileInformationReadsTheNextRecordIntoTheSameControl) {
    // The second record is damaged (an unknown value type); the third follows intact.
    std::string damaged = Record("TTabSheet", "Page1", 2);
    damaged[damaged.size() - 4] = 0x33;  // the Left value's type byte
    const std::string data =
        Record("TLabel", "Label1", 1) + damaged + Record("TLabel", "USERLABEL1", 3) + kTrailer;
    ScriptedPrompts prompts({true});
    const LayoutRead read = ReadLayout(data, kNames, prompts);
    ASSERT_EQ(prompts.log.size(), 2u);
    EXPECT_EQ(prompts.log[1], "ask: Try Skipping File Information ?");
    ASSERT_TRUE(read.records[1]);
    EXPECT_EQ(read.records[1]->name, "USERLABEL1");  // the next record, read for Page1
    // The last control finds only the trailer: it keeps its design; the window gets its place.
    EXPECT_FALSE(read.records[2]);
    EXPECT_TRUE(read.trailer);
    EXPECT_TRUE(read.damaged);
}

TEST(LayoutFile, SkippingFormInformationLeavesTheControlAtItsDefaults) {
    std::string damaged = Record("TTabSheet", "Page1", 2);
    damaged[damaged.size() - 4] = 0x33;
    const std::string data = Record("TLabel", "Label1", 1) + damaged + kTrailer;

    // Cancel, then OK: back to the damaged record's start, which the next control reads again
    // (and fails on again); the last answers go on from where the read stopped.
    ScriptedPrompts prompts({false, true, false, false});
    const LayoutRead read = ReadLayout(data, kNames, prompts);
    const std::string pos = std::to_string(Record("TLabel", "Label1", 1).size());
    const std::vector<std::string> expected{
        "show: ERROR Reading DataStream at Pos:" + pos + ", Trying to Read: Page1",
        "ask: Try Skipping File Information ?",
        "ask: Try Skipping Form Information ?",
        "show: ERROR Reading DataStream at Pos:" + pos + ", Trying to Read: USERLABEL1",
        "ask: Try Skipping File Information ?",
        "ask: Try Skipping Form Information ?",
    };
    EXPECT_EQ(prompts.log, expected);
    EXPECT_TRUE(read.records[0]);
    EXPECT_FALSE(read.records[1]);
    EXPECT_FALSE(read.records[2]);
    EXPECT_TRUE(read.damaged);
}

TEST(LayoutFile, ShortOrLongFilesLeaveTheRestAtTheirDesignWithoutEndlessQuestions) {
    // Fewer records than controls: no questions at the end of the data.
    ScriptedPrompts none({});
    LayoutRead read = ReadLayout(Record("TLabel", "Label1", 1), kNames, none);
    EXPECT_TRUE(none.log.empty());
    EXPECT_TRUE(read.records[0]);
    EXPECT_FALSE(read.trailer);
    EXPECT_TRUE(read.damaged);

    // More records than controls: the window's place is still the last 24 bytes.
    const std::string data =
        Record("TLabel", "Label1", 1) + Record("TLabel", "Extra", 2) + kTrailer;
    read = ReadLayout(data, std::vector<std::string>{"Label1"}, none);
    ASSERT_TRUE(read.trailer);
    EXPECT_EQ(*read.trailer, kTrailerValues);
    EXPECT_TRUE(read.damaged);

    // Nothing but junk, every answer Cancel: each control is asked about once, then it ends.
    ScriptedPrompts cancel({false, false, false, false, false, false});
    read = ReadLayout(std::string(100, '\x07'), kNames, cancel);
    EXPECT_EQ(cancel.log.size(), 9u);
    EXPECT_TRUE(read.damaged);
}

}  // namespace
}  // namespace vekaton
