// The import report names every object of the file once, on one line, and the set it describes
// reads back as written.
#include <gtest/gtest.h>

#include "AdxTestFiles.h"
#include "definitions/AdxImport.h"
#include "set/ParameterFile.h"

namespace vekaton {
namespace {

const std::filesystem::path kTypical =
    std::filesystem::path(VEKATON_TEST_DATA_DIR) / "adx" / "typical.adx";

TEST(AdxReportTest, EveryObjectGetsOneLineInFileOrder) {
    const AdxImportResult result = ImportAdxFile(kTypical);
    ASSERT_TRUE(result.import) << result.error;
    const AdxImport& import = *result.import;
    const std::vector<std::string> titles = {"Test stream",       "Silence the bus",
                                             "Mode 8 request",    "Poll",
                                             "Mode 1 request",    "Mode 1 reply",
                                             "Silence",           "Coolant Temp",
                                             "Engine Speed",      "Spark Advance, deg",
                                             "Idle air steps",    "Manifold Air Temp",
                                             "MAT table (Deg F)", "Coolant Temp C",
                                             "Pulse width",       "Air fuel ratio",
                                             "O2 other reply",    "Not placed",
                                             "Power curve",       "Loop Status",
                                             "A/C requested",     "Gear",
                                             "Gear park",         "Main dash",
                                             "All values"};
    ASSERT_EQ(import.report.size(), titles.size());
    int skipped = 0;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const std::string& line = import.report[i];
        EXPECT_EQ(line.rfind(titles[i] + ": ", 0), 0U) << line;
        EXPECT_EQ(line.find_first_of("\r\n\t"), std::string::npos) << line;
        const std::string words = line.substr(titles[i].size() + 2);
        if (words.rfind("skipped: ", 0) == 0) {
            ++skipped;
            EXPECT_GT(words.size(), 12U) << "a reason: " << line;
        } else {
            EXPECT_EQ(words.find("skipped"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(import.skipped, skipped);
    EXPECT_EQ(skipped, 10);
    EXPECT_EQ(import.mappedValues, 8);
    EXPECT_EQ(import.mappedBits, 2);
    // The Latin-1 file's degree sign and units reach the details as UTF-8.
    EXPECT_EQ(import.details.Find(1)->unit, "Deg C");
    EXPECT_EQ(import.table->At(4).Descriptions[0], "Spark Advance; deg");  // no comma in a line
}

TEST(AdxReportTest, NamesFromTheFileStayOnTheirLine) {
    const std::string objects =
        "<ADXVALUE id=\"V\" idhash=\"0x1\" title=\"Two&#13;&#10;lines&#9;and\xC2\x85 more\">"
        "<packetoffset>0x00</packetoffset></ADXVALUE>"
        "<ADXVALUE id=\"NOTITLE\" idhash=\"0x2\"><packetoffset>0x01</packetoffset></ADXVALUE>"
        "<ADXVALUE idhash=\"0x3\"><packetoffset>0x02</packetoffset></ADXVALUE>"
        "<ADXWHATEVER id=\"W\" title=\"Gadget\" />";
    const AdxImportResult result = ImportAdx(testing::AdxFile(objects));
    ASSERT_TRUE(result.import) << result.error;
    const auto& report = result.import->report;
    EXPECT_EQ(testing::ReportOf(*result.import, "Two lines and more"), "position 1: A");
    EXPECT_EQ(testing::ReportOf(*result.import, "NOTITLE"), "position 2: A");
    EXPECT_EQ(testing::ReportOf(*result.import, "ADXVALUE"), "position 3: A");
    EXPECT_EQ(testing::ReportOf(*result.import, "Gadget"),
              "skipped: <ADXWHATEVER> objects are not known to this importer");
    EXPECT_EQ(result.import->table->At(1).Descriptions[0], "Two lines and more");
    for (const std::string& line : report) {
        EXPECT_EQ(line.find_first_of("\r\n\t"), std::string::npos) << line;
    }
}

TEST(AdxReportTest, TheParameterFileReadsBackAsImported) {
    const AdxImportResult result = ImportAdxFile(kTypical);
    ASSERT_TRUE(result.import);
    const ParameterTable& imported = *result.import->table;
    const std::string text = WriteParameterText(imported, {});
    ParameterTable read;
    const ParameterFileReadResult reading = ReadParameterText(text, read);
    EXPECT_FALSE(reading.error);
    EXPECT_TRUE(reading.warnings.empty());
    for (int p = ParameterTable::kFirstPosition; p <= ParameterTable::kLastPosition; ++p) {
        EXPECT_EQ(read.At(p).Formula(), imported.At(p).Formula()) << p;
        EXPECT_EQ(read.At(p).FormulaEvaluated(), imported.At(p).FormulaEvaluated()) << p;
        EXPECT_EQ(read.At(p).Descriptions, imported.At(p).Descriptions) << p;
        EXPECT_EQ(read.At(p).ByteCount, imported.At(p).ByteCount) << p;
        EXPECT_EQ(read.At(p).IsDigital, imported.At(p).IsDigital) << p;
    }
}

TEST(AdxReportTest, BrokenXmlNamesItsLineAndColumn) {
    const AdxImportResult result = ImportAdx("<ADXFORMAT>\n  <ADXVALUE title=\"x\">\n</ADXFORMAT>");
    EXPECT_FALSE(result.import);
    EXPECT_EQ(result.error.rfind("line 3, column 1: the end tag </ADXFORMAT> does not match", 0),
              0U)
        << result.error;
}

}  // namespace
}  // namespace vekaton
