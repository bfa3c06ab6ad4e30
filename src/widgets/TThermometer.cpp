#include "widgets/TThermometer.h"

#include "widgets/ScaleMath.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vekaton {
namespace {

const QColor kMinimumMarker(30, 110, 255);
const QColor kMaximumMarker(255, 120, 0);

}  // namespace

TThermometer::TThermometer(QWidget* parent) : RangeInstrument(parent) {
    ResetToDefaults();
}

const PropertyTable& TThermometer::Properties() const {
    return PropertyList();
}

const PropertyTable& TThermometer::PropertyList() {
    static const PropertyTable table = [] {
        using T = TThermometer;
        PropertyTable t;
        AppendRangeProperties<T>(t, 100.0, 5, 4);
        t.push_back(ColourProperty<T>("Color", kColourBtnFace, &T::Color, &T::SetColor));
        t.push_back(ColourProperty<T>("MercuryColor", RgbColour(220, 20, 20), &T::MercuryColor,
                                      &T::SetMercuryColor));
        t.push_back(ColourProperty<T>("TubeColor", RgbColour(255, 255, 255), &T::TubeColor,
                                      &T::SetTubeColor));
        AppendFontProperties(t, FontDefaults{QStringLiteral("Sans Serif"), 0, 0, 0});
        return t;
    }();
    return table;
}

TThermometer::Layout TThermometer::LayoutIn(const QRectF& bounds) const {
    Layout l;
    const double w = bounds.width();
    const double h = bounds.height();
    const double margin = std::max(2.0, std::min(w, h) * 0.05);
    double headerHeight = 0.0;
    if (!Caption().isEmpty() || !Units().isEmpty()) {
        const double line = std::clamp(std::min(w * 0.16, h * 0.075), 6.0, 40.0);
        headerHeight = line * ((Caption().isEmpty() || Units().isEmpty()) ? 1.3 : 2.3);
    }
    l.header = QRectF(bounds.left() + margin, bounds.top() + margin, w - 2 * margin, headerHeight);
    l.tubeWidth = std::clamp(std::min(w * 0.17, h * 0.075), 4.0, 60.0);
    l.bulbRadius = l.tubeWidth * 1.05;
    l.tubeX = bounds.left() + std::max(w * 0.36, margin + l.bulbRadius + l.tubeWidth * 0.6);
    l.bulbY = bounds.bottom() - margin - l.bulbRadius;
    l.scaleTop = l.header.bottom() + l.tubeWidth * 1.1;
    l.scaleBottom = l.bulbY - l.bulbRadius - l.tubeWidth * 0.5;
    if (l.scaleBottom < l.scaleTop + 4) {
        l.scaleBottom = l.scaleTop + 4;
    }
    return l;
}

double TThermometer::YOf(const Layout& layout, double value) const {
    return layout.scaleBottom - (layout.scaleBottom - layout.scaleTop) * Fraction(value);
}

double TThermometer::ColumnTop() const {
    const Layout layout = LayoutIn(QRectF(rect()));
    return height() - YOf(layout, Position());
}

QColor TThermometer::MercuryColour() const {
    return WarningShown() ? WarningColour() : Shade(mercuryColour_, ColourRole::Signal);
}

QBrush TThermometer::MercuryBrush(double x, double width) const {
    const QColor colour = MercuryColour();
    QLinearGradient gradient(x - width / 2, 0, x + width / 2, 0);
    gradient.setColorAt(0.0, colour.darker(150));
    gradient.setColorAt(0.35, colour.lighter(135));
    gradient.setColorAt(1.0, colour.darker(170));
    return gradient;
}

