// Values built on other values (links) and on lookup tables, judged by the real decoder.
#include <gtest/gtest.h>

#include <cmath>

#include "AdxTestFiles.h"
#include "DecodeSupport.h"
#include "definitions/AdxImport.h"
#include "definitions/LookupFit.h"

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

double DecodedByte(const AdxImport& import, int position, std::uint8_t byte) {
    std::vector<std::uint8_t> frame(20, 0);
    frame[static_cast<std::size_t>(position - 1)] = byte;
    return testing::DecodeFrame(*import.table, frame)[static_cast<std::size_t>(position)];
}

std::string Table(std::string_view title, std::string_view hash, std::string_view entries,
                  std::string_view mode = "0") {
    return "<ADXLOOKUPTABLE id=\"T\" idhash=\"" + std::string(hash) + "\" title=\"" +
           std::string(title) + "\"><lookupmode>" + std::string(mode) + "</lookupmode>" +
           std::string(entries) + "</ADXLOOKUPTABLE>\n";
}

std::string Entry(double input, double output) {
    return "<tableentry input=\"" + std::to_string(input) + "\" output=\"" +
           std::to_string(output) + "\" />";
}

const std::string kCoolant =
    AdxValue("Coolant F", "0x55555555",
             "<units>Deg F</units><packetoffset>0x07</packetoffset>"
             "<MATH equation=\"X * 1.35 - 40\"><VAR varID=\"X\" type=\"native\" /></MATH>");

TEST(AdxLinksTest, ALinkedValueIsInlinedAndKeepsThePositionOfItsSource) {
    const auto import = Imported(
        kCoolant + AdxValue("Coolant C", "0x5555555A",
                            "<units>Deg C</units><packetoffset>0xFFFFFFFF</packetoffset>"
                            "<MATH equation=\"(Y - 32) / 1.8\"><VAR varID=\"Y\" type=\"link\" "
                            "linkIDHash=\"0x55555555\" /></MATH>"));
    EXPECT_EQ(import->table->At(8).Descriptions[0], "Coolant C");
    EXPECT_EQ(import->table->At(8).Formula(), "(A*1.35-72)/1.8");
    EXPECT_NEAR(DecodedByte(*import, 8, 100), (100 * 1.35 - 40 - 32) / 1.8, 1e-12);
    EXPECT_EQ(ReportOf(*import, "Coolant C"),
              "position 8: (A*1.35-72)/1.8 [Deg C], reads \"Coolant F\" through its link");
    EXPECT_EQ(ReportOf(*import, "Coolant F"),
              "skipped: \"Coolant C\" at position 8 reads it through its link and shows it there, "
              "and a position holds one value");
    EXPECT_EQ(import->details.Find(8)->unit, "Deg C");
}

TEST(AdxLinksTest, ALinkAndTheValuesOwnBytesMayMeetOnlyOnTheSameBytes) {
    const auto same =
        Imported(kCoolant + AdxValue("Sum", "0x6",
                                     "<packetoffset>0x07</packetoffset><MATH equation=\"X + Y\">"
                                     "<VAR varID=\"X\" type=\"native\" /><VAR varID=\"Y\" "
                                     "type=\"link\" linkIDHash=\"0x55555555\" /></MATH>"));
    EXPECT_EQ(same->table->At(8).Formula(), "A+A*1.35-40");
    EXPECT_DOUBLE_EQ(DecodedByte(*same, 8, 100), 195.0);

    const auto other =
        Imported(kCoolant + AdxValue("Sum", "0x6",
                                     "<packetoffset>0x02</packetoffset><MATH equation=\"X + Y\">"
                                     "<VAR varID=\"X\" type=\"native\" /><VAR varID=\"Y\" "
                                     "type=\"link\" linkIDHash=\"0x55555555\" /></MATH>"));
    EXPECT_EQ(ReportOf(*other, "Sum"),
              "skipped: it reads \"Coolant F\" (byte 8) and its own bytes (byte 3), but a position "
              "reads only its own bytes");
    EXPECT_EQ(other->table->At(8).Descriptions[0], "Coolant F");
}

