// ADX values mapped onto parameter lines, each judged by the real decoder: a frame built from
// raw bytes must show the value the ADX equation gives for them.
#include <gtest/gtest.h>

#include <cmath>

#include "AdxTestFiles.h"
#include "DecodeSupport.h"
#include "definitions/AdxImport.h"

namespace vekaton {
namespace {

using testing::AdxFile;
using testing::AdxValue;
using testing::ReportOf;

std::unique_ptr<AdxImport> Imported(const std::string& objects) {
    AdxImportResult result = ImportAdx(AdxFile(objects));
    EXPECT_TRUE(result.import) << result.error;
    return std::move(result.import);
}

// The frame's 20 data bytes, zero but for the bytes given from `offset` on (0-based).
std::vector<std::uint8_t> Frame(int offset, std::vector<std::uint8_t> bytes) {
    std::vector<std::uint8_t> frame(20, 0);
    std::copy(bytes.begin(), bytes.end(), frame.begin() + offset);
    return frame;
}

// The value the decoder shows at `position` for the frame.
double Decoded(const AdxImport& import, int position, const std::vector<std::uint8_t>& frame) {
    return testing::DecodeFrame(*import.table, frame)[static_cast<std::size_t>(position)];
}

TEST(AdxValuesTest, ANativeValueStandsAtItsFirstByteWithItsEquation) {
    const auto import =
        Imported(AdxValue("Coolant Temp", "0x55555555",
                          "<units>Deg F</units><packetoffset>0x07</packetoffset>"
                          "<range low=\"-40.000000\" high=\"304.250000\" />"
                          "<alarms low=\"-40.000000\" high=\"239.449997\" />"
                          "<digcount>1</digcount><MATH equation=\"X * 1.350000 + "
                          "-40.000000\"><VAR varID=\"X\" type=\"native\" /></MATH>"));
    const ParameterRecord& record = import->table->At(8);
    EXPECT_EQ(record.Descriptions[0], "Coolant Temp");
    EXPECT_EQ(record.Formula(), "A*1.35-40");
    EXPECT_EQ(record.ByteCount, 1);
    EXPECT_FALSE(record.IsDigital);
    EXPECT_DOUBLE_EQ(Decoded(*import, 8, Frame(7, {100})), 95.0);
    EXPECT_EQ(ReportOf(*import, "Coolant Temp"), "position 8: A*1.35-40 [Deg F]");

    const PositionDetails* details = import->details.Find(8);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->unit, "Deg F");
    EXPECT_EQ(details->displayMin, -40.0);
    EXPECT_EQ(details->displayMax, 304.25);
    EXPECT_EQ(details->warnLow, -40.0);
    EXPECT_NEAR(*details->warnHigh, 239.45, 1e-5);
    EXPECT_EQ(details->decimals, 1);
}

TEST(AdxValuesTest, MultiByteValuesReadMsbFirstUnlessTheFileSaysOtherwise) {
    struct Case {
        std::string fields;
        std::string formula;
        std::vector<std::uint8_t> bytes;
        double value;
    };
    const std::string x = "<MATH equation=\"X\"><VAR varID=\"X\" type=\"native\" /></MATH>";
    const Case cases[] = {
        {"<sizeinbits>16</sizeinbits>", "A*256+B", {0x12, 0x34}, 4660},
        {"<sizeinbits>16</sizeinbits><lsbfirst>1</lsbfirst>", "B*256+A", {0x34, 0x12}, 4660},
        {"<sizeinbits>32</sizeinbits>", "A*16777216+B*65536+C*256+D", {1, 2, 3, 4}, 16909060},
        {"<sizeinbits>24</sizeinbits>", "A*65536+B*256+C", {1, 2, 3}, 66051},
        {"<flags>0x00000001</flags>", "A-256*(ADIV128)", {0xFE}, -2},
        {"<flags>0x00000001</flags>", "A-256*(ADIV128)", {0x7F}, 127},
        {"<flags>0x00000005</flags><sizeinbits>16</sizeinbits>",
         "(A*256+B)-65536*(ADIV128)",
         {0xFF, 0xFE},
         -2},
        {"<flags>0x1</flags><sizeinbits>16</sizeinbits><lsbfirst>1</lsbfirst>",
         "(B*256+A)-65536*(BDIV128)",
         {0x00, 0x80},
         -32768},
        {"<flags>0x1</flags><sizeinbits>32</sizeinbits>",
         "(A*16777216+B*65536+C*256+D)-4294967296*(ADIV128)",
         {0xFF, 0xFF, 0xFF, 0xFE},
         -2},
    };
    for (const Case& c : cases) {
        const auto import =
            Imported(AdxValue("V", "0x1234", "<packetoffset>0x04</packetoffset>" + c.fields + x));
        const ParameterRecord& record = import->table->At(5);
        EXPECT_EQ(record.Formula(), c.formula) << c.fields;
        EXPECT_EQ(record.ByteCount, static_cast<int>(c.bytes.size())) << c.fields;
        const int shownAt = 5 + static_cast<int>(c.bytes.size()) - 1;
        EXPECT_EQ(Decoded(*import, shownAt, Frame(4, c.bytes)), c.value) << c.fields;
    }
}

TEST(AdxValuesTest, TheHeaderGivesTheDefaultsOfSizeSignAndOrder) {
    std::string link(testing::kAdxLink);
    link.replace(link.find("datasizeinbits=\"8\""), 18, "datasizeinbits=\"16\"");
    link.replace(link.find("signed=\"0\""), 10, "signed=\"1\"");
    link.replace(link.find("lsbfirst=\"0\""), 12, "lsbfirst=\"1\"");
    const AdxImportResult result =
        ImportAdx(AdxFile(AdxValue("V", "0x1", "<packetoffset>0x00</packetoffset>"), link));
    ASSERT_TRUE(result.import);
    EXPECT_EQ(result.import->table->At(1).Formula(), "(B*256+A)-65536*(BDIV128)");
}

TEST(AdxValuesTest, EquationsBecomeFormulasOfTheSameValue) {
    struct Case {
        std::string equation;
        std::string formula;
        std::uint8_t byte;
        double value;
    };
    const Case cases[] = {
        {"x / 2.56", "A/2.56", 128, 50},
        {"(X - 64) * 0.5 + 1 * 0", "(A-64)*0.5", 100, 18},
        {"X * 90 / 256", "(A*90)/256", 128, 45},
        {"-X + 10", "-A+10", 3, 7},
        {"X - -5", "A+5", 3, 8},
        {"X &amp; 15", "AMOD16", 0xAB, 11},
        {"(X &amp; 0xF0)", "", 0, 0},  // hex is not in the files' equations
        {"X &amp; 5", "(AMOD2)+((ADIV4)MOD2)*4", 7, 5},
        {"(X &amp; 240) / 16", "((ADIV16)*16)/16", 0xAB, 10},
    };
    for (const Case& c : cases) {
        const auto import = Imported(
            AdxValue("V", "0x2",
                     "<packetoffset>0x02</packetoffset><MATH equation=\"" + c.equation + "\" />"));
        EXPECT_EQ(import->table->At(3).Formula(), c.formula) << c.equation;
        if (!c.formula.empty()) {
            EXPECT_DOUBLE_EQ(Decoded(*import, 3, Frame(2, {c.byte})), c.value) << c.equation;
        }
    }
}

TEST(AdxValuesTest, ADivisionByTheRawValueGivesNoValueForZero) {
    const auto import = Imported(
        AdxValue("AFR", "0x3",
                 "<packetoffset>0x09</packetoffset><sizeinbits>16</sizeinbits>"
                 "<MATH equation=\"6553.6 / X\"><VAR varID=\"X\" type=\"native\" /></MATH>"));
    EXPECT_EQ(import->table->At(10).Formula(), "6553.6/(A*256+B)");
    EXPECT_DOUBLE_EQ(Decoded(*import, 11, Frame(9, {0x01, 0x00})), 25.6);
    EXPECT_TRUE(std::isnan(Decoded(*import, 11, Frame(9, {0, 0}))));
}

TEST(AdxValuesTest, ValuesOutsideTheLanguageOrTheFrameAreSkippedWithTheReason) {
    struct Case {
        std::string fields;
        std::string reason;
    };
    const std::string x = "<MATH equation=\"X\"><VAR varID=\"X\" type=\"native\" /></MATH>";
    const Case cases[] = {
        {"<packetoffset>0xFFFFFFFF</packetoffset>" + x,
         "it is not placed in the frame (packetoffset 0xFFFFFFFF)"},
        {"<packetoffset>0x02</packetoffset><parentcmdidhash>0x22222223</parentcmdidhash>" + x,
         "it belongs to the reply 0x22222223, not to the one polled"},
        {"<packetoffset>0x13</packetoffset><sizeinbits>16</sizeinbits>" + x,
         "it lies beyond the 20 data bytes of the reply"},
        {"<packetoffset>0x02</packetoffset><sizeinbits>12</sizeinbits>" + x,
         "its size of 12 bits is not 1 to 4 whole bytes"},
        {"<packetoffset>0x02</packetoffset><float>1</float>" + x,
         "it is a floating-point value, which our formulas cannot read"},
        {"<packetoffset>0x02</packetoffset><MATH equation=\"X ^ 2\" />",
         "its equation \"X ^ 2\" is outside the formula language: '^', a power in some programs "
         "and exclusive or in others, at \"^ 2\""},
        {"<packetoffset>0x02</packetoffset><MATH equation=\"sin(X)\" />",
         "its equation \"sin(X)\" is outside the formula language: a function, which our formulas "
         "cannot take over, at \"sin(X)\""},
        {"<packetoffset>0x02</packetoffset><MATH equation=\"X &amp; 255 * 2\" />",
         "its equation \"X & 255 * 2\" is outside the formula language: '&' beside + - * / "
         "without brackets, which programs read differently, at \"& 255 * 2\""},
        {"<packetoffset>0x02</packetoffset><flags>0x1</flags><MATH equation=\"X &amp; 3\" />",
         "its equation \"X & 3\" is outside the formula language: '&' other than a whole-number "
         "mask on the raw bytes of an unsigned value of at most 31 bits at \"& 3\""},
        {"<packetoffset>0x02</packetoffset><MATH equation=\"X + Z\" />",
         "its equation uses Z, which no VAR of the value declares"},
        {"<packetoffset>0x02</packetoffset><MATH equation=\"Q\"><VAR varID=\"Q\" type=\"table\" "
         "/></MATH>",
         "its variable Q has the type \"table\", which is not known"},
        {"<packetoffset>0x02</packetoffset><MATH equation=\"12.5\" />",
         "its equation \"12.5\" reads no byte of the frame"},
        {"<packetoffset>zz</packetoffset>" + x, "its packetoffset \"zz\" is not a hex number"},
    };
    for (const Case& c : cases) {
        const auto import = Imported(AdxValue("Odd", "0x4", c.fields));
        EXPECT_EQ(ReportOf(*import, "Odd"), "skipped: " + c.reason) << c.fields;
        EXPECT_EQ(import->mappedValues, 0) << c.fields;
    }
}

TEST(AdxValuesTest, ValuesNamingThePolledExchangeAreMapped) {
    const auto import = Imported(
        AdxValue("Of the reply", "0x20",
                 "<packetoffset>0x00</packetoffset><parentcmdidhash>0x22222222</parentcmdidhash>") +
        AdxValue("Of the request", "0x21",
                 "<packetoffset>0x01</packetoffset><parentcmdidhash>0x11111111</parentcmdidhash>") +
        testing::AdxBitMask("Flag elsewhere", "0x02", "0x00000001", "0x00000001",
                            "<parentcmdidhash>0x33333333</parentcmdidhash>"));
    EXPECT_EQ(ReportOf(*import, "Of the reply"), "position 1: A");
    EXPECT_EQ(ReportOf(*import, "Of the request"), "position 2: A");
    EXPECT_EQ(ReportOf(*import, "Flag elsewhere"),
              "skipped: it belongs to the reply 0x33333333, not to the one polled");
}

TEST(AdxValuesTest, UnknownFlagsAreNamedInTheReport) {
    const auto import = Imported(
        AdxValue("V", "0x5", "<flags>0x0000002C</flags><packetoffset>0x00</packetoffset>"));
    EXPECT_EQ(ReportOf(*import, "V"), "position 1: A; flags 0x00000020 not understood");
}

TEST(AdxValuesTest, OfTwoValuesOnTheSameBytesTheFirstStays) {
    const auto import = Imported(
        AdxValue("Speed", "0x6", "<packetoffset>0x01</packetoffset><sizeinbits>16</sizeinbits>") +
        AdxValue("Speed high byte", "0x7", "<packetoffset>0x01</packetoffset>") +
        AdxValue("Speed low byte", "0x8", "<packetoffset>0x02</packetoffset>") +
        AdxValue("Next", "0x9", "<packetoffset>0x03</packetoffset>"));
    EXPECT_EQ(ReportOf(*import, "Speed"), "position 2, 2 bytes shown at position 3: A*256+B");
    EXPECT_EQ(ReportOf(*import, "Speed high byte"), "skipped: position 2 already holds \"Speed\"");
    EXPECT_EQ(ReportOf(*import, "Speed low byte"),
              "skipped: its byte 3 overlaps \"Speed\" at position 2");
    EXPECT_EQ(ReportOf(*import, "Next"), "position 4: A");
    EXPECT_EQ(import->mappedValues, 2);
}

}  // namespace
}  // namespace vekaton
