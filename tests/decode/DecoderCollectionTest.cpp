#include <gtest/gtest.h>

#include "DecoderTestSupport.h"

namespace vekaton {
namespace {

using testing::DecoderRig;

TEST(DecoderBytes, EchoHeaderAndPositionsPastTheTableChangeNothing) {
    DecoderRig rig;
    rig.Define(1, "A*2", 2);
    rig.decoder.StartFrame();
    for (const int position : {0, -1, -84, 501, 100000}) {
        rig.decoder.DecodeByte(position, 0x55);
    }
    EXPECT_EQ(rig.decoder.CollectIndex(), 1);
    EXPECT_EQ(rig.decoder.ExpectedCount(), 0);
    EXPECT_EQ(rig.decoder.ValueWidth(), 0);
    for (int position = 1; position <= 500; ++position) {
        ASSERT_EQ(rig.table.At(position).RawByte, 0) << position;
        ASSERT_EQ(rig.table.At(position).Value, 0.0) << position;
    }
}

TEST(DecoderBytes, SingleBytePositionsEvaluateTheirFormulaOrShowTheRawByte) {
    DecoderRig rig;
    rig.Define(1, "A*1");
    rig.Define(2, "A/2-40");
    rig.Define(3, "");
    rig.Frame({200, 100, 77});
    EXPECT_EQ(rig.ValueAt(1), 200.0);
    EXPECT_EQ(rig.ValueAt(2), 10.0);
    EXPECT_EQ(rig.ValueAt(3), 77.0);
    EXPECT_EQ(rig.table.At(2).RawByte, 100);
    EXPECT_EQ(rig.decoder.CollectIndex(), 1);
    EXPECT_TRUE(rig.messages.empty());
}

TEST(DecoderBytes, TwoByteValueIsShownAtItsLastByteOnly) {
    DecoderRig rig;
    rig.Define(10, "A*256+B", 2);
    rig.Define(11, "");
    rig.decoder.StartFrame();
    rig.decoder.DecodeByte(10, 0x12);
    EXPECT_EQ(rig.ValueAt(10), 18.0);
    EXPECT_EQ(rig.decoder.ExpectedCount(), 2);
    EXPECT_EQ(rig.decoder.CollectIndex(), 2);
    rig.decoder.DecodeByte(11, 0x34);
    EXPECT_EQ(rig.ValueAt(10), 18.0);
    EXPECT_EQ(rig.ValueAt(11), 4660.0);
    EXPECT_EQ(rig.decoder.CollectIndex(), 1);
    EXPECT_EQ(rig.decoder.ExpectedCount(), 1);
    EXPECT_EQ(rig.decoder.ValueWidth(), 2);
    EXPECT_EQ(rig.decoder.PendingFormula(), "A*256+B");
}

TEST(DecoderBytes, PrefixesReadTheWidthOfTheLastMultiByteValue) {
    DecoderRig rig;
    rig.Define(1, "[UINTEGER]A", 2);
    rig.Define(3, "[INTEGER]A", 2);
    rig.Define(5, "[INTEGER]A", 4);
    rig.Define(9, "[UINTEGER]A");
    rig.Frame({0x12, 0x34, 0x01, 0x00, 0x00, 0x01, 0x00, 0x02, 0x07});
    EXPECT_EQ(rig.ValueAt(2), 4660.0);
    EXPECT_EQ(rig.ValueAt(4), 256.0);
    EXPECT_EQ(rig.ValueAt(8), 65538.0);
    // A single-byte position after a four-byte value still gets the width-4 prefix on A to D.
    EXPECT_EQ(rig.decoder.ValueWidth(), 4);
    EXPECT_EQ(rig.ValueAt(9), 0x07010002);  // bytes 7, 1, 0, 2
}

TEST(DecoderBytes, SingleByteFormulaSeesTheBytesTheLastValueLeft) {
    DecoderRig rig;
    rig.Define(1, "E", 1);
    rig.Define(2, "A*256+B", 2);
    rig.Define(4, "B*1000+A", 1);
    rig.Frame({9, 0x12, 0x34, 5});
    EXPECT_EQ(rig.ValueAt(1), 0.0);  // E is 0 until something is collected there
    EXPECT_EQ(rig.ValueAt(3), 4660.0);
    EXPECT_EQ(rig.ValueAt(4), 52.0 * 1000 + 5);
}

TEST(DecoderBytes, DigitalPositionSplitsBitsAndLeavesCollectionAlone) {
    DecoderRig rig;
    rig.Define(10, "A*256+B", 2);
    ParameterRecord& flags = rig.Define(11, "A*100");
    flags.IsDigital = true;
    rig.Define(12, "A+1");
    rig.decoder.StartFrame();
    rig.decoder.DecodeByte(10, 0x01);
    rig.decoder.DecodeByte(11, 0xA5);
    EXPECT_EQ(rig.ValueAt(11), 165.0);  // formula ignored
    EXPECT_EQ(rig.table.At(11).Bits,
              (std::array<bool, 8>{true, false, true, false, false, true, false, true}));
    EXPECT_EQ(rig.decoder.CollectIndex(), 2);
    EXPECT_EQ(rig.decoder.ExpectedCount(), 2);
    // The value completes at the next analog position, with that position's byte as B.
    rig.decoder.DecodeByte(12, 0x02);
    EXPECT_EQ(rig.ValueAt(12), 258.0);
    rig.decoder.DecodeByte(11, 0x00);
    EXPECT_EQ(rig.table.At(11).Bits, (std::array<bool, 8>{}));
}

TEST(DecoderBytes, ValueRunningPastTheFrameCompletesFromTheNextFrame) {
    DecoderRig rig;
    rig.Define(1, "A+1000");
    rig.Define(2, "A+1000");
    rig.Define(3, "A+1000");
    rig.Define(4, "A*65536+B*256+C", 3);
    rig.Frame({1, 2, 3, 0x99});
    EXPECT_EQ(rig.ValueAt(3), 1003.0);
    EXPECT_EQ(rig.ValueAt(4), 0x99);
    EXPECT_EQ(rig.decoder.CollectIndex(), 2);

    rig.Frame({0x01, 0x02, 0x03, 0x99});
    EXPECT_EQ(rig.ValueAt(1), 1.0);  // raw: collection is under way
    EXPECT_EQ(rig.ValueAt(2), 2.0);
    EXPECT_EQ(rig.ValueAt(3), 0x010203);  // the pending formula, not position 3's own
    EXPECT_EQ(rig.ValueAt(4), 0x99);
}

TEST(DecoderBytes, LongValuesNeverCollectPastTheArray) {
    DecoderRig rig;
    rig.Define(1, "A+B+C+D+E", 25);
    std::vector<int> bytes;
    for (int i = 1; i <= 25; ++i) {
        bytes.push_back(i);
    }
    rig.Frame(bytes);
    EXPECT_EQ(rig.ValueAt(24), 24.0);
    EXPECT_EQ(rig.ValueAt(25), 1.0 + 2 + 3 + 4 + 5);
    EXPECT_EQ(rig.decoder.CollectIndex(), 1);

    // Counts from a damaged file: huge, zero and negative, over a full table of bytes.
    DecoderRig odd;
    odd.Define(1, "A", 2147483647);
    odd.Define(7, "A", 500);
    odd.Define(8, "A*2", 0);
    odd.Define(9, "A*2", -5);
    for (int frame = 0; frame < 3; ++frame) {
        odd.decoder.StartFrame();
        for (int position = 1; position <= 500; ++position) {
            odd.decoder.DecodeByte(position, static_cast<std::uint8_t>(position));
        }
    }
    // Position 7's count of 500 ends at position 500, with position 1's byte as A.
    EXPECT_EQ(odd.decoder.ExpectedCount(), 1);
    EXPECT_EQ(odd.ValueAt(500), 1.0);
    // Without frame starts the index keeps counting but nothing is written out of bounds.
    for (int i = 0; i < 2000; ++i) {
        odd.decoder.DecodeByte(1, 1);
    }
    EXPECT_EQ(odd.decoder.ExpectedCount(), 2147483647);
    EXPECT_EQ(odd.decoder.CollectIndex(), 2001);
}

TEST(DecoderBytes, FormulaFaultsAreReportedOnceAndKeepASafeValue) {
    DecoderRig rig;
    rig.Define(1, "A+*");
    rig.Define(2, "1/(A-A)");
    for (int frame = 0; frame < 3; ++frame) {
        rig.Frame({7, 9});
    }
    EXPECT_EQ(rig.ValueAt(1), 0.0);
    EXPECT_EQ(rig.ValueAt(2), 9.0);  // the raw byte, for the raw column only
    EXPECT_TRUE(rig.table.At(1).HasValue);
    EXPECT_FALSE(rig.table.At(2).HasValue);
    ASSERT_EQ(rig.messages.size(), 2u);
    EXPECT_EQ(rig.messages[0], "Bad Parser");
    EXPECT_EQ(rig.messages[1].rfind("Parsing Error", 0), 0u) << rig.messages[1];

    // An edited formula is prepared again and may report again.
    rig.table.At(1).SetFormula("A+*");
    rig.Frame({7, 9});
    EXPECT_EQ(rig.messages.size(), 3u);
    rig.table.At(1).SetFormula("A-1");
    rig.Frame({7, 9});
    EXPECT_EQ(rig.ValueAt(1), 6.0);
}

TEST(DecoderBytes, AValueIsMissingOnlyWhileItsFormulaFaultsForTheBytesReceived) {
    DecoderRig rig;
    rig.Define(1, "983040/(A*256+B)", 2);  // shown at position 2
    rig.Define(3, "A*2");
    rig.Frame({0, 0, 5});
    EXPECT_TRUE(rig.table.At(1).HasValue);  // the first byte shows itself, as always
    EXPECT_FALSE(rig.table.At(2).HasValue);
    EXPECT_EQ(rig.ValueAt(2), 0.0);
    EXPECT_FALSE(rig.decoder.HasPlotValue(1));
    EXPECT_TRUE(rig.decoder.HasPlotValue(3));
    rig.decoder.SetRawMode(true);
    EXPECT_TRUE(rig.decoder.HasPlotValue(1));  // raw bytes are always a value
    rig.decoder.SetRawMode(false);

    rig.Frame({0x10, 0x00, 5});
    EXPECT_TRUE(rig.table.At(2).HasValue);
    EXPECT_EQ(rig.ValueAt(2), 240.0);
    EXPECT_TRUE(rig.decoder.HasPlotValue(1));
    ASSERT_EQ(rig.fullMessages.size(), 1u);  // reported once, at the first fault
    EXPECT_NE(rig.fullMessages[0].details.find("shows no value"), std::string::npos);

    rig.table.At(2).HasValue = false;
    rig.table.Reset();
    EXPECT_TRUE(rig.table.At(2).HasValue);
}

TEST(DecoderBytes, FaultMessagesSayWhichDefinitionIsWrongAndWhy) {
    DecoderRig rig;
    rig.Define(1, "A*0.75-").Descriptions[0] = "Coolant";
    rig.Define(2, "A*256/(B-B)", 2).Descriptions[0] = "Engine speed";
    rig.Define(4, "SQRT(A-10)");
    rig.Frame({7, 1, 2, 3});
    ASSERT_EQ(rig.fullMessages.size(), 3u);

    const DecoderMessage& bad = rig.fullMessages[0];
    EXPECT_EQ(bad.text, "Bad Parser");  // the box's own text stays as it always was
    EXPECT_NE(bad.informative.find("position 1 (Coolant)"), std::string::npos) << bad.informative;
    EXPECT_NE(bad.details.find("Position: 1"), std::string::npos) << bad.details;
    EXPECT_NE(bad.details.find("Description: Coolant"), std::string::npos) << bad.details;
    EXPECT_NE(bad.details.find("Formula: A*0.75-"), std::string::npos) << bad.details;
    EXPECT_NE(bad.details.find("ESyntaxError: Error parsing expression:"), std::string::npos)
        << bad.details;
    EXPECT_EQ(bad.details.find('\r'), std::string::npos) << "builder line breaks become \\n";

    // A two-byte value is evaluated at its last byte but defined at its first.
    const DecoderMessage& divided = rig.fullMessages[1];
    EXPECT_EQ(divided.text, "Parsing Error - \"A*256/(B-B)\", A=1, B=2");
    EXPECT_EQ(divided.informative, "Cause: division by zero.");
    EXPECT_NE(divided.details.find("Position: 2\nDescription: Engine speed\nFormula: A*256/(B-B)"),
              std::string::npos)
        << divided.details;

    EXPECT_EQ(rig.fullMessages[2].informative, "Cause: square root of a negative number.");
    EXPECT_NE(rig.fullMessages[2].details.find("Description: \n"), std::string::npos);
}

TEST(DecoderBytes, RawModeRunsNoFormulaAndSwitchingBackRecomputesNothing) {
    DecoderRig rig;
    rig.Define(1, "A*10");
    rig.Define(2, "A*256+B", 2);
    rig.decoder.SetRawMode(true);
    rig.Frame({5, 1, 2});
    EXPECT_EQ(rig.ValueAt(1), 5.0);
    EXPECT_EQ(rig.ValueAt(3), 2.0);
    EXPECT_EQ(rig.decoder.CollectIndex(), 1);  // collection still runs
    rig.decoder.SetRawMode(false);
    EXPECT_EQ(rig.ValueAt(1), 5.0);
    rig.Frame({5, 1, 2});
    EXPECT_EQ(rig.ValueAt(1), 50.0);
    EXPECT_EQ(rig.ValueAt(3), 258.0);
}

}  // namespace
}  // namespace vekaton
