// A page drawn to fill the window: its items plus a margin, proportions kept, the unused room
// shared on both sides, and page and screen points mapped both ways.
#include <gtest/gtest.h>

#include <vector>

#include "dashboard/PageFit.h"

namespace vekaton {
namespace {

void ExpectRect(const PageRect& actual, const PageRect& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
    EXPECT_NEAR(actual.width, expected.width, 1e-9);
    EXPECT_NEAR(actual.height, expected.height, 1e-9);
}

TEST(PageFit, ItemsAwayFromTheOriginFillTheViewCentredAndMapBack) {
    // One item far from the top left: it is what fills the view, centred.
    const std::vector<PageRect> one = {{400, 300, 84, 84}};  // 100 x 100 with the margins
    const PageFit fit = FitPage(one, 1000, 500);
    EXPECT_DOUBLE_EQ(fit.scale, 5);
    ExpectRect(fit.ToScreen(one[0]), {290, 40, 420, 420});
    EXPECT_DOUBLE_EQ(fit.ScreenX(392), 250);  // the margin's left edge: (1000 - 500) / 2
    const PageRect back = fit.ToPage(fit.ToScreen(one[0]));
    EXPECT_NEAR(back.x, 400, 1e-9);
    EXPECT_NEAR(back.height, 84, 1e-9);
}

TEST(PageFit, NothingToFitLeavesThePageAsItIs) {
    const std::vector<PageRect> page = {{8, 8, 300, 200}};
    for (const PageFit& fit : {FitPage({}, 800, 600), FitPage(page, 0, 600),
                               FitPage(std::vector<PageRect>{{5, 5, 0, 10}}, 800, 600)}) {
        EXPECT_DOUBLE_EQ(fit.scale, 1);
        EXPECT_DOUBLE_EQ(fit.offsetX, 0);
        EXPECT_DOUBLE_EQ(fit.offsetY, 0);
    }
}

}  // namespace
}  // namespace vekaton