void TThermometer::PaintStatic(QPainter& painter, const QRectF& bounds) {
    const Layout l = LayoutIn(bounds);
    const QColor background = Shade(Color(), ColourRole::Face);
    const double radius = std::min(bounds.width(), bounds.height()) * 0.08;
    QLinearGradient card(bounds.topLeft(), bounds.bottomLeft());
    card.setColorAt(0.0, background.lighter(108));
    card.setColorAt(1.0, background.darker(108));
    painter.setPen(QPen(background.darker(150), 1.0));
    painter.setBrush(card);
    painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    const QColor text = Shade(FontColor(), ColourRole::Ink);
    painter.setPen(text);
    if (!Caption().isEmpty() || !Units().isEmpty()) {
        const bool both = !Caption().isEmpty() && !Units().isEmpty();
        const double line = l.header.height() / (both ? 2.3 : 1.3);
        QRectF row(l.header.left(), l.header.top(), l.header.width(), line * 1.2);
        if (!Caption().isEmpty()) {
            QFont font = TextFont(line);
            font.setBold(true);
            painter.setFont(font);
            painter.drawText(
                row, Qt::AlignCenter,
                QFontMetricsF(font).elidedText(Caption(), Qt::ElideRight, row.width()));
            row.translate(0, line * 1.1);
        }
        if (!Units().isEmpty()) {
            const QFont font = TextFont(line * 0.85);
            painter.setFont(font);
            painter.drawText(row, Qt::AlignCenter,
                             QFontMetricsF(font).elidedText(Units(), Qt::ElideRight, row.width()));
        }
    }

    // The glass: a tube with a round top ending in the bulb.
    const double tw = l.tubeWidth;
    QPainterPath glass;
    glass.addRoundedRect(QRectF(l.tubeX - tw / 2, l.scaleTop - tw * 0.9, tw, l.bulbY - l.scaleTop),
                         tw / 2, tw / 2);
    glass.addEllipse(QPointF(l.tubeX, l.bulbY), l.bulbRadius, l.bulbRadius);
    glass = glass.simplified();
    painter.setPen(QPen(Shade(QColor(90, 90, 95), ColourRole::Metal), std::max(1.0, tw * 0.08)));
    painter.setBrush(Shade(tubeColour_, ColourRole::Face));
    painter.drawPath(glass);

    // The bulb and the column below the scale are always full.
    const double inner = tw * 0.5;
    painter.setPen(Qt::NoPen);
    painter.setBrush(MercuryBrush(l.tubeX, inner));
    painter.drawRect(QRectF(l.tubeX - inner / 2, l.scaleBottom, inner, l.bulbY - l.scaleBottom));
    QRadialGradient bulb(QPointF(l.tubeX - l.bulbRadius * 0.3, l.bulbY - l.bulbRadius * 0.3),
                         l.bulbRadius);
    const QColor mercury = MercuryColour();
    bulb.setColorAt(0.0, mercury.lighter(150));
    bulb.setColorAt(1.0, mercury.darker(140));
    painter.setBrush(bulb);
    painter.drawEllipse(QPointF(l.tubeX, l.bulbY), l.bulbRadius * 0.78, l.bulbRadius * 0.78);

    PaintScale(painter, l);

    const double ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    const QSizeF columnSize(inner, l.scaleBottom - l.scaleTop + 1.0);
    column_ = QPixmap((columnSize * ratio).toSize().expandedTo(QSize(1, 1)));
    column_.setDevicePixelRatio(ratio);
    column_.fill(Qt::transparent);
    QPainter columnPainter(&column_);
    columnPainter.fillRect(QRectF(QPointF(0, 0), columnSize), MercuryBrush(inner / 2, inner));
}

