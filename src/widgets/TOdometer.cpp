#include "widgets/TOdometer.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace vekaton {

std::vector<OdometerWheel> OdometerWheels(double value, int digits, int decimals) {
    digits = std::clamp(digits, 1, 15);
    decimals = std::clamp(decimals, 0, digits - 1);
    std::vector<OdometerWheel> wheels(static_cast<size_t>(digits));
    if (!std::isfinite(value)) {
        return wheels;
    }
    // Only the digits the wheels can show matter; keeping the value small keeps the
    // fractions exact for long counts.
    const double modulus = std::pow(10.0, digits);
    double scaled = std::fmod(value * std::pow(10.0, decimals), modulus);
    if (scaled < 0) {
        scaled += modulus;
    }
    double carry = scaled - std::floor(scaled);  // how far the last wheel has turned
    for (int i = 0; i < digits; ++i) {
        const double whole = std::floor(scaled / std::pow(10.0, i));
        const int digit = static_cast<int>(whole - 10.0 * std::floor(whole / 10.0));
        OdometerWheel& wheel = wheels[static_cast<size_t>(digits - 1 - i)];
        wheel.digit = digit;
        wheel.roll = carry;
        if (digit != 9) {
            carry = 0.0;  // wheels further left stand still
        }
    }
    return wheels;
}

TOdometer::TOdometer(QWidget* parent) : InstrumentWidget(parent) {
    ResetToDefaults();
}

const PropertyTable& TOdometer::Properties() const {
    return PropertyList();
}

const PropertyTable& TOdometer::PropertyList() {
    static const PropertyTable table = [] {
        using O = TOdometer;
        PropertyTable t;
        t.push_back(IntegerProperty<O>("Digits", 6, 1, 15, &O::Digits, &O::SetDigits));
        t.push_back(IntegerProperty<O>("Decimals", 1, 0, 14, &O::Decimals, &O::SetDecimals));
        t.push_back(FloatProperty<O>("Value", 0.0, -1e15, 1e15, &O::Value, &O::SetValue));
        t.push_back(ColourProperty<O>("Color", RgbColour(22, 22, 24), &O::Color, &O::SetColor));
        t.push_back(ColourProperty<O>("DecimalColor", RgbColour(235, 235, 235), &O::DecimalColor,
                                      &O::SetDecimalColor));
        AppendFontProperties(
            t, FontDefaults{QStringLiteral("Sans Serif"), 0, RgbColour(245, 245, 245), kFontBold});
        return t;
    }();
    return table;
}

void TOdometer::SetValue(double value) {
    if (!std::isfinite(value) || value == value_) {
        return;
    }
    value_ = value;
    RequestRepaint();
}

void TOdometer::SetDigits(int digits) {
    SetAppearance(digits_, std::clamp(digits, 1, 15));
    SetDecimals(decimals_);
}

void TOdometer::SetDecimals(int decimals) {
    SetAppearance(decimals_, std::clamp(decimals, 0, digits_ - 1));
}

QSize TOdometer::sizeHint() const {
    return {digits_ * 22 + 10, 38};
}

QSize TOdometer::minimumSizeHint() const {
    return {digits_ * 7 + 4, 12};
}

QRectF TOdometer::WheelRect(const QRectF& bounds, int index) const {
    const double frame = std::max(2.0, bounds.height() * 0.1);
    const QRectF area = bounds.adjusted(frame, frame, -frame, -frame);
    // Wheels are a little taller than wide; spare width goes to the sides.
    const double pitch = std::min(area.width() / digits_, area.height() * 0.78);
    const double left = area.center().x() - pitch * digits_ / 2;
    const double gap = std::max(1.0, pitch * 0.06);
    return {left + index * pitch + gap / 2, area.top(), pitch - gap, area.height()};
}

QColor TOdometer::WheelColour(bool decimal) const {
    // At night the decimal wheels stand apart by a lighter shade of dark, not by white.
    if (decimal) {
        return Night().on ? Shade(decimalColour_, ColourRole::Metal) : ColourOf(decimalColour_);
    }
    return Shade(Color(), ColourRole::Face);
}

QColor TOdometer::DigitColour(bool decimal) const {
    if (Night().on) {
        return Shade(FontColor(), ColourRole::Ink);
    }
    return decimal ? ColourOf(Color()) : ColourOf(FontColor());
}

