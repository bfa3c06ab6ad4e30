#include "engine/PacketTrigger.h"

#include <gtest/gtest.h>

#include <string_view>

#include "support/ManualClock.h"

namespace vekaton {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

class PacketTriggerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        trigger.SetOnPacket([this](std::span<const std::uint8_t> data) {
            packets.emplace_back(data.begin(), data.end());
        });
    }
    void Arm(std::string start, int size) {
        trigger.SetStartString(std::move(start));
        trigger.SetPacketSize(size);
        trigger.SetEnabled(true);
    }
    void Feed(const Bytes& bytes) { trigger.Receive(bytes); }
    void Feed(std::string_view text) { Feed(B(text)); }

    testing::ManualClock clock;
    PacketTrigger trigger{clock};
    std::vector<Bytes> packets;
};

TEST_F(PacketTriggerTest, DeliversTheBytesAfterTheStartStringAndReArms) {
    Arm("AB", 5);  // the size counts the start string too: 3 data bytes
    Feed("xxAB123yyAB456");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("123"), B("456")}));
    EXPECT_TRUE(trigger.Enabled());
}

TEST_F(PacketTriggerTest, PacketsSplitAcrossManyReceives) {
    Arm("\xF4\x57", 6);
    for (const std::uint8_t b : Bytes{0x00, 0xF4, 0x57, 1, 2, 3, 4, 0xF4}) {
        trigger.Receive(std::span<const std::uint8_t>(&b, 1));
    }
    Feed(Bytes{0x57, 9});
    EXPECT_TRUE(packets.size() == 1u);
    Feed(Bytes{8, 7, 6});
    EXPECT_EQ(packets, (std::vector<Bytes>{Bytes{1, 2, 3, 4}, Bytes{9, 8, 7, 6}}));
}

TEST_F(PacketTriggerTest, FalseStartsResumeMatchingInsideTheBytesSeen) {
    Arm("F4F4X", 7);
    Feed("F4F4F4X12");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("12")}));
    packets.clear();
    trigger.SetEnabled(false);
    Arm("AAB", 4);
    Feed("AAAB1F4");  // the second A of "AAAB" begins the match
    EXPECT_EQ(packets, (std::vector<Bytes>{B("1")}));
}

TEST_F(PacketTriggerTest, MatchIgnoresCaseOnBothSides) {
    Arm("ab", 3);
    Feed("AB1aB2ab3");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("1"), B("2"), B("3")}));
    // Packet bytes keep their case; only the start string is compared without it.
    packets.clear();
    Feed("Abz");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("z")}));
}

TEST_F(PacketTriggerTest, QuestionMarkMatchesAnyByteAndBackslashMakesLiteral) {
    Arm("A?C", 4);
    Feed(Bytes{'A', 0x00, 'C', 'x', 'A', 0xFF, 'C', 'y'});
    EXPECT_EQ(packets, (std::vector<Bytes>{B("x"), B("y")}));

    packets.clear();
    trigger.SetEnabled(false);
    Arm("A\\?", 3);  // a literal question mark
    Feed("AB1A?2");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("2")}));

    packets.clear();
    trigger.SetEnabled(false);
    Arm("\\\\\\", 3);  // "\\" then a lone trailing "\": two backslashes
    Feed("\\x\\\\3");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("3")}));
}

TEST_F(PacketTriggerTest, ChangesWhileArmedApplyFromTheNextArming) {
    Arm("AB", 4);
    trigger.SetStartString("CD");
    trigger.SetPacketSize(3);
    Feed("CD12AB12");  // still waiting for "AB" with size 4
    EXPECT_EQ(packets, (std::vector<Bytes>{B("12")}));
    Feed("AB9CD7");  // re-armed after the packet: now "CD", size 3
    EXPECT_EQ(packets, (std::vector<Bytes>{B("12"), B("7")}));

    // Arming an armed trigger keeps the packet being collected.
    Feed("CD");
    trigger.SetEnabled(true);
    Feed("5");
    EXPECT_EQ(packets.back(), B("5"));
}

