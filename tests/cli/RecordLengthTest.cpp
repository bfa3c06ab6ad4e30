// `vekaton-cli decode` reads a log with the record length the recorder writes in the set's link
// mode, and `live --record` names the log to record.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliCommands.h"
#include "files/ScratchFolder.h"
#include "support/SetFilesForTest.h"

namespace vekaton::cli {
namespace {

using testing::ScratchFolder;

std::string Settings(int mode, int responseBytes, bool checksum) {
    testing::LinkSetUp setUp;
    setUp.request = "$F4 $92 $01";
    setUp.responseBytes = responseBytes;
    setUp.dataBytes = 2;
    setUp.checksum = checksum;
    setUp.syncMode = mode;
    return SettingsFile(setUp);
}

TEST(RecordLengthTest, AnAldl160LogIsTheRequestThenTheDataWhateverResponseBytesSays) {
    for (const int responseBytes : {0, 3, 7}) {
        ScratchFolder folder;
        // A checksum set on is ignored: a packet has none.
        folder.Write("Default.Ini", Settings(3, responseBytes, true));
        folder.Write("Default.cfg", "1,1,0,First,A\r\n2,1,0,Second,A\r\nEND\r\n");
        folder.Write("run.Dat", std::string("\x64\x00"
                                            "\xF4\x92\x01\x0A\x0B"
                                            "\xF4\x92\x01\x0C\x0D",
                                            12));
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(
            RunDecode({"--dir", folder.Path().string(), (folder / "run.Dat").string()}, out, err),
            0)
            << err.str();
        EXPECT_EQ(out.str(), "Frame,Time,First,Second\r\n1,0,10,11\r\n2,0.1,12,13\r\n")
            << "ResponseBytes " << responseBytes;
        EXPECT_EQ(err.str(), "");
    }
}

TEST(RecordLengthTest, TheOtherModesCountTheHeaderAndTheChecksum) {
    ScratchFolder folder;
    folder.Write("Default.Ini", Settings(1, 1, true));
    folder.Write("Default.cfg", "1,1,0,First,A\r\n2,1,0,Second,A\r\nEND\r\n");
    folder.Write("run.Dat", std::string("\x64\x00\xE1\x0A\x0B\x0A", 6));
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunDecode({"--dir", folder.Path().string(), (folder / "run.Dat").string()}, out, err),
              0);
    EXPECT_EQ(out.str(), "Frame,Time,First,Second\r\n1,0,10,11\r\n");
}

TEST(RecordLengthTest, LiveTakesTheLogToRecord) {
    LiveOptions options;
    EXPECT_EQ(ParseLiveOptions({"--record", "drive.Dat", "--frames", "5"}, options), "");
    EXPECT_EQ(options.recordPath, "drive.Dat");
    LiveOptions inline_;
    EXPECT_EQ(ParseLiveOptions({"--record=x.Dat"}, inline_), "");
    EXPECT_EQ(inline_.recordPath, "x.Dat");
    LiveOptions missing;
    EXPECT_NE(ParseLiveOptions({"--record"}, missing), "");
    LiveOptions empty;
    EXPECT_NE(ParseLiveOptions({"--record="}, empty), "");
}

}  // namespace
}  // namespace vekaton::cli
