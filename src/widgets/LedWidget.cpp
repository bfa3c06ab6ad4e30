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
    if (active) {
        return ColourOf(activeColour_);
    }
    if (autoInactiveColour_) {
        return DimmedColour(ColourOf(activeColour_), QColor(0, 0, 0), 0.3);
    }
    return ColourOf(inactiveColour_);
}

QGradientStops LedWidget::LensStops(const QColor& colour, bool active) {
    if (active) {
        return {{0.0, QColor(255, 255, 255)},
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
    painter.drawPixmap(QPointF(0, 0), active_ ? litLens_ : darkLens_);
}

QLinearGradient LedWidget::BevelGradient(const QRectF& box) const {
    QLinearGradient gradient(box.topLeft(), box.bottomRight());
    const QColor light(235, 235, 238);
    const QColor dark(55, 55, 60);
    gradient.setColorAt(0.0, bevel_ == kBevelRaised ? light : dark);
    gradient.setColorAt(1.0, bevel_ == kBevelRaised ? dark : light);
    return gradient;
}

}  // namespace vekaton