TEST_F(PacketTriggerTest, HandlerChangesApplyToTheNextPacket) {
    trigger.SetOnPacket([this](std::span<const std::uint8_t> data) {
        packets.emplace_back(data.begin(), data.end());
        trigger.SetStartString("Z");
        trigger.SetPacketSize(2);
    });
    Arm("AB", 3);
    Feed("AB1AB2Z3");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("1"), B("3")}));
}

TEST_F(PacketTriggerTest, HandlerMayDisableTheTrigger) {
    trigger.SetOnPacket([this](std::span<const std::uint8_t> data) {
        packets.emplace_back(data.begin(), data.end());
        trigger.SetEnabled(false);
    });
    Arm("A", 2);
    Feed("A1A2");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("1")}));
    EXPECT_FALSE(trigger.Enabled());
}

TEST_F(PacketTriggerTest, DisabledTriggerIgnoresBytesAndForgetsAPartialPacket) {
    Feed("AB12");
    Arm("AB", 4);
    Feed("AB1");
    trigger.SetEnabled(false);
    Feed("2");
    trigger.SetEnabled(true);
    Feed("3AB45");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("45")}));
}

TEST_F(PacketTriggerTest, UnfinishedPacketIsAbandonedCountedAndTheTriggerReArms) {
    Arm("AB", 6);
    Feed("AB12");
    clock.Advance(PacketTrigger::kTimeoutMs - 1);
    EXPECT_EQ(trigger.AbandonedPackets(), 0);
    Feed("3");
    clock.Advance(1);
    EXPECT_EQ(trigger.AbandonedPackets(), 1);
    EXPECT_TRUE(trigger.Enabled());
    EXPECT_TRUE(packets.empty());
    // The late rest of the old packet is not taken for data; the next start string is.
    Feed("4AB5678");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("5678")}));
    EXPECT_EQ(clock.Pending(), 0u);
}

TEST_F(PacketTriggerTest, TimeoutRunsOnlyWhileAPacketIsOpen) {
    Arm("AB", 3);
    Feed("A");  // a partial start string is not a started packet
    clock.Advance(10 * PacketTrigger::kTimeoutMs);
    EXPECT_EQ(trigger.AbandonedPackets(), 0);
    Feed("B1");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("1")}));
    clock.Advance(10 * PacketTrigger::kTimeoutMs);
    EXPECT_EQ(trigger.AbandonedPackets(), 0);
}

TEST_F(PacketTriggerTest, TimeoutReArmsWithTheCurrentValues) {
    Arm("AB", 10);
    trigger.SetStartString("C");
    trigger.SetPacketSize(2);
    Feed("AB1");
    clock.Advance(PacketTrigger::kTimeoutMs);
    Feed("C9");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("9")}));
}

TEST_F(PacketTriggerTest, SizeNotLargerThanTheStartStringGivesEmptyPackets) {
    Arm("ABC", 2);
    Feed("ABCABC");
    EXPECT_EQ(packets, (std::vector<Bytes>{Bytes{}, Bytes{}}));
    EXPECT_EQ(clock.Pending(), 0u);
}

TEST_F(PacketTriggerTest, EmptyStartStringCutsByCountAlone) {
    Arm("", 2);
    Feed("1234");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("12"), B("34")}));
    packets.clear();
    trigger.SetEnabled(false);
    Arm("", 0);  // never loops without input: one byte per packet
    Feed("56");
    EXPECT_EQ(packets, (std::vector<Bytes>{B("5"), B("6")}));
}

TEST(PacketTriggerLifetime, DestroyingTheTriggerCancelsItsTimeout) {
    testing::ManualClock clock;
    {
        PacketTrigger trigger(clock);
        trigger.SetStartString("A");
        trigger.SetPacketSize(5);
        trigger.SetEnabled(true);
        trigger.Receive(B("A1"));
        EXPECT_EQ(clock.Pending(), 1u);
    }
    EXPECT_EQ(clock.Pending(), 0u);
}

}  // namespace
}  // namespace vekaton
