// `vekaton-cli table` and `histogram` over a real engine module's capture, checked against the
// rows `vekaton-cli decode` writes for the same log and set.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

struct ProgramRun {
    int code = -1;
    std::string out;
    std::string err;
};

class AnalysisCaptureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LinkSetUp setUp;
        setUp.sampleRate = 500;  // the log's own interval (110 ms) times the frames
        setUp.dataBytes = 63;
        setUp.echoed = true;
        folder_.Write("Truck.ini", SettingsFile(setUp));
        folder_.Write("Truck.cfg",
                      "15,1,0,Coolant,A*0.75-40\r\n16,1,0,Battery,A/10\r\n"
                      "19,1,0,Oxygen,A*4.42\r\n23,1,1,2,Bit two\r\n55,1,0,Block learn,A*1\r\n"
                      "END\r\n");
    }
    ProgramRun Cli(std::vector<std::string> args) {
        args.insert(args.begin() + 1, {"--dir", folder_.Path().string(), "--set", "Truck"});
        ChildProcess child(CliProgram(), args, folder_ / "cli.out", folder_ / "cli.err");
        ProgramRun run;
        run.code = child.Wait(30000).value_or(-1);
        run.out = folder_.Read("cli.out");
        run.err = folder_.Read("cli.err");
        return run;
    }

    ScratchFolder folder_;
    const std::string capture_ = VEKATON_TEST_DATA_DIR "/A217_engine_off.Dat";
};

std::vector<std::vector<std::string>> Lines(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        std::vector<std::string> fields;
        std::size_t field = start;
        while (true) {
            const std::size_t comma = text.find(',', field);
            if (comma == std::string::npos || comma > end) {
                fields.push_back(text.substr(field, end - field));
                break;
            }
            fields.push_back(text.substr(field, comma - field));
            field = comma + 1;
        }
        lines.push_back(fields);
        start = end + 2;
    }
    return lines;
}

TEST_F(AnalysisCaptureTest, TableMatchesTheDecodedRows) {
    ProgramRun decoded = Cli({"decode", capture_, "--exact"});
    ASSERT_EQ(decoded.code, 0) << decoded.err;
    const auto rows = Lines(decoded.out);
    ASSERT_EQ(rows.size(), 46u);
    ASSERT_EQ(rows[0], (std::vector<std::string>{"Frame", "Time", "Coolant", "Battery", "Oxygen",
                                                 "Block learn", "Bit two"}));

    // Oxygen by oxygen and battery voltage, two bins each way, while flag bit two is set and
    // has been for 0.22 s: exactly two frames of the log's 110 ms, computed here from the rows.
    const auto bin = [](double value, double inner) { return value >= inner ? 1 : 0; };
    std::map<std::pair<int, int>, std::vector<double>> cells;  // by (column, row)
    double runStart = -1;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const double time = std::stod(rows[r][1]);
        if (rows[r][6] != "1") {
            runStart = -1;
            continue;
        }
        runStart = runStart < 0 ? time : runStart;
        if (time - runStart < 0.22 - 1e-9) {
            continue;
        }
        const double oxygen = std::stod(rows[r][4]);
        const double battery = std::stod(rows[r][3]);
        cells[{bin(oxygen, 440), bin(battery, 11.55)}].push_back(oxygen);
    }
    std::size_t used = 0;
    for (const auto& [cell, values] : cells) {
        used += values.size();
    }
    ASSERT_GT(used, 2u);

    const ProgramRun table =
        Cli({"table", capture_, "--x", "19", "--y", "16", "--z", "19", "--x-edges", "430,440,460",
             "--y-edges", "11,11.55,12", "--where", "23.2=1", "--settle", "0.22"});
    ASSERT_EQ(table.code, 0) << table.err;
    const auto lines = Lines(table.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (std::vector<std::string>{"Y\\X", "430", "440"}));
    EXPECT_EQ(lines[1][0], "11");
    EXPECT_EQ(lines[2][0], "11.55");
    for (int row = 0; row < 2; ++row) {
        ASSERT_EQ(lines[static_cast<std::size_t>(row) + 1].size(), 3u);
        for (int column = 0; column < 2; ++column) {
            const std::string& text =
                lines[static_cast<std::size_t>(row) + 1][static_cast<std::size_t>(column) + 1];
            const std::vector<double>& values = cells[{column, row}];
            if (values.empty()) {
                EXPECT_EQ(text, "") << column << "," << row;
                continue;
            }
            double sum = 0;
            for (const double v : values) {
                sum += v;
            }
            EXPECT_NEAR(std::stod(text), sum / static_cast<double>(values.size()), 1e-7)
                << column << "," << row;
        }
    }
    EXPECT_NE(table.err.find("45 frames read, " + std::to_string(used) +
                             " used; left out: 0 by "
                             "checksum"),
              std::string::npos)
        << table.err;
}

TEST_F(AnalysisCaptureTest, HistogramOfTheBlockLearnCountsEveryFrame) {
    // The engine is off: block learn stands still, so every frame lands in one bin.
    const ProgramRun run = Cli({"histogram", capture_, "--x", "55"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 11u);
    int total = 0;
    int filled = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (!lines[i][1].empty()) {
            total += std::stoi(lines[i][1]);
            ++filled;
        }
    }
    EXPECT_EQ(total, 45);
    EXPECT_EQ(filled, 1);
    EXPECT_NE(run.err.find("45 frames read, 45 used"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vekaton::testing
