#include "widgets/TLedRectangle.h"

#include <QPainter>

namespace vekaton {

TLedRectangle::TLedRectangle(QWidget* parent) : LedWidget(parent) {
    ResetToDefaults();
}

const PropertyTable& TLedRectangle::Properties() const {
    return PropertyList();
}

const PropertyTable& TLedRectangle::PropertyList() {
    static const PropertyTable table = [] {
        PropertyTable t;
        AppendLedProperties<TLedRectangle>(t);
        return t;
    }();
    return table;
}

double TLedRectangle::Ring(const QRectF& bounds) const {
    return BevelStyle() == kBevelNone
               ? 0.0
               : std::max(1.0, std::min(bounds.width(), bounds.height()) * 0.14);
}

void TLedRectangle::PaintBevel(QPainter& painter, const QRectF& bounds) {
    if (BevelStyle() == kBevelNone) {
        return;
    }
    const QRectF box = bounds.adjusted(0.5, 0.5, -0.5, -0.5);
    const double corner = std::min(box.width(), box.height()) * 0.18;
    painter.setPen(QPen(Shade(QColor(40, 40, 44), ColourRole::Metal), 0.8));
    painter.setBrush(BevelGradient(box));
    painter.drawRoundedRect(box, corner, corner);
}

void TLedRectangle::PaintLens(QPainter& painter, const QRectF& bounds, bool active) {
    const double ring = Ring(bounds);
    const QRectF lens = bounds.adjusted(ring + 0.5, ring + 0.5, -ring - 0.5, -ring - 0.5);
    if (lens.width() <= 0 || lens.height() <= 0) {
        return;
    }
    const QColor colour = LensColour(active);
    QRadialGradient glow(lens.center(), std::max(lens.width(), lens.height()) * 0.75,
                         lens.center() - QPointF(0, lens.height() * 0.25));
    glow.setStops(LensStops(colour, active));
    const double corner = std::min(lens.width(), lens.height()) * 0.12;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour.darker(250));
    painter.drawRoundedRect(lens, corner, corner);
    painter.setBrush(glow);
    painter.drawRoundedRect(lens.adjusted(0.6, 0.6, -0.6, -0.6), corner, corner);
    if (lens.height() >= 5.0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Shade(QColor(255, 255, 255, active ? 110 : 50), ColourRole::Glare));
        painter.drawRoundedRect(
            QRectF(lens.left() + lens.width() * 0.08, lens.top() + lens.height() * 0.1,
                   lens.width() * 0.84, lens.height() * 0.3),
            corner, corner);
    }
}

}  // namespace vekaton
