// vekaton-cli on hostile and damaged files: FIFOs, folders, huge sparse files, lines full of
// NULs and terminal controls. It must never hang, never explode and say what each path is.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "E2eSupport.h"
#include "files/NonRegularFiles.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeLimitMs = 20000;  // far beyond what any of these takes; a hang is caught
constexpr off_t kOneGigabyte = 1024LL * 1024 * 1024;
constexpr const char* kAddressSpaceKb = "524288";  // 512 MB; a 1 GB file cannot be read whole

struct CliRun {
    std::optional<int> code;
    std::string out;
    std::string err;
};

// vekaton-cli with its arguments in `folder`, optionally with little address space.
CliRun RunCli(const ScratchFolder& folder, const std::vector<std::string>& args,
              bool limitAddressSpace = false) {
    std::string program = CliProgram();
    std::vector<std::string> all = args;
    if (limitAddressSpace && kAddressSpaceCanBeLimited) {
        all.insert(all.begin(),
                   {"-c", std::string("ulimit -v ") + kAddressSpaceKb + " && exec \"$0\" \"$@\"",
                    CliProgram()});
        program = "/bin/sh";
    }
    ChildProcess child(program, all, folder / "cli.out", folder / "cli.err");
    CliRun run;
    run.code = child.Wait(kTimeLimitMs);
    run.out = folder.Read("cli.out");
    run.err = folder.Read("cli.err");
    return run;
}

void CopyDemoSet(const ScratchFolder& folder, const std::string& sub) {
    fs::create_directories(folder / sub);
    for (const char* name : {"Demo.cfg", "Demo.ini", "Vekaton.Ini"}) {
        fs::copy_file(fs::path(VEKATON_SOURCE_DIR) / "demo" / name, folder / sub / name);
    }
}

// A short log of the demo set's 27-byte records.
void WriteLog(const ScratchFolder& folder, const std::string& name) {
    folder.Write(name, std::string("\xC8\x00", 2) + std::string(27 * 3, '\x10'));
}

bool HasRawControls(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && c != '\n') || u == 0x7F;
    });
}

TEST(HostileFiles, FifoAsTheParameterFileDoesNotHangDecode) {
    ScratchFolder folder;
    CopyDemoSet(folder, "D");
    fs::remove(folder / "D" / "Demo.cfg");
    ASSERT_TRUE(MakeFifo(folder / "D" / "Demo.cfg"));
    WriteLog(folder, "log");

    const CliRun run =
        RunCli(folder, {"decode", "--dir", (folder / "D").string(), (folder / "log").string()});
    ASSERT_TRUE(run.code) << "decode hangs on a FIFO";
    EXPECT_NE(run.err.find("\"Demo.cfg\" is a FIFO (named pipe), not a file, so it was not read."),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(folder / "D" / "Demo.cfg")));
}

