#include "widgets/TLedRound.h"

#include <QPainter>

namespace vekaton {
namespace {

struct Circle {
    QPointF centre;
    double radius;
};

Circle OuterCircle(const QRectF& bounds) {
    return {bounds.center(), std::max(1.0, std::min(bounds.width(), bounds.height()) / 2.0 - 0.5)};
}

}  // namespace

TLedRound::TLedRound(QWidget* parent) : LedWidget(parent) {
    ResetToDefaults();
}

const PropertyTable& TLedRound::Properties() const {
    return PropertyList();
}

const PropertyTable& TLedRound::PropertyList() {
    static const PropertyTable table = [] {
        PropertyTable t;
        AppendLedProperties<TLedRound>(t);
        return t;
    }();
    return table;
}

void TLedRound::PaintBevel(QPainter& painter, const QRectF& bounds) {
    const Circle outer = OuterCircle(bounds);
    if (BevelStyle() == kBevelNone) {
        return;
    }
    const QRectF box(outer.centre.x() - outer.radius, outer.centre.y() - outer.radius,
                     2 * outer.radius, 2 * outer.radius);
    painter.setPen(
        QPen(Shade(QColor(40, 40, 44), ColourRole::Metal), std::max(0.5, outer.radius * 0.06)));
    painter.setBrush(BevelGradient(box));
    painter.drawEllipse(outer.centre, outer.radius, outer.radius);
}

void TLedRound::PaintLens(QPainter& painter, const QRectF& bounds, bool active) {
    const Circle outer = OuterCircle(bounds);
    const double ring = BevelStyle() == kBevelNone ? 0.0 : std::max(1.0, outer.radius * 0.2);
    const double radius = outer.radius - ring;
    const QColor colour = LensColour(active);
    QRadialGradient lens(outer.centre, radius, outer.centre - QPointF(radius * 0.35, radius * 0.4));
    lens.setStops(LensStops(colour, active));
    // A dark rim, then the lens inside it: two fills are cheaper than an outline.
    const double rim = std::max(0.4, radius * 0.06);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour.darker(250));
    painter.drawEllipse(outer.centre, radius, radius);
    painter.setBrush(lens);
    painter.drawEllipse(outer.centre, radius - rim, radius - rim);
    // A small reflection of the room's light on the dome.
    if (radius >= 3.0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Shade(QColor(255, 255, 255, active ? 150 : 70), ColourRole::Glare));
        painter.drawEllipse(outer.centre - QPointF(radius * 0.3, radius * 0.38), radius * 0.34,
                            radius * 0.22);
    }
}

}  // namespace vekaton
