#include "engine/CommandString.h"

#include <gtest/gtest.h>

#include "common/LinkSettings.h"

namespace vekaton {
namespace {

using Bytes = std::vector<std::uint8_t>;

CommandStep Send(std::uint8_t byte) {
    return {CommandStep::Kind::SendByte, byte, 0};
}
CommandStep Wait(int ticks) {
    return {CommandStep::Kind::WaitTicks, 0, ticks};
}

TEST(RequestText, BlankSeparatedHexGivesBytesInOrder) {
    EXPECT_EQ(RequestTextToBytes("$f4 $57 $01 $00 $b4"), (Bytes{0xF4, 0x57, 0x01, 0x00, 0xB4}));
}

TEST(RequestText, CommasSeparateAndBlanksInsideTokensAreSkipped) {
    EXPECT_EQ(RequestTextToBytes("$f4,$57, $01"), (Bytes{0xF4, 0x57, 0x01}));
    EXPECT_EQ(RequestTextToBytes("$f 4 , 2 5"), (Bytes{0xF4, 25}));
    // With commas an empty token is the byte 0, also a trailing one.
    EXPECT_EQ(RequestTextToBytes("1,,2,"), (Bytes{1, 0, 2, 0}));
    EXPECT_EQ(RequestTextToBytes(","), (Bytes{0, 0}));
}

TEST(RequestText, SingleTokenAndEmptyText) {
    EXPECT_EQ(RequestTextToBytes("244"), (Bytes{0xF4}));
    EXPECT_EQ(RequestTextToBytes(""), Bytes{});
    EXPECT_EQ(RequestTextToBytes("   "), Bytes{});
}

TEST(RequestText, StrayBlanksNeverBecomeZeroBytes) {
    EXPECT_EQ(RequestTextToBytes(" $f4  $57 "), (Bytes{0xF4, 0x57}));
    EXPECT_EQ(RequestTextToBytes("$f4 $57 $01 $00 $b4 ").size(), 5u);
    EXPECT_EQ(RequestTextToBytes("\t1\t 2"), (Bytes{1, 2}));
}

TEST(RequestText, NumberConversionKeepsLowByteAndStopsAtJunk) {
    EXPECT_EQ(RequestTextToBytes("256"), (Bytes{0x00}));
    EXPECT_EQ(RequestTextToBytes("257 $1FF -1 +3"), (Bytes{0x01, 0xFF, 0xFF, 0x03}));
    EXPECT_EQ(RequestTextToBytes("12abc $4g x $ - -$10"), (Bytes{12, 4, 0, 0, 0, 0xF0}));
    EXPECT_EQ(RequestTextToBytes("99999999999999999999"), (Bytes{0xFF}));  // wraps, low byte only
    EXPECT_EQ(RequestTextToBytes("0x10"), (Bytes{0}));  // only "$" means hexadecimal
}

TEST(RequestText, DelayTokensAreNotRecognised) {
    EXPECT_EQ(RequestTextToBytes("$f4 (D110) $56"), (Bytes{0xF4, 0x00, 0x56}));
}

TEST(RequestText, LongRequestsAreTruncatedAndSaySo) {
    std::string text;
    for (int i = 0; i < kMaxRequestBytes + 3; ++i) {
        text += std::to_string(i) + " ";
    }
    bool truncated = false;
    const Bytes bytes = RequestTextToBytes(text, &truncated);
    EXPECT_TRUE(truncated);
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(kMaxRequestBytes));
    EXPECT_EQ(bytes.back(), kMaxRequestBytes - 1);

