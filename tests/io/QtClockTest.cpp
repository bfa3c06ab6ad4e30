#include <gtest/gtest.h>

#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "QtTestSupport.h"
#include "io/QtClock.h"

namespace vekaton {
namespace {

using testing::ProcessEventsFor;
using testing::WaitUntil;

TEST(QtClockTest, CallsRunInOrderOfDueTimeThenOfAsking) {
    QtClock clock;
    std::vector<std::string> order;
    clock.CallLater(60, [&] { order.push_back("60"); });
    clock.CallLater(20, [&] { order.push_back("20a"); });
    clock.CallLater(40, [&] { order.push_back("40"); });
    clock.CallLater(20, [&] { order.push_back("20b"); });
    clock.CallLater(-5, [&] { order.push_back("now"); });
    ASSERT_TRUE(WaitUntil([&] { return order.size() == 5; }));
    EXPECT_EQ(order, (std::vector<std::string>{"now", "20a", "20b", "40", "60"}));
    EXPECT_EQ(clock.Pending(), 0u);
}

TEST(QtClockTest, NeverCallsBackFromInsideCallLater) {
    QtClock clock;
    bool called = false;
    clock.CallLater(0, [&] { called = true; });
    EXPECT_FALSE(called);
    ASSERT_TRUE(WaitUntil([&] { return called; }));
}

TEST(QtClockTest, CallsComeNoEarlierThanAsked) {
    QtClock clock;
    const std::int64_t start = clock.NowMs();
    std::int64_t calledAt = -1;
    clock.CallLater(80, [&] { calledAt = clock.NowMs(); });
    ASSERT_TRUE(WaitUntil([&] { return calledAt >= 0; }));
    EXPECT_GE(calledAt - start, 80);
}

TEST(QtClockTest, CancelledCallsNeverRun) {
    QtClock clock;
    std::vector<int> ran;
    const auto first = clock.CallLater(20, [&] { ran.push_back(1); });
    clock.CallLater(20, [&] { ran.push_back(2); });
    clock.Cancel(first);
    clock.Cancel(first);   // twice is harmless
    clock.Cancel(123456);  // unknown too
    ASSERT_TRUE(WaitUntil([&] { return !ran.empty(); }));
    ProcessEventsFor(50);
    EXPECT_EQ(ran, std::vector<int>{2});
}

TEST(QtClockTest, CallbackCanCancelAnotherDueInTheSamePass) {
    QtClock clock;
    std::vector<int> ran;
    Clock::TimerId second = 0;
    clock.CallLater(10, [&] {
        ran.push_back(1);
        clock.Cancel(second);
    });
    second = clock.CallLater(10, [&] { ran.push_back(2); });
    clock.CallLater(30, [&] { ran.push_back(3); });
    ASSERT_TRUE(WaitUntil([&] { return ran.size() >= 2; }));
    ProcessEventsFor(30);
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

TEST(QtClockTest, CallbackAskingAgainAtOnceDoesNotStarveTheEventLoop) {
    QtClock clock;
    int rounds = 0;
    std::function<void()> again = [&] {
        ++rounds;
        clock.CallLater(0, again);
    };
    clock.CallLater(0, again);
    bool otherTimerFired = false;
    QTimer::singleShot(30, [&] { otherTimerFired = true; });
    EXPECT_TRUE(WaitUntil([&] { return otherTimerFired; }));
    EXPECT_GT(rounds, 1);
}

TEST(QtClockTest, ClockDestroyedWithPendingCallsRunsNone) {
    bool called = false;
    {
        QtClock clock;
        clock.CallLater(0, [&] { called = true; });
    }
    ProcessEventsFor(30);
    EXPECT_FALSE(called);
}

TEST(QtClockTest, LongDelaysWaitAndDoNotOverflow) {
    QtClock clock;
    bool called = false;
    clock.CallLater(std::numeric_limits<std::int64_t>::max(), [&] { called = true; });
    clock.CallLater(24LL * 3600 * 1000 * 40, [&] { called = true; });  // longer than an int
    ProcessEventsFor(30);
    EXPECT_FALSE(called);
    EXPECT_EQ(clock.Pending(), 2u);
}

}  // namespace
}  // namespace vekaton