void TThermometer::PaintScale(QPainter& painter, const Layout& l) const {
    const QColor tick = Shade(TickColor(), ColourRole::Ink);
    const int majors = MajorTicks();
    const int minors = std::max(1, MinorTicks());
    const double x0 = l.tubeX + l.tubeWidth / 2 + std::max(1.5, l.tubeWidth * 0.25);
    const double majorLength = std::max(4.0, l.tubeWidth * 0.8);
    const double span = l.scaleBottom - l.scaleTop;

    painter.setPen(QPen(tick, std::max(0.7, l.tubeWidth * 0.07), Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < majors * minors; ++i) {
        if (i % minors != 0) {
            const double y = l.scaleBottom - span * i / (majors * minors);
            painter.drawLine(QPointF(x0, y), QPointF(x0 + majorLength * 0.55, y));
        }
    }
    painter.setPen(QPen(tick, std::max(1.0, l.tubeWidth * 0.13), Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i <= majors; ++i) {
        const double y = l.scaleBottom - span * i / majors;
        painter.drawLine(QPointF(x0, y), QPointF(x0 + majorLength, y));
    }

    const int decimals = ScaleDecimals(Minimum(), Maximum(), majors);
    const double labelLeft = x0 + majorLength + std::max(2.0, l.tubeWidth * 0.3);
    const double room = width() - labelLeft - 2;
    QFont font = TextFont(std::min(l.tubeWidth * 1.0, span / majors * 0.9));
    double widest = 0;
    for (int i = 0; i <= majors; ++i) {
        widest = std::max(widest, QFontMetricsF(font).horizontalAdvance(FormatNumber(
                                      Minimum() + (Maximum() - Minimum()) * i / majors, decimals)));
    }
    if (FontHeight() == 0 && widest > room && room > 0) {
        font.setPixelSize(std::max(5, static_cast<int>(font.pixelSize() * room / widest)));
    }
    painter.setFont(font);
    painter.setPen(Shade(FontColor(), ColourRole::Ink));
    const double lineHeight = QFontMetricsF(font).height();
    for (int i = 0; i <= majors; ++i) {
        const double y = l.scaleBottom - span * i / majors;
        const QString label =
            FormatNumber(Minimum() + (Maximum() - Minimum()) * i / majors, decimals);
        painter.drawText(QRectF(labelLeft, y - lineHeight / 2, std::max(room, 1.0), lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, label);
    }
}

void TThermometer::PaintOverlay(QPainter& painter, const QRectF& bounds) {
    // The light reflected by the glass, over the column and the bulb.
    const Layout l = LayoutIn(bounds);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Shade(QColor(255, 255, 255, 100), ColourRole::Glare));
    painter.drawRoundedRect(QRectF(l.tubeX - l.tubeWidth * 0.32, l.scaleTop - l.tubeWidth * 0.5,
                                   l.tubeWidth * 0.14, l.bulbY - l.scaleTop),
                            l.tubeWidth * 0.07, l.tubeWidth * 0.07);
    painter.drawEllipse(QPointF(l.tubeX - l.bulbRadius * 0.35, l.bulbY - l.bulbRadius * 0.35),
                        l.bulbRadius * 0.22, l.bulbRadius * 0.16);
}

void TThermometer::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const Layout l = LayoutIn(bounds);
    const double top = YOf(l, Position());
    // The column is cut from a picture of the full one: a blit instead of a gradient fill.
    const double ratio = column_.devicePixelRatio();
    const double height = l.scaleBottom - top + 0.5;
    if (height > 0 && !column_.isNull()) {
        const QRectF target(l.tubeX - column_.width() / ratio / 2, top, column_.width() / ratio,
                            height);
        const QRectF source(0, (column_.height() / ratio - height) * ratio, column_.width(),
                            height * ratio);
        painter.drawPixmap(target, column_, source);
    }

    if (ShowMinMax()) {
        const double size = std::max(3.0, l.tubeWidth * 0.45);
        const double tipX = l.tubeX - l.tubeWidth / 2 - 1.0;
        for (const auto& [value, colour] : {std::pair{CurrentMinimum(), kMinimumMarker},
                                            std::pair{CurrentMaximum(), kMaximumMarker}}) {
            if ((OverRange() > 0 && value >= Maximum()) ||
                (OverRange() < 0 && value <= Minimum())) {
                continue;  // the over-range arrow stands there
            }
            const double y = YOf(l, value);
            const QPointF points[3] = {{tipX, y},
                                       {tipX - size * 1.4, y - size * 0.7},
                                       {tipX - size * 1.4, y + size * 0.7}};
            painter.setPen(Qt::NoPen);
            painter.setBrush(Shade(colour, ColourRole::Signal));
            painter.drawPolygon(points, 3);
        }
    }
    PaintOverRange(painter, l);
}

void TThermometer::PaintOverRange(QPainter& painter, const Layout& l) const {
    const int over = OverRange();
    if (over == 0) {
        return;
    }
    // An arrow where the marker of that end sits, pointing on beyond the end of the scale.
    const double size = std::max(4.0, l.tubeWidth * 0.7);
    const double x = l.tubeX - l.tubeWidth / 2 - 1.0 - std::max(3.0, l.tubeWidth * 0.45) * 0.7;
    const double end = over > 0 ? l.scaleTop : l.scaleBottom;
    const double y = over > 0 ? end + size * 0.2 : end - size * 0.2;
    const double tip = over > 0 ? end - size * 1.3 : end + size * 1.3;
    const QPointF points[3] = {{x, tip}, {x - size * 0.65, y}, {x + size * 0.65, y}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(WarningColour());
    painter.drawPolygon(points, 3);
}

}  // namespace vekaton
