#include "widgets/LedWidget.h"

#include "widgets/StreamColour.h"

#include <QPainter>

namespace vekaton {

LedWidget::LedWidget(QWidget* parent) : InstrumentWidget(parent) {}

void LedWidget::SetActive(bool active) {
    if (active != active_) {
        active_ = active;
        RequestRepaint();
    }
}

void LedWidget::SetActiveColor(ColourValue colour) {
    SetAppearance(activeColour_, colour);
}

void LedWidget::SetInactiveColor(ColourValue colour) {
    SetAppearance(inactiveColour_, colour);
}

void LedWidget::SetAutoInactiveColor(bool on) {
    SetAppearance(autoInactiveColour_, on);
}

QColor LedWidget::LensColour(bool active) const {
    const QColor lit = WarningShown() ? WarningColour() : Shade(activeColour_, ColourRole::Signal);
    if (active) {
        return lit;
    }
    if (autoInactiveColour_) {
        return DimmedColour(lit, QColor(0, 0, 0), 0.3);
    }
    return Shade(inactiveColour_, ColourRole::Signal);
}

QGradientStops LedWidget::LensStops(const QColor& colour, bool active) const {
    if (active) {
        // The hot spot of a lit lens is white by day; at night it only glows.
        return {{0.0, Night().on ? colour.lighter(130) : QColor(255, 255, 255)},
                {0.18, colour.lighter(150)},
                {0.65, colour},
                {1.0, colour.darker(160)}};
    }
    return {{0.0, colour.lighter(180)}, {0.5, colour}, {1.0, colour.darker(190)}};
}

void LedWidget::PaintStatic(QPainter& painter, const QRectF& bounds) {
    PaintBevel(painter, bounds);
    const QPaintDevice* device = painter.device();
    const qreal ratio = device != nullptr ? device->devicePixelRatioF() : 1.0;
    for (const bool active : {false, true}) {
        QPixmap lens(device != nullptr ? QSize(device->width(), device->height())
                                       : bounds.size().toSize());
        lens.setDevicePixelRatio(ratio);
        lens.fill(Qt::transparent);
        QPainter lensPainter(&lens);
        lensPainter.setRenderHints(QPainter::Antialiasing);
        PaintLens(lensPainter, bounds, active);
        lensPainter.end();
        (active ? litLens_ : darkLens_) = lens;
    }
}

void LedWidget::PaintDynamic(QPainter& painter, const QRectF& /*bounds*/) {
    painter.drawPixmap(QPointF(0, 0), active_ || WarningShown() ? litLens_ : darkLens_);
}

QLinearGradient LedWidget::BevelGradient(const QRectF& box) const {
    QLinearGradient gradient(box.topLeft(), box.bottomRight());
    const QColor light = Shade(QColor(235, 235, 238), ColourRole::Metal);
    const QColor dark = Shade(QColor(55, 55, 60), ColourRole::Metal);
    gradient.setColorAt(0.0, bevel_ == kBevelRaised ? light : dark);
    gradient.setColorAt(1.0, bevel_ == kBevelRaised ? dark : light);
    return gradient;
}

}  // namespace vekaton