void TOdometer::PaintStatic(QPainter& painter, const QRectF& bounds) {
    const double corner = std::min(bounds.height() * 0.12, 6.0);
    QLinearGradient frame(bounds.topLeft(), bounds.bottomLeft());
    frame.setColorAt(0.0, Shade(QColor(120, 122, 128), ColourRole::Metal));
    frame.setColorAt(0.5, Shade(QColor(60, 61, 66), ColourRole::Metal));
    frame.setColorAt(1.0, Shade(QColor(25, 25, 28), ColourRole::Metal));
    painter.setPen(QPen(Shade(QColor(15, 15, 16), ColourRole::Metal), 1.0));
    painter.setBrush(frame);
    painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), corner, corner);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < digits_; ++i) {
        const bool decimal = i >= digits_ - decimals_;
        painter.setBrush(WheelColour(decimal));
        painter.drawRect(WheelRect(bounds, i));
    }
}

void TOdometer::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const std::vector<OdometerWheel> wheels = Wheels();
    const QRectF first = WheelRect(bounds, 0);
    QFont font = TextFont(first.height() * 0.72);
    if (FontHeight() == 0) {
        const double digitWidth = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
        if (digitWidth > first.width() * 0.8 && digitWidth > 0) {
            font.setPixelSize(
                std::max(4, static_cast<int>(font.pixelSize() * first.width() * 0.8 / digitWidth)));
        }
    }
    painter.setFont(font);
    for (int i = 0; i < digits_; ++i) {
        const QRectF box = WheelRect(bounds, i);
        const bool decimal = i >= digits_ - decimals_;
        painter.save();
        painter.setClipRect(box);
        painter.setPen(DigitColour(decimal));
        const OdometerWheel& wheel = wheels[static_cast<size_t>(i)];
        const double shift = wheel.roll * box.height();
        painter.drawText(box.translated(0, -shift), Qt::AlignCenter, QString::number(wheel.digit));
        if (shift > 0.0) {
            painter.drawText(box.translated(0, box.height() - shift), Qt::AlignCenter,
                             QString::number((wheel.digit + 1) % 10));
        }
        painter.restore();
    }
}

QRectF TOdometer::DecimalPointRect(const QRectF& bounds) const {
    if (decimals_ <= 0 || decimals_ >= digits_) {
        return {};
    }
    const QRectF wheel = WheelRect(bounds, digits_ - decimals_);
    const double size = std::clamp(wheel.height() * 0.24, 3.0, 9.0);
    const QPointF centre(wheel.left() - std::max(1.0, wheel.width() * 0.06) / 2,
                         wheel.bottom() - wheel.height() * 0.2);
    return {centre.x() - size / 2, centre.y() - size / 2, size, size};
}

void TOdometer::PaintOverlay(QPainter& painter, const QRectF& bounds) {
    // The wheels are drums: darker where they turn away at the top and bottom.
    const QRectF row(WheelRect(bounds, 0).topLeft(), WheelRect(bounds, digits_ - 1).bottomRight());
    QLinearGradient drum(row.topLeft(), row.bottomLeft());
    drum.setColorAt(0.0, QColor(0, 0, 0, 170));
    drum.setColorAt(0.3, QColor(0, 0, 0, 0));
    drum.setColorAt(0.45, Shade(QColor(255, 255, 255, 18), ColourRole::Glare));
    drum.setColorAt(0.7, QColor(0, 0, 0, 0));
    drum.setColorAt(1.0, QColor(0, 0, 0, 170));
    painter.fillRect(row, drum);

    // "000444" would leave the reader to guess the tenths; the point makes it read 44.4. It sits
    // on the seam between a dark and a light wheel, so it has a dark rim and a bright face.
    const QRectF point = DecimalPointRect(bounds);
    if (!point.isEmpty()) {
        painter.setPen(QPen(Shade(QColor(15, 15, 16), ColourRole::Metal),
                            std::max(1.0, point.width() * 0.18)));
        painter.setBrush(Shade(QColor(255, 190, 40), ColourRole::Signal));
        painter.drawEllipse(point);
    }
}

}  // namespace vekaton
