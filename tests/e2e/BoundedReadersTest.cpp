// vekaton-cli layout on layout files that ask for more than any dashboard holds: a caption of
// megabytes, millions of small values, a file cut 24 bytes into a record. Each is read within
// four times the largest layout file (64 MB) of address space, says what it left out, and ends
// with exit 1 rather than printing a made-up trailer.
#include <gtest/gtest.h>

#include <filesystem>

#include "E2eSupport.h"
#include "files/NonRegularFiles.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAddressSpaceKb = "262144";  // 256 MB: 4 x the 64 MB a layout may be

struct CliRun {
    std::optional<int> code;
    std::string out;
    std::string err;
};

CliRun LayoutCommand(const ScratchFolder& folder, const std::vector<std::string>& args) {
    std::vector<std::string> all = args;
    all.insert(all.begin(), "layout");
    std::string program = CliProgram();
    if (kAddressSpaceCanBeLimited) {
        all.insert(all.begin(),
                   {"-c", std::string("ulimit -v ") + kAddressSpaceKb + " && exec \"$0\" \"$@\"",
                    CliProgram()});
        program = "/bin/sh";
    }
    ChildProcess child(program, all, folder / "cli.out", folder / "cli.err");
    CliRun run;
    run.code = child.Wait(60000);
    run.out = folder.Read("cli.out");
    run.err = folder.Read("cli.err");
    return run;
}

std::string Int32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// A record of a label with the given properties (already encoded).
std::string LabelRecord(const std::string& name, const std::string& properties) {
    return "TPF0" + std::string("\x06TLabel", 7) + static_cast<char>(name.size()) + name +
           properties + std::string(2, '\0');
}

const std::string kTrailer(24, '\x01');

TEST(BoundedReaders, AMegabyteCaptionIsPrintedCutTo64KbAndNamed) {
    ScratchFolder folder;
    const std::string caption(1 << 20, 'A');
    folder.Write("caption.dsf", LabelRecord("USERLABEL1",
                                            "\x07"
                                            "Caption\x0C" +
                                                Int32(1 << 20) + caption) +
                                    LabelRecord("USERLABEL2", "\x04Left\x02\x08") + kTrailer);
    for (const char* form : {"--text", "--json"}) {
        std::vector<std::string> args{(folder / "caption.dsf").string()};
        if (std::string(form) == "--json") {
            args.insert(args.begin(), form);
        }
        const CliRun run = LayoutCommand(folder, args);
        ASSERT_TRUE(run.code) << form;
        EXPECT_EQ(*run.code, 1) << form << run.err;
        EXPECT_NE(run.err.find("Caption of USERLABEL1 (a long string of 1048576 bytes) was cut "
                               "to its first 65536 bytes"),
                  std::string::npos)
            << run.err;
        const std::string kept(65536, 'A');
        EXPECT_NE(run.out.find(kept), std::string::npos) << form;
        EXPECT_EQ(run.out.find(kept + "A"), std::string::npos) << form;
        EXPECT_NE(run.out.find("USERLABEL2"), std::string::npos) << "the rest is read";
    }
}

TEST(BoundedReaders, MillionsOfSmallValuesStopAtTheLimitWithinTheMemoryBound) {
    ScratchFolder folder;
    // 33 records of a list of 999,900 one-byte integers: 66 MB, within the 64 MiB limit.
    std::string list =
        "\x04"
        "Many\x01";
    for (int i = 0; i < 999'900; ++i) {
        list += "\x02\x01";
    }
    list += '\0';
    std::string file;
    for (int record = 0; record < 33; ++record) {
        file += LabelRecord("USERLABEL" + std::to_string(record + 1), list);
    }
    ASSERT_LT(file.size() + kTrailer.size(), 64u << 20);
    folder.Write("lists.dsf", file + kTrailer);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{(folder / "lists.dsf").string()},
          std::vector<std::string>{"--json", (folder / "lists.dsf").string()}}) {
        const CliRun run = LayoutCommand(folder, args);
        ASSERT_TRUE(run.code);
        EXPECT_EQ(*run.code, 1);
        EXPECT_NE(run.err.find("more than 200000 values, more than any dashboard holds"),
                  std::string::npos)
            << run.err;
        EXPECT_LT(run.out.size(), 1u << 20) << "nothing printed of the record that stopped";
    }
}

TEST(BoundedReaders, ALayoutCutInsideARecordIsDamagedNotATrailer) {
    ScratchFolder folder;
    const std::string demo = ReadWholeFile(fs::path(VEKATON_SOURCE_DIR) / "demo" / "Demo.dsf");
    // 8427 bytes end 24 bytes into a record, exactly as long as a trailer.
    ASSERT_EQ(demo.substr(8427 - 24, 4), "TPF0");
    folder.Write("cut.dsf", demo.substr(0, 8427));
    const CliRun run = LayoutCommand(folder, {(folder / "cut.dsf").string()});
    ASSERT_TRUE(run.code);
    EXPECT_EQ(*run.code, 1);
    EXPECT_NE(run.err.find("is damaged at byte 84"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("trailer"), std::string::npos) << "no trailer made of record bytes";
}

}  // namespace
}  // namespace vekaton::testing
