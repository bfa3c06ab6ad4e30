#include "widgets/TLedBar.h"

#include "widgets/ScaleMath.h"
#include "widgets/StreamColour.h"

#include <QPainter>

#include <cmath>

namespace vekaton {

TLedBar::TLedBar(QWidget* parent) : InstrumentWidget(parent) {
    ResetToDefaults();
}

const PropertyTable& TLedBar::Properties() const {
    return PropertyList();
}

const PropertyTable& TLedBar::PropertyList() {
    static const PropertyTable table = [] {
        using B = TLedBar;
        constexpr double kLimit = 1e12;
        PropertyTable t;
        t.push_back(FloatProperty<B>("Minimum", 0.0, -kLimit, kLimit, &B::Minimum, &B::SetMinimum));
        t.push_back(
            FloatProperty<B>("Maximum", 100.0, -kLimit, kLimit, &B::Maximum, &B::SetMaximum));
        t.push_back(
            FloatProperty<B>("Position", 0.0, -kLimit, kLimit, &B::Position, &B::SetPosition));
        t.push_back(IntegerProperty<B>("Segments", 10, 1, 100, &B::Segments, &B::SetSegments));
        t.push_back(ChoiceProperty<B>("Orientation", {"orHorizontal", "orVertical"}, kHorizontal,
                                      &B::BarOrientation, &B::SetBarOrientation));
        t.push_back(ColourProperty<B>("Color", RgbColour(20, 20, 22), &B::Color, &B::SetColor));
        t.push_back(
            ColourProperty<B>("LowColor", RgbColour(0, 230, 60), &B::LowColor, &B::SetLowColor));
        t.push_back(
            ColourProperty<B>("MidColor", RgbColour(255, 200, 0), &B::MidColor, &B::SetMidColor));
        t.push_back(ColourProperty<B>("HighColor", RgbColour(255, 30, 20), &B::HighColor,
                                      &B::SetHighColor));
        t.push_back(
            IntegerProperty<B>("MidThreshold", 60, 0, 100, &B::MidThreshold, &B::SetMidThreshold));
        t.push_back(IntegerProperty<B>("HighThreshold", 85, 0, 100, &B::HighThreshold,
                                       &B::SetHighThreshold));
        return t;
    }();
    return table;
}

void TLedBar::SetPosition(double position) {
    if (std::isnan(position)) {
        return;
    }
    position = std::clamp(position, minimum_, maximum_);
    if (position != position_) {
        const int before = LitSegments();
        position_ = position;
        if (LitSegments() != before) {
            RequestRepaint();
        }
    }
}

void TLedBar::SetMinimum(double minimum) {
    if (std::isfinite(minimum) && minimum != minimum_) {
        minimum_ = minimum;
        maximum_ = std::max(maximum_, minimum_);
        position_ = std::clamp(position_, minimum_, maximum_);
        InvalidateStatic();
    }
}

void TLedBar::SetMaximum(double maximum) {
    if (std::isfinite(maximum) && maximum != maximum_) {
        maximum_ = maximum;
        minimum_ = std::min(minimum_, maximum_);
        position_ = std::clamp(position_, minimum_, maximum_);
        InvalidateStatic();
    }
}

int TLedBar::LitSegments() const {
    const double level = RangeFraction(position_, minimum_, maximum_) * segments_;
    return std::clamp(static_cast<int>(std::ceil(level - 1e-9)), 0, segments_);
}

QColor TLedBar::SegmentColour(int index) const {
    // A segment takes the colour of the zone its upper edge lies in.
    const double top = 100.0 * (index + 1) / segments_;
    if (WarningShown()) {
        return WarningColour();
    }
    if (top > highThreshold_) {
        return Shade(highColour_, ColourRole::Signal);
    }
    if (top > midThreshold_) {
        return Shade(midColour_, ColourRole::Signal);
    }
    return Shade(lowColour_, ColourRole::Signal);
}

QSize TLedBar::sizeHint() const {
    return orientation_ == kHorizontal ? QSize(160, 22) : QSize(22, 160);
}

QSize TLedBar::minimumSizeHint() const {
    const int length = segments_ * 3 + 4;
    return orientation_ == kHorizontal ? QSize(length, 6) : QSize(6, length);
}

QRectF TLedBar::SegmentRect(const QRectF& bounds, int index) const {
    const double pad = std::max(1.5, std::min(bounds.width(), bounds.height()) * 0.14);
    const QRectF area = bounds.adjusted(pad, pad, -pad, -pad);
    const bool horizontal = orientation_ == kHorizontal;
    const double length = horizontal ? area.width() : area.height();
    const double pitch = length / segments_;
    const double gap = std::clamp(pitch * 0.18, 1.0, 4.0);
    if (horizontal) {
        return {area.left() + index * pitch + gap / 2, area.top(), pitch - gap, area.height()};
    }
    // Vertical bars fill from the bottom up.
    return {area.left(), area.bottom() - (index + 1) * pitch + gap / 2, area.width(), pitch - gap};
}

void TLedBar::PaintStatic(QPainter& painter, const QRectF& bounds) {
    const QColor background = Shade(Color(), ColourRole::Face);
    const double corner = std::min(bounds.width(), bounds.height()) * 0.15;
    painter.setPen(QPen(background.lighter(180), 1.0));
    painter.setBrush(background);
    painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), corner, corner);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < segments_; ++i) {
        painter.setBrush(DimmedColour(SegmentColour(i), background, 0.18));
        const QRectF box = SegmentRect(bounds, i);
        const double r = std::min(box.width(), box.height()) * 0.15;
        painter.drawRoundedRect(box, r, r);
    }
}

void TLedBar::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const int lit = LitSegments();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < lit; ++i) {
        const QRectF box = SegmentRect(bounds, i);
        const QColor colour = SegmentColour(i);
        QLinearGradient shine(box.topLeft(),
                              orientation_ == kHorizontal ? box.bottomLeft() : box.topRight());
        shine.setColorAt(0.0, colour.lighter(145));
        shine.setColorAt(0.5, colour);
        shine.setColorAt(1.0, colour.darker(125));
        painter.setBrush(shine);
        const double r = std::min(box.width(), box.height()) * 0.15;
        painter.drawRoundedRect(box, r, r);
    }
}

}  // namespace vekaton
