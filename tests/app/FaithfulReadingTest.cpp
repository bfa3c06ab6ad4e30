// The real program reads every set file faithfully or says so: line ends of any editor read as
// written, and whatever it does not keep as it stood is named and kept as ".bad" first.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "ProgramRunner.h"
#include "QtApp.h"
#include "dashboard/LayoutFile.h"

namespace vekaton {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string WithLoneCr(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at + 1, 1);
    }
    return text;
}

fs::path Demo(const std::string& name) {
    return fs::path(VEKATON_SOURCE_DIR) / "demo" / name;
}

// Sets `name` of the record named `component` to `value`, in place or at the end.
void SetProperty(LayoutParse& layout, const std::string& component, const std::string& name,
                 StreamValue value) {
    for (StreamComponent& record : layout.records) {
        if (record.name != component) {
            continue;
        }
        for (StreamProperty& property : record.properties) {
            if (property.name == name) {
                property.value = std::move(value);
                return;
            }
        }
        record.properties.push_back({name, std::move(value)});
        return;
    }
    ADD_FAILURE() << "no record " << component;
}

class FaithfulReading : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        ASSERT_TRUE(lockDir_.isValid());
        ASSERT_TRUE(setDir_.isValid());
        for (const char* name : {"Demo.cfg", "Demo.ini", "Demo.gau", "Demo.dsf", "Vekaton.Ini"}) {
            fs::copy_file(Demo(name), Set(name));
        }
    }
    fs::path Set(const std::string& name) const {
        return fs::path(QFile::encodeName(setDir_.path()).constData()) / name;
    }
    // The program's run from start to a normal end; its messages.
    QString RunAndClose(int expectedExit = 0) {
        ProgramRun run(lockDir_.path(), setDir_.path());
        EXPECT_TRUE(run.WaitForWindow()) << run.Errors().toStdString();
        EXPECT_EQ(run.Terminate(), expectedExit) << run.Errors().toStdString();
        return run.Errors();
    }
    std::vector<std::string> BadCopies() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Set(""))) {
            if (entry.path().extension() == ".bad") {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    QTemporaryDir lockDir_;
    QTemporaryDir setDir_;
};

TEST_F(FaithfulReading, TextFilesWithLoneCrLineEndsReadAsWithCrLf) {
    for (const char* name : {"Demo.cfg", "Demo.ini", "Demo.gau", "Vekaton.Ini"}) {
        WriteFile(Set(name), WithLoneCr(ReadFile(Demo(name))));
    }
    const QString errors = RunAndClose();
    for (const char* name : {"Demo.cfg", "Demo.ini", "Demo.gau", "Vekaton.Ini"}) {
        EXPECT_FALSE(errors.contains(name)) << name << ": " << errors.toStdString();
    }
    EXPECT_EQ(BadCopies(), std::vector<std::string>{});
    // Every definition, comment, setting and dashboard item came through: the files are
    // written back as the CR LF originals.
    EXPECT_EQ(ReadFile(Set("Demo.cfg")), ReadFile(Demo("Demo.cfg")));
    EXPECT_EQ(ReadFile(Set("Demo.ini")), ReadFile(Demo("Demo.ini")));
    EXPECT_EQ(ReadFile(Set("Demo.gau")), ReadFile(Demo("Demo.gau")));
}

TEST_F(FaithfulReading, LayoutValuesTheItemsDoNotTakeAsReadAreNamedAndKeptAsBad) {
    LayoutParse layout = ParseLayout(ReadFile(Demo("Demo.dsf")));
    ASSERT_FALSE(layout.error);
    ASSERT_TRUE(layout.trailer);
    ExtendedBytes huge{};  // 2^16383, about 6e4931: an extended float beyond any double
    huge[7] = 0x80;
    huge[8] = 0xFE;
    huge[9] = 0x7F;
    SetProperty(layout, "USERANGULARGAUGE1", "Maximum",
                StreamValue::Float(std::numeric_limits<double>::quiet_NaN()));
    SetProperty(layout, "USERANGULARGAUGE1", "Font.Style", *StreamValue::Set({"fsBOld"}));
    SetProperty(layout, "USERANGULARGAUGE2", "Minimum", StreamValue::Extended(huge));
    SetProperty(layout, "USERTHERMOMETER1", "Maximum",
                StreamValue::Float(std::numeric_limits<double>::infinity()));
    SetProperty(layout, "USERSEVENSEGMENTANALOG1", "Width", StreamValue::Text("wide"));
    std::string layoutBytes;
    ASSERT_FALSE(WriteLayoutBytes(layout.records, *layout.trailer, layoutBytes));
    WriteFile(Set("Demo.dsf"), layoutBytes);

    // A reset list of 10,000 IDs: only items of the dashboard can be reset.
    std::string ids;
    for (int id = 1; id <= 10000; ++id) {
        ids += (id > 1 ? "," : "") + std::to_string(id);
    }
    std::string gauges = ReadFile(Demo("Demo.gau"));
    const std::string button = "USERRESETBUTTON1,0,";
    const std::size_t at = gauges.find(button);
    ASSERT_NE(at, std::string::npos);
    gauges.replace(at, gauges.find("\r\n", at) - at, button + ids);
    WriteFile(Set("Demo.gau"), gauges);

    const QString errors = RunAndClose();
    for (const char* change :
         {"USERANGULARGAUGE1: Maximum NaN becomes 100, Font.Style [fsBOld] becomes [fsBold].",
          "USERANGULARGAUGE2: Minimum Inf becomes 0.", "USERTHERMOMETER1: Maximum Inf becomes",
          "USERSEVENSEGMENTANALOG1: Width 'wide' becomes ",
          "Before \"Demo.dsf\" is saved again, it is copied to \"Demo.dsf.bad\".",
          "entries of its reset list name no item of the dashboard (IDs are 1 to 500, each once) "
          "and were left out: ",
          "Before \"Demo.gau\" is saved again, it is copied to \"Demo.gau.bad\"."}) {
        EXPECT_TRUE(errors.contains(QString::fromUtf8(change))) << change << "\n"
                                                                << errors.toStdString();
    }
    EXPECT_FALSE(errors.contains("kept as read")) << errors.toStdString();
    EXPECT_EQ(ReadFile(Set("Demo.dsf.bad")), layoutBytes);
    EXPECT_EQ(ReadFile(Set("Demo.gau.bad")), gauges);
    EXPECT_NE(ReadFile(Set("Demo.gau")), gauges);
}

TEST_F(FaithfulReading, ALoopOfLinksIsKeptAsItIsAndPromisesNoCopy) {
    fs::remove(Set("Demo.cfg"));
    fs::create_symlink("Loop.cfg", Set("Demo.cfg"));
    fs::create_symlink("Demo.cfg", Set("Loop.cfg"));

    const QString errors = RunAndClose(1);  // the parameter file could not be saved
    EXPECT_TRUE(
        errors.contains("\"Demo.cfg\" is a loop of symbolic links, not a file, so it was not "
                        "read. It is left as it is and is not overwritten when the set is saved."))
        << errors.toStdString();
    EXPECT_TRUE(
        errors.contains("\"Demo.cfg\" is not saved: it is a loop of symbolic links, not "
                        "a file, and is left as it is."))
        << errors.toStdString();
    EXPECT_FALSE(errors.contains(".bad")) << errors.toStdString();
    EXPECT_EQ(BadCopies(), std::vector<std::string>{});
    EXPECT_TRUE(fs::is_symlink(Set("Demo.cfg")));
    EXPECT_EQ(fs::read_symlink(Set("Demo.cfg")), "Loop.cfg");
}

}  // namespace
}  // namespace vekaton
