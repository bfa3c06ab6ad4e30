#include "log/CsvWriter.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <random>
#include <sstream>

#include "common/FloatText.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"

namespace vekaton::cli {
namespace {

std::string Field(std::string_view text) {
    std::string line;
    AppendCsvField(line, text);
    return line;
}

TEST(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(Field("Engine speed rpm"), "Engine speed rpm");
    EXPECT_EQ(Field(""), "");
    EXPECT_EQ(Field("Coolant, C"), "\"Coolant, C\"");
    EXPECT_EQ(Field("5\" gauge"), "\"5\"\" gauge\"");
    EXPECT_EQ(Field("\"quoted\""), "\"\"\"quoted\"\"\"");
    EXPECT_EQ(Field("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(Field("line\nfeed"), "\"line\nfeed\"");
    EXPECT_EQ(Field("semi;colon 'single'"), "semi;colon 'single'");
}

TEST(NumberTextsTest, GivesTheTableTextWhetherKeptOrNot) {
    // Values that repeat, collide in the table, change or stay, and texts too long to keep.
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  4660.0,
                                  0.1,
                                  0.30000000000000004,
                                  100000.0,
                                  1e21,
                                  -40.0,
                                  255.0,
                                  11.75,
                                  74.90196078431373,
                                  -2.2250738585072014e-308,
                                  1.7976931348623157e308,
                                  5e-324,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 random(3);
    for (int i = 0; i < 100000; ++i) {
        const auto a = static_cast<double>(random() % 256);
        const auto b = static_cast<double>(random() % 256);
        values.push_back(i % 3 == 0 ? a / 2.55 : i % 3 == 1 ? a * 256 + b : a * 0.4 + 10);
        values.push_back(std::bit_cast<double>(random()));  // any bit pattern at all
    }
    for (const NumberPrecision precision : {NumberPrecision::Significant, NumberPrecision::Exact}) {
        NumberTexts texts(precision);
        std::array<NumberText, 3> last{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            for (int twice = 0; twice < 2; ++twice) {
                std::string line = "x";
                texts.Append(line, values[i], last[i % last.size()]);
                ASSERT_EQ(line, "x" + TableNumberText(values[i], precision)) << i;
            }
        }
    }
}

class FrameCsvTest : public ::testing::Test {
  protected:
    void SetUp() override { table_.Reset(); }

    ParameterRecord& Analog(int position, std::string description, std::string formula,
                            int byteCount = 1) {
        ParameterRecord& record = table_.At(position);
        record.Descriptions[0] = std::move(description);
        record.SetFormula(std::move(formula));
        record.ByteCount = byteCount;
        return record;
    }
    void Bit(int position, int bit, std::string description) {
        ParameterRecord& record = table_.At(position);
        record.IsDigital = true;
        record.Descriptions[static_cast<std::size_t>(bit)] = std::move(description);
    }
    void Frame(const std::vector<std::uint8_t>& data) {
        decoder_.StartFrame();
        int position = 0;
        for (const std::uint8_t b : data) {
            decoder_.DecodeByte(++position, b);
        }
    }

    ParameterTable table_;
    FormulaFrontEnd formulas_;
    Decoder decoder_{table_, formulas_};
};

TEST_F(FrameCsvTest, ColumnsAreDescribedAnalogPositionsThenDescribedBits) {
    Analog(500, "Last", "A*1");
    Bit(3, 7, "Check engine");
    Bit(3, 0, "Closed loop");
    Analog(1, "First", "A*1");
    Analog(7, "", "A*2");  // no description: no column
    Bit(2, 4, "Fan");
    table_.At(9).IsDigital = true;  // digital without bit descriptions: no column

    const auto columns = FrameColumns(table_);
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(columns[0].name, "First");
    EXPECT_EQ(columns[0].bit, -1);
    EXPECT_EQ(columns[1].name, "Last");
    EXPECT_EQ(columns[1].position, 500);
    EXPECT_EQ(columns[2].name, "Fan");
    EXPECT_EQ(columns[2].position, 2);
    EXPECT_EQ(columns[2].bit, 4);
    EXPECT_EQ(columns[3].name, "Closed loop");
    EXPECT_EQ(columns[4].name, "Check engine");
    EXPECT_EQ(columns[4].bit, 7);
}

TEST_F(FrameCsvTest, RowsHoldWhatTheChartWouldPlot) {
    Analog(1, "Coolant, C", "A*0.75-40");
    Analog(2, "Engine speed", "A*256+B", 2);  // shown at position 3, its last byte
    Analog(4, "Raw", "");
    Analog(5, "Tenth", "A*0.1");
    Bit(6, 0, "Closed loop");
    Bit(6, 3, "Running");

    std::ostringstream out;
    CsvWriter csv(out, table_, false);
    csv.WriteHeader();
    Frame({200, 0x12, 0x34, 77, 1, 0b0000'1001});
    csv.WriteFrame(1, 0.0, decoder_);
    Frame({0, 0x00, 0xFF, 255, 3, 0b0000'0001});
    csv.WriteFrame(2, 0.11, decoder_);

    EXPECT_EQ(out.str(),
              "Frame,Time,\"Coolant, C\",Engine speed,Raw,Tenth,Closed loop,Running\r\n"
              "1,0,110,4660,77,0.1,1,1\r\n"
              "2,0.11,-40,255,255,0.3,1,0\r\n");
}

TEST_F(FrameCsvTest, ExactRowsKeepEveryBitOfTheValues) {
    Analog(1, "Tenth", "A*0.1");
    Analog(2, "Scaled", "A*0.4+10");
    std::ostringstream out;
    CsvWriter csv(out, table_, false, NumberPrecision::Exact);
    Frame({3, 71});
    csv.WriteFrame(1, 0.30000000000000004, decoder_);
    csv.WriteFrame(2, 1.0 / 3.0, decoder_);
    EXPECT_EQ(out.str(),
              "1,0.30000000000000004,0.30000000000000004,38.400000000000006\r\n"
              "2,0.3333333333333333,0.30000000000000004,38.400000000000006\r\n");
}

TEST_F(FrameCsvTest, RawModeRowsHoldTheRawByteOfTheLastPosition) {
    Analog(1, "Speed", "A*256+B", 2);
    Analog(3, "Half", "A/2");
    decoder_.SetRawMode(true);
    std::ostringstream out;
    CsvWriter csv(out, table_, false);
    Frame({0x01, 0x02, 9});
    csv.WriteFrame(7, 1.5, decoder_);
    EXPECT_EQ(out.str(), "7,1.5,2,9\r\n");
}

TEST_F(FrameCsvTest, AFormulaThatFaultsLeavesItsCellEmptyForThatFrameOnly) {
    Analog(1, "Cranking rpm", "983040/(A*256+B)", 2);
    Analog(3, "Per mille", "1000/A");
    Analog(4, "Tenth", "A*0.1");
    std::ostringstream out;
    CsvWriter csv(out, table_, false);
    csv.WriteHeader();
    Frame({0, 0, 0, 7});
    csv.WriteFrame(1, 0.0, decoder_);
    Frame({0x01, 0x00, 8, 0});
    csv.WriteFrame(2, 0.5, decoder_);
    Frame({0, 0, 0, 0});
    csv.WriteFrame(3, 1.0, decoder_);
    EXPECT_EQ(out.str(),
              "Frame,Time,Cranking rpm,Per mille,Tenth\r\n"
              "1,0,,,0.7\r\n"
              "2,0.5,3840,125,0\r\n"
              "3,1,,,0\r\n");
}

TEST_F(FrameCsvTest, ChecksumColumnSaysOkOrBad) {
    Analog(1, "Value", "A*1");
    std::ostringstream out;
    CsvWriter csv(out, table_, true);
    EXPECT_TRUE(csv.HasChecksumColumn());
    csv.WriteHeader();
    Frame({5});
    csv.WriteFrame(1, 0.0, decoder_, true);
    csv.WriteFrame(2, 0.5, decoder_, false);
    EXPECT_EQ(out.str(), "Frame,Time,Value,Checksum\r\n1,0,5,OK\r\n2,0.5,5,BAD\r\n");
}

TEST_F(FrameCsvTest, AnEmptyTableGivesFrameAndTimeOnly) {
    std::ostringstream out;
    CsvWriter csv(out, table_, false);
    csv.WriteHeader();
    Frame({1, 2, 3});
    csv.WriteFrame(3, 0.25, decoder_, false);  // no checksum column: the outcome is not written
    EXPECT_EQ(out.str(), "Frame,Time\r\n3,0.25\r\n");
}

}  // namespace
}  // namespace vekaton::cli
