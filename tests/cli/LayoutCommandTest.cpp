#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "support/ByteText.h"

namespace vekaton::cli {
namespace {

using vekaton::testing::Bytes;

struct LayoutRun {
    int code = -1;
    std::string out;
    std::string err;
};

class LayoutCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("vekaton_layout_cli_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Put(const std::string& name, const std::string& bytes) {
        const auto path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    static LayoutRun Run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        LayoutRun run;
        run.code = RunLayout(args, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }
    std::filesystem::path folder_;
};

// clang-format off
// A two-record layout: a label with a few everyday properties, then a page with a child.
const std::string kLayout = Bytes({
    "TPF0", 6, "TLabel", 6, "Label1",
    4, "Left", 2, 8,
    7, "Caption", 6, 4, "It's",
    10, "Font.Style", 11, 6, "fsBold", 0,
    5, "Ratio", 5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F,
    4, "Memo", 6, 2, 13, 10,
    0, 0,
    "TPF0", 9, "TTabSheet", 5, "Page1",
    0,
    0xF2, 2, 1, 6, "TPanel", 10, "USERPANEL1", 5, "Color", 7, 5, "clRed", 0, 0,
    0,
    10, 0, 0, 0, 20, 0, 0, 0, 0x0A, 0x04, 0, 0, 0xEC, 0x02, 0, 0,
    0x0F, 0, 0, 0x80, 1, 0, 0, 0,
});

// A single stream with the value types whose JSON form has rules of its own.
const std::string kStream = Bytes({
    "TPF0", 0xF1, 6, "TChart", 5, "Chart",
    1, "A", 15, 0xCD, 0xCC, 0xCC, 0x3D,                        // single 0.1
    1, "B", 21, 0, 0, 0, 0, 0, 0, 0xF8, 0x7F,                  // double NaN
    1, "C", 17, 0, 0, 0, 0, 0, 0, 0xF0, 0xFF,                  // date -inf
    1, "D", 5, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0,          // extended -2.5
    1, "E", 10, 2, 0, 0, 0, 0xAB, 0x01,                        // binary
    1, "F", 12, 1, 0, 0, 0, 0xE9,                              // long string, one byte
    1, "G", 18, 1, 0, 0, 0, 0xA9, 0x03,                        // wide string
    1, "H", 20, 2, 0, 0, 0, 0xC3, 0xA9,                        // UTF-8 string
    1, "I", 16, 0x39, 0x30, 0, 0, 0, 0, 0, 0,                  // currency
    1, "J", 14, 1, 1, "P", 2, 1, 0, 3, 0x2C, 0x01, 1, 0, 0,    // collection
    1, "K", 1, 9, 13, 0,                                       // list
    1, "L", 13,                                                // nil
    2, "M\xE9", 7, 1, "\xFF",                                  // Latin-1 name and identifier
    0, 0,
});
// clang-format on

TEST_F(LayoutCommandTest, PrintsAReadableText) {
    const LayoutRun run = Run({Put("Demo.dsf", kLayout)});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "object Label1: TLabel\n"
              "  Left = 8\n"
              "  Caption = 'It''s'\n"
              "  Font.Style = [fsBold]\n"
              "  Ratio = 1\n"
              "  Memo = #13#10\n"
              "end\n"
              "object Page1: TTabSheet\n"
              "  object USERPANEL1: TPanel [1]\n"
              "    Color = clRed\n"
              "  end\n"
              "end\n"
              "trailer\n"
              "  Left = 10\n"
              "  Top = 20\n"
              "  Right = 1034\n"
              "  Bottom = 748\n"
              "  Color = -2147483633\n"
              "  Page = 1\n"
              "end\n");
}

TEST_F(LayoutCommandTest, PrintsExactlyTheJsonShape) {
    const LayoutRun run = Run({"--json", Put("Demo.dsf", kLayout)});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\n"
              "  \"records\": [\n"
              "    {\n"
              "      \"class\": \"TLabel\",\n"
              "      \"name\": \"Label1\",\n"
              "      \"flags\": 0,\n"
              "      \"childPos\": null,\n"
              "      \"properties\": [\n"
              "        [\"Left\", {\"type\": 2, \"value\": 8}],\n"
              "        [\"Caption\", {\"type\": 6, \"value\": \"It's\"}],\n"
              "        [\"Font.Style\", {\"type\": 11, \"value\": [\"fsBold\"]}],\n"
              "        [\"Ratio\", {\"type\": 5, \"value\": \"0000000000000080ff3f\"}],\n"
              "        [\"Memo\", {\"type\": 6, \"value\": \"\\r\\n\"}]\n"
              "      ],\n"
              "      \"children\": []\n"
              "    },\n"
              "    {\n"
              "      \"class\": \"TTabSheet\",\n"
              "      \"name\": \"Page1\",\n"
              "      \"flags\": 0,\n"
              "      \"childPos\": null,\n"
              "      \"properties\": [],\n"
              "      \"children\": [\n"
              "        {\n"
              "          \"class\": \"TPanel\",\n"
              "          \"name\": \"USERPANEL1\",\n"
              "          \"flags\": 2,\n"
              "          \"childPos\": 1,\n"
              "          \"properties\": [\n"
              "            [\"Color\", {\"type\": 7, \"value\": \"clRed\"}]\n"
              "          ],\n"
              "          \"children\": []\n"
              "        }\n"
              "      ]\n"
              "    }\n"
              "  ],\n"
              "  \"trailer\": {\"left\": 10, \"top\": 20, \"right\": 1034, \"bottom\": 748, "
              "\"color\": -2147483633, \"page\": 1}\n"
              "}\n");
}

