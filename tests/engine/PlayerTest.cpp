// The player on its own: opening a log, playing its records into the decoder and the chart,
// seeking, and giving back the live run's state.
#include "engine/Player.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/EngineTestRig.h"
#include "engine/FramePlot.h"
#include "log/DataLog.h"
#include "platform/Process.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

// Records of a header byte, two data bytes and a checksum; a two-byte value at positions 1-2.
class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = fs::temp_directory_path() /
                ("vekaton_player_" + std::to_string(platform::CurrentProcessId()) + ".Dat");
        DataLogWriter writer;
        ASSERT_FALSE(writer.Create(path_, 40));
        for (int f = 0; f < kFrames; ++f) {
            ASSERT_FALSE(writer.AppendRecord(WithChecksum(
                Bytes{0x99, static_cast<std::uint8_t>(f), static_cast<std::uint8_t>(f + 1)})));
        }
        table_.At(1).ByteCount = 2;
        table_.At(1).SetFormula("A*256+B");
        chart_.AddChannel(ChartChannel("Value", 0, 1.0, 0.0, 1, 0));
        plot_.SetChart(&chart_);
    }
    void TearDown() override { fs::remove(path_); }
    std::unique_ptr<PlaybackSession> Open() {
        std::string error;
        auto session = Player::Open(path_, layout_, table_, error);
        EXPECT_TRUE(session) << error;
        return session;
    }

    static constexpr int kFrames = 20;
    const RecordLayout layout_{1, 2, true};
    ParameterTable table_;
    FormulaFrontEnd formulas_;
    Decoder decoder_{table_, formulas_};
    ChartStore chart_;
    FramePlot plot_{decoder_};
    Player player_{decoder_};
    fs::path path_;
};

TEST_F(PlayerTest, RecordsPlayInOrderAtTheLogsTimeAndEndAtTheLast) {
    ASSERT_FALSE(player_.Begin(Open(), 500, 0, 12.5));
    ASSERT_TRUE(player_.Active());
    EXPECT_EQ(player_.Session().IntervalMs(), 40);
    for (int f = 0; f < kFrames; ++f) {
        const Player::Played played = player_.PlayNext(plot_);
        ASSERT_TRUE(played.played) << f;
        EXPECT_TRUE(played.frame.fromPlayback);
        EXPECT_TRUE(played.frame.hasChecksum);
        EXPECT_TRUE(played.frame.checksumGood);
        EXPECT_DOUBLE_EQ(played.frame.chartTime, f * 0.04);
        EXPECT_EQ(chart_.Data().Point(0, played.frame.sampleIndex), f * 256 + f + 1);
        EXPECT_DOUBLE_EQ(player_.PositionTime(), (f + 1) * 0.04);
    }
    const Player::Played over = player_.PlayNext(plot_);
    EXPECT_FALSE(over.played);
    EXPECT_FALSE(over.message) << "a log of whole records ends without a word";
    EXPECT_EQ(chart_.Data().SampleCount(), static_cast<std::size_t>(kFrames));
}

TEST_F(PlayerTest, ASeekGivesTheValuesOfPlayingFromTheStartAndTheLiveStateComesBack) {
    decoder_.StartFrame();
    decoder_.DecodeByte(1, 0x42);  // live: a two-byte value half collected
    const Decoder::State live = decoder_.SaveState();

    ASSERT_FALSE(player_.Begin(Open(), 500, 7, 3.25));
    EXPECT_EQ(player_.Session().Position(), 7);
    ASSERT_TRUE(player_.PlayNext(plot_).played);
    EXPECT_EQ(table_.At(2).Value, 7 * 256 + 8);
    ASSERT_FALSE(player_.Seek(2));
    ASSERT_TRUE(player_.PlayNext(plot_).played);
    EXPECT_EQ(table_.At(2).Value, 2 * 256 + 3);
    EXPECT_EQ(player_.Session().Position(), 3);

    player_.Close();
    EXPECT_FALSE(player_.Active());
    EXPECT_DOUBLE_EQ(player_.PutBackLiveState(), 3.25);
    EXPECT_EQ(decoder_.SaveState(), live);
}

TEST_F(PlayerTest, ALogThatCannotBePlayedSaysWhy) {
    std::string error;
    EXPECT_FALSE(Player::Open(path_.string() + ".missing", layout_, table_, error));
    EXPECT_NE(error.find(".missing"), std::string::npos) << error;

    const fs::path partial = path_.string() + ".part";
    std::ofstream(partial, std::ios::binary).write("\x28\x00\x01\x02", 4);
    EXPECT_FALSE(Player::Open(partial, layout_, table_, error));
    EXPECT_NE(error.find("holds no whole record. "), std::string::npos) << error;
    std::ofstream(partial, std::ios::binary).write("\x28\x00", 2);
    EXPECT_FALSE(Player::Open(partial, layout_, table_, error));
    EXPECT_NE(error.find("holds no frames."), std::string::npos) << error;
    fs::remove(partial);

    // A log cut short after it was opened stops playback at the frame it could not read.
    ASSERT_FALSE(player_.Begin(Open(), 500, 0, 0.0));
    fs::resize_file(path_, 2 + 4 * 3);
    const Player::Played step = player_.PlayNext(plot_);
    EXPECT_FALSE(step.played);
    ASSERT_TRUE(step.message);
    EXPECT_NE(step.message->find("Playback stopped at frame 1: "), std::string::npos)
        << *step.message;
}

}  // namespace
}  // namespace vekaton::testing
