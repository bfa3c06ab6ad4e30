#pragma once

#include <QRect>
#include <vector>

namespace vekaton {

// Window bounds saved on another machine or with another monitor can lie off every screen
// there is now. Bounds that show enough of themselves on a screen are kept; others are moved
// (and shrunk if needed) onto the screen nearest to them. No screens: kept as they are.
QRect OnScreen(const QRect& bounds, const std::vector<QRect>& screens);

}  // namespace vekaton
