#include "dashboard/PageFit.h"

#include <algorithm>
#include <cmath>

namespace vekaton {

PageRect PageFit::ToScreen(const PageRect& page) const {
    return {ScreenX(page.x), ScreenY(page.y), page.width * scale, page.height * scale};
}

PageRect PageFit::ToPage(const PageRect& screen) const {
    return {PageX(screen.x), PageY(screen.y), screen.width / scale, screen.height / scale};
}

PageFit FitPage(std::span<const PageRect> items, double viewWidth, double viewHeight,
                double margin) {
    PageFit fit;
    bool any = false;
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    for (const PageRect& item : items) {
        if (!std::isfinite(item.x) || !std::isfinite(item.y) || item.Empty() ||
            !std::isfinite(item.width) || !std::isfinite(item.height)) {
            continue;
        }
        left = any ? std::min(left, item.x) : item.x;
        top = any ? std::min(top, item.y) : item.y;
        right = any ? std::max(right, item.Right()) : item.Right();
        bottom = any ? std::max(bottom, item.Bottom()) : item.Bottom();
        any = true;
    }
    if (!any || !(viewWidth > 0.0) || !(viewHeight > 0.0) || !std::isfinite(viewWidth) ||
        !std::isfinite(viewHeight)) {
        return fit;
    }
    margin = std::isfinite(margin) ? std::max(0.0, margin) : 0.0;
    fit.shown = {left - margin, top - margin, right - left + 2 * margin, bottom - top + 2 * margin};
    fit.scale = std::min(viewWidth / fit.shown.width, viewHeight / fit.shown.height);
    fit.offsetX = (viewWidth - fit.shown.width * fit.scale) / 2.0 - fit.shown.x * fit.scale;
    fit.offsetY = (viewHeight - fit.shown.height * fit.scale) / 2.0 - fit.shown.y * fit.scale;
    return fit;
}

}  // namespace vekaton
