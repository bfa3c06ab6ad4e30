#include <gtest/gtest.h>

#include "engine/CommandString.h"
#include "support/FakePort.h"
#include "support/ManualClock.h"

namespace vekaton {
namespace {

using Bytes = std::vector<std::uint8_t>;

class CommandSenderTest : public ::testing::Test {
  protected:
    testing::FakePort port;
    testing::ManualClock clock;
    CommandSender sender{port, clock};
};

TEST_F(CommandSenderTest, WritesBytesOneAtATimeWaitsThenFlushesAndReportsDone) {
    int done = 0;
    EXPECT_FALSE(sender.Send("$f4 (D110) $56", [&] { ++done; }));
    // The first byte goes out at once, then the sender waits without blocking.
    EXPECT_EQ(port.written, (Bytes{0xF4}));
    EXPECT_TRUE(sender.Busy());

    clock.Advance(109);
    EXPECT_EQ(port.written, (Bytes{0xF4}));
    clock.Advance(1);
    EXPECT_EQ(port.written, (Bytes{0xF4, 0x56}));
    EXPECT_EQ(port.writes.size(), 2u);  // one write per byte
    EXPECT_EQ(port.flushes, 0);

    // Two ticks after the last byte the input is flushed and the engine told.
    clock.Advance(109);
    EXPECT_EQ(done, 0);
    clock.Advance(1);
    EXPECT_EQ(port.flushes, 1);
    EXPECT_EQ(done, 1);
    EXPECT_FALSE(sender.Busy());
    EXPECT_EQ(clock.Pending(), 0u);
}

TEST_F(CommandSenderTest, EmptyCommandStillSettlesAndFlushes) {
    bool done = false;
    sender.Send("", [&] { done = true; });
    EXPECT_TRUE(port.written.empty());
    clock.Advance(2 * kTickMs);
    EXPECT_TRUE(done);
    EXPECT_EQ(port.flushes, 1);
}

TEST_F(CommandSenderTest, HugeDelayIsCappedAndNeverBlocks) {
    bool done = false;
    sender.Send("1 (D99999999) 2", [&] { done = true; });
    EXPECT_EQ(port.written, (Bytes{1}));
    const int maxTicks = kMaxCommandDelayMs / kTickMs;
    clock.Advance(static_cast<std::int64_t>(maxTicks) * kTickMs);
    EXPECT_EQ(port.written, (Bytes{1, 2}));
    clock.Advance(2 * kTickMs);
    EXPECT_TRUE(done);
}

TEST_F(CommandSenderTest, ConversionErrorIsReturnedAndBytesBeforeItAreSent) {
    bool done = false;
    const auto error = sender.Send("7 (Dx) 8", [&] { done = true; });
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "'x' is not a valid integer value");
    clock.Advance(1000);
    EXPECT_EQ(port.written, (Bytes{7}));
    EXPECT_TRUE(done);  // the frame state is still reset after what was sent
}

TEST_F(CommandSenderTest, CommandsGivenWhileBusyAreQueuedInOrder) {
    std::vector<int> order;
    sender.Send("1 (D55) 2", [&] { order.push_back(1); });
    sender.Send("3", [&] { order.push_back(2); });
    EXPECT_EQ(port.written, (Bytes{1}));
    clock.Advance(kTickMs);
    EXPECT_EQ(port.written, (Bytes{1, 2}));
    clock.Advance(2 * kTickMs);
    EXPECT_EQ(order, (std::vector<int>{1}));
    EXPECT_EQ(port.written, (Bytes{1, 2, 3}));  // the second starts right after the first
    clock.Advance(2 * kTickMs);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(port.flushes, 2);
}

TEST_F(CommandSenderTest, DoneMaySendTheNextCommand) {
    int second = 0;
    sender.Send("1", [&] { sender.Send("2", [&] { ++second; }); });
    clock.Advance(2 * kTickMs);
    EXPECT_EQ(port.written, (Bytes{1, 2}));
    clock.Advance(2 * kTickMs);
    EXPECT_EQ(second, 1);
    EXPECT_FALSE(sender.Busy());
}

TEST_F(CommandSenderTest, CancelDropsEverythingWithoutDone) {
    bool done = false;
    sender.Send("1 (D550) 2", [&] { done = true; });
    sender.Send("3", [&] { done = true; });
    sender.Cancel();
    EXPECT_FALSE(sender.Busy());
    clock.Advance(5000);
    EXPECT_EQ(port.written, (Bytes{1}));
    EXPECT_FALSE(done);
    EXPECT_EQ(clock.Pending(), 0u);

    // The sender is usable again afterwards.
    sender.Send("4");
    EXPECT_EQ(port.written, (Bytes{1, 4}));
}

TEST_F(CommandSenderTest, ClosedPortStillCompletesTheCommand) {
    port.open = false;
    bool done = false;
    sender.Send("1 2", [&] { done = true; });
    clock.Advance(2 * kTickMs);
    EXPECT_TRUE(port.written.empty());
    EXPECT_TRUE(done);
}

TEST(CommandSenderLifetime, DestroyingTheSenderCancelsItsTimer) {
    testing::FakePort port;
    testing::ManualClock clock;
    {
        CommandSender sender(port, clock);
        sender.Send("1 (D110) 2");
        EXPECT_GT(clock.Pending(), 0u);
    }
    EXPECT_EQ(clock.Pending(), 0u);
    clock.Advance(1000);
    EXPECT_EQ(port.written, (Bytes{1}));
}

}  // namespace
}  // namespace vekaton
