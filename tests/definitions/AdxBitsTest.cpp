// ADX bit masks: one bit becomes a digital line, several bits a number with DIV and MOD.
#include <gtest/gtest.h>

#include "AdxTestFiles.h"
#include "DecodeSupport.h"
#include "definitions/AdxImport.h"

namespace vekaton {
namespace {

using testing::AdxBitMask;
using testing::AdxFile;
using testing::AdxValue;
using testing::ReportOf;

std::unique_ptr<AdxImport> Imported(const std::string& objects) {
    AdxImportResult result = ImportAdx(AdxFile(objects));
    EXPECT_TRUE(result.import) << result.error;
    return std::move(result.import);
}

const std::string kLoopTexts = "<truestring>Closed</truestring><falsestring>Open</falsestring>";

TEST(AdxBitsTest, OneBitBecomesADigitalLine) {
    const auto import =
        Imported(AdxBitMask("Loop Status", "0x0D", "0x00000080", "0x00000080", kLoopTexts) +
                 AdxBitMask("A/C requested", "0x0D", "0x00000001", "0x00000000"));
    const ParameterRecord& record = import->table->At(14);
    EXPECT_TRUE(record.IsDigital);
    EXPECT_EQ(record.Descriptions[7], "Loop Status");
    EXPECT_EQ(record.Descriptions[0], "A/C requested");
    EXPECT_EQ(import->details.FindBit(14, 7), nullptr);
    ASSERT_NE(import->details.FindBit(14, 0), nullptr);
    EXPECT_TRUE(import->details.FindBit(14, 0)->activeWhenClear);
    EXPECT_EQ(import->mappedBits, 2);
    EXPECT_EQ(ReportOf(*import, "Loop Status"),
              "position 14, bit 7 (\"Closed\" when on, \"Open\" when off)");
    EXPECT_EQ(ReportOf(*import, "A/C requested"), "position 14, bit 0, on when clear");

    std::vector<std::uint8_t> frame(20, 0);
    frame[13] = 0x80;
    ParameterTable table = *import->table;
    FormulaFrontEnd formulas;
    Decoder decoder(table, formulas);
    decoder.StartFrame();
    for (std::size_t i = 0; i < frame.size(); ++i) {
        decoder.DecodeByte(static_cast<int>(i + 1), frame[i]);
    }
    EXPECT_TRUE(table.At(14).Bits[7]);
    EXPECT_FALSE(table.At(14).Bits[0]);
}

TEST(AdxBitsTest, SeveralBitsBecomeANumberAndKeepTheirNames) {
    const auto import =
        Imported(AdxBitMask("Gear", "0x0E", "0x0000001C", "0x0000000C",
                            "<truestring>Drive</truestring><falsestring>Not drive</falsestring>") +
                 AdxBitMask("Gear park", "0x0E", "0x0000001C", "0x00000000",
                            "<truestring>Park</truestring>") +
                 AdxBitMask("Odd bits", "0x0F", "0x00000005", "0x00000005") +
                 AdxBitMask("Never", "0x10", "0x00000080", "0x00000040"));
    const ParameterRecord& gear = import->table->At(15);
    EXPECT_FALSE(gear.IsDigital);
    EXPECT_EQ(gear.Formula(), "(ADIV4)MOD8");
    std::vector<std::uint8_t> frame(20, 0);
    frame[14] = 0x0C | 0x80 | 0x01;  // bits outside the field do not count
    frame[15] = 0x07;
    EXPECT_EQ(testing::DecodeFrame(*import->table, frame)[15], 3.0);
    EXPECT_EQ(testing::DecodeFrame(*import->table, frame)[16], 5.0);
    const PositionDetails* details = import->details.Find(15);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->valueNames, (std::vector<ValueName>{{3, "Drive"}, {0, "Park"}}));
    EXPECT_EQ(details->displayMin, 0.0);
    EXPECT_EQ(details->displayMax, 7.0);
    EXPECT_EQ(details->decimals, 0);
    EXPECT_EQ(ReportOf(*import, "Gear"),
              "position 15: (ADIV4)MOD8, bits 2 to 4 as a number; \"Drive\" kept as the name of 3; "
              "\"Not drive\" not kept");
    EXPECT_EQ(ReportOf(*import, "Gear park"),
              "skipped: the same bits as \"Gear\" at position 15; \"Park\" kept there as the name "
              "of 0");
    EXPECT_EQ(ReportOf(*import, "Odd bits"),
              "position 16: (AMOD2)+((ADIV4)MOD2)*4, the bits 0x00000005 as a number");
    EXPECT_EQ(ReportOf(*import, "Never"),
              "position 17: ADIV128, bit 7 as a number; its test against 0x00000040 can "
              "never hold");
}

TEST(AdxBitsTest, MasksThatCannotBeTestedAreSkipped) {
    const auto import = Imported(
        AdxBitMask("Wide", "0x01", "0x00000100", "0x00000100") +
        AdxBitMask("Empty", "0x01", "0x00000000", "0x00000000") +
        AdxBitMask("Unplaced", "0xFFFFFFFF", "0x00000001", "0x00000001") +
        AdxBitMask("Far", "0x20", "0x00000001", "0x00000001") +
        "<ADXBITMASK id=\"OR\" idhash=\"0x9\" title=\"Or\"><packetoffset>0x01</packetoffset>"
        "<operand>0x1</operand><bitop>OR</bitop><result>0x1</result></ADXBITMASK>");
    EXPECT_EQ(ReportOf(*import, "Wide"),
              "skipped: its operand 0x00000100 reaches beyond the byte it tests");
    EXPECT_EQ(ReportOf(*import, "Empty"), "skipped: its operand 0x00000000 tests no bit");
    EXPECT_EQ(ReportOf(*import, "Unplaced"),
              "skipped: it is not placed in the frame (packetoffset 0xFFFFFFFF)");
    EXPECT_EQ(ReportOf(*import, "Far"), "skipped: it lies beyond the 20 data bytes of the reply");
    EXPECT_EQ(ReportOf(*import, "Or"), "skipped: its bit operation \"OR\" is not known");
    EXPECT_EQ(import->mappedBits, 0);
}

TEST(AdxBitsTest, ABitAndAValueCannotShareAByte) {
    const auto import =
        Imported(AdxValue("Status byte", "0x1", "<packetoffset>0x05</packetoffset>") +
                 AdxBitMask("Fan", "0x05", "0x00000002", "0x00000002") +
                 AdxBitMask("Pump", "0x06", "0x00000002", "0x00000002") +
                 AdxBitMask("Pump again", "0x06", "0x00000002", "0x00000000") +
                 AdxBitMask("Pump field", "0x06", "0x00000003", "0x00000003"));
    EXPECT_EQ(ReportOf(*import, "Fan"), "skipped: position 6 already holds \"Status byte\"");
    EXPECT_EQ(ReportOf(*import, "Pump"), "position 7, bit 1");
    EXPECT_EQ(ReportOf(*import, "Pump again"),
              "skipped: bit 1 of position 7 already holds \"Pump\"");
    EXPECT_EQ(ReportOf(*import, "Pump field"), "skipped: position 7 already holds \"Pump\"");
}

}  // namespace
}  // namespace vekaton