TEST(AdxLinksTest, BrokenLinksAreSkipped) {
    const auto import = Imported(AdxValue("Loop A", "0x7",
                                          "<MATH equation=\"Y\"><VAR varID=\"Y\" type=\"link\" "
                                          "linkIDHash=\"0x8\" /></MATH>") +
                                 AdxValue("Loop B", "0x8",
                                          "<MATH equation=\"Y\"><VAR varID=\"Y\" type=\"link\" "
                                          "linkIDHash=\"0x7\" /></MATH>") +
                                 AdxValue("Nowhere", "0x9",
                                          "<MATH equation=\"Y\"><VAR varID=\"Y\" type=\"link\" "
                                          "linkIDHash=\"0xABC\" /></MATH>"));
    EXPECT_EQ(ReportOf(*import, "Loop A"),
              "skipped: it links to \"Loop B\", which cannot be mapped");
    EXPECT_EQ(ReportOf(*import, "Loop B"), "skipped: its links run in a loop through \"Loop A\"");
    EXPECT_EQ(ReportOf(*import, "Nowhere"),
              "skipped: its variable Y links to 0x00000ABC, which the file does not hold");
}

TEST(AdxLinksTest, FormulasThatWouldGrowBeyondAnyLimitAreRefusedAtOnce) {
    // Each value reads the one before twenty times: written out, the last would be 20^5 long.
    std::string objects = AdxValue("Base", "0x100", "<packetoffset>0x00</packetoffset>");
    std::string twenty = "Y";
    for (int i = 1; i < 20; ++i) {
        twenty += "+Y";
    }
    for (int level = 1; level <= 5; ++level) {
        objects += AdxValue("Level " + std::to_string(level), "0x10" + std::to_string(level),
                            "<MATH equation=\"" + twenty +
                                "\"><VAR varID=\"Y\" type=\"link\" "
                                "linkIDHash=\"0x10" +
                                std::to_string(level - 1) + "\" /></MATH>");
    }
    objects += AdxValue(
        "Signs", "0x200",
        "<packetoffset>0x01</packetoffset><MATH equation=\"" + std::string(1000, '-') + "X\" />");
    std::string zeros = "X";
    for (int i = 0; i < 600; ++i) {
        zeros += "+0";
    }
    objects += AdxValue("Long", "0x201",
                        "<packetoffset>0x02</packetoffset><MATH equation=\"" + zeros + "\" />");
    const auto import = Imported(objects);
    EXPECT_EQ(ReportOf(*import, "Level 1").rfind("position 1: A+A+", 0), 0U)
        << ReportOf(*import, "Level 1");
    EXPECT_EQ(ReportOf(*import, "Level 2"),
              "skipped: its formula is too complex for our formulas (Expression contains too many "
              "nestings)");
    EXPECT_EQ(ReportOf(*import, "Level 3"),
              "skipped: its formula, with the values it reads written in, is far longer than a "
              "formula may be");
    EXPECT_EQ(ReportOf(*import, "Level 5"),
              "skipped: it links to \"Level 4\", which cannot be mapped");
    EXPECT_NE(ReportOf(*import, "Signs").find("nested too deep"), std::string::npos);
    EXPECT_NE(ReportOf(*import, "Long").find("longer than the 1024 characters"), std::string::npos)
        << ReportOf(*import, "Long");
}

TEST(AdxTablesTest, ATableIsExactAtItsPointsAndStraightBetween) {
    const auto import =
        Imported(AdxValue("MAT", "0x10",
                          "<units>Deg F</units><packetoffset>0x06</packetoffset>"
                          "<MATH equation=\"X\" lookupidhash=\"0x77777777\" />") +
                 Table("MAT table", "0x77777777",
                       Entry(1, -40) + Entry(100, 120) + Entry(5, -22) + Entry(255, 300)));
    LookupPoints table;
    table.x = {1, 5, 100, 255};
    table.y = {-40, -22, 120, 300};
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_NEAR(DecodedByte(*import, 7, static_cast<std::uint8_t>(byte)), table.At(byte), 1e-9)
            << byte;
    }
    EXPECT_EQ(ReportOf(*import, "MAT"),
              "position 7: its table as 3 straight segments, exact at its points [Deg F]");
    EXPECT_EQ(ReportOf(*import, "MAT table"), "used by \"MAT\" at position 7");
}