TEST_F(LayoutCommandTest, JsonValuesFollowTheirTypesRules) {
    const LayoutRun run = Run({Put("chart.bin", kStream), "--json"});
    EXPECT_EQ(run.code, 0) << run.err;
    const auto has = [&run](const std::string& text) {
        return run.out.find(text) != std::string::npos;
    };
    EXPECT_TRUE(has("\"flags\": 1,")) << run.out;
    EXPECT_TRUE(has("[\"A\", {\"type\": 15, \"value\": 0.10000000149011612}]")) << run.out;
    EXPECT_TRUE(has("[\"B\", {\"type\": 21, \"value\": null}]"));
    EXPECT_TRUE(has("[\"C\", {\"type\": 17, \"value\": null}]"));
    EXPECT_TRUE(has("[\"D\", {\"type\": 5, \"value\": \"00000000000000a000c0\"}]"));
    EXPECT_TRUE(has("[\"E\", {\"type\": 10, \"value\": \"ab01\"}]"));
    EXPECT_TRUE(has("[\"F\", {\"type\": 12, \"value\": \"\u00E9\"}]"));
    EXPECT_TRUE(has("[\"G\", {\"type\": 18, \"value\": \"\u03A9\"}]"));
    EXPECT_TRUE(has("[\"H\", {\"type\": 20, \"value\": \"\u00E9\"}]"));
    EXPECT_TRUE(has("[\"I\", {\"type\": 16, \"value\": 12345}]"));
    EXPECT_TRUE(
        has("[\"J\", {\"type\": 14, \"value\": [{\"order\": null, \"properties\": "
            "[[\"P\", {\"type\": 2, \"value\": 1}]]}, {\"order\": {\"type\": 3, "
            "\"value\": 300}, \"properties\": []}]}]"))
        << run.out;
    EXPECT_TRUE(
        has("[\"K\", {\"type\": 1, \"value\": [{\"type\": 9, \"value\": null}, "
            "{\"type\": 13, \"value\": null}]}]"));
    EXPECT_TRUE(has("[\"L\", {\"type\": 13, \"value\": null}]"));
    EXPECT_TRUE(has("[\"M\u00E9\", {\"type\": 7, \"value\": \"\u00FF\"}]"));
    EXPECT_TRUE(has("\"trailer\": null\n}\n"));
}

TEST_F(LayoutCommandTest, DamagedFilePrintsWhatWasReadAndTheOffsetAndFails) {
    const std::string cut = kLayout.substr(0, 100);  // inside the second record
    const LayoutRun text = Run({Put("cut.dsf", cut)});
    EXPECT_EQ(text.code, 1);
    EXPECT_EQ(text.out.rfind("object Label1: TLabel\n", 0), 0u) << text.out;
    EXPECT_EQ(text.out.find("Page1"), std::string::npos);
    EXPECT_NE(text.err.find("damaged at byte "), std::string::npos) << text.err;

    const LayoutRun json = Run({"--json", Put("cut.dsf", cut)});
    EXPECT_EQ(json.code, 1);
    EXPECT_NE(json.out.find("\"name\": \"Label1\""), std::string::npos);
    EXPECT_NE(json.out.find("\"trailer\": null"), std::string::npos);

    // An unknown type code, reported where it stands.
    std::string bad = kStream;
    bad[20] = 22;  // the type byte of property A
    const LayoutRun unknown = Run({Put("bad.bin", bad)});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.err.find("at byte 20: value type 22 is not known"), std::string::npos)
        << unknown.err;
}

TEST_F(LayoutCommandTest, UsageAndUnreadableFiles) {
    EXPECT_EQ(Run({}).code, kExitUsage);
    EXPECT_EQ(Run({"--json"}).code, kExitUsage);
    EXPECT_EQ(Run({"--xml", "a.dsf"}).code, kExitUsage);
    EXPECT_EQ(Run({"a.dsf", "b.dsf"}).code, kExitUsage);
    const LayoutRun usage = Run({"--json=yes", "a.dsf"});
    EXPECT_EQ(usage.code, kExitUsage);
    EXPECT_NE(usage.err.find(FindSubcommand("layout")->usage), std::string::npos);

    const LayoutRun missing = Run({(folder_ / "none.dsf").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("could not read"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.out, "");
}

}  // namespace
}  // namespace vekaton::cli
