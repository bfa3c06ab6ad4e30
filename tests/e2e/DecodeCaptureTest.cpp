// vekaton-cli decode of a real engine module's capture, checked against its raw bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

constexpr std::size_t kRecordSize = 67;  // 3 header bytes, 63 data bytes, checksum
constexpr std::size_t kHeaderSize = 3;

TEST(DecodeCaptureTest, EveryRecordOfTheRealCaptureBecomesARow) {
    ScratchFolder folder;
    LinkSetUp setUp;
    setUp.sampleRate = 500;  // the log's own interval (110 ms) times the rows, not the settings
    setUp.dataBytes = 63;
    setUp.echoed = true;
    folder.Write("Truck.ini", SettingsFile(setUp));
    folder.Write("Truck.cfg",
                 "1,1,0,First,A*1\r\n"
                 "16,1,0,Battery,A/10\r\n"
                 "19,1,0,Oxygen,A*4.44\r\n"
                 "23,1,1,0,Bit zero\r\n23,1,1,1,Bit one\r\n23,1,1,2,Bit two\r\n"
                 "24,2,0,Word,A*256+B\r\n"
                 "END\r\n");
    const std::string capture = VEKATON_TEST_DATA_DIR "/A217_engine_off.Dat";

    ChildProcess decode(CliProgram(),
                        {"decode", "--dir", folder.Path().string(), "--set", "Truck", capture, "-o",
                         (folder / "out.csv").string()},
                        folder / "cli.out", folder / "cli.err");
    const auto code = decode.Wait(30000);
    ASSERT_TRUE(code.has_value());
    ASSERT_EQ(*code, 0) << folder.Read("cli.err");
    EXPECT_EQ(folder.Read("cli.err"), "");

    const CsvTable csv = ReadCsv(folder / "out.csv");
    EXPECT_EQ(csv.header, (std::vector<std::string>{"Frame", "Time", "First", "Battery", "Oxygen",
                                                    "Word", "Bit zero", "Bit one", "Bit two"}));
    EXPECT_EQ(csv.malformedLines, 0);
    const auto records = ReadLogRecords(capture, kRecordSize);
    ASSERT_EQ(records.size(), 45u);
    ASSERT_EQ(csv.rows.size(), 45u);
    // The capture moves a little: one flag bit and the oxygen sensor change.
    bool bitTwoSeen = false;
    std::set<std::string> oxygenValues;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto& row = csv.rows[r];
        const auto data = [&](int position) {
            return static_cast<double>(
                records[r][kHeaderSize + static_cast<std::size_t>(position) - 1]);
        };
        const auto number = [&](int column) {
            return std::stod(row[static_cast<std::size_t>(column)]);
        };
        EXPECT_EQ(row[0], std::to_string(r + 1));
        EXPECT_NEAR(number(1), static_cast<double>(r) * 0.11, 1e-12);
        EXPECT_EQ(number(2), data(1));
        EXPECT_NEAR(number(3), data(16) / 10, 1e-12);
        EXPECT_NEAR(number(4), data(19) * 4.44, 1e-12);
        EXPECT_EQ(number(5), data(24) * 256 + data(25));
        const int flags = static_cast<int>(data(23));
        EXPECT_EQ(row[6], (flags & 1) != 0 ? "1" : "0");
        EXPECT_EQ(row[7], (flags & 2) != 0 ? "1" : "0");
        EXPECT_EQ(row[8], (flags & 4) != 0 ? "1" : "0");
        bitTwoSeen |= row[8] == "1";
        oxygenValues.insert(row[4]);
    }
    EXPECT_TRUE(bitTwoSeen);
    EXPECT_EQ(oxygenValues.size(), 3u);
}

}  // namespace
}  // namespace vekaton::testing
