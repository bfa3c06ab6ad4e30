// The chart store as the engine and the decoder fill it and the chart widget watches it.
#include "chart/ChartStore.h"

#include <gtest/gtest.h>

#include <vector>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"

namespace vekaton {
namespace {

struct Watched {
    ChartStore store;
    std::vector<ChartChange> heard;

    Watched() {
        store.SetWatcher([this](ChartChange change) { heard.push_back(change); });
    }
};

TEST(ChartStore, TheWatcherHearsOfNewDataOncePerBatchAndNeverInsideOne) {
    Watched w;
    const int channel = w.store.AddChannel(ChartChannel("RPM"));
    w.store.BeginUpdate();
    w.store.BeginUpdate();
    const auto sample = w.store.AddSample(0.0);
    EXPECT_TRUE(w.store.AddPoint(channel, sample, 1200));
    w.store.EndUpdate();
    EXPECT_TRUE(w.heard.empty()) << "still inside the outer batch";
    EXPECT_EQ(w.store.UpdateDepth(), 1);
    w.store.EndUpdate();
    EXPECT_EQ(w.heard, std::vector<ChartChange>{ChartChange::Data});
    EXPECT_EQ(w.store.Data().Point(channel, sample), 1200.0);

    w.heard.clear();
    w.store.BeginUpdate();
    EXPECT_FALSE(w.store.AddPoint(channel, sample + 5, 1.0)) << "no such sample";
    EXPECT_FALSE(w.store.AddPoint(channel + 1, sample, 1.0)) << "no such channel";
    w.store.EndUpdate();
    w.store.EndUpdate();  // unbalanced: ignored
    EXPECT_TRUE(w.heard.empty()) << "nothing was stored";
    EXPECT_EQ(w.store.UpdateDepth(), 0);

    // Outside a batch every sample and point is news at once.
    w.store.AddPoint(channel, w.store.AddSample(0.1), 1300);
    EXPECT_EQ(w.heard, (std::vector<ChartChange>{ChartChange::Data, ChartChange::Data}));
}

TEST(ChartStore, TimeRunningBackwardsStartsAfreshAndSaysSo) {
    Watched w;
    w.store.AddChannel(ChartChannel("Coolant"));
    w.store.AddSample(30.0);
    w.store.AddSample(30.1);
    w.store.AddSample(30.1);  // the same time is no step back
    w.heard.clear();
    const auto sample = w.store.AddSample(2.0);
    EXPECT_EQ(w.store.Data().SampleCount(), 1u);
    EXPECT_EQ(w.store.Data().FirstSample(), sample);
    EXPECT_EQ(w.store.Data().FirstX(), 2.0);
    ASSERT_FALSE(w.heard.empty());
    EXPECT_EQ(w.heard.front(), ChartChange::Cleared);
    EXPECT_EQ(w.store.ChannelCount(), 1) << "the channels stay";

    w.heard.clear();
    w.store.Clear();
    EXPECT_EQ(w.heard, (std::vector<ChartChange>{ChartChange::Cleared, ChartChange::Data}));
    EXPECT_EQ(w.store.Data().SampleCount(), 0u);
}

TEST(ChartStore, ItsChannelsAreWhatTheDecoderPlots) {
    ChartStore store;
    store.AddChannel(ChartChannel("Speed", 0, 1.0, 0.0, 4, 0));
    store.AddChannel(ChartChannel("Fan", 0, 1.0, 0.0, 18, 3));
    ASSERT_EQ(store.ChannelCount(), 2);
    EXPECT_EQ(store.Channel(0).position, 4);
    EXPECT_EQ(store.Channel(1).position, 18);
    EXPECT_EQ(store.Channel(1).bit, 3);
    EXPECT_EQ(store.Channel(2).position, 0) << "out of range: no position";
    store.RemoveChannel(0);
    EXPECT_EQ(store.Channel(0).position, 18);
}

class DecoderIntoStore : public ::testing::Test {
  protected:
    void SetUp() override {
        table_.At(4).ByteCount = 2;
        table_.At(4).SetFormula("A*256+B");
        table_.At(18).IsDigital = true;
        store_.AddChannel(ChartChannel("Speed", 0, 1.0, 0.0, 4, 0));
        store_.AddChannel(ChartChannel("Fan", 0, 1.0, 0.0, 18, 3));
        store_.SetTable(&table_);
        decoder_.SetChart(&store_);
    }
    // One frame's data bytes at positions 1..n, then its sample and the decoder's points.
    std::int64_t Frame(double x, const std::vector<std::uint8_t>& bytes) {
        decoder_.StartFrame();
        int position = 0;
        for (const std::uint8_t b : bytes) {
            decoder_.DecodeByte(++position, b);
        }
        const std::int64_t sample = store_.AddSample(x);
        decoder_.EndOfFrame(sample);
        return sample;
    }
    std::vector<std::uint8_t> Bytes(std::uint8_t high, std::uint8_t low, std::uint8_t flags) {
        std::vector<std::uint8_t> bytes(18, 0);
        bytes[3] = high;
        bytes[4] = low;
        bytes[17] = flags;
        return bytes;
    }

    ParameterTable table_;
    FormulaFrontEnd formulas_;
    Decoder decoder_{table_, formulas_};
    ChartStore store_;
};

TEST_F(DecoderIntoStore, EachFramePutsOnePointPerChannelOnItsSample) {
    const auto first = Frame(0.0, Bytes(0x12, 0x34, 0x08));
    const auto second = Frame(0.1, Bytes(0x00, 0x07, 0x00));
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(store_.Data().Point(0, first), 0x1234) << "the value completes at its last byte";
    EXPECT_EQ(store_.Data().Point(1, first), 5.0) << "bit 3 of 0x08 is set";
    EXPECT_EQ(store_.Data().Point(0, second), 7.0);
    EXPECT_EQ(store_.Data().Point(1, second), 0.0);
    EXPECT_FALSE(store_.Data().Word(0, first)) << "words are kept in raw mode only";
}

TEST_F(DecoderIntoStore, RawModePlotsTheLastByteAndKeepsTheWholeValueBesideIt) {
    decoder_.SetRawMode(true);
    store_.SetRawMode(true);
    const auto sample = Frame(0.0, Bytes(0x12, 0x34, 0x08));
    EXPECT_EQ(store_.Data().Point(0, sample), 0x34);
    EXPECT_EQ(store_.Data().Word(0, sample), 0x1234u);
    EXPECT_FALSE(store_.Data().Word(1, sample)) << "a bit has no word";

    store_.SetTable(nullptr);
    const auto next = Frame(0.1, Bytes(0x56, 0x78, 0x00));
    EXPECT_EQ(store_.Data().Point(0, next), 0x78);
    EXPECT_FALSE(store_.Data().Word(0, next)) << "no table to read the value from";
}

}  // namespace
}  // namespace vekaton
