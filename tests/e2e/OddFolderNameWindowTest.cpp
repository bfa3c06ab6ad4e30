// The window on a set folder whose name is not UTF-8 (bytes as the system gave them): it reads
// and saves the set there as vekaton-cli does, instead of refusing the folder.
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

#ifdef VEKATON_WINDOW_BUILT
constexpr bool kWindowBuilt = true;
#else
constexpr bool kWindowBuilt = false;  // a build of the core and the command-line programs only
#endif

TEST(OddFolderNameWindowTest, AFolderNameThatIsNotUtf8IsUsedAsItsBytes) {
    if (!kWindowBuilt) {
        GTEST_SKIP() << "the window program is not part of this build";
    }
    ScratchFolder base;
    const std::filesystem::path set = base / "car\xff\xfe-set";
    std::filesystem::create_directory(set);
    const std::string parameters = EngineModelParameterFile();
    {
        std::FILE* file = std::fopen((set / "Default.cfg").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(parameters.data(), 1, parameters.size(), file);
        std::fclose(file);
    }
    const std::filesystem::path lock = base / "lock";
    std::filesystem::create_directory(lock);
    ChildProcess window("/usr/bin/env",
                        {"QT_QPA_PLATFORM=offscreen", "VEKATON_LOCK_DIR=" + lock.string(),
                         "XDG_DATA_HOME=" + (base / "data").string(),
                         VEKATON_BINARY_DIR "/src/vekaton", "--dir", set.string()},
                        base / "out", base / "err");
    // Up once it listens for a second start.
    for (int waited = 0; waited < 20000 && !std::filesystem::exists(lock / "Vekaton.socket");
         waited += 100) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    window.Signal(SIGTERM);
    const auto code = window.Wait(20000);
    const std::string errors = ReadWholeFile(base / "err");
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0) << errors;
    EXPECT_EQ(errors.find("cannot use folder"), std::string::npos) << errors;
    EXPECT_TRUE(std::filesystem::exists(set / "Default.Ini")) << "saved there: " << errors;
    EXPECT_EQ(ReadWholeFile(set / "Default.cfg").find("Frame counter") != std::string::npos, true)
        << "its definitions read and written back";
}

TEST(OddFolderNameWindowTest, AFolderThatCannotBeUsedIsNamedEscaped) {
    if (!kWindowBuilt) {
        GTEST_SKIP() << "the window program is not part of this build";
    }
    ScratchFolder base;
    const std::filesystem::path missing = base / "gone\xff";
    ChildProcess window("/usr/bin/env",
                        {"QT_QPA_PLATFORM=offscreen", "VEKATON_LOCK_DIR=" + base.Path().string(),
                         "XDG_DATA_HOME=" + (base / "data").string(),
                         VEKATON_BINARY_DIR "/src/vekaton", "--dir", missing.string()},
                        base / "out", base / "err");
    const auto code = window.Wait(20000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 1);
    const std::string errors = ReadWholeFile(base / "err");
    EXPECT_NE(errors.find("gone\\xFF"), std::string::npos) << errors;
}

}  // namespace
}  // namespace vekaton::testing
