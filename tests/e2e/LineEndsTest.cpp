// vekaton-cli reads a set whose text files end their lines in LF or a lone CR (old Mac editors,
// some serial tools) exactly as the CR LF original: the same columns, the same values.
#include <gtest/gtest.h>

#include "E2eSupport.h"
#include "files/ScratchFolder.h"

namespace vekaton::testing {
namespace {

std::string WithLineEnds(std::string text, const std::string& end) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + end.size())) {
        text.replace(at, 2, end);
    }
    return text;
}

struct Decoded {
    std::optional<int> code;
    std::string csv;
    std::string err;
};

// A log of the demo set's 27-byte records decoded by the set's files as written with `end`.
Decoded DecodeWithLineEnds(const std::string& end) {
    ScratchFolder folder;
    std::string log("\xC8\x00", 2);
    for (int i = 0; i < 27 * 4; ++i) {
        log += static_cast<char>((i * 37 + 11) & 0xFF);
    }
    folder.Write("run.Dat", log);
    for (const char* name : {"Demo.cfg", "Demo.ini", "Vekaton.Ini"}) {
        folder.Write(name, WithLineEnds(ReadWholeFile(std::filesystem::path(VEKATON_SOURCE_DIR) /
                                                      "demo" / name),
                                        end));
    }
    ChildProcess decode(CliProgram(),
                        {"decode", "--dir", folder.Path().string(), (folder / "run.Dat").string(),
                         "-o", (folder / "out.csv").string()},
                        folder / "cli.out", folder / "cli.err");
    Decoded decoded;
    decoded.code = decode.Wait(30000);
    decoded.csv = folder.Read("out.csv");
    decoded.err = folder.Read("cli.err");
    return decoded;
}

TEST(LineEnds, ASetWrittenWithLfOrLoneCrDecodesAsWithCrLf) {
    const Decoded crLf = DecodeWithLineEnds("\r\n");
    ASSERT_EQ(crLf.code, 0) << crLf.err;
    // The demo set's definitions, not only Frame and Time.
    ASSERT_NE(crLf.csv.find("Frame,Time,Coolant temperature C,"), std::string::npos)
        << crLf.csv.substr(0, 200);
    for (const std::string end : {"\n", "\r"}) {
        const Decoded other = DecodeWithLineEnds(end);
        EXPECT_EQ(other.code, 0) << other.err;
        EXPECT_EQ(other.err, crLf.err);
        EXPECT_EQ(other.csv, crLf.csv) << "line end " << (end == "\r" ? "CR" : "LF");
    }
}

}  // namespace
}  // namespace vekaton::testing