TEST(AdxTablesTest, TheTablesInputIsTheEquationsResult) {
    const std::string table = Table("T", "0x77", Entry(0, 0) + Entry(100, 50) + Entry(400, 60));
    const auto scaled = Imported(AdxValue("Scaled", "0x11",
                                          "<packetoffset>0x00</packetoffset><MATH equation=\"X * 2 "
                                          "+ 1\" lookupidhash=\"0x77\" />") +
                                 table);
    const auto divided =
        Imported(AdxValue("Divided", "0x12",
                          "<packetoffset>0x00</packetoffset><MATH equation=\"1000 / (X + 1)\" "
                          "lookupidhash=\"0x77\" />") +
                 table);
    LookupPoints points;
    points.x = {0, 100, 400};
    points.y = {0, 50, 60};
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<std::uint8_t>(byte);
        EXPECT_NEAR(DecodedByte(*scaled, 1, b), points.At(byte * 2 + 1), 1e-9) << byte;
        EXPECT_NEAR(DecodedByte(*divided, 1, b), points.At(1000.0 / (byte + 1)), 1e-9) << byte;
    }
    // Read straight from the byte, the scaled table needs A only once per segment.
    EXPECT_EQ(scaled->table->At(1).Formula().find("A*2"), std::string::npos);
}

TEST(AdxTablesTest, ATableBeyondTheLimitsReportsTheErrorTheFormulaReallyMakes) {
    std::string entries;
    LookupPoints points;
    for (int i = 0; i < 256; ++i) {
        const double y = std::round(std::sin(i / 9.0) * 400.0 + i) / 8.0;
        entries += Entry(i, y);
        points.x.push_back(i);
        points.y.push_back(y);
    }
    const auto import =
        Imported(AdxValue("Wavy", "0x13",
                          "<units>kPa</units><packetoffset>0x00</packetoffset><MATH equation=\"X\" "
                          "lookupidhash=\"0x78\" />") +
                 Table("Wavy table", "0x78", entries));
    double worst = 0.0;
    for (int byte = 0; byte < 256; ++byte) {
        worst = std::max(worst, std::abs(DecodedByte(*import, 1, static_cast<std::uint8_t>(byte)) -
                                         points.At(byte)));
    }
    const std::string line = ReportOf(*import, "Wavy");
    const std::string lead = "position 1: its table as ";
    ASSERT_EQ(line.rfind(lead, 0), 0U) << line;
    const int segments = std::stoi(line.substr(lead.size()));
    EXPECT_LT(segments, 255);
    EXPECT_NE(line.find(" of 255, largest error "), std::string::npos) << line;
    const std::size_t at = line.find("largest error ") + 14;
    EXPECT_NEAR(std::stod(line.substr(at)), worst, worst * 1e-2) << line;
    EXPECT_EQ(line.substr(line.find(' ', at)), " kPa [kPa]");
    // Fewer segments would do worse.
    LookupFitter fitter(points);
    EXPECT_GT(fitter.Error(segments - 1), worst * (1 + 1e-9));
}

TEST(AdxTablesTest, TablesThatCannotBeReadAreReported) {
    const auto import = Imported(
        AdxValue("Moded", "0x14",
                 "<packetoffset>0x00</packetoffset><MATH equation=\"X\" lookupidhash=\"0x80\" />") +
        Table("Stepped table", "0x80", Entry(0, 0) + Entry(10, 1)) +
        AdxValue("Forked", "0x15",
                 "<packetoffset>0x01</packetoffset><MATH equation=\"X\" lookupidhash=\"0x81\" />") +
        Table("Forked table", "0x81", Entry(0, 0) + Entry(10, 1) + Entry(10, 2)) +
        AdxValue("Missing", "0x16",
                 "<packetoffset>0x02</packetoffset><MATH equation=\"X\" lookupidhash=\"0x82\" />") +
        Table("Idle table", "0x83", Entry(0, 0)) + Table("Other mode", "0x84", Entry(0, 0), "1") +
        AdxValue("Mode one", "0x17",
                 "<packetoffset>0x03</packetoffset><MATH equation=\"X\" lookupidhash=\"0x84\" />"));
    EXPECT_EQ(ReportOf(*import, "Moded"),
              "position 1: its table as 1 straight segment, exact at its points");
    EXPECT_EQ(ReportOf(*import, "Forked"),
              "skipped: its table \"Forked table\" gives two outputs for the input 10");
    EXPECT_EQ(ReportOf(*import, "Forked table"), "skipped: only values that were skipped use it");
    EXPECT_EQ(ReportOf(*import, "Missing"),
              "skipped: its lookupidhash 0x00000082 names no object of the file");
    EXPECT_EQ(ReportOf(*import, "Idle table"), "skipped: no value uses it");
    EXPECT_EQ(ReportOf(*import, "Mode one"),
              "skipped: its table \"Other mode\" has lookup mode 1, which is not known");
}

}  // namespace
}  // namespace vekaton
