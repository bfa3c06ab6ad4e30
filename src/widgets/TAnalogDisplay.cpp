#include "widgets/TAnalogDisplay.h"

#include "widgets/ScaleMath.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace vekaton {

TAnalogDisplay::TAnalogDisplay(QWidget* parent) : InstrumentWidget(parent) {
    ResetToDefaults();
}

const PropertyTable& TAnalogDisplay::Properties() const {
    return PropertyList();
}

const PropertyTable& TAnalogDisplay::PropertyList() {
    static const PropertyTable table = [] {
        using D = TAnalogDisplay;
        PropertyTable t;
        t.push_back(IntegerProperty<D>("Precision", 2, 0, 15, &D::Precision, &D::SetPrecision));
        t.push_back(FloatProperty<D>("Value", 0.0, -1e15, 1e15, &D::Value, &D::SetValue));
        t.push_back(StringProperty<D>("Prefix", QString(), &D::Prefix, &D::SetPrefix));
        t.push_back(StringProperty<D>("Suffix", QString(), &D::Suffix, &D::SetSuffix));
        t.push_back(StringProperty<D>("Caption", QString(), &D::Caption, &D::SetCaption));
        t.push_back(ChoiceProperty<D>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                                      kAlignRight, &D::TextAlignment, &D::SetTextAlignment));
        t.push_back(ChoiceProperty<D>("BevelOuter", {"bvNone", "bvLowered", "bvRaised"},
                                      kBevelLowered, &D::BevelStyle, &D::SetBevelStyle));
        t.push_back(ColourProperty<D>("Color", RgbColour(12, 14, 16), &D::Color, &D::SetColor));
        AppendFontProperties(
            t, FontDefaults{QStringLiteral("Sans Serif"), 0, RgbColour(90, 255, 110), kFontBold});
        return t;
    }();
    return table;
}

void TAnalogDisplay::SetValue(double value) {
    if (std::isnan(value) || value == value_) {
        return;
    }
    value_ = value;
    RequestRepaint();
}

void TAnalogDisplay::SetPrecision(int decimals) {
    decimals = std::clamp(decimals, 0, 15);
    if (decimals != precision_) {
        precision_ = decimals;
        RequestRepaint();
    }
}

void TAnalogDisplay::SetPrefix(const QString& prefix) {
    if (prefix != prefix_) {
        prefix_ = prefix;
        RequestRepaint();
    }
}

void TAnalogDisplay::SetSuffix(const QString& suffix) {
    if (suffix != suffix_) {
        suffix_ = suffix;
        RequestRepaint();
    }
}

void TAnalogDisplay::SetNoValue(bool noValue) {
    if (noValue != noValue_) {
        noValue_ = noValue;
        RequestRepaint();
    }
}

QString TAnalogDisplay::DisplayText() const {
    return prefix_ + (noValue_ ? QString(QChar(0x2014)) : FormatNumber(value_, precision_)) +
           suffix_;
}

QRectF TAnalogDisplay::ValueArea(const QRectF& bounds) const {
    const double pad = std::max(2.0, std::min(bounds.height() * 0.1, bounds.width() * 0.05));
    QRectF area = bounds.adjusted(pad * 1.5, pad, -pad * 1.5, -pad);
    if (!caption_.isEmpty()) {
        area.setTop(area.top() + area.height() * 0.3);
    }
    return area;
}

void TAnalogDisplay::PaintStatic(QPainter& painter, const QRectF& bounds) {
    const QColor background = Shade(Color(), ColourRole::Face);
    const double radius = std::min(bounds.height() * 0.14, 8.0);
    const double edge = std::max(1.0, std::min(bounds.width(), bounds.height()) * 0.045);
    if (bevel_ != kBevelNone) {
        // The light falls from above: a lowered box is dark at its top edge.
        QLinearGradient rim(bounds.topLeft(), bounds.bottomLeft());
        const QColor top = bevel_ == kBevelLowered ? QColor(40, 40, 44) : QColor(230, 230, 235);
        const QColor bottom = bevel_ == kBevelLowered ? QColor(225, 225, 230) : QColor(60, 60, 66);
        rim.setColorAt(0.0, Shade(top, ColourRole::Metal));
        rim.setColorAt(1.0, Shade(bottom, ColourRole::Metal));
        painter.setPen(Qt::NoPen);
        painter.setBrush(rim);
        painter.drawRoundedRect(bounds, radius, radius);
    }
    const QRectF face = bevel_ == kBevelNone ? bounds : bounds.adjusted(edge, edge, -edge, -edge);
    QLinearGradient shade(face.topLeft(), face.bottomLeft());
    shade.setColorAt(0.0, background.lighter(115));
    shade.setColorAt(1.0, background.darker(110));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(face, std::max(0.0, radius - edge), std::max(0.0, radius - edge));

    if (!caption_.isEmpty()) {
        const QRectF area = ValueArea(bounds);
        QRectF captionBox(area.left(), face.top() + edge * 0.5, area.width(),
                          area.top() - face.top() - edge * 0.5);
        // The caption always fits its strip; Font.Height sizes the value.
        QFont font = TextFont(0);
        font.setPixelSize(std::max(1, static_cast<int>(captionBox.height() * 0.8)));
        font.setBold(false);
        painter.setFont(font);
        QColor text = Shade(FontColor(), ColourRole::Ink);
        text.setAlphaF(0.75f);
        painter.setPen(text);
        painter.drawText(
            captionBox, Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetricsF(font).elidedText(caption_, Qt::ElideRight, captionBox.width()));
    }
}

void TAnalogDisplay::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const QRectF area = ValueArea(bounds);
    const QString text = DisplayText();
    QFont font = TextFont(area.height() * 0.82);
    if (FontHeight() == 0) {
        const double width = QFontMetricsF(font).horizontalAdvance(text);
        if (width > area.width() && width > 0) {
            font.setPixelSize(
                std::max(4, static_cast<int>(font.pixelSize() * area.width() / width)));
        }
    }
    painter.setFont(font);
    painter.setPen(WarningShown() ? WarningColour() : Shade(FontColor(), ColourRole::Ink));
    const Qt::Alignment horizontal = alignment_ == kAlignLeft    ? Qt::AlignLeft
                                     : alignment_ == kAlignRight ? Qt::AlignRight
                                                                 : Qt::AlignHCenter;
    painter.drawText(area, horizontal | Qt::AlignVCenter, text);
}

}  // namespace vekaton
