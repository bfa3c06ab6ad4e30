#include "widgets/LedWidget.h"

#include "widgets/StreamColour.h"

namespace vekaton {

LedWidget::LedWidget(QWidget* parent) : InstrumentWidget(parent) {}

void LedWidget::SetActive(bool active) {
    if (active != active_) {
        active_ = active;
        RequestRepaint();
    }
}

void LedWidget::SetActiveColor(ColourValue colour) {
    if (colour != activeColour_) {
        activeColour_ = colour;
        RequestRepaint();
    }
}

void LedWidget::SetInactiveColor(ColourValue colour) {
    if (colour != inactiveColour_) {
        inactiveColour_ = colour;
        RequestRepaint();
    }
}

void LedWidget::SetAutoInactiveColor(bool on) {
    if (on != autoInactiveColour_) {
        autoInactiveColour_ = on;
        RequestRepaint();
    }
}

QColor LedWidget::LensColour() const {
    if (active_) {
        return ColourOf(activeColour_);
    }
    if (autoInactiveColour_) {
        return DimmedColour(ColourOf(activeColour_), QColor(0, 0, 0), 0.3);
    }
    return ColourOf(inactiveColour_);
}

QGradientStops LedWidget::LensStops(const QColor& colour) const {
    if (active_) {
        return {{0.0, QColor(255, 255, 255)},
                {0.18, colour.lighter(150)},
                {0.65, colour},
                {1.0, colour.darker(160)}};
    }
    return {{0.0, colour.lighter(180)}, {0.5, colour}, {1.0, colour.darker(190)}};
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
