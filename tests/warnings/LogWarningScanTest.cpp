// Warnings found in a data log: the frames where a value was beyond its limits (for shading a
// plot) and the warnings a live run would have raised, with the values `decode` prints.
#include <gtest/gtest.h>

#include <sstream>

#include "decode/PositionDetails.h"
#include "log/DataLogFile.h"
#include "log/LogCsvExport.h"
#include "warnings/LogWarningScan.h"
#include "warnings/WarningEventsCsv.h"

namespace vekaton {
namespace {

using Bytes = std::vector<std::uint8_t>;

const RecordLayout kLayout{1, 2, false};  // a header byte, coolant, flags

// Coolant in degrees frame by frame (the byte is the value + 40) and the flag byte.
const std::vector<int> kCoolant = {90, 90, 101, 90,  90,  102, 105, 110, 108, 103, 101, 99, 97,
                                   95, 90, 120, 120, 120, 120, 120, 120, 120, 120, 120, 120};
const std::vector<int> kFlags = {0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

Bytes MakeLog(int intervalMs) {
    Bytes log{static_cast<std::uint8_t>(intervalMs & 0xFF),
              static_cast<std::uint8_t>(intervalMs >> 8)};
    for (std::size_t i = 0; i < kCoolant.size(); ++i) {
        log.push_back(0xF4);
        log.push_back(static_cast<std::uint8_t>(kCoolant[i] + 40));
        log.push_back(static_cast<std::uint8_t>(kFlags[i]));
    }
    return log;
}

class LogWarningScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table.At(1).Descriptions[0] = "Coolant, engine";
        table.At(1).SetFormula("A-40");
        table.At(2).IsDigital = true;
        table.At(2).Descriptions[0] = "Check engine";
        details.At(1).warnHigh = 100;
        details.At(1).displayMin = 0;
        details.At(1).displayMax = 200;  // a margin of 4
        details.At(1).alarm = true;
        details.AtBit(2, 0).alarm = true;
    }
    void Open(int intervalMs) {
        ASSERT_FALSE(log.Open(MemoryLogBytes(MakeLog(intervalMs)), kLayout.Size()));
    }

    ParameterTable table;
    DetailsTable details;
    DataLogFile log;
};

TEST_F(LogWarningScanTest, SpansCoverTheFramesBeyondTheLimitsAndEventsAreDebounced) {
    Open(100);
    LogWarningScan scan(log, kLayout, table, details);
    EXPECT_TRUE(scan.Step(4));  // in steps, as a window with a progress bar runs it
    EXPECT_EQ(scan.Done(), 4);
    EXPECT_TRUE(scan.Run());
    EXPECT_TRUE(scan.Finished());
    EXPECT_EQ(scan.Done(), 25);

    ASSERT_EQ(scan.Spans().size(), 2u);
    EXPECT_EQ(scan.Spans()[0].ref, (ValueRef{1, -1}));
    EXPECT_EQ(scan.Spans()[0].spans, (std::vector<FrameSpan>{{3, 3}, {6, 11}, {16, 25}}));
    EXPECT_EQ(scan.Spans()[1].ref, (ValueRef{2, 0}));
    EXPECT_EQ(scan.Spans()[1].spans, (std::vector<FrameSpan>{{8, 9}}));

    // The single hot frame and the 0.2 s flag are too short to warn; the long runs warn from
    // the frame that passed the limit, and the first ends when the value is 4 below it.
    const auto& events = scan.Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].name, "Coolant, engine");
    EXPECT_EQ(events[0].startFrame, 6);
    EXPECT_DOUBLE_EQ(events[0].startSeconds, 0.5);
    EXPECT_EQ(events[0].endFrame, 14);
    EXPECT_DOUBLE_EQ(*events[0].endSeconds, 1.3);
    EXPECT_DOUBLE_EQ(events[0].extreme, 110);
    EXPECT_DOUBLE_EQ(events[0].limit, 100);
    EXPECT_TRUE(events[0].alarm);
    EXPECT_EQ(events[1].startFrame, 16);
    EXPECT_FALSE(events[1].endFrame);  // still hot when the log ends
    EXPECT_DOUBLE_EQ(events[1].extreme, 120);

    std::ostringstream csv;
    WriteWarningEventsCsv(csv, events);
    EXPECT_EQ(csv.str(),
              "Start,End,Start Frame,End Frame,Position,Name,Limit,Extreme,Alarm\r\n"
              "0.5,1.3,6,14,1,\"Coolant, engine\",high 100,110,yes\r\n"
              "1.5,,16,,1,\"Coolant, engine\",high 100,120,yes\r\n");
}

TEST_F(LogWarningScanTest, ValuesAreThoseDecodePrints) {
    // A formula with fractions: the extreme must be the very number the CSV holds.
    table.At(1).SetFormula("A*0.75-40");
    details.At(1).warnHigh = 60;
    details.At(1).displayMax = 100;  // a margin of 2: back to 57.5 clears
    Open(100);
    LogWarningScan scan(log, kLayout, table, details);
    ASSERT_TRUE(scan.Run());
    ASSERT_FALSE(scan.Events().empty());

    std::ostringstream csv;
    LogCsvExport exporter(log, kLayout, table, csv, NumberPrecision::Exact);
    while (exporter.Step(100)) {
    }
    // Frame 8 is the hottest of the first run (110 + 40 = 150 as a byte); the header comes first.
    std::istringstream rows(csv.str());
    std::string row;
    for (int i = 0; i <= 8; ++i) {
        std::getline(rows, row);
    }
    const std::string field = row.substr(row.find(',', row.find(',') + 1) + 1);
    EXPECT_DOUBLE_EQ(scan.Events()[0].extreme, std::stod(field));
    EXPECT_DOUBLE_EQ(scan.Events()[0].extreme, 150 * 0.75 - 40);
}

TEST_F(LogWarningScanTest, ALogWithoutAnIntervalWarnsOnEveryExcursion) {
    Open(0);
    LogWarningScan scan(log, kLayout, table, details);
    ASSERT_TRUE(scan.Run());
    std::vector<std::int64_t> starts;
    for (const WarningEvent& event : scan.Events()) {
        starts.push_back(event.startFrame);
    }
    EXPECT_EQ(starts, (std::vector<std::int64_t>{3, 6, 8, 16}));
    EXPECT_EQ(scan.Events()[2].side, WarningSide::Flag);
    EXPECT_EQ(scan.Events()[2].endFrame, 10);

    std::ostringstream csv;
    WriteWarningEventsCsv(csv, std::span(scan.Events()).subspan(2, 1));
    EXPECT_NE(csv.str().find(",2.0,Check engine,on,,yes\r\n"), std::string::npos) << csv.str();
}

TEST_F(LogWarningScanTest, NoLimitsNoWatchesAndAnEmptyLogIsDoneAtOnce) {
    Open(100);
    LogWarningScan scan(log, kLayout, table, DetailsTable{});
    EXPECT_TRUE(scan.Run());
    EXPECT_TRUE(scan.Spans().empty());
    EXPECT_TRUE(scan.Events().empty());

    DataLogFile empty;
    ASSERT_FALSE(empty.Open(MemoryLogBytes(Bytes{100, 0}), kLayout.Size()));
    LogWarningScan none(empty, kLayout, table, details);
    EXPECT_FALSE(none.Step(10));
    EXPECT_TRUE(none.Finished());
    EXPECT_FALSE(none.ReadError());
}

}  // namespace
}  // namespace vekaton
