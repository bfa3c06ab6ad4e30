// The real program on dashboards that ask for more than any dashboard holds: 100,000 labels, a
// megabyte caption, thousands of bad chart channels, and a layout that one more label would push
// past its limit. The window comes up at once within little memory, tells each in one message,
// keeps what it could not take in as ".bad", and never saves a file its next start would refuse.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProgramRunner.h"
#include "QtApp.h"
#include "dashboard/ChartRecord.h"
#include "dashboard/LayoutFile.h"

namespace {

namespace fs = std::filesystem;
using vekaton::testing::ProgramRun;

// The window needs about 300 MB of address space; before its readers were bounded these files
// took more than a gigabyte.
constexpr rlim_t kWindowAddressSpace = 640ULL * 1024 * 1024;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int CountOf(const QString& text, const QString& part) {
    return static_cast<int>(text.count(part));
}

class BoundedDashboardProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        vekaton::testing::TestApp();  // the local socket wants an application object
        for (const char* name : {"Demo.cfg", "Demo.ini", "Demo.gau", "Demo.dsf", "Vekaton.Ini"}) {
            fs::copy_file(fs::path(VEKATON_SOURCE_DIR) / "demo" / name, Set(name));
        }
        layout_ = vekaton::ParseLayout(ReadFile(Set("Demo.dsf")));
        ASSERT_FALSE(layout_.error);
    }
    fs::path Set(const std::string& name) const {
        return fs::path(setDir_.path().toStdString()) / name;
    }
    vekaton::StreamComponent& Record(std::string_view name) {
        for (auto& record : layout_.records) {
            if (record.name == name) {
                return record;
            }
        }
        ADD_FAILURE() << "no record " << name;
        return layout_.records.front();
    }
    std::string LayoutBytes() {
        std::string bytes;
        EXPECT_FALSE(vekaton::WriteLayoutBytes(layout_.records, *layout_.trailer, bytes));
        return bytes;
    }
    // Starts the window on the set, within `addressSpace`.
    std::unique_ptr<ProgramRun> Start(bool testHooks = false,
                                      rlim_t addressSpace = kWindowAddressSpace) {
        ProgramRun::Options options = ProgramRun::Options::WithAddressSpace(addressSpace);
        options.testHooks = testHooks;
        auto run = std::make_unique<ProgramRun>(lockDir_.path(), setDir_.path(), options);
        EXPECT_TRUE(run->WaitForWindow()) << run->Errors().toStdString();
        return run;
    }

    QTemporaryDir lockDir_;
    QTemporaryDir setDir_;
    vekaton::LayoutParse layout_;
};

TEST_F(BoundedDashboardProgram, AHundredThousandLabelsGiveOneMessageAndTheListIsKeptAsBad) {
    std::string list;
    for (int n = 1; n <= 100'000; ++n) {
        list += "USERLABEL" + std::to_string(n) + ",0,\r\n";
    }
    WriteFile(Set("Demo.gau"), list);
    auto run = Start();
    EXPECT_EQ(run->Terminate(), 0);
    const QString errors = run->Errors();
    EXPECT_TRUE(
        errors.contains("99500 lines after the 500 entries a dashboard can hold were left "
                        "out: \"USERLABEL501\", \"USERLABEL502\", \"USERLABEL503\" and "
                        "99497 more."))
        << errors.toStdString();
    EXPECT_LT(CountOf(errors, "USERLABEL"), 20) << errors.toStdString();
    EXPECT_EQ(ReadFile(Set("Demo.gau.bad")), list);
}

TEST_F(BoundedDashboardProgram, FiveThousandBadChartChannelsAreOneMessage) {
    std::vector<vekaton::CollectionItem> items(5000);
    for (auto& item : items) {
        item.properties = {{"Position", vekaton::StreamValue::Integer(9999)}};
    }
    auto& chart = Record(vekaton::kChartComponentName);
    std::erase_if(chart.properties, [](const auto& p) { return p.name == "Channels"; });
    chart.properties.push_back({"Channels", vekaton::StreamValue::Collection(items)});
    const std::string original = LayoutBytes();
    WriteFile(Set("Demo.dsf"), original);
    auto run = Start();
    EXPECT_EQ(run->Terminate(), 0);
    const QString errors = run->Errors();
    EXPECT_EQ(CountOf(errors, "chart channel"), 1) << errors.toStdString();
    EXPECT_TRUE(
        errors.contains("5000 chart channels name no frame position 1 to 500 and bit 0 "
                        "to 7 and were left out: channels 1, 2, 3 and 4997 more."))
        << errors.toStdString();
}

TEST_F(BoundedDashboardProgram, AMegabyteCaptionKeepsItsFirst64KbAndTheFileIsKeptAsBad) {
    auto& label = Record("USERLABEL1");
    std::erase_if(label.properties, [](const auto& p) { return p.name == "Caption"; });
    label.properties.push_back(
        {"Caption", *vekaton::StreamValue::FromContent(vekaton::StreamType::LString,
                                                       std::string(1 << 20, 'A'))});
    const std::string original = LayoutBytes();
    WriteFile(Set("Demo.dsf"), original);
    auto run = Start();
    EXPECT_EQ(run->Terminate(), 0);
    const QString errors = run->Errors();
    EXPECT_TRUE(
        errors.contains("Caption of USERLABEL1 (a long string of 1048576 bytes) was cut "
                        "to its first 65536 bytes"))
        << errors.toStdString();
    EXPECT_EQ(ReadFile(Set("Demo.dsf.bad")), original);
    const vekaton::LayoutParse saved = vekaton::ParseLayout(ReadFile(Set("Demo.dsf")));
    ASSERT_FALSE(saved.error);
    EXPECT_TRUE(saved.cut.empty());
}

TEST_F(BoundedDashboardProgram, ASaveOverTheLayoutsLimitIsRefusedAndTheOldFileKept) {
    // USERLABEL1 carries data of its own until the file is 30 bytes short of 64 MB: a new label
    // takes more than that.
    auto& label = Record("USERLABEL1");
    const std::size_t chunk = 60'000;
    std::size_t size = LayoutBytes().size();
    for (int n = 0; size + chunk + 64 < vekaton::kMaxLayoutFileSize; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "Data%04d", n);
        label.properties.push_back({name, vekaton::StreamValue::Binary(std::string(chunk, 'x'))});
        size += chunk + 14;  // name (1 + 8), type and length (5), the data
    }
    const std::size_t rest = vekaton::kMaxLayoutFileSize - 30 - size - 10;
    label.properties.push_back({"Last", vekaton::StreamValue::Binary(std::string(rest, 'x'))});
    const std::string original = LayoutBytes();
    ASSERT_EQ(original.size(), vekaton::kMaxLayoutFileSize - 30);
    WriteFile(Set("Demo.dsf"), original);

    // The window holds a layout several times over (as read, as its items keep it, and for the
    // recovery copies), so this one gets more room.
    auto run = Start(true, 4 * kWindowAddressSpace);
    const std::optional<QString> added = run->Ask("add-label");
    ASSERT_TRUE(added && added->startsWith("added")) << run->Errors().toStdString();
    EXPECT_EQ(run->Terminate(), 1);
    const QString errors = run->Errors();
    EXPECT_TRUE(errors.contains("\"Demo.dsf\" was not saved: it would be 67,108,"))
        << errors.toStdString();
    EXPECT_TRUE(ReadFile(Set("Demo.dsf")) == original) << "the old layout is kept whole";
}

}  // namespace
