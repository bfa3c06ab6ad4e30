#pragma once

#include <span>

namespace vekaton {

// A rectangle in page or screen pixels.
struct PageRect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;

    double Right() const { return x + width; }
    double Bottom() const { return y + height; }
    bool Empty() const { return !(width > 0.0) || !(height > 0.0); }
    bool operator==(const PageRect&) const = default;
};

// How a dashboard page is drawn to fill a view: the items' bounding box plus a margin, scaled
// with its proportions kept, the unused room shared equally on both sides. Saved layouts keep
// the page coordinates; only the drawing is scaled.
struct PageFit {
    double scale = 1.0;
    double offsetX = 0.0;  // screen = page * scale + offset
    double offsetY = 0.0;
    PageRect shown;  // the page area that fills the view

    PageRect ToScreen(const PageRect& page) const;
    PageRect ToPage(const PageRect& screen) const;
    double ScreenX(double pageX) const { return pageX * scale + offsetX; }
    double ScreenY(double pageY) const { return pageY * scale + offsetY; }
    double PageX(double screenX) const { return (screenX - offsetX) / scale; }
    double PageY(double screenY) const { return (screenY - offsetY) / scale; }
};

// The margin around the items, in page pixels.
inline constexpr double kPageFitMargin = 8.0;

// The fit of items (page coordinates) into a view of the given size. No items, or a view with
// no room, gives the page as it is (scale 1, no offset).
PageFit FitPage(std::span<const PageRect> items, double viewWidth, double viewHeight,
                double margin = kPageFitMargin);

}  // namespace vekaton
