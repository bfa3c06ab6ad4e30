#include <gtest/gtest.h>

#include <algorithm>

#include "engine/HexTrace.h"

namespace vekaton {
namespace {

TEST(HexTraceTest, BytesAreUpperCaseHexWithALineBreakAfterEvery16) {
    HexTrace trace;
    trace.AppendByte(0x0A);
    trace.AppendByte(0xFF);
    EXPECT_EQ(trace.Text(), "0A, FF, ");
    EXPECT_EQ(trace.LineCount(), 1);
    for (int n = 2; n < 16; ++n) {
        trace.AppendByte(static_cast<std::uint8_t>(n));
    }
    EXPECT_EQ(trace.Text().back(), '\n');
    EXPECT_EQ(trace.LineCount(), 1);
    EXPECT_EQ(std::count(trace.Text().begin(), trace.Text().end(), ','), 16);
    trace.AppendByte(0x10);
    EXPECT_EQ(trace.LineCount(), 2);
}

TEST(HexTraceTest, ItClearsWhenA51stLineBegins) {
    HexTrace trace;
    for (int n = 0; n < 50 * 16; ++n) {
        trace.AppendByte(0x11);
    }
    EXPECT_EQ(trace.LineCount(), 50);
    EXPECT_EQ(trace.Text().size(), 50u * (16u * 4u + 1u));
    trace.AppendByte(0x22);
    EXPECT_EQ(trace.Text(), "");
    EXPECT_EQ(trace.LineCount(), 0);
    trace.AppendByte(0x33);
    EXPECT_EQ(trace.Text(), "33, ");
}

TEST(HexTraceTest, MarkersEndLinesLikeBytes) {
    HexTrace trace;
    for (int n = 0; n < 22; ++n) {
        trace.AppendMarker();
    }
    EXPECT_EQ(trace.LineCount(), 1);
    EXPECT_EQ(trace.Text().back(), '\n') << "22 markers fill a line of 64 characters";
    for (int n = 0; n < 100000; ++n) {
        trace.AppendMarker();
        ASSERT_LE(trace.LineCount(), HexTrace::kMaxLines);
    }
    EXPECT_LE(trace.Text().size(), HexTrace::kMaxLines * (HexTrace::kLineWidth + 3u));
}

TEST(HexTraceTest, UpdatesCarryOnlyWhatIsNew) {
    HexTrace trace;
    trace.AppendMarker();
    trace.AppendByte(0x01);
    TraceUpdate first = trace.TakeUpdate();
    EXPECT_FALSE(first.cleared);
    EXPECT_EQ(first.appended, " * 01, ");
    EXPECT_TRUE(trace.TakeUpdate().Empty());

    trace.AppendByte(0x02);
    trace.Clear();
    trace.AppendByte(0x03);
    TraceUpdate second = trace.TakeUpdate();
    EXPECT_TRUE(second.cleared);
    EXPECT_EQ(second.appended, "03, ");
    EXPECT_EQ(trace.Text(), "03, ");
}

TEST(HexTraceTest, AViewFollowingTheUpdatesHoldsTheSameText) {
    HexTrace trace;
    std::string view;
    for (int n = 0; n < 5000; ++n) {
        if (n % 37 == 0) {
            trace.AppendMarker();
        }
        trace.AppendByte(static_cast<std::uint8_t>(n * 7));
        if (n % 11 == 0) {
            TraceUpdate update = trace.TakeUpdate();
            if (update.cleared) {
                view.clear();
            }
            view += update.appended;
            ASSERT_EQ(view, trace.Text());
            ASSERT_LE(trace.LineCount(), HexTrace::kMaxLines);
        }
    }
}

}  // namespace
}  // namespace vekaton
