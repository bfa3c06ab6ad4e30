// The frame assembler on its own: frames out of bytes and packets, the checksum range, sync
// errors, and the answer a request waits for.
#include "engine/FrameAssembler.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/EngineTestRig.h"
#include "engine/EngineTexts.h"
#include "engine/FramePlot.h"
#include "engine/Recorder.h"
#include "platform/Process.h"
#include "support/LogRecords.h"

namespace vekaton::testing {
namespace {

struct AssemblerRig {
    ManualClock clock;
    ParameterTable table;
    FormulaFrontEnd formulas;
    Decoder decoder{table, formulas};
    RecordingView view;
    Recorder recorder{view};
    FramePlot plot{decoder};
    LinkCounters counters;
    ChartStore chart;
    FrameAssembler frames{decoder, view, recorder, plot, counters, clock};

    // Request F4 57 (echoed when asked), 2 header bytes, 3 data bytes.
    AssemblerRig(SyncMode mode, bool checksum, bool echoed) {
        plot.SetChart(&chart);
        LinkSettings s = EngineRig::Settings(mode, "$F4 $57", 2, 3, checksum, echoed);
        s.sampleRate = 200;
        s.baudRate = 1000;
        frames.Configure(s, Bytes{0xF4, 0x57});
        frames.SetRunning(true);
    }
};

TEST(FrameAssembler, TheGeometryFollowsTheSettings) {
    AssemblerRig echoed(SyncMode::TalkListen, true, true);
    EXPECT_EQ(echoed.frames.DataOffset(), 4);
    EXPECT_EQ(echoed.frames.ExpectedFrameLength(), 8);
    EXPECT_EQ(echoed.frames.RecordLength(), 6u);
    EXPECT_DOUBLE_EQ(echoed.frames.SecondsPerFrame(), 0.2);
    AssemblerRig packets(SyncMode::Aldl160, true, false);
    EXPECT_EQ(packets.frames.RecordLength(), 5u) << "start string and data, no checksum";
}

TEST(FrameAssembler, AnEchoedFrameSumsOnlyHeaderAndDataAndEndsInOneStep) {
    AssemblerRig rig(SyncMode::TalkListen, true, true);
    rig.frames.Receive(Bytes{0xF4, 0x57, 0x10, 0x20});
    EXPECT_EQ(rig.frames.ByteSum(), 0x30) << "the echo is not summed";
    rig.frames.Receive(Bytes{1, 2, 3});
    EXPECT_EQ(rig.frames.ByteCounter(), 7);
    EXPECT_TRUE(rig.view.frames.empty());
    const std::uint8_t checksum = ChecksumFor(0x30 + 1 + 2 + 3);
    rig.frames.Receive(Bytes{checksum});
    ASSERT_EQ(rig.view.frames.size(), 1u);
    const FrameSummary& frame = rig.view.frames[0];
    EXPECT_TRUE(frame.hasChecksum);
    EXPECT_TRUE(frame.checksumGood);
    EXPECT_EQ(frame.chartTime, 0.0);
    EXPECT_EQ(rig.chart.Data().X(frame.sampleIndex), 0.0);
    EXPECT_DOUBLE_EQ(rig.frames.ElapsedSeconds(), 0.2);
    EXPECT_DOUBLE_EQ(rig.view.elapsed, 0.2);
    EXPECT_EQ(rig.view.checksumLabel, false);
    EXPECT_EQ(rig.counters.frames, 1u);
    EXPECT_EQ(rig.table.At(3).RawByte, 3);

    // A bad one shows the label and counts; the values are decoded all the same.
    rig.frames.ResetFrameState();
    rig.frames.Receive(Bytes{0xF4, 0x57, 0x10, 0x20, 4, 5, 6, 0x00});
    EXPECT_EQ(rig.view.checksumLabel, true);
    EXPECT_EQ(rig.counters.checksumErrors, 1u);
    EXPECT_EQ(rig.counters.badChecksumRun, 1);
    EXPECT_EQ(rig.table.At(1).RawByte, 4);
}

TEST(FrameAssembler, BytesWhileStoppedReachOnlyTheTrace) {
    AssemblerRig rig(SyncMode::TalkListen, false, false);
    rig.frames.SetRunning(false);
    rig.view.debugPage = true;
    rig.frames.Receive(Bytes{0x10, 0x20, 7, 8, 9});
    EXPECT_EQ(rig.view.trace, "10, 20, 07, 08, 09, ");
    EXPECT_EQ(rig.frames.ByteCounter(), 0);
    EXPECT_TRUE(rig.view.frames.empty());
    EXPECT_EQ(rig.table.At(1).RawByte, 0);
    EXPECT_EQ(rig.chart.Data().SampleCount(), 0u);
}

TEST(FrameAssembler, AListenOnlyBurstOfTheWrongLengthIsASyncError) {
    AssemblerRig rig(SyncMode::ListenOnly, false, false);
    rig.frames.Silence();
    EXPECT_EQ(rig.frames.SyncErrorCount(), 0) << "silence with nothing before it";
    rig.frames.Receive(Bytes{1, 2, 3});
    rig.frames.Silence();
    EXPECT_EQ(rig.frames.SyncErrorCount(), 1);
    EXPECT_EQ(rig.view.syncErrors, 1);
    EXPECT_EQ(rig.counters.syncErrors, 1u);
    // Two whole frames with no silence between them are two frames.
    rig.frames.Receive(Bytes{1, 2, 3, 4, 5, 1, 2, 3, 4, 6});
    EXPECT_EQ(rig.view.frames.size(), 2u);
    EXPECT_EQ(rig.table.At(3).RawByte, 6);
    rig.frames.Silence();
    EXPECT_EQ(rig.frames.SyncErrorCount(), 1);
    rig.frames.ResetSyncErrors();
    EXPECT_EQ(rig.view.syncErrors, 0);
}

TEST(FrameAssembler, APacketsBytesReachPositionsOneOnAndItsRecordStartsWithTheRequest) {
    AssemblerRig rig(SyncMode::Aldl160, false, false);
    const auto path =
        std::filesystem::temp_directory_path() /
        ("vekaton_assembler_" + std::to_string(platform::CurrentProcessId()) + ".Dat");
    ASSERT_FALSE(rig.recorder.Start(path, 500));
    rig.frames.ReceivePacket(Bytes{7, 8, 9});
    ASSERT_EQ(rig.view.frames.size(), 1u);
    EXPECT_FALSE(rig.view.frames[0].hasChecksum);
    EXPECT_EQ(rig.table.At(1).RawByte, 7);
    EXPECT_EQ(rig.table.At(3).RawByte, 9);
    EXPECT_EQ(rig.frames.ByteCounter(), rig.frames.DataOffset() + 3);
    EXPECT_EQ(rig.recorder.FrameCount(), 1) << "F4 57 07 08 09 is a whole record";
    EXPECT_EQ(rig.view.packets, (std::vector<std::pair<int, bool>>{{3, true}}));
    EXPECT_FALSE(rig.view.checksumLabel.has_value()) << "a packet has no checksum to show";

    rig.frames.SetRunning(false);
    rig.frames.ReceivePacket(Bytes{1, 2, 3});
    EXPECT_EQ(rig.view.frames.size(), 1u);
    EXPECT_EQ(rig.recorder.FrameCount(), 1);
    rig.recorder.CloseNow(kRunEndedReason);
    EXPECT_EQ(LogRecords(path, 5), (std::vector<Bytes>{{0xF4, 0x57, 7, 8, 9}}));
    std::filesystem::remove(path);
}

TEST(FrameAssembler, ARequestIsAwaitedForAsLongAsItsAnswerTakesOnTheLine) {
    AssemblerRig rig(SyncMode::TalkListen, true, false);
    EXPECT_FALSE(rig.frames.RequestOutstanding());
    rig.frames.NoteRequestSent(1000);
    // 2 request bytes and 6 answer bytes of 10 bits at 1000 baud, and 50 ms to spare.
    EXPECT_TRUE(rig.frames.AwaitingAnswer(1129));
    EXPECT_FALSE(rig.frames.AwaitingAnswer(1130));
    EXPECT_TRUE(rig.frames.RequestOutstanding());
    rig.frames.Receive(WithChecksum(Bytes{0x10, 0x20, 1, 2, 3}));
    EXPECT_FALSE(rig.frames.RequestOutstanding()) << "answered";
    EXPECT_FALSE(rig.frames.AwaitingAnswer(1000));

    rig.frames.NoteRequestSent(2000);
    rig.frames.ForgetRequest();
    EXPECT_FALSE(rig.frames.AwaitingAnswer(2001));
}

}  // namespace
}  // namespace vekaton::testing