    RequestTextToBytes("1 2 3", &truncated);
    EXPECT_FALSE(truncated);
}

TEST(RequestText, DataOffsetCountsTheEchoOnlyWhenEchoed) {
    EXPECT_EQ(ComputeDataOffset(5, 3, true), 8);
    EXPECT_EQ(ComputeDataOffset(5, 3, false), 3);
    EXPECT_EQ(ComputeDataOffset(0, 0, true), 0);
}

TEST(CommandPlan, DelayRoundsDownToWholeTicks) {
    const CommandPlan plan = ParseCommand("$f4 (D110) $56");
    EXPECT_EQ(plan.steps, (std::vector<CommandStep>{Send(0xF4), Wait(2), Send(0x56)}));
    EXPECT_FALSE(plan.error);
    EXPECT_EQ(ParseCommand("(d164)").steps, (std::vector<CommandStep>{Wait(2)}));
    EXPECT_EQ(ParseCommand("(D165)").steps, (std::vector<CommandStep>{Wait(3)}));
    // Less than one tick, or negative, waits nothing.
    EXPECT_TRUE(ParseCommand("(D54) (D-100)").steps.empty());
}

TEST(CommandPlan, CommaTextWithDelays) {
    EXPECT_EQ(ParseCommand("1, ( D 55 ),2").steps,
              (std::vector<CommandStep>{Send(1), Wait(1), Send(2)}));
    EXPECT_EQ(ParseCommand("1,,2").steps, (std::vector<CommandStep>{Send(1), Send(0), Send(2)}));
}

TEST(CommandPlan, TotalDelayIsCappedAtTenSeconds) {
    const int maxTicks = kMaxCommandDelayMs / kTickMs;
    CommandPlan plan = ParseCommand("1 (D99999999) 2");
    EXPECT_EQ(plan.steps, (std::vector<CommandStep>{Send(1), Wait(maxTicks), Send(2)}));
    EXPECT_TRUE(plan.delayCapped);

    plan = ParseCommand("(D6000) 7 (D6000) 8 (D6000)");
    int total = 0;
    for (const auto& step : plan.steps) {
        total += step.ticks;
    }
    EXPECT_EQ(total, maxTicks);
    EXPECT_TRUE(plan.delayCapped);
    // Bytes after the capped delays are all still sent.
    EXPECT_EQ(plan.steps.back(), Send(8));

    EXPECT_FALSE(ParseCommand("(D9955)").delayCapped);
}

TEST(CommandPlan, BracketTokensThatAreNotDelaysAreSkipped) {
    EXPECT_EQ(ParseCommand("1 (X5) ( (  2").steps, (std::vector<CommandStep>{Send(1), Send(2)}));
    EXPECT_EQ(ParseCommand("(").steps, std::vector<CommandStep>{});
}

TEST(CommandPlan, BadDelayDigitsStopTheCommandWithTheConversionMessage) {
    CommandPlan plan = ParseCommand("$f4 (D1x0) $56");
    EXPECT_EQ(plan.steps, (std::vector<CommandStep>{Send(0xF4)}));
    ASSERT_TRUE(plan.error);
    EXPECT_EQ(*plan.error, "'1x0' is not a valid integer value");

    plan = ParseCommand("(D) 1");
    EXPECT_TRUE(plan.steps.empty());
    EXPECT_EQ(plan.error, "'' is not a valid integer value");

    // Beyond a 32-bit integer is not a valid integer either.
    EXPECT_TRUE(ParseCommand("(D99999999999)").error);
    // Hexadecimal digits are a valid integer, as in every integer field.
    EXPECT_EQ(ParseCommand("(D$6E)").steps, (std::vector<CommandStep>{Wait(2)}));
}

TEST(CommandPlan, SingleTokenAndBlankText) {
    EXPECT_EQ(ParseCommand("244").steps, (std::vector<CommandStep>{Send(0xF4)}));
    EXPECT_TRUE(ParseCommand("").steps.empty());
    EXPECT_TRUE(ParseCommand("    ").steps.empty());
    // A lone delay token waits; it is not sent as a 0 byte.
    EXPECT_EQ(ParseCommand("(D110)").steps, (std::vector<CommandStep>{Wait(2)}));
}

}  // namespace
}  // namespace vekaton
