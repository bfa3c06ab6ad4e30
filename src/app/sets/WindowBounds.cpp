#include "app/sets/WindowBounds.h"

#include <algorithm>
#include <limits>

namespace vekaton {

namespace {

// Enough of a window to grab its title bar and drag it further.
constexpr int kVisibleWidth = 100;
constexpr int kVisibleHeight = 50;

long long DistanceSquared(const QRect& a, const QRect& b) {
    const long long dx = std::max({0LL, static_cast<long long>(b.left()) - a.right(),
                                   static_cast<long long>(a.left()) - b.right()});
    const long long dy = std::max({0LL, static_cast<long long>(b.top()) - a.bottom(),
                                   static_cast<long long>(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

}  // namespace

QRect OnScreen(const QRect& bounds, const std::vector<QRect>& screens) {
    if (screens.empty()) {
        return bounds;
    }
    for (const QRect& screen : screens) {
        const QRect shown = screen.intersected(bounds);
        // The top edge must be on the screen too, or the window cannot be moved by hand.
        if (shown.width() >= std::min(kVisibleWidth, bounds.width()) &&
            shown.height() >= std::min(kVisibleHeight, bounds.height()) &&
            bounds.top() >= screen.top() && bounds.top() < screen.bottom()) {
            return bounds;
        }
    }
    const QRect* nearest = &screens.front();
    long long best = std::numeric_limits<long long>::max();
    for (const QRect& screen : screens) {
        const long long distance = DistanceSquared(bounds, screen);
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    QRect moved(bounds.topLeft(), QSize(std::min(bounds.width(), nearest->width()),
                                        std::min(bounds.height(), nearest->height())));
    moved.moveLeft(std::clamp(moved.left(), nearest->left(), nearest->right() - moved.width() + 1));
    moved.moveTop(std::clamp(moved.top(), nearest->top(), nearest->bottom() - moved.height() + 1));
    return moved;
}

}  // namespace vekaton
