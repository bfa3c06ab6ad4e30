// Seeking in a data log: the decoder state at any frame equals the state playing the log from its
// start leaves there, with or without checkpoints taken on the way.
#include <gtest/gtest.h>

#include <random>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "log/DataLogFile.h"
#include "log/LogReplay.h"
#include "log/LogScan.h"
#include "log/RecordPlayback.h"

namespace vekaton {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kFrames = 1000;
const RecordLayout kLayout{1, 5, true};  // a header byte, 5 data bytes, a checksum

Bytes MakeLog(int frames, std::uint32_t seed) {
    std::mt19937 random(seed);
    Bytes log{100, 0};
    for (int f = 0; f < frames; ++f) {
        unsigned sum = 0;
        for (int i = 0; i < 6; ++i) {
            const auto b = static_cast<std::uint8_t>(random());
            log.push_back(b);
            sum += b;
        }
        // Every seventh frame has a bad checksum.
        log.push_back(
            static_cast<std::uint8_t>((256 - (sum & 0xFF) + (f % 7 == 0 ? 1 : 0)) & 0xFF));
    }
    return log;
}

// Multi-byte values that run past the frame's end carry from frame to frame, and a formula
// prefix reads the width the last multi-byte value left.
void Define(ParameterTable& table) {
    table.At(2).ByteCount = 2;
    table.At(2).SetFormula("A*256+B");
    table.At(5).ByteCount = 3;
    table.At(5).SetFormula("[UINTEGER]A/8");
    table.At(1).SetFormula("A-B");
}

class LogReplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Define(table);
        const Bytes bytes = MakeLog(kFrames, 7);
        ASSERT_FALSE(log.Open(MemoryLogBytes(bytes), kLayout.Size()));
        // The reference: every frame's starting state and values, played straight through.
        Decoder decoder(table, formulas);
        Bytes record;
        std::string error;
        for (int f = 0; f < kFrames; ++f) {
            states.push_back(decoder.SaveState());
            ASSERT_TRUE(log.ReadRecord(f, record, error));
            FeedRecord(decoder, record, kLayout, f);
            values.push_back({table.At(1).Value, table.At(3).Value, table.At(7).Value});
        }
        states.push_back(decoder.SaveState());
    }

    ParameterTable table;
    FormulaFrontEnd formulas;
    DataLogFile log;
    std::vector<Decoder::State> states;
    std::vector<std::vector<double>> values;
};

TEST_F(LogReplayTest, TheStateAtAnyFrameIsTheOnePlayingFromTheStartLeaves) {
    LogReplay replay(log, kLayout, table);
    std::string error;
    EXPECT_EQ(replay.CheckpointedFrames(), 0);
    std::mt19937 random(3);
    std::vector<std::int64_t> frames{999, 0, 1, 63, 64, 65, 128, 1000, 500, 3};
    for (int i = 0; i < 40; ++i) {
        frames.push_back(static_cast<std::int64_t>(random() % (kFrames + 1)));
    }
    Decoder decoder(table, formulas);
    Bytes record;
    for (const std::int64_t frame : frames) {
        const auto state = replay.StateAt(frame, error);
        ASSERT_TRUE(state) << error;
        EXPECT_EQ(*state, states[static_cast<std::size_t>(frame)]) << "frame " << frame;
        if (frame < kFrames) {
            decoder.RestoreState(*state);
            ASSERT_TRUE(log.ReadRecord(frame, record, error));
            FeedRecord(decoder, record, kLayout, 0);
            EXPECT_EQ(
                (std::vector<double>{table.At(1).Value, table.At(3).Value, table.At(7).Value}),
                values[static_cast<std::size_t>(frame)])
                << "frame " << frame;
        }
    }
    EXPECT_GE(replay.CheckpointedFrames(), 960);
    EXPECT_LT(replay.MemoryBytes(), 16u * 1024u);
    // Beyond the log: held to its end.
    EXPECT_EQ(*replay.StateAt(kFrames + 50, error), states.back());
}

TEST_F(LogReplayTest, AScanPlotsEveryFrameCountsBadChecksumsAndLeavesCheckpoints) {
    LogReplay replay(log, kLayout, table);
    Decoder decoder(table, formulas);
    decoder.RestoreState(states[17]);  // whatever the decoder held, the scan starts fresh
    LogScan scan(log, replay, kLayout, decoder);
    std::vector<double> times;
    const LogScan::AddSample add = [&](double seconds) {
        times.push_back(seconds);
        return static_cast<int>(times.size()) - 1;
    };
    int steps = 0;
    while (scan.Step(97, add)) {
        ++steps;
    }
    EXPECT_EQ(steps, kFrames / 97);
    EXPECT_TRUE(scan.Finished());
    EXPECT_FALSE(scan.Error());
    EXPECT_EQ(scan.Done(), kFrames);
    ASSERT_EQ(times.size(), static_cast<std::size_t>(kFrames));
    EXPECT_DOUBLE_EQ(times[0], 0.0);
    EXPECT_DOUBLE_EQ(times[10], 1.0);  // the log's 100 ms
    EXPECT_EQ(scan.BadChecksums(), (kFrames + 6) / 7);
    EXPECT_EQ(decoder.SaveState(), states.back());
    // The checkpoints came from the scan itself.
    EXPECT_EQ(replay.CheckpointedFrames(),
              (kFrames / LogReplay::kCheckpointEvery) * LogReplay::kCheckpointEvery);
}

TEST(LogFitWarningTest, NamesTheLikelyCause) {
    EXPECT_FALSE(LogFitWarning(0, 67, 100, 49, true));
    EXPECT_FALSE(LogFitWarning(0, 67, 100, 100, false)) << "without a checksum nothing fails";
    const auto partial = LogFitWarning(5, 67, 100, 0, true);
    ASSERT_TRUE(partial);
    EXPECT_NE(partial->find("not a whole number of 67-byte records"), std::string::npos);
    EXPECT_NE(partial->find("5 bytes are left over"), std::string::npos);
    EXPECT_NE(partial->find("cut off"), std::string::npos);
    const auto failing = LogFitWarning(0, 67, 100, 51, true);
    ASSERT_TRUE(failing);
    EXPECT_NE(failing->find("51 of its 100 frames fail the checksum"), std::string::npos);
    EXPECT_NE(failing->find("another frame layout"), std::string::npos);
}

}  // namespace
}  // namespace vekaton
