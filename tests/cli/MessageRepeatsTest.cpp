// vekaton-cli's messages during a run: each printed once, repeats counted at the end, and only
// so many different ones printed at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/MessageRepeats.h"

namespace vekaton::cli {
namespace {

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(MessageRepeatsTest, AMessageRepeatedEveryFrameIsPrintedOnceAndCounted) {
    std::ostringstream err;
    MessageRepeats messages(err);
    for (int frame = 0; frame < 10000; ++frame) {
        messages.Show("Checksum error");
    }
    messages.Show("Port lost");
    EXPECT_EQ(err.str(), "vekaton-cli: Checksum error\nvekaton-cli: Port lost\n");
    messages.Summarize();
    EXPECT_NE(err.str().find("\"Checksum error\" came 9999 more times"), std::string::npos)
        << err.str();
    EXPECT_EQ(err.str().find("\"Port lost\" came"), std::string::npos) << "said once only";
}

TEST(MessageRepeatsTest, ThousandsOfDifferentMessagesPrintOnlyTheFirstFewAndACount) {
    std::ostringstream err;
    MessageRepeats messages(err);
    for (int i = 0; i < 5000; ++i) {
        messages.Show("Position " + std::to_string(i) + " failed");
    }
    EXPECT_EQ(Lines(err.str()), MessageRepeats::kMaxDistinct);
    messages.Summarize();
    EXPECT_NE(err.str().find(std::to_string(5000 - MessageRepeats::kMaxDistinct) +
                             " more messages were not printed"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(Lines(err.str()), MessageRepeats::kMaxDistinct + 1);
}

}  // namespace
}  // namespace vekaton::cli
