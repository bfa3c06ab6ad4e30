// A page drawn to fill the window: its items plus a margin, proportions kept, the unused room
// shared on both sides, and page and screen points mapped both ways.
#include <gtest/gtest.h>

#include <vector>

#include "dashboard/PageFit.h"

namespace vekaton {
namespace {

// A page designed at 800x480 whose items reach to 8 pixels from each edge.
const std::vector<PageRect> kPage = {{8, 8, 300, 200}, {500, 100, 292, 372}, {8, 300, 100, 50}};

void ExpectRect(const PageRect& actual, const PageRect& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
    EXPECT_NEAR(actual.width, expected.width, 1e-9);
    EXPECT_NEAR(actual.height, expected.height, 1e-9);
}

TEST(PageFit, An800By480PageFillsAFullHdScreenEdgeToEdgeInHeight) {
    const PageFit fit = FitPage(kPage, 1920, 1080);
    ExpectRect(fit.shown, {0, 0, 800, 480});
    EXPECT_DOUBLE_EQ(fit.scale, 2.25);  // 1080 / 480; 1920 / 800 would overflow the height
    EXPECT_DOUBLE_EQ(fit.offsetX, 60);  // (1920 - 1800) / 2 on each side
    EXPECT_DOUBLE_EQ(fit.offsetY, 0);
    ExpectRect(fit.ToScreen({500, 100, 292, 372}), {1185, 225, 657, 837});
    // The outermost item ends a margin's width (8 x 2.25) from the bottom edge.
    EXPECT_DOUBLE_EQ(fit.ScreenY(472), 1062);
}

TEST(PageFit, TheSamePageOnASevenInchScreen) {
    const PageFit fit = FitPage(kPage, 1024, 600);
    EXPECT_DOUBLE_EQ(fit.scale, 1.25);
    EXPECT_DOUBLE_EQ(fit.offsetX, 12);
    EXPECT_DOUBLE_EQ(fit.offsetY, 0);
    ExpectRect(fit.ToScreen({8, 8, 300, 200}), {22, 10, 375, 250});
}

TEST(PageFit, ScreenPointsMapBackToThePageForDesignWork) {
    const PageFit fit = FitPage(kPage, 1366, 768);
    const PageRect item{500, 100, 292, 372};
    ExpectRect(fit.ToPage(fit.ToScreen(item)), item);
    EXPECT_NEAR(fit.PageX(fit.ScreenX(123.5)), 123.5, 1e-9);
    EXPECT_NEAR(fit.PageY(fit.ScreenY(-7)), -7, 1e-9);
}

TEST(PageFit, ItemsAwayFromTheOriginAreCentredAndTallPagesShareTheWidth) {
    // One item far from the top left: it is what fills the view, centred.
    const std::vector<PageRect> one = {{400, 300, 84, 84}};  // 100 x 100 with the margins
    const PageFit fit = FitPage(one, 1000, 500);
    EXPECT_DOUBLE_EQ(fit.scale, 5);
    ExpectRect(fit.ToScreen(one[0]), {290, 40, 420, 420});
    EXPECT_DOUBLE_EQ(fit.ScreenX(392), 250);  // the margin's left edge: (1000 - 500) / 2
}

TEST(PageFit, NothingToFitLeavesThePageAsItIs) {
    for (const PageFit& fit : {FitPage({}, 800, 600), FitPage(kPage, 0, 600),
                               FitPage(std::vector<PageRect>{{5, 5, 0, 10}}, 800, 600)}) {
        EXPECT_DOUBLE_EQ(fit.scale, 1);
        EXPECT_DOUBLE_EQ(fit.offsetX, 0);
        EXPECT_DOUBLE_EQ(fit.offsetY, 0);
    }
}

}  // namespace
}  // namespace vekaton
