#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliCommands.h"
#include "files/ScratchFolder.h"

namespace vekaton::cli {
namespace {

class NewSetCommandTest : public ::testing::Test {
  protected:
    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return RunNewSet(args, out_, err_,
                         std::filesystem::path(VEKATON_SOURCE_DIR) / "definitions");
    }
    std::string Dir() const { return (folder_ / "car").string(); }

    testing::ScratchFolder folder_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(NewSetCommandTest, ListsOneLinePerDefinitionWithATab) {
    ASSERT_EQ(Run({"--list"}), 0) << err_.str();
    std::istringstream lines(out_.str());
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        EXPECT_EQ(line.substr(0, 1), "A");
        EXPECT_GT(line.size(), tab + 10) << "a description follows the tab";
        ++count;
    }
    EXPECT_EQ(count, 12);
    EXPECT_EQ(out_.str().rfind("A033\tTBI trucks", 0), 0u);
}

TEST_F(NewSetCommandTest, WritesTheSetAndNeverASecondOfThatName) {
    ASSERT_EQ(
        Run({"--definition", "A172", "--dir", Dir(), "--set", "Vette", "--port", "/dev/ttyUSB1"}),
        0)
        << err_.str();
    EXPECT_EQ(out_.str(), "Set Vette written in " + Dir() +
                              ": Vette.ini Vette.cfg Vette.details Vette.gau Vette.dsf "
                              "Vekaton.ini\n");
    EXPECT_EQ(folder_.Read("car/Vekaton.ini"), "Vette\r\n");
    EXPECT_NE(folder_.Read("car/Vette.ini").find("PortName=/dev/ttyUSB1\r\n"), std::string::npos);
    const std::string layout = folder_.Read("car/Vette.dsf");

    EXPECT_EQ(Run({"--definition", "A274", "--dir", Dir(), "--set", "vette"}), 1);
    EXPECT_NE(err_.str().find("already"), std::string::npos) << err_.str();
    EXPECT_EQ(folder_.Read("car/Vette.dsf"), layout);
    EXPECT_EQ(folder_.Read("car/Vekaton.ini"), "Vette\r\n");
}

TEST_F(NewSetCommandTest, ALargerPageGetsADashboardOfItsOwn) {
    ASSERT_EQ(Run({"--definition", "A140", "--dir", Dir()}), 0);
    ASSERT_EQ(Run({"--definition", "A140", "--dir", Dir(), "--set", "Big", "--page", "1560x940"}),
              0);
    EXPECT_EQ(folder_.Read("car/Big.gau"), folder_.Read("car/A140.gau"));
    EXPECT_NE(folder_.Read("car/Big.dsf"), folder_.Read("car/A140.dsf"));
}

TEST_F(NewSetCommandTest, WrongUsageEndsWith64) {
    EXPECT_EQ(Run({}), 64);
    EXPECT_EQ(Run({"--list", "--dir", Dir()}), 64);
    EXPECT_EQ(Run({"--definition", "A140"}), 64);
    EXPECT_EQ(Run({"--definition", "A140", "--dir", Dir(), "--page", "wide"}), 64);
    EXPECT_EQ(Run({"--definition", "Z9", "--dir", Dir()}), 64);
    EXPECT_NE(err_.str().find("--list"), std::string::npos);
    EXPECT_EQ(Run({"--definition", "A140", "--dir", Dir(), "--set", "a/b"}), 64);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "car"));
}

}  // namespace
}  // namespace vekaton::cli