TEST(HostileFiles, DataLogsThatAreNotFilesAreNamedForWhatTheyAre) {
    ScratchFolder folder;
    CopyDemoSet(folder, "D");
    ASSERT_TRUE(MakeFifo(folder / "fifo.Dat"));
    fs::create_directory(folder / "folder.Dat");
    fs::create_symlink("nowhere.Dat", folder / "dangling.Dat");
    for (const auto& [name, says] : std::vector<std::pair<std::string, std::string>>{
             {"fifo.Dat", "is a FIFO (named pipe), not a file"},
             {"folder.Dat", "is a folder, not a file"},
             {"dangling.Dat", "is a symbolic link to a file that does not exist"}}) {
        const CliRun run =
            RunCli(folder, {"decode", "--dir", (folder / "D").string(), (folder / name).string()});
        ASSERT_TRUE(run.code) << name << ": decode hangs";
        EXPECT_EQ(*run.code, 1) << name;
        EXPECT_NE(run.err.find(name + "\" " + says), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("shorter"), std::string::npos) << run.err;
    }
    // And a folder given as the set's folder that is not one.
    folder.Write("plain", "x");
    const CliRun run = RunCli(folder, {"decode", "--dir", (folder / "plain").string(), "log"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("plain': it is a regular file"), std::string::npos) << run.err;
}

TEST(HostileFiles, HugeSparseSetFilesAreRefusedWithLittleMemory) {
    ScratchFolder folder;
    CopyDemoSet(folder, "D");
    ASSERT_TRUE(MakeSparseFile(folder / "D" / "Demo.cfg", kOneGigabyte));
    ASSERT_TRUE(MakeSparseFile(folder / "D" / "Big.ini", kOneGigabyte));
    WriteLog(folder, "log");

    const CliRun cfg = RunCli(
        folder, {"decode", "--dir", (folder / "D").string(), (folder / "log").string()}, true);
    ASSERT_TRUE(cfg.code);
    EXPECT_EQ(*cfg.code, 1) << cfg.err;  // only Frame and Time would be no result
    EXPECT_NE(cfg.err.find("\"Demo.cfg\" is 1 GB, more than the 4 MB a parameter file may hold"),
              std::string::npos)
        << cfg.err;

    const CliRun ini = RunCli(
        folder,
        {"decode", "--dir", (folder / "D").string(), "--set", "Big", (folder / "log").string()},
        true);
    ASSERT_TRUE(ini.code);
    EXPECT_LT(*ini.code, 128) << "crashed: " << ini.err;
    EXPECT_NE(ini.err.find("\"Big.ini\" is 1 GB, more than the 64 KB a settings file may hold"),
              std::string::npos)
        << ini.err;
    EXPECT_LT(cfg.err.size() + ini.err.size(), 2000u);
    EXPECT_EQ(fs::file_size(folder / "D" / "Demo.cfg"), static_cast<std::uintmax_t>(kOneGigabyte));
}

TEST(HostileFiles, MessagesQuoteShortlyAndNeverPrintNulsOrControls) {
    ScratchFolder folder;
    CopyDemoSet(folder, "D");
    // Line 1 of the settings: 60 KB of digits, then a NUL and a terminal escape.
    folder.Write("D/Demo.ini", "ComPort=" + std::string(60000, '7') + std::string("\0\x1B[2J", 5) +
                                   "\r\nBaudRate=8192\r\n");
    // The set pointer names a set with a control character in it.
    folder.Write("D/Vekaton.Ini", std::string("De\x01mo\0", 6) + "\r\n");
    WriteLog(folder, "log");

    const CliRun run = RunCli(folder, {"decode", "--dir", (folder / "D").string(), "--set", "Demo",
                                       (folder / "log").string()});
    ASSERT_TRUE(run.code);
    EXPECT_EQ(run.err.find('\0'), std::string::npos);
    EXPECT_FALSE(HasRawControls(run.err)) << run.err;
    EXPECT_NE(run.err.find("'" + std::string(79, '7') + "\xE2\x80\xA6' is not a valid integer"),
              std::string::npos)
        << run.err.substr(0, 500);
    EXPECT_LT(run.err.size(), 2000u);

    const CliRun pointer =
        RunCli(folder, {"decode", "--dir", (folder / "D").string(), (folder / "log").string()});
    ASSERT_TRUE(pointer.code);
    EXPECT_NE(pointer.err.find("The set name \"De\\x01mo\\0\" in \"Vekaton.Ini\" is not used: it "
                               "holds a control character."),
              std::string::npos)
        << pointer.err;
    EXPECT_EQ(pointer.err.find("folder"), std::string::npos) << pointer.err;
    EXPECT_FALSE(HasRawControls(pointer.err)) << pointer.err;

    const CliRun named = RunCli(folder, {"decode", "--dir", (folder / "D").string(), "--set",
                                         std::string("a\x1B[31m"), (folder / "log").string()});
    EXPECT_EQ(named.code, 1);
    EXPECT_NE(named.err.find("'a\\x1B[31m' cannot name a set: it holds a control character"),
              std::string::npos)
        << named.err;
}

}  // namespace
}  // namespace vekaton::testing
