#include "cli/LiveMonitor.h"

#include <gtest/gtest.h>

namespace vekaton::cli {
namespace {

LinkSettings TalkListen() {
    LinkSettings s;
    s.syncMode = SyncMode::TalkListen;
    s.responseBytes = 3;
    s.dataBytes = 23;
    s.useCheckSum = true;
    s.requestEchoed = true;
    s.sampleRate = 100;
    return s;
}

std::string All(const std::vector<std::string>& warnings) {
    std::string text;
    for (const std::string& warning : warnings) {
        text += warning + "\n";
    }
    return text;
}

TEST(LiveMonitorTest, ASilentPortIsReportedOnceAfterTwoSecondsWithWhatToCheck) {
    LiveMonitor monitor("/dev/ttyS0", TalkListen(), 5, 1000);
    LinkCounters counters;
    EXPECT_TRUE(monitor.Check(counters, 2999).empty());
    const auto warnings = monitor.Check(counters, 3000);
    ASSERT_EQ(warnings.size(), 1u);
    const std::string& text = warnings[0];
    EXPECT_EQ(text.rfind("warning: no frame from /dev/ttyS0 in 2 seconds (talk/listen mode; a "
                         "frame is 32 bytes: 5 echoed request, 3 header, 23 data, 1 checksum).",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("Nothing arrived on the port."), std::string::npos);
    for (const char* check :
         {"adapter", "ignition", "baud rate (8192)", "RequestEchoed=TRUE", "# Bytes of Data=23"}) {
        EXPECT_NE(text.find(check), std::string::npos) << check;
    }
    EXPECT_TRUE(monitor.Check(counters, 10000).empty()) << "once";
}

TEST(LiveMonitorTest, BytesThatNeverMakeAFrameAreCountedPerRequest) {
    LiveMonitor monitor("/dev/ttyUSB0", TalkListen(), 5, 0);
    LinkCounters counters;
    for (int poll = 0; poll < 20; ++poll) {
        monitor.BytesReceived(27);  // the module does not echo: 5 bytes short every time
    }
    counters.polls = 20;
    const std::string text = All(monitor.Check(counters, 2000));
    EXPECT_NE(text.find("540 bytes arrived, about 27 per request, but none completed a frame. "
                        "That is a frame without the echo: does the adapter really echo the "
                        "request (RequestEchoed)?"),
              std::string::npos)
        << text;

    LiveMonitor echoOnly("/dev/ttyUSB0", TalkListen(), 5, 0);
    echoOnly.BytesReceived(100);
    const std::string echoes = All(echoOnly.Check(counters, 2000));
    EXPECT_NE(echoes.find("Only the echo of each request comes back"), std::string::npos) << echoes;
}

TEST(LiveMonitorTest, SilenceAfterFramesIsReportedAgainAfterFramesCameBack) {
    LinkSettings listen = TalkListen();
    listen.syncMode = SyncMode::ListenOnly;
    listen.syncTime = 500;
    LiveMonitor monitor("/dev/pts/3", listen, 5, 0);
    LinkCounters counters;
    counters.frames = 10;
    counters.lastFrameMs = 900;
    EXPECT_TRUE(monitor.Check(counters, 1000).empty());
    const std::string first = All(monitor.Check(counters, 2900));
    EXPECT_NE(first.find("listen-only mode"), std::string::npos);
    EXPECT_NE(first.find("SyncTime (500 ms)"), std::string::npos);
    counters.frames = 11;
    counters.lastFrameMs = 5000;
    EXPECT_TRUE(monitor.Check(counters, 5000).empty());
    const std::string again = All(monitor.Check(counters, 7000));
    EXPECT_NE(again.find("no frame from /dev/pts/3"), std::string::npos);
    EXPECT_EQ(again.find("ignition"), std::string::npos) << "the long advice is given once";
}

TEST(LiveMonitorTest, NoSilenceWarningWhileThePortIsLost) {
    LiveMonitor monitor("/dev/ttyUSB0", TalkListen(), 5, 0);
    LinkCounters counters;
    monitor.SetPortLost(true, 500);
    EXPECT_TRUE(monitor.Check(counters, 9000).empty());
    monitor.SetPortLost(false, 9000);
    EXPECT_TRUE(monitor.Check(counters, 10999).empty());
    EXPECT_EQ(monitor.Check(counters, 11000).size(), 1u);
}

TEST(LiveMonitorTest, FiveBadChecksumsInARowNameTheLikelySettings) {
    LiveMonitor monitor("/dev/ttyUSB0", TalkListen(), 5, 0);
    LinkCounters counters;
    for (int n = 1; n <= 4; ++n) {
        counters.frames = static_cast<std::uint64_t>(n);
        counters.lastFrameMs = n * 100;
        counters.badChecksumRun = n;
        EXPECT_TRUE(monitor.Check(counters, n * 100).empty()) << n;
    }
    counters.frames = 5;
    counters.badChecksumRun = 5;
    const std::string text = All(monitor.Check(counters, 500));
    EXPECT_NE(text.find("5 frames in a row failed their checksum"), std::string::npos) << text;
    for (const char* name : {"DataBytes", "ResponseBytes=3", "RequestEchoed=TRUE"}) {
        EXPECT_NE(text.find(name), std::string::npos) << name;
    }
    counters.badChecksumRun = 50;
    EXPECT_TRUE(monitor.Check(counters, 600).empty()) << "once per run of bad frames";
    counters.badChecksumRun = 0;
    EXPECT_TRUE(monitor.Check(counters, 700).empty());
    counters.badChecksumRun = 5;
    EXPECT_TRUE(monitor.Check(counters, 800).empty()) << "not again within 30 seconds";
    counters.frames = 300;
    counters.lastFrameMs = 31000;
    EXPECT_EQ(monitor.Check(counters, 31000).size(), 1u);
}

TEST(LiveMonitorTest, FramesLostAgainAndAgainAreReportedWhileFramesStillCome) {
    LiveMonitor monitor("/dev/ttyUSB0", TalkListen(), 5, 0);
    LinkCounters counters;
    counters.frames = 100;
    counters.lastFrameMs = 1000;
    counters.pollsUnanswered = 2;
    EXPECT_TRUE(monitor.Check(counters, 1000).empty());
    counters.pollsUnanswered = 3;
    EXPECT_TRUE(monitor.Check(counters, 1100).empty()) << "counted when a frame comes";
    counters.frames = 101;
    counters.lastFrameMs = 1200;
    const std::string text = All(monitor.Check(counters, 1200));
    EXPECT_NE(text.find("3 frames lost so far (3 polls without a complete answer, 0 bursts of "
                        "the wrong length)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("SampleRate=100 ms"), std::string::npos) << text;
    counters.frames = 102;
    counters.syncErrors = 5;
    EXPECT_TRUE(monitor.Check(counters, 1300).empty()) << "at most every 30 seconds";
    counters.frames = 103;
    EXPECT_NE(All(monitor.Check(counters, 40000)).find("8 frames lost so far"), std::string::npos);
}

TEST(LiveMonitorTest, PollsUnansweredDuringASilenceAreNotReportedAsLosses) {
    LiveMonitor monitor("/dev/ttyUSB0", TalkListen(), 5, 0);
    LinkCounters counters;
    counters.frames = 10;
    counters.lastFrameMs = 100;
    EXPECT_TRUE(monitor.Check(counters, 100).empty());
    counters.pollsUnanswered = 40;                        // the module was off for four seconds
    EXPECT_EQ(monitor.Check(counters, 2100).size(), 1u);  // the silence warning
    counters.frames = 11;
    counters.lastFrameMs = 4200;
    EXPECT_TRUE(monitor.Check(counters, 4200).empty());
}

TEST(LiveMonitorTest, TheSummaryCountsEverything) {
    LinkCounters counters;
    counters.frames = 48743;
    counters.checksumErrors = 2;
    counters.syncErrors = 1;
    counters.pollsUnanswered = 0;
    EXPECT_EQ(LiveMonitor::Summary(counters),
              "48743 frames received, 2 bad checksums, 1 sync error, 0 polls without a complete "
              "answer");
    EXPECT_EQ(LiveMonitor::Summary(LinkCounters{}),
              "0 frames received, 0 bad checksums, 0 sync errors, 0 polls without a complete "
              "answer");
}

TEST(LiveMonitorTest, PacketsAreDescribedByTheirStartString) {
    LinkSettings aldl = TalkListen();
    aldl.syncMode = SyncMode::Aldl160;
    LiveMonitor monitor("/dev/ttyUSB0", aldl, 3, 0);
    const std::string text = All(monitor.Check(LinkCounters{}, 2000));
    EXPECT_NE(text.find("ALDL 160 interface mode; a packet is the start string of 3 bytes and 23 "
                        "data bytes"),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace vekaton::cli
